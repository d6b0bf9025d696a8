#include "ProgramMachine.h"

#include "Dialogs.h"
#include "ErrorReport.h"
#include "Termination.h"

#include <QFileInfo>
#include <cstdio>

namespace {

QString RefusalText(const QString& reason)
{
    return QStringLiteral("Nie można uruchomić programu Tolmar.\n\n") + reason;
}

} // namespace

std::unique_ptr<Platform> OpenProgramMachine(const MachineChoice& machine,
                                             const QString& templateDir)
{
    OpenedSystem system = OpenSystem(machine, templateDir, [](const QString& text) {
        // On the way out nobody may be there to answer a box.
        if (TerminationRequested()) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            return;
        }
        Dialogs().Message(nullptr, kApplicationTitle, text, MessageIcon::Error, MessageButtons::Ok);
    });
    if (!system.platform) {
        const QString text = RefusalText(system.error);
        // Started from a terminal, the reason stays there after the box is gone.
        std::fprintf(stderr, "%s\n", qPrintable(text));
        Dialogs().Message(nullptr, kApplicationTitle, text, MessageIcon::Error, MessageButtons::Ok);
    }
    return std::move(system.platform);
}

int StartWithoutDisplay(const MachineChoice& machine)
{
    if (!machine.makeIfMissing || QFileInfo::exists(machine.folder)) {
        const OpenedSystem system = OpenSystem(machine, QString(), [](const QString& text) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
        });
        if (!system.platform) {
            std::fprintf(stderr, "%s\n", qPrintable(RefusalText(system.error)));
            return 1;
        }
    }
    std::fprintf(stderr, "%s\n",
                 qPrintable(RefusalText(QStringLiteral(
                     "Tolmar pokazuje okno, a tu brak ekranu: zmienne DISPLAY i WAYLAND_DISPLAY są "
                     "puste. Uruchom go w sesji graficznej albo przez xvfb-run."))));
    return 1;
}
