#include "Fonts.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

int PixelSizeForCell(int cellHeight, double cellPerPixel)
{
    if (cellPerPixel <= 0) return std::max(1, cellHeight);
    return std::max(1, int(std::lround(cellHeight / cellPerPixel)));
}

QFont WindowsFont(const QString& family, int height, bool bold)
{
    QFont font(family);
    font.setBold(bold);
    // Windows draws this font glyph by glyph; shaping would join "TM" into the trademark sign
    // that Wine's MS Sans Serif carries as a ligature. Said of every font, so that no other
    // family takes it over from the application's font.
    font.setStyleStrategy(family == u"MS Sans Serif" ? QFont::PreferNoShaping
                                                     : QFont::PreferDefault);
    if (height < 0) {
        font.setPixelSize(-height);
        return font;
    }
    // The cell's share of the pixel size is the font's own: measured on a large size, where
    // rounding does not count.
    constexpr int kProbe = 100;
    font.setPixelSize(kProbe);
    const QFontMetricsF metrics(font);
    font.setPixelSize(PixelSizeForCell(height, (metrics.ascent() + metrics.descent()) / kProbe));
    return font;
}
