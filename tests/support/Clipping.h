#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every control below the window whose caption does not fit its geometry in the fonts it is
// drawn with: check boxes and radio buttons with their indicator, labels, buttons, group-box
// titles, list headers and the rows of tables. One line each, naming the control and how many
// pixels are missing.
QStringList ClippedCaptions(const QWidget* window);
