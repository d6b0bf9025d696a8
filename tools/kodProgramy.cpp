#include "kodProgramy.h"

TfmProgramy::TfmProgramy(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmProgramy"));
    setWindowTitle(QStringLiteral("Zainstalowane programy"));
    setFixedSize(385, 464);
}
