#include "ProgramMachine.h"

#include "Dialogs.h"
#include "ErrorReport.h"

std::unique_ptr<Machine> OpenProgramMachine(const QString& prefix, const QString& templateDir)
{
    std::unique_ptr<Machine> machine;
    try {
        CreateMachineIfMissing(prefix, templateDir);
        machine = std::make_unique<Machine>(prefix);
    } catch (const MachineError& error) {
        Dialogs().Message(nullptr, kApplicationTitle,
                          QStringLiteral("Nie można uruchomić programu Tolmar.\n\n") + error.Text(),
                          MessageIcon::Error, MessageButtons::Ok);
        return nullptr;
    }
    machine->SetSaveErrorHandler([](const QString& text) {
        Dialogs().Message(nullptr, kApplicationTitle, text, MessageIcon::Error, MessageButtons::Ok);
    });
    return machine;
}
