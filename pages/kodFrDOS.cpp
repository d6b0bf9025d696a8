#include "kodFrDOS.h"

#include "Bindings.h"
#include "Controls.h"
#include "Files.h"
#include "Guarded.h"
#include "TRegistry.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <climits>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kWinOldApp = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WinOldApp"_s;
const RegFlag kDisabled{
    .root = HKEY_CURRENT_USER, .key = kWinOldApp, .name = u"Disabled"_s, .readCreates = true};
const RegFlag kNoRealMode{
    .root = HKEY_CURRENT_USER, .key = kWinOldApp, .name = u"NoRealMode"_s, .readCreates = true};

const ProfileFile kMsDos{u"dysk"_s, u"\\MsDos.sys"_s};
const QString kOptions = u"Options"_s;
const IniFlag kAutoScan{
    .file = kMsDos, .section = kOptions, .key = u"AutoScan"_s, .byDefault = true};
const IniFlag kBootGUI{.file = kMsDos, .section = kOptions, .key = u"BootGUI"_s, .byDefault = true};
const IniFlag kBootMenu{
    .file = kMsDos, .section = kOptions, .key = u"BootMenu"_s, .byDefault = false};
// The box disables the keys, the entry enables them.
const IniFlag kBootKeys{.file = kMsDos,
                        .section = kOptions,
                        .key = u"BootKeys"_s,
                        .byDefault = false,
                        .inverted = true};
const IniFlag kLogo{.file = kMsDos, .section = kOptions, .key = u"Logo"_s, .byDefault = true};
const IniNumber kBootMenuDelay{
    .file = kMsDos, .section = kOptions, .key = u"BootMenuDelay"_s, .byDefault = 5};
const IniNumber kBootDelay{
    .file = kMsDos, .section = kOptions, .key = u"BootDelay"_s, .byDefault = 5};

using Box = ControlRow<TFrDOS, QCheckBox>;
using Spin = ControlRow<TFrDOS, QSpinBox>;

const Box kPolicyBoxes[] = {
    {&TFrDOS::CheckBox1,
     "CheckBox1",
     {16, 20, 590, 17},
     u"Brak możliwości uruchamiania aplikacji DOS'u"_s,
     Bound{kDisabled},
     u"Gdy zaznaczone, wiersz poleceń MS-DOS nie jest dostępny"_s},
    {&TFrDOS::CheckBox2,
     "CheckBox2",
     {16, 40, 590, 17},
     u"Brak możliwości uruchamiania aplikacji DOS'u w trybie pojedynczej aplikacji"_s,
     Bound{kNoRealMode},
     u"Gdy zaznaczone, nie można uruchamiać aplikacji MS-DOS w trybie pojedynczym."_s},
};

const Box kStartBoxes[] = {
    {&TFrDOS::CheckBox3,
     "CheckBox3",
     {16, 20, 590, 17},
     u"Sprawdzaj dyski po niepoprawnym zamknięciu systemu"_s,
     Bound{kAutoScan},
     u"Gdy zaznaczone, uruchamia program Scandisk po nieprawidłowym zamknięciu systemu (np. "
     u"odcięciu zasilania)"_s},
    {&TFrDOS::CheckBox4,
     "CheckBox4",
     {16, 40, 590, 17},
     u"Włącz automatyczne uruchamianie systemu"_s,
     Bound{kBootGUI},
     u"Jeśli odznaczone ładowanie systemu zatrzyam się na wierszu poleceń MS-DOS. Aby uruchomić "
     u"system w takiej sytuacji należy wpisać \"win\" i nacisnąć ENTER."_s},
    {&TFrDOS::CheckBox5,
     "CheckBox5",
     {16, 64, 590, 17},
     u"Uaktywnij menu startowe Windows"_s,
     Irregular(kBootMenu, &TFrDOS::CheckBox5Click),
     u"Jeśli zaznaczone przy uruchamianiu systemu będzie wyświetlane \"Menu Startowe Microsoft "
     u"Windows\" (takie jak po przytrzymaniu klawisza F8 podczas uruchamiania). Umożliwia ono "
     u"np. uruchomienie systemu w trybie awaryjnym lub przejście do wiersza poleceń DOS."_s},
    {&TFrDOS::CheckBox6,
     "CheckBox6",
     {16, 120, 590, 17},
     u"Wyłącz klawisze F4, F5, F6 i F8 przy starcie Windows"_s,
     Irregular(kBootKeys, &TFrDOS::CheckBox6Click),
     u"Gdy zaznaczone, klawisze F4, F5, F6, F8 będą nieaktywne podczas startu komputera. Nię "
     u"będzie można skorzystać m.in. z menu startowego systemu."_s},
    {&TFrDOS::CheckBox7,
     "CheckBox7",
     {16, 176, 590, 17},
     u"Pokazuj logo systemu Windows przy starcie"_s,
     Bound{kLogo},
     u"Gdy zaznaczone, Windows będzie wyświetlał przy starcie swoje logo. Wyłączenie tej opcji "
     u"może przyspieszyć ładowanie systemu."_s},
};

const Spin kDelays[] = {
    {&TFrDOS::CzasMenu,
     "CzasMenu",
     {36, 86, 64, 22},
     {},
     Bound{kBootMenuDelay},
     u"Czas przez który wyświetlane będzie menu startowe."_s},
    {&TFrDOS::AktywneF,
     "AktywneF",
     {36, 142, 64, 22},
     {},
     Bound{kBootDelay},
     u"Czas przez który klawisze F4, F5, F6, F8 będą aktywne podczas uruchamiania komputera."_s},
};

} // namespace

TFrDOS::TFrDOS(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TFrDOS"_s);
    setMinimumSize(635, 449);

    GroupBox1 = NewGroupBox(this, "GroupBox1", u"Aplikacje"_s, {8, 8, 619, 66});
    Build(this, GroupBox1, kPolicyBoxes);

    GroupBox2 = NewGroupBox(this, "GroupBox2", u"Uruchamianie Windows"_s, {8, 82, 619, 206});
    Build(this, GroupBox2, kStartBoxes);
    Build(this, GroupBox2, kDelays);
    Label4 = NewLabel(GroupBox2, "Label4",
                      u"Liczba sekund przez które wyświetlane będzie menu startowe."_s,
                      {108, 88, 490, 17});
    Label5 = NewLabel(GroupBox2, "Label5",
                      u"Liczba sekund przez które aktywne będą klawisze funkcyjne przy starcie."_s,
                      {108, 144, 490, 17});
    {
        // The form's own starting values are no change of a setting.
        const QSignalBlocker quietMenu(CzasMenu);
        const QSignalBlocker quietKeys(AktywneF);
        CzasMenu->setRange(1, 10000);
        CzasMenu->setValue(1);
        AktywneF->setRange(INT_MIN, INT_MAX);
        AktywneF->setValue(0);
    }
    // Leaving a field with a number out of its range, or with no number, puts in the nearest
    // bound (the minimum for no number), which is a change and is written.
    CzasMenu->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    AktywneF->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

void TFrDOS::LoadState(TRegistry& reg)
{
    LoadRows(reg, kPolicyBoxes, this);
    Unguarded([&] {
        FileSetAttr(PathOf(kMsDos), 0);
        LoadRows(reg, kStartBoxes, this);
        LoadRows(reg, kDelays, this);
        CzasMenu->setEnabled(CheckBox5->isChecked());
        Label4->setEnabled(CheckBox5->isChecked());
    });
}

void TFrDOS::CheckBox5Click()
{
    Write(kBootMenu, CheckBox5->isChecked());
    CzasMenu->setEnabled(CheckBox5->isChecked());
    Label4->setEnabled(CheckBox5->isChecked());
}

void TFrDOS::CheckBox6Click()
{
    const bool disabled = CheckBox6->isChecked();
    Write(kBootKeys, disabled);
    AktywneF->setEnabled(!disabled);
    AktywneF->setValue(disabled ? 0 : 1);
}
