#include "kodFrSztuczki.h"

#include "Colours.h"
#include "Controls.h"
#include "Cp1250.h"
#include "Files.h"
#include "Guarded.h"
#include "Platform.h"
#include "ProgramDir.h"

#include <QCollator>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kChooseArticle = u"Wybierz artykuł"_s;

const QString kMissingTricks =
    u"Sztuczki.txt są niedostępne. Możliwe, że zostały przypadkowo usunięte, lub program Tolmar "
    u"został zainstalowany w trybie minimalnym bez dodatkowych składników"_s;

// What the memo shows when the tricks file cannot be read.
const QString kBuiltInTricks = u"Sztuczki w Windows - praktyczny poradnik\n"
                               u"\n"
                               u"Rundll32.exe\n"
                               u"\n"
                               u"Program rundll32.exe uruchamia funkcje zapisane w bibliotekach "
                               u"systemu. Kliknij pulpit prawym przyciskiem myszy, wybierz Nowy, "
                               u"Skrót i jako wiersz polecenia wpisz rundll32.exe, a po spacji "
                               u"nazwę biblioteki i po przecinku nazwę funkcji. Na przykład skrót "
                               u"z poleceniem\n"
                               u"rundll32.exe user.exe,ExitWindows\n"
                               u"zamyka system Windows jednym kliknięciem. Inne przydatne "
                               u"polecenia (wpisz je po rundll32.exe):\n"
                               u"\n"
                               u"user.exe,ExitWindows - zamknięcie systemu Windows\n"
                               u"user.exe,ExitWindowsExec - ponowne uruchomienie systemu Windows\n"
                               u"shell32.dll,SHExitWindowsEx 0 - wylogowanie użytkownika\n"
                               u"shell32.dll,SHExitWindowsEx -1 - ponowne uruchomienie powłoki\n"
                               u"user.exe,wnetconnectdialog - okno Mapuj dysk sieciowy\n"
                               u"user.exe,wnetdisconnectdialog - okno Odłącz dysk sieciowy\n"
                               u"mouse,disable - blokada myszki aż do ponownego uruchomienia\n"
                               u"keyboard,disable - blokada klawiatury aż do ponownego "
                               u"uruchomienia\n"
                               u"user.exe,swapmousebutton - zamiana przycisków myszki\n"
                               u"shell32.dll,SHFormatDrive - formatowanie dyskietki\n"
                               u"diskcopy.dll,DiskCopyRunDll - kopiowanie dyskietki\n"
                               u"rnaui.dll,RnaWizard - nowe połączenie telefoniczne\n"
                               u"shell32.dll,OpenAs_RunDLL - okno Otwórz za pomocą\n"
                               u"shell32.dll,Control_RunDLL timedate.cpl - Data/Godzina\n"
                               u"shell32.dll,Control_RunDLL desk.cpl,,0 - Ekran: Tło\n"
                               u"shell32.dll,Control_RunDLL desk.cpl,,1 - Ekran: Wygaszacz "
                               u"ekranu\n"
                               u"shell32.dll,Control_RunDLL desk.cpl,,2 - Ekran: Wygląd\n"
                               u"shell32.dll,Control_RunDLL desk.cpl,,3 - Ekran: Ustawienia\n"
                               u"shell32.dll,Control_RunDLL main.cpl @0 - Mysz\n"
                               u"shell32.dll,Control_RunDLL main.cpl @1 - Klawiatura\n"
                               u"shell32.dll,Control_RunDLL main.cpl @2 - Drukarki\n"
                               u"shell32.dll,Control_RunDLL main.cpl @3 - Czcionki\n"
                               u"shell32.dll,Control_RunDLL sysdm.cpl,,0 - System: Ogólne\n"
                               u"shell32.dll,Control_RunDLL sysdm.cpl,,1 - System: Menedżer "
                               u"urządzeń\n"
                               u"shell32.dll,Control_RunDLL sysdm.cpl,,2 - System: Profile "
                               u"sprzętu\n"
                               u"shell32.dll,Control_RunDLL sysdm.cpl,,3 - System: Wydajność\n"
                               u"shell32.dll,Control_RunDLL appwiz.cpl,,1 - Dodaj/Usuń programy: "
                               u"Instaluj/Odinstaluj\n"
                               u"shell32.dll,Control_RunDLL appwiz.cpl,,2 - Dodaj/Usuń programy: "
                               u"Instalator systemu Windows\n"
                               u"shell32.dll,Control_RunDLL appwiz.cpl,,3 - Dodaj/Usuń programy: "
                               u"Dysk startowy\n"
                               u"shell32.dll,Control_RunDLL intl.cpl,,0 - Ustawienia regionalne\n"
                               u"shell32.dll,Control_RunDLL inetcpl.cpl - Opcje internetowe\n"
                               u"shell32.dll,Control_RunDLL joy.cpl - Kontrolery gier\n"
                               u"shell32.dll,Control_RunDLL mmsys.cpl - Multimedia\n"
                               u"shell32.dll,Control_RunDLL modem.cpl - Modemy\n"
                               u"shell32.dll,Control_RunDLL netcpl.cpl - Sieć\n"
                               u"shell32.dll,Control_RunDLL password.cpl - Hasła\n"
                               u"shell32.dll,Control_RunDLL access.cpl,,1 - Ułatwienia dostępu\n"
                               u"shell32.dll,Control_RunDLL powercfg.cpl - Zarządzanie energią\n"
                               u"\n"
                               u"Szybki dostęp do podstawowych elementów systemu\n"
                               u"\n"
                               u"Utwórz nowy folder i nadaj mu dowolną nazwę, a po niej kropkę i "
                               u"identyfikator klasy w nawiasach klamrowych. Folder stanie się "
                               u"skrótem do elementu systemu. Przykłady:\n"
                               u"\n"
                               u"Kosz:\n"
                               u"Kosz.{645FF040-5081-101B-9F08-00AA002F954E}\n"
                               u"Przeglądarka internetowa:\n"
                               u"Internet.{871C5380-42A0-1069-A2EA-08002B30309D}\n"
                               u"Program pocztowy:\n"
                               u"Poczta.{00020D75-0000-0000-C000-000000000046}\n"
                               u"Mój komputer:\n"
                               u"Komputer.{20D04FE0-3AEA-1069-A2D8-08002B30309D}\n"
                               u"Dial-Up Networking:\n"
                               u"Polaczenia.{992CFFA0-F557-101A-88EC-00DD010CCC48}\n"
                               u"Drukarki:\n"
                               u"Drukarki.{2227A280-3AEA-1069-A2DE-08002B30309D}"_s;

QString ProgramFolder() { return CurrentPlatform().SystemPathOf(ProgramDir()); }

std::optional<QString> ReadTricks()
{
    QFile file(ProgramFile(u"\\Poradnik\\sztuczki.txt"_s));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QString text = FromCp1250(file.readAll());
    text.replace(u"\r\n"_s, u"\n"_s);
    return text;
}

} // namespace

QStringList SortedArticles(QStringList names)
{
    // The names are Polish: the host's own locale, whatever it is, would misplace their letters.
    QCollator collator(QLocale(QLocale::Polish, QLocale::Poland));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

TFrSztuczki::TFrSztuczki(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TFrSztuczki"_s);
    setMinimumSize(640, 449);

    Label1 = NewText(this, "Label1",
                     u"Pewnie z przyjemnością dowecie się czegoś nowego. Dlatego "
                     u"postanowiłem ułatwić Wam to zadanie dołączając do programu praktyczne "
                     u"wskazówki."_s,
                     {8, 8, 625, 28});
    Arty = Named<QComboBox>(this, "Arty", {8, 44, 329, 21});
    Arty->setEditable(true);
    Arty->setInsertPolicy(QComboBox::NoInsert);
    Arty->setEditText(kChooseArticle);
    Button3 = Named<QPushButton>(this, "Button3", {345, 42, 137, 25});
    Button3->setText(u"Czytaj artykuł"_s);
    OnChange(Button3, Handler(this, &TFrSztuczki::Button3Click));
    Button2 = Named<QPushButton>(this, "Button2", {490, 42, 137, 25});
    Button2->setText(u"Drukuj artykuł"_s);
    OnChange(Button2, Handler(this, &TFrSztuczki::Button2Click));
    Label2 = NewText(this, "Label2",
                     u"Podręczne wskazówki do codziennej pracy też się przydadzą. Dzięki nim "
                     u"szybko stworzysz skrót np. do zamknięcia systemu, wylogowania, a "
                     u"nawet apletów panelu sterowania takich jak data i czas. Znajdziesz też "
                     u"mniej bezpieczne opcje jak blokada myszki itp."_s,
                     {8, 78, 625, 42});
    Memo1 = Named<QPlainTextEdit>(this, "Memo1", {8, 124, 625, 317});
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(kBuiltInTricks);
}

void TFrSztuczki::LoadState()
{
    Unguarded([&] {
        QStringList names;
        for (const QString& name :
             ListDirectory(ProgramFolder() + u"\\Poradnik\\arty\\*.*"_s, faDirectory))
            if (name != u"."_s && name != u".."_s) names << name;
        Arty->addItems(SortedArticles(names));
        // Filling the list selects its first item; the prompt stays until the user chooses.
        Arty->setCurrentIndex(-1);
        Arty->setEditText(kChooseArticle);
    });

    if (const auto tricks = ReadTricks()) {
        Memo1->setPlainText(*tricks);
    } else {
        SetColour(Memo1, QPalette::Text, Qt::red);
        Memo1->appendPlainText(kMissingTricks);
    }
}

QString TFrSztuczki::ArticleFolder() const
{
    const QString chosen =
        Arty->currentIndex() >= 0 ? Arty->itemText(Arty->currentIndex()) : QString();
    return ProgramFolder() + u"\\Poradnik\\Arty\\"_s + chosen + u"\\"_s;
}

void TFrSztuczki::Button3Click()
{
    // Reading an article is a courtesy: whatever fails here stays unreported.
    Swallowed([&] { ShellExecute(u"open"_s, u"index.htm"_s, ArticleFolder(), SW_SHOWMAXIMIZED); });
}

void TFrSztuczki::Button2Click()
{
    ShellExecute(u"print"_s, u"index.htm"_s, ArticleFolder(), SW_SHOWMAXIMIZED);
}
