#include "kodfmSet.h"

TfmSet::TfmSet(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmSet"));
    setWindowTitle(QStringLiteral("Konfiguracja"));
    setFixedSize(372, 222);
}
