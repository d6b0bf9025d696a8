#pragma once

#include <QFont>
#include <QString>

// A font sized as Windows sizes it ("MS Sans Serif" drawn as Windows draws it, without
// ligatures): a negative height is the character height in pixels, a
// positive one the cell height (the character height plus the font's internal leading).
QFont WindowsFont(const QString& family, int height, bool bold = false);

// The pixel size (Qt's character height) that gives a font whose cell is `cellHeight` pixels,
// for a font whose cell measures `cellPerPixel` times its pixel size.
int PixelSizeForCell(int cellHeight, double cellPerPixel);
