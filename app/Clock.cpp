#include "Clock.h"

#include <QLocale>
#include <QRegularExpression>

QString LongTimeString(const QTime& time)
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.remove(zone);
    return QLocale::system().toString(time, format.trimmed());
}
