// The "Sieć" page: what start-up shows and writes back, the policies, the TCP/IP preset, the
// NetWare options and the connection limit.
#include "MainFormFixture.h"
#include "kodFrSiec.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNetwork = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network"_s;
const QString kExplorer = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"_s;
const QString kAdvanced = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"_s;
const QString kInternet = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"_s;
const QString kLogon = u"Network\\Logon"_s;
const QString kNwnp = u"System\\CurrentControlSet\\Services\\NWNP32\\NetworkProvider"_s;
const QString kTcpIp = u"System\\CurrentControlSet\\Services\\VxD\\MSTCP"_s;
const QString kNwRedir = u"System\\CurrentControlSet\\Services\\VxD\\NWREDIR"_s;
const QString kOle = u"SOFTWARE\\Microsoft\\Ole"_s;

const QString kPresetTexts[][2] = {{u"DefaultTTL"_s, u"128"_s},
                                   {u"DefaultRcvWindow"_s, u"32767"_s},
                                   {u"PMTUBlackHoleDetect"_s, u"0"_s},
                                   {u"PMTUDiscovery"_s, u"1"_s},
                                   {u"SackOpts"_s, u"1"_s}};

class SiecTest : public MainFormTest
{
protected:
    TFrSiec& Page() { return *Form().FrSiec; }
    QWidget& Scope() override { return Page(); }

    std::optional<int> Lfn() { return Dword(HKEY_LOCAL_MACHINE, kNwRedir, u"SupportLFN"_s); }
    std::optional<QString> Limit() { return Text(HKEY_LOCAL_MACHINE, kTcpIp, u"MaxConnections"_s); }

    void ExpectPreset(bool present)
    {
        for (const auto& [name, text] : kPresetTexts)
            EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kTcpIp, name),
                      present ? std::optional(text) : std::nullopt)
                << name.toStdString();
        EXPECT_EQ(Dword(HKEY_LOCAL_MACHINE, kTcpIp, u"Tcp1323Opts"_s),
                  present ? std::optional(1) : std::nullopt);
    }
};

} // namespace

TEST_F(SiecTest, EachSwitchWritesItsValueAndTheNextStartShowsIt)
{
    // Boxes that a missing value shows checked start from their unchecked values.
    machine.SetText(HKEY_LOCAL_MACHINE, kOle, u"EnableRemoteConnect"_s, u"N"_s);
    machine.SetDword(HKEY_CURRENT_USER, kAdvanced, u"NoNetCrawling"_s, 1);
    const auto row = [](const char* control, HKEY root, const QString& key, const char16_t* name) {
        return BoundBox{control, root, key, QString::fromUtf16(name), DwordValue(1), DwordValue(0)};
    };
    ExpectBoundBoxes({
        row("CheckBox1", HKEY_LOCAL_MACHINE, kNetwork, u"HideSharePwds"),
        row("CheckBox2", HKEY_LOCAL_MACHINE, kNetwork, u"DisablePwdCaching"),
        row("CheckBox3", HKEY_LOCAL_MACHINE, kNetwork, u"AlphanumPwds"),
        row("CheckBox4", HKEY_LOCAL_MACHINE, kNetwork, u"NoDialIn"),
        row("CheckBox5", HKEY_LOCAL_MACHINE, kNetwork, u"NoPrintSharing"),
        row("CheckBox7", HKEY_CURRENT_USER, kNetwork, u"NoNetSetupIDPage"),
        row("CheckBox8", HKEY_CURRENT_USER, kNetwork, u"NoNetSetupSecurityPage"),
        row("CheckBox9", HKEY_CURRENT_USER, kNetwork, u"NoFileSharingControl"),
        row("CheckBox10", HKEY_CURRENT_USER, kNetwork, u"NoPrintSharingControl"),
        row("CheckBox11", HKEY_CURRENT_USER, kNetwork, u"NoEntireNetwork"),
        row("CheckBox12", HKEY_CURRENT_USER, kNetwork, u"NoWorkgroupContents"),
        row("CheckBox13", HKEY_CURRENT_USER, kExplorer, u"NoNetHood"),
        row("CheckBox14", HKEY_CURRENT_USER, kInternet, u"EnableAutodial"),
        row("CheckBox17", HKEY_LOCAL_MACHINE, kLogon, u"DomainLogonMessage"),
        row("CheckBox18", HKEY_LOCAL_MACHINE, kNwnp, u"DisableDefaultPasswords"),
        {"CheckBox16",
         HKEY_LOCAL_MACHINE,
         kOle,
         u"EnableRemoteConnect"_s,
         TextValue(u"Y"_s),
         TextValue(u"N"_s),
         {{TextValue(u"N"_s), false},
          {TextValue(u"y"_s), true},
          {TextValue(u"n"_s), true},
          {TextValue(u"Y"_s), true},
          {DwordValue(1), false}}},
        // Inverted: checked writes 0; a missing value shows checked.
        {"CheckBox21",
         HKEY_CURRENT_USER,
         kAdvanced,
         u"NoNetCrawling"_s,
         DwordValue(0),
         DwordValue(1),
         {{std::nullopt, true}, {DwordValue(3), false}}},
    });
}

TEST_F(SiecTest, AnEmptyMachineGetsOnlyTheRemoteConnectSwitch)
{
    Start();
    EXPECT_TRUE(Page().CheckBox16->isChecked());
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kOle, u"EnableRemoteConnect"_s), u"Y"_s);
    // Shown checked, but its key is never created, so nothing is written.
    EXPECT_TRUE(Page().CheckBox21->isChecked());
    for (const auto& [root, key] : {std::pair{HKEY_LOCAL_MACHINE, kNetwork},
                                    {HKEY_CURRENT_USER, kNetwork},
                                    {HKEY_CURRENT_USER, kAdvanced},
                                    {HKEY_CURRENT_USER, kInternet},
                                    {HKEY_LOCAL_MACHINE, kTcpIp},
                                    {HKEY_LOCAL_MACHINE, kNwRedir},
                                    {HKEY_LOCAL_MACHINE, kLogon},
                                    {HKEY_LOCAL_MACHINE, kNwnp}})
        EXPECT_FALSE(KeyExists(root, key)) << key.toStdString();
    EXPECT_FALSE(Page().SpinEdit1->isEnabled());
    EXPECT_EQ(Page().SpinEdit1->value(), 0);
    EXPECT_TRUE(Page().RadioButton1->isEnabled());
    EXPECT_FALSE(Page().RadioButton1->isChecked() || Page().RadioButton2->isChecked());
}

TEST_F(SiecTest, ThePresetIsWrittenAndDeletedAsAGroup)
{
    // Five of six: not the preset. Nothing is written at start.
    for (const auto& [name, text] : kPresetTexts)
        machine.SetText(HKEY_LOCAL_MACHINE, kTcpIp, name, text);
    Start();
    EXPECT_FALSE(Page().CheckBox15->isChecked());
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kTcpIp, u"Tcp1323Opts"_s));
    Page().CheckBox15->click();
    ExpectPreset(true);
    Page().CheckBox15->click();
    ExpectPreset(false);
    Page().CheckBox15->click(); // deleting what is gone is no error
    Page().CheckBox15->click();
    ExpectPreset(false);
}

TEST_F(SiecTest, APresetTunedByHandIsShownAndKeptUntilTheUserResetsIt)
{
    for (const auto& [name, text] : kPresetTexts)
        machine.SetText(HKEY_LOCAL_MACHINE, kTcpIp, name, text);
    machine.SetText(HKEY_LOCAL_MACHINE, kTcpIp, u"DefaultRcvWindow"_s, u"65535"_s);
    machine.SetBinary(HKEY_LOCAL_MACHINE, kTcpIp, u"Tcp1323Opts"_s, QByteArray("\3", 1));
    Start();
    EXPECT_TRUE(Page().CheckBox15->isChecked());
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kTcpIp, u"DefaultRcvWindow"_s), u"65535"_s);
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kTcpIp, u"Tcp1323Opts"_s)->type, REG_BINARY);
    Page().CheckBox15->click();
    Page().CheckBox15->click();
    ExpectPreset(true);
}

TEST_F(SiecTest, RemoteConnectStoredAsADwordIsReplacedByText)
{
    machine.SetDword(HKEY_LOCAL_MACHINE, kOle, u"EnableRemoteConnect"_s, 1);
    Start();
    EXPECT_FALSE(Page().CheckBox16->isChecked());
    Page().CheckBox16->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kOle, u"EnableRemoteConnect"_s), u"Y"_s);
    Page().CheckBox16->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kOle, u"EnableRemoteConnect"_s), u"N"_s);
}

TEST_F(SiecTest, TheNetWareBoxAndItsButtonsEndWithTheStoredChoice)
{
    machine.SetDword(HKEY_LOCAL_MACHINE, kNwRedir, u"SupportLFN"_s, 1);
    Start();
    EXPECT_TRUE(Page().CheckBox20->isChecked());
    EXPECT_TRUE(Page().RadioButton1->isChecked());
    EXPECT_TRUE(Page().RadioButton1->isEnabled());
    EXPECT_EQ(Lfn(), 1);
    // Checking the box with the first button selected stores 2 and selects the second.
    Page().CheckBox20->click();
    EXPECT_EQ(Lfn(), 0);
    EXPECT_FALSE(Page().RadioButton1->isEnabled());
    EXPECT_FALSE(Page().GroupBox1b->isEnabled());
    EXPECT_TRUE(Page().RadioButton1->isChecked()) << "unchecking keeps the selection";
    Page().CheckBox20->click();
    EXPECT_EQ(Lfn(), 2);
    EXPECT_TRUE(Page().RadioButton2->isChecked());
    Page().RadioButton1->click();
    EXPECT_EQ(Lfn(), 1);
    Stop();

    for (const std::uint32_t stored : {2u, 7u}) {
        machine.SetDword(HKEY_LOCAL_MACHINE, kNwRedir, u"SupportLFN"_s, stored);
        Start();
        EXPECT_EQ(Page().CheckBox20->isChecked(), stored == 2);
        EXPECT_EQ(Page().RadioButton2->isChecked(), stored == 2);
        EXPECT_EQ(Lfn(), int(stored));
        Stop();
    }
}

TEST_F(SiecTest, NetWareOffDisablesTheButtonsButNotTheirGroup)
{
    machine.SetDword(HKEY_LOCAL_MACHINE, kNwRedir, u"SupportLFN"_s, 0);
    Start();
    EXPECT_FALSE(Page().CheckBox20->isChecked());
    EXPECT_FALSE(Page().RadioButton1->isEnabled());
    EXPECT_FALSE(Page().RadioButton2->isEnabled());
    EXPECT_TRUE(Page().GroupBox1b->isEnabled());
    Stop();

    // The box enables its buttons before it writes, so a refused write leaves them usable.
    refusedWrites = {u"SupportLFN"_s};
    Start();
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox20->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'SupportLFN'"_s);
    EXPECT_TRUE(Page().RadioButton1->isEnabled());
    EXPECT_FALSE(Page().RadioButton2->isChecked());
    Stop();
    refusedWrites.clear();

    // Missing: the buttons stay usable and write their number with the box unchecked.
    machine.SetBinary(HKEY_LOCAL_MACHINE, kNwRedir, u"SupportLFN"_s, QByteArray("\1\0\0\0", 4));
    Start();
    EXPECT_TRUE(Page().RadioButton1->isEnabled());
    Page().RadioButton1->click();
    EXPECT_FALSE(Page().CheckBox20->isChecked());
    EXPECT_EQ(Lfn(), 1);
}

TEST_F(SiecTest, TheConnectionLimitIsShownAsStoredAndWrittenOnlyWhileItExists)
{
    machine.SetText(HKEY_LOCAL_MACHINE, kTcpIp, u"MaxConnections"_s, u"5"_s);
    Start();
    EXPECT_TRUE(Page().CheckBox19->isChecked());
    EXPECT_TRUE(Page().SpinEdit1->isEnabled());
    EXPECT_EQ(Page().SpinEdit1->value(), 5);
    EXPECT_EQ(Limit(), u"5"_s);
    Page().SpinEdit1->setValue(12);
    EXPECT_EQ(Limit(), u"12"_s);
    Page().CheckBox19->click();
    EXPECT_FALSE(Limit());
    EXPECT_FALSE(Page().SpinEdit1->isEnabled());
    EXPECT_EQ(Page().SpinEdit1->value(), 12);
    Page().SpinEdit1->setValue(13); // nothing to write while the value is gone
    EXPECT_FALSE(Limit());
    Page().CheckBox19->click();
    EXPECT_EQ(Limit(), u"0"_s) << "checking writes 0 whatever the field shows";
    Page().SpinEdit1->setValue(-2);
    EXPECT_EQ(Limit(), u"-2"_s);
    Stop();

    for (const QString& text : {u"pięć"_s, u""_s}) {
        machine.SetText(HKEY_LOCAL_MACHINE, kTcpIp, u"MaxConnections"_s, text);
        Start();
        EXPECT_FALSE(Page().CheckBox19->isChecked());
        EXPECT_FALSE(Page().SpinEdit1->isEnabled());
        EXPECT_EQ(Limit(), text);
        Stop();
    }
}

TEST_F(SiecTest, CrawlingIsInvertedAndItsKeyIsNeverCreated)
{
    machine.SetDword(HKEY_CURRENT_USER, kAdvanced, u"Hidden"_s, 1);
    Start();
    EXPECT_TRUE(Page().CheckBox21->isChecked());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, u"NoNetCrawling"_s), 0);
    Page().CheckBox21->click();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kAdvanced, u"NoNetCrawling"_s), 1);
    Restart();
    EXPECT_FALSE(Page().CheckBox21->isChecked());
    Stop();

    machine.SetBinary(HKEY_CURRENT_USER, kAdvanced, u"NoNetCrawling"_s, QByteArray("\0\0\0\0", 4));
    Start();
    EXPECT_FALSE(Page().CheckBox21->isChecked()) << "a value of another type changes nothing";
}

TEST_F(SiecTest, CrawlingWithoutItsKeyFailsOnlyWhenTheUserClicks)
{
    Start(); // the write-back at start fails silently
    ASSERT_TRUE(Page().CheckBox21->isChecked());
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox21->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'NoNetCrawling'"_s);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAdvanced));
}

TEST_F(SiecTest, TheNetworkAppletBoxDisablesItsPagesWhichKeepTheirState)
{
    machine.SetDword(HKEY_CURRENT_USER, kNetwork, u"NoNetSetup"_s, 1);
    machine.SetDword(HKEY_CURRENT_USER, kNetwork, u"NoNetSetupIDPage"_s, 1);
    Start();
    const QCheckBox* pages[] = {Page().CheckBox7, Page().CheckBox8, Page().CheckBox9,
                                Page().CheckBox10};
    for (const QCheckBox* box : pages)
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_TRUE(Page().CheckBox7->isChecked());
    EXPECT_TRUE(Page().CheckBox11->isEnabled());
    Page().CheckBox6->click();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kNetwork, u"NoNetSetup"_s), 0);
    for (const QCheckBox* box : pages)
        EXPECT_TRUE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kNetwork, u"NoNetSetupIDPage"_s), 1);
}

TEST_F(SiecTest, OnlyTheFolderAndAppletPoliciesSwallowARefusedWrite)
{
    refusedWrites = {u"NoNetSetupIDPage"_s, u"NoNetHood"_s, u"HideSharePwds"_s};
    Start();
    Page().CheckBox7->click(); // no message: none is scripted
    Page().CheckBox13->click();
    EXPECT_TRUE(Page().CheckBox13->isChecked());
    EXPECT_FALSE(Reg(HKEY_CURRENT_USER, kExplorer, u"NoNetHood"_s));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox1->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'HideSharePwds'"_s);
}

TEST_F(SiecTest, HelpTextsFollowTheMouse)
{
    Start();
    EXPECT_EQ(HelpOver(Page().CheckBox13),
              u"Jeśli zaznaczone, folder \"Otoczenie sieciowe zniknie z pulpitu Windows."_s);
    EXPECT_EQ(HelpOver(Page().RadioButton2), u"Określa dla jakich serwerów zastosować tą opcję."_s);
    EXPECT_EQ(HelpOver(Page().CheckBox12), HelpOver(Page().RadioButton2)) << "CheckBox12 has none";
    EXPECT_TRUE(HelpOver(Page().CheckBox15).contains(u"SackOps, TCP1323Opts"_s));
    EXPECT_EQ(HelpOver(Page().SpinEdit1), u"Wprowadź maksymalną liczbę użytkowników, którzy mogą "
                                          u"połączyć się z Twoim komputerem."_s);
}
