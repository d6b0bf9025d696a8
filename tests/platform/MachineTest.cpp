// Opening, holding and saving a machine: locks, refusals that write nothing, foreign writers and
// the default machine.
#include "Files.h"
#include "System.h"
#include "TRegistry.h"
#include "TempMachine.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <map>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Dword(std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); }

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

// A folder nobody may create files in: the immutable flag binds root too; without it (or its
// capability) the permission bits do for anyone else.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& folder) : path_(QFile::encodeName(folder))
    {
        const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0) ::close(fd);
        if (!immutable_ && ::geteuid() != 0) permissions_ = ::chmod(path_.constData(), 0555) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (permissions_) ::chmod(path_.constData(), 0755);
        if (!immutable_) return;
        const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    bool Made() const { return immutable_ || permissions_; }

private:
    QByteArray path_;
    bool immutable_ = false;
    bool permissions_ = false;
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
    EXPECT_FALSE(QFileInfo::exists(m.Host(QStringLiteral(".tolmar.lock"))))
        << "a normal close takes its lock file away";
    EXPECT_EQ(OpenError(m.Prefix()), QString());
}

TEST(MachineOpen, RunningWineserverIsRefused)
{
    TempMachine m;
    QTemporaryDir debianTmp;
    QDir().mkpath(debianTmp.path() + u'/' + ServerDir(m.Prefix()));
    m.WriteFile(QStringLiteral("wineserver"), debianTmp.path().toLocal8Bit() + "\n");
    {
        const auto before = FolderSnapshot(m.Prefix());
        LockHolder server(debianTmp.path() + u'/' + ServerDir(m.Prefix()) +
                          QStringLiteral("/lock"));
        const QString error = OpenError(m.Prefix());
        EXPECT_TRUE(error.contains(QStringLiteral("wineserver"))) << qPrintable(error);
        EXPECT_EQ(FolderSnapshot(m.Prefix()), before) << "no lock file is left behind";
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

// Lists every key under the path, as a user browsing the registry would; gives the keys that
// open but whose keys cannot be listed.
QStringList ListAll(Machine& machine, HKEY root, const QString& path)
{
    const auto keys = machine.RegEnumKeys(root, path);
    if (!keys) return QStringList{path};
    QStringList unlisted;
    for (const QString& key : *keys)
        unlisted += ListAll(machine, root, path.isEmpty() ? key : path + u'\\' + key);
    return unlisted;
}

TEST(MachineOpen, AKeyLineThatCannotBeReadIsToldWhenItsKeysAreListedAndItsLinesKept)
{
    // Keys are read when their parent is first looked into: the start goes on, the line is told
    // once, no key is made under the parent, and the file's lines are saved as they are.
    const QByteArray small = HiveHeader("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000") +
                             "\n[Software\\\\A] 1796737660\n#time=1dd871ab1a0c09e\n\"v\"=dword:1\n"
                             "\n[Software\\\\B 1796737660\n#time=1dd871ab1a0c09e\n\"w\"=dword:2\n";
    const QByteArray fixture = Fixture("user.reg");
    const qsizetype middle = fixture.indexOf("\n[", fixture.size() / 2) + 1;
    // A key line that never closes, as a write cut off by a crash or an editor's slip leaves.
    QByteArray garbage = "[";
    for (int i = 0; i < 4096; ++i)
        garbage.append(char(0x21 + (i * 7919) % 90));
    garbage.replace(']', '!');
    const struct
    {
        QByteArray text;
        int line;
        QString reason;
    } cases[] = {
        {small, 10, QStringLiteral("znakiem „]”")},
        {fixture.left(middle) + garbage + "\n" + fixture.mid(middle),
         int(fixture.left(middle).count('\n')) + 1, QStringLiteral("znakiem „]”")},
    };
    for (const auto& c : cases) {
        TempMachine m;
        m.WriteFile(QStringLiteral("user.reg"), c.text);
        Machine& machine = m.Open();
        QStringList reported;
        machine.SetProblemHandler([&](const QString& text) { reported << text; });
        const QStringList unlisted = ListAll(machine, HKEY_CURRENT_USER, QString());
        ASSERT_EQ(unlisted.size(), 1) << qPrintable(unlisted.join(u' '));
        EXPECT_EQ(ListAll(machine, HKEY_CURRENT_USER, QString()), unlisted);
        ASSERT_EQ(reported.size(), 1) << qPrintable(reported.join(u'\n'));
        EXPECT_TRUE(reported[0].contains(QStringLiteral("user.reg"))) << qPrintable(reported[0]);
        EXPECT_TRUE(reported[0].contains(m.Prefix()));
        EXPECT_TRUE(reported[0].contains(QStringLiteral("wiersz %1:").arg(c.line)))
            << qPrintable(reported[0]);
        EXPECT_TRUE(reported[0].contains(c.reason)) << qPrintable(reported[0]);
        EXPECT_TRUE(machine.RegOpenKey(HKEY_CURRENT_USER, unlisted[0]));
        EXPECT_FALSE(machine.RegCreateKey(HKEY_CURRENT_USER, unlisted[0] + QStringLiteral("\\C")));
        ASSERT_TRUE(machine.RegSetValue(HKEY_CURRENT_USER, QString(), QStringLiteral("Made"),
                                        {REG_DWORD, Dword(5)}));
        machine.Flush();
        const QByteArray written = m.ReadFile(QStringLiteral("user.reg"));
        EXPECT_TRUE(written.contains("\"Made\"=dword:00000005"));
        const qsizetype firstKey = c.text.indexOf("\n[");
        EXPECT_TRUE(written.endsWith(c.text.mid(firstKey))) << written.constData();
    }
}

TEST(MachineOpen, AFileOutOfWinesOrderIsReadWholeWhenFoundWithTheRunsChangesKept)
{
    // Keys are found by searching a file in Wine's order; one found out of it is read whole, so
    // that no key is missed, and what the run changed before stays changed.
    TempMachine m;
    m.WriteFile(QStringLiteral("user.reg"),
                HiveHeader("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000") +
                    "\n[Software\\\\B] 1796737660\n\"v\"=dword:2\n"
                    "\n[Software\\\\A] 1796737660\n\"v\"=dword:1\n"
                    "\n[Software\\\\A\\\\Sub] 1796737660\n\"w\"=dword:3\n");
    Machine& machine = m.Open();
    QStringList reported;
    machine.SetProblemHandler([&](const QString& text) { reported << text; });
    ASSERT_TRUE(machine.RegSetValue(HKEY_CURRENT_USER, QString(), QStringLiteral("Before"),
                                    {REG_DWORD, Dword(4)}));
    const auto value = [&](const char* path, const char* name) {
        const auto found = machine.RegQueryValue(HKEY_CURRENT_USER, QString::fromLatin1(path),
                                                 QString::fromLatin1(name));
        return found ? found->data : QByteArray();
    };
    EXPECT_EQ(value("Software\\A", "v"), Dword(1));
    EXPECT_EQ(value("Software\\A\\Sub", "w"), Dword(3));
    EXPECT_EQ(value("Software\\B", "v"), Dword(2));
    EXPECT_EQ(value("", "Before"), Dword(4));
    machine.Flush();
    EXPECT_TRUE(reported.isEmpty()) << qPrintable(reported.join(u'\n'));
    const QByteArray written = m.ReadFile(QStringLiteral("user.reg"));
    EXPECT_LT(written.indexOf("[Software\\\\A]"), written.indexOf("[Software\\\\B]"));
    EXPECT_TRUE(written.contains("\"Before\"=dword:00000004"));
}

TEST(MachineOpen, AKeyOutOfOrderWhereNoSearchLandsIsFoundByTheLookAtTheWholeFile)
{
    // Searching passes over most lines of a large key unread: a key line put among them by hand
    // is found by the look at every line the machine takes on its own thread.
    int argc = 1;
    char name[6] = "tests";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QByteArray text = HiveHeader("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000") +
                      "\n[Software\\\\A] 1796737660\n\"v\"=dword:1\n"
                      "\n[Software\\\\B] 1796737660\n\"v\"=dword:2\n";
    for (int k = 0; k < 2000; ++k) {
        text += QStringLiteral("\n[Software\\\\B\\\\K%1] 1796737660\n\"v\"=dword:3\n")
                    .arg(k, 4, 10, QLatin1Char('0'))
                    .toLatin1();
        if (k == 1234) text += "\n[Software\\\\A\\\\Late] 1796737660\n\"v\"=dword:7\n";
    }
    TempMachine m;
    m.WriteFile(QStringLiteral("user.reg"), text);
    Machine& machine = m.Open();
    QStringList reported;
    machine.SetProblemHandler([&](const QString& problem) { reported << problem; });
    const QString late = QStringLiteral("Software\\A\\Late");
    // The pages look before the event loop runs, and the search does not see the key.
    EXPECT_FALSE(machine.RegOpenKey(HKEY_CURRENT_USER, late));
    bool found = false;
    for (int i = 0; i < 500 && !found; ++i) {
        QCoreApplication::processEvents();
        found = machine.RegOpenKey(HKEY_CURRENT_USER, late);
        if (!found) QThread::msleep(10);
    }
    ASSERT_TRUE(found);
    const auto value = machine.RegQueryValue(HKEY_CURRENT_USER, late, QStringLiteral("v"));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, Dword(7));
    EXPECT_TRUE(reported.isEmpty()) << qPrintable(reported.join(u'\n'));
}

TEST(MachineOpen, AValueThatCannotBeReadIsToldWhenItsKeyIsOpenedAndItsLinesKept)
{
    // Values are read when their key is first opened: the start goes on, the key is told once
    // with its line, none of its values is read or written, and its lines are saved as they are.
    TempMachine m;
    const QByteArray fixture = Fixture("user.reg");
    const qsizetype keyLine = fixture.indexOf("\n[Control Panel\\\\Desktop]") + 1;
    ASSERT_GT(keyLine, 0);
    const qsizetype valueLine = fixture.indexOf('\n', fixture.indexOf("#time=", keyLine)) + 1;
    const QByteArray broken = "\"Broken\"=what\n";
    m.WriteFile(QStringLiteral("user.reg"),
                fixture.left(valueLine) + broken + fixture.mid(valueLine));
    Machine& machine = m.Open();
    QStringList reported;
    machine.SetProblemHandler([&](const QString& text) { reported << text; });
    const QString desktop = QStringLiteral("Control Panel\\Desktop");
    EXPECT_TRUE(machine.RegOpenKey(HKEY_CURRENT_USER, desktop));
    EXPECT_FALSE(machine.RegQueryValue(HKEY_CURRENT_USER, desktop, QStringLiteral("Wallpaper")));
    EXPECT_FALSE(machine.RegSetValue(HKEY_CURRENT_USER, desktop, QStringLiteral("Wallpaper"),
                                     {REG_SZ, QByteArray(2, '\0')}));
    EXPECT_FALSE(machine.RegEnumValues(HKEY_CURRENT_USER, desktop));
    ASSERT_EQ(reported.size(), 1);
    const int line = int(fixture.left(valueLine).count('\n')) + 1;
    EXPECT_TRUE(reported[0].contains(QStringLiteral("wiersz %1:").arg(line)))
        << qPrintable(reported[0]);
    ASSERT_TRUE(machine.RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Tolmar")));
    machine.Flush();
    const QByteArray written = m.ReadFile(QStringLiteral("user.reg"));
    EXPECT_TRUE(written.contains(fixture.mid(keyLine - 1, valueLine - keyLine + 1) + broken));
    EXPECT_TRUE(written.contains("\n[Software\\\\Tolmar] "));
}

TEST(MachineOpen, ARefusedStartLeavesTheFolderAsItWas)
{
    for (const QByteArray& system : {QByteArray(), QByteArray("\x01\xff garbage\n"),
                                     QByteArray("WINE REGISTRY Version 2\n#arch=win16\n[A]\n"),
                                     QByteArray("WINE REGISTRY Version 2\n\"v\"=dword:1\n[A]\n")}) {
        TempMachine m;
        m.WriteFile(QStringLiteral("system.reg"), system);
        m.WriteFile(QStringLiteral(".tolmar-stale1"), "a save cut short");
        const auto before = FolderSnapshot(m.Prefix());
        EXPECT_TRUE(OpenError(m.Prefix()).contains(QStringLiteral("system.reg")));
        EXPECT_EQ(FolderSnapshot(m.Prefix()), before) << system.constData();
    }
    // A registry file that cannot be opened at all.
    TempMachine m;
    QDir().mkpath(m.Host(QStringLiteral("user.reg")));
    const auto before = FolderSnapshot(m.Prefix());
    EXPECT_TRUE(OpenError(m.Prefix()).contains(QStringLiteral("user.reg")));
    EXPECT_EQ(FolderSnapshot(m.Prefix()), before);
}

TEST(MachineOpen, ALockThatCannotBeMadeIsNotAnotherTolmar)
{
    TempMachine m;
    ASSERT_TRUE(QDir().mkpath(m.Host(QStringLiteral(".tolmar.lock"))));
    const auto before = FolderSnapshot(m.Prefix());
    const QString error = OpenError(m.Prefix());
    EXPECT_TRUE(error.contains(QStringLiteral("Nie można utworzyć pliku blokady")))
        << qPrintable(error);
    EXPECT_TRUE(error.contains(m.Host(QStringLiteral(".tolmar.lock"))));
    EXPECT_FALSE(error.contains(QStringLiteral("innym programie Tolmar")));
    EXPECT_EQ(FolderSnapshot(m.Prefix()), before);
}

TEST(MachineOpen, ALockFileThatIsALinkIsNamedAsSuch)
{
    for (const char* target : {"/nonexistent/lock", "system.reg"}) {
        SCOPED_TRACE(target);
        TempMachine m;
        m.WriteHive(QStringLiteral("system.reg"), QByteArray());
        ASSERT_TRUE(
            QFile::link(QString::fromLatin1(target), m.Host(QStringLiteral(".tolmar.lock"))));
        const auto before = FolderSnapshot(m.Prefix());
        const QString error = OpenError(m.Prefix());
        EXPECT_TRUE(error.contains(QStringLiteral("dowiązaniem"))) << qPrintable(error);
        EXPECT_TRUE(error.contains(m.Host(QStringLiteral(".tolmar.lock"))));
        EXPECT_FALSE(error.contains(QStringLiteral("innym programie Tolmar")));
        EXPECT_EQ(FolderSnapshot(m.Prefix()), before);
    }
}

// A kill during a save leaves its temporary file beside the file it was to replace; the next
// start removes it from every folder Tolmar writes, and only such files.
TEST(MachineOpen, TemporaryFilesOfAnInterruptedSaveAreRemovedWhereverTolmarWrites)
{
    TempMachine m;
    m.MakeWindows();
    const QStringList folders = {QString(), QStringLiteral("drive_c/"),
                                 QStringLiteral("drive_c/WINDOWS/"),
                                 QStringLiteral("drive_c/WINDOWS/SYSTEM/"),
                                 QStringLiteral("drive_c/WINDOWS/Web/Wallpaper/")};
    for (const QString& folder : folders) {
        m.WriteFile(folder + QStringLiteral(".tolmar-a1B2c3"), "a save cut short");
        m.WriteFile(folder + QStringLiteral(".tolmar-notes.txt"), "the user's own");
    }
    m.Open();
    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_FALSE(QFileInfo::exists(m.Host(folder + QStringLiteral(".tolmar-a1B2c3"))));
        EXPECT_TRUE(QFileInfo::exists(m.Host(folder + QStringLiteral(".tolmar-notes.txt"))));
    }
}

TEST(MachineOpen, AReadOnlyFolderIsNamedAsSuch)
{
    for (const int error : {EACCES, EPERM, EROFS})
        EXPECT_TRUE(LockFailureText(QStringLiteral("/m"), QStringLiteral("/m/.tolmar.lock"), error)
                        .contains(QStringLiteral("„/m” jest tylko do odczytu")));
    TempMachine m;
    m.WriteHive(QStringLiteral("system.reg"), QByteArray());
    const auto before = FolderSnapshot(m.Prefix());
    ReadOnlyFolder readOnly(m.Prefix());
    if (!readOnly.Made())
        GTEST_SKIP() << "root writes to a folder without write permission; no immutable flag here";
    const QString error = OpenError(m.Prefix());
    EXPECT_TRUE(error.contains(QStringLiteral("„%1” jest tylko do odczytu").arg(m.Prefix())))
        << qPrintable(error);
    EXPECT_EQ(FolderSnapshot(m.Prefix()), before);
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

// A machine on the fixture's user.reg, with an event loop to run the saves it posts.
class MachineSaveLoop : public testing::Test
{
protected:
    MachineSaveLoop()
    {
        m.WriteFile(QStringLiteral("user.reg"), Fixture("user.reg"));
        m.Open();
    }

    int argc = 1;
    char name[6] = "tests";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    TempMachine m;

    // Saves end on their own thread: the event loop runs until the file shows the value.
    bool SavedSoon(const char* value)
    {
        for (int i = 0; i < 500; ++i) {
            QCoreApplication::processEvents();
            if (m.ReadFile(QStringLiteral("user.reg")).contains(value)) return true;
            QThread::msleep(10);
        }
        return false;
    }
};

TEST_F(MachineSaveLoop, ChangesAreWrittenOnceTheEventIsHandled)
{
    const QString host = m.Host(QStringLiteral("user.reg"));
    const auto before = m.ReadFile(QStringLiteral("user.reg"));
    {
        TRegistry reg;
        reg.OpenKey(QStringLiteral("Software\\Tolmar\\Ustawienia"), true);
        for (int i = 0; i < 50; ++i)
            reg.WriteInteger(QStringLiteral("N%1").arg(i), i);
    }
    EXPECT_EQ(m.ReadFile(QStringLiteral("user.reg")), before);
    EXPECT_TRUE(SavedSoon("\"N49\"=dword:00000031"));
    const QByteArray after = m.ReadFile(QStringLiteral("user.reg"));
    // The rest of the file is what Wine wrote.
    EXPECT_TRUE(after.startsWith(before.left(before.indexOf("[Software\\\\Wine"))));
    m.Close();
}

TEST(MachineSaveThread, TheLoopIsBackBeforeTheFileIsWrittenAndTheCloseWaitsForIt)
{
    int argc = 1;
    char name[6] = "tests";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    // Large enough that writing it takes far longer than a look at the file.
    QByteArray body;
    for (int i = 0; i < 40000; ++i)
        body +=
            "\n[Software\\\\Vendor\\\\Key " + QByteArray::number(i).rightJustified(5, '0') +
            "] 1796737660\n#time=1dd871ab1a0c09e\n\"Path\"=\"C:\\\\Program Files\\\\App\"\n"
            "\"Data\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16\n";
    TempMachine m;
    m.WriteHive(QStringLiteral("user.reg"), body);
    Machine& machine = m.Open();
    const QString host = m.Host(QStringLiteral("user.reg"));
    ASSERT_TRUE(machine.RegSetValue(HKEY_CURRENT_USER,
                                    QStringLiteral("Software\\Vendor\\Key 00007"),
                                    QStringLiteral("Changed"), {REG_DWORD, Dword(1)}));
    const FileStamp before = Machine::StampOf(host);
    QCoreApplication::processEvents();
    EXPECT_EQ(Machine::StampOf(host), before) << "the save was handed over, not made";
    m.Close();
    const QByteArray written = m.ReadFile(QStringLiteral("user.reg"));
    EXPECT_TRUE(written.contains("\"Changed\"=dword:00000001\n"));
    EXPECT_EQ(written.count("\n["), 40000);
}

TEST_F(MachineSaveLoop, WhileWineRunsChangesWaitAndAreMadeOverWhatItLeft)
{
    Machine& machine = m.Get();
    std::vector<bool> told;
    machine.SetWineHandler([&](bool running) { told.push_back(running); });
    QStringList reported;
    machine.SetProblemHandler([&](const QString& text) { reported << text; });
    const QString key = QStringLiteral("Software\\Tolmar");
    ASSERT_TRUE(machine.RegCreateKey(HKEY_CURRENT_USER, key));
    machine.RegSetValue(HKEY_CURRENT_USER, key, QStringLiteral("Shared"), {REG_DWORD, Dword(1)});
    machine.Flush();
    const auto waitUntil = [](const std::function<bool()>& done, int rounds = 400) {
        for (int i = 0; i < rounds && !done(); ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        return done();
    };
    const QString server = QStringLiteral("/tmp/.wine-%1/").arg(::getuid()) + ServerDir(m.Prefix());
    ASSERT_TRUE(QDir().mkpath(server));
    {
        LockHolder wineserver(server + QStringLiteral("/lock"));
        ASSERT_TRUE(waitUntil([&] { return !told.empty(); }));
        EXPECT_EQ(told, std::vector<bool>{true});
        machine.RegSetValue(HKEY_CURRENT_USER, key, QStringLiteral("Own"), {REG_DWORD, Dword(2)});
        machine.RegSetValue(HKEY_CURRENT_USER, key, QStringLiteral("Shared"),
                            {REG_DWORD, Dword(3)});
        EXPECT_FALSE(
            waitUntil([&] { return m.ReadFile(QStringLiteral("user.reg")).contains("Own"); }, 30))
            << "held while Wine runs";
        // Wine writes back its own registry as it ends, with a change of its own.
        QByteArray wine = m.ReadFile(QStringLiteral("user.reg"));
        wine.replace("\"Shared\"=dword:00000001", "\"Shared\"=dword:00000009");
        m.WriteFile(QStringLiteral("user.reg"),
                    wine + "\n[Wine] 1796737660\n#time=1dd871ab1a0c09e\n");
    }
    ASSERT_TRUE(waitUntil([&] { return told.size() == 2; }));
    EXPECT_FALSE(told.back());
    ASSERT_TRUE(waitUntil([&] { return m.ReadFile(QStringLiteral("user.reg")).contains("Own"); }));
    const QByteArray written = m.ReadFile(QStringLiteral("user.reg"));
    EXPECT_TRUE(written.contains("\n[Wine] ")) << "what Wine left stays";
    EXPECT_TRUE(written.contains("\"Own\"=dword:00000002\n\"Shared\"=dword:00000003\n"));
    EXPECT_FALSE(QFileInfo::exists(m.Host(QStringLiteral("user.reg.tolmar"))));
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("Software\\Tolmar\\Shared")));
    QDir(server).removeRecursively();
}

TEST_F(MachineSaveLoop, HeldChangesWaitForTheReleaseOrAFlush)
{
    const auto saved = [&](const char* value) {
        return m.ReadFile(QStringLiteral("user.reg")).contains(value);
    };
    TRegistry reg;
    reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
    m.Get().HoldSaves(true);
    reg.WriteInteger(QStringLiteral("A"), 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(saved("\"A\"=dword:00000001"));
    m.Get().HoldSaves(false);
    EXPECT_TRUE(SavedSoon("\"A\"=dword:00000001"));

    m.Get().HoldSaves(true);
    reg.WriteInteger(QStringLiteral("B"), 2);
    m.Get().Flush();
    EXPECT_TRUE(saved("\"B\"=dword:00000002")) << "a flush saves even while held";
    reg.WriteInteger(QStringLiteral("C"), 3);
    m.Close();
    EXPECT_TRUE(saved("\"C\"=dword:00000003")) << "closing saves what was held";
}

// A report may wait for a click while the program is killed: whatever the flush writes is on
// disk before the first report, a file someone else changed included.
TEST(MachineSave, EverythingIsWrittenBeforeAProblemIsReported)
{
    TempMachine m;
    m.WriteFile(QStringLiteral("system.reg"), Fixture("system.reg"));
    m.WriteFile(QStringLiteral("user.reg"), Fixture("user.reg"));
    m.Open();
    std::vector<std::pair<bool, bool>> writtenAtReport;
    m.Get().SetProblemHandler([&](const QString&) {
        writtenAtReport.emplace_back(
            m.ReadFile(QStringLiteral("system.reg")).contains("\"Ours\"=dword:00000001"),
            m.ReadFile(QStringLiteral("user.reg")).contains("\"Ours\"=dword:00000002"));
    });
    m.WriteFile(QStringLiteral("system.reg"),
                Fixture("system.reg") + "\n[Foreign] 1796737660\n#time=1dd871ab1a0c09e\n");
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
    reg.WriteInteger(QStringLiteral("Ours"), 1);
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
    reg.WriteInteger(QStringLiteral("Ours"), 2);
    m.Get().Flush();
    ASSERT_EQ(writtenAtReport.size(), 1u);
    EXPECT_TRUE(writtenAtReport[0].first) << "the file someone else changed";
    EXPECT_TRUE(writtenAtReport[0].second) << "the other registry file";
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

namespace {

// A file's identity and time: a save by rename gives a new inode, so an untouched file keeps it.
struct FileIdentity
{
    ino_t inode = 0;
    qint64 modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const QString& path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return {st.st_ino, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

} // namespace

TEST(MachineSave, SettingWhatAValueHoldsChangesNothing)
{
    const QByteArray text("a\0b\0c\0\0\0", 8);
    const struct
    {
        const char* name;
        RegValue value;
        bool changes;
    } cases[] = {
        {"d", {REG_DWORD, Dword(1)}, false},
        {"s", {REG_SZ, text}, false},
        {"b", {REG_BINARY, QByteArray("\x01\x02", 2)}, false},
        {"D", {REG_DWORD, Dword(1)}, false}, // names compare as Windows compares them
        {"d", {REG_DWORD, Dword(2)}, true},
        {"d", {REG_BINARY, Dword(1)}, true}, // same bytes, another type
        {"s", {REG_SZ, text.left(6)}, true},
        {"new", {REG_DWORD, Dword(0)}, true},
    };
    for (const auto& c : cases) {
        TempMachine m;
        m.WriteHive(QStringLiteral("user.reg"),
                    "\n[Key] 1796737660\n#time=1dd871ab1a0c09e\n\"b\"=hex:01,02\n"
                    "\"d\"=dword:00000001\n\"s\"=\"abc\"\n");
        const QString host = m.Host(QStringLiteral("user.reg"));
        const QByteArray before = m.ReadFile(QStringLiteral("user.reg"));
        const FileIdentity identity = IdentityOf(host);
        m.Open();
        EXPECT_TRUE(m.Get().RegSetValue(HKEY_CURRENT_USER, QStringLiteral("Key"),
                                        QString::fromLatin1(c.name), c.value));
        m.Get().Flush();
        const QByteArray after = m.ReadFile(QStringLiteral("user.reg"));
        EXPECT_EQ(after != before, c.changes) << c.name;
        EXPECT_EQ(IdentityOf(host) != identity, c.changes) << c.name;
        EXPECT_EQ(after.contains("[Key] 1796737660\n#time=1dd871ab1a0c09e\n"), !c.changes)
            << c.name;
        const auto back = m.Get().RegQueryValue(HKEY_CURRENT_USER, QStringLiteral("Key"),
                                                QString::fromLatin1(c.name));
        ASSERT_TRUE(back) << c.name;
        EXPECT_EQ(back->type, c.value.type) << c.name;
        EXPECT_EQ(back->data, c.value.data) << c.name;
    }
}

TEST(MachineSave, AProfileEditThatChangesNoByteLeavesTheFile)
{
    const struct
    {
        const char* key;
        const char* value; // null removes the key
        bool changes;
    } cases[] = {
        {"BootGUI", "1", false}, {"bootgui", "1", false},    {"Missing", nullptr, false},
        {"BootGUI", "0", true},  {"BootGUI", nullptr, true}, {"Logo", "0", true}, // a new entry
    };
    const QByteArray msdos("[Options]\r\nBootGUI=1\r\n");
    for (const auto& c : cases) {
        TempMachine m;
        m.MakeWindows();
        m.WriteFile(QStringLiteral("drive_c/MSDOS.SYS"), msdos);
        const QString host = m.Host(QStringLiteral("drive_c/MSDOS.SYS"));
        const FileIdentity identity = IdentityOf(host);
        Machine& machine = m.Open();
        const QString file = QStringLiteral("C:\\MSDOS.SYS");
        const QString key = QString::fromLatin1(c.key);
        EXPECT_TRUE(c.value ? machine.ProfileWrite(file, QStringLiteral("Options"), key,
                                                   QString::fromLatin1(c.value))
                            : machine.ProfileDelete(file, QStringLiteral("Options"), key));
        EXPECT_EQ(m.ReadFile(QStringLiteral("drive_c/MSDOS.SYS")) != msdos, c.changes) << c.key;
        EXPECT_EQ(IdentityOf(host) != identity, c.changes) << c.key;
        EXPECT_EQ(machine.ProfileRead(file, QStringLiteral("Options"), key),
                  c.value ? std::optional<QString>(QString::fromLatin1(c.value)) : std::nullopt)
            << c.key;
    }
}

namespace {

// Rewrites a file's bytes in place and gives it back its time: only the bytes tell the change.
void OverwriteKeepingStamp(const QString& path, const QByteArray& bytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st = {};
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    const int fd = ::open(native.constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::pwrite(fd, bytes.constData(), bytes.size(), 0), bytes.size());
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    EXPECT_EQ(::futimens(fd, times), 0);
    ::close(fd);
}

} // namespace

TEST(MachineSave, AFileSomeoneElseChangedIsReadAgainUnderTheRunsChanges)
{
    // What the other program wrote stays; this run's changes are made again over it, Tolmar's
    // data winning where both changed a value, which is named. Only a file that cannot be read
    // makes Tolmar's text go beside it.
    enum class Other
    {
        Rewrites, // as programs write: a new stamp, a new key
        InPlace,  // its bytes changed where they are, its time set back
        Unreadable,
    };
    for (const Other other : {Other::Rewrites, Other::InPlace, Other::Unreadable}) {
        TempMachine m;
        m.WriteFile(QStringLiteral("user.reg"), Fixture("user.reg"));
        Machine& machine = m.Open();
        QStringList reported;
        machine.SetProblemHandler([&](const QString& text) { reported << text; });
        const QString key = QStringLiteral("Software\\Tolmar");
        ASSERT_TRUE(machine.RegCreateKey(HKEY_CURRENT_USER, key));
        machine.RegSetValue(HKEY_CURRENT_USER, key, QStringLiteral("Shared"),
                            {REG_DWORD, Dword(1)});
        machine.Flush();
        QByteArray theirs = m.ReadFile(QStringLiteral("user.reg"));
        theirs.replace("\"Shared\"=dword:00000001", "\"Shared\"=dword:00000007");
        if (other == Other::InPlace) {
            OverwriteKeepingStamp(m.Host(QStringLiteral("user.reg")), theirs);
        } else {
            if (other == Other::Unreadable) theirs += "not a registry line\n";
            theirs += "\n[Foreign] 1796737660\n#time=1dd871ab1a0c09e\n";
            m.WriteFile(QStringLiteral("user.reg"), theirs);
        }
        machine.RegSetValue(HKEY_CURRENT_USER, key, QStringLiteral("Own"), {REG_DWORD, Dword(2)});
        machine.Flush();

        const QByteArray ours = "\"Own\"=dword:00000002\n\"Shared\"=dword:00000001\n";
        ASSERT_EQ(reported.size(), 1) << int(other) << qPrintable(reported.join("\n---\n"));
        if (other == Other::Unreadable) {
            EXPECT_EQ(m.ReadFile(QStringLiteral("user.reg")), theirs);
            EXPECT_TRUE(m.ReadFile(QStringLiteral("user.reg.tolmar")).contains(ours));
            EXPECT_TRUE(reported[0].contains(QStringLiteral("user.reg.tolmar")));
            continue;
        }
        const QByteArray written = m.ReadFile(QStringLiteral("user.reg"));
        EXPECT_FALSE(QFileInfo::exists(m.Host(QStringLiteral("user.reg.tolmar"))));
        EXPECT_TRUE(written.contains(ours)) << int(other);
        EXPECT_EQ(written.contains("\n[Foreign]"), other == Other::Rewrites);
        EXPECT_TRUE(
            reported[0].contains(QStringLiteral("HKEY_CURRENT_USER\\Software\\Tolmar\\Shared")))
            << qPrintable(reported[0]);
        EXPECT_EQ(QByteArray::fromStdString(RegistryHive::Parse(written)->Text()), written);
    }
}

namespace {

QByteArray HiveWithValue(std::uint32_t value)
{
    return QByteArray("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n"
                      "\n#arch=win64\n\n[Key] 1796737660\n#time=1dd871ab1a0c09e\n\"v\"=dword:") +
           QByteArray::number(value, 16).rightJustified(8, '0') + '\n';
}

std::optional<std::uint32_t> ValueOf(Machine& machine)
{
    const auto value =
        machine.RegQueryValue(HKEY_LOCAL_MACHINE, QStringLiteral("Key"), QStringLiteral("v"));
    if (!value || value->data.size() != 4) return std::nullopt;
    std::uint32_t v;
    std::memcpy(&v, value->data.constData(), 4);
    return v;
}

} // namespace

TEST(MachineOpen, ARegistryReadAheadIsTakenOnlyWhileItsFileIsUnchanged)
{
    enum class After
    {
        Nothing,
        SameStamp,
        NewStamp,
        Removed,
        OtherPrefix
    };
    const struct
    {
        After after;
        std::optional<std::uint32_t> seen;
    } cases[] = {
        {After::Nothing, 1},  {After::SameStamp, 2}, // changed in its place: its change time tells
        {After::NewStamp, 2}, {After::Removed, std::nullopt}, {After::OtherPrefix, 2},
    };
    for (const auto& c : cases) {
        TempMachine m;
        m.WriteFile(QStringLiteral("system.reg"), HiveWithValue(1));
        m.WriteHive(QStringLiteral("user.reg"), QByteArray());
        TempMachine other;
        RegistryPreload preload(c.after == After::OtherPrefix ? other.Prefix() : m.Prefix());
        preload.Wait();
        const QString host = m.Host(QStringLiteral("system.reg"));
        switch (c.after) {
        case After::Nothing:
            break;
        case After::SameStamp:
            OverwriteKeepingStamp(host, HiveWithValue(2));
            break;
        case After::NewStamp:
        case After::OtherPrefix:
            m.WriteFile(QStringLiteral("system.reg"), HiveWithValue(2));
            break;
        case After::Removed:
            QFile::remove(host);
            break;
        }
        Machine::Options options;
        options.preload = &preload;
        EXPECT_EQ(ValueOf(m.Open(std::move(options))), c.seen) << int(c.after);
        EXPECT_FALSE(preload.Take(m.Prefix(), QStringLiteral("system.reg"))) << "taken once";
    }
}

TEST(MachineOpen, ARegistryReadAheadFailsAsTheFileWould)
{
    const QByteArray bad("WINE REGISTRY Version 2\n#arch=win16\n\n[Key] 1796737660\n");
    const QByteArray good = HiveWithValue(1);
    const struct
    {
        QByteArray system, user, systemAfter;
        const char* named; // the file the refusal names, none when the machine opens
    } cases[] = {
        {bad, good, bad, "system.reg"},  {good, bad, good, "user.reg"},
        {bad, bad, bad, "system.reg"}, // told in the order the files are loaded
        {bad, good, good, nullptr},    // mended after it was read ahead
        {good, good, bad, "system.reg"},
    };
    for (const auto& c : cases) {
        TempMachine m;
        m.WriteFile(QStringLiteral("system.reg"), c.system);
        m.WriteFile(QStringLiteral("user.reg"), c.user);
        RegistryPreload preload(m.Prefix());
        preload.Wait();
        if (c.systemAfter != c.system) m.WriteFile(QStringLiteral("system.reg"), c.systemAfter);
        const auto before = FolderSnapshot(m.Prefix());
        const QString expected = OpenError(m.Prefix());
        QString error;
        try {
            Machine::Options options;
            options.preload = &preload;
            Machine machine(m.Prefix(), std::move(options));
        } catch (const MachineError& e) {
            error = e.Text();
        }
        EXPECT_EQ(error, expected);
        if (c.named) {
            EXPECT_TRUE(error.contains(QString::fromLatin1(c.named))) << qPrintable(error);
            EXPECT_TRUE(error.contains(QStringLiteral("wiersz 2"))) << qPrintable(error);
            EXPECT_EQ(FolderSnapshot(m.Prefix()), before);
        } else {
            EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
        }
    }
}

TEST(MachineOpen, TheSystemOpensOnTheRegistryPreparedForIt)
{
    TempMachine m;
    m.WriteFile(QStringLiteral("system.reg"), HiveWithValue(7));
    m.WriteHive(QStringLiteral("user.reg"), QByteArray());
    PrepareSystem({m.Prefix(), false});
    OpenedSystem opened = OpenSystem({m.Prefix(), false}, QString(), {});
    ASSERT_TRUE(opened.platform) << qPrintable(opened.error);
    EXPECT_EQ(ValueOf(static_cast<Machine&>(*opened.platform)), 7u);
}
