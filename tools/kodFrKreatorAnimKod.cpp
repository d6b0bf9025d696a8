#include "kodFrKreatorAnimKod.h"

#include "Controls.h"
#include "WizardCombo.h"

#include <QComboBox>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

TKreatorAnimFrKod::TKreatorAnimFrKod(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"KreatorAnimFrKod"_s);
    Label1 = NewText(this, "Label1",
                     u"Kreator zbierze teraz ogólne informacje dotyczące tworzonej tapety. "_s,
                     {8, 8, 317, 28});
    Label2 = NewLabel(this, "Label2", u"Standard kodowania znaków:"_s, {8, 48, 317, 13});
    CbKodowanie = Named<QComboBox>(this, "CbKodowanie", {8, 64, 185, 21});
    FillWizardCombo(CbKodowanie, u"Wybierz kodowanie"_s, {u"ISO-8859-2"_s, u"windows-1250"_s});
    Label3 = NewText(this, "Label3",
                     u"Z poniższej listy wybierz standard kodowania znaków, który zostanie "
                     u"użyty do zbudowania animowanej tapety. Zaleca się wybranie standardu "
                     u"ISO-8859-2 gdyż ta tablica znaków zawiera zarówno obsługę polskich "
                     u"ogonków, jak i jest powszechnie stosowana w sieci."_s,
                     {8, 96, 317, 80});
}
