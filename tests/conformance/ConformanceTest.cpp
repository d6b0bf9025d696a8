// Conformance of the platform layer with Windows' own profile and registry functions as Wine
// implements them. A seeded random script runs twice: through the probe under Wine in a fresh
// prefix, and through TIniFile, TRegistry and the platform on an emulated machine. The result
// lines, the profile files and the registry (values and Wine's file text) must agree, except
// where our rules differ from Wine on purpose:
//
// - Lines we do not write (comments, blank lines, padding, spacing around "=", LF or lone CR
//   line ends) stay byte for byte, and so does the line of an entry written with the value it
//   holds, blanks around the value aside (Wine ignores only leading ones there); Wine writes the
//   whole file anew in its own form once anything changes. Files are compared in that form.
// - A new key goes after its section's last entry, before comments that end the section (they
//   usually introduce what follows); Wine puts it after them. Comments are compared apart.
// - Wine's delete does not trim the names it is given (its reads and writes do), so "Options "
//   deletes nothing there; ours trims them as every other operation does. Deletes use trimmed
//   names.
// - Wine's delete goes on to a repeated section when the first of that name lacks the key; ours,
//   as every read and write, sees only the first. Deletes go to files without repeated sections.
// - Wine's profile functions fold the case of ASCII letters only; Windows' fold every letter, as
//   ours do. Names differ in the case of ASCII letters alone.
// - TIniFile::ReadInteger reads numbers as the program always has (decimal, or hexadecimal after
//   "0x" or "0X"; anything else gives the default), not as GetPrivateProfileInt ("12abc" is 12,
//   "abc" and "0X1f" 0): integers are compared where the text is such a number or missing.
// - A name that would break the file's lines is refused, so the generator makes none: a section
//   with "]", a key with "=" or starting with ";" or "[", line breaks anywhere.
//
// TOLMAR_CONFORMANCE_SEED picks the script (decimal; "random" for a fresh one, printed) and
// TOLMAR_CONFORMANCE_OPS the number of operations of each kind. The registry half must end with
// enough live values that the comparison of the trees and of Wine's text means something.
#include "Cp1250.h"
#include "Errors.h"
#include "Script.h"
#include "TIniFile.h"
#include "TRegistry.h"
#include "TempMachine.h"
#include "WineProcess.h"
#include "WineRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <random>

namespace {

const QString kRoot = QStringLiteral("Software\\TolmarConformance");

std::uint64_t Seed()
{
    const QByteArray given = qgetenv("TOLMAR_CONFORMANCE_SEED");
    if (given.isEmpty()) return 20240518;
    if (given == "random") return std::random_device()() * 4294967296ULL + std::random_device()();
    return given.toULongLong();
}

int OpsPerKind()
{
    const int given = qEnvironmentVariableIntValue("TOLMAR_CONFORMANCE_OPS");
    return given > 0 ? given : 1000;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// ---- Wine ------------------------------------------------------------------------------------

struct WineRun
{
    QStringList lines;
    QString userReg;
    QString drive;
    QString error;
};

WineRun RunWine(const QString& folder, const Script& script)
{
    WineRun run;
    const QString prefix = folder + QStringLiteral("/prefix");
    // The Polish locale makes Wine's ANSI code page windows-1250, the profile files' bytes.
    const QProcessEnvironment env = WineEnvironment(prefix, QStringLiteral("pl_PL.UTF-8"));
    run.error = RunProcess(QStringLiteral(TOLMAR_WINE),
                           {QStringLiteral("wineboot"), QStringLiteral("-i")}, env);
    if (run.error.isEmpty())
        run.error = RunProcess(QStringLiteral(TOLMAR_WINESERVER), {QStringLiteral("-w")}, env);
    if (!run.error.isEmpty()) return run;
    run.drive = prefix + QStringLiteral("/drive_c");
    for (const auto& [name, bytes] : script.files)
        WriteAll(run.drive + QStringLiteral("/conf/") + name + QStringLiteral(".ini"), bytes);
    WriteAll(run.drive + QStringLiteral("/conf/script.txt"), script.Text());
    QFile::copy(QStringLiteral(TOLMAR_PROBE), run.drive + QStringLiteral("/conf/probe.exe"));
    QByteArray output;
    run.error =
        RunProcess(QStringLiteral(TOLMAR_WINE),
                   {QStringLiteral("C:\\conf\\probe.exe"), QStringLiteral("C:\\conf\\script.txt")},
                   env, &output);
    // The registry reaches user.reg when the server ends.
    if (run.error.isEmpty())
        run.error = RunProcess(QStringLiteral(TOLMAR_WINESERVER), {QStringLiteral("-w")}, env);
    run.lines = QString::fromLatin1(output).split(u'\n', Qt::SkipEmptyParts);
    for (QString& line : run.lines)
        line.remove(u'\r');
    run.userReg = prefix + QStringLiteral("/user.reg");
    return run;
}

// ---- our platform ------------------------------------------------------------------------------

QString IniPath(const QString& file)
{
    return QStringLiteral("C:\\conf\\") + file + QStringLiteral(".ini");
}

QString KeyPath(const QString& sub) { return sub.isEmpty() ? kRoot : kRoot + u'\\' + sub; }

QString Ok(bool ok) { return ok ? QStringLiteral("ok") : QStringLiteral("fail"); }

QString Names(const QStringList& names)
{
    QString out = QStringLiteral("[");
    for (const QString& name : names)
        out += u' ' + Escaped(name);
    return out + QStringLiteral(" ]");
}

// The access objects are kept across operations, as a step of the program keeps its one, so
// that reads meet what the same object and the operations between them wrote.
QString RunProfileOp(const Op& op, std::map<QString, std::unique_ptr<TIniFile>>& open)
{
    auto& held = open[op.texts[0]];
    if (!held) held = std::make_unique<TIniFile>(IniPath(op.texts[0]));
    TIniFile& ini = *held;
    const QString& section = op.texts[1];
    const QString& key = op.texts[2];
    if (op.name == u"pr")
        return QStringLiteral("= ") + Escaped(ini.ReadString(section, key, op.texts[3]));
    if (op.name == u"pi")
        return QString::number(ini.ReadInteger(section, key, op.number)) + u' ' +
               Escaped(ini.ReadString(section, key, QString()));
    try {
        if (op.name == u"pw")
            ini.WriteString(section, key, op.texts[3]);
        else
            ini.DeleteKey(section, key);
        return Ok(true);
    } catch (const EIniFileException&) {
        return Ok(false);
    }
}

bool IsText(const QByteArray& data)
{
    return data.size() >= 2 && data.size() % 2 == 0 && data.endsWith(QByteArray(2, '\0'));
}

void SetValue(TRegistry& reg, const QString& path, const Op& op)
{
    const QString& name = op.texts[1];
    if (op.type == REG_SZ && IsText(op.data)) {
        reg.WriteString(name,
                        QString::fromUtf16(reinterpret_cast<const char16_t*>(op.data.constData()),
                                           op.data.size() / 2 - 1));
    } else if (op.type == REG_DWORD && op.data.size() == 4) {
        std::int32_t n;
        std::memcpy(&n, op.data.constData(), 4);
        reg.WriteInteger(name, n);
    } else if (op.type == REG_BINARY) {
        reg.WriteBinaryData(name, op.data.constData(), int(op.data.size()));
    } else if (!CurrentPlatform().RegSetValue(HKEY_CURRENT_USER, path, name, {op.type, op.data})) {
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name));
    }
}

QString RunRegistryOp(const Op& op)
{
    const QString path = KeyPath(op.texts[0]);
    TRegistry reg;
    if (op.name == u"rc") return Ok(reg.OpenKey(u'\\' + path, true));
    if (op.name == u"rd") return Ok(reg.DeleteKey(u'\\' + path));
    const bool open = reg.OpenKey(u'\\' + path, false);
    if (op.name == u"ro") return Ok(open);
    if (!open) return op.name == u"rs" || op.name == u"rv" ? Ok(false) : QStringLiteral("nokey");
    if (op.name == u"rs") {
        try {
            SetValue(reg, path, op);
            return Ok(true);
        } catch (const ERegistryException&) {
            return Ok(false);
        }
    }
    if (op.name == u"rq") {
        const auto value = CurrentPlatform().RegQueryValue(HKEY_CURRENT_USER, path, op.texts[1]);
        return value ? QString::number(value->type) + u' ' + HexOf(value->data)
                     : QStringLiteral("missing");
    }
    if (op.name == u"rv") return Ok(reg.DeleteValue(op.texts[1]));
    QStringList names;
    if (op.name == u"ek")
        reg.GetKeyNames(names);
    else
        reg.GetValueNames(names);
    return Names(names);
}

// ---- comparison ---------------------------------------------------------------------------------

// Where TIniFile::ReadInteger and GetPrivateProfileInt read a text alike.
bool PlainNumber(const QString& escapedText)
{
    static const QRegularExpression number(
        QStringLiteral("^([+-]?[0-9]{1,9}|0x[0-9a-fA-F]{1,8})?$"));
    return number.match(escapedText).hasMatch();
}

bool SameResult(const Op& op, const QString& ours, const QString& wine)
{
    if (op.name != u"pi" || ours == wine) return ours == wine;
    const QString text = wine.section(u' ', 1);
    return !PlainNumber(text) && ours.section(u' ', 1) == text;
}

QString FirstDifference(const QByteArray& ours, const QByteArray& wine)
{
    qsizetype i = 0;
    while (i < ours.size() && i < wine.size() && ours[i] == wine[i])
        ++i;
    const qsizetype from = std::max<qsizetype>(0, i - 40);
    return QStringLiteral("first difference at byte %1\n  ours: %2\n  Wine: %3")
        .arg(i)
        .arg(Escaped(FromCp1250(ours.mid(from, 100))), Escaped(FromCp1250(wine.mid(from, 100))));
}

// A file's lines apart from its comments, and its comments: a new key goes after a section's
// last entry, before the comments that end the section, where Wine puts it after them.
std::pair<QByteArray, QByteArray> SplitComments(const QByteArray& form)
{
    std::pair<QByteArray, QByteArray> parts;
    for (const QByteArray& line : form.split('\n'))
        (line.startsWith(';') ? parts.second : parts.first) += line + '\n';
    return parts;
}

// The values of a key tree, one line each, subkeys in the registry's order.
void DumpOurs(const QString& path, const QString& relative, QString& out)
{
    Platform& p = CurrentPlatform();
    out += u'[' + Escaped(relative) + QStringLiteral("]\n");
    for (const QString& name : p.RegEnumValues(HKEY_CURRENT_USER, path).value_or(QStringList{})) {
        const auto value = p.RegQueryValue(HKEY_CURRENT_USER, path, name);
        out +=
            Escaped(name) + QStringLiteral(" = %1:%2\n").arg(value->type).arg(HexOf(value->data));
    }
    for (const QString& sub : p.RegEnumKeys(HKEY_CURRENT_USER, path).value_or(QStringList{}))
        DumpOurs(path + u'\\' + sub, relative.isEmpty() ? sub : relative + u'\\' + sub, out);
}

void DumpWine(const RegNode& node, const QString& relative, QString& out)
{
    out += u'[' + Escaped(relative) + QStringLiteral("]\n");
    for (const RegNodeValue& value : node.Values())
        out += Escaped(value.name) +
               QStringLiteral(" = %1:%2\n").arg(value.type).arg(HexOf(value.data));
    for (const auto& child : node.Children())
        DumpWine(*child, relative.isEmpty() ? child->Name() : relative + u'\\' + child->Name(),
                 out);
}

// The blocks of the keys below the conformance key in a registry file, without time stamps.
QByteArray ProbeBlocks(const QByteArray& file)
{
    static const QRegularExpression stamp(QStringLiteral("\\] \\d+$"));
    QByteArray out;
    bool inside = false;
    for (const QByteArray& line : file.split('\n')) {
        if (line.startsWith('[')) {
            const QByteArray lower = line.toLower();
            inside = lower.startsWith("[software\\\\tolmarconformance]") ||
                     lower.startsWith("[software\\\\tolmarconformance\\\\");
            if (inside)
                out +=
                    QString::fromLatin1(line).replace(stamp, QStringLiteral("]")).toLatin1() + '\n';
            continue;
        }
        if (inside && !line.startsWith("#time=")) out += line + '\n';
    }
    return out;
}

} // namespace

TEST(Conformance, PlatformAgreesWithWine)
{
    const std::uint64_t seed = Seed();
    const int count = OpsPerKind();
    std::printf("conformance seed %llu, %d profile and %d registry operations\n",
                static_cast<unsigned long long>(seed), count, count);
    std::fflush(stdout);
    const Script script = GenerateScript(seed, count, count);
    const QString context = QStringLiteral("seed %1: ").arg(seed);

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const WineRun wine = RunWine(folder.path(), script);
    ASSERT_TRUE(wine.error.isEmpty()) << qPrintable(context + wine.error);
    ASSERT_EQ(qsizetype(script.ops.size()), wine.lines.size())
        << qPrintable(context) << "the probe stopped early";

    TempMachine machine;
    for (const auto& [name, bytes] : script.files)
        machine.WriteFile(QStringLiteral("drive_c/conf/") + name + QStringLiteral(".ini"), bytes);
    machine.Open();

    int differences = 0;
    std::map<QString, std::unique_ptr<TIniFile>> openFiles;
    int sets = 0, setsDone = 0, queries = 0, queriesFound = 0;
    for (std::size_t i = 0; i < script.ops.size(); ++i) {
        const Op& op = script.ops[i];
        // Now and then an object is let go, which flushes what it read.
        if (i % 7 == 0) openFiles.clear();
        const QString ours = op.IsProfile() ? RunProfileOp(op, openFiles) : RunRegistryOp(op);
        const QString theirs = wine.lines[qsizetype(i)].section(u' ', 2);
        sets += op.name == u"rs";
        setsDone += op.name == u"rs" && theirs == u"ok";
        queries += op.name == u"rq";
        queriesFound += op.name == u"rq" && theirs != u"missing" && theirs != u"nokey";
        if (SameResult(op, ours, theirs) || ++differences > 5) continue;
        ADD_FAILURE() << qPrintable(context) << "operation " << i + 1 << ": "
                      << qPrintable(op.Describe()) << "\n  ours: " << qPrintable(ours)
                      << "\n  Wine: " << qPrintable(theirs);
    }
    EXPECT_EQ(differences, 0) << qPrintable(context) << "operations whose results differ";
    machine.Get().Flush();

    for (const QString& name :
         {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
        const QByteArray theirs =
            ReadAll(wine.drive + QStringLiteral("/conf/") + name + QStringLiteral(".ini"));
        const QByteArray ours =
            machine.ReadFile(QStringLiteral("drive_c/conf/") + name + QStringLiteral(".ini"));
        const QByteArray start = script.files.count(name) ? script.files.at(name) : QByteArray();
        // Wine's own form, if this model of it is right, is what Wine wrote, but for the trailing
        // blanks of the value, key and section names it wrote last (trimmed when it reads the
        // file again).
        if (theirs != start) {
            static const QRegularExpression trailing(
                QStringLiteral(
                    "[ \\t]+(\\r\\n)|[ \\t]+(\\]\\r\\n)|^([^=\\r\\n]*[^ \\t=\\r\\n])[ \\t]+(=)"),
                QRegularExpression::MultilineOption);
            const QByteArray written = QString::fromLatin1(theirs)
                                           .replace(trailing, QStringLiteral("\\3\\4\\1\\2"))
                                           .toLatin1();
            EXPECT_EQ(WineProfileForm(theirs), written)
                << qPrintable(context) << "file " << qPrintable(name)
                << ": Wine's form is not modelled right: "
                << qPrintable(FirstDifference(WineProfileForm(theirs), written));
        }
        const auto [ourLines, ourComments] = SplitComments(WineProfileForm(ours));
        const auto [wineLines, wineComments] = SplitComments(WineProfileForm(theirs));
        EXPECT_EQ(ourLines, wineLines) << qPrintable(context) << "file " << qPrintable(name) << ": "
                                       << qPrintable(FirstDifference(ourLines, wineLines));
        EXPECT_EQ(ourComments, wineComments)
            << qPrintable(context) << "file " << qPrintable(name)
            << " comments: " << qPrintable(FirstDifference(ourComments, wineComments));
    }

    const QByteArray wineReg = ReadAll(wine.userReg);
    std::unique_ptr<RegistryHive> wineHive;
    try {
        wineHive = RegistryHive::Parse(wineReg);
    } catch (const RegistryParseError& e) {
        FAIL() << qPrintable(context) << "Wine's user.reg, line " << e.Line() << ": "
               << qPrintable(e.Reason());
    }
    const RegNode* wineRoot = wineHive->Root().Child(QStringLiteral("Software"));
    if (wineRoot) wineRoot = wineRoot->Child(QStringLiteral("TolmarConformance"));
    QString wineDump;
    if (wineRoot) DumpWine(*wineRoot, QString(), wineDump);
    QString ourDump;
    if (CurrentPlatform().RegOpenKey(HKEY_CURRENT_USER, kRoot)) DumpOurs(kRoot, QString(), ourDump);
    EXPECT_EQ(ourDump, wineDump) << qPrintable(context) << "the registry values differ";
    const QStringList dumpLines = wineDump.split(u'\n', Qt::SkipEmptyParts);
    const auto keys = std::count_if(dumpLines.begin(), dumpLines.end(),
                                    [](const QString& line) { return line.startsWith(u'['); });
    const auto values = dumpLines.size() - keys;
    std::printf("%d of %d sets succeeded, %d of %d queries found a value; the tree compared holds "
                "%lld keys and %lld values\n",
                setsDone, sets, queriesFound, queries, static_cast<long long>(keys),
                static_cast<long long>(values));
    EXPECT_GE(values, 50) << qPrintable(context) << "too few values live at the end to compare";

    const QByteArray ourBlocks = ProbeBlocks(machine.ReadFile(QStringLiteral("user.reg")));
    const QByteArray wineBlocks = ProbeBlocks(wineReg);
    EXPECT_EQ(ourBlocks, wineBlocks)
        << qPrintable(context)
        << "user.reg text: " << qPrintable(FirstDifference(ourBlocks, wineBlocks));
}
