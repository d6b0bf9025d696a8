#include "ProgramMachine.h"

#include "Dialogs.h"
#include "ErrorReport.h"

#include <cstdio>

std::unique_ptr<Platform> OpenProgramMachine(const MachineChoice& machine,
                                             const QString& templateDir)
{
    OpenedSystem system = OpenSystem(machine, templateDir, [](const QString& text) {
        Dialogs().Message(nullptr, kApplicationTitle, text, MessageIcon::Error, MessageButtons::Ok);
    });
    if (!system.platform) {
        const QString text =
            QStringLiteral("Nie można uruchomić programu Tolmar.\n\n") + system.error;
        // Started from a terminal, the reason stays there after the box is gone.
        std::fprintf(stderr, "%s\n", qPrintable(text));
        Dialogs().Message(nullptr, kApplicationTitle, text, MessageIcon::Error, MessageButtons::Ok);
    }
    return std::move(system.platform);
}
