#pragma once

#include <QString>
#include <QTime>

// A time in the system's long time format, without a time zone (as Windows shows it).
QString LongTimeString(const QTime& time);
