#include "kodFrAbout.h"

#include "Colours.h"
#include "Controls.h"
#include "ErrorReport.h"
#include "Fonts.h"
#include "RtfReader.h"
#include "WidgetEvents.h"
#include "kodfmAutor.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

namespace {

QLabel* Title(QWidget* parent, const char* name, const QString& text, int pixels, QColor colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(WindowsFont(QStringLiteral("Verdana"), -pixels, true));
    SetColour(label, QPalette::WindowText, colour);
    return label;
}

} // namespace

TfrAbout::TfrAbout(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TfrAbout"));
    setMinimumSize(640, 449);
    Label1 = Title(this, "Label1", QStringLiteral("Tolmar"), 32, QColor(0, 0, 128));
    // A pixel wider than designed: "Tolmar" in the stand-in for Verdana needs it.
    Label1->setGeometry(24, 0, 121, 38);
    Label2 = Title(this, "Label2", QStringLiteral("Quorvex"), 15, QColor(0, 128, 0));
    Label2->setGeometry(72, 40, 128, 18);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Raised);
    Bevel1->setGeometry(72, 72, 489, 2);
    SpeedButton1 = new QPushButton(QStringLiteral("Autor"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    MakeSpeedButton(SpeedButton1);
    SpeedButton1->setGeometry(568, 56, 57, 22);
    SetColour(SpeedButton1, QPalette::ButtonText, QColor(0, 0, 128));
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(8, 80, 617, 361);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(SpeedButton1, &QPushButton::clicked, this, Handler(this, &TfrAbout::SpeedButton1Click));
}

void TfrAbout::LoadText(const QString& file)
{
    QFile f(file);
    if (f.open(QIODevice::ReadOnly)) ReadRtf(f.readAll(), *RichEdit1->document());
}

void TfrAbout::SpeedButton1Click() { FmAutor().open(); }

TfmAutor& TfrAbout::FmAutor()
{
    if (!author_) author_ = new TfmAutor(window());
    return *author_;
}
