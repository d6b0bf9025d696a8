#include "ProgramMachine.h"

#include "Dialogs.h"
#include "ErrorReport.h"
#include "System.h"

std::unique_ptr<Platform> OpenProgramMachine(const QString& prefix, const QString& templateDir)
{
    OpenedSystem system = OpenSystem(prefix, templateDir, [](const QString& text) {
        Dialogs().Message(nullptr, kApplicationTitle, text, MessageIcon::Error, MessageButtons::Ok);
    });
    if (!system.platform)
        Dialogs().Message(nullptr, kApplicationTitle,
                          QStringLiteral("Nie można uruchomić programu Tolmar.\n\n") + system.error,
                          MessageIcon::Error, MessageButtons::Ok);
    return std::move(system.platform);
}
