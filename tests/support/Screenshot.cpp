// Developer tool: renders the main window offscreen on a fresh copy of the default machine
// template and saves it as a PNG, so anyone can look at the window without a display.
//   tolmar_screenshot out.png [page index | dialog name, such as TfmKnow]
#include "DesktopLook.h"
#include "Dialogs.h"
#include "ProgramDir.h"
#include "ProgramWindows.h"
#include "System.h"
#include "kodKnow.h"
#include "kodKreatorAnimTapeta.h"
#include "kodProgramy.h"
#include "kodfmAutor.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tolmar_screenshot out.png [page]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseDesktopLook();
    QtDialogService dialogs;
    SetDialogService(&dialogs);
    SetProgramDir(QStringLiteral(TOLMAR_PROGRAM_DIR));
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/machine");
    OpenedSystem machine = OpenSystem(
        {prefix, true}, ProgramFile(QStringLiteral("\\data\\machine")), [](const QString&) {});
    if (!machine.platform) {
        std::fprintf(stderr, "%s\n", qPrintable(machine.error));
        return 1;
    }
    SetCurrentPlatform(machine.platform.get());
    {
        ProgramWindows windows;
        TMainForm& form = windows.MainForm;
        form.FillRemainingPages();
        FmKnow();
        FmAutor();
        TfmKreatorAnimTapeta wizard(&form);
        QWidget* shown = &form;
        if (argc > 2) {
            bool page = false;
            const QString which = QString::fromLocal8Bit(argv[2]);
            form.Karty->setCurrentIndex(which.toInt(&page));
            if (!page) shown = form.findChild<QWidget*>(which);
            if (!shown) {
                std::fprintf(stderr, "no window %s\n", argv[2]);
                return 2;
            }
        }
        form.show();
        shown->show();
        QApplication::processEvents();
        if (!shown->grab().save(QString::fromLocal8Bit(argv[1]))) return 1;
    }
    SetCurrentPlatform(nullptr);
    return 0;
}
