// Profile editing on any bytes: the input's first three bytes give the lengths of a section, a
// key and a value that follow it (windows-1250), the rest is the file. A written entry reads
// back as Windows reads it, on a line of its own, and every other line of the file is kept byte
// for byte (a line that lacked its LF may gain it).
#include "Cp1250.h"
#include "FuzzCheck.h"
#include "ProfileText.h"

#include <vector>

namespace {

// The file's lines with their breaks, cut as the editor cuts them: at CR LF, LF or a lone CR.
std::vector<std::pair<QByteArray, QByteArray>> Lines(const QByteArray& file)
{
    std::vector<std::pair<QByteArray, QByteArray>> lines;
    qsizetype pos = 0;
    while (pos < file.size()) {
        qsizetype end = pos;
        while (end < file.size() && file[end] != '\r' && file[end] != '\n')
            ++end;
        const qsizetype breakLength = file.mid(end, 2) == "\r\n" ? 2 : end < file.size() ? 1 : 0;
        lines.emplace_back(file.mid(pos, end - pos), file.mid(end, breakLength));
        pos = end + breakLength;
    }
    return lines;
}

// Windows trims names and values and strips one pair of surrounding quotes.
QString ReadBack(const QString& value)
{
    const QString trimmed = value.trimmed();
    if (trimmed.size() >= 2 && (trimmed.front() == u'"' || trimmed.front() == u'\'') &&
        trimmed.back() == trimmed.front())
        return trimmed.mid(1, trimmed.size() - 2);
    return trimmed;
}

void CheckOtherLinesKept(const QByteArray& before, const QByteArray& after)
{
    const auto old = Lines(before);
    const auto now = Lines(after);
    std::size_t head = 0;
    while (head < old.size() && head < now.size() && old[head] == now[head])
        ++head;
    std::size_t tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           old[old.size() - 1 - tail] == now[now.size() - 1 - tail])
        ++tail;
    const std::size_t oldMiddle = old.size() - head - tail;
    const std::size_t newMiddle = now.size() - head - tail;
    // Between the kept lines: on the old side the replaced entry or a line whose break was
    // completed; on the new side only whole CR LF lines (that line, a blank line, a section
    // header, the entry).
    Require(oldMiddle <= 1 && newMiddle <= 4, "only the entry's lines change");
    Require(newMiddle >= 1 || before == after, "a change shows in the lines");
    for (std::size_t i = head; i < head + newMiddle; ++i)
        Require(now[i].second == "\r\n", "new lines end in CR LF");
    if (oldMiddle == 1 && newMiddle > 1)
        Require(old[head].first == now[head].first && old[head].second != "\r\n" &&
                    old[head].second != "\n",
                "only a line without LF gains one");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3) return 0;
    const char* bytes = reinterpret_cast<const char*>(data);
    std::size_t at = 3;
    const auto take = [&](std::size_t length) {
        length = std::min(length, size - at);
        const QString text = FromCp1250(QByteArray(bytes + at, qsizetype(length)));
        at += length;
        return text;
    };
    const QString section = take(data[0] % 16);
    const QString key = take(data[1] % 16);
    const QString value = take(data[2] % 64);
    const QByteArray file(bytes + at, qsizetype(size - at));

    const auto out = ProfileUpdate(file, section, key, value);
    const QString keyName = key.trimmed();
    const bool writable = !section.contains(u'\r') && !section.contains(u'\n') &&
                          !section.trimmed().contains(u']') && !key.contains(u'\r') &&
                          !key.contains(u'\n') && !value.contains(u'\r') &&
                          !value.contains(u'\n') && !keyName.isEmpty() && !keyName.contains(u'=') &&
                          !keyName.startsWith(u';') && !keyName.startsWith(u'[');
    Require(out.has_value() == writable, "only an entry that would break the file is refused");
    if (!out) return 0;
    Require(ProfileLookup(*out, section, key) == ReadBack(value), "a written value reads back");
    CheckOtherLinesKept(file, *out);
    return 0;
}
