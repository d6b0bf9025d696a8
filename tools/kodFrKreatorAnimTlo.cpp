#include "kodFrKreatorAnimTlo.h"

#include "Colours.h"
#include "Controls.h"
#include "Dialogs.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

TKreatorAnimFrTlo::TKreatorAnimFrTlo(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"KreatorAnimFrTlo"_s);
    Label1 = NewText(this, "Label1",
                     u"Kreator prosi o informacje dotyczące przyszłego wyglądu strony."_s,
                     {8, 8, 317, 28});
    Label2 = NewLabel(this, "Label2", u"Tytuł tapety:"_s, {8, 44, 317, 13});
    Edit1 = Named<QLineEdit>(this, "Edit1", {8, 60, 317, 21});
    Label5 = NewText(this, "Label5",
                     u"Tytuł tapety nie będzie wyświetlany na pulpicie. Wyświetli się on "
                     u"dopiero wówczas, gdy użytkownik otworzy tapetę poprzez przeglądarkę."_s,
                     {8, 88, 317, 42});
    Label3 = NewLabel(this, "Label3", u"Kolor tła:"_s, {8, 142, 317, 13});
    PanelKolor = Named<QFrame>(this, "PanelKolor", {8, 160, 49, 49});
    PanelKolor->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelKolor->setAutoFillBackground(true);
    PanelKolor->setCursor(Qt::PointingHandCursor);
    SetColour(PanelKolor, QPalette::Window, palette().color(QPalette::Button));
    Label4 = NewText(this, "Label4",
                     u"Kolor tła tapety najlepiej dopasować do koloru tła animacji, która "
                     u"znajdować się będzie na tapecie. W ten sposób tapeta powinna wyglądać "
                     u"bardziej estetycznie."_s,
                     {64, 160, 261, 70});
    OnLeftClick(PanelKolor, Handler(this, &TKreatorAnimFrTlo::PanelKolorClick));
}

QColor TKreatorAnimFrTlo::Kolor() const { return PanelKolor->palette().color(QPalette::Window); }

void TKreatorAnimFrTlo::PanelKolorClick()
{
    if (const std::optional<QColor> chosen = Dialogs().PickColor(this, Kolor()))
        SetColour(PanelKolor, QPalette::Window, *chosen);
}
