#include "kodFrKreatorAnimXY.h"

#include "Controls.h"
#include "WizardCombo.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

using namespace Qt::Literals::StringLiterals;

TKreatorAnimFrXY::TKreatorAnimFrXY(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"KreatorAnimFrXY"_s);
    Label1 = NewText(this, "Label1",
                     u"Kreator potrzebuje informacji dotyczących rozmiaru wyświetlanej tapety "
                     u"oraz jej wyrównania. Jeśli podasz rozmiar zbyt duży tapeta pozostanie "
                     u"rozciągnięta, jeśli podasz zbyt mały tapeta zostanie ściśnięta."_s,
                     {8, 8, 317, 54});
    Label5 = NewLabel(this, "Label5", u"Obszar, który tapeta ma obejmować:"_s, {8, 70, 317, 13});
    Label3 = NewLabel(this, "Label3", u"Szerokość pulpitu"_s, {8, 90, 100, 13});
    SpinX = Named<QSpinBox>(this, "SpinX", {112, 86, 81, 21});
    Label4 = NewLabel(this, "Label4", u"Wysokość pulpitu"_s, {8, 116, 100, 13});
    SpinY = Named<QSpinBox>(this, "SpinY", {112, 112, 81, 21});
    for (QSpinBox* spin : {SpinX, SpinY})
        spin->setRange(1, 1000000);
    Label2 = NewText(this, "Label2",
                     u"Domyślnie zostaje wczytana aktualna rozdzielczość ekranu. Przy takim "
                     u"ustawieniu animacja zajmie cały obszar ekranu."_s,
                     {8, 140, 317, 28});
    Label7 = NewText(this, "Label7",
                     u"Z listy poniżej wybierz rodzaj wyrónania. Spowoduje to przyciągnięcie "
                     u"animacji np. do lewej czy do prawej."_s,
                     {8, 180, 317, 28});
    Label9 = NewLabel(this, "Label9", u"Wyrównanie:"_s, {8, 216, 317, 13});
    ComboBox1 = Named<QComboBox>(this, "ComboBox1", {8, 232, 185, 21});
    FillWizardCombo(ComboBox1, u"Wybierz wyrównanie"_s,
                    {u"Do prawej"_s, u"Do lewej"_s, u"Do środka"_s, u"Do góry"_s, u"Do dołu"_s});
}
