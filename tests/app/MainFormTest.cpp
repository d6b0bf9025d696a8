// The main window's start and end: the program's own settings, the window's place and page,
// the computer's name, the memory size and MsDos.sys.
#include "Files.h"
#include "MainFormFixture.h"
#include "TRegistry.h"
#include "kodFrDOS.h"
#include "kodFrInfo.h"
#include "kodFrSiec.h"
#include "kodFrSztuczki.h"
#include "kodFrWindows.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kSettings = QStringLiteral("Software\\Tolmar\\Ustawienia");

QByteArray Settings(int left, int top, const QByteArray& page)
{
    return "\n[Software\\\\Tolmar\\\\Ustawienia] 1796737660\n#time=1dd871ab1a0c09e\n"
           "\"AktywnaKartaIndex\"=" +
           page +
           "\n"
           "\"Version\"=\"changed by hand\"\n"
           "\"WindowLeft\"=dword:" +
           QByteArray::number(left, 16).rightJustified(8, '0') +
           "\n"
           "\"WindowTop\"=dword:" +
           QByteArray::number(top, 16).rightJustified(8, '0') + "\n";
}

QPoint ScreenCentre(const QWidget& window)
{
    return QGuiApplication::primaryScreen()->geometry().center() - window.rect().center();
}

} // namespace

TEST_F(MainFormTest, EmptyRegistryStartsCentredOnTheFirstPage)
{
    TMainForm& form = Start();
    EXPECT_TRUE(form.Centred());
    EXPECT_EQ(form.pos(), ScreenCentre(form));
    EXPECT_EQ(form.Karty->currentIndex(), 0);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kSettings, QStringLiteral("Version")),
              QStringLiteral("Tolmar Quorvex"));
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kSettings, QStringLiteral("ShortVersion")),
              QStringLiteral("Tolmar QX"));
    EXPECT_FALSE(Reg(HKEY_CURRENT_USER, kSettings, QStringLiteral("WindowLeft")));
    const QPoint where = form.pos();
    form.close();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("WindowLeft")), where.x());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("WindowTop")), where.y());
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("AktywnaKartaIndex")), 0);
}

TEST_F(MainFormTest, WindowLooksAsDesigned)
{
    TMainForm& form = Start();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tolmar 3.0 - Quorvex"));
    EXPECT_EQ(form.size(), QSize(792, 498));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_EQ(form.Karty->count(), 10);
    const QStringList captions = {
        "Ikony",       "Pliki i foldery", "Interfejs użytkownika",   "Windows",
        "Sieć",        "MS-DOS",          "Informacje o sprzedawcy", "Edytor plików systemowych",
        "O programie", "Sztuczki"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(form.Karty->tabText(i), captions[i]);
        EXPECT_FALSE(form.Karty->tabIcon(i).isNull());
    }
    EXPECT_EQ(form.Karty->geometry(), QRect(3, 0, 649, 498));
    EXPECT_EQ(form.Menu->geometry(), QRect(656, 104, 130, 160));
    EXPECT_EQ(form.MenuTips->geometry(), QRect(656, 288, 130, 180));
    EXPECT_EQ(form.LabelDla->text(), QStringLiteral("Dla:"));
    EXPECT_TRUE(form.LabelDla->font().bold());
    EXPECT_FALSE(form.LabelNazwa->font().bold());
    // Its height is a cell height: characters and internal leading together.
    const QFontMetrics clockMetrics(form.Zegar->font());
    EXPECT_NEAR(clockMetrics.ascent() + clockMetrics.descent(), 25, 1);
    EXPECT_EQ(form.Zegar->palette().color(QPalette::WindowText), QColor(35, 100, 255));
    EXPECT_FALSE(form.Zegar->text().isEmpty());
    // The colours must survive drawing, not only sit in the palette.
    form.show();
    const QImage clock = form.Zegar->grab().toImage();
    int painted = 0;
    for (int x = 0; x < clock.width(); ++x)
        for (int y = 0; y < clock.height(); ++y)
            painted += clock.pixelColor(x, y) == QColor(35, 100, 255);
    EXPECT_GT(painted, 20);
}

TEST_F(MainFormTest, SavedPlaceAndPageAreRestored)
{
    machine.WriteHive(QStringLiteral("user.reg"), Settings(120, 45, "dword:00000004"));
    TMainForm& form = Start();
    EXPECT_FALSE(form.Centred());
    EXPECT_EQ(form.pos(), QPoint(120, 45));
    EXPECT_EQ(form.Karty->currentIndex(), 4);
}

TEST_F(MainFormTest, VersionValuesAreRewrittenAtEveryStart)
{
    machine.WriteHive(QStringLiteral("user.reg"), Settings(1, 2, "dword:00000000"));
    Start();
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kSettings, QStringLiteral("Version")),
              QStringLiteral("Tolmar Quorvex"));
}

TEST_F(MainFormTest, ClosingOnTheTricksPageOpensItNextTime)
{
    TMainForm& form = Start();
    form.Karty->setCurrentIndex(9);
    form.move(30, 40);
    TMainForm& next = Restart();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("AktywnaKartaIndex")), 9);
    EXPECT_EQ(next.Karty->currentIndex(), 9);
    EXPECT_EQ(next.pos(), QPoint(30, 40));
}

TEST_F(MainFormTest, AMissingOrMistypedValueCentresTheWindowAndKeepsTheFirstPage)
{
    QByteArray hive = Settings(120, 45, "dword:00000003");
    hive.replace("\"WindowTop\"=dword:0000002d", "\"WindowTop\"=\"45\"");
    machine.WriteHive(QStringLiteral("user.reg"), hive);
    TMainForm& form = Start();
    EXPECT_TRUE(form.Centred());
    EXPECT_EQ(form.Karty->currentIndex(), 0);
}

TEST_F(MainFormTest, OnlyThePageIndexMissingStillCentres)
{
    QByteArray hive = Settings(120, 45, "dword:00000003");
    hive.replace("\"AktywnaKartaIndex\"=dword:00000003\n", "");
    machine.WriteHive(QStringLiteral("user.reg"), hive);
    TMainForm& form = Start();
    EXPECT_TRUE(form.Centred());
    EXPECT_EQ(form.Karty->currentIndex(), 0);
}

TEST_F(MainFormTest, AnIndexOutsideThePagesShowsTheFirstAndHealsOnClose)
{
    machine.WriteHive(QStringLiteral("user.reg"), Settings(10, 10, "dword:0000000f"));
    TMainForm& form = Start();
    EXPECT_EQ(form.Karty->currentIndex(), 0);
    TMainForm& next = Restart();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("AktywnaKartaIndex")), 0);
    EXPECT_EQ(next.Karty->currentIndex(), 0);
}

TEST_F(MainFormTest, ARemovedSettingsKeyStillLetsTheWindowClose)
{
    TMainForm& form = Start();
    TRegistry reg;
    reg.DeleteKey(QStringLiteral("Software\\Tolmar"));
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_TRUE(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("WindowLeft")).has_value());
}

TEST_F(MainFormTest, ComputerNameAndMemorySize)
{
    machine.WriteHive(
        QStringLiteral("system.reg"),
        "\n[System\\\\CurrentControlSet\\\\Control\\\\ComputerName\\\\ComputerName] 1796737660\n"
        "#time=1dd871ab1a0c09e\n\"ComputerName\"=\"KOMPUTER-\\x141\"\n");
    Machine::Options options;
    options.totalMemory = 96ull << 20;
    TMainForm& form = Start(options);
    EXPECT_EQ(form.LabelNazwa->text(), QStringLiteral("KOMPUTER-Ł"));
    EXPECT_EQ(form.frWindows->Label7->text(), QStringLiteral("96"));
    EXPECT_EQ(form.frWindows->TrackBar1->maximum(), 96);
}

TEST_F(MainFormTest, NoComputerNameLeavesTheLabelEmpty)
{
    TMainForm& form = Start();
    EXPECT_EQ(form.LabelNazwa->text(), QString());
}

TEST_F(MainFormTest, MsDosSysEndsReadOnlyAndHidden)
{
    if (!SupportsDosAttributes(machine.Prefix())) GTEST_SKIP() << "no extended attributes here";
    machine.WriteFile(QStringLiteral("drive_c/MSDOS.SYS"), "[Options]\r\nBootGUI=1\r\n");
    Start();
    FileSetAttr(QStringLiteral("C:\\MSDOS.SYS"), faSysFile);
    Stop();
    machine.Open();
    EXPECT_EQ(FileGetAttr(QStringLiteral("C:\\MsDos.sys")), faArchive | faReadOnly | faHidden);
}

TEST_F(MainFormTest, PagesUpToTheShownOneAreFilledBeforeTheFirstFrameAndTheRestRightAfter)
{
    const QString dosFile = QStringLiteral("drive_c/MSDOS.SYS");
    machine.WriteFile(dosFile, "");
    machine.WriteHive(QStringLiteral("user.reg"), Settings(120, 45, "dword:00000003"));
    fillAllPages = false;
    TMainForm& form = Start();
    ASSERT_NE(form.frWindows, nullptr);
    EXPECT_FALSE(form.frWindows->Label7->text().isEmpty()) << "the memory size";
    EXPECT_EQ(form.FrSiec, nullptr);
    EXPECT_EQ(form.FrDOS, nullptr);
    EXPECT_EQ(machine.ReadFile(dosFile), "") << "nothing of a later page is written yet";

    ASSERT_TRUE(QTest::qWaitFor([&] { return form.FrSztuczki != nullptr; }, 10000));
    ASSERT_NE(form.FrDOS, nullptr);
    EXPECT_TRUE(form.FrDOS->CheckBox4->isChecked());
    EXPECT_TRUE(machine.ReadFile(dosFile).contains("BootGUI=1"));
}

TEST_F(MainFormTest, ShowingAPageBuildsAndFillsItAndThoseBeforeItFirst)
{
    const QString dosFile = QStringLiteral("drive_c/MSDOS.SYS");
    machine.WriteFile(dosFile, "");
    fillAllPages = false;
    TMainForm& form = Start();
    EXPECT_EQ(form.FrPlikiFoldery, nullptr);
    form.Karty->setCurrentIndex(6);
    EXPECT_NE(form.FrPlikiFoldery, nullptr);
    EXPECT_NE(form.frInfo, nullptr);
    EXPECT_TRUE(machine.ReadFile(dosFile).contains("BootGUI=1")) << "the MS-DOS page was filled";
    EXPECT_EQ(form.frEdytorSysFiles, nullptr);
}
