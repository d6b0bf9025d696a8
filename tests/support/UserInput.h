#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

// A user's mouse and keyboard on shown, active windows. Every event goes in through the window
// system, as a real one does, so that Qt itself decides who gets it: the widget under the
// pointer, the one with the keyboard focus, an open drop-down list. A click therefore moves the
// focus, Tab walks the focus chain and the wheel reaches whatever is under the pointer.

// Shows the window, makes it the active one and waits until the window system says it is.
// False when it never became active.
[[nodiscard]] bool ShowActive(QWidget* window);

// The centre of a control, in its own coordinates.
QPoint Centre(const QWidget* control);

// A click of a mouse button at a point of a control (its centre by default).
void Click(QWidget* control, Qt::MouseButton button = Qt::LeftButton, QPoint at = {-1, -1});
void DoubleClick(QWidget* control, QPoint at = {-1, -1});

// One press and release of a key, to whatever holds the keyboard focus.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Typing a text, character by character, to whatever holds the keyboard focus.
void Type(const QString& text);

// Notches of the mouse wheel (positive: away from the user) with the pointer over a control.
void Wheel(QWidget* control, int notches);
