#pragma once

#include "Platform.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The machine of one run. Only Tolmar's own machine is made from the template when it is
// missing; a folder the user names must already be a machine.
struct MachineChoice
{
    QString folder;
    bool makeIfMissing = false;
};

// The folder named on the command line (empty when none), else $TOLMAR_MACHINE, else
// $WINEPREFIX (as every Wine tool is pointed at its prefix), else the default machine.
MachineChoice ChooseMachine(const QString& commandLineFolder);

// The system the program works on for one run, or why it cannot be used (a text for the user
// that names the folder); nothing has been written when it cannot.
struct OpenedSystem
{
    std::unique_ptr<Platform> platform;
    QString error;
};

// Starts reading the machine's registry on another thread, for OpenSystem to take. Called once,
// before the application object is made, the parse overlaps the connection to the display.
void PrepareSystem(const MachineChoice& machine);

// Opens the emulated machine, made from the template when the choice allows it. What the system
// meets later on its own (a change that cannot be saved, a program of the desktop that is
// missing) is told to `reportProblem` with a text for the user.
OpenedSystem OpenSystem(const MachineChoice& machine, const QString& templateDir,
                        std::function<void(const QString&)> reportProblem);

// While held, the emulated machine saves its registry changes only when released (or when it
// closes): the start's writes then reach the disk in one save, after the window is drawn. A
// system that saves nothing of its own ignores it.
void HoldSaves(Platform& system, bool hold);
// Told true while Wine runs on the machine and its saves wait for Wine to end, false once they
// are made; a system with no such waits never tells.
void OnWineRunning(Platform& system, std::function<void(bool running)> told);

// Whether a window can be shown: the environment names a display (X11's or Wayland's) or a Qt
// platform of its own (offscreen, say). Without, Qt would end the process when it connects.
bool DisplayAvailable();

// Wine's own twins of the Windows fonts the windows are laid out for ("MS Sans Serif"), where
// they are installed.
QStringList WindowsFontFiles();

// The machine the program works on when nothing else is named: $TOLMAR_MACHINE when set, else
// $XDG_DATA_HOME/tolmar/machine.
QString DefaultMachinePath();
