#include "Clock.h"
#include "CloseProgram.h"
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
    QApplication app(argc, argv);
    TWatekCzasu ClockThread;
    ClockThread.start(QThread::IdlePriority);
    QApplication::setApplicationName(kApplicationTitle);
    UseDesktopLook();
    QtDialogService dialogs;
    SetDialogService(&dialogs);

    const std::unique_ptr<Platform> machine =
        OpenProgramMachine(DefaultMachinePath(), ProgramFile(QStringLiteral("\\data\\machine")));
    if (!machine) {
        ClockThread.Finish();
        return 1;
    }
    SetCurrentPlatform(machine.get());

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
