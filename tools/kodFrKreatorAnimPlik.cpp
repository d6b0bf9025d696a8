#include "kodFrKreatorAnimPlik.h"

#include "Controls.h"
#include "Dialogs.h"
#include "Platform.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

TKreatorAnimFrPlik::TKreatorAnimFrPlik(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"KreatorAnimFrPlik"_s);
    Label1 = NewText(this, "Label1",
                     u"Kreator musi wiedzieć gdzie znajduje się plik zawierający animację "
                     u"Flash, którą chcesz umieścić na pulpicie. Aby wskazać plik zawierający "
                     u"animację Flash, kliknij przycisk \"Otwórz\", a następnie odszukaj i "
                     u"otówrz plik SWF z animacją."_s,
                     {8, 8, 317, 66});
    SpeedButton1 = Named<QPushButton>(this, "SpeedButton1", {8, 80, 81, 25});
    SpeedButton1->setText(u"Otwórz"_s);
    SpeedButton1->setAutoDefault(false);
    Label7 = NewLabel(this, "Label7", u"Lokalizacja animacji:"_s, {8, 114, 317, 13});
    LLokalizacja = NewText(this, "LLokalizacja", QString(), {8, 129, 317, 28});
    Label2 = NewText(this, "Label2",
                     u"Notka: Jeśli posiadasz plik z roszerzeniam '.fla' i chcesz umieścić go "
                     u"na tapecie, musisz go skonwertować do formatu '.swf'. W tym celu za "
                     u"pomocą programu Macromedia Flash otwórz plik o roszerzeniu '.fla', z "
                     u"menu plik wybierz polecenie Eksport Movie...'."_s,
                     {8, 166, 317, 66});
    Label3 = NewText(this, "Label3",
                     u"W nowym oknie, w polu 'Zapisz jako typ', wybierz 'Flash Movie (*.swf)', "
                     u"następnie zapisz plik pod dowolną nazwą i wskaż go niniejszemu "
                     u"kreatorowi."_s,
                     {8, 236, 317, 44});
    OnChange(SpeedButton1, Handler(this, &TKreatorAnimFrPlik::SpeedButton1Click));
}

void TKreatorAnimFrPlik::SpeedButton1Click()
{
    const std::optional<QString> chosen =
        Dialogs().OpenFile(this, u"Wskaż plik, który zawiera animację..."_s,
                           {u"Pliki z animacją Flash|*.SWF"_s}, PickerFolder(DialogOtworzFileName));
    if (!chosen) return;
    DialogOtworzFileName = CurrentPlatform().SystemPathOf(*chosen);
    LLokalizacja->setText(DialogOtworzFileName);
}
