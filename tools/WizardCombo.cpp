#include "WizardCombo.h"

#include <QComboBox>

void FillWizardCombo(QComboBox* combo, const QString& prompt, const QStringList& items)
{
    combo->setEditable(true);
    // What the user types is used as it stands, never added to the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Nor swapped for an item that differs from it only in letter case when the field is left,
    // which Qt's completer would do: the wizard takes its items by their exact text.
    combo->setCompleter(nullptr);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(prompt);
}
