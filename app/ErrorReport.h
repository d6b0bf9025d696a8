#pragma once

#include <QString>
#include <exception>

// The application title, the caption of every error report.
inline const QString kApplicationTitle = QStringLiteral("Tolmar - Quorvix");

// The text an error report shows: "." is appended when the last character sorts after ".".
QString ErrorReportText(const QString& text);

// The general error report: a message box with the error's text, the application title, an
// error icon and OK. The program then carries on with the next event.
void ReportError(const std::exception& error);

// Wraps a member handler so that nothing it throws crosses Qt's event loop: whatever it does
// not handle itself goes to the general error report. Connect every handler through it.
template <class Object, class... Args> auto Handler(Object* object, void (Object::*method)(Args...))
{
    return [object, method](Args... args) {
        try {
            (object->*method)(args...);
        } catch (const std::exception& error) {
            ReportError(error);
        }
    };
}
