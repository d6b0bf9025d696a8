// Developer tool: renders the main window offscreen on a fresh copy of the default machine
// template (or on the machine folder in TOLMAR_MACHINE) and saves it as a PNG, so anyone can
// look at the window without a display.
//   tolmar_screenshot out.png [page index | dialog name, such as TfmKnow | a standard dialog:
//                              OpenFile, SaveFile, PickColor, InputText]
#include "DesktopLook.h"
#include "Dialogs.h"
#include "ProgramDir.h"
#include "ProgramWindows.h"
#include "System.h"
#include "kodFrAbout.h"
#include "kodKnow.h"
#include "kodKreatorAnimTapeta.h"
#include "kodProgramy.h"
#include "kodfmAutor.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <map>

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
    const QString given = qEnvironmentVariable("TOLMAR_MACHINE");
    const QString prefix = given.isEmpty() ? dir.path() + QStringLiteral("/machine") : given;
    OpenedSystem machine =
        OpenSystem({prefix, given.isEmpty()}, ProgramFile(QStringLiteral("\\data\\machine")),
                   [](const QString&) {});
    if (!machine.platform) {
        std::fprintf(stderr, "%s\n", qPrintable(machine.error));
        return 1;
    }
    SetCurrentPlatform(machine.platform.get());
    {
        ProgramWindows windows;
        TMainForm& form = windows.MainForm;
        form.FillRemainingPages();
        form.FmKnow();
        form.frAbout->FmAutor();
        TfmKreatorAnimTapeta wizard(&form);
        QWidget* shown = &form;
        const QString which = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
        const std::map<QString, std::function<void()>> standard = {
            {QStringLiteral("OpenFile"),
             [&] {
                 dialogs.OpenFile(&form, QStringLiteral("Otwórz"),
                                  {QStringLiteral("Bitmapa (*.BMP)|*.bmp")}, PickerFolder());
             }},
            {QStringLiteral("SaveFile"),
             [&] {
                 dialogs.SaveFile(&form, QStringLiteral("Zapisz"),
                                  {QStringLiteral("Wszystkie pliki|*.*")}, PickerFolder());
             }},
            {QStringLiteral("PickColor"), [&] { dialogs.PickColor(&form, Qt::blue); }},
            {QStringLiteral("InputText"),
             [&] {
                 dialogs.InputText(&form, QStringLiteral("Nazwa"), QStringLiteral("Podaj:"), {});
             }},
        };
        if (const auto dialog = standard.find(which); dialog != standard.end()) {
            form.show();
            bool saved = false;
            // Photographed once it is up, then closed, since it waits for an answer.
            QTimer::singleShot(100, [&] {
                QWidget* up = QApplication::activeModalWidget();
                saved = up && up->grab().save(QString::fromLocal8Bit(argv[1]));
                if (up) up->close();
            });
            dialog->second();
            SetCurrentPlatform(nullptr);
            return saved ? 0 : 1;
        }
        if (argc > 2) {
            bool page = false;
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
