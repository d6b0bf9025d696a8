#include "kodKnow.h"

TfmKnow::TfmKnow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmKnow"));
    setWindowTitle(QStringLiteral("Czy wiesz, że..."));
    setFixedSize(440, 263);
}
