#include "Journal.h"

#include "Errors.h"
#include "Files.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QStringEncoder>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Kind = JournalChange::Kind;

constexpr struct
{
    HKEY root;
    const char* name;
} kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},     {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},   {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
};

constexpr struct
{
    Kind kind;
    const char* tag;
    int fields;
} kKinds[] = {
    {Kind::Value, "value", 7},
    {Kind::Key, "key", 6},
    {Kind::Profile, "profile", 7},
    {Kind::File, "file", 5},
};

QString RootName(HKEY root)
{
    for (const auto& r : kRoots)
        if (r.root == root) return QString::fromLatin1(r.name);
    return QStringLiteral("0x%1").arg(root, 8, 16, QLatin1Char('0'));
}

QString KeyName(HKEY root, const QString& path)
{
    return path.isEmpty() ? RootName(root) : RootName(root) + u'\\' + path;
}

// ---- the line format ----------------------------------------------------------------------------

QByteArray EncodeText(const QString& text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '%' || byte < 0x20 || byte == 0x7f)
            out += '%' + QByteArray(1, c).toHex().toUpper();
        else
            out += c;
    }
    return out;
}

QString DecodeText(const QByteArray& field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

QByteArray EncodeData(const std::optional<JournalData>& data)
{
    if (!data) return QByteArrayLiteral("-");
    return QByteArray::number(data->type) + ':' + data->bytes.toHex();
}

bool DecodeData(const QByteArray& field, std::optional<JournalData>& data)
{
    if (field == "-") {
        data.reset();
        return true;
    }
    const qsizetype colon = field.indexOf(':');
    if (colon <= 0) return false;
    bool ok = false;
    const std::uint32_t type = field.left(colon).toUInt(&ok);
    const QByteArray hex = field.mid(colon + 1);
    if (!ok || hex.size() % 2) return false;
    for (const char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    data = JournalData{type, QByteArray::fromHex(hex)};
    return true;
}

QByteArray ChangeLine(const JournalChange& c)
{
    QByteArrayList fields;
    for (const auto& k : kKinds)
        if (k.kind == c.kind) fields << k.tag;
    fields << QByteArray::number(c.time);
    if (c.kind == Kind::Value || c.kind == Kind::Key)
        fields << RootName(c.root).toLatin1() << EncodeText(c.path);
    else
        fields << EncodeText(c.path);
    if (c.kind == Kind::Profile) fields << EncodeText(c.section);
    if (c.kind == Kind::Value || c.kind == Kind::Profile) fields << EncodeText(c.name);
    fields << EncodeData(c.before) << EncodeData(c.after);
    return fields.join('\t') + '\n';
}

QByteArray RunLine(qint64 number, qint64 started, qint64 undoes)
{
    QByteArray line = "run\t" + QByteArray::number(number) + '\t' + QByteArray::number(started);
    if (undoes) line += "\tundo\t" + QByteArray::number(undoes);
    return line + '\n';
}

std::optional<JournalRun> ParseRunLine(const QByteArrayList& fields)
{
    if (fields[0] != "run" || (fields.size() != 3 && fields.size() != 5)) return std::nullopt;
    JournalRun run;
    bool number = false, started = false, undoes = true;
    run.number = fields[1].toLongLong(&number);
    run.started = fields[2].toLongLong(&started);
    if (fields.size() == 5) run.undoes = fields[4].toLongLong(&undoes);
    if (!number || !started || !undoes || run.number <= 0) return std::nullopt;
    if (fields.size() == 5 && fields[3] != "undo") return std::nullopt;
    return run;
}

std::optional<JournalChange> ParseChangeLine(const QByteArrayList& fields)
{
    JournalChange c;
    bool known = false;
    for (const auto& k : kKinds)
        if (fields[0] == k.tag && fields.size() == k.fields) {
            c.kind = k.kind;
            known = true;
        }
    if (!known) return std::nullopt;
    int at = 1;
    bool ok = false;
    c.time = fields[at++].toLongLong(&ok);
    if (!ok) return std::nullopt;
    if (c.kind == Kind::Value || c.kind == Kind::Key) {
        ok = false;
        for (const auto& r : kRoots)
            if (fields[at] == r.name) {
                c.root = r.root;
                ok = true;
            }
        if (!ok) return std::nullopt;
        ++at;
    }
    c.path = DecodeText(fields[at++]);
    if (c.kind == Kind::Profile) c.section = DecodeText(fields[at++]);
    if (c.kind == Kind::Value || c.kind == Kind::Profile) c.name = DecodeText(fields[at++]);
    if (!DecodeData(fields[at], c.before) || !DecodeData(fields[at + 1], c.after))
        return std::nullopt;
    return c;
}

// The number of the journal's last run, 0 for none; the changes are not decoded.
qint64 LastRunNumber(const QString& prefix)
{
    qint64 last = 0;
    QFile file(Journal::PathOf(prefix));
    if (!file.open(QIODevice::ReadOnly)) return last;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (!line.startsWith("run\t") || !line.endsWith('\n')) continue;
        line.chop(1);
        if (const auto run = ParseRunLine(line.split('\t'))) last = run->number;
    }
    return last;
}

// ---- durable appends ----------------------------------------------------------------------------

// Closes a descriptor on the way out, keeping the errno of what failed before.
class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ < 0) return;
        const int saved = errno;
        ::close(fd_);
        errno = saved;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, std::size_t(left));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

bool SyncFolder(const QByteArray& folder)
{
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.Get() >= 0 && ::fsync(fd.Get()) == 0;
}

// ---- what a change's thing holds ----------------------------------------------------------------

// Makes the Files.h functions reach the given system for as long as this lives.
class UsePlatform
{
public:
    explicit UsePlatform(Platform& system) : previous_(InstalledPlatform())
    {
        SetCurrentPlatform(&system);
    }
    ~UsePlatform() { SetCurrentPlatform(previous_); }
    UsePlatform(const UsePlatform&) = delete;
    UsePlatform& operator=(const UsePlatform&) = delete;

private:
    Platform* previous_;
};

// The data of a file that is there but cannot be read: it matches no record's.
constexpr std::uint32_t kUnreadable = 0xffffffff;

std::optional<JournalData> Current(Platform& system, const JournalChange& c)
{
    switch (c.kind) {
    case Kind::Value:
        if (const auto value = system.RegQueryValue(c.root, c.path, c.name))
            return JournalData{value->type, value->data};
        return std::nullopt;
    case Kind::Key:
        if (system.RegOpenKey(c.root, c.path)) return JournalData{};
        return std::nullopt;
    case Kind::Profile:
        if (const auto text = system.ProfileRead(c.path, c.section, c.name))
            return JournalData{0, text->toUtf8()};
        return std::nullopt;
    case Kind::File: {
        QFile file(system.HostPath(c.path));
        if (!file.exists()) return std::nullopt;
        if (!file.open(QIODevice::ReadOnly)) return JournalData{kUnreadable, {}};
        return JournalData{0, file.readAll()};
    }
    }
    return std::nullopt;
}

// A file Tolmar wrote with its read-only attribute lifted (MSDOS.SYS, as the pages write it) is
// written back the same way, and its attributes are put back after.
template <class Write> bool Writable(Platform& system, const QString& path, Write write)
{
    const int attributes = system.GetFileAttributes(path);
    const bool locked = attributes >= 0 && (attributes & faReadOnly);
    if (locked && !system.SetFileAttributes(path, attributes & ~faReadOnly)) return false;
    const bool done = write();
    if (locked) system.SetFileAttributes(path, attributes);
    return done;
}

// Gives the change's thing the data; false when the system refuses. `onlyEmptyKey` keeps a key
// that holds anything from being deleted.
bool Put(Platform& system, const JournalChange& c, const std::optional<JournalData>& data,
         bool onlyEmptyKey)
{
    switch (c.kind) {
    case Kind::Value:
        if (!data)
            return !system.RegQueryValue(c.root, c.path, c.name) ||
                   system.RegDeleteValue(c.root, c.path, c.name);
        // A value cannot be set where its key is gone.
        return (system.RegOpenKey(c.root, c.path) || system.RegCreateKey(c.root, c.path)) &&
               system.RegSetValue(c.root, c.path, c.name, {data->type, data->bytes});
    case Kind::Key: {
        if (data) return system.RegCreateKey(c.root, c.path);
        if (!system.RegOpenKey(c.root, c.path)) return true;
        if (onlyEmptyKey) {
            const auto keys = system.RegEnumKeys(c.root, c.path);
            const auto values = system.RegEnumValues(c.root, c.path);
            if (!keys || !values || !keys->isEmpty() || !values->isEmpty()) return false;
        }
        return system.RegDeleteKey(c.root, c.path);
    }
    case Kind::Profile:
        return Writable(system, c.path, [&] {
            if (!data) return system.ProfileDelete(c.path, c.section, c.name);
            return system.ProfileWrite(c.path, c.section, c.name, QString::fromUtf8(data->bytes));
        });
    case Kind::File:
        if (!data) return !FileExists(c.path) || DeleteFile(c.path);
        return Writable(system, c.path, [&] {
            try {
                WriteFileBytes(c.path, data->bytes);
                return true;
            } catch (const SystemError&) {
                return false;
            }
        });
    }
    return false;
}

void AddOnce(std::vector<QString>& names, const QString& name)
{
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

// ---- REGEDIT4 -----------------------------------------------------------------------------------

bool IsAscii(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

bool IsTextType(std::uint32_t type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

QStringView Units(const QByteArray& data)
{
    return QStringView(reinterpret_cast<const char16_t*>(data.constData()), data.size() / 2);
}

// Whether the run's registry changes read alike in every code page.
bool AsciiOnly(const std::vector<const JournalChange*>& changes)
{
    for (const JournalChange* c : changes) {
        if (!IsAscii(c->path) || !IsAscii(c->name)) return false;
        if (c->kind == Kind::Value && c->after && IsTextType(c->after->type) &&
            (c->after->bytes.size() % 2 || !IsAscii(Units(c->after->bytes))))
            return false;
    }
    return true;
}

QString Quoted(QStringView text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case 0:
            out += QStringLiteral("\\0");
            break;
        default:
            out += c;
        }
    }
    return out + u'"';
}

// A REG_SZ that a quoted string gives back exactly: one terminating NUL and no control character
// (those only some regedits unescape).
std::optional<QStringView> PlainString(const JournalData& data)
{
    if (data.type != REG_SZ || data.bytes.size() < 2 || data.bytes.size() % 2) return std::nullopt;
    const QStringView units = Units(data.bytes);
    if (units.back() != u'\0') return std::nullopt;
    const QStringView text = units.chopped(1);
    for (const QChar c : text)
        if (c.unicode() < 0x20) return std::nullopt;
    return text;
}

// "hex:" or "hex(N):" and the bytes, wrapped as regedit wraps them: a line is broken after the
// comma that takes it to 77 characters or more, and goes on indented by two.
QString HexData(std::uint32_t type, const QByteArray& bytes, qsizetype lineLength)
{
    QString out =
        type == REG_BINARY ? QStringLiteral("hex:") : QStringLiteral("hex(%1):").arg(type, 0, 16);
    lineLength += out.size();
    const QByteArray digits = bytes.toHex();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out += QLatin1StringView(digits.constData() + 2 * i, 2);
        if (i == bytes.size() - 1) break;
        out += u',';
        lineLength += 3;
        if (lineLength >= 77) {
            out += QStringLiteral("\\\r\n  ");
            lineLength = 2;
        }
    }
    return out;
}

QString ValueLine(const JournalChange& c, bool ascii)
{
    const QString name = c.name.isEmpty() ? QStringLiteral("@=") : Quoted(c.name) + u'=';
    if (!c.after) return name + u'-';
    const JournalData& data = *c.after;
    if (const auto text = PlainString(data)) return name + Quoted(*text);
    if (data.type == REG_DWORD && data.bytes.size() == 4) {
        std::uint32_t n;
        std::memcpy(&n, data.bytes.constData(), 4);
        return name + QStringLiteral("dword:%1").arg(n, 8, 16, QLatin1Char('0'));
    }
    // An ASCII file holds the text of hex(1), hex(2) and hex(7) in single bytes, which regedit
    // widens again.
    QByteArray bytes = data.bytes;
    if (ascii && IsTextType(data.type)) bytes = Units(data.bytes).toLatin1();
    return name + HexData(data.type, bytes, name.size());
}

} // namespace

// ---- Journal ------------------------------------------------------------------------------------

Journal::Journal(QString prefix, qint64 undoes)
    : prefix_(std::move(prefix)), undoes_(undoes), started_(QDateTime::currentMSecsSinceEpoch())
{}

QString Journal::PathOf(const QString& prefix)
{
    return prefix + QStringLiteral("/.tolmar/journal");
}

bool Journal::Append(const std::vector<JournalChange>& changes)
{
    if (changes.empty()) return true;
    const QByteArray folder = QFile::encodeName(prefix_ + QStringLiteral("/.tolmar"));
    const bool madeFolder = ::mkdir(folder.constData(), 0755) == 0;
    if (!madeFolder && errno != EEXIST) return false;
    if (madeFolder && !SyncFolder(QFile::encodeName(prefix_))) return false;
    // The journal is written only inside the machine: not through a link in its place.
    const Descriptor dir(
        ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dir.Get() < 0) return false;
    constexpr int kFlags = O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(dir.Get(), "journal", kFlags);
    bool madeFile = false;
    if (fd < 0 && errno == ENOENT) {
        fd = ::openat(dir.Get(), "journal", kFlags | O_CREAT | O_EXCL, 0644);
        madeFile = fd >= 0;
    }
    const Descriptor file(fd);
    if (file.Get() < 0) return false;
    if ((madeFolder || madeFile) && ::fsync(dir.Get()) != 0) return false;

    if (!number_) number_ = LastRunNumber(prefix_) + 1;
    struct stat st;
    if (::fstat(file.Get(), &st) != 0) return false;
    QByteArray text;
    // A line cut short by a crash is ended with a tab: its last field is then empty, which no
    // record's is, so it stays unreadable even where the cut left whole fields, and does not
    // swallow the first of our lines either.
    char last = '\n';
    if (st.st_size > 0 && ::pread(file.Get(), &last, 1, st.st_size - 1) != 1) return false;
    if (last != '\n') text += "\t\n";
    if (!headerWritten_) text += RunLine(number_, started_, undoes_);
    for (const JournalChange& change : changes)
        text += ChangeLine(change);
    if (!WriteAll(file.Get(), text)) {
        const int error = errno;
        // What was written of the lines goes again, so that a later append starts clean; where
        // it cannot, that append ends the torn line first.
        const int truncated = ::ftruncate(file.Get(), st.st_size);
        static_cast<void>(truncated);
        errno = error;
        return false;
    }
    headerWritten_ = true;
    return ::fdatasync(file.Get()) == 0;
}

std::vector<JournalRun> Journal::Read(const QString& prefix)
{
    std::vector<JournalRun> runs;
    QFile file(PathOf(prefix));
    if (!file.open(QIODevice::ReadOnly)) return runs;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (!line.endsWith('\n')) break;
        line.chop(1);
        const QByteArrayList fields = line.split('\t');
        if (fields.size() < 3) continue;
        if (auto run = ParseRunLine(fields)) {
            // A run whose first append failed half-way writes its first line again.
            if (runs.empty() || runs.back().number != run->number) runs.push_back(std::move(*run));
        } else if (auto change = ParseChangeLine(fields)) {
            if (!runs.empty()) runs.back().changes.push_back(std::move(*change));
        }
    }
    return runs;
}

// ---- undo and replay ----------------------------------------------------------------------------

QString ChangedThingName(const JournalChange& change)
{
    switch (change.kind) {
    case Kind::Value:
        return KeyName(change.root, change.path) + u'\\' +
               (change.name.isEmpty() ? QStringLiteral("(Domyślna)") : change.name);
    case Kind::Key:
        return KeyName(change.root, change.path);
    case Kind::Profile:
        return QStringLiteral("%1 [%2] %3").arg(change.path, change.section, change.name);
    case Kind::File:
        return change.path;
    }
    return change.path;
}

std::vector<QString> UndoRun(Platform& system, const JournalRun& run)
{
    const UsePlatform use(system);
    std::vector<QString> left;
    for (auto c = run.changes.rbegin(); c != run.changes.rend(); ++c) {
        const std::optional<JournalData> now = Current(system, *c);
        if (now == c->before) continue;
        if (now != c->after || !Put(system, *c, c->before, true))
            AddOnce(left, ChangedThingName(*c));
    }
    return left;
}

std::vector<QString> ReplayRun(Platform& system, const std::vector<JournalChange>& changes)
{
    const UsePlatform use(system);
    std::vector<QString> doubled;
    for (const JournalChange& c : changes) {
        const std::optional<JournalData> now = Current(system, c);
        if (now == c.after) continue;
        const bool someoneElse = now != c.before;
        if (!Put(system, c, c.after, false) || someoneElse) AddOnce(doubled, ChangedThingName(c));
    }
    return doubled;
}

// ---- export -------------------------------------------------------------------------------------

QByteArray RegeditExport(const JournalRun& run)
{
    // What the run left last of each value and key, in the order the run left it.
    const auto identity = [](const JournalChange& c) {
        return QString::number(int(c.kind)) + u'\n' + KeyName(c.root, c.path).toCaseFolded() +
               u'\n' + (c.kind == Kind::Value ? c.name.toCaseFolded() : QString());
    };
    QHash<QString, std::size_t> lastOf;
    for (std::size_t i = 0; i < run.changes.size(); ++i)
        if (run.changes[i].kind == Kind::Value || run.changes[i].kind == Kind::Key)
            lastOf[identity(run.changes[i])] = i;
    std::vector<const JournalChange*> net;
    for (std::size_t i = 0; i < run.changes.size(); ++i)
        if (run.changes[i].kind == Kind::Value || run.changes[i].kind == Kind::Key)
            if (lastOf.value(identity(run.changes[i])) == i) net.push_back(&run.changes[i]);

    const bool ascii = AsciiOnly(net);
    QString text = QStringLiteral("REGEDIT4\r\n");
    QString open; // the key whose values follow
    for (const JournalChange* c : net) {
        const QString key = KeyName(c->root, c->path);
        if (c->kind == Kind::Key && !c->after) {
            text += QStringLiteral("\r\n[-%1]\r\n").arg(key);
            open.clear();
            continue;
        }
        if (key.compare(open, Qt::CaseInsensitive) != 0) {
            text += QStringLiteral("\r\n[%1]\r\n").arg(key);
            open = key;
        }
        if (c->kind == Kind::Value) text += ValueLine(*c, ascii) + QStringLiteral("\r\n");
    }
    text += QStringLiteral("\r\n");
    if (ascii) return text.toLatin1();
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return utf16.encode(text);
}
