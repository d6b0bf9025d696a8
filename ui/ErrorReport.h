#pragma once

#include <QString>
#include <exception>
#include <functional>

// The application title, the caption of every error report.
inline const QString kApplicationTitle = QStringLiteral("Tolmar - Quorvix");

// The text an error report shows: "." is appended when the last character sorts after ".".
QString ErrorReportText(const QString& text);

// The general error report: a message box with the error's text, the application title, an
// error icon and OK. The program then carries on with the next event.
void ReportError(const std::exception& error);

// Runs a handler so that nothing it throws crosses Qt's event loop. What it does not handle
// itself goes to the general error report, unless the start-up reader ran it by setting a
// control: then the error belongs to the reader's step (see Guarded.h).
void RunHandler(const std::function<void()>& handler);

// Wraps a member handler for connecting to a signal. Connect every handler through it.
template <class Object, class... Args> auto Handler(Object* object, void (Object::*method)(Args...))
{
    return [object, method](Args... args) { RunHandler([&] { (object->*method)(args...); }); };
}
