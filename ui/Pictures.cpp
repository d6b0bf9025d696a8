#include "Pictures.h"

#include <QImage>

QPixmap TransparentPicture(const QString& file)
{
    // Keyed in one pass over one image: a mask would keep the picture, its bitmap and the
    // blended copy alive side by side.
    QImage picture(file);
    if (picture.isNull()) return {};
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = qRgb(0, 255, 0);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (line[x] == key) line[x] = 0;
    }
    return QPixmap::fromImage(std::move(picture));
}
