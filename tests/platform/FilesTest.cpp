// Paths, path keywords, attributes, listings and the shell on an emulated machine.
#include "Files.h"

#include "Errors.h"
#include "TempMachine.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    launched.clear();
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

TEST(Shell, PrintGoesToThePrintCommandWhereThereIsOne)
{
    TempMachine m;
    m.MakeWindows();
    m.WriteFile(QStringLiteral("drive_c/WINDOWS/list.txt"), "x");
    QTemporaryDir bin;
    MakeFakeProgram(bin.path(), QStringLiteral("lp"));
    const QByteArray path = qgetenv("PATH");
    QStringList launched;
    Machine::Options options;
    options.launch = [&](const QString& program, const QStringList& arguments, const QStringList&) {
        launched << program + u' ' + arguments.join(u' ');
    };
    m.Open(options);
    qputenv("PATH", bin.path().toLocal8Bit());
    ShellExecute(QStringLiteral("print"), QStringLiteral("C:\\Windows\\LIST.TXT"),
                 SW_SHOWMAXIMIZED);
    ShellExecute(QStringLiteral("print"), QStringLiteral("http://tolmar.example.org"),
                 SW_SHOWMAXIMIZED);
    qputenv("PATH", "/nonexistent");
    ShellExecute(QStringLiteral("print"), QStringLiteral("C:\\Windows\\LIST.TXT"),
                 SW_SHOWMAXIMIZED);
    qputenv("PATH", path);
    ASSERT_EQ(launched.size(), 1);
    EXPECT_EQ(launched[0], bin.path() + QStringLiteral("/lp ") + m.Get().Paths().DriveRoot(u'c') +
                               QStringLiteral("/WINDOWS/list.txt"));
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
