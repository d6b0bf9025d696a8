#include "kodFrSztuczki.h"

TFrSztuczki::TFrSztuczki(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TFrSztuczki"));
}
