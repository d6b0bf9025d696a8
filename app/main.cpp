#include "Clock.h"
#include "CloseProgram.h"
#include "CommandLine.h"
#include "DesktopLook.h"
#include "Dialogs.h"
#include "ErrorReport.h"
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
    PrepareSystem(machineChoice);
    QApplication app(argc, argv);
    TWatekCzasu ClockThread;
    ClockThread.start(QThread::IdlePriority);
    QApplication::setApplicationName(kApplicationTitle);
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
        // The position is stored, the attributes restored and the registry saved as on a close.
        OnTerminationRequest(&windows.MainForm, [&windows] { CloseProgram(windows.MainForm); });
        windows.MainForm.show();
        result = QApplication::exec();
    }
    // Every thread has ended before the machine and the application object go.
    ClockThread.Finish();
    SetCurrentPlatform(nullptr);
    return result;
}
