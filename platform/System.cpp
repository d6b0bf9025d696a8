#include "System.h"

#include "Machine.h"

OpenedSystem OpenSystem(const QString& folder, const QString& templateDir,
                        std::function<void(const QString&)> reportSaveProblem)
{
    try {
        CreateMachineIfMissing(folder, templateDir);
        auto machine = std::make_unique<Machine>(folder);
        machine->SetSaveErrorHandler(std::move(reportSaveProblem));
        return {std::move(machine), {}};
    } catch (const MachineError& error) {
        return {nullptr, error.Text()};
    }
}
