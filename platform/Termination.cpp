#include "Termination.h"

#include <QPointer>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t requested = 0;
QPointer<QSocketNotifier> installed;

// A signal handler may only note the request and write a byte; the event loop reads it and runs
// the handler.
void OnSignal(int)
{
    requested = 1;
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

void Handle(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

// Requests that no handler has read yet belong to the one that is gone.
void Drain()
{
    char c;
    while (::read(signalPipe[0], &c, 1) > 0) {
    }
}

} // namespace

void OnTerminationRequest(QObject* context, std::function<void()> handler)
{
    if (signalPipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
        ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
    }
    delete installed;
    Drain();
    requested = 0;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    installed = notifier;
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler] {
        Drain();
        handler();
    });
    QObject::connect(notifier, &QObject::destroyed, [] {
        Handle(SIG_DFL);
        requested = 0;
    });
    Handle(OnSignal);
}

bool TerminationRequested() { return requested != 0; }
