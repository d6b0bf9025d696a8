#include "ErrorReport.h"

#include "Dialogs.h"

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
