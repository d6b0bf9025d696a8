#include "kodfmAutor.h"

TfmAutor::TfmAutor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmAutor"));
    setWindowTitle(QStringLiteral("O autorze..."));
    setFixedSize(437, 241);
}
