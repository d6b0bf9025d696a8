// The change journal: its file, and undoing, replaying and exporting a run.
#include "Journal.h"

#include "TempMachine.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using Kind = JournalChange::Kind;
using Data = std::optional<JournalData>;

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

JournalData Text(const char* utf8)
{
    const QString text = S(utf8);
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return {REG_SZ, data.append(2, '\0')};
}

JournalData Dword(std::uint32_t n)
{
    return {REG_DWORD, QByteArray(reinterpret_cast<const char*>(&n), 4)};
}

// A profile entry's text or a file's bytes.
JournalData Bytes(const QByteArray& bytes) { return {0, bytes}; }

const JournalData kPresent{};

JournalChange Value(HKEY root, const char* key, const char* name, Data before, Data after)
{
    JournalChange c;
    c.root = root;
    c.path = S(key);
    c.name = S(name);
    c.before = std::move(before);
    c.after = std::move(after);
    return c;
}

JournalChange Key(HKEY root, const char* key, Data before, Data after)
{
    JournalChange c = Value(root, key, "", std::move(before), std::move(after));
    c.kind = Kind::Key;
    return c;
}

JournalChange Profile(const char* file, const char* section, const char* entry, Data before,
                      Data after)
{
    JournalChange c = Value(0, file, entry, std::move(before), std::move(after));
    c.kind = Kind::Profile;
    c.section = S(section);
    return c;
}

JournalChange File(const char* file, Data before, Data after)
{
    JournalChange c = Value(0, file, "", std::move(before), std::move(after));
    c.kind = Kind::File;
    return c;
}

void AppendRaw(const QString& prefix, const QByteArray& bytes)
{
    QFile f(Journal::PathOf(prefix));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(bytes);
}

// What a change's thing holds on the machine, read without the journal's own code.
Data State(Machine& m, const JournalChange& c)
{
    switch (c.kind) {
    case Kind::Value:
        if (const auto v = m.RegQueryValue(c.root, c.path, c.name))
            return JournalData{v->type, v->data};
        return std::nullopt;
    case Kind::Key:
        return m.RegOpenKey(c.root, c.path) ? Data(kPresent) : std::nullopt;
    case Kind::Profile:
        if (const auto t = m.ProfileRead(c.path, c.section, c.name)) return Bytes(t->toUtf8());
        return std::nullopt;
    case Kind::File: {
        QFile f(m.HostPath(c.path));
        if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
        return Bytes(f.readAll());
    }
    }
    return std::nullopt;
}

} // namespace

TEST(Journal, ChangesComeBackAsTheyWereAppended)
{
    std::vector<JournalChange> changes = {
        Value(HKEY_CURRENT_USER, "Control Panel\\Desktop", "MenuShowDelay", Text("400"),
              Text("10")),
        Value(HKEY_LOCAL_MACHINE, "Software\\Zażółć\tgęślą jaźń", "", std::nullopt,
              JournalData{REG_BINARY, QByteArray("\0\t\n\r%-", 6)}),
        Value(HKEY_USERS, ".Default\\100%25 ń", "linia\nnowa\r\n",
              JournalData{REG_MULTI_SZ, QByteArray("a\0\0\0", 4)}, std::nullopt),
        Value(HKEY_CLASSES_ROOT, "", "-", JournalData{0xffffffff, {}}, JournalData{REG_NONE, {}}),
        Key(HKEY_CURRENT_CONFIG, "Display\\Settings", std::nullopt, kPresent),
        Key(HKEY_CURRENT_USER, "Software\\Tolmar\\Stary", kPresent, std::nullopt),
        Profile("C:\\WINDOWS\\WIN.INI", "Desktop", "Wallpaper",
                Bytes(S("C:\\Tapety\\łąka.bmp").toUtf8()), Bytes("")),
        Profile("C:\\MSDOS.SYS", "Options %0A", " klucz\t", std::nullopt, Bytes("1")),
        File("C:\\AUTOEXEC.BAT", std::nullopt, Bytes(QByteArray("\0\xff\n", 3))),
        File("C:\\WINDOWS\\Pusty plik.txt", Bytes(""), std::nullopt),
    };
    for (std::size_t i = 0; i < changes.size(); ++i)
        changes[i].time = 1733760000000 + qint64(i);
    TempMachine m;
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    Journal journal(m.Prefix());
    ASSERT_TRUE(journal.Append({changes.begin(), changes.begin() + 4}));
    ASSERT_TRUE(journal.Append({changes.begin() + 4, changes.end()}));

    const std::vector<JournalRun> runs = Journal::Read(m.Prefix());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].number, 1);
    EXPECT_EQ(runs[0].undoes, 0);
    EXPECT_GE(runs[0].started, before);
    EXPECT_LE(runs[0].started, QDateTime::currentMSecsSinceEpoch());
    ASSERT_EQ(runs[0].changes.size(), changes.size());
    for (std::size_t i = 0; i < changes.size(); ++i)
        EXPECT_TRUE(runs[0].changes[i] == changes[i]) << "change " << i;
    // One record a line: nothing in a field may break one.
    QFile f(Journal::PathOf(m.Prefix()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count('\n'), qsizetype(changes.size() + 1));
}

TEST(Journal, RunsNumberOnAcrossJournalsPastATornLastLine)
{
    TempMachine m;
    const JournalChange first = Value(HKEY_CURRENT_USER, "A", "x", std::nullopt, Dword(1));
    const JournalChange second = File("C:\\B", std::nullopt, Bytes("b"));
    ASSERT_TRUE(Journal(m.Prefix()).Append({}));
    EXPECT_FALSE(QFile::exists(Journal::PathOf(m.Prefix())));
    ASSERT_TRUE(Journal(m.Prefix()).Append({first}));
    // A line of a later version, and one a crash cut before its end (whole but for the LF).
    AppendRaw(m.Prefix(), "shiny\tnew\tkind\nvalue\t3\tHKEY_CURRENT_USER\tA\tx\t-\t4:02000000");
    ASSERT_EQ(Journal::Read(m.Prefix()).back().changes.size(), 1u);

    // The next run starts on a line of its own.
    Journal undo(m.Prefix(), 1);
    ASSERT_TRUE(undo.Append({second}));
    ASSERT_TRUE(undo.Append({first}));
    const std::vector<JournalRun> runs = Journal::Read(m.Prefix());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].number, 1);
    ASSERT_EQ(runs[0].changes.size(), 1u);
    EXPECT_TRUE(runs[0].changes[0] == first);
    EXPECT_EQ(runs[1].number, 2);
    EXPECT_EQ(runs[1].undoes, 1);
    ASSERT_EQ(runs[1].changes.size(), 2u);
    EXPECT_TRUE(runs[1].changes[0] == second);
}

TEST(Journal, UndoLeavesEverythingAsBeforeButWhatSomeoneChangedSince)
{
    const char* desktop = "Control Panel\\Desktop";
    const char* made = "Software\\Tolmar\\Nowy";
    const char* foreign = "Software\\Tolmar\\Obcy";
    const HKEY hkcu = HKEY_CURRENT_USER;
    struct Row
    {
        JournalChange change;
        // What someone else does after the run, where that keeps undo off the row's thing.
        std::optional<JournalChange> someone;
    };
    const Row rows[] = {
        {Value(hkcu, desktop, "MenuShowDelay", std::nullopt, Text("10")), std::nullopt},
        {Value(hkcu, desktop, "CursorBlinkRate", Text("530"), Dword(200)), std::nullopt},
        {Value(HKEY_LOCAL_MACHINE, "Software\\Run", "SystemTray", Text("SysTray.Exe"),
               std::nullopt),
         std::nullopt},
        {Key(hkcu, made, std::nullopt, kPresent), std::nullopt},
        {Value(hkcu, made, "", std::nullopt, Dword(1)), std::nullopt},
        {Profile("C:\\WINDOWS\\WIN.INI", "Desktop", "Wallpaper", Bytes("stara.bmp"),
                 Bytes(S("łąka.bmp").toUtf8())),
         std::nullopt},
        {Profile("C:\\WINDOWS\\SYSTEM.INI", "boot", "shell", Bytes("Explorer.exe"), std::nullopt),
         std::nullopt},
        {File("C:\\MSDOS.SYS", Bytes("[Options]\r\nBootGUI=1\r\n"),
              Bytes("[Options]\r\nBootGUI=0\r\n")),
         std::nullopt},
        {File("C:\\WINDOWS\\Nowy.txt", std::nullopt, Bytes("x")), std::nullopt},
        {Value(hkcu, desktop, "Wallpaper", Text("a.bmp"), Text("b.bmp")),
         Value(hkcu, desktop, "Wallpaper", std::nullopt, Text("c.bmp"))},
        {Key(hkcu, foreign, std::nullopt, kPresent),
         Value(hkcu, foreign, "Cudzy", std::nullopt, Dword(7))},
        {Profile("C:\\WINDOWS\\WIN.INI", "Desktop", "TileWallpaper", Bytes("0"), Bytes("1")),
         Profile("C:\\WINDOWS\\WIN.INI", "Desktop", "TileWallpaper", std::nullopt, std::nullopt)},
        {File("C:\\CONFIG.SYS", Bytes("a"), Bytes("b")),
         File("C:\\CONFIG.SYS", std::nullopt, Bytes("z"))},
    };
    TempMachine m;
    m.MakeWindows();
    Machine& machine = m.Open();
    JournalRun run;
    std::vector<JournalChange> seed, someone;
    std::vector<QString> leftAlone;
    for (const Row& row : rows) {
        seed.push_back(row.change);
        seed.back().after = row.change.before;
        run.changes.push_back(row.change);
        if (!row.someone) continue;
        someone.push_back(*row.someone);
        // Undo goes newest first.
        leftAlone.insert(leftAlone.begin(), ChangedThingName(row.change));
    }
    ReplayRun(machine, seed);
    for (const JournalChange& c : seed)
        ASSERT_EQ(State(machine, c), c.after) << qPrintable(ChangedThingName(c));
    EXPECT_EQ(ReplayRun(machine, run.changes), std::vector<QString>());
    ReplayRun(machine, someone);
    std::vector<Data> since;
    for (const Row& row : rows)
        since.push_back(State(machine, row.change));

    EXPECT_EQ(UndoRun(machine, run), leftAlone);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const JournalChange& c = rows[i].change;
        EXPECT_EQ(State(machine, c), rows[i].someone ? since[i] : c.before)
            << qPrintable(ChangedThingName(c));
    }
}

TEST(Journal, ReplayOverSomeoneElsesChangeKeepsTolmarsDataAndNamesItOnce)
{
    TempMachine m;
    Machine& machine = m.Open();
    const char* desktop = "Control Panel\\Desktop";
    // Wine rewrote the registry: one value is as it was before the run, the other someone's.
    ReplayRun(machine, {Value(HKEY_CURRENT_USER, desktop, "MenuShowDelay", {}, Text("400")),
                        Value(HKEY_CURRENT_USER, desktop, "", {}, Text("cudze"))});
    const std::vector<JournalChange> changes = {
        Value(HKEY_CURRENT_USER, desktop, "MenuShowDelay", Text("400"), Text("10")),
        Value(HKEY_CURRENT_USER, desktop, "", Text("stare"), Text("nowe")),
        Value(HKEY_CURRENT_USER, desktop, "", Text("nowe"), Text("najnowsze")),
        Value(HKEY_CURRENT_USER, desktop, "MenuShowDelay", Text("10"), Text("20"))};

    EXPECT_EQ(ReplayRun(machine, changes),
              std::vector<QString>{S("HKEY_CURRENT_USER\\Control Panel\\Desktop\\(Domyślna)")});
    EXPECT_EQ(State(machine, changes[0]), Text("20"));
    EXPECT_EQ(State(machine, changes[1]), Text("najnowsze"));
}

TEST(Journal, ExportHoldsTheNetRegistryChangesAsRegeditWritesThem)
{
    QByteArray thirty;
    for (char i = 0; i < 30; ++i)
        thirty += i;
    const char* tolmar = "Software\\Tolmar";
    JournalRun run;
    run.changes = {
        Value(HKEY_CURRENT_USER, tolmar, "Opis", std::nullopt, Text("stary")),
        Value(HKEY_CURRENT_USER, tolmar, "opis", Text("stary"), Text("C:\\\"nowy\"")),
        Value(HKEY_CURRENT_USER, tolmar, "Dane", std::nullopt, JournalData{REG_BINARY, thirty}),
        Key(HKEY_LOCAL_MACHINE, "Software\\Stary", kPresent, std::nullopt),
        Value(HKEY_CURRENT_USER, tolmar, "", std::nullopt, Dword(42)),
        Profile("C:\\WINDOWS\\WIN.INI", "Desktop", "Wallpaper", std::nullopt,
                Bytes(S("łąka.bmp").toUtf8())),
        Value(HKEY_CLASSES_ROOT, "txtfile", "Lista", std::nullopt,
              JournalData{REG_MULTI_SZ, Text("a").bytes + Text("b").bytes + QByteArray(2, 0)}),
        Value(HKEY_LOCAL_MACHINE, "Software\\Run", "SystemTray", Text("x"), std::nullopt),
    };
    EXPECT_EQ(RegeditExport(run),
              QByteArray("REGEDIT4\r\n"
                         "\r\n[HKEY_CURRENT_USER\\Software\\Tolmar]\r\n"
                         "\"opis\"=\"C:\\\\\\\"nowy\\\"\"\r\n"
                         "\"Dane\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,"
                         "13,14,15,\\\r\n  16,17,18,19,1a,1b,1c,1d\r\n"
                         "\r\n[-HKEY_LOCAL_MACHINE\\Software\\Stary]\r\n"
                         "\r\n[HKEY_CURRENT_USER\\Software\\Tolmar]\r\n"
                         "@=dword:0000002a\r\n"
                         "\r\n[HKEY_CLASSES_ROOT\\txtfile]\r\n"
                         "\"Lista\"=hex(7):61,00,62,00,00\r\n"
                         "\r\n[HKEY_LOCAL_MACHINE\\Software\\Run]\r\n"
                         "\"SystemTray\"=-\r\n"
                         "\r\n"));
}
