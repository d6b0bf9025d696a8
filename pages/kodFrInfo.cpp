#include "kodFrInfo.h"

TfrInfo::TfrInfo(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TfrInfo"));
}
