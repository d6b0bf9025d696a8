// The settings dialog, the folder context-menu entry, snapping and the clock.
#include "MainFormFixture.h"
#include "Snapping.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSettings = QStringLiteral("Software\\Tolmar\\Ustawienia");
const QString kEntry = QStringLiteral("Software\\CLASSES\\Directory\\shell\\Tolmar QX");

QByteArray Settings(const char* values)
{
    return QByteArray("\n[Software\\\\Tolmar\\\\Ustawienia] 1796737660\n#time=1dd871ab1a0c09e\n") +
           values;
}

} // namespace

TEST_F(MainFormTest, TheDialogReadsBothSettingsAndRewritesTheEntryWithTodaysPath)
{
    machine.WriteHive(QStringLiteral("user.reg"),
                      Settings("\"Integracja\"=dword:00000001\n\"Magnetyzm\"=dword:00000001\n"));
    machine.WriteHive(
        QStringLiteral("system.reg"),
        "\n[Software\\\\CLASSES\\\\Directory\\\\shell\\\\Tolmar QX\\\\command] 1796737660\n"
        "#time=1dd871ab1a0c09e\n@=\"C:\\\\Stary folder\\\\tolmar.exe\"\n");
    Start();
    EXPECT_TRUE(Windows().fmSet.CheckBox1->isChecked());
    EXPECT_TRUE(Windows().fmSet.CheckBox2->isChecked());
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kEntry, QString()), QStringLiteral("Uruchom Tolmar QX"));
    const QString path = Text(HKEY_LOCAL_MACHINE, kEntry + QStringLiteral("\\command"), QString())
                             .value_or(QString());
    EXPECT_EQ(path, machine.Get().Paths().ToWindows(QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(path.startsWith(QStringLiteral("Z:\\"))) << path.toStdString();
    EXPECT_FALSE(path.contains(u'"'));
}

TEST_F(MainFormTest, NoSettingsLeaveBothBoxesUncheckedAndWriteNothing)
{
    Start();
    EXPECT_FALSE(Windows().fmSet.CheckBox1->isChecked());
    EXPECT_FALSE(Windows().fmSet.CheckBox2->isChecked());
    EXPECT_FALSE(Reg(HKEY_CURRENT_USER, kSettings, QStringLiteral("Integracja")));
    EXPECT_FALSE(Reg(HKEY_CURRENT_USER, kSettings, QStringLiteral("Magnetyzm")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
}

TEST_F(MainFormTest, UncheckingTheEntryRemovesTheWholeKey)
{
    Start();
    Windows().fmSet.CheckBox1->click();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kEntry + QStringLiteral("\\command")));
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("Integracja")), 1);
    Windows().fmSet.CheckBox1->click();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
    EXPECT_TRUE(
        KeyExists(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\CLASSES\\Directory\\shell")));
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("Integracja")), 0);
}

TEST_F(MainFormTest, AMissingSettingsKeyFailsSilentlyAndWritesNoEntry)
{
    Start();
    TRegistry reg;
    reg.DeleteKey(QStringLiteral("Software\\Tolmar"));
    Windows().fmSet.CheckBox1->click();
    Windows().fmSet.CheckBox2->click();
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
}

TEST_F(MainFormTest, SnappingFollowsTheBox)
{
    // The rule itself is tested on its own; here, that a move of the window goes through it
    // exactly when the box is checked.
    TMainForm& form = Start();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto moveTo = [&](QPoint where) {
        form.move(where);
        QCoreApplication::processEvents();
        return form.pos();
    };
    const QPoint nearCorner(area.left() + 3, area.top() + 4);
    EXPECT_EQ(moveTo(nearCorner), nearCorner) << "no snapping while unchecked";
    Windows().fmSet.CheckBox2->click();
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, kSettings, QStringLiteral("Magnetyzm")), 1);
    moveTo({area.left() + 40, area.top() + 40});
    const QPoint snapped = moveTo(nearCorner);
    EXPECT_EQ(snapped, SnapToWorkArea(nearCorner, form.frameGeometry().size(), area));
    EXPECT_NE(snapped, nearCorner);
    Windows().fmSet.CheckBox2->click();
    moveTo({area.left() + 40, area.top() + 40});
    EXPECT_EQ(moveTo(nearCorner), nearCorner);
}

TEST_F(MainFormTest, TheClockShowsTheTimeOnceASecond)
{
    TMainForm& form = Start();
    EXPECT_EQ(form.Zegar->text(), LongTimeString(QTime(14, 5, 9)));
    clock.time = QTime(23, 59, 58);
    clock.sleepsLeft = 2;
    TWatekCzasu thread;
    thread.ShowOn(form.Zegar);
    thread.start(QThread::IdlePriority);
    ASSERT_TRUE(thread.wait(5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(form.Zegar->text(), LongTimeString(QTime(23, 59, 58)));
    EXPECT_EQ(clock.slept, 3000);
    EXPECT_EQ(LongTimeString(QTime(14, 5, 9)), QStringLiteral("14:05:09"));
}

TEST_F(MainFormTest, DoubleClickOnTheClockRunsTheDateAndTimeApplet)
{
    QTemporaryDir bin;
    MakeFakeProgram(bin.path(), QStringLiteral("wine"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ":" + path);
    QStringList launched;
    Machine::Options options;
    options.launch = [&](const QString& program, const QStringList& arguments,
                         const QStringList& env) {
        launched << QFileInfo(program).fileName() + u' ' + arguments.join(u' ') + u' ' +
                        env.join(u' ');
    };
    TMainForm& form = Start(options);
    machine.Get().Flush();
    // Tolmar's own machine is no Wine prefix, and Wine would make it one: nothing starts and
    // nothing of the machine changes but the journal.
    const auto snapshot = [&] {
        auto entries = FolderSnapshot(machine.Prefix());
        std::erase_if(entries, [](const auto& entry) { return entry.first.contains(u"/.tolmar"); });
        return entries;
    };
    const auto before = snapshot();
    QTest::mouseDClick(form.Zegar, Qt::LeftButton);
    machine.Get().Flush();
    EXPECT_TRUE(launched.isEmpty());
    EXPECT_EQ(snapshot(), before);

    QDir().mkpath(machine.Host(QStringLiteral("dosdevices")));
    QTest::mouseDClick(form.Zegar, Qt::LeftButton);
    QTest::mouseDClick(form.rysunek_kuli, Qt::LeftButton);
    qputenv("PATH", path);
    ASSERT_EQ(launched.size(), 2);
    EXPECT_EQ(launched[0],
              QStringLiteral("wine rundll32 shell32,Control_RunDLL timedate.cpl WINEPREFIX=") +
                  machine.Get().Prefix());
    EXPECT_EQ(launched[1], launched[0]);
}
