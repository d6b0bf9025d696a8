#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

// Gives a control one colour of its palette, in every state.
void SetColour(QWidget* control, QPalette::ColorRole role, const QColor& colour);
