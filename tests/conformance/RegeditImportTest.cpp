// Conformance of an exported run with Wine's own regedit: runs holding values of every type,
// Polish text included, are exported, imported by `regedit /S` into a fresh prefix, and every
// value is read back from the prefix's registry files. Wine runs in the C locale, whose ANSI code
// page has no Polish letters, so that what comes through does not lean on the locale.
#include "Journal.h"
#include "TempMachine.h"
#include "WineProcess.h"
#include "WineRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

const QString kKey = QStringLiteral("Software\\Tolmar Eksport");

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

QByteArray Utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

JournalData Text(std::uint32_t type, const char* utf8)
{
    return {type, Utf16(S(utf8)) + QByteArray(2, '\0')};
}

JournalChange Value(HKEY root, const QString& key, const QString& name,
                    std::optional<JournalData> after)
{
    JournalChange c;
    c.root = root;
    c.path = key;
    c.name = name;
    c.after = std::move(after);
    return c;
}

JournalChange Key(const QString& key, bool present)
{
    JournalChange c = Value(HKEY_CURRENT_USER, key, QString(), std::nullopt);
    c.kind = JournalChange::Kind::Key;
    if (present) c.after = JournalData{};
    return c;
}

// Under the C locale, whose ANSI code page has no Polish letters: the export must not need them.
QString RunWine(const QString& prefix, const QStringList& command)
{
    return RunProcess(command[0], command.mid(1), WineEnvironment(prefix, QStringLiteral("C")));
}

// Imports the run's export and waits until the server has written the registry files.
QString Import(const QString& prefix, const JournalRun& run, const QString& name)
{
    QFile file(prefix + QStringLiteral("/drive_c/") + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(RegeditExport(run)) < 0)
        return QStringLiteral("cannot write ") + file.fileName();
    file.close();
    QString error = RunWine(prefix, {QStringLiteral(TOLMAR_WINE), QStringLiteral("regedit"),
                                     QStringLiteral("/S"), QStringLiteral("C:\\") + name});
    if (error.isEmpty())
        error = RunWine(prefix, {QStringLiteral(TOLMAR_WINESERVER), QStringLiteral("-w")});
    return error;
}

std::unique_ptr<RegistryHive> Hive(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return nullptr;
    return RegistryHive::Parse(f.readAll());
}

const RegNode* Find(const RegistryHive& hive, const QString& path)
{
    const RegNode* node = &hive.Root();
    for (const QString& part : path.split(u'\\'))
        if (!(node = node->Child(part))) return nullptr;
    return node;
}

} // namespace

TEST(RegeditImport, WineImportsEveryValueOfAnExportedRun)
{
    if (!QFileInfo(QStringLiteral(TOLMAR_WINE)).isExecutable() ||
        !QFileInfo(QStringLiteral(TOLMAR_WINESERVER)).isExecutable())
        GTEST_SKIP() << "Wine is not installed";
    QByteArray binary;
    for (int i = 0; i < 200; ++i)
        binary += char(i * 7);
    const QString polishKey = kKey + S("\\Zażółć gęślą jaźń");
    JournalRun first;
    first.changes = {
        Value(HKEY_CURRENT_USER, kKey, S("Tekst"), Text(REG_SZ, "zwykły tekst")),
        Value(HKEY_CURRENT_USER, kKey, S("Cytat"), Text(REG_SZ, "C:\\Windows\\\"x\" ; [y]")),
        Value(HKEY_CURRENT_USER, kKey, QString(), Text(REG_SZ, "domyślna")),
        Value(HKEY_CURRENT_USER, kKey, S("Pusty"), Text(REG_SZ, "")),
        Value(HKEY_CURRENT_USER, kKey, S("Bez danych"), JournalData{REG_SZ, {}}),
        Value(HKEY_CURRENT_USER, kKey, S("Wiersze"), Text(REG_SZ, "a\r\nb\tc")),
        Value(HKEY_CURRENT_USER, kKey, S("Ścieżka"), Text(REG_EXPAND_SZ, "%SystemRoot%\\Błąd")),
        Value(HKEY_CURRENT_USER, kKey, S("Lista"),
              JournalData{REG_MULTI_SZ, Utf16(S("jeden|dwa|ó||").replace(u'|', QChar()))}),
        Value(HKEY_CURRENT_USER, kKey, S("Liczba"),
              JournalData{REG_DWORD, QByteArray("\xef\xbe\xad\xde", 4)}),
        Value(HKEY_CURRENT_USER, kKey, S("Dane"), JournalData{REG_BINARY, binary}),
        Value(HKEY_CURRENT_USER, kKey, S("Duża"), JournalData{REG_QWORD, binary.left(8)}),
        Value(HKEY_CURRENT_USER, kKey, S("Nic"), JournalData{REG_NONE, binary.left(3)}),
        Value(HKEY_CURRENT_USER, kKey, S("Krótki"), JournalData{REG_DWORD, binary.left(2)}),
        Value(HKEY_CURRENT_USER, kKey, S("Własny typ"), JournalData{0x12345, binary.left(5)}),
        Value(HKEY_CURRENT_USER, kKey, S("Zbedna"), Text(REG_SZ, "x")),
        Value(HKEY_CURRENT_USER, polishKey, S("Źdźbło"), Text(REG_SZ, "ĄĆĘŁŃÓŚŹŻ")),
        Key(kKey + S("\\Pusty klucz"), true),
        Value(HKEY_CURRENT_USER, kKey + S("\\Do usuniecia"), S("x"), Text(REG_SZ, "y")),
        Value(HKEY_LOCAL_MACHINE, kKey, S("Maszyna"), Text(REG_SZ, "ąćęłńóśźż")),
    };
    // Only ASCII: the file goes in single bytes.
    JournalRun second;
    second.changes = {
        Value(HKEY_CURRENT_USER, kKey, S("Zbedna"), std::nullopt),
        Key(kKey + S("\\Do usuniecia"), false),
        Value(HKEY_CURRENT_USER, kKey, S("Rozwiniety"), Text(REG_EXPAND_SZ, "%TEMP%\\x")),
        Value(HKEY_CURRENT_USER, kKey, S("Lista2"),
              JournalData{REG_MULTI_SZ, Utf16(S("a|b||").replace(u'|', QChar()))}),
        Value(HKEY_CURRENT_USER, kKey, S("Cytat2"), Text(REG_SZ, "\\\\serwer\\\"udzial\"")),
    };

    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/prefix");
    ASSERT_EQ(RunWine(prefix, {QStringLiteral(TOLMAR_WINE), QStringLiteral("wineboot"),
                               QStringLiteral("-i")}),
              QString());
    ASSERT_EQ(RunWine(prefix, {QStringLiteral(TOLMAR_WINESERVER), QStringLiteral("-w")}),
              QString());
    ASSERT_EQ(Import(prefix, first, QStringLiteral("first.reg")), QString());
    ASSERT_EQ(Import(prefix, second, QStringLiteral("second.reg")), QString());

    const auto user = Hive(prefix + QStringLiteral("/user.reg"));
    const auto machine = Hive(prefix + QStringLiteral("/system.reg"));
    ASSERT_TRUE(user && machine);
    // What the two runs leave, value by value.
    std::map<QString, const JournalChange*> last;
    for (const JournalRun* run : {&first, &second})
        for (const JournalChange& c : run->changes)
            if (c.kind == JournalChange::Kind::Value)
                last[ChangedThingName(c)] = &c;
            else if (!c.after) // a deleted key takes its values along
                std::erase_if(last, [&](const auto& e) { return e.second->path == c.path; });
    for (const auto& [name, c] : last) {
        SCOPED_TRACE(qPrintable(name));
        const RegNode* key = Find(c->root == HKEY_CURRENT_USER ? *user : *machine, c->path);
        const RegNodeValue* value = key ? key->Value(c->name) : nullptr;
        if (!c->after) {
            EXPECT_EQ(value, nullptr);
            continue;
        }
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, c->after->type);
        EXPECT_EQ(QByteArray(value->data), c->after->bytes);
    }
    EXPECT_NE(Find(*user, kKey + S("\\Pusty klucz")), nullptr);
    EXPECT_EQ(Find(*user, kKey + S("\\Do usuniecia")), nullptr);
}
