#pragma once

#include <functional>

class QWidget;

// Runs a handler on every mouse move over a control, as the control's MouseMove event does.
void OnMouseMove(QWidget* control, std::function<void()> handler);
