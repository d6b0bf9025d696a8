#include "kodfmAutor.h"

#include "Controls.h"
#include "ErrorReport.h"
#include "Fonts.h"
#include "ProgramAddresses.h"
#include "WidgetEvents.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>

namespace {

// Our own portrait of the author: a figure at a desk, smiling when the button is held.
QPixmap Portrait(bool pressed)
{
    QPixmap picture(156, 232);
    picture.fill(QColor(200, 220, 245));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 170, 156, 62), QColor(150, 110, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 80, 160));
    p.drawRoundedRect(QRect(38, 110, 80, 70), 20, 20);
    p.setBrush(QColor(240, 200, 170));
    p.drawEllipse(QRect(48, 40, 60, 70));
    p.setBrush(QColor(90, 60, 30));
    p.drawChord(QRect(46, 34, 64, 44), 0, 180 * 16);
    p.setBrush(Qt::black);
    p.drawEllipse(QRect(64, 66, 6, pressed ? 3 : 6));
    p.drawEllipse(QRect(86, 66, 6, pressed ? 3 : 6));
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    if (pressed)
        p.drawArc(QRect(66, 78, 24, 18), 200 * 16, 140 * 16);
    else
        p.drawLine(70, 90, 86, 90);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRect(92, 150, 50, 32));
    return picture;
}

QLabel* Picture(QWidget* parent, const char* name, bool pressed, int height)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(8, 5, 156, height);
    label->setPixmap(Portrait(pressed));
    label->setScaledContents(true);
    return label;
}

} // namespace

QString AuthorContactText()
{
    return QStringLiteral(
               "Autor:\n     Zespół Tolmara\ne-mail prywatny autora:\n     autor@example.org\n\n"
               "---\n\nWWW:\n     ") +
           kProductSite + QStringLiteral("\ne-mail Tolmara:\n     ") + kProductMail;
}

TfmAutor::TfmAutor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmAutor"));
    setWindowTitle(QStringLiteral("O autorze..."));
    setFixedSize(437, 241);
    Autor = Picture(this, "Autor", false, 232);
    Autor2 = Picture(this, "Autor2", true, 233);
    Autor2->hide();
    RichEdit2 = new QTextEdit(this);
    RichEdit2->setObjectName(QStringLiteral("RichEdit2"));
    RichEdit2->setGeometry(178, 13, 247, 180);
    RichEdit2->setReadOnly(true);
    RichEdit2->setEnabled(false);
    RichEdit2->setFrameShape(QFrame::NoFrame);
    RichEdit2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Eleven lines fill the box when the margin is as narrow as a rich edit's own.
    RichEdit2->document()->setDocumentMargin(2);
    QPalette palette = RichEdit2->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, palette.color(QPalette::Button));
        palette.setColor(group, QPalette::Text, QColor(0, 0, 128));
    }
    RichEdit2->setPalette(palette);
    const QFont verdana = WindowsFont(QStringLiteral("Verdana"), -13);
    RichEdit2->setFont(verdana);
    RichEdit2->setPlainText(AuthorContactText());
    SpeedButton1 = new QPushButton(QStringLiteral("Zabij to okno na śmierć! ;)"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    MakeSpeedButton(SpeedButton1);
    SpeedButton1->setGeometry(216, 208, 169, 22);

    OnEvent(Autor, QEvent::MouseButtonPress, Handler(this, &TfmAutor::AutorMouseDown));
    OnEvent(Autor2, QEvent::MouseButtonRelease, Handler(this, &TfmAutor::AutorMouseUp));
    connect(SpeedButton1, &QPushButton::clicked, this, Handler(this, &TfmAutor::SpeedButton1Click));
    CentreOnScreen(this);
}

void TfmAutor::AutorMouseDown()
{
    Autor2->show();
    Autor->hide();
    // The release must reach the picture shown in place of the pressed one.
    Autor2->grabMouse();
}

void TfmAutor::AutorMouseUp()
{
    Autor2->releaseMouse();
    Autor->show();
    Autor2->hide();
}

void TfmAutor::SpeedButton1Click() { close(); }
