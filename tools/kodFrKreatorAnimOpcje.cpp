#include "kodFrKreatorAnimOpcje.h"

#include "Controls.h"
#include "WizardCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

TKreatorAnimFrOpcje::TKreatorAnimFrOpcje(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"KreatorAnimFrOpcje"_s);
    Label1 = NewText(this, "Label1",
                     u"Kreator umożliwia Ci włączenie dodatkowych efektów, dzieki którym tapeta "
                     u"prezentowała będzie się bardzej efektownie."_s,
                     {8, 8, 317, 28});
    Label8 = NewLabel(this, "Label8", u"Jakość animacji:"_s, {8, 46, 317, 13});
    CbJakosc = Named<QComboBox>(this, "CbJakosc", {8, 62, 185, 21});
    FillWizardCombo(CbJakosc, u"Wybierz jakość"_s, {u"Słaba"_s, u"Dobra"_s, u"Bardzo dobra"_s});
    Label3 = NewText(this, "Label3",
                     u"Wybierz odpowiednią jakość animacji dla Twojego sprzętu, tak aby tapeta "
                     u"nie spowalniała zbytnio systemu."_s,
                     {8, 90, 317, 28});
    Label2 = NewLabel(this, "Label2", u"Menu podręczne"_s, {8, 132, 317, 13});
    Label4 = NewText(this, "Label4",
                     u"Menu podręczne pojawia się wówczas gdy klikniemy na animację prawym "
                     u"przyciskiem myszy. Umożliwia ono np. powiększenie animacji. Jeśli "
                     u"poniższe pole wyboru pozostawisz wyczyszczone, nie będziesz miał "
                     u"dostępu do omawianych funkcji."_s,
                     {8, 148, 317, 70});
    ChckMenu = Named<QCheckBox>(this, "ChckMenu", {8, 226, 317, 17});
    ChckMenu->setText(u"Pokaż menu podręczne animacji"_s);
}
