#include "Clock.h"
#include "CloseProgram.h"
#include "CommandLine.h"
#include "DesktopLook.h"
#include "Dialogs.h"
#include "ProgramDir.h"
#include "ProgramMachine.h"
#include "ProgramWindows.h"
#include "System.h"
#include "Termination.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);
    const CommandLine command = ReadCommandLine(arguments);
    if (command.answer != CommandLine::Answer::Run) return AnswerOnConsole(argc, argv);

    const MachineChoice machineChoice = ChooseMachine(command.machine);
    // Qt would end the process when it connects to no display, before the reason is said.
    if (!DisplayAvailable()) return StartWithoutDisplay(machineChoice);
    PrepareSystem(machineChoice);
    QApplication app(argc, argv);
    // From here to the end a request closes what is open, the boxes shown after the main window
    // is gone included; the position is stored, the attributes restored and the registry saved
    // as on a close.
    OnTerminationRequest(&app, CloseProgram);
    TWatekCzasu ClockThread;
    ClockThread.start(QThread::IdlePriority);
    // The name the desktop knows the program by: the class of its window, which the menu entry
    // names, so that a taskbar puts the window under the entry. Captions show the title.
    QApplication::setApplicationName(QStringLiteral("tolmar"));
    UseDesktopLook();
    QtDialogService dialogs;
    SetDialogService(&dialogs);

    const std::unique_ptr<Platform> machine =
        OpenProgramMachine(machineChoice, ProgramFile(QStringLiteral("\\data\\machine")));
    if (!machine) {
        ClockThread.Finish();
        return 1;
    }
    SetCurrentPlatform(machine.get());
    // Released by the main window once it is drawn and filled.
    HoldSaves(*machine, true);

    int result;
    {
        ProgramWindows windows;
        ClockThread.ShowOn(windows.MainForm.Zegar);
        // Wine writes its registry back as it ends, so ours waits for it: the title says so.
        OnWineRunning(*machine, [&form = windows.MainForm,
                                 title = windows.MainForm.windowTitle()](bool running) {
            form.setWindowTitle(running ? title + QStringLiteral(" – działa Wine: zmiany zostaną "
                                                                 "zapisane, gdy Wine skończy pracę")
                                        : title);
        });
        windows.MainForm.show();
        result = QApplication::exec();
    }
    // Every thread has ended before the machine and the application object go.
    ClockThread.Finish();
    SetCurrentPlatform(nullptr);
    return result;
}
