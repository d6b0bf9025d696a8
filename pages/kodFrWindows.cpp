#include "kodFrWindows.h"

#include <QLabel>
#include <QSlider>

TfrWindows::TfrWindows(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TfrWindows"));
    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setGeometry(16, 24, 60, 13);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(16, 40, 200, 25);
}

void TfrWindows::ShowMemorySize(int megabytes)
{
    Label7->setText(QString::number(megabytes));
    TrackBar1->setMaximum(megabytes);
}
