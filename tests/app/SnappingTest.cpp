// Window snapping as a rule on its own.
#include "Snapping.h"

#include <gtest/gtest.h>

namespace {
const QRect kScreen(0, 0, 1024, 738); // a 1024 x 768 screen with a 30-pixel taskbar below
const QSize kWindow(800, 527);
} // namespace

TEST(Snapping, NearEdgesPullStrictlyUnderFifteenPixels)
{
    EXPECT_EQ(SnapToWorkArea({14, 100}, kWindow, kScreen), QPoint(0, 100));
    EXPECT_EQ(SnapToWorkArea({15, 100}, kWindow, kScreen), QPoint(15, 100));
    EXPECT_EQ(SnapToWorkArea({100, 14}, kWindow, kScreen), QPoint(100, 0));
    EXPECT_EQ(SnapToWorkArea({100, 15}, kWindow, kScreen), QPoint(100, 15));
    EXPECT_EQ(SnapToWorkArea({-40, -3}, kWindow, kScreen), QPoint(0, 0));
}

TEST(Snapping, FarEdgesEndFlush)
{
    const int right = 1024 - 800;
    const int bottom = 738 - 527;
    EXPECT_EQ(SnapToWorkArea({right - 14, 100}, kWindow, kScreen), QPoint(right, 100));
    EXPECT_EQ(SnapToWorkArea({right - 15, 100}, kWindow, kScreen), QPoint(right - 15, 100));
    EXPECT_EQ(SnapToWorkArea({100, bottom - 14}, kWindow, kScreen), QPoint(100, bottom));
    EXPECT_EQ(SnapToWorkArea({100, bottom - 15}, kWindow, kScreen), QPoint(100, bottom - 15));
    EXPECT_EQ(SnapToWorkArea({right + 50, bottom + 50}, kWindow, kScreen), QPoint(right, bottom));
}

TEST(Snapping, AWindowNearBothEdgesEndsAtTheRightOne)
{
    const QSize wide(1010, 300);
    EXPECT_EQ(SnapToWorkArea({5, 100}, wide, kScreen), QPoint(1024 - 1010, 100));
    const QSize tall(300, 730);
    EXPECT_EQ(SnapToWorkArea({100, 3}, tall, kScreen), QPoint(100, 738 - 730));
}

TEST(Snapping, AWorkAreaNotAtTheOriginUsesItsOwnEdges)
{
    // A taskbar on the left and one on top: the work area starts at 60, 40.
    const QRect area(60, 40, 964, 728);
    EXPECT_EQ(SnapToWorkArea({70, 50}, kWindow, area), QPoint(60, 40));
    EXPECT_EQ(SnapToWorkArea({60 + 964 - 800 - 10, 40 + 728 - 527 - 10}, kWindow, area),
              QPoint(60 + 964 - 800, 40 + 728 - 527));
    EXPECT_EQ(SnapToWorkArea({200, 200}, kWindow, area), QPoint(200, 200));
}
