#include "kodKreatorAnimTapeta.h"

TfmKreatorAnimTapeta::TfmKreatorAnimTapeta(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmKreatorAnimTapeta"));
    setWindowTitle(QStringLiteral("Kreator animowanej tapety   [1 z 5]"));
    setFixedSize(492, 334);
}
