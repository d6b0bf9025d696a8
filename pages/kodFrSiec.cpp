#include "kodFrSiec.h"

#include "Bindings.h"
#include "Controls.h"
#include "Guarded.h"
#include "Keys.h"
#include "TRegistry.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <climits>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTcpIpKey = u"System\\CurrentControlSet\\Services\\VxD\\MSTCP"_s;
const QString kNwRedirKey = u"System\\CurrentControlSet\\Services\\VxD\\NWREDIR"_s;
const QString kMaxConnections = u"MaxConnections"_s;
const QString kSupportLFN = u"SupportLFN"_s;

const RegFlag kHideSharePwds{HKEY_LOCAL_MACHINE, kNetworkPolicies, u"HideSharePwds"_s};
const RegFlag kDisablePwdCaching{HKEY_LOCAL_MACHINE, kNetworkPolicies, u"DisablePwdCaching"_s};
const RegFlag kAlphanumPwds{HKEY_LOCAL_MACHINE, kNetworkPolicies, u"AlphanumPwds"_s};
const RegFlag kNoDialIn{HKEY_LOCAL_MACHINE, kNetworkPolicies, u"NoDialIn"_s};
const RegFlag kNoPrintSharing{HKEY_LOCAL_MACHINE, kNetworkPolicies, u"NoPrintSharing"_s};
const RegFlag kNoNetSetup{HKEY_CURRENT_USER, kNetworkPolicies, u"NoNetSetup"_s};
const RegFlag kNoNetSetupIDPage{HKEY_CURRENT_USER, kNetworkPolicies, u"NoNetSetupIDPage"_s};
const RegFlag kNoNetSetupSecurityPage{HKEY_CURRENT_USER, kNetworkPolicies,
                                      u"NoNetSetupSecurityPage"_s};
const RegFlag kNoFileSharingControl{HKEY_CURRENT_USER, kNetworkPolicies, u"NoFileSharingControl"_s};
const RegFlag kNoPrintSharingControl{HKEY_CURRENT_USER, kNetworkPolicies,
                                     u"NoPrintSharingControl"_s};
const RegFlag kNoEntireNetwork{HKEY_CURRENT_USER, kNetworkPolicies, u"NoEntireNetwork"_s};
const RegFlag kNoWorkgroupContents{HKEY_CURRENT_USER, kNetworkPolicies, u"NoWorkgroupContents"_s};
const RegFlag kNoNetHood{HKEY_CURRENT_USER, kExplorerPolicies, u"NoNetHood"_s};
const RegFlag kEnableAutodial{HKEY_CURRENT_USER,
                              u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"_s,
                              u"EnableAutodial"_s};
const RegFlag kDomainLogonMessage{HKEY_LOCAL_MACHINE, u"Network\\Logon"_s, u"DomainLogonMessage"_s};
const RegFlag kDisableDefaultPasswords{
    HKEY_LOCAL_MACHINE, u"System\\CurrentControlSet\\Services\\NWNP32\\NetworkProvider"_s,
    u"DisableDefaultPasswords"_s};
// The box asks for searching, the value forbids it; its key is never created.
const RegFlag kNoNetCrawling{
    HKEY_CURRENT_USER, kExplorerAdvanced, u"NoNetCrawling"_s, 0, 1, Shown::Zero, 0, false, true};
const RegText kEnableRemoteConnect{HKEY_LOCAL_MACHINE,
                                   u"SOFTWARE\\Microsoft\\Ole"_s,
                                   u"EnableRemoteConnect"_s,
                                   u"Y"_s,
                                   u"N"_s,
                                   TextShown::NotEqual,
                                   u"N"_s};
const RegText kMaxConnectionsRow{
    HKEY_LOCAL_MACHINE, kTcpIpKey, kMaxConnections, u"0"_s, std::nullopt, TextShown::Exists, {}};

// The preset, in the order it is written and deleted: five texts, then one REG_DWORD.
const QString kTcpIpTexts[][2] = {
    {u"DefaultTTL"_s, u"128"_s},
    {u"DefaultRcvWindow"_s, u"32767"_s},
    {u"PMTUBlackHoleDetect"_s, u"0"_s},
    {u"PMTUDiscovery"_s, u"1"_s},
    {u"SackOpts"_s, u"1"_s},
};
const QString kTcp1323Opts = u"Tcp1323Opts"_s;

void WriteSupportLFN(int value)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kNwRedirKey, true);
    reg.WriteInteger(kSupportLFN, value);
}

using Box = ControlRow<TFrSiec, QCheckBox>;
using Radio = ControlRow<TFrSiec, QRadioButton>;
using Spin = ControlRow<TFrSiec, QSpinBox>;

// Each title box sits on the top frame of its inner group box, beside it rather than in it, so
// that disabling the group box leaves the title box usable.
const Box kGeneralBoxes[] = {
    {&TFrSiec::CheckBox6,
     "CheckBox6",
     {16, 20, 212, 17},
     u"Wyłącz dostęp do właściwości sieci"_s,
     &TFrSiec::CheckBox6Click,
     u"Blokuje dostęp do apletu \"Sieć\" w Panelu Sterowania."_s},
    {&TFrSiec::CheckBox11,
     "CheckBox11",
     {12, 144, 330, 17},
     u"Usuń folder Cała sieć"_s,
     &TFrSiec::CheckBox11Click,
     u"Jeśli zaznaczone, folder \"Cała sieć\" zniknie z pulpitu Windows"_s},
    {&TFrSiec::CheckBox12,
     "CheckBox12",
     {12, 164, 330, 17},
     u"Usuń składniki grup roboczych w Otoczeniu sieciowym"_s,
     &TFrSiec::CheckBox12Click},
    {&TFrSiec::CheckBox13,
     "CheckBox13",
     {12, 184, 330, 17},
     u"Usuń folder Otoczenie sieciowe"_s,
     &TFrSiec::CheckBox13Click,
     u"Jeśli zaznaczone, folder \"Otoczenie sieciowe zniknie z pulpitu Windows."_s},
    {&TFrSiec::CheckBox19,
     "CheckBox19",
     {12, 212, 252, 17},
     u"Ogranicz liczbę akceptowanych połączeń do:"_s,
     &TFrSiec::CheckBox19Click,
     u"Nie pozwala przyłączyć się większej liczbie użytkowników niż podana w polu obok."_s},
    {&TFrSiec::CheckBox20,
     "CheckBox20",
     {16, 244, 318, 17},
     u"Obsługa długich nazw plików (LFN) na serwerach Netware"_s,
     &TFrSiec::CheckBox20Click,
     u"Włącza lub wyłącza obsługę długich nazw plików (LFN [Long File Names]) na serwerach typu "
     u"Netware."_s},
};

const Spin kConnections[] = {
    {&TFrSiec::SpinEdit1,
     "SpinEdit1",
     {268, 209, 74, 22},
     {},
     &TFrSiec::SpinEdit1Change,
     u"Wprowadź maksymalną liczbę użytkowników, którzy mogą połączyć się z Twoim komputerem."_s},
};

const Box kSetupBoxes[] = {
    {&TFrSiec::CheckBox7,
     "CheckBox7",
     {12, 20, 318, 17},
     u"Wyłącz dostęp do zakładki Identyfikacja"_s,
     &TFrSiec::CheckBox7Click,
     u"Blokuje dostęp do zakładki \"Identyfikacja\" apletu \"Sieć\" w Panelu Sterowania."_s},
    {&TFrSiec::CheckBox8,
     "CheckBox8",
     {12, 40, 318, 17},
     u"Wyłącz dostęp do zakładki Kontrola dostępu"_s,
     &TFrSiec::CheckBox8Click,
     u"Blokuje dostęp do zakładki \"Kontrola dostępu\" apletu \"Sieć\" w Panelu Sterowania."_s},
    {&TFrSiec::CheckBox9,
     "CheckBox9",
     {12, 60, 318, 17},
     u"Wyłącz kontrolę nad współużytkowaniem Plików"_s,
     &TFrSiec::CheckBox9Click,
     u"Gdy zaznaczone, system Windows nie będzie kontrolował operacji nad współużytkowanymi "
     u"plikami w sieci."_s},
    {&TFrSiec::CheckBox10,
     "CheckBox10",
     {12, 80, 318, 17},
     u"Wyłącz kontrolę nad współużytkowaniem Drukarek"_s,
     &TFrSiec::CheckBox10Click,
     u"Gdy zaznaczone, system nie będzie kontrolował współużytkowanych (udostępnionych) "
     u"drukarek."_s},
};

const Radio kLfnRadios[] = {
    {&TFrSiec::RadioButton1,
     "RadioButton1",
     {12, 20, 318, 17},
     u"Włączone dla Netware w w wersji 3.12 lub nowszych"_s,
     &TFrSiec::RadioButton1Click,
     u"Określa dla jakich serwerów zastosować tą opcję."_s},
    {&TFrSiec::RadioButton2,
     "RadioButton2",
     {12, 40, 318, 17},
     u"Włączone dla wszystkich serwerów Netware z obsługą LFN"_s,
     &TFrSiec::RadioButton2Click,
     u"Określa dla jakich serwerów zastosować tą opcję."_s},
};

const Box kPasswordBoxes[] = {
    {&TFrSiec::CheckBox1,
     "CheckBox1",
     {12, 20, 240, 17},
     u"Włącz ukrywanie haseł"_s,
     &TFrSiec::CheckBox1Click,
     u"Ta opcja włącza ukrywanie haseł poprzez zastąpienie ich gwiazdkami."_s},
    {&TFrSiec::CheckBox2,
     "CheckBox2",
     {12, 40, 240, 17},
     u"Wyłącz buforowanie haseł"_s,
     &TFrSiec::CheckBox2Click,
     u"Tu możesz wyłączyć buforowanie haseł."_s},
    {&TFrSiec::CheckBox3,
     "CheckBox3",
     {12, 60, 240, 17},
     u"Tryb alfanumeryczny"_s,
     &TFrSiec::CheckBox3Click,
     u"Wybierz tą opcję by korzystać tylko z haseł alfanumerycznych. Hasła alfanumeryczne "
     u"pozwalają na korzystanie z liter alfabetu i cyfr oraz czasami ze znaków odstępu. Nie "
     u"pozwalają natomiast wpisywać symboli takich jak ampersand."_s},
};

const Box kConnectionBoxes[] = {
    {&TFrSiec::CheckBox4,
     "CheckBox4",
     {12, 20, 240, 17},
     u"Nie odbieraj telefonu"_s,
     &TFrSiec::CheckBox4Click,
     u"Gdy zaznaczone, uniemożliwia odebranie telefonu (podniesienie słuchawki) w systemie "
     u"Windows."_s},
    {&TFrSiec::CheckBox14,
     "CheckBox14",
     {12, 40, 240, 17},
     u"Automatyczne wybierz numer"_s,
     &TFrSiec::CheckBox14Click,
     u"Jeśli zaznaczone, system będzie próbował automatycznie nawiązać kontakt z Twoim "
     u"usługodawcą internetowym."_s},
    {&TFrSiec::CheckBox15,
     "CheckBox15",
     {12, 60, 240, 17},
     u"Optymalizuj połączenie Modemowe lub DSL"_s,
     &TFrSiec::CheckBox15Click,
     u"Zmienia wartości takie jak DefaultTTL, DefaultRcvWindow, PMTUBlackHoleDetect, "
     u"PMTUDiscovery, SackOps, TCP1323Opts optymalizując tym samym połączenie poprzez modemem "
     u"lub DSL."_s},
    {&TFrSiec::CheckBox16,
     "CheckBox16",
     {12, 80, 240, 17},
     u"Nie łącz automatycznie przy starcie"_s,
     &TFrSiec::CheckBox16Click,
     u"Jeśli w systemie włączone jest automatyczne łączenie. Może on próbować nawiązać "
     u"połączenie z Internetem zaraz przy starcie systemu."_s},
};

const Box kSharingBoxes[] = {
    {&TFrSiec::CheckBox5,
     "CheckBox5",
     {12, 20, 240, 17},
     u"Nie udostępniaj drukarek w sieci"_s,
     &TFrSiec::CheckBox5Click,
     u"Jeśli zaznaczone, system będzie blokował udostępnianie drukarek w sieci."_s},
    {&TFrSiec::CheckBox21,
     "CheckBox21",
     {12, 40, 240, 17},
     u"Automatycznie wyszukuj foldery i drukarki"_s,
     &TFrSiec::CheckBox21Click,
     u"Jeśli zaznaczone, system będzie wyszukiwał udostępnione w sieci foldery i drukarki co "
     u"może mieć wpływ na szybkość działania sieci."_s},
};

const Box kLogonBoxes[] = {
    {&TFrSiec::CheckBox17,
     "CheckBox17",
     {12, 20, 240, 17},
     u"Pokazuj potwierdzenie"_s,
     &TFrSiec::CheckBox17Click,
     u"Pokazuje potwierdzenie po uzyskaniu dostępu do konta (po zalogowaniu)."_s},
    {&TFrSiec::CheckBox18,
     "CheckBox18",
     {12, 40, 240, 17},
     u"Wyłącz auto-logowanie w Netware"_s,
     &TFrSiec::CheckBox18Click,
     u"Wyłącz automatyczne logowanie w sieciach typu Netware."_s},
};

} // namespace

TFrSiec::TFrSiec(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"TFrSiec"_s);
    setMinimumSize(635, 449);

    GroupBox1 = NewGroupBox(this, "GroupBox1", u"Ogólne"_s, {8, 8, 354, 320});
    GroupBox1a = NewGroupBox(GroupBox1, "GroupBox1a", {}, {8, 28, 338, 106});
    Build(this, GroupBox1a, kSetupBoxes);
    GroupBox1b = NewGroupBox(GroupBox1, "GroupBox1b", {}, {8, 252, 338, 62});
    Build(this, GroupBox1b, kLfnRadios);
    Build(this, GroupBox1, kGeneralBoxes);
    Build(this, GroupBox1, kConnections);
    for (QCheckBox* title : {CheckBox6, CheckBox20}) {
        title->setAutoFillBackground(true);
        title->raise();
    }
    // The form gives the field no limits: any whole number is taken.
    SpinEdit1->setRange(INT_MIN, INT_MAX);
    SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    SpinEdit1->setEnabled(false);

    GroupBox2 = NewGroupBox(this, "GroupBox2", u"Hasła"_s, {368, 8, 259, 86});
    Build(this, GroupBox2, kPasswordBoxes);
    GroupBox3 = NewGroupBox(this, "GroupBox3", u"Połączenie"_s, {368, 100, 259, 106});
    Build(this, GroupBox3, kConnectionBoxes);
    GroupBox4 = NewGroupBox(this, "GroupBox4", u"Udostępnianie"_s, {368, 212, 259, 66});
    Build(this, GroupBox4, kSharingBoxes);
    GroupBox5 = NewGroupBox(this, "GroupBox5", u"Logowanie"_s, {368, 284, 259, 66});
    Build(this, GroupBox5, kLogonBoxes);
}

void TFrSiec::LoadState(TRegistry& reg)
{
    Load(reg, kHideSharePwds, CheckBox1);
    Load(reg, kDisablePwdCaching, CheckBox2);
    Load(reg, kAlphanumPwds, CheckBox3);
    Load(reg, kNoDialIn, CheckBox4);
    Load(reg, kEnableAutodial, CheckBox14);
    LoadTcpIpPreset(reg);
    Load(reg, kEnableRemoteConnect, CheckBox16);
    Load(reg, kDomainLogonMessage, CheckBox17);
    Load(reg, kDisableDefaultPasswords, CheckBox18);
    LoadMaxConnections(reg);
    LoadSupportLFN(reg);
    Load(reg, kNoNetCrawling, CheckBox21);
    Load(reg, kNoPrintSharing, CheckBox5);
    Load(reg, kNoNetSetup, CheckBox6);
    Load(reg, kNoNetSetupIDPage, CheckBox7);
    Load(reg, kNoNetSetupSecurityPage, CheckBox8);
    Load(reg, kNoFileSharingControl, CheckBox9);
    Load(reg, kNoPrintSharingControl, CheckBox10);
    Load(reg, kNoEntireNetwork, CheckBox11);
    Load(reg, kNoWorkgroupContents, CheckBox12);
    Load(reg, kNoNetHood, CheckBox13);
}

void TFrSiec::LoadTcpIpPreset(TRegistry& reg)
{
    Guarded([&] {
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.CloseKey();
        reg.OpenKey(kTcpIpKey, false);
        bool all = reg.ValueExists(kTcp1323Opts);
        for (const auto& [name, text] : kTcpIpTexts)
            all = all && reg.ValueExists(name);
        // Showing the preset must not rewrite it: values the user tuned by hand stay as they are.
        const QSignalBlocker quiet(CheckBox15);
        CheckBox15->setChecked(all);
    });
    reg.CloseKey();
}

void TFrSiec::LoadMaxConnections(TRegistry& reg)
{
    Guarded([&] {
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.CloseKey();
        reg.OpenKey(kTcpIpKey, false);
        if (reg.ValueExists(kMaxConnections)) {
            const QString text = reg.ReadString(kMaxConnections);
            bool number = false;
            const int limit = text.toInt(&number);
            if (!number) return;
            // Showing the limit must not rewrite it: checking the box would store "0".
            const QSignalBlocker quietBox(CheckBox19);
            const QSignalBlocker quietField(SpinEdit1);
            SpinEdit1->setValue(limit);
            CheckBox19->setChecked(true);
        }
        SpinEdit1->setEnabled(CheckBox19->isChecked());
    });
    reg.CloseKey();
}

void TFrSiec::LoadSupportLFN(TRegistry& reg)
{
    Guarded([&] {
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.CloseKey();
        reg.OpenKey(kNwRedirKey, false);
        switch (reg.ReadInteger(kSupportLFN)) {
        case 0:
            Fill([&] { CheckBox20->setChecked(false); });
            RadioButton1->setEnabled(false);
            RadioButton2->setEnabled(false);
            break;
        case 1:
            // Checking the box stores 2 and selects the second button; the first then stores 1.
            Fill([&] { CheckBox20->setChecked(true); });
            Fill([&] { RadioButton1->setChecked(true); });
            break;
        case 2:
            Fill([&] { CheckBox20->setChecked(true); });
            Fill([&] { RadioButton2->setChecked(true); });
            break;
        default:
            break;
        }
    });
    reg.CloseKey();
}

void TFrSiec::CheckBox1Click() { Write(kHideSharePwds, CheckBox1->isChecked()); }
void TFrSiec::CheckBox2Click() { Write(kDisablePwdCaching, CheckBox2->isChecked()); }
void TFrSiec::CheckBox3Click() { Write(kAlphanumPwds, CheckBox3->isChecked()); }
void TFrSiec::CheckBox4Click() { Write(kNoDialIn, CheckBox4->isChecked()); }
void TFrSiec::CheckBox5Click() { Write(kNoPrintSharing, CheckBox5->isChecked()); }

void TFrSiec::CheckBox6Click()
{
    const bool on = CheckBox6->isChecked();
    Write(kNoNetSetup, on);
    for (QCheckBox* page : {CheckBox7, CheckBox8, CheckBox9, CheckBox10})
        page->setEnabled(!on);
}

void TFrSiec::CheckBox7Click() { WriteQuietly(kNoNetSetupIDPage, CheckBox7->isChecked()); }
void TFrSiec::CheckBox8Click() { WriteQuietly(kNoNetSetupSecurityPage, CheckBox8->isChecked()); }
void TFrSiec::CheckBox9Click() { WriteQuietly(kNoFileSharingControl, CheckBox9->isChecked()); }
void TFrSiec::CheckBox10Click() { WriteQuietly(kNoPrintSharingControl, CheckBox10->isChecked()); }
void TFrSiec::CheckBox11Click() { WriteQuietly(kNoEntireNetwork, CheckBox11->isChecked()); }
void TFrSiec::CheckBox12Click() { WriteQuietly(kNoWorkgroupContents, CheckBox12->isChecked()); }
void TFrSiec::CheckBox13Click() { WriteQuietly(kNoNetHood, CheckBox13->isChecked()); }
void TFrSiec::CheckBox14Click() { Write(kEnableAutodial, CheckBox14->isChecked()); }

void TFrSiec::CheckBox15Click()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kTcpIpKey, true);
    if (CheckBox15->isChecked()) {
        for (const auto& [name, text] : kTcpIpTexts)
            reg.WriteString(name, text);
        reg.WriteInteger(kTcp1323Opts, 1);
    } else {
        for (const auto& [name, text] : kTcpIpTexts)
            reg.DeleteValue(name);
        reg.DeleteValue(kTcp1323Opts);
    }
}

void TFrSiec::CheckBox16Click() { Write(kEnableRemoteConnect, CheckBox16->isChecked()); }
void TFrSiec::CheckBox17Click() { Write(kDomainLogonMessage, CheckBox17->isChecked()); }
void TFrSiec::CheckBox18Click() { Write(kDisableDefaultPasswords, CheckBox18->isChecked()); }

void TFrSiec::CheckBox19Click()
{
    Write(kMaxConnectionsRow, CheckBox19->isChecked());
    SpinEdit1->setEnabled(CheckBox19->isChecked());
}

void TFrSiec::SpinEdit1Change()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kTcpIpKey, false);
    if (reg.ValueExists(kMaxConnections))
        reg.WriteString(kMaxConnections, QString::number(SpinEdit1->value()));
}

void TFrSiec::CheckBox20Click()
{
    const bool on = CheckBox20->isChecked();
    GroupBox1b->setEnabled(on);
    RadioButton1->setEnabled(on);
    RadioButton2->setEnabled(on);
    WriteSupportLFN(on ? 2 : 0);
    if (on) RadioButton2->setChecked(true);
}

void TFrSiec::RadioButton1Click()
{
    if (RadioButton1->isChecked()) WriteSupportLFN(1);
}

void TFrSiec::RadioButton2Click()
{
    if (RadioButton2->isChecked()) WriteSupportLFN(2);
}

void TFrSiec::CheckBox21Click() { Write(kNoNetCrawling, CheckBox21->isChecked()); }
