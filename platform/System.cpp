#include "System.h"

#include "Machine.h"

#include <QFileInfo>

namespace {

std::unique_ptr<RegistryPreload>& Prepared()
{
    static std::unique_ptr<RegistryPreload> preload;
    return preload;
}

// A folder the user names must hold the registry files every Wine prefix has; anything else
// would be made into a machine by the first save.
void RequireMachine(const QString& folder)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    if (!QFileInfo(path).isDir())
        throw MachineError(QStringLiteral("Folder maszyny „%1” nie istnieje.").arg(path));
    for (const QString& file : {QStringLiteral("system.reg"), QStringLiteral("user.reg")})
        if (!QFileInfo::exists(path + u'/' + file))
            throw MachineError(QStringLiteral("Folder „%1” nie jest maszyną ani prefiksem Wine: "
                                              "brak w nim pliku %2.")
                                   .arg(path, file));
}

} // namespace

MachineChoice ChooseMachine(const QString& commandLineFolder)
{
    if (!commandLineFolder.isEmpty()) return {commandLineFolder, false};
    if (!qEnvironmentVariableIsEmpty("TOLMAR_MACHINE")) return {DefaultMachinePath(), true};
    const QString winePrefix = qEnvironmentVariable("WINEPREFIX");
    if (!winePrefix.isEmpty()) return {winePrefix, false};
    return {DefaultMachinePath(), true};
}

void PrepareSystem(const MachineChoice& machine)
{
    Prepared() = std::make_unique<RegistryPreload>(machine.folder);
}

OpenedSystem OpenSystem(const MachineChoice& machine, const QString& templateDir,
                        std::function<void(const QString&)> reportProblem)
{
    const std::unique_ptr<RegistryPreload> preload = std::move(Prepared());
    try {
        if (machine.makeIfMissing)
            CreateMachineIfMissing(machine.folder, templateDir);
        else
            RequireMachine(machine.folder);
        Machine::Options options;
        options.preload = preload.get();
        auto opened = std::make_unique<Machine>(machine.folder, std::move(options));
        opened->SetProblemHandler(std::move(reportProblem));
        return {std::move(opened), {}};
    } catch (const MachineError& error) {
        return {nullptr, error.Text()};
    }
}

void HoldSaves(Platform& system, bool hold)
{
    if (auto* machine = dynamic_cast<Machine*>(&system)) machine->HoldSaves(hold);
}

void OnWineRunning(Platform& system, std::function<void(bool running)> told)
{
    if (auto* machine = dynamic_cast<Machine*>(&system)) machine->SetWineHandler(std::move(told));
}

bool DisplayAvailable()
{
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(variable)) return true;
    return false;
}

QStringList WindowsFontFiles()
{
    // Debian's fonts-wine puts them in Wine's data folder, outside the desktop's font path.
    QStringList files;
    for (const char* file : {"/usr/share/wine/fonts/ms_sans_serif.ttf"})
        if (QFileInfo::exists(QString::fromLatin1(file))) files << QString::fromLatin1(file);
    return files;
}
