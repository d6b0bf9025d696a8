#include "ProfileText.h"

#include "Cp1250.h"

#include <vector>

namespace {

// A line ends at CR LF, at LF or at a lone CR (old Mac files, a file cut after its CR).
struct Line
{
    qsizetype begin; // first byte
    qsizetype end;   // one past the text, before the line break
    qsizetype next;  // start of the following line
};

std::vector<Line> SplitLines(const QByteArray& file)
{
    std::vector<Line> lines;
    const char* const data = file.constData();
    const qsizetype size = file.size();
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < size && data[next] == '\r') ++next;
        if (next < size && data[next] == '\n') ++next;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

// What must follow a line so that the next text starts on a line of its own that every reader
// sees: a line break where the file has none, the LF that a lone CR lacks.
QByteArray BreakAfter(const QByteArray& file, const Line& line)
{
    if (line.next == line.end) return "\r\n";
    if (file[line.next - 1] == '\r') return "\n";
    return {};
}

QString Text(const QByteArray& file, const Line& line)
{
    return FromCp1250(file.mid(line.begin, line.end - line.begin));
}

// The section a line opens, if it is a section header.
std::optional<QString> SectionName(const QString& trimmed)
{
    if (!trimmed.startsWith(u'[')) return std::nullopt;
    qsizetype close = trimmed.indexOf(u']');
    if (close < 0) close = trimmed.size();
    return trimmed.mid(1, close - 1).trimmed();
}

// A line without "=" is an entry without a value: found by its key, so that a write replaces it
// and a delete removes it, but read as missing.
struct Entry
{
    QString key;
    std::optional<QString> value;
};

std::optional<Entry> EntryOf(const QString& trimmed)
{
    if (trimmed.isEmpty() || trimmed.startsWith(u';')) return std::nullopt;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq < 0) return Entry{trimmed, std::nullopt};
    return Entry{trimmed.left(eq).trimmed(), trimmed.mid(eq + 1).trimmed()};
}

bool Same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString Unquote(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

struct Location
{
    std::optional<std::size_t> header;    // the first matching section's header line
    std::optional<std::size_t> entry;     // the key's line in it
    std::optional<std::size_t> lastEntry; // the section's last entry line
};

Location Locate(const QByteArray& file, const std::vector<Line>& lines, const QString& section,
                const QString& key)
{
    Location found;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString trimmed = Text(file, lines[i]).trimmed();
        if (const auto name = SectionName(trimmed)) {
            if (found.header) break;
            inside = Same(*name, section);
            if (inside) found.header = i;
            continue;
        }
        if (!inside) continue;
        const auto entry = EntryOf(trimmed);
        if (!entry) continue;
        found.lastEntry = i;
        if (!found.entry && Same(entry->key, key)) found.entry = i;
    }
    return found;
}

bool Breaks(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

} // namespace

ProfileIndex::ProfileIndex(const QByteArray& file)
{
    Keys* current = nullptr;
    for (const Line& line : SplitLines(file)) {
        const QString trimmed = Text(file, line).trimmed();
        if (const auto name = SectionName(trimmed)) {
            // A repeated section is never searched: lookups stop at the first of its name.
            const auto [section, fresh] = sections_.try_emplace(*name);
            current = fresh ? &section->second : nullptr;
            continue;
        }
        if (!current) continue;
        if (const auto entry = EntryOf(trimmed))
            current->try_emplace(entry->key, entry->value ? std::optional(Unquote(*entry->value))
                                                          : std::nullopt);
    }
}

std::optional<QString> ProfileIndex::Lookup(const QString& section, const QString& key) const
{
    const auto keys = sections_.find(section.trimmed());
    if (keys == sections_.end()) return std::nullopt;
    const auto entry = keys->second.find(key.trimmed());
    if (entry == keys->second.end()) return std::nullopt;
    return entry->second;
}

std::optional<QString> ProfileLookup(const QByteArray& file, const QString& section,
                                     const QString& key)
{
    return ProfileIndex(file).Lookup(section, key);
}

std::optional<QByteArray> ProfileUpdate(const QByteArray& file, const QString& section,
                                        const QString& key, const QString& value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (Breaks(section) || Breaks(key) || Breaks(value) || sectionName.contains(u']') ||
        keyName.isEmpty() || keyName.contains(u'=') || keyName.startsWith(u';') ||
        keyName.startsWith(u'['))
        return std::nullopt;

    const auto lines = SplitLines(file);
    const Location found = Locate(file, lines, sectionName, keyName);
    QByteArray out = file;
    if (found.entry) {
        const Line& line = lines[*found.entry];
        const Entry existing = *EntryOf(Text(file, line).trimmed());
        // Writing the value the entry holds is no change, as in Wine's profile functions: the
        // line keeps its spacing and its line end, so a start that writes back every entry
        // leaves a file of LF line ends as it was.
        if (existing.value == value.trimmed()) return out;
        out.replace(line.begin, line.next - line.begin,
                    ToCp1250(existing.key + u'=' + value) + "\r\n");
        return out;
    }
    const QByteArray entry = ToCp1250(keyName + u'=' + value) + "\r\n";
    if (found.header) {
        const Line& after = lines[found.lastEntry.value_or(*found.header)];
        out.insert(after.next, BreakAfter(file, after) + entry);
        return out;
    }
    if (!lines.empty()) out.append(BreakAfter(file, lines.back()) + "\r\n");
    out.append("[" + ToCp1250(sectionName) + "]\r\n" + entry);
    return out;
}

QByteArray ProfileRemove(const QByteArray& file, const QString& section, const QString& key)
{
    const auto lines = SplitLines(file);
    const Location found = Locate(file, lines, section.trimmed(), key.trimmed());
    if (!found.entry) return file;
    const Line& line = lines[*found.entry];
    QByteArray out = file;
    out.remove(line.begin, line.next - line.begin);
    return out;
}
