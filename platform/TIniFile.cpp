#include "TIniFile.h"

#include "Errors.h"
#include "Platform.h"

namespace {
// What Windows' profile functions return fits a buffer of 2048 characters with its NUL.
constexpr qsizetype kMaxEntryLength = 2047;

// What Windows' profile functions make of the default they return: trailing blanks go, and
// quotes around it are stripped as they are from an entry's text.
QString DefaultText(const QString& def)
{
    qsizetype end = def.size();
    while (end > 0 && def[end - 1] == u' ')
        --end;
    QString text = def.left(end);
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
        text.back() == text.front())
        text = text.mid(1, text.size() - 2);
    return text;
}
} // namespace

std::optional<int> ParseProfileInteger(const QString& text)
{
    bool ok = false;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const QStringView digits = QStringView(text).mid(2);
        if (digits.size() > 8) return std::nullopt;
        const uint n = digits.toUInt(&ok, 16);
        if (!ok || digits.startsWith(u'+') || digits.startsWith(u'-')) return std::nullopt;
        return static_cast<int>(n);
    }
    const int n = text.toInt(&ok, 10);
    if (!ok || text.trimmed() != text) return std::nullopt;
    return n;
}

TIniFile::~TIniFile() { CurrentPlatform().ProfileFlush(fileName_); }

QString TIniFile::ReadString(const QString& section, const QString& ident, const QString& def)
{
    const auto text = CurrentPlatform().ProfileRead(fileName_, section, ident);
    return (text ? *text : DefaultText(def)).left(kMaxEntryLength);
}

std::optional<QString> TIniFile::Read(const QString& section, const QString& ident)
{
    const auto text = CurrentPlatform().ProfileRead(fileName_, section, ident);
    if (!text) return std::nullopt;
    return text->left(kMaxEntryLength);
}

void TIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    if (!CurrentPlatform().ProfileWrite(fileName_, section, ident, value))
        throw EIniFileException(QStringLiteral("Unable to write to %1").arg(fileName_));
}

bool TIniFile::ValueExists(const QString& section, const QString& ident)
{
    return CurrentPlatform().ProfileRead(fileName_, section, ident).has_value();
}

void TIniFile::DeleteKey(const QString& section, const QString& ident)
{
    if (!CurrentPlatform().ProfileDelete(fileName_, section, ident))
        throw EIniFileException(QStringLiteral("Unable to write to %1").arg(fileName_));
}

int TIniFile::ReadInteger(const QString& section, const QString& ident, int def)
{
    return ParseProfileInteger(ReadString(section, ident, QString())).value_or(def);
}

void TIniFile::WriteInteger(const QString& section, const QString& ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

bool TIniFile::ReadBool(const QString& section, const QString& ident, bool def)
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& section, const QString& ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}
