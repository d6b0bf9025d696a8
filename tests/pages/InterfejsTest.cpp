// The "Interfejs użytkownika" page: the bound boxes, the Start menu picture, the shared window
// activation value, the folder refresh, the menu delay, the tray repair and the Control Panel
// folder.
#include "MainFormFixture.h"
#include "ProgramDir.h"
#include "kodFrInterfejs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kPolicies = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"_s;
const QString kDesktop = u"Control Panel\\Desktop"_s;
const QString kUpdate = u"System\\CurrentControlSet\\Control\\Update"_s;
const QString kRun = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run"_s;
const QString kMenuStartRecord = u"Software\\Tolmar\\Menu Start"_s;
const QString kClass = u".{21EC2020-3AEA-1069-A2DD-08002B30309D}"_s;

// A value as the fixture describes it, type and bytes, for comparing.
std::pair<std::uint32_t, QByteArray> Held(const std::optional<RegValue>& value)
{
    if (!value) return {REG_NONE, QByteArray("nothing")};
    return {value->type, value->data};
}

QByteArray Bytes(std::initializer_list<int> bytes)
{
    QByteArray data;
    for (const int b : bytes)
        data.append(char(b));
    return data;
}

class InterfejsTest : public MainFormTest
{
protected:
    InterfejsTest() { SetProgramDir(QStringLiteral(TOLMAR_DATA_PROGRAM)); }
    ~InterfejsTest() override { SetProgramDir(QString()); }

    TFrInterfejs& Page() { return *Form().FrInterfejs; }
    QWidget& Scope() override { return Page(); }

    static QImage Picture(const char* file)
    {
        return QImage(ProgramFile(QString::fromLatin1(file))).convertToFormat(QImage::Format_RGB32);
    }
    QImage Programs()
    {
        return Page().Image2->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::optional<RegValue> Mask()
    {
        return Reg(HKEY_CURRENT_USER, kDesktop, u"UserPreferencemask"_s);
    }

    // A machine with its Windows folder and the Start menu's folder in it.
    void MakeMenuStart() { QDir().mkpath(machine.Host(u"drive_c/WINDOWS/Menu Start"_s)); }
    bool FolderExists(const QString& name)
    {
        return QFileInfo(machine.Host(u"drive_c/WINDOWS/Menu Start/"_s + name)).isDir();
    }
    void Build(const QString& name)
    {
        Page().nazwa->setText(name);
        Page().BitBtn2->click();
    }
};

} // namespace

TEST_F(InterfejsTest, EachBoxWritesItsValueAndTheNextStartShowsIt)
{
    // The blinking box does not create its key.
    machine.SetText(HKEY_CURRENT_USER, kDesktop, u"Wallpaper"_s, QString());
    const auto policy = [](const char* box, const char* name, std::vector<StartCase> starts = {}) {
        return BoundBox{
            box,           HKEY_CURRENT_USER, kPolicies,        QString::fromLatin1(name),
            DwordValue(1), DwordValue(0),     std::move(starts)};
    };
    ExpectBoundBoxes({
        policy("CheckBox1", "NoStartMenuSubFolders"),
        policy("CheckBox2", "NoFavoritesMenu"),
        policy("CheckBox3", "NoRecentDocsMenu"),
        policy("CheckBox4", "NoSetFolders"),
        policy("CheckBox5", "NoFind"),
        policy("CheckBox6", "NoRun"),
        policy("CheckBox7", "NoLogOff"),
        policy("CheckBox8", "NoClose"),
        policy("CheckBox9", "NoSetTaskbar", {{DwordValue(4), true}, {std::nullopt, false}}),
        policy("CheckBox10", "NoViewContextMenu", {{DwordValue(0), false}}),
        policy("CheckBox12", "NoSaveSettings", {{TextValue(u"1"_s), false}, {DwordValue(9), true}}),
        {"CheckBox13", HKEY_CURRENT_USER, kDesktop, u"PaintDesktopVersion"_s, DwordValue(1),
         DwordValue(0)},
        {"CheckBox11",
         HKEY_CURRENT_USER,
         kDesktop,
         u"ForegroundLockTimeout"_s,
         DwordValue(200000),
         DwordValue(0),
         {{DwordValue(1), true}, {DwordValue(0), false}}},
        {"CheckBox20",
         HKEY_CURRENT_USER,
         u"Control Panel\\Sound"_s,
         u"Beep"_s,
         TextValue(u"Yes"_s),
         TextValue(u"No"_s),
         {{TextValue(u"yes"_s), false}, {TextValue(u"Yes"_s), true}, {std::nullopt, false}}},
        {"CheckBox21", HKEY_LOCAL_MACHINE, u"SYSTEM\\CurrentControlSet\\Services\\CDRom"_s,
         u"Autorun"_s, DwordValue(1), DwordValue(0)},
        {"CheckBox25",
         HKEY_CURRENT_USER,
         u"Control Panel\\Mouse"_s,
         u"SnapToDefaultButton"_s,
         TextValue(u"1"_s),
         TextValue(u"0"_s),
         {{TextValue(u"TRUE"_s), true}, {TextValue(u"0"_s), false}, {TextValue(u"abc"_s), false}}},
    });
}

TEST_F(InterfejsTest, AnEmptyMachineGetsOnlyTheFolderRefreshByte)
{
    Start();
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kUpdate, u"UpdateMode"_s)->data, Bytes({0}));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kUpdate, u"UpdateMode"_s)->type, REG_BINARY);
    EXPECT_TRUE(Page().CheckBox19->isChecked());
    for (const QString& key : {kPolicies, kDesktop, kMenuStartRecord, kRun,
                               u"Control Panel\\Sound"_s, u"Control Panel\\Mouse"_s})
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << key.toStdString();
    EXPECT_EQ(Page().CzasMenu->value(), 1);
    EXPECT_TRUE(Page().Image1->isHidden());
    EXPECT_FALSE(Page().BitBtn1->isEnabled());
    EXPECT_FALSE(Page().CheckBox23->isEnabled());
    EXPECT_FALSE(Page().Label11->isEnabled());
    EXPECT_EQ(Page().BitBtn2->text(), u"Stwórz skrót do Panelu Sterowania\n w Menu Start"_s);
    EXPECT_EQ(kBitBtn2Caption, u"Stwórz skrót do Panelu Sterowania\r w Menu Start"_s);
}

TEST_F(InterfejsTest, HiddenEntriesLeaveGapsInTheStartMenuPicture)
{
    machine.SetDword(HKEY_CURRENT_USER, kPolicies, u"NoFind"_s, 1);
    machine.SetBinary(HKEY_CURRENT_USER, kPolicies, u"NoRun"_s, Bytes({1, 0, 0, 0}));
    Start();
    EXPECT_TRUE(Page().CheckBox5->isChecked());
    EXPECT_TRUE(Page().Image6->isHidden());
    // A policy stored as binary shows nothing and leaves the entry.
    EXPECT_FALSE(Page().CheckBox6->isChecked());
    EXPECT_FALSE(Page().Image7->isHidden());

    QCheckBox* boxes[] = {Page().CheckBox2, Page().CheckBox3, Page().CheckBox4,
                          Page().CheckBox6, Page().CheckBox7, Page().CheckBox8};
    QLabel* images[] = {Page().Image3, Page().Image4, Page().Image5,
                        Page().Image7, Page().Image8, Page().Image9};
    for (int i = 0; i < 6; ++i) {
        const QRect place = images[i]->geometry();
        boxes[i]->click();
        EXPECT_TRUE(images[i]->isHidden()) << i;
        boxes[i]->click();
        EXPECT_FALSE(images[i]->isHidden()) << i;
        EXPECT_EQ(images[i]->geometry(), place);
    }
    Page().CheckBox5->click();
    EXPECT_FALSE(Page().Image6->isHidden());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kPolicies, u"NoFind"_s), 0);
    EXPECT_FALSE(Page().Image8->pixmap().isNull());
}

TEST_F(InterfejsTest, TheProgramsEntryLosesItsArrowWithTheSubfolders)
{
    const QImage with = Picture("Data\\Gfx\\Bmp\\menu\\soft.bmp");
    const QImage without = Picture("Data\\Gfx\\Bmp\\menu\\bpp.bmp");
    ASSERT_FALSE(with.isNull());
    ASSERT_NE(with, without);
    machine.SetDword(HKEY_CURRENT_USER, kPolicies, u"NoStartMenuSubFolders"_s, 1);
    Start();
    EXPECT_EQ(Programs(), without);
    Page().CheckBox1->click();
    EXPECT_EQ(Programs(), with);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kPolicies, u"NoStartMenuSubFolders"_s), 0);
}

TEST_F(InterfejsTest, TheProgramsPictureComesFromTheProgramsFolderNotTheCurrentOne)
{
    // A stranger's pictures under the same relative names in the current folder.
    QTemporaryDir elsewhere;
    for (const char* name : {"bpp.bmp", "soft.bmp"}) {
        QDir().mkpath(elsewhere.path() + u"/Data/Gfx/Bmp/menu"_s);
        QImage(3, 3, QImage::Format_RGB32)
            .save(elsewhere.path() + u"/Data/Gfx/Bmp/menu/"_s + QString::fromLatin1(name), "BMP");
    }
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    machine.SetDword(HKEY_CURRENT_USER, kPolicies, u"NoStartMenuSubFolders"_s, 0);
    Start();
    EXPECT_EQ(Programs(), Picture("Data\\Gfx\\Bmp\\menu\\soft.bmp"));
    Restart();
    QDir::setCurrent(before);
}

TEST_F(InterfejsTest, AMissingProgramsPictureIsReportedOnAClickOnly)
{
    QTemporaryDir empty;
    SetProgramDir(empty.path());
    machine.SetDword(HKEY_CURRENT_USER, kPolicies, u"NoStartMenuSubFolders"_s, 1);
    Start(); // no message: the reader's step ends silently
    EXPECT_TRUE(Page().CheckBox1->isChecked());
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox1->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith(u"Cannot open file "_s));
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(u"soft.bmp"_s));
    // The value is written before the picture is looked for.
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kPolicies, u"NoStartMenuSubFolders"_s), 0);
}

TEST_F(InterfejsTest, WindowActivationShowsOnlyTheThreePatterns)
{
    const struct
    {
        QByteArray stored;
        bool activate;
        bool raise;
        QByteArray after;
    } cases[] = {
        {Bytes({0x3E, 0, 0, 0}), false, false, Bytes({0x3E, 0, 0, 0})},
        {Bytes({0x3F, 0, 0, 0}), true, false, Bytes({0x3F, 0, 0, 0})},
        {Bytes({0x7F, 0, 0, 0}), true, true, Bytes({0x7F, 0, 0, 0})},
        {Bytes({0xBE, 0, 0, 0}), false, false, Bytes({0xBE, 0, 0, 0})},
        {Bytes({0x3F, 0, 0, 1}), false, false, Bytes({0x3F, 0, 0, 1})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toHex().toStdString());
        machine.SetBinary(HKEY_CURRENT_USER, kDesktop, u"UserPreferencemask"_s, c.stored);
        Start();
        EXPECT_EQ(Page().CheckBox22->isChecked(), c.activate);
        EXPECT_EQ(Page().CheckBox23->isChecked(), c.raise);
        EXPECT_EQ(Page().CheckBox23->isEnabled(), c.activate);
        EXPECT_EQ(Page().Label11->isEnabled(), c.activate);
        EXPECT_EQ(Mask()->data, c.after);
        Stop();
    }
}

TEST_F(InterfejsTest, UncheckingActivationWritesThePlainPatternThenNone)
{
    machine.SetBinary(HKEY_CURRENT_USER, kDesktop, u"UserPreferencemask"_s, Bytes({0xBE, 0, 0, 0}));
    Start();
    Page().CheckBox22->click();
    EXPECT_EQ(Mask()->data, Bytes({0x3F, 0, 0, 0})); // the other bits are dropped
    EXPECT_TRUE(Page().CheckBox23->isEnabled());
    Page().CheckBox23->click();
    EXPECT_EQ(Mask()->data, Bytes({0x7F, 0, 0, 0}));

    QByteArray seen;
    QObject::connect(Page().CheckBox23, &QCheckBox::toggled, [&] { seen = Mask()->data; });
    Page().CheckBox22->click();
    EXPECT_EQ(seen, Bytes({0x3F, 0, 0, 0}));
    EXPECT_EQ(Mask()->data, Bytes({0x3E, 0, 0, 0}));
    EXPECT_FALSE(Page().CheckBox23->isChecked());
    EXPECT_FALSE(Page().CheckBox23->isEnabled());
    EXPECT_FALSE(Page().Label11->isEnabled());
}

TEST_F(InterfejsTest, ActivationReadsItsBytesOverTheFolderRefreshNumber)
{
    // Two bytes of "UpdateMode" leave 01 in the second byte, which one byte of the mask keeps.
    machine.SetBinary(HKEY_LOCAL_MACHINE, kUpdate, u"UpdateMode"_s, Bytes({0, 1}));
    machine.SetBinary(HKEY_CURRENT_USER, kDesktop, u"UserPreferencemask"_s, Bytes({0x3F}));
    Start();
    EXPECT_FALSE(Page().CheckBox19->isChecked());
    EXPECT_FALSE(Page().CheckBox22->isChecked());
    Stop();
    machine.SetBinary(HKEY_CURRENT_USER, kDesktop, u"UserPreferencemask"_s, Bytes({0x3F, 0}));
    Start();
    EXPECT_TRUE(Page().CheckBox22->isChecked());
}

TEST_F(InterfejsTest, FolderRefreshIsInvertedAndWritesOneByte)
{
    const struct
    {
        std::optional<RegValue> stored;
        bool shown;
    } cases[] = {
        {BinaryValue(Bytes({1})), false},
        {BinaryValue(Bytes({2})), false},
        {BinaryValue(Bytes({0, 0, 0, 0})), true},
        {DwordValue(0), false},
    };
    for (const auto& c : cases) {
        machine.SetValue(HKEY_LOCAL_MACHINE, kUpdate, u"UpdateMode"_s, *c.stored);
        Start();
        EXPECT_EQ(Page().CheckBox19->isChecked(), c.shown) << c.stored->data.toHex().toStdString();
        Stop();
    }
    Start();
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kUpdate, u"UpdateMode"_s)->type, REG_DWORD);
    Page().CheckBox19->click();
    EXPECT_EQ(Held(Reg(HKEY_LOCAL_MACHINE, kUpdate, u"UpdateMode"_s)),
              Held(BinaryValue(Bytes({0}))));
    Page().CheckBox19->click();
    EXPECT_EQ(Held(Reg(HKEY_LOCAL_MACHINE, kUpdate, u"UpdateMode"_s)),
              Held(BinaryValue(Bytes({1}))));
}

TEST_F(InterfejsTest, BlinkingIsRewrittenAsTheProgramsNumberAndNeedsItsKey)
{
    machine.SetDword(HKEY_CURRENT_USER, kDesktop, u"ForegroundLockTimeout"_s, 100000);
    Start();
    EXPECT_TRUE(Page().CheckBox11->isChecked());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kDesktop, u"ForegroundLockTimeout"_s), 200000);
    Stop();

    machine.Open();
    CurrentPlatform().RegDeleteValue(HKEY_CURRENT_USER, kDesktop, u"ForegroundLockTimeout"_s);
    CurrentPlatform().RegDeleteKey(HKEY_CURRENT_USER, kDesktop);
    machine.Close();
    Start();
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox11->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'ForegroundLockTimeout'"_s);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDesktop));
}

TEST_F(InterfejsTest, TextSwitchesFollowTheirOwnRules)
{
    const struct
    {
        QString beep;
        bool beepShown;
        QString snap;
        bool snapShown;
    } cases[] = {
        {u"Yes"_s, true, u"2"_s, true},
        {u"yes"_s, false, u"TRUE"_s, true},
        {u"No"_s, false, u"abc"_s, false},
        {u"YES"_s, false, u"0"_s, false},
    };
    for (const auto& c : cases) {
        machine.SetText(HKEY_CURRENT_USER, u"Control Panel\\Sound"_s, u"Beep"_s, c.beep);
        machine.SetText(HKEY_CURRENT_USER, u"Control Panel\\Mouse"_s, u"SnapToDefaultButton"_s,
                        c.snap);
        Start();
        EXPECT_EQ(Page().CheckBox20->isChecked(), c.beepShown) << c.beep.toStdString();
        EXPECT_EQ(Page().CheckBox25->isChecked(), c.snapShown) << c.snap.toStdString();
        Stop();
    }
    Start();
    Page().CheckBox20->click();
    EXPECT_EQ(Text(HKEY_CURRENT_USER, u"Control Panel\\Sound"_s, u"Beep"_s), u"Yes"_s);
}

TEST(MenuDelay, IsANumberKeptWithinTheSpinBoxRange)
{
    EXPECT_EQ(MenuDelayShown(u"400"_s), 400);
    EXPECT_EQ(MenuDelayShown(u"0"_s), 1);
    EXPECT_EQ(MenuDelayShown(u"-3"_s), 1);
    EXPECT_EQ(MenuDelayShown(u"20000"_s), 10000);
    EXPECT_EQ(MenuDelayShown(u"10000"_s), 10000);
    EXPECT_EQ(MenuDelayShown(u"4OO"_s), std::nullopt);
    EXPECT_EQ(MenuDelayShown(QString()), std::nullopt);
}

TEST_F(InterfejsTest, TheMenuDelayIsShownAndWrittenAsTextByApply)
{
    machine.SetText(HKEY_CURRENT_USER, kDesktop, u"MenuShowDelay"_s, u"20000"_s);
    Start();
    EXPECT_EQ(Page().CzasMenu->value(), 10000);
    // Showing it writes nothing back.
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDesktop, u"MenuShowDelay"_s), u"20000"_s);
    Page().CzasMenu->setValue(250);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kDesktop, u"MenuShowDelay"_s), u"20000"_s);
    Page().Button2->click();
    EXPECT_EQ(Held(Reg(HKEY_CURRENT_USER, kDesktop, u"MenuShowDelay"_s)),
              Held(TextValue(u"250"_s)));
}

TEST_F(InterfejsTest, TheTrayRepairAsksFirstAndDeletesTheValueOnYes)
{
    machine.SetText(HKEY_LOCAL_MACHINE, kRun, u"SystemTray"_s, u"SysTray.Exe"_s);
    Start();
    ASSERT_TRUE(Page().BitBtn1->isEnabled());
    dialogs.ExpectMessage(MessageAnswer::No);
    Page().BitBtn1->click();
    EXPECT_TRUE(Page().BitBtn1->isEnabled());
    EXPECT_TRUE(Reg(HKEY_LOCAL_MACHINE, kRun, u"SystemTray"_s));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto& question = dialogs.Messages()[0];
    EXPECT_EQ(question.caption, u"UWAGA! Tylko dla polskiej wersji systemu Windows 98!"_s);
    EXPECT_TRUE(question.text.endsWith(u"skutki.\n\r\n\rCzy nadal chcesz usunąć ten błąd?"_s));
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);

    dialogs.ExpectMessage(MessageAnswer::Yes);
    Page().BitBtn1->click();
    EXPECT_FALSE(Reg(HKEY_LOCAL_MACHINE, kRun, u"SystemTray"_s));
    EXPECT_FALSE(Page().BitBtn1->isEnabled());
    EXPECT_EQ(dialogs.Messages().size(), 2u);
}

TEST_F(InterfejsTest, ATrayRepairThatCannotDeleteSaysSoAndKeepsTheButton)
{
    machine.SetText(HKEY_LOCAL_MACHINE, kRun, u"SystemTray"_s, u"SysTray.Exe"_s);
    refusedWrites = {u"SystemTray"_s};
    Start();
    dialogs.ExpectMessage(MessageAnswer::Yes);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().BitBtn1->click();
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[1].caption, u"Usuwanie błędu"_s);
    EXPECT_EQ(dialogs.Messages()[1].text, u"Nie można usunąć błędu, który już usunięto ;)"_s);
    EXPECT_EQ(dialogs.Messages()[1].icon, MessageIcon::Information);
    EXPECT_TRUE(Page().BitBtn1->isEnabled());
}

TEST(ControlPanelFolderName, RefusesSeparatorsForbiddenCharactersAndDotsAlone)
{
    // With the class id after it, a name must fit Windows' 255 characters and the host's 255
    // bytes; a device name (with any extension) names no folder.
    for (const QString& name :
         {u"Panel"_s, u"Mój panel"_s, u""_s, u"a.b"_s, u".x"_s, u"CONSOLE"_s, u"NULL.x"_s,
          u"COM10"_s, u"xcon"_s, QString(216, u'a'), QString(108, u'ż')})
        EXPECT_TRUE(IsFolderNameAllowed(name)) << name.toStdString();
    for (const QString& name : {u"..\\..\\X"_s,
                                u"a/b"_s,
                                u"C:"_s,
                                u"a*"_s,
                                u"a?"_s,
                                u"\"a\""_s,
                                u"<a>"_s,
                                u"a|b"_s,
                                u"."_s,
                                u"..."_s,
                                u"a\tb"_s,
                                QString(217, u'a'),
                                QString(300, u'a'),
                                QString(109, u'ż'),
                                u"CON"_s,
                                u"nul"_s,
                                u"NUL.txt"_s,
                                u"Prn"_s,
                                u"aux.a.b"_s,
                                u"COM1"_s,
                                u"lpt9.x"_s,
                                u"CON .txt"_s})
        EXPECT_FALSE(IsFolderNameAllowed(name)) << name.toStdString();
}

TEST_F(InterfejsTest, TheControlPanelFolderIsBuiltRecordedAndShownAtTheNextStart)
{
    machine.MakeWindows();
    MakeMenuStart();
    Start();
    Build(u"Panel Sterowania"_s);
    EXPECT_TRUE(FolderExists(u"Panel Sterowania"_s + kClass));
    EXPECT_FALSE(Page().Image1->isHidden());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kMenuStartRecord, u"Panel Sterowania"_s), 1);
    // A second time the folder exists already: nothing is said, the picture stays.
    Build(u"Panel Sterowania"_s);
    EXPECT_FALSE(Page().Image1->isHidden());
    // The empty name makes the folder of the class id alone.
    Build(QString());
    EXPECT_TRUE(FolderExists(kClass));
    Restart();
    EXPECT_FALSE(Page().Image1->isHidden());
}

TEST_F(InterfejsTest, AFolderNameThatLeadsElsewhereOrNamesNoFolderIsRefused)
{
    machine.MakeWindows();
    MakeMenuStart();
    Start();
    for (const QString& name :
         {u"..\\..\\X"_s, u"a:b"_s, u".."_s, QString(300, u'a'), u"CON"_s, u"nul.txt"_s}) {
        dialogs.ExpectMessage(MessageAnswer::Ok);
        Build(name);
    }
    ASSERT_EQ(dialogs.Messages().size(), 6u);
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith(u"Nazwa nie może zawierać znaków"_s));
    EXPECT_TRUE(QDir(machine.Host(u"drive_c/WINDOWS/Menu Start"_s)).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(machine.Host(u"drive_c/X"_s + kClass)));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuStartRecord));
    EXPECT_TRUE(Page().Image1->isHidden());
}

TEST_F(InterfejsTest, AFolderThatCouldNotBeMadeIsNeitherRecordedNorShown)
{
    machine.MakeWindows(); // without its "Menu Start"
    Start();
    Build(u"Panel"_s);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuStartRecord));
    EXPECT_TRUE(Page().Image1->isHidden());
}

TEST_F(InterfejsTest, SomeBoxesKeepTheirErrorsAndOthersReportThem)
{
    refusedWrites = {u"NoSetTaskbar"_s, u"NoViewContextMenu"_s, u"UserPreferencemask"_s,
                     u"NoSaveSettings"_s};
    Start();
    Page().CheckBox9->click();
    Page().CheckBox10->click();
    EXPECT_TRUE(Page().CheckBox9->isChecked());
    EXPECT_FALSE(Reg(HKEY_CURRENT_USER, kPolicies, u"NoSetTaskbar"_s));
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox12->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, u"Failed to set data for 'NoSaveSettings'"_s);
    dialogs.ExpectMessage(MessageAnswer::Ok);
    Page().CheckBox22->click(); // reported; the dependent box is enabled before the write
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    Page().CheckBox23->click(); // silent
    EXPECT_EQ(dialogs.Messages().size(), 2u);
}

TEST_F(InterfejsTest, HelpTextsFollowTheMouse)
{
    Start();
    EXPECT_TRUE(HelpOver(Page().CheckBox8).endsWith(u"uniemożliwi poprawne zamknięcie systemu."_s));
    EXPECT_TRUE(HelpOver(Page().CheckBox22).startsWith(u"Możliwe jest aktywowanie okna jeydnie"_s));
    EXPECT_TRUE(HelpOver(Page().nazwa).startsWith(u"W to pole wpisz nazwę"_s));
    EXPECT_TRUE(HelpOver(Page().BitBtn2).startsWith(u"Kliknij, aby utworzyć nowe"_s));
    EXPECT_TRUE(HelpOver(Page().Label10).startsWith(u"System opóźnia rozwijanie"_s));
    EXPECT_TRUE(
        HelpOver(Page().CzasMenu->findChild<QLineEdit*>()).startsWith(u"Tutaj wprowadź czas"_s));
    EXPECT_TRUE(HelpOver(Page().Button2).endsWith(u"kliknij przycisk \"Zastosuj\"."_s));
    const QString last = HelpOver(Page().Button2);
    EXPECT_EQ(HelpOver(Page().BitBtn1), last);
    EXPECT_EQ(HelpOver(Page().SpeedButton2), last);
}
