#include "Script.h"

#include "Cp1250.h"
#include "Platform.h"

#include <QRegularExpression>
#include <random>

namespace {

// Names that differ in case and blanks, with Polish letters: the lookups must meet them. Wine's
// profile functions fold the case of ASCII letters only (Windows folds every letter), so names
// differ in the case of ASCII letters alone.
const QStringList kSections = {
    QStringLiteral("Options"), QStringLiteral("options"),    QStringLiteral(" OPTIONS "),
    QStringLiteral("Zażółć"),  QStringLiteral("ZAżółć"),     QStringLiteral("Gęślą jaźń"),
    QStringLiteral("a b"),     QStringLiteral("x;y"),        QStringLiteral("x=y"),
    QStringLiteral("Paths"),   QStringLiteral("\"quoted\""),
};
const QStringList kKeys = {
    QStringLiteral("BootGUI"), QStringLiteral("bootgui"), QStringLiteral(" Logo "),
    QStringLiteral("klucz"),   QStringLiteral("KLUCZ"),   QStringLiteral("Źdźbło"),
    QStringLiteral("ŹDźbło"),  QStringLiteral("a b"),     QStringLiteral("x.y"),
    QStringLiteral("k\"q\""),  QStringLiteral("k'"),      QStringLiteral("Number"),
};
const QStringList kValues = {
    QString(),
    QStringLiteral("1"),
    QStringLiteral("0"),
    QStringLiteral("-5"),
    QStringLiteral("+7"),
    QStringLiteral("0x1F"),
    QStringLiteral("0X1f"),
    QStringLiteral("0xFFFFFFFF"),
    QStringLiteral("2147483647"),
    QStringLiteral("99999999999"),
    QStringLiteral("12abc"),
    QStringLiteral("abc"),
    QStringLiteral("0x"),
    QStringLiteral("  padded  "),
    QStringLiteral("trailing  "),
    QStringLiteral("\"quoted\""),
    QStringLiteral("'single'"),
    QStringLiteral("\"unbalanced"),
    QStringLiteral("\"  inner  \""),
    QStringLiteral("a=b"),
    QStringLiteral("a;b"),
    QStringLiteral("[x]"),
    QStringLiteral("; not a comment"),
    QStringLiteral("zażółć gęślą jaźń"),
    QStringLiteral("ZAŻÓŁĆ"),
    QStringLiteral("C:\\WINDOWS\\System"),
};

// Registry names: case differences, Polish and other letters, blanks, quotes, brackets and
// characters that sort differently in upper and lower case.
const QStringList kKeyNames = {
    QStringLiteral("Klucz"),   QStringLiteral("klucz"),  QStringLiteral("ZAŻÓŁĆ"),
    QStringLiteral("zażółć"),  QStringLiteral("a b"),    QStringLiteral(" lead"),
    QStringLiteral("trail "),  QStringLiteral("x[y]"),   QStringLiteral("q\"uote"),
    QStringLiteral("e=q;s"),   QStringLiteral("_under"), QStringLiteral("^caret"),
    QStringLiteral("Zebra"),   QStringLiteral("zebra~"), QStringLiteral("Σίσυφος"),
    QStringLiteral("ΣΊΣΥΦΟΣ"),
};
const QStringList kValueNames = {
    QString(),
    QStringLiteral("Wartość"),
    QStringLiteral("WARTOŚĆ"),
    QStringLiteral("v"),
    QStringLiteral("V"),
    QStringLiteral("a\\b"),
    QStringLiteral(" sp "),
    QStringLiteral("q\""),
    QStringLiteral("="),
    QStringLiteral("[x]"),
    QStringLiteral("_"),
    QStringLiteral("Ω"),
};
const QStringList kRegTexts = {
    QString(),
    QStringLiteral("tekst"),
    QStringLiteral("zażółć gęślą jaźń"),
    QStringLiteral("C:\\WINDOWS\\system32"),
    QStringLiteral("\"quoted\" and \\"),
    QStringLiteral("tab\tnew\nline\rcr"),
    QStringLiteral("%SystemRoot%\\x"),
    QStringLiteral("日本語 ąbc Ωmega"),
    QStringLiteral("\x7f del \x1b esc"),
    QStringLiteral("ą1 digits after"),
    QStringLiteral("x\x01"
                   "7"),
};

class Generator
{
public:
    explicit Generator(std::uint64_t seed) : random_(seed) {}

    int Below(int n) { return int(random_() % std::uint64_t(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    const QString& Pick(const QStringList& list) { return list[Below(int(list.size()))]; }

    QByteArray StartingFile(bool repeatSections);
    Op ProfileOp(const QStringList& files, const QStringList& deletable);
    // The operations that make the keys most of the registry operations then work on.
    std::vector<Op> CoreKeys();
    Op RegistryOp();

private:
    QString KeyPath();
    QString LiveKey();
    QString AsciiCaseVariant(const QString& text);
    QString ValueName();
    QByteArray RandomBytes(int n);
    QByteArray Utf16(const QString& text, bool terminated);
    void Data(Op& op);
    void Created(const QString& path);
    void Deleted(const QString& path);

    std::mt19937_64 random_;
    // Keys below the conformance key, as the script leaves them so far ("" is that key itself).
    QStringList core_;
    QStringList live_;
};

QByteArray Generator::StartingFile(bool repeatSections)
{
    QStringList sections;
    static const char* const kBlanks[] = {"", "", "", " ", "\t", "  "};
    static const char* const kBreaks[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
    QByteArray file;
    const int lines = Below(25);
    for (int i = 0; i < lines; ++i) {
        QByteArray line = kBlanks[Below(6)];
        switch (Below(10)) {
        case 0:
        case 1: {
            const QString section = Pick(kSections);
            if (!repeatSections && sections.contains(section.trimmed(), Qt::CaseInsensitive))
                continue;
            sections << section.trimmed();
            line += "[" + ToCp1250(section) + "]";
            break;
        }
        case 2:
            line += "; " + ToCp1250(Pick(kValues));
            break;
        case 3:
            line += Chance(50) ? QByteArray() : QByteArray(" \t ");
            break;
        case 4:
            line += ToCp1250(Pick(kKeys).trimmed());
            break;
        default:
            line += ToCp1250(Pick(kKeys).trimmed()) + kBlanks[Below(6)] + "=" + kBlanks[Below(6)] +
                    ToCp1250(Pick(kValues));
        }
        line += kBlanks[Below(6)];
        file += line;
        if (i + 1 < lines || Chance(70)) file += kBreaks[Below(5)];
    }
    return file;
}

Op Generator::ProfileOp(const QStringList& files, const QStringList& deletable)
{
    static const char* const kNames[] = {"pw", "pw", "pw", "pr", "pr", "pi", "pd"};
    Op op;
    op.name = QString::fromLatin1(kNames[Below(7)]);
    op.texts = {Pick(files), Pick(kSections), Pick(kKeys)};
    if (op.name == u"pd")
        op.texts = {Pick(deletable), op.texts[1].trimmed(), op.texts[2].trimmed()};
    if (op.name == u"pw" || op.name == u"pr") op.texts << Pick(kValues);
    if (op.name == u"pi") op.number = Chance(50) ? 7 : -1;
    return op;
}

// A key that seldom exists: one to three random names.
QString Generator::KeyPath()
{
    QStringList parts;
    const int depth = 1 + Below(3);
    for (int i = 0; i < depth; ++i)
        parts << Pick(kKeyNames);
    return parts.join(u'\\');
}

// Mostly one of the few core keys, else any key the script made, now and then named in another
// case of its ASCII letters.
QString Generator::LiveKey()
{
    QStringList coreLive;
    for (const QString& path : core_)
        if (live_.contains(path, Qt::CaseInsensitive)) coreLive << path;
    const QString path = !coreLive.isEmpty() && Chance(75) ? Pick(coreLive) : Pick(live_);
    return Chance(15) ? AsciiCaseVariant(path) : path;
}

QString Generator::AsciiCaseVariant(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() < 0x80 && c.isLetter() && Chance(50))
            c = c.isUpper() ? c.toLower() : c.toUpper();
    return out;
}

// A few names that recur on every key, so that values are written, read and deleted again.
QString Generator::ValueName()
{
    if (Chance(40)) return Pick(kValueNames);
    const QString name = QStringLiteral("Wpis %1").arg(Below(20));
    return Chance(10) ? name.toUpper() : name;
}

void Generator::Created(const QString& path)
{
    const QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    for (qsizetype n = 0; n <= parts.size(); ++n) {
        const QString prefix = parts.first(n).join(u'\\');
        if (!live_.contains(prefix, Qt::CaseInsensitive)) live_ << prefix;
    }
}

void Generator::Deleted(const QString& path)
{
    live_.removeIf([&](const QString& key) {
        return key.compare(path, Qt::CaseInsensitive) == 0 ||
               key.startsWith(path + u'\\', Qt::CaseInsensitive);
    });
}

std::vector<Op> Generator::CoreKeys()
{
    // Some core keys lie below others: parents that hold values and subkeys, and parents that
    // hold only subkeys, which Wine's file leaves out.
    core_ = {QString()};
    while (core_.size() < 8) {
        const QString parent = core_.size() > 1 && Chance(50) ? Pick(core_) : QString();
        const QString path = parent.isEmpty() ? Pick(kKeyNames) : parent + u'\\' + Pick(kKeyNames);
        if (!core_.contains(path, Qt::CaseInsensitive)) core_ << path;
    }
    std::vector<Op> ops;
    for (const QString& path : core_) {
        ops.push_back(Op{QStringLiteral("rc"), {path}});
        Created(path);
    }
    return ops;
}

QByteArray Generator::RandomBytes(int n)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes.append(char(Below(256)));
    return bytes;
}

QByteArray Generator::Utf16(const QString& text, bool terminated)
{
    QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    if (terminated) bytes.append(2, '\0');
    return bytes;
}

void Generator::Data(Op& op)
{
    switch (Below(20)) {
    case 0:
    case 1:
    case 2:
    case 3:
        op.type = REG_SZ;
        op.data = Utf16(Pick(kRegTexts), true);
        break;
    case 4:
        op.type = REG_SZ; // as some programs leave it: without its NUL, or of odd length
        op.data = Chance(50) ? Utf16(Pick(kRegTexts), false) : RandomBytes(1 + 2 * Below(4));
        break;
    case 5:
    case 6:
        op.type = REG_EXPAND_SZ;
        op.data = Utf16(Pick(kRegTexts), true);
        break;
    case 7:
    case 8:
    case 9:
        op.type = REG_DWORD; // now and then of another size
        op.data = RandomBytes(Chance(85) ? 4 : Below(7));
        break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
        // Half of them long enough to wrap over several lines of the registry file.
        op.type = REG_BINARY;
        op.data = RandomBytes(Chance(50) ? Below(40) : 40 + Below(360));
        break;
    case 16:
        op.type = REG_MULTI_SZ;
        op.data = Chance(80) ? Utf16(Pick(kRegTexts) + QChar(0) + Pick(kRegTexts) + QChar(0), true)
                             : RandomBytes(2 * Below(3));
        break;
    case 17:
        op.type = REG_QWORD;
        op.data = RandomBytes(8);
        break;
    default:
        op.type = REG_NONE;
        op.data = RandomBytes(Below(10));
    }
}

Op Generator::RegistryOp()
{
    static const char* const kNames[] = {"rc", "rc", "ro", "rs", "rs", "rs", "rs",
                                         "rs", "rs", "rs", "rs", "rq", "rq", "rq",
                                         "rq", "rv", "rd", "ek", "ev", "ev"};
    Op op;
    op.name = QString::fromLatin1(kNames[Below(20)]);
    if (op.name == u"rd") {
        // Never the conformance key itself, a core key or a key above one: the core keys' values
        // must live to the end, whatever the seed, for the files to be compared on something.
        const auto spared = [this](const QString& path) {
            for (const QString& core : core_)
                if (core.compare(path, Qt::CaseInsensitive) == 0 ||
                    core.startsWith(path + u'\\', Qt::CaseInsensitive))
                    return false;
            return true;
        };
        QStringList others;
        for (const QString& path : live_)
            if (spared(path)) others << path;
        QString path = !others.isEmpty() && Chance(70) ? Pick(others) : KeyPath();
        for (int tries = 0; tries < 8 && !spared(path); ++tries)
            path = KeyPath();
        if (spared(path)) {
            op.texts = {path};
            Deleted(path);
            return op;
        }
        op.name = QStringLiteral("rq");
    }
    op.texts = {Chance(90) ? LiveKey() : KeyPath()};
    if (op.name == u"rc") Created(op.texts[0]);
    if (op.name == u"rs" || op.name == u"rq" || op.name == u"rv") op.texts << ValueName();
    if (op.name == u"rs") Data(op);
    return op;
}

QString HexText(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(text.toUtf8().toHex());
}

} // namespace

QString HexOf(const QByteArray& bytes)
{
    return bytes.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(bytes.toHex());
}

QString Escaped(const QString& text)
{
    QString out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f && u != u'\\')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QByteArray Op::Line() const
{
    QStringList fields{name};
    for (const QString& text : texts)
        fields << HexText(text);
    if (name == u"pi") fields << QString::number(number);
    if (name == u"rs") fields << QString::number(type) << HexOf(data);
    return fields.join(u' ').toLatin1() + '\n';
}

QString Op::Describe() const
{
    QStringList fields{name};
    for (const QString& text : texts)
        fields << u'"' + Escaped(text) + u'"';
    if (name == u"pi") fields << QString::number(number);
    if (name == u"rs") fields << QStringLiteral("type %1 data %2").arg(type).arg(HexOf(data));
    return fields.join(u' ');
}

QByteArray Script::Text() const
{
    QByteArray text;
    for (const Op& op : ops)
        text += op.Line();
    return text;
}

Script GenerateScript(std::uint64_t seed, int profileOps, int registryOps)
{
    Generator g(seed);
    Script script;
    const QStringList files = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                               QStringLiteral("3")};
    // Entries are deleted only where no section is repeated. The last file starts missing: the
    // first write makes it.
    const QStringList deletable = {files[2], files[3]};
    for (int i = 0; i + 1 < files.size(); ++i)
        script.files[files[i]] = g.StartingFile(!deletable.contains(files[i]));
    int profile = 0;
    int registry = 0;
    for (Op& op : g.CoreKeys()) {
        script.ops.push_back(std::move(op));
        ++registry;
    }
    while (profile < profileOps || registry < registryOps) {
        const bool pickProfile = registry >= registryOps || (profile < profileOps && g.Chance(50));
        if (pickProfile) {
            script.ops.push_back(g.ProfileOp(files, deletable));
            ++profile;
        } else {
            script.ops.push_back(g.RegistryOp());
            ++registry;
        }
    }
    return script;
}

QByteArray WineProfileForm(const QByteArray& file)
{
    const auto isSpace = [](QChar c) {
        return (c.unicode() >= 0x09 && c.unicode() <= 0x0d) || c.unicode() == 0x1a || c == u' ';
    };
    const auto trim = [&](QString s) {
        qsizetype b = 0;
        qsizetype e = s.size();
        while (b < e && isSpace(s[b]))
            ++b;
        while (e > b && isSpace(s[e - 1]))
            --e;
        return s.mid(b, e - b);
    };
    QString out;
    bool previousEmptyName = false;
    bool anyKey = false;
    const QString text = FromCp1250(file);
    for (const QString& raw : text.split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        const QString line = trim(raw);
        if (line.isEmpty()) continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close > 0) {
                out += u'[' + trim(line.mid(1, close - 1)) + QStringLiteral("]\r\n");
                anyKey = false;
                continue;
            }
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString name = eq < 0 ? line : trim(line.left(eq));
        if (name.isEmpty() && anyKey && previousEmptyName) continue;
        out += eq < 0 ? name : name + u'=' + trim(line.mid(eq + 1));
        out += QStringLiteral("\r\n");
        anyKey = true;
        previousEmptyName = name.isEmpty();
    }
    return ToCp1250(out);
}
