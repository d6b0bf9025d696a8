#include "kodFrInterfejs.h"

TFrInterfejs::TFrInterfejs(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TFrInterfejs"));
}
