#include "kodFrKreatorAnimEnd.h"

#include "Colours.h"
#include "Controls.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;

TKreatorAnimFrEnd::TKreatorAnimFrEnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"KreatorAnimFrEnd"_s);
    Label1 = NewText(this, "Label1",
                     u"Gratulacje! Kreator animowanej tapety zakończył zbieranie informacji "
                     u"potrzebnych do utworzenia nowej tapety."_s,
                     {8, 8, 317, 42});
    Label3 = NewText(this, "Label3",
                     u"Kliknij przycisk 'Zakończ', aby utworzyć animowaną tapetę. Więcej o "
                     u"animowanych tapetach dowiesz się z pomocy programu Tolmar, kótra "
                     u"dostępna jest po naciśnięciu przycisku 'Pomoc' lub wybraniu opcji "
                     u"'Pomoc' z menu."_s,
                     {8, 62, 317, 70});
    Label2 = NewText(this, "Label2",
                     u"Notka: Animowana tapeta będzie dostępna w oknie \"Właściwości : Ekran\" "
                     u"na zakładce \"Tapeta\". Aby ją wyświetlić - wybierz ją z listy, a "
                     u"następnie kliknij przycisk \"OK\"."_s,
                     {8, 144, 317, 56});
    SetColour(Label2, QPalette::WindowText, QColor(0, 128, 0));
}
