#include "kodFrIkony.h"

TfrIkony::TfrIkony(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TfrIkony"));
}
