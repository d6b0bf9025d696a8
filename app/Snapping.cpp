#include "Snapping.h"

namespace {
constexpr int kThreshold = 15;
}

QPoint SnapToWorkArea(QPoint proposed, QSize window, const QRect& workArea)
{
    int x = proposed.x();
    int y = proposed.y();
    const int left = workArea.x();
    const int top = workArea.y();
    // The far edges are the work area's own (left + width, top + height), so a work area that
    // does not start at 0,0 snaps right too.
    const int right = left + workArea.width();
    const int bottom = top + workArea.height();
    if (x < left + kThreshold) x = left;
    if (y < top + kThreshold) y = top;
    if (y > bottom - window.height() - kThreshold) y = bottom - window.height();
    if (x > right - window.width() - kThreshold) x = right - window.width();
    return {x, y};
}
