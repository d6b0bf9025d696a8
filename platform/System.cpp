#include "System.h"

#include "Machine.h"

#include <QFileInfo>

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

QStringList WindowsFontFiles()
{
    // Debian's fonts-wine puts them in Wine's data folder, outside the desktop's font path.
    QStringList files;
    for (const char* file : {"/usr/share/wine/fonts/ms_sans_serif.ttf"})
        if (QFileInfo::exists(QString::fromLatin1(file))) files << QString::fromLatin1(file);
    return files;
}
