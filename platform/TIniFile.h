#pragma once

#include <QString>
#include <optional>

// The profile-file access object. It holds only the file's full path; every operation goes to
// the platform's profile service at once, and releasing the object flushes that service's
// cache for the file.
class TIniFile
{
public:
    explicit TIniFile(const QString& fileName) : fileName_(fileName) {}
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& ident, const QString& def);
    // The entry's text as ReadString gives it, nothing when it is missing: one lookup where
    // ValueExists and ReadString would take two.
    std::optional<QString> Read(const QString& section, const QString& ident);
    void WriteString(const QString& section, const QString& ident, const QString& value);
    bool ValueExists(const QString& section, const QString& ident);
    // Removes the entry; one that is not there is left alone.
    void DeleteKey(const QString& section, const QString& ident);
    int ReadInteger(const QString& section, const QString& ident, int def);
    void WriteInteger(const QString& section, const QString& ident, int value);
    bool ReadBool(const QString& section, const QString& ident, bool def);
    void WriteBool(const QString& section, const QString& ident, bool value);

private:
    QString fileName_;
};

// The number a profile entry's text stands for: hexadecimal after "0x" when longer than two
// characters, decimal otherwise; nothing when it is no 32-bit number.
std::optional<int> ParseProfileInteger(const QString& text);
