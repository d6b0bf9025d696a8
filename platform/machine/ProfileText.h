#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

// Profile (INI) file text with the semantics of Windows' profile functions: sections and keys
// are found case-insensitively and trimmed, the first of duplicates wins, surrounding quotes are
// stripped on read; a key's line without "=" reads as missing. A line ends at CR LF, LF or a lone
// CR. Editing touches only the line it writes or inserts, which always starts on a line of its own
// and ends in CR LF; every other line stays as it was, except that a line break is completed
// before an inserted line. Bytes are windows-1250.

// A file parsed once for reading, so that reading every entry of a large file costs one pass
// over it rather than one per entry.
class ProfileIndex
{
public:
    explicit ProfileIndex(const QByteArray& file);

    std::optional<QString> Lookup(const QString& section, const QString& key) const;

private:
    struct CaseInsensitiveLess
    {
        bool operator()(const QString& a, const QString& b) const
        {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        }
    };
    // A key's text, none for a line without "=".
    using Keys = std::map<QString, std::optional<QString>, CaseInsensitiveLess>;

    // The first section of each name, and in it the first entry of each key.
    std::map<QString, Keys, CaseInsensitiveLess> sections_;
};

std::optional<QString> ProfileLookup(const QByteArray& file, const QString& section,
                                     const QString& key);

// The file's bytes with the entry written: the key's line replaced in the first matching
// section (left as it is when it holds that value already, blanks around it aside), a new key
// after the section's last entry, a new section at the end of the file.
// Nothing when the names or the value cannot be written without breaking the file's lines.
std::optional<QByteArray> ProfileUpdate(const QByteArray& file, const QString& section,
                                        const QString& key, const QString& value);

// The file's bytes without the entry: the key's line in the first matching section is removed,
// every other byte stays. The same bytes when there is no such entry.
QByteArray ProfileRemove(const QByteArray& file, const QString& section, const QString& key);
