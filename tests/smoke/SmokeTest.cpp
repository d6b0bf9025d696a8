// The real executable under a display: start on a fresh machine, stop with SIGTERM, and check
// what the start and the end wrote. TOLMAR_SMOKE_EXE names another executable to test, such as
// the installed one.
#include "Files.h"
#include "Machine.h"
#include "TempMachine.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Executable()
{
    const QString named = qEnvironmentVariable("TOLMAR_SMOKE_EXE");
    return named.isEmpty() ? QStringLiteral(TOLMAR_EXE) : named;
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Smoke, FreshMachineStartsAndStopsCleanly)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    QTemporaryDir home;
    const QString prefix = home.path() + QStringLiteral("/machine");
    QProcess tolmar;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TOLMAR_MACHINE"), prefix);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    tolmar.setProcessEnvironment(env);
    tolmar.start(Executable(), {});
    ASSERT_TRUE(tolmar.waitForStarted(10000));

    // The start-up writes are saved once the window's first events have been handled.
    const bool started = QTest::qWaitFor(
        [&] {
            return Read(prefix + QStringLiteral("/user.reg"))
                .contains("\"Version\"=\"Tolmar Quorvex\"");
        },
        30000);
    ASSERT_TRUE(started) << tolmar.readAllStandardError().toStdString();
    EXPECT_EQ(tolmar.state(), QProcess::Running);

    tolmar.terminate();
    ASSERT_TRUE(tolmar.waitForFinished(20000));
    EXPECT_EQ(tolmar.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tolmar.exitCode(), 0);

    const QByteArray user = Read(prefix + QStringLiteral("/user.reg"));
    for (const char* value :
         {"\"WindowLeft\"=dword:", "\"WindowTop\"=dword:", "\"AktywnaKartaIndex\"=dword:00000000",
          "\"ShortVersion\"=\"Tolmar QX\""})
        EXPECT_TRUE(user.contains(value)) << value;

    Machine machine(prefix); // the machine is free again
    SetCurrentPlatform(&machine);
    const QString msdos = QStringLiteral("C:\\MsDos.sys");
    EXPECT_TRUE(FileGetAttr(msdos) & faReadOnly);
    if (SupportsDosAttributes(prefix)) {
        EXPECT_EQ(FileGetAttr(msdos), faArchive | faReadOnly | faHidden);
    }
    SetCurrentPlatform(nullptr);
}

TEST(Smoke, VersionIsPrintedWithoutADisplay)
{
    QProcess tolmar;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    tolmar.setProcessEnvironment(env);
    tolmar.start(Executable(), {QStringLiteral("--version")});
    ASSERT_TRUE(tolmar.waitForFinished(20000));
    EXPECT_EQ(tolmar.exitCode(), 0) << tolmar.readAllStandardError().toStdString();
    EXPECT_EQ(tolmar.readAllStandardOutput(), "Tolmar Quorvex\nTolmar QX\n");
}

// Without a display no window can open: a start that would be refused says why on the console,
// one that would run says that it needs a display; both end with 1 and leave no machine made.
TEST(Smoke, WithoutADisplayTheReasonIsPrintedOnTheConsole)
{
    QTemporaryDir home;
    TempMachine held;
    held.WriteHive(QStringLiteral("user.reg"), QByteArray());
    held.WriteHive(QStringLiteral("system.reg"), QByteArray());
    held.Open();
    const struct
    {
        QStringList arguments;
        const char* said;
    } cases[] = {
        {{QStringLiteral("--machine"), QStringLiteral("/nonexistent")},
         "Folder maszyny „/nonexistent” nie istnieje."},
        {{QStringLiteral("--machine"), held.Prefix()}, "jest już otwarta w innym programie Tolmar"},
        {{}, "brak ekranu"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        QProcess tolmar;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("TOLMAR_MACHINE"), home.path() + QStringLiteral("/machine"));
        tolmar.setProcessEnvironment(env);
        tolmar.start(Executable(), c.arguments);
        ASSERT_TRUE(tolmar.waitForFinished(20000));
        const QString printed = QString::fromLocal8Bit(tolmar.readAllStandardError());
        EXPECT_EQ(tolmar.exitStatus(), QProcess::NormalExit) << qPrintable(printed);
        EXPECT_EQ(tolmar.exitCode(), 1) << qPrintable(printed);
        EXPECT_TRUE(printed.contains(QString::fromUtf8(c.said))) << qPrintable(printed);
        EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/machine")));
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
