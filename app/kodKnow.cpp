#include "kodKnow.h"

#include "Colours.h"
#include "Controls.h"
#include "Fonts.h"
#include "WidgetEvents.h"

#include <QTextDocument>
#include <QTextEdit>

namespace {

const char* const kCuriosities[] = {
    "Tolmar nie ma żadnego pliku ustawień: wszystko, co pamięta, trzyma w rejestrze, w kluczu "
    "Software\\Tolmar.",
    "każda zmiana jest zapisywana w chwili kliknięcia, dlatego w programie nie ma przycisku "
    "\"Zastosuj\".",
    "przy starcie Tolmar odczytuje ponad sto ustawień systemu, a potem niczego już nie "
    "odczytuje ponownie.",
    "zegar w prawym górnym rogu działa we własnym wątku o najniższym priorytecie, by nie "
    "spowalniać pracy.",
    "dwukrotne kliknięcie zegara otwiera systemowe okno ustawień daty i godziny.",
    "okno Tolmara potrafi przyciągać się do krawędzi ekranu - wystarczy włączyć to w "
    "konfiguracji.",
    "pole pomocy po prawej stronie zwija się samo dziesięć sekund po ostatniej podpowiedzi.",
    "nazwa programu nie jest skrótem od niczego - po prostu dobrze brzmi.",
};

} // namespace

TfmKnow::TfmKnow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfmKnow"));
    setWindowTitle(QStringLiteral("Czy wiesz, że..."));
    setFixedSize(440, 263);
    RichEdit = new QTextEdit(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setGeometry(0, 0, 440, 263);
    RichEdit->setReadOnly(true);
    // The text keeps clear of the box's left edge.
    RichEdit->document()->setDocumentMargin(8);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetColour(RichEdit, QPalette::Base, RichEdit->palette().color(QPalette::ToolTipBase));
    SetColour(RichEdit, QPalette::Text, QColor(0, 0, 128));
    const QFont verdana = WindowsFont(QStringLiteral("Verdana"), -13);
    RichEdit->setFont(verdana);
    QString text = QStringLiteral("Czy wiesz, że...\n");
    for (const char* curiosity : kCuriosities)
        text += QStringLiteral("\n - ") + QString::fromUtf8(curiosity);
    RichEdit->setPlainText(text);
    CentreOnScreen(this);
}
