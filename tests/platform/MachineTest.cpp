// Opening, holding and saving a machine: locks, foreign writers, crashes and the default machine.
#include "Files.h"
#include "System.h"
#include "TRegistry.h"
#include "TempMachine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Fixture(const char* name)
{
    QFile f(QStringLiteral(TOLMAR_FIXTURES "/wine-prefix/") + QString::fromLatin1(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString OpenError(const QString& prefix)
{
    try {
        Machine machine(prefix);
    } catch (const MachineError& e) {
        return e.Text();
    }
    return QString();
}

// A child process that holds a write lock on byte 0 of a file, as a running wineserver does,
// until the returned pipe is closed.
struct LockHolder
{
    pid_t pid = -1;
    int release = -1;

    explicit LockHolder(const QString& lockFile)
    {
        int ready[2], hold[2];
        if (::pipe(ready) != 0 || ::pipe(hold) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(hold[1]);
            const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDWR | O_CREAT, 0600);
            struct flock lock = {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_len = 1;
            ::fcntl(fd, F_SETLK, &lock);
            char c = 1;
            ::write(ready[1], &c, 1);
            ::read(hold[0], &c, 1);
            ::_exit(0);
        }
        char c;
        ::read(ready[0], &c, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(hold[0]);
        release = hold[1];
    }
    ~LockHolder()
    {
        ::close(release);
        ::waitpid(pid, nullptr, 0);
    }
};

QString ServerDir(const QString& prefix)
{
    struct stat st = {};
    ::stat(QFile::encodeName(prefix).constData(), &st);
    return QStringLiteral("server-%1-%2")
        .arg(qulonglong(st.st_dev), 0, 16)
        .arg(qulonglong(st.st_ino), 0, 16);
}

} // namespace

TEST(MachineOpen, SecondInstanceIsRefused)
{
    TempMachine m;
    m.Open();
    const QString error = OpenError(m.Prefix());
    EXPECT_TRUE(error.contains(QStringLiteral("jest już otwarta"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(m.Prefix()));
    m.Close();
    EXPECT_EQ(OpenError(m.Prefix()), QString());
}

TEST(MachineOpen, RunningWineserverIsRefused)
{
    TempMachine m;
    QTemporaryDir debianTmp;
    QDir().mkpath(debianTmp.path() + u'/' + ServerDir(m.Prefix()));
    m.WriteFile(QStringLiteral("wineserver"), debianTmp.path().toLocal8Bit() + "\n");
    {
        LockHolder server(debianTmp.path() + u'/' + ServerDir(m.Prefix()) +
                          QStringLiteral("/lock"));
        const QString error = OpenError(m.Prefix());
        EXPECT_TRUE(error.contains(QStringLiteral("wineserver"))) << qPrintable(error);
    }
    // A lock file that nobody holds is what a stopped server leaves behind.
    EXPECT_EQ(OpenError(m.Prefix()), QString());
    // Debian writes the folder's name relative to the temporary folder.
    QTemporaryDir relativeTmp(QDir::tempPath() + QStringLiteral("/wine-XXXXXX"));
    QDir().mkpath(relativeTmp.path() + u'/' + ServerDir(m.Prefix()));
    m.WriteFile(QStringLiteral("wineserver"),
                QFileInfo(relativeTmp.path()).fileName().toLocal8Bit());
    {
        LockHolder server(relativeTmp.path() + u'/' + ServerDir(m.Prefix()) +
                          QStringLiteral("/lock"));
        EXPECT_TRUE(OpenError(m.Prefix()).contains(QStringLiteral("wineserver")));
    }

    const QString upstream =
        QStringLiteral("/tmp/.wine-%1/").arg(::getuid()) + ServerDir(m.Prefix());
    ASSERT_TRUE(QDir().mkpath(upstream));
    {
        LockHolder server(upstream + QStringLiteral("/lock"));
        EXPECT_TRUE(OpenError(m.Prefix()).contains(QStringLiteral("wineserver")));
    }
    QDir(upstream).removeRecursively();
}

TEST(MachineOpen, UnreadableRegistryIsRefused)
{
    TempMachine m;
    m.WriteFile(QStringLiteral("system.reg"), "REGEDIT4\r\n");
    const QString error = OpenError(m.Prefix());
    EXPECT_TRUE(error.contains(QStringLiteral("system.reg"))) << qPrintable(error);
}

TEST(MachineSave, NothingIsWrittenUntilSomethingChanges)
{
    TempMachine m;
    m.WriteFile(QStringLiteral("system.reg"), Fixture("system.reg"));
    m.Open();
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(QStringLiteral("Software"), false);
    reg.ReadString(QStringLiteral("x"));
    m.Close();
    EXPECT_FALSE(QFileInfo::exists(m.Host(QStringLiteral("user.reg"))));
    EXPECT_EQ(m.ReadFile(QStringLiteral("system.reg")), Fixture("system.reg"));
}

TEST(MachineSave, ChangesAreWrittenOnceTheEventIsHandled)
{
    int argc = 1;
    char name[] = "tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TempMachine m;
    m.WriteFile(QStringLiteral("user.reg"), Fixture("user.reg"));
    m.Open();
    const QString host = m.Host(QStringLiteral("user.reg"));
    const auto before = m.ReadFile(QStringLiteral("user.reg"));
    {
        TRegistry reg;
        reg.OpenKey(QStringLiteral("Software\\Tolmar\\Ustawienia"), true);
        for (int i = 0; i < 50; ++i)
            reg.WriteInteger(QStringLiteral("N%1").arg(i), i);
    }
    EXPECT_EQ(m.ReadFile(QStringLiteral("user.reg")), before);
    QCoreApplication::processEvents();
    const QByteArray after = m.ReadFile(QStringLiteral("user.reg"));
    EXPECT_TRUE(after.contains("\"N49\"=dword:00000031"));
    // The rest of the file is what Wine wrote.
    EXPECT_TRUE(after.startsWith(before.left(before.indexOf("[Software\\\\Wine"))));
    m.Close();
}

TEST(MachineSave, AFileChangedOnDiskIsNotOverwritten)
{
    TempMachine m;
    m.WriteFile(QStringLiteral("user.reg"), Fixture("user.reg"));
    m.Open();
    QStringList reported;
    m.Get().SetSaveErrorHandler([&](const QString& text) { reported << text; });
    const QByteArray foreign =
        Fixture("user.reg") + "\n[Foreign] 1796737660\n#time=1dd871ab1a0c09e\n";
    m.WriteFile(QStringLiteral("user.reg"), foreign);
    TRegistry reg;
    reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
    reg.WriteString(QStringLiteral("Version"), QStringLiteral("Tolmar Quorvex"));
    m.Get().Flush();
    reg.WriteString(QStringLiteral("ShortVersion"), QStringLiteral("Tolmar QX"));
    m.Get().Flush();
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("user.reg")));
    EXPECT_EQ(m.ReadFile(QStringLiteral("user.reg")), foreign);
    const QByteArray ours = m.ReadFile(QStringLiteral("user.reg.tolmar"));
    EXPECT_TRUE(ours.contains("\"ShortVersion\"=\"Tolmar QX\""));
    EXPECT_TRUE(ours.contains("\"Version\"=\"Tolmar Quorvex\""));
}

TEST(MachineSave, AKilledSaveLeavesTheOldOrTheNewFile)
{
    TempMachine m;
    m.WriteFile(QStringLiteral("system.reg"), Fixture("system.reg"));
    for (int round = 0; round < 12; ++round) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(progress[0]);
            try {
                Machine machine(m.Prefix());
                SetCurrentPlatform(&machine);
                TRegistry reg;
                reg.SetRootKey(HKEY_LOCAL_MACHINE);
                reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
                for (int i = 1;; ++i) {
                    reg.WriteInteger(QStringLiteral("Save"), i);
                    machine.Flush();
                    char c = 1;
                    ::write(progress[1], &c, 1);
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        ::close(progress[1]);
        char c;
        for (int i = 0; i <= round % 3; ++i)
            ASSERT_EQ(::read(progress[0], &c, 1), 1);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(progress[0]);

        const QByteArray text = m.ReadFile(QStringLiteral("system.reg"));
        const auto hive = RegistryHive::Parse(text);
        EXPECT_EQ(QByteArray::fromStdString(hive->Serialize()), text)
            << "torn file in round " << round;
        const RegNode* tolmar = hive->Root().Child(u"Software")->Child(u"Tolmar");
        ASSERT_NE(tolmar, nullptr);
        EXPECT_NE(tolmar->Value(u"Save"), nullptr);
    }
    m.Open();
    EXPECT_TRUE(QDir(m.Prefix())
                    .entryList({QStringLiteral(".tolmar-*")}, QDir::Files | QDir::Hidden)
                    .isEmpty())
        << "temporary files of killed saves are cleared when the machine opens";
}

TEST(DefaultMachine, LocationFollowsTheEnvironment)
{
    const QByteArray oldMachine = qgetenv("TOLMAR_MACHINE");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("TOLMAR_MACHINE", "/somewhere/m");
    EXPECT_EQ(DefaultMachinePath(), QStringLiteral("/somewhere/m"));
    qunsetenv("TOLMAR_MACHINE");
    qputenv("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(DefaultMachinePath(), QStringLiteral("/data/home/tolmar/machine"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DefaultMachinePath(),
              QDir::homePath() + QStringLiteral("/.local/share/tolmar/machine"));
    if (!oldMachine.isNull()) qputenv("TOLMAR_MACHINE", oldMachine);
    if (!oldData.isNull()) qputenv("XDG_DATA_HOME", oldData);
}

TEST(DefaultMachine, MadeFromTheTemplateOnFirstUse)
{
    QTemporaryDir home;
    const QString prefix = home.path() + QStringLiteral("/tolmar/machine");
    CreateMachineIfMissing(prefix, QStringLiteral(TOLMAR_TEMPLATE));
    Machine machine(prefix);
    SetCurrentPlatform(&machine);
    EXPECT_EQ(GetSystemPath(QStringLiteral("win")), QStringLiteral("C:\\WINDOWS"));
    EXPECT_EQ(GetSystemPath(QStringLiteral("sys")), QStringLiteral("C:\\WINDOWS\\SYSTEM"));
    const QString msdos = GetSystemPath(QStringLiteral("dysk")) + QStringLiteral("\\MsDos.sys");
    EXPECT_TRUE(FileExists(msdos));
    EXPECT_TRUE(FileGetAttr(msdos) & faReadOnly);
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(
        QStringLiteral("System\\CurrentControlSet\\Control\\ComputerName\\ComputerName"), false));
    EXPECT_FALSE(reg.ReadString(QStringLiteral("ComputerName")).isEmpty());
    EXPECT_TRUE(FileExists(GetSystemPath(QStringLiteral("win")) + QStringLiteral("\\System.ini")));
    EXPECT_TRUE(
        DirectoryExists(GetSystemPath(QStringLiteral("win")) + QStringLiteral("\\Web\\Wallpaper")));
    EXPECT_TRUE(
        DirectoryExists(GetSystemPath(QStringLiteral("win")) + QStringLiteral("\\Menu Start")));
    SetCurrentPlatform(nullptr);
    // An existing machine is never touched by the template.
    QFile::remove(prefix + QStringLiteral("/system.reg"));
    CreateMachineIfMissing(prefix, QStringLiteral(TOLMAR_TEMPLATE));
    EXPECT_FALSE(QFileInfo::exists(prefix + QStringLiteral("/system.reg")));
}
