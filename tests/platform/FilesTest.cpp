// Paths, path keywords, attributes, listings and the shell on an emulated machine.
#include "Files.h"

#include "Errors.h"
#include "TIniFile.h"
#include "TempMachine.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

// A file made beside the machine, as another program would leave it.
bool Plant(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(GetSystemPath, KeywordsOnAWindows98Drive)
{
    TempMachine m;
    m.MakeWindows();
    m.Open();
    EXPECT_EQ(GetSystemPath(QStringLiteral("dysk")), QStringLiteral("C:"));
    EXPECT_EQ(GetSystemPath(QStringLiteral("win")), QStringLiteral("C:\\WINDOWS"));
    EXPECT_EQ(GetSystemPath(QStringLiteral("sys")), QStringLiteral("C:\\WINDOWS\\SYSTEM"));
    QString path = QStringLiteral("kept");
    GetSystemPath(QStringLiteral("WIN"), path);
    EXPECT_EQ(path, QStringLiteral("kept"));
    GetSystemPath(QStringLiteral("windows"), path);
    EXPECT_EQ(path, QStringLiteral("kept"));
}

TEST(GetSystemPath, WinePrefixUsesItsOwnCaseAndSystem32)
{
    TempMachine m;
    m.MakeWindows(QStringLiteral("windows"), QStringLiteral("system32"));
    QDir().mkpath(m.Host(QStringLiteral("drive_c/windows/system")));
    m.Open();
    EXPECT_EQ(GetSystemPath(QStringLiteral("win")), QStringLiteral("C:\\windows"));
    EXPECT_EQ(GetSystemPath(QStringLiteral("sys")), QStringLiteral("C:\\windows\\system32"));
}

TEST(DosPaths, ComponentsMatchIgnoringCaseExactFirst)
{
    TempMachine m;
    m.MakeWindows();
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/System.ini"), "x");
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/Twin"), "upper");
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/twin"), "lower");
    DosPaths paths(m.Prefix());
    const QString c = paths.DriveRoot(u'C');
    EXPECT_EQ(paths.ToHost(QStringLiteral("c:\\windows\\SYSTEM.INI")),
              c + QStringLiteral("/WINDOWS/System.ini"));
    EXPECT_EQ(paths.ToHost(QStringLiteral("C:/Windows/twin")), c + QStringLiteral("/WINDOWS/twin"));
    EXPECT_EQ(paths.ToHost(QStringLiteral("C:\\WINDOWS\\Twin")),
              c + QStringLiteral("/WINDOWS/Twin"));
    // A name that does not exist yet keeps the case it was given, below the first missing part.
    EXPECT_EQ(paths.ToHost(QStringLiteral("C:\\windows\\Nowy\\Plik.TXT")),
              c + QStringLiteral("/WINDOWS/Nowy/Plik.TXT"));
    EXPECT_EQ(paths.ToHost(QStringLiteral("C:\\WINDOWS\\..\\..\\WINDOWS")),
              c + QStringLiteral("/WINDOWS"));
    EXPECT_EQ(paths.ToHost(QStringLiteral("Q:\\x")), QString());
}

TEST(DosPaths, DrivesAndZ)
{
    TempMachine m;
    QTemporaryDir elsewhere;
    QDir().mkpath(m.Host(QStringLiteral("dosdevices")));
    QFile::link(elsewhere.path(), m.Host(QStringLiteral("dosdevices/d:")));
    QFile::link(QStringLiteral("../drive_c"), m.Host(QStringLiteral("dosdevices/c:")));
    QFile::link(QStringLiteral("/"), m.Host(QStringLiteral("dosdevices/z:")));
    DosPaths paths(m.Prefix());
    EXPECT_EQ(paths.ToHost(QStringLiteral("D:\\a.txt")),
              QDir(elsewhere.path()).canonicalPath() + QStringLiteral("/a.txt"));
    EXPECT_EQ(paths.ToWindows(elsewhere.path() + QStringLiteral("/a.txt")),
              QStringLiteral("D:\\a.txt"));
    EXPECT_EQ(paths.ToWindows(m.Host(QStringLiteral("drive_c"))), QStringLiteral("C:\\"));
    EXPECT_EQ(paths.ToWindows(QStringLiteral("/usr/bin/tolmar")),
              QStringLiteral("Z:\\usr\\bin\\tolmar"));
    EXPECT_EQ(paths.ToHost(QStringLiteral("Z:\\usr")), QStringLiteral("/usr"));
}

TEST(DosPaths, Masks)
{
    EXPECT_TRUE(MatchesMask(QStringLiteral("DESK.CPL"), QStringLiteral("*.cpl")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("desk.cpl.bak"), QStringLiteral("*.cpl")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("noext"), QStringLiteral("*.*")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("ab"), QStringLiteral("a?")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("abc"), QStringLiteral("a?")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("a.b.c"), QStringLiteral("*.*.c")));
}

class FileAttributes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m.MakeWindows();
        m.WriteFile(QStringLiteral("drive_c/MSDOS.SYS"), "[Options]\r\n");
        m.Open();
    }
    TempMachine m;
};

TEST_F(FileAttributes, ReadOnlyIsTheAbsenceOfWriteBits)
{
    const QString file = QStringLiteral("C:\\MsDos.sys");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DirectoryExists(QStringLiteral("C:\\windows")));
    EXPECT_FALSE(FileExists(QStringLiteral("C:\\none")));
    EXPECT_EQ(FileGetAttr(QStringLiteral("C:\\none")), -1);
    FileSetAttr(file, faReadOnly);
    EXPECT_EQ(QFile::permissions(m.Host(QStringLiteral("drive_c/MSDOS.SYS"))) &
                  (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
              0);
    EXPECT_TRUE(FileGetAttr(file) & faReadOnly);
    FileSetAttr(file, 0);
    EXPECT_TRUE(QFile::permissions(m.Host(QStringLiteral("drive_c/MSDOS.SYS"))) &
                QFile::WriteOwner);
    EXPECT_FALSE(FileGetAttr(file) & faReadOnly);
}

TEST_F(FileAttributes, HiddenAndSystemLiveInWinesAttribute)
{
    if (!SupportsDosAttributes(m.Prefix())) GTEST_SKIP() << "no extended attributes here";
    const QString file = QStringLiteral("C:\\MSDOS.SYS");
    FileSetAttr(file, faReadOnly | faHidden | faSysFile);
    EXPECT_EQ(FileGetAttr(file), faArchive | faReadOnly | faHidden | faSysFile);
    FileSetAttr(file, faReadOnly | faHidden);
    EXPECT_EQ(FileGetAttr(file), faArchive | faReadOnly | faHidden);
    FileSetAttr(file, 0);
    EXPECT_EQ(FileGetAttr(file), faArchive);
}

// Read-only takes the write bits away; clearing it gives back those it took, in this run or a
// later one. A file that was read-only before gets the owner's write bit and, as Wine gives it,
// the group's and others' where they may read and the umask lets them.
TEST_F(FileAttributes, ClearingReadOnlyGivesBackTheWriteBitsItTook)
{
    const QString file = QStringLiteral("C:\\MsDos.sys");
    const QByteArray host = QFile::encodeName(m.Host(QStringLiteral("drive_c/MSDOS.SYS")));
    const auto mode = [&] {
        struct stat st = {};
        ::stat(host.constData(), &st);
        return st.st_mode & 07777;
    };
    const mode_t umask = ::umask(022);
    const struct
    {
        mode_t before, readOnly, cleared;
    } cases[] = {
        {0666, 0444, 0666}, {0664, 0444, 0664}, {0644, 0444, 0644},
        {0640, 0440, 0640}, {0600, 0400, 0600}, {0444, 0444, 0644},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        ASSERT_EQ(::chmod(host.constData(), c.before), 0);
        FileSetAttr(file, faReadOnly);
        EXPECT_EQ(mode(), c.readOnly);
        m.Reopen();
        FileSetAttr(file, 0);
        EXPECT_EQ(mode(), c.cleared);
    }
    ::umask(umask);
}

TEST_F(FileAttributes, ListingFilters)
{
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/SYSTEM/DESK.CPL"), "x");
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/SYSTEM/main.cpl"), "x");
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/SYSTEM/.hidden.cpl"), "x");
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/SYSTEM/other.dll"), "x");
    QDir().mkpath(m.Host(QStringLiteral("drive_c/WINDOWS/SYSTEM/folder.cpl")));
    const QString sys = GetSystemPath(QStringLiteral("sys"));
    EXPECT_EQ(ListDirectory(sys + QStringLiteral("\\*.cpl"), faDirectory),
              (QStringList{"DESK.CPL", "folder.cpl", "main.cpl"}));
    EXPECT_EQ(ListDirectory(sys + QStringLiteral("\\*.cpl"), faAnyFile),
              (QStringList{".hidden.cpl", "DESK.CPL", "folder.cpl", "main.cpl"}));
    const QStringList all = ListDirectory(sys + QStringLiteral("\\*.*"), faDirectory);
    EXPECT_EQ(all.mid(0, 2), (QStringList{".", ".."}));
    EXPECT_TRUE(all.contains(QStringLiteral("other.dll")));
    EXPECT_TRUE(ListDirectory(QStringLiteral("C:\\NOWHERE\\*.*"), faAnyFile).isEmpty());
    if (SupportsDosAttributes(m.Prefix())) {
        FileSetAttr(sys + QStringLiteral("\\main.cpl"), faSysFile);
        EXPECT_EQ(ListDirectory(sys + QStringLiteral("\\*.cpl"), faDirectory),
                  (QStringList{"DESK.CPL", "folder.cpl"}));
    }
}

TEST(Shell, DocumentsAndCommandsGoThroughTheLauncher)
{
    TempMachine m;
    m.MakeWindows();
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/help.doc"), "x");
    QStringList launched;
    Machine::Options options;
    options.launch = [&](const QString& program, const QStringList& arguments,
                         const QStringList& env) {
        launched << program + u' ' + arguments.join(u' ') +
                        (env.isEmpty() ? QString() : u' ' + env.join(u' '));
    };
    m.Open(options);
    ShellExecute(QStringLiteral("open"),
                 QStringLiteral("mailto:kontakt@example.org?subject=Tolmar"), SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("open"), QStringLiteral("http://tolmar.example.org"),
                 SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("open"), QStringLiteral("C:\\windows\\HELP.DOC"), SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("open"), QStringLiteral("C:\\windows\\missing.doc"),
                 SW_SHOWMAXIMIZED);
    ASSERT_EQ(launched.size(), 3);
    EXPECT_EQ(launched[0], QStringLiteral("xdg-open mailto:kontakt@example.org?subject=Tolmar"));
    EXPECT_EQ(launched[1], QStringLiteral("xdg-open http://tolmar.example.org"));
    EXPECT_EQ(launched[2], QStringLiteral("xdg-open ") + m.Get().Paths().DriveRoot(u'c') +
                               QStringLiteral("/WINDOWS/help.doc"));

    // Wine would make Tolmar's own machine a prefix of its own: a command starts only on one
    // that is a Wine prefix already, and nothing of the machine changes otherwise.
    QStringList problems;
    m.Get().SetProblemHandler([&](const QString& text) { problems << text; });
    launched.clear();
    const auto before = FolderSnapshot(m.Prefix());
    WinExec(QStringLiteral("rundll32 shell32,Control_RunDLL timedate.cpl"), SW_SHOWNORMAL);
    EXPECT_TRUE(launched.isEmpty());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("nie jest prefiksem Wine")));
    EXPECT_EQ(FolderSnapshot(m.Prefix()), before);

    ASSERT_TRUE(QDir().mkpath(m.Host(QStringLiteral("dosdevices"))));
    WinExec(QStringLiteral("rundll32 shell32,Control_RunDLL timedate.cpl"), SW_SHOWNORMAL);
    if (QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty()) {
        EXPECT_TRUE(launched.isEmpty());
    } else {
        ASSERT_EQ(launched.size(), 1);
        EXPECT_TRUE(launched[0].endsWith(
            QStringLiteral("rundll32 shell32,Control_RunDLL timedate.cpl WINEPREFIX=") +
            m.Get().Prefix()));
    }
}

TEST(Shell, AFileWithoutAFolderIsLookedForInTheWorkingFolder)
{
    TempMachine m;
    m.MakeWindows();
    m.WriteFile(QStringLiteral("drive_c/Poradnik/Arty/Kosz/index.htm"), "x");
    QStringList launched;
    Machine::Options options;
    options.launch = [&](const QString&, const QStringList& arguments, const QStringList&) {
        launched << arguments.join(u' ');
    };
    m.Open(options);
    ShellExecute(QStringLiteral("open"), QStringLiteral("index.htm"),
                 QStringLiteral("C:\\poradnik\\arty\\kosz\\"), SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("open"), QStringLiteral("index.htm"),
                 QStringLiteral("C:\\Poradnik\\Arty\\Kosz"), SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("open"), QStringLiteral("C:\\WINDOWS"),
                 QStringLiteral("C:\\Poradnik"), SW_SHOWMAXIMIZED);
    const QString article =
        m.Get().Paths().DriveRoot(u'c') + QStringLiteral("/Poradnik/Arty/Kosz/index.htm");
    EXPECT_EQ(launched,
              (QStringList{article, article,
                           m.Get().Paths().DriveRoot(u'c') + QStringLiteral("/WINDOWS")}));
}

TEST(Shell, PrintGoesToThePrintCommand)
{
    TempMachine m;
    m.MakeWindows();
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/list.txt"), "x");
    QStringList launched;
    Machine::Options options;
    options.launch = [&](const QString& program, const QStringList& arguments, const QStringList&) {
        launched << program + u' ' + arguments.join(u' ');
    };
    m.Open(options);
    ShellExecute(QStringLiteral("print"), QStringLiteral("C:\\Windows\\LIST.TXT"),
                 SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("print"), QStringLiteral("http://tolmar.example.org"),
                 SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("print"), QStringLiteral("C:\\Windows\\missing.txt"),
                 SW_SHOWMAXIMIZED);
    EXPECT_EQ(launched, QStringList{QStringLiteral("lp ") + m.Get().Paths().DriveRoot(u'c') +
                                    QStringLiteral("/WINDOWS/list.txt")});
}

TEST(Memory, TotalComesFromTheHostUnlessGiven)
{
    TempMachine m;
    Machine::Options options;
    options.totalMemory = 96ull << 20;
    m.Open(options);
    EXPECT_EQ(CurrentPlatform().TotalPhysicalMemory() >> 20, 96u);
    m.Close();
    m.Open();
    EXPECT_GT(CurrentPlatform().TotalPhysicalMemory(), 1ull << 20);
}

TEST(WholeFiles, WrittenReplacedAndDeletedOrAnInputOutputError)
{
    TempMachine m;
    m.MakeWindows();
    m.WriteFile(QStringLiteral("drive_c/skrypt.vbs"), "an older and longer text");
    m.Open();
    WriteFileBytes(QStringLiteral("C:\\SKRYPT.VBS"), "nowy\r\n");
    EXPECT_EQ(m.ReadFile(QStringLiteral("drive_c/skrypt.vbs")), "nowy\r\n");
    try {
        WriteFileBytes(QStringLiteral("C:\\Brak\\skrypt.vbs"), "x");
        ADD_FAILURE() << "a file in a missing folder was written";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Text(), QStringLiteral("I/O error 3"));
    }
    try {
        WriteFileBytes(QStringLiteral("C:\\WINDOWS"), "x");
        ADD_FAILURE() << "a folder was written as a file";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Text(), QStringLiteral("I/O error 5"));
    }
    EXPECT_TRUE(DeleteFile(QStringLiteral("C:\\skrypt.vbs")));
    EXPECT_FALSE(QFile::exists(m.Host(QStringLiteral("drive_c/skrypt.vbs"))));
    EXPECT_FALSE(DeleteFile(QStringLiteral("C:\\skrypt.vbs")));
}

TEST(WholeFiles, AReplacedFileKeepsItsAttributesAndModeAndReadOnlyHoldsEvenForRoot)
{
    TempMachine m;
    m.MakeWindows();
    const QString relative = QStringLiteral("drive_c/WINDOWS/SYSTEM/OEMLOGO.BMP");
    m.WriteFile(relative, "old");
    m.Open();
    const QString file = QStringLiteral("C:\\WINDOWS\\SYSTEM\\OEMLOGO.BMP");
    const bool dos = SupportsDosAttributes(m.Prefix());
    QFile::setPermissions(m.Host(relative),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    for (const int attributes : {faHidden | faSysFile, faHidden, faSysFile, 0}) {
        if (!dos && attributes) continue;
        SCOPED_TRACE(attributes);
        FileSetAttr(file, attributes);
        const QByteArray bytes = QByteArray::number(attributes) + " new";
        WriteFileBytes(file, bytes);
        EXPECT_EQ(m.ReadFile(relative), bytes);
        EXPECT_EQ(FileGetAttr(file), faArchive | attributes);
        EXPECT_EQ(QFile::permissions(m.Host(relative)), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ReadUser | QFile::WriteUser |
                                                            QFile::ReadGroup);
    }

    const int readOnly = faReadOnly | (dos ? faHidden : 0);
    FileSetAttr(file, readOnly);
    try {
        WriteFileBytes(file, "x");
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Text(), QStringLiteral("I/O error 5"));
    }
    EXPECT_EQ(m.ReadFile(relative), "0 new");
    EXPECT_EQ(FileGetAttr(file), faArchive | readOnly);
    EXPECT_EQ(QDir(m.Host(QStringLiteral("drive_c/WINDOWS/SYSTEM")))
                  .entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("OEMLOGO.BMP")})
        << "no temporary file is left";
}

// A path inside the machine that is a link to a file elsewhere: every write replaces the link
// with a file of the machine's own, an attribute change leaves the link as it is, and neither
// touches the file the link named.
TEST(Links, AWriteReplacesTheLinkAndAnAttributeChangeLeavesItsTarget)
{
    const struct
    {
        const char* what;
        std::function<void(const QString& windowsPath)> act;
        const char* written; // the bytes the path holds after, in a file of its own; none: a link
    } cases[] = {
        {"whole file", [](const QString& path) { WriteFileBytes(path, "new"); }, "new"},
        {"profile entry",
         [](const QString& path) {
             TIniFile(path).WriteString(QStringLiteral("Options"), QStringLiteral("Logo"),
                                        QStringLiteral("0"));
         },
         "[Options]\r\nLogo=0\r\n"},
        {"file picked in the editor",
         [](const QString& path) { WriteHostFile(CurrentPlatform().HostPath(path), "new"); },
         "new"},
        {"read-only and hidden",
         [](const QString& path) { FileSetAttr(path, faReadOnly | faHidden); }, nullptr},
        {"attributes cleared", [](const QString& path) { FileSetAttr(path, 0); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir elsewhere;
        const QString outside = elsewhere.path() + QStringLiteral("/outside.txt");
        ASSERT_TRUE(Plant(outside, "[Options]\r\n"));
        const QByteArray outsideName = QFile::encodeName(outside);
        ASSERT_EQ(::chmod(outsideName.constData(), 0640), 0);
        TempMachine m;
        m.MakeWindows();
        const QString relative = QStringLiteral("drive_c/MSDOS.SYS");
        ASSERT_TRUE(QFile::link(outside, m.Host(relative)));
        m.Open();
        c.act(QStringLiteral("C:\\MSDOS.SYS"));

        QFile target(outside);
        ASSERT_TRUE(target.open(QIODevice::ReadOnly));
        EXPECT_EQ(target.readAll(), "[Options]\r\n");
        struct stat st = {};
        ASSERT_EQ(::stat(outsideName.constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        char attribute[16];
        EXPECT_LT(
            ::getxattr(outsideName.constData(), "user.DOSATTRIB", attribute, sizeof attribute), 0);
        const QFileInfo inside(m.Host(relative));
        EXPECT_EQ(inside.isSymLink(), c.written == nullptr);
        if (c.written) EXPECT_EQ(m.ReadFile(relative), c.written);
    }
}

// The opener and the print command are the desktop's; where one is missing, the user is told
// which package brings it. Nothing to open is no problem of the desktop's.
TEST(Shell, AMissingOpenerOrPrintCommandIsReportedWithThePackageToInstall)
{
    const struct
    {
        const char* verb;
        const char* target;
        const char* onPath; // the program the host has, or none
        const char* told;   // what the report names, or no report
    } cases[] = {
        {"open", "http://tolmar.example.org", nullptr, "xdg-utils"},
        {"open", "mailto:kontakt@example.org", nullptr, "xdg-utils"},
        {"open", "C:\\WINDOWS\\list.txt", nullptr, "xdg-utils"},
        {"open", "C:\\WINDOWS\\missing.txt", nullptr, nullptr},
        {"print", "C:\\WINDOWS\\list.txt", nullptr, "cups-client"},
        {"open", "http://tolmar.example.org", "xdg-open", nullptr},
        {"open", "C:\\WINDOWS\\list.txt", "xdg-open", nullptr},
        {"print", "C:\\WINDOWS\\list.txt", "lp", nullptr},
    };
    const QByteArray path = qgetenv("PATH");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.verb) + ' ' + c.target);
        TempMachine m;
        m.MakeWindows();
        m.WriteFile(QStringLiteral("drive_c/WINDOWS/list.txt"), "x");
        QTemporaryDir bin;
        if (c.onPath) MakeFakeProgram(bin.path(), QString::fromLatin1(c.onPath));
        m.Open();
        QStringList reported;
        m.Get().SetProblemHandler([&](const QString& text) { reported << text; });
        qputenv("PATH", bin.path().toLocal8Bit());
        ShellExecute(QString::fromLatin1(c.verb), QString::fromLatin1(c.target), SW_SHOWMAXIMIZED);
        qputenv("PATH", path);
        if (!c.told) {
            EXPECT_TRUE(reported.isEmpty()) << qPrintable(reported.join(u'\n'));
            continue;
        }
        ASSERT_EQ(reported.size(), 1);
        EXPECT_TRUE(reported[0].contains(QString::fromLatin1(c.told))) << qPrintable(reported[0]);
        EXPECT_TRUE(reported[0].contains(QString::fromLatin1(c.target))) << qPrintable(reported[0]);
    }
}

// A file the user picked is written whole or not at all; what fails says which step and why,
// in the system's words, and leaves the old file and no temporary one.
TEST(WholeFiles, AHostFileThatCannotBeWrittenStaysAsItWasAndTheReasonIsGiven)
{
    const struct
    {
        const char* what;
        const char* name; // below the folder
        bool readOnly;
        bool writing; // also: the files this process writes may hold no more than 4 KB
        const char* reason;
    } cases[] = {
        {"read-only", "old.txt", true, false, "Permission denied"},
        {"missing folder", "none/new.txt", false, false, "No such file or directory"},
        {"a folder in its place", "folder", false, false, "Is a directory"},
        {"no room for the bytes", "old.txt", false, true, "File too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString old = dir.path() + QStringLiteral("/old.txt");
        ASSERT_TRUE(Plant(old, "old"));
        QDir(dir.path()).mkdir(QStringLiteral("folder"));
        if (c.readOnly) QFile::setPermissions(old, QFile::ReadOwner);
        struct rlimit before = {};
        ::getrlimit(RLIMIT_FSIZE, &before);
        struct rlimit limited = before;
        limited.rlim_cur = 4096;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (c.writing) ::setrlimit(RLIMIT_FSIZE, &limited);
        try {
            WriteHostFile(dir.path() + u'/' + QString::fromLatin1(c.name), QByteArray(6144, 'x'));
            ADD_FAILURE() << "written";
        } catch (const EFileWriteError& error) {
            EXPECT_EQ(error.Writing(), c.writing);
            EXPECT_EQ(error.Text(), QString::fromLatin1(c.reason));
        }
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "old");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("old.txt")});
    }
}
