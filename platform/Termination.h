#pragma once

#include <QObject>
#include <functional>

// Runs the handler on the context's thread whenever the process is asked to end (SIGTERM, or
// SIGINT from Ctrl+C), instead of ending it on the spot: from whatever event loop runs then, a
// message box's own included. One handler at a time; a new one replaces the one before. Once the
// context is gone, a request ends the process at once again, as by default.
void OnTerminationRequest(QObject* context, std::function<void()> handler);

// True once a request has come while the handler is installed: the program is on its way out
// and nobody may be there to answer a question.
bool TerminationRequested();
