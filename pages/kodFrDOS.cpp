#include "kodFrDOS.h"

TFrDOS::TFrDOS(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TFrDOS"));
}
