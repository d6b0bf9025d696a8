#pragma once

#include <QPixmap>
#include <QString>

// The picture of a data file with pure green, RGB(0, 255, 0), drawn transparent; a null
// picture when the file is missing.
QPixmap TransparentPicture(const QString& file);
