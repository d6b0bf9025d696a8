#include "kodFrSiec.h"

TFrSiec::TFrSiec(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TFrSiec"));
}
