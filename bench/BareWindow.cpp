// The floor the toolkit sets for start-up: a window of Tolmar's size and look with ten tabs of
// twenty check boxes each, and nothing behind them.
#include "DesktopLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    UseDesktopLook();
    QWidget window;
    window.setFixedSize(792, 498);
    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(3, 0, 649, 498);
    for (int page = 0; page < 10; ++page) {
        auto* sheet = new QWidget;
        for (int box = 0; box < 20; ++box) {
            auto* check = new QCheckBox(
                QStringLiteral("Pole wyboru %1 na karcie %2").arg(box + 1).arg(page + 1), sheet);
            check->setGeometry(16 + (box / 10) * 300, 16 + (box % 10) * 24, 280, 17);
        }
        tabs->addTab(sheet, QStringLiteral("Karta %1").arg(page + 1));
    }
    window.show();
    return QApplication::exec();
}
