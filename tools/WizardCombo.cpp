#include "WizardCombo.h"

#include <QComboBox>

void FillWizardCombo(QComboBox* combo, const QString& prompt, const QStringList& items)
{
    combo->setEditable(true);
    // What the user types is used as it stands, never added to the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(prompt);
}
