#include "ErrorReport.h"

#include "Dialogs.h"
#include "Guarded.h"

QString ErrorReportText(const QString& text)
{
    if (!text.isEmpty() && text.back() > QChar(u'.')) return text + u'.';
    return text;
}

void ReportError(const std::exception& error)
{
    Dialogs().Message(nullptr, kApplicationTitle, ErrorReportText(QString::fromUtf8(error.what())),
                      MessageIcon::Error, MessageButtons::Ok);
}

void RunHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        if (!ReaderStep::Capture(std::current_exception())) ReportError(error);
    }
}
