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

RegFlag NetworkPolicy(HKEY root, const QString& name)
{
    return {.root = root, .key = kNetworkPolicies, .name = name};
}

const RegFlag kHideSharePwds = NetworkPolicy(HKEY_LOCAL_MACHINE, u"HideSharePwds"_s);
const RegFlag kDisablePwdCaching = NetworkPolicy(HKEY_LOCAL_MACHINE, u"DisablePwdCaching"_s);
const RegFlag kAlphanumPwds = NetworkPolicy(HKEY_LOCAL_MACHINE, u"AlphanumPwds"_s);
const RegFlag kNoDialIn = NetworkPolicy(HKEY_LOCAL_MACHINE, u"NoDialIn"_s);
const RegFlag kNoPrintSharing = NetworkPolicy(HKEY_LOCAL_MACHINE, u"NoPrintSharing"_s);
const RegFlag kNoNetSetup = NetworkPolicy(HKEY_CURRENT_USER, u"NoNetSetup"_s);
const RegFlag kNoNetSetupIDPage = NetworkPolicy(HKEY_CURRENT_USER, u"NoNetSetupIDPage"_s);
const RegFlag kNoNetSetupSecurityPage =
    NetworkPolicy(HKEY_CURRENT_USER, u"NoNetSetupSecurityPage"_s);
const RegFlag kNoFileSharingControl = NetworkPolicy(HKEY_CURRENT_USER, u"NoFileSharingControl"_s);
const RegFlag kNoPrintSharingControl = NetworkPolicy(HKEY_CURRENT_USER, u"NoPrintSharingControl"_s);
const RegFlag kNoEntireNetwork = NetworkPolicy(HKEY_CURRENT_USER, u"NoEntireNetwork"_s);
const RegFlag kNoWorkgroupContents = NetworkPolicy(HKEY_CURRENT_USER, u"NoWorkgroupContents"_s);
const RegFlag kNoNetHood = ExplorerPolicy(u"NoNetHood"_s);
const RegFlag kEnableAutodial{
    .root = HKEY_CURRENT_USER,
    .key = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"_s,
    .name = u"EnableAutodial"_s};
const RegFlag kDomainLogonMessage{
    .root = HKEY_LOCAL_MACHINE, .key = u"Network\\Logon"_s, .name = u"DomainLogonMessage"_s};
const RegFlag kDisableDefaultPasswords{
    .root = HKEY_LOCAL_MACHINE,
    .key = u"System\\CurrentControlSet\\Services\\NWNP32\\NetworkProvider"_s,
    .name = u"DisableDefaultPasswords"_s};
// The box asks for searching, the value forbids it; its key is never created.
const RegFlag kNoNetCrawling{.root = HKEY_CURRENT_USER,
                             .key = kExplorerAdvanced,
                             .name = u"NoNetCrawling"_s,
                             .checked = 0,
                             .unchecked = 1,
                             .rule = Shown::Zero,
                             .create = false,
                             .missingChecks = true};
const RegText kEnableRemoteConnect{.root = HKEY_LOCAL_MACHINE,
                                   .key = u"SOFTWARE\\Microsoft\\Ole"_s,
                                   .name = u"EnableRemoteConnect"_s,
                                   .checked = u"Y"_s,
                                   .unchecked = u"N"_s,
                                   .rule = TextShown::NotEqual,
                                   .match = u"N"_s};
const RegText kMaxConnectionsRow{.root = HKEY_LOCAL_MACHINE,
                                 .key = kTcpIpKey,
                                 .name = kMaxConnections,
                                 .checked = u"0"_s,
                                 .unchecked = std::nullopt,
                                 .rule = TextShown::Exists};

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

// Each title box (this one and the LFN box below) sits on the top frame of its inner group box,
// beside it rather than in it, so that disabling the group box leaves the title box usable.
const Box kNetSetupBox[] = {
    {&TFrSiec::CheckBox6,
     "CheckBox6",
     {16, 20, 212, 17},
     u"Wyłącz dostęp do właściwości sieci"_s,
     Irregular(kNoNetSetup, &TFrSiec::CheckBox6Click),
     u"Blokuje dostęp do apletu \"Sieć\" w Panelu Sterowania."_s},
};
const Box kGeneralBoxes[] = {
    {&TFrSiec::CheckBox11,
     "CheckBox11",
     {12, 144, 330, 17},
     u"Usuń folder Cała sieć"_s,
     Bound{kNoEntireNetwork, Errors::Quiet},
     u"Jeśli zaznaczone, folder \"Cała sieć\" zniknie z pulpitu Windows"_s},
    {&TFrSiec::CheckBox12,
     "CheckBox12",
     {12, 164, 330, 17},
     u"Usuń składniki grup roboczych w Otoczeniu sieciowym"_s,
     Bound{kNoWorkgroupContents, Errors::Quiet}},
    {&TFrSiec::CheckBox13,
     "CheckBox13",
     {12, 184, 330, 17},
     u"Usuń folder Otoczenie sieciowe"_s,
     Bound{kNoNetHood, Errors::Quiet},
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
     Bound{kNoNetSetupIDPage, Errors::Quiet},
     u"Blokuje dostęp do zakładki \"Identyfikacja\" apletu \"Sieć\" w Panelu Sterowania."_s},
    {&TFrSiec::CheckBox8,
     "CheckBox8",
     {12, 40, 318, 17},
     u"Wyłącz dostęp do zakładki Kontrola dostępu"_s,
     Bound{kNoNetSetupSecurityPage, Errors::Quiet},
     u"Blokuje dostęp do zakładki \"Kontrola dostępu\" apletu \"Sieć\" w Panelu Sterowania."_s},
    {&TFrSiec::CheckBox9,
     "CheckBox9",
     {12, 60, 318, 17},
     u"Wyłącz kontrolę nad współużytkowaniem Plików"_s,
     Bound{kNoFileSharingControl, Errors::Quiet},
     u"Gdy zaznaczone, system Windows nie będzie kontrolował operacji nad współużytkowanymi "
     u"plikami w sieci."_s},
    {&TFrSiec::CheckBox10,
     "CheckBox10",
     {12, 80, 318, 17},
     u"Wyłącz kontrolę nad współużytkowaniem Drukarek"_s,
     Bound{kNoPrintSharingControl, Errors::Quiet},
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
     Bound{kHideSharePwds},
     u"Ta opcja włącza ukrywanie haseł poprzez zastąpienie ich gwiazdkami."_s},
    {&TFrSiec::CheckBox2,
     "CheckBox2",
     {12, 40, 240, 17},
     u"Wyłącz buforowanie haseł"_s,
     Bound{kDisablePwdCaching},
     u"Tu możesz wyłączyć buforowanie haseł."_s},
    {&TFrSiec::CheckBox3,
     "CheckBox3",
     {12, 60, 240, 17},
     u"Tryb alfanumeryczny"_s,
     Bound{kAlphanumPwds},
     u"Wybierz tą opcję by korzystać tylko z haseł alfanumerycznych. Hasła alfanumeryczne "
     u"pozwalają na korzystanie z liter alfabetu i cyfr oraz czasami ze znaków odstępu. Nie "
     u"pozwalają natomiast wpisywać symboli takich jak ampersand."_s},
};

const Box kConnectionBoxes[] = {
    {&TFrSiec::CheckBox4,
     "CheckBox4",
     {12, 20, 240, 17},
     u"Nie odbieraj telefonu"_s,
     Bound{kNoDialIn},
     u"Gdy zaznaczone, uniemożliwia odebranie telefonu (podniesienie słuchawki) w systemie "
     u"Windows."_s},
    {&TFrSiec::CheckBox14,
     "CheckBox14",
     {12, 40, 240, 17},
     u"Automatyczne wybierz numer"_s,
     Bound{kEnableAutodial},
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
};
const Box kRemoteBox[] = {
    {&TFrSiec::CheckBox16,
     "CheckBox16",
     {12, 80, 240, 17},
     u"Nie łącz automatycznie przy starcie"_s,
     Bound{kEnableRemoteConnect},
     u"Jeśli w systemie włączone jest automatyczne łączenie. Może on próbować nawiązać "
     u"połączenie z Internetem zaraz przy starcie systemu."_s},
};

const Box kPrintSharingBox[] = {
    {&TFrSiec::CheckBox5,
     "CheckBox5",
     {12, 20, 240, 17},
     u"Nie udostępniaj drukarek w sieci"_s,
     Bound{kNoPrintSharing},
     u"Jeśli zaznaczone, system będzie blokował udostępnianie drukarek w sieci."_s},
};
const Box kNetCrawlingBox[] = {
    {&TFrSiec::CheckBox21,
     "CheckBox21",
     {12, 40, 240, 17},
     u"Automatycznie wyszukuj foldery i drukarki"_s,
     Bound{kNoNetCrawling},
     u"Jeśli zaznaczone, system będzie wyszukiwał udostępnione w sieci foldery i drukarki co "
     u"może mieć wpływ na szybkość działania sieci."_s},
};

const Box kLogonBoxes[] = {
    {&TFrSiec::CheckBox17,
     "CheckBox17",
     {12, 20, 240, 17},
     u"Pokazuj potwierdzenie"_s,
     Bound{kDomainLogonMessage},
     u"Pokazuje potwierdzenie po uzyskaniu dostępu do konta (po zalogowaniu)."_s},
    {&TFrSiec::CheckBox18,
     "CheckBox18",
     {12, 40, 240, 17},
     u"Wyłącz auto-logowanie w Netware"_s,
     Bound{kDisableDefaultPasswords},
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
    Build(this, GroupBox1, kNetSetupBox);
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
    Build(this, GroupBox3, kRemoteBox);
    GroupBox4 = NewGroupBox(this, "GroupBox4", u"Udostępnianie"_s, {368, 212, 259, 66});
    Build(this, GroupBox4, kPrintSharingBox);
    Build(this, GroupBox4, kNetCrawlingBox);
    GroupBox5 = NewGroupBox(this, "GroupBox5", u"Logowanie"_s, {368, 284, 259, 66});
    Build(this, GroupBox5, kLogonBoxes);
}

void TFrSiec::LoadState(TRegistry& reg)
{
    LoadRows(reg, kPasswordBoxes, this);
    LoadRows(reg, kConnectionBoxes, this);
    LoadTcpIpPreset(reg);
    LoadRows(reg, kRemoteBox, this);
    LoadRows(reg, kLogonBoxes, this);
    LoadMaxConnections(reg);
    LoadSupportLFN(reg);
    LoadRows(reg, kNetCrawlingBox, this);
    LoadRows(reg, kPrintSharingBox, this);
    LoadRows(reg, kNetSetupBox, this);
    LoadRows(reg, kSetupBoxes, this);
    LoadRows(reg, kGeneralBoxes, this);
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

void TFrSiec::CheckBox6Click()
{
    const bool on = CheckBox6->isChecked();
    Write(kNoNetSetup, on);
    for (QCheckBox* page : {CheckBox7, CheckBox8, CheckBox9, CheckBox10})
        page->setEnabled(!on);
}

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
