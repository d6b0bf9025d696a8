#include "kodFrAbout.h"

TfrAbout::TfrAbout(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TfrAbout"));
}
