// The "Windows" page: what start-up shows and writes back, the policies and their masters, the
// autostart walk, the task scheduler, the cursor pair, the display settings, memory release and
// the swap file.
#include "MainFormFixture.h"
#include "UserInput.h"
#include "kodFrWindows.h"
#include "kodProgramy.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSystem = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System"_s;
const QString kExplorer = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"_s;
const QString kRun = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_s;
const QString kRunServices = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"_s;
const QString kDesktop = u"Control Panel\\Desktop"_s;
const QString kWinlogon = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Winlogon"_s;
const QString kDisplay = u"Display\\Settings"_s;
const QString kAutostartQuestion =
    u"Czy napewno chcesz usunąć ten element Autostartu?\n\rElement: "_s;

class WindowsTest : public MainFormTest
{
protected:
    TfrWindows& Page() { return *Form().frWindows; }
    QWidget& Scope() override { return Page(); }

    TMainForm& StartWithMemory(int megabytes)
    {
        Machine::Options options;
        options.totalMemory = std::uint64_t(megabytes) << 20;
        return Start(options);
    }
    QStringList Items()
    {
        QStringList items;
        for (int row = 0; row < Page().Lista->count(); ++row)
            items << Page().Lista->item(row)->text();
        return items;
    }
    void Mark(const QString& text)
    {
        Page().Lista->findItems(text, Qt::MatchExactly).value(0)->setCheckState(Qt::Checked);
    }
    bool Marked(const QString& text)
    {
        return Page().Lista->findItems(text, Qt::MatchExactly).value(0)->checkState() ==
               Qt::Checked;
    }
    void Display(const QString& width, const QString& height, const QString& depth,
                 const QString& rate)
    {
        Page().Edit2->setText(width);
        Page().Edit5->setText(height);
        Page().Edit3->setText(depth);
        Page().Edit4->setText(rate);
        Page().Button5->click();
    }
    std::optional<QString> DisplayValue(const QString& name)
    {
        return Text(HKEY_CURRENT_CONFIG, kDisplay, name);
    }
    QString SystemIni()
    {
        return QString::fromLatin1(machine.ReadFile(u"drive_c/WINDOWS/System.ini"_s));
    }
};

} // namespace

TEST(WindowsRules, MemoryColoursAt128Megabytes)
{
    const QColor green(0, 128, 0), amber(243, 179, 7), red(255, 0, 0);
    EXPECT_EQ(MemoryColour(1, 128), green);
    EXPECT_EQ(MemoryColour(64, 128), green);
    EXPECT_EQ(MemoryColour(65, 128), amber);
    EXPECT_EQ(MemoryColour(86, 128), amber);
    EXPECT_EQ(MemoryColour(87, 128), red);
    // Thirds are whole megabytes: 100 - 100 div 3 = 67.
    EXPECT_EQ(MemoryColour(67, 100), amber);
    EXPECT_EQ(MemoryColour(68, 100), red);
}

TEST(WindowsRules, TheScriptHoldsTheAmountInBytesUpToTheLongestSpace)
{
    EXPECT_EQ(FreeMemScript(1), QByteArray("FreeMem = Space(1048576)\r\n"));
    EXPECT_EQ(FreeMemScript(64), QByteArray("FreeMem = Space(67108864)\r\n"));
    EXPECT_EQ(FreeMemScript(2047), QByteArray("FreeMem = Space(2146435072)\r\n"));
    EXPECT_EQ(FreeMemScript(2048), QByteArray("FreeMem = Space(2147483647)\r\n"));
    EXPECT_EQ(FreeMemScript(4095), QByteArray("FreeMem = Space(2147483647)\r\n"));
}

TEST(WindowsRules, DisplayFieldsAndTheSumOfTheResolution)
{
    for (const QString& good : {u"1"_s, u"800"_s, u"0060"_s})
        EXPECT_TRUE(IsDisplayNumber(good)) << good.toStdString();
    for (const QString& bad :
         {u""_s, u"0"_s, u"-1"_s, u" 800"_s, u"60Hz"_s, u"+8"_s, u"1e3"_s, u"99999999999"_s})
        EXPECT_FALSE(IsDisplayNumber(bad)) << bad.toStdString();
    EXPECT_FALSE(ResolutionNeedsConfirming(1024, 768));
    EXPECT_TRUE(ResolutionNeedsConfirming(1024, 769));
    EXPECT_TRUE(ResolutionNeedsConfirming(1280, 600));
    EXPECT_FALSE(ResolutionNeedsConfirming(1600, 150));
}

TEST_F(WindowsTest, PlainBoxesWriteTheirValuesAndTheNextStartShowsThem)
{
    const auto policy = [](const char* box, const QString& key, const char16_t* name,
                           std::vector<StartCase> starts = {}) {
        return BoundBox{
            box,           HKEY_CURRENT_USER, key, QString::fromUtf16(name), DwordValue(1),
            DwordValue(0), std::move(starts)};
    };
    ExpectBoundBoxes({
        policy("CheckBox1", kSystem, u"NoDispBackgroundPage",
               {{DwordValue(2), true}, {BinaryValue(QByteArray("\1\0\0\0", 4)), false}}),
        policy("CheckBox2", kSystem, u"NoDispScrSavPage"),
        policy("CheckBox4", kSystem, u"NoDispAppearancePage"),
        policy("CheckBox3", kSystem, u"NoDispSettingsPage"),
        policy("CheckBox8", kSystem, u"NoPwdPage"),
        policy("CheckBox9", kSystem, u"NoAdminPage"),
        policy("CheckBox6", kSystem, u"NoProfilePage"),
        policy("CheckBox10", kSystem, u"NoDevMgrPage"),
        policy("CheckBox11", kSystem, u"NoConfigPage"),
        policy("CheckBox12", kSystem, u"NoFileSysPage"),
        policy("CheckBox13", kSystem, u"NoVirtMemPage"),
        policy("CheckBox14", kSystem, u"DisableRegistryTools"),
        policy("CheckBox15", kExplorer, u"NoPrinterTabs",
               {{std::nullopt, false}, {DwordValue(1), true}}),
        policy("CheckBox16", kExplorer, u"NoDeletePrinter"),
        policy("CheckBox17", kExplorer, u"NoAddPrinter"),
        {"CheckBox18", HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s, TextValue(u"-1"_s),
         TextValue(u"200"_s)},
        {"CheckBox24",
         HKEY_CLASSES_ROOT,
         u"regfile\\shell"_s,
         QString(),
         TextValue(u"edit"_s),
         TextValue(QString()),
         {{TextValue(u"Edit"_s), false}, {TextValue(u"edit"_s), true}}},
    });
}

TEST_F(WindowsTest, AnEmptyMachineGetsOnlyTheSchedulerKeyAndTheSwapFileEntry)
{
    StartWithMemory(256);
    EXPECT_TRUE(Page().CheckBox19->isChecked());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kRunServices));
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kRunServices, u"SchedulingAgent"_s));
    EXPECT_TRUE(Page().CheckBox20->isChecked());
    EXPECT_EQ(SystemIni(), u"[386Enh]\r\nConservativeSwapfileUsage=1\r\n"_s);
    for (const QString& key : {kSystem, kExplorer, kDesktop, kRun, kWinlogon})
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key) || KeyExists(HKEY_LOCAL_MACHINE, key))
            << key.toStdString();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, u"regfile"_s));
    EXPECT_EQ(Page().Lista->count(), 0);
    EXPECT_EQ(Page().SpinEdit1->text(), u"1"_s);
    EXPECT_EQ(Page().Label11->text(), u"1"_s);
    EXPECT_EQ(Page().Label11->palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(Page().Edit1->maxLength(), 250);
    EXPECT_TRUE(Page().CheckBox20->isEnabled());
}

TEST_F(WindowsTest, MastersDisableTheirSubordinatesAfterWritingAndKeepTheirState)
{
    machine.SetDword(HKEY_CURRENT_USER, kSystem, u"NoDispCPL"_s, 1);
    machine.SetDword(HKEY_CURRENT_USER, kSystem, u"NoDispBackgroundPage"_s, 1);
    machine.SetDword(HKEY_CURRENT_USER, kSystem, u"NoPwdPage"_s, 1);
    refusedWrites = {u"NoSecCPL"_s};
    Start();
    TfrWindows& page = Page();
    EXPECT_TRUE(page.CheckBox5->isChecked());
    // Read while disabled, and written back.
    EXPECT_TRUE(page.CheckBox1->isChecked());
    for (QCheckBox* tab : {page.CheckBox1, page.CheckBox2, page.CheckBox4, page.CheckBox3})
        EXPECT_FALSE(tab->isEnabled()) << tab->objectName().toStdString();
    EXPECT_TRUE(page.CheckBox8->isEnabled() && page.CheckBox8->isChecked());

    page.CheckBox5->click();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSystem, u"NoDispCPL"_s), 0);
    for (QCheckBox* tab : {page.CheckBox1, page.CheckBox2, page.CheckBox4, page.CheckBox3})
        EXPECT_TRUE(tab->isEnabled()) << tab->objectName().toStdString();
    EXPECT_TRUE(page.CheckBox1->isChecked());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSystem, u"NoDispBackgroundPage"_s), 1);
    page.CheckBox5->click();
    EXPECT_FALSE(page.CheckBox3->isEnabled());

    // A master whose write fails leaves its subordinates as they were.
    dialogs.ExpectMessage(MessageAnswer::Ok);
    page.CheckBox7->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'NoSecCPL'"_s);
    EXPECT_TRUE(page.CheckBox8->isEnabled() && page.CheckBox9->isEnabled());
}

TEST_F(WindowsTest, TheAutostartWalkAsksForEachCheckedItem)
{
    for (const char16_t* name : {u"Alfa", u"Beta", u"Gamma", u"Delta"})
        machine.SetText(HKEY_LOCAL_MACHINE, kRun, QString::fromUtf16(name), u"x.exe"_s);
    Start();
    EXPECT_EQ(Items(), QStringList({u"Alfa"_s, u"Beta"_s, u"Delta"_s, u"Gamma"_s}));
    Page().BitBtn3->click(); // nothing checked: nothing asked

    // No ends the whole walk at once.
    Mark(u"Beta"_s);
    Mark(u"Gamma"_s);
    dialogs.ExpectMessage(MessageAnswer::No);
    Page().BitBtn3->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, u"Warning"_s);
    EXPECT_EQ(dialogs.Messages()[0].text, kAutostartQuestion + u"Beta."_s);
    EXPECT_TRUE(Marked(u"Beta"_s) && Marked(u"Gamma"_s));
    EXPECT_EQ(Items().size(), 4);

    // Closed goes on to the next item; Yes deletes and starts again at the first.
    dialogs.ExpectMessage(MessageAnswer::Closed);
    dialogs.ExpectMessage(MessageAnswer::Yes);
    dialogs.ExpectMessage(MessageAnswer::Yes);
    Page().BitBtn3->click();
    ASSERT_EQ(dialogs.Messages().size(), 4u);
    EXPECT_EQ(dialogs.Messages()[1].text, kAutostartQuestion + u"Beta."_s);
    EXPECT_EQ(dialogs.Messages()[2].text, kAutostartQuestion + u"Gamma."_s);
    EXPECT_EQ(dialogs.Messages()[3].text, kAutostartQuestion + u"Beta."_s);
    EXPECT_EQ(Items(), QStringList({u"Alfa"_s, u"Delta"_s}));
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kRun, u"Beta"_s));
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kRun, u"Gamma"_s));
    EXPECT_TRUE(Reg(HKEY_LOCAL_MACHINE, kRun, u"Alfa"_s));
}

TEST_F(WindowsTest, AnAutostartValueThatStaysIsKeptUncheckedAndNamedOnce)
{
    for (const char16_t* name : {u"Alfa", u"Beta", u"Gamma"})
        machine.SetText(HKEY_LOCAL_MACHINE, kRun, QString::fromUtf16(name), u"x.exe"_s);
    refusedWrites = {u"Alfa"_s, u"Gamma"_s};
    Start();
    for (const QString& name : Items())
        Mark(name);
    for (int i = 0; i < 3; ++i)
        dialogs.ExpectMessage(MessageAnswer::Yes);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().BitBtn3->click();
    ASSERT_EQ(dialogs.Messages().size(), 4u);
    EXPECT_EQ(dialogs.Messages()[3].text,
              u"Tych elementów Autostartu nie udało się usunąć:\n\rAlfa\n\rGamma"_s);
    EXPECT_EQ(Items(), QStringList({u"Alfa"_s, u"Gamma"_s}));
    EXPECT_FALSE(Marked(u"Alfa"_s) || Marked(u"Gamma"_s));
    EXPECT_TRUE(Reg(HKEY_LOCAL_MACHINE, kRun, u"Alfa"_s));
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kRun, u"Beta"_s));
}

TEST_F(WindowsTest, TheSchedulerSwitchIsInvertedAndReportsItsOwnError)
{
    machine.SetText(HKEY_LOCAL_MACHINE, kRunServices, u"SchedulingAgent"_s, u"mstask.exe"_s);
    Start();
    EXPECT_FALSE(Page().CheckBox19->isChecked());
    Page().CheckBox19->click();
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kRunServices, u"SchedulingAgent"_s));
    Restart();
    EXPECT_TRUE(Page().CheckBox19->isChecked());
    Page().CheckBox19->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kRunServices, u"SchedulingAgent"_s), u"mstask.exe"_s);
    Stop();

    machine.SetValue(HKEY_LOCAL_MACHINE, kRunServices, u"SchedulingAgent"_s, DwordValue(0));
    refusedWrites = {u"SchedulingAgent"_s};
    Start();
    EXPECT_FALSE(Page().CheckBox19->isChecked()); // a value of any type exists
    Page().CheckBox19->click();                   // a refused deletion is no error
    EXPECT_TRUE(Reg(HKEY_LOCAL_MACHINE, kRunServices, u"SchedulingAgent"_s));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox19->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith(u"Nie można zmienić wartości!\n\r"_s));
    EXPECT_TRUE(dialogs.Messages()[0].text.endsWith(u"98 lub 98SE, hmm?."_s));
    EXPECT_FALSE(Page().CheckBox19->isChecked());
}

TEST_F(WindowsTest, TheCursorPairSharesOneValueWithoutKeepingInStep)
{
    machine.SetText(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s, u"-1"_s);
    machine.SetText(HKEY_CLASSES_ROOT, u"regfile\\shell"_s, QString(), u"Edit"_s);
    Start();
    EXPECT_TRUE(Page().CheckBox18->isChecked());
    EXPECT_EQ(Page().SpinEdit1->text(), u"-1"_s);
    Page().CheckBox18->click();
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s), u"200"_s);
    EXPECT_EQ(Page().SpinEdit1->text(), u"-1"_s);
    Page().SpinEdit1->setValue(350);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s), u"350"_s);
    EXPECT_FALSE(Page().CheckBox18->isChecked());
    // Another letter case is not the edit verb.
    EXPECT_FALSE(Page().CheckBox24->isChecked());
    Stop();

    machine.SetText(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s, u"530"_s);
    refusedWrites = {u"CursorBlinkRate"_s};
    Start(); // the refused write-back says nothing
    EXPECT_EQ(Page().SpinEdit1->text(), u"530"_s);
    EXPECT_FALSE(Page().CheckBox18->isChecked());
    Page().SpinEdit1->setValue(600);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDesktop, u"CursorBlinkRate"_s), u"530"_s);
}

TEST_F(WindowsTest, DisplaySettingsAskAboutALargeSumAndWriteNothingUnchecked)
{
    machine.SetText(HKEY_CURRENT_CONFIG, kDisplay, u"Resolution"_s, u"640,480"_s);
    Start();
    Display(u"1024"_s, u"768"_s, u"16"_s, u"60"_s);
    EXPECT_EQ(DisplayValue(u"Resolution"_s), u"1024,768"_s);
    EXPECT_EQ(DisplayValue(u"BitsPerPixel"_s), u"16"_s);
    EXPECT_EQ(DisplayValue(u"RefreshRate"_s), u"60"_s);
    Display(u"1600"_s, u"150"_s, u"16"_s, u"60"_s);
    EXPECT_EQ(DisplayValue(u"Resolution"_s), u"1600,150"_s);

    dialogs.ExpectMessage(MessageAnswer::Yes);
    Display(u"1280"_s, u"600"_s, u"32"_s, u"75"_s);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, u"Warning"_s);
    EXPECT_EQ(dialogs.Messages()[0].text,
              u"Wprowadzono rozdzielczość większą niż 1024x768. Czy napewno chcesz zmienić "
              u"rozdzielczość na 1280x600 ?"_s);
    EXPECT_EQ(DisplayValue(u"Resolution"_s), u"1280,600"_s);

    dialogs.ExpectMessage(MessageAnswer::No);
    dialogs.ExpectMessage(MessageAnswer::Closed);
    Display(u"1280"_s, u"1024"_s, u"24"_s, u"85"_s);
    Display(u"1280"_s, u"1024"_s, u"8"_s, u"70"_s);
    EXPECT_EQ(DisplayValue(u"Resolution"_s), u"1280,600"_s);
    EXPECT_EQ(DisplayValue(u"BitsPerPixel"_s), u"8"_s);
    EXPECT_EQ(DisplayValue(u"RefreshRate"_s), u"70"_s);

    // Any field that is no number writes nothing at all, and says nothing.
    Display(u"800"_s, u"6OO"_s, u"16"_s, u"60"_s);
    Display(u"800"_s, u"600"_s, QString(), u"60"_s);
    Display(u"800"_s, u"600"_s, u"16"_s, u"60Hz"_s);
    EXPECT_EQ(DisplayValue(u"Resolution"_s), u"1280,600"_s);
    EXPECT_EQ(DisplayValue(u"BitsPerPixel"_s), u"8"_s);
    EXPECT_EQ(DisplayValue(u"RefreshRate"_s), u"70"_s);
    EXPECT_EQ(dialogs.Messages().size(), 3u);
}

TEST_F(WindowsTest, DisplaySettingsWithoutTheirKeyAreSilent)
{
    Start();
    Display(u"800"_s, u"600"_s, u"16"_s, u"60"_s);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_CONFIG, kDisplay));
}

TEST_F(WindowsTest, TheSliderShowsItsAmountInTheColourOfItsShare)
{
    StartWithMemory(128);
    Page().TrackBar1->setValue(87);
    EXPECT_EQ(Page().Label11->text(), u"87"_s);
    EXPECT_EQ(Page().Label11->palette().color(QPalette::Window), QColor(255, 0, 0));
    Page().TrackBar1->setValue(65);
    EXPECT_EQ(Page().Label11->palette().color(QPalette::Window), QColor(243, 179, 7));
    EXPECT_EQ(Page().TrackBar1->maximum(), 128);
}

TEST_F(WindowsTest, ReleasingMemoryWritesAndStartsTheScriptBeforeAsking)
{
    QTemporaryDir bin;
    MakeFakeProgram(bin.path(), u"wine"_s);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ":" + path);
    QStringList launched;
    Machine::Options options;
    options.totalMemory = 4096ull << 20;
    options.launch = [&](const QString& program, const QStringList& arguments, const QStringList&) {
        launched << QFileInfo(program).fileName() + u' ' + arguments.join(u'|');
    };
    QDir().mkpath(machine.Host(u"dosdevices"_s));
    Start(options);
    Page().TrackBar1->setValue(64);
    dialogs.ExpectMessage(MessageAnswer::Yes);
    Page().SpeedButton1->click();
    qputenv("PATH", path);
    EXPECT_EQ(launched, QStringList({u"wine wscript.exe|C:\\FreeMem.vbs"_s}));
    EXPECT_EQ(machine.ReadFile(u"drive_c/FreeMem.vbs"_s), "FreeMem = Space(67108864)\r\n");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, u"Oczyszczanie pamięci"_s);
    EXPECT_TRUE(dialogs.Messages()[0].text.endsWith(
        u"FreeMem.vbs\n\r\n\rCzy stworzyć skrypt umożliwiający szybkie oczyszczanie wybranej "
        u"ilości pamięci?"_s));
    EXPECT_EQ(dialogs.Messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.Messages()[0].buttons, MessageButtons::YesNo);

    Page().TrackBar1->setValue(4095);
    dialogs.ExpectMessage(MessageAnswer::No);
    Page().SpeedButton1->click();
    EXPECT_FALSE(QFileInfo::exists(machine.Host(u"drive_c/FreeMem.vbs"_s)));
}

TEST_F(WindowsTest, AScriptThatCannotBeWrittenIsAnInputOutputError)
{
    machine.WriteFile(u"drive_c/FreeMem.vbs/inside"_s, "");
    Start();
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().SpeedButton1->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"I/O error 5."_s);
}

TEST_F(WindowsTest, TheSwapFileBoxBelowAndAbove128Megabytes)
{
    machine.MakeWindows();
    machine.SetProfile(u"C:\\WINDOWS\\System.ini"_s, u"386Enh"_s, u"ConservativeSwapfileUsage"_s,
                       u"0x0"_s);
    StartWithMemory(127);
    EXPECT_FALSE(Page().CheckBox20->isEnabled());
    EXPECT_FALSE(Page().Label22->isEnabled());
    EXPECT_FALSE(Page().CheckBox20->isChecked());
    EXPECT_TRUE(SystemIni().contains(u"ConservativeSwapfileUsage=0x0"_s));
    Stop();

    machine.SetProfile(u"C:\\WINDOWS\\System.ini"_s, u"386Enh"_s, u"ConservativeSwapfileUsage"_s,
                       u"5"_s);
    StartWithMemory(128);
    EXPECT_TRUE(Page().CheckBox20->isEnabled());
    EXPECT_TRUE(Page().CheckBox20->isChecked());
    EXPECT_TRUE(SystemIni().contains(u"ConservativeSwapfileUsage=1"_s));
    Page().CheckBox20->click();
    EXPECT_TRUE(SystemIni().contains(u"ConservativeSwapfileUsage=0"_s));
}

TEST_F(WindowsTest, ASwapFileEntryThatCannotBeWrittenEndsTheReader)
{
    refusedWrites = {u"ConservativeSwapfileUsage"_s};
    dialogs.ExpectMessage(MessageAnswer::Ok);
    StartWithMemory(256);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Unable to write to C:\\WINDOWS\\System.ini."_s);
    // The steps after it did not run.
    EXPECT_NE(Page().Edit1->maxLength(), 250);
}

TEST_F(WindowsTest, TheStartUpMessageIsWrittenAndDeletedByItsButtons)
{
    Start();
    Page().Edit1->setText(u"Uwaga"_s);
    Page().Memo1->setPlainText(u"Pierwsza\nDruga"_s);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().Button2->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, u"Uwaga"_s);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Pierwsza\nDruga"_s);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWinlogon));

    Page().Button3->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kWinlogon, u"LegalNoticeCaption"_s), u"Uwaga"_s);
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kWinlogon, u"LegalNoticeText"_s), u"Pierwsza\r\nDruga"_s);
    Page().Button6->click();
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kWinlogon, u"LegalNoticeCaption"_s));
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kWinlogon, u"LegalNoticeText"_s));
    EXPECT_EQ(Page().Edit1->text(), u"Uwaga"_s);
    Page().Button4->click();
    EXPECT_TRUE(Page().Edit1->text().isEmpty() && Page().Memo1->toPlainText().isEmpty());

    Page().Memo1->insertPlainText(QString(249, u'a'));
    Page().Memo1->insertPlainText(u"bcd"_s);
    EXPECT_EQ(Page().Memo1->toPlainText(), QString(249, u'a') + u'b');
}

TEST_F(WindowsTest, TheMessageLimitCountsALineBreakAsTheTwoCharactersStored)
{
    EXPECT_EQ(StoredLength(u"a\nb\n"_s), 6);
    Start();
    ASSERT_TRUE(ShowActive(&Form()));
    ShowPage(&Page());
    Click(Page().Memo1);
    Type(QString(240, u'a'));
    for (int line = 0; line < 6; ++line)
        Press(Qt::Key_Return);
    Type(u"bcd"_s);
    EXPECT_EQ(Page().Memo1->toPlainText(), QString(240, u'a') + QString(5, u'\n'));
    Page().Button3->click();
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kWinlogon, u"LegalNoticeText"_s)->size(), 250);
}

TEST_F(WindowsTest, TheProgramsButtonShowsTheEditorModally)
{
    Start();
    QWidget* shown = nullptr;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget();
        if (shown) shown->close();
    });
    Page().Button1->click();
    EXPECT_EQ(shown, &TfmProgramy::Shared());
}
