// Widget tests run offscreen with one application object for the whole binary.
#include "DesktopLook.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseDesktopLook();
    // Whatever the machine's locale, texts the program formats come out as on a Polish system.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
