// Widget tests run offscreen with one application object for the whole binary.
#include "DesktopLook.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Also makes texts the program formats come out as on a Polish system, whatever the
    // machine's locale.
    UseDesktopLook();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
