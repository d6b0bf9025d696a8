#include "Clock.h"
#include "DesktopLook.h"
#include "Dialogs.h"
#include "ErrorReport.h"
#include "ProgramDir.h"
#include "ProgramMachine.h"
#include "ProgramWindows.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminate(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

// SIGTERM and SIGINT close the main window as its close box does, so the position is stored,
// the attributes are restored and the registry is saved.
void CloseOnTermination(QWidget& window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char c;
        [[maybe_unused]] const auto n = ::read(signalPipe[0], &c, 1);
        window.close();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TWatekCzasu ClockThread;
    ClockThread.start(QThread::IdlePriority);
    QApplication::setApplicationName(kApplicationTitle);
    UseDesktopLook();
    QtDialogService dialogs;
    SetDialogService(&dialogs);

    const std::unique_ptr<Machine> machine =
        OpenProgramMachine(DefaultMachinePath(), ProgramFile(QStringLiteral("\\data\\machine")));
    if (!machine) {
        ClockThread.Finish();
        return 1;
    }
    SetCurrentPlatform(machine.get());

    int result;
    {
        ProgramWindows windows;
        CloseOnTermination(windows.MainForm);
        windows.MainForm.show();
        result = QApplication::exec();
    }
    ClockThread.Finish();
    SetCurrentPlatform(nullptr);
    return result;
}
