#pragma once

#include <QEvent>
#include <functional>

class QWidget;

// Runs a handler whenever a control receives an event of the given type (mouse entering or
// leaving, a click, a double click): the control's own event handler, without a subclass.
void OnEvent(QWidget* control, QEvent::Type type, std::function<void()> handler);

// Runs a handler on every mouse move over a control, as the control's MouseMove event does;
// over a list or a memo, that is also over its items.
void OnMouseMove(QWidget* control, std::function<void()> handler);

// Runs a handler on a click of the left mouse button: pressed on the control and released
// over it. Other buttons, and a release elsewhere, do nothing.
void OnLeftClick(QWidget* control, std::function<void()> handler);
// Runs a handler on a double click of the left mouse button.
void OnLeftDoubleClick(QWidget* control, std::function<void()> handler);

// Lets spin fields and drop-down lists take the mouse wheel only while they hold the keyboard
// focus, as the desktop's own controls do; a wheel turned over one that does not goes on to
// what holds it. Scrolling down a page past a field then changes no setting. For the whole
// application, once.
void WheelOnlyWithFocus();

// Shows a window centred on the screen, wherever its parent stands.
void CentreOnScreen(QWidget* window);
