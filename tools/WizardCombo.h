#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

// Makes a combo box of the wallpaper wizard: it takes typed text as well as an item of its
// list, and shows a prompt until the user picks or types.
void FillWizardCombo(QComboBox* combo, const QString& prompt, const QStringList& items);
