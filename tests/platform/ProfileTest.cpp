// Profile files: Windows' lookup rules, and edits that leave every other byte alone.
#include "Cp1250.h"
#include "Errors.h"
#include "Files.h"
#include "ProfileText.h"
#include "TIniFile.h"
#include "TempMachine.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

namespace {

const QByteArray kMsDos =
    "[Paths]\r\n"
    "WinDir=C:\\WINDOWS\r\n"
    "\r\n"
    "[Options]\r\n"
    "BootGUI=1\r\n"
    "Logo = 0 \r\n"
    "Quoted=\"  with spaces  \"\r\n"
    "BootGUI=0\r\n"
    ";\r\n"
    ";The following lines are required for compatibility with other "
    "programs.\r\n"
    ";xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n"
    "\r\n"
    "[options]\r\n"
    "Second=1\r\n";

// A literal's bytes, NULs included.
template <std::size_t N> QByteArray Bytes(const char (&text)[N]) { return QByteArray(text, N - 1); }

} // namespace

TEST(ProfileText, LookupFollowsWindowsRules)
{
    EXPECT_EQ(ProfileLookup(kMsDos, QStringLiteral("options"), QStringLiteral("bootgui")),
              QStringLiteral("1"));
    EXPECT_EQ(ProfileLookup(kMsDos, QStringLiteral(" Options "), QStringLiteral(" Logo ")),
              QStringLiteral("0"));
    EXPECT_EQ(ProfileLookup(kMsDos, QStringLiteral("Options"), QStringLiteral("Quoted")),
              QStringLiteral("  with spaces  "));
    // Only the first of duplicate sections is searched.
    EXPECT_FALSE(ProfileLookup(kMsDos, QStringLiteral("Options"), QStringLiteral("Second")));
    EXPECT_FALSE(ProfileLookup(kMsDos, QStringLiteral("Paths"), QStringLiteral("BootGUI")));
    EXPECT_FALSE(ProfileLookup(kMsDos, QStringLiteral("Nope"), QStringLiteral("BootGUI")));
    EXPECT_FALSE(ProfileLookup(QByteArray(), QStringLiteral("Options"), QStringLiteral("x")));
}

TEST(ProfileText, ReplacingAnEntryKeepsEveryOtherByte)
{
    const auto out = ProfileUpdate(kMsDos, QStringLiteral("OPTIONS"), QStringLiteral("logo"),
                                   QStringLiteral("1"));
    ASSERT_TRUE(out);
    QByteArray expected = kMsDos;
    expected.replace("Logo = 0 \r\n", "Logo=1\r\n");
    EXPECT_EQ(*out, expected);
}

// A Unix file keeps its LFs through a start that writes back what every entry holds; only a
// line whose value changes is written anew, with CR LF.
TEST(ProfileText, AWriteOfTheValueThereKeepsTheLineAsItIs)
{
    const struct
    {
        QByteArray file;
        const char* value;
        QByteArray expected;
    } cases[] = {
        {"[s]\nk=1\nz=2\n", "1", "[s]\nk=1\nz=2\n"},
        {"[s]\n  K = 1 \t\nz=2\n", "1", "[s]\n  K = 1 \t\nz=2\n"},
        {"[s]\rk=1\rz=2", "1", "[s]\rk=1\rz=2"},
        {"[s]\nk=1", " 1 ", "[s]\nk=1"},
        {"[s]\nk=\"1\"\n", "\"1\"", "[s]\nk=\"1\"\n"},
        {"[s]\nk=1\nz=2\n", "2", "[s]\nk=2\r\nz=2\n"},
        {"[s]\nk=\"1\"\n", "1", "[s]\nk=1\r\n"},
        {"[s]\nk=1 1\n", "1  1", "[s]\nk=1  1\r\n"},
        {"[s]\nk\n", "", "[s]\nk=\r\n"},
        {"[s]\nk=\n", "", "[s]\nk=\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + " <- " + c.value);
        const auto out = ProfileUpdate(c.file, QStringLiteral("s"), QStringLiteral("k"),
                                       QString::fromLatin1(c.value));
        ASSERT_TRUE(out);
        EXPECT_EQ(*out, c.expected);
    }
}

TEST(ProfileText, NewKeyGoesAfterTheSectionsLastEntry)
{
    const auto out = ProfileUpdate(kMsDos, QStringLiteral("Options"), QStringLiteral("AutoScan"),
                                   QStringLiteral("0"));
    ASSERT_TRUE(out);
    QByteArray expected = kMsDos;
    expected.replace("BootGUI=0\r\n;", "BootGUI=0\r\nAutoScan=0\r\n;");
    EXPECT_EQ(*out, expected);
}

TEST(ProfileText, NewSectionGoesAtTheEnd)
{
    const auto out = ProfileUpdate(kMsDos, QStringLiteral("386Enh"), QStringLiteral("PagingFile"),
                                   QStringLiteral("C:\\WIN386.SWP"));
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, kMsDos + "\r\n[386Enh]\r\nPagingFile=C:\\WIN386.SWP\r\n");
    const auto unterminated =
        ProfileUpdate("[a]\nx=1", QStringLiteral("a"), QStringLiteral("y"), QStringLiteral("2"));
    EXPECT_EQ(*unterminated, "[a]\nx=1\r\ny=2\r\n");
    EXPECT_EQ(
        *ProfileUpdate(QByteArray(), QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")),
        "[s]\r\nk=v\r\n");
    EXPECT_EQ(*ProfileUpdate("[empty]\r\n[next]\r\n", QStringLiteral("Empty"), QStringLiteral("k"),
                             QStringLiteral("v")),
              "[empty]\r\nk=v\r\n[next]\r\n");
}

TEST(ProfileText, ANewEntryAfterALoneCrStartsALineOfItsOwn)
{
    const auto out = ProfileUpdate("[Options]\r\nBootMulti=1\r", QStringLiteral("Options"),
                                   QStringLiteral("BootGUI"), QStringLiteral("0"));
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, "[Options]\r\nBootMulti=1\r\nBootGUI=0\r\n");
    EXPECT_EQ(ProfileLookup(*out, QStringLiteral("Options"), QStringLiteral("BootMulti")),
              QStringLiteral("1"));
    EXPECT_EQ(ProfileLookup(*out, QStringLiteral("Options"), QStringLiteral("BootGUI")),
              QStringLiteral("0"));
    EXPECT_EQ(
        *ProfileUpdate("[a]\r", QStringLiteral("b"), QStringLiteral("k"), QStringLiteral("v")),
        "[a]\r\n\r\n[b]\r\nk=v\r\n");
}

TEST(ProfileText, LinesKeepTheirShapeWhateverTheirBytes)
{
    const QByteArray longLine = "; " + QByteArray(1 << 20, 'x');
    const std::vector<std::tuple<QByteArray, QByteArray>> cases = {
        // Lone LFs, lone CRs and CR LFs mixed.
        {"[s]\na=1\rb=2\r\n;c\n", "[s]\na=1\rb=2\r\nk=v\r\n;c\n"},
        // NUL bytes are text like any other.
        {Bytes("[s]\r\nn=\0x\0\r\n"), Bytes("[s]\r\nn=\0x\0\r\nk=v\r\n")},
        {"[s]\r\n" + longLine + "\r\nz=1", "[s]\r\n" + longLine + "\r\nz=1\r\nk=v\r\n"},
    };
    for (const auto& [file, expected] : cases) {
        const auto out =
            ProfileUpdate(file, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"));
        ASSERT_TRUE(out);
        EXPECT_EQ(*out, expected);
        EXPECT_EQ(ProfileLookup(*out, QStringLiteral("s"), QStringLiteral("k")),
                  QStringLiteral("v"));
    }
    EXPECT_EQ(ProfileLookup("[s]\ra=1\rb=2", QStringLiteral("s"), QStringLiteral("b")),
              QStringLiteral("2"));
    EXPECT_EQ(*ProfileUpdate("[s]\ra=1\rb=2", QStringLiteral("s"), QStringLiteral("a"),
                             QStringLiteral("3")),
              "[s]\ra=3\r\nb=2");
    EXPECT_EQ(ProfileLookup(Bytes("[s]\r\nn=\0x\0\r\n"), QStringLiteral("s"), QStringLiteral("n")),
              QChar(0) + QStringLiteral("x") + QChar(0));
}

TEST(ProfileText, TextThatWouldBreakTheFileIsRefused)
{
    for (const auto& [section, key, value] :
         std::vector<std::tuple<QString, QString, QString>>{{"s", "k", "a\r\nInjected=1"},
                                                            {"s", "k=x", "v"},
                                                            {"s", "", "v"},
                                                            {"s]x", "k", "v"},
                                                            {"s", "a\nb", "v"}})
        EXPECT_FALSE(ProfileUpdate(kMsDos, section, key, value)) << qPrintable(key);
}

TEST(ProfileText, Cp1250BytesInAndOut)
{
    const QByteArray file = "[Sekcja]\r\nNazwa=\xa3\xf3\x64\xbf\r\n"; // "Łódż" in windows-1250
    EXPECT_EQ(ProfileLookup(file, QStringLiteral("sekcja"), QStringLiteral("nazwa")),
              QStringLiteral("Łódż"));
    const auto out = ProfileUpdate(file, QStringLiteral("Sekcja"), QStringLiteral("Miasto"),
                                   QStringLiteral("Kraków"));
    EXPECT_EQ(*out, file + "Miasto=Krak\xf3w\r\n");
}

TEST(ProfileText, RemovingAnEntryTakesOnlyItsLine)
{
    QByteArray expected = kMsDos;
    expected.replace("Logo = 0 \r\n", "");
    EXPECT_EQ(ProfileRemove(kMsDos, QStringLiteral("options"), QStringLiteral("LOGO")), expected);
    // Only the first of duplicate sections is searched; an absent entry leaves every byte.
    EXPECT_EQ(ProfileRemove(kMsDos, QStringLiteral("Options"), QStringLiteral("Second")), kMsDos);
    EXPECT_EQ(ProfileRemove(kMsDos, QStringLiteral("Paths"), QStringLiteral("Logo")), kMsDos);
}

// As Windows' profile functions have it: the key is there, its value is not.
TEST(ProfileText, AKeyLineWithoutEqualsHasNoValue)
{
    const QByteArray file = "[s]\r\nflag\r\nflag=1\r\n";
    EXPECT_FALSE(ProfileLookup(file, QStringLiteral("s"), QStringLiteral("FLAG")));
    EXPECT_EQ(ProfileUpdate(file, QStringLiteral("s"), QStringLiteral("flag"), QStringLiteral("2")),
              QByteArray("[s]\r\nflag=2\r\nflag=1\r\n"));
    EXPECT_EQ(ProfileRemove(file, QStringLiteral("s"), QStringLiteral("flag")),
              QByteArray("[s]\r\nflag=1\r\n"));
}

// Windows strips one pair of the same quote, double or single, from the trimmed text.
TEST(ProfileText, OnePairOfTheSameQuotesIsStrippedOnRead)
{
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {"k='single'", QStringLiteral("single")},
        {"k=\"double\"", QStringLiteral("double")},
        {"k=' padded '", QStringLiteral(" padded ")},
        {"k=  'x'  ", QStringLiteral("x")},
        {"k=''", QString()},
        {"k='a'b'", QStringLiteral("a'b")},
        {"k=\"'inner'\"", QStringLiteral("'inner'")},
        {"k=''twice''", QStringLiteral("'twice'")},
        {"k='", QStringLiteral("'")},
        {"k='open", QStringLiteral("'open")},
        {"k=shut'", QStringLiteral("shut'")},
        {"k='mixed\"", QStringLiteral("'mixed\"")},
        {"k=\"mixed'", QStringLiteral("\"mixed'")},
        {"k=a 'b' c", QStringLiteral("a 'b' c")},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(
            ProfileLookup("[s]\r\n" + line + "\r\n", QStringLiteral("s"), QStringLiteral("k")),
            expected);
    }
}

namespace {

// Windows' reading said plainly, line by line, for the property below.
std::optional<QString> ReadLineByLine(const QByteArray& file, const QString& section,
                                      const QString& key)
{
    bool inside = false;
    bool seen = false;
    for (const QString& raw :
         FromCp1250(file).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")))) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            if (seen) return std::nullopt;
            const QString name = line.mid(1).section(u']', 0, 0).trimmed();
            inside = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
            seen = inside;
            continue;
        }
        if (!inside || line.isEmpty() || line.startsWith(u';')) continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString name = eq < 0 ? line : line.left(eq).trimmed();
        if (name.compare(key.trimmed(), Qt::CaseInsensitive) != 0) continue;
        if (eq < 0) return std::nullopt;
        const QString value = line.mid(eq + 1).trimmed();
        const bool quoted = value.size() >= 2 &&
                            (value.front() == u'"' || value.front() == u'\'') &&
                            value.back() == value.front();
        return quoted ? value.mid(1, value.size() - 2) : value;
    }
    return std::nullopt;
}

} // namespace

// The parsed file answers every lookup as a reading of the file from its start does: repeated
// sections and keys, keys without "=", entries before any section, case and blanks.
TEST(ProfileText, TheParsedFileReadsAsTheFileLineByLine)
{
    const char* const sections[] = {"[A]", "[a]", " [ A ] ", "[B", "[b]x", "[]", "[Ą]", "[ą]"};
    const char* const entries[] = {"k=1", "K = 2 ",  "k",  "k=",   "k='q'", " ;k=3", "",
                                   "\t",  "l=\"4\"", "=5", "k==6", "ł=7",   "Ł=8",   "L=9"};
    const char* const breaks[] = {"\r\n", "\n", "\r"};
    const QStringList names = {
        QStringLiteral("A"), QStringLiteral(" a "), QStringLiteral("B"), QStringLiteral("b"),
        QString(),           QStringLiteral("Ą"),   QStringLiteral("C")};
    const QStringList keys = {QStringLiteral("k"), QStringLiteral(" K "), QStringLiteral("l"),
                              QString(),           QStringLiteral("Ł"),   QStringLiteral(";k"),
                              QStringLiteral("m")};
    std::mt19937 random(1998);
    for (int round = 0; round < 300; ++round) {
        QByteArray file;
        const int lines = int(random() % 16);
        for (int i = 0; i < lines; ++i) {
            file += random() % 4 == 0
                        ? ToCp1250(QString::fromUtf8(sections[random() % std::size(sections)]))
                        : ToCp1250(QString::fromUtf8(entries[random() % std::size(entries)]));
            file += breaks[random() % std::size(breaks)];
        }
        const ProfileIndex index(file);
        for (const QString& section : names)
            for (const QString& key : keys)
                ASSERT_EQ(index.Lookup(section, key), ReadLineByLine(file, section, key))
                    << file.toStdString() << " [" << section.toStdString() << "] "
                    << key.toStdString();
    }
}

class TIniFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m.MakeWindows();
        m.WriteFile(QStringLiteral("drive_c/MSDOS.SYS"), kMsDos);
        m.WriteFile(QStringLiteral("drive_c/WINDOWS/SYSTEM.INI"),
                    "[386Enh]\r\nHex=0x1F\r\nBad=abc\r\nTwo=2\r\nShort=0x\r\nNeg=-5\r\n"
                    "Big=0xFFFFFFFF\r\nHuge=99999999999\r\nSpaced= 12 \r\n");
        m.Open();
    }

    TempMachine m;
};

TEST_F(TIniFileTest, NumbersAndBooleans)
{
    TIniFile ini(GetSystemPath(QStringLiteral("win")) + QStringLiteral("\\System.ini"));
    const QString s = QStringLiteral("386Enh");
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Hex"), 0), 31);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Bad"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Short"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Neg"), 0), -5);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Big"), 0), -1);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Huge"), 3), 3);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Spaced"), 0), 12);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Missing"), 9), 9);
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("Two"), false));
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("Missing"), true));
    EXPECT_FALSE(ini.ReadBool(s, QStringLiteral("Bad"), false));
}

TEST_F(TIniFileTest, ReadStringDefaultsAndLength)
{
    TIniFile missing(QStringLiteral("C:\\NOWHERE\\none.ini"));
    EXPECT_EQ(missing.ReadString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("def")),
              QStringLiteral("def"));
    TIniFile ini(QStringLiteral("C:\\long.ini"));
    ini.WriteString(QStringLiteral("a"), QStringLiteral("b"), QString(3000, u'x'));
    EXPECT_EQ(ini.ReadString(QStringLiteral("a"), QStringLiteral("b"), QString()).size(), 2047);
    ini.WriteString(QStringLiteral("a"), QStringLiteral("empty"), QString());
    EXPECT_EQ(ini.ReadString(QStringLiteral("a"), QStringLiteral("empty"), QStringLiteral("d")),
              QString());
}

// As Windows returns a default: without trailing blanks, and without quotes around it.
TEST_F(TIniFileTest, DefaultIsTrimmedAndUnquotedAsWindowsReturnsIt)
{
    TIniFile ini(QStringLiteral("C:\none.ini"));
    const auto read = [&](const char* def) {
        return ini.ReadString(QStringLiteral("a"), QStringLiteral("b"), QString::fromUtf8(def));
    };
    EXPECT_EQ(read("  x  "), QStringLiteral("  x"));
    EXPECT_EQ(read("\"q\"  "), QStringLiteral("q"));
    EXPECT_EQ(read("'s'"), QStringLiteral("s"));
    EXPECT_EQ(read("\"open"), QStringLiteral("\"open"));
    EXPECT_EQ(read("x\t"), QStringLiteral("x\t"));
}

TEST_F(TIniFileTest, WritesCreateTheFileAndKeepItsBytes)
{
    TIniFile created(QStringLiteral("C:\\WINDOWS\\control.ini"));
    created.WriteBool(QStringLiteral("don't load"), QStringLiteral("desk.cpl"), true);
    created.WriteInteger(QStringLiteral("don't load"), QStringLiteral("main.cpl"), 0);
    EXPECT_EQ(m.ReadFile(QStringLiteral("drive_c/WINDOWS/control.ini")),
              "[don't load]\r\ndesk.cpl=1\r\nmain.cpl=0\r\n");

    TIniFile msdos(GetSystemPath(QStringLiteral("dysk")) + QStringLiteral("\\MsDos.sys"));
    msdos.WriteString(QStringLiteral("Options"), QStringLiteral("BootGUI"), QStringLiteral("0"));
    QByteArray expected = kMsDos;
    expected.replace("BootGUI=1\r\n", "BootGUI=0\r\n");
    EXPECT_EQ(m.ReadFile(QStringLiteral("drive_c/MSDOS.SYS")), expected);
}

TEST_F(TIniFileTest, ReadOnlyFileIsRefusedEvenForRoot)
{
    const QString host = m.Host(QStringLiteral("drive_c/MSDOS.SYS"));
    QFile::setPermissions(host, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString path = QStringLiteral("C:\\MSDOS.SYS");
    TIniFile ini(path);
    try {
        ini.WriteString(QStringLiteral("Options"), QStringLiteral("BootGUI"), QStringLiteral("0"));
        FAIL() << "the write went through";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Text(), QStringLiteral("Unable to write to C:\\MSDOS.SYS"));
    }
    EXPECT_EQ(m.ReadFile(QStringLiteral("drive_c/MSDOS.SYS")), kMsDos);
    EXPECT_THROW(TIniFile(QStringLiteral("C:\\NOWHERE\\x.ini"))
                     .WriteString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")),
                 EIniFileException);
}

TEST_F(TIniFileTest, WriteKeepsModeAndDosAttributes)
{
    if (!SupportsDosAttributes(m.Prefix())) GTEST_SKIP() << "no extended attributes here";
    const QString file = QStringLiteral("C:\\MSDOS.SYS");
    FileSetAttr(file, faHidden | faSysFile);
    TIniFile(file).WriteString(QStringLiteral("Options"), QStringLiteral("Logo"),
                               QStringLiteral("1"));
    EXPECT_EQ(FileGetAttr(file) & (faHidden | faSysFile | faReadOnly), faHidden | faSysFile);
}

// Read answers what ValueExists and ReadString answer together.
TEST_F(TIniFileTest, ReadGivesTheTextOrNothing)
{
    m.WriteFile(QStringLiteral("drive_c/read.ini"),
                "[s]\r\nk = 'v' \r\nflag\r\nempty=\r\nlong=" + QByteArray(3000, 'x') + "\r\n");
    TIniFile ini(QStringLiteral("C:\\read.ini"));
    const QString s = QStringLiteral("S");
    for (const char* key : {"k", "flag", "empty", "long", "missing"}) {
        SCOPED_TRACE(key);
        const QString ident = QString::fromLatin1(key);
        const auto text = ini.Read(s, ident);
        ASSERT_EQ(text.has_value(), ini.ValueExists(s, ident));
        if (text) EXPECT_EQ(*text, ini.ReadString(s, ident, QStringLiteral("default")));
    }
    EXPECT_EQ(ini.Read(s, QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_EQ(ini.Read(s, QStringLiteral("long"))->size(), 2047);
    EXPECT_FALSE(ini.Read(s, QStringLiteral("flag")));
}

// One access object reads its file once, but a change made beside it (another program, the
// system file editor) is read at the next lookup, as are its own writes.
TEST_F(TIniFileTest, AnAccessObjectReadsTheFileAsItIsNow)
{
    TIniFile ini(QStringLiteral("C:\\MSDOS.SYS"));
    const QString options = QStringLiteral("Options");
    EXPECT_EQ(ini.ReadString(options, QStringLiteral("BootGUI"), {}), QStringLiteral("1"));
    m.WriteFile(QStringLiteral("drive_c/MSDOS.SYS"), "[Options]\r\nBootGUI=10\r\n");
    EXPECT_EQ(ini.ReadString(options, QStringLiteral("BootGUI"), {}), QStringLiteral("10"));
    EXPECT_FALSE(ini.ValueExists(options, QStringLiteral("Logo")));
    ini.WriteString(options, QStringLiteral("BootGUI"), QStringLiteral("20"));
    EXPECT_EQ(ini.ReadString(options, QStringLiteral("BootGUI"), {}), QStringLiteral("20"));
    QFile::remove(m.Host(QStringLiteral("drive_c/MSDOS.SYS")));
    EXPECT_FALSE(ini.ValueExists(options, QStringLiteral("BootGUI")));
}

TEST_F(TIniFileTest, DeleteKeyRemovesTheEntryAndRespectsReadOnly)
{
    TIniFile ini(QStringLiteral("C:\\MSDOS.SYS"));
    const QString options = QStringLiteral("Options");
    EXPECT_TRUE(ini.ValueExists(options, QStringLiteral("logo")));
    ini.DeleteKey(options, QStringLiteral("Logo"));
    EXPECT_FALSE(ini.ValueExists(options, QStringLiteral("Logo")));
    ini.DeleteKey(options, QStringLiteral("Logo")); // already gone: nothing to do
    QByteArray expected = kMsDos;
    expected.replace("Logo = 0 \r\n", "");
    EXPECT_EQ(m.ReadFile(QStringLiteral("drive_c/MSDOS.SYS")), expected);

    QFile::setPermissions(m.Host(QStringLiteral("drive_c/MSDOS.SYS")), QFile::ReadOwner);
    EXPECT_THROW(ini.DeleteKey(options, QStringLiteral("BootGUI")), EIniFileException);
    EXPECT_TRUE(ini.ValueExists(options, QStringLiteral("BootGUI")));

    // A key's line without a value is deleted too.
    m.WriteFile(QStringLiteral("drive_c/flags.ini"), "[s]\r\nflag\r\n");
    TIniFile flags(QStringLiteral("C:\\flags.ini"));
    flags.DeleteKey(QStringLiteral("s"), QStringLiteral("flag"));
    EXPECT_EQ(m.ReadFile(QStringLiteral("drive_c/flags.ini")), QByteArray("[s]\r\n"));
}
