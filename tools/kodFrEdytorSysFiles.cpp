#include "kodFrEdytorSysFiles.h"

TfrEdytorSysFiles::TfrEdytorSysFiles(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TfrEdytorSysFiles"));
}
