#pragma once

#include <QObject>
#include <functional>

// Runs the handler on the context's thread, from its event loop, whenever the process is asked
// to end (SIGTERM, or SIGINT from Ctrl+C), instead of ending it on the spot.
void OnTerminationRequest(QObject* context, std::function<void()> handler);
