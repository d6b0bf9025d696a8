#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250, the code page of Central European Windows. The five bytes the code page leaves
// undefined map to the C1 control of the same number, so every byte string survives a round trip.
QString FromCp1250(const QByteArray& bytes);
// A character the code page cannot hold becomes "?", as Windows does.
QByteArray ToCp1250(const QString& text);
