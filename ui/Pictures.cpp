#include "Pictures.h"

#include <QBitmap>
#include <QFileInfo>

QPixmap TransparentPicture(const QString& file)
{
    if (!QFileInfo::exists(file)) return {};
    QPixmap picture(file);
    if (!picture.isNull()) picture.setMask(picture.createMaskFromColor(QColor(0, 255, 0)));
    return picture;
}
