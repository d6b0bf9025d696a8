#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of the given size proposed at a position ends when it snaps to the edges of
// the work area: an edge closer than 15 pixels (strictly) pulls the window flush to it, the
// bottom and right edges last, so they win over the top and left ones.
QPoint SnapToWorkArea(QPoint proposed, QSize window, const QRect& workArea);
