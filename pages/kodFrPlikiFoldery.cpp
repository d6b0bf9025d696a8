#include "kodFrPlikiFoldery.h"

TFrPlikiFoldery::TFrPlikiFoldery(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TFrPlikiFoldery"));
}
