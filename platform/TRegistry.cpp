#include "TRegistry.h"

#include "Errors.h"

#include <cstring>

namespace {

[[noreturn]] void Raise(const char* format, const QString& name)
{
    throw ERegistryException(QString::fromLatin1(format).arg(name));
}

bool IsText(std::uint32_t type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

QString JoinPath(const QString& base, const QString& sub)
{
    if (base.isEmpty()) return sub;
    if (sub.isEmpty()) return base;
    return base + u'\\' + sub;
}

} // namespace

void TRegistry::SetRootKey(HKEY root)
{
    if (root == root_) return;
    CloseKey();
    root_ = root;
}

QString TRegistry::Resolve(const QString& key) const
{
    if (key.startsWith(u'\\')) return key.mid(1);
    return open_ ? JoinPath(currentPath_, key) : key;
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    const QString path = Resolve(key);
    const QString given = key.startsWith(u'\\') ? key.mid(1) : key;
    Platform& platform = CurrentPlatform();
    const bool ok = (canCreate && !given.isEmpty()) ? platform.RegCreateKey(root_, path)
                                                    : platform.RegOpenKey(root_, path);
    if (!ok) return false;
    open_ = true;
    currentPath_ = path;
    return true;
}

void TRegistry::CloseKey()
{
    open_ = false;
    currentPath_.clear();
}

std::optional<RegValue> TRegistry::Query(const QString& name)
{
    if (!open_) return std::nullopt;
    return CurrentPlatform().RegQueryValue(root_, currentPath_, name);
}

void TRegistry::Write(const QString& name, const RegValue& value)
{
    if (!open_ || !CurrentPlatform().RegSetValue(root_, currentPath_, name, value))
        Raise("Failed to set data for '%1'", name);
}

QString TRegistry::ReadString(const QString& name)
{
    const auto value = Query(name);
    if (!value) return {};
    if (!IsText(value->type)) Raise("Invalid data type for '%1'", name);
    const auto* units = reinterpret_cast<const char16_t*>(value->data.constData());
    const qsizetype count = value->data.size() / 2;
    qsizetype length = 0;
    while (length < count && units[length] != 0)
        ++length;
    return QString::fromUtf16(units, length);
}

void TRegistry::WriteString(const QString& name, const QString& text)
{
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    data.append(2, '\0');
    Write(name, {REG_SZ, data});
}

int TRegistry::ReadInteger(const QString& name)
{
    const auto value = Query(name);
    if (!value || value->data.size() > 4) Raise("Failed to get data for '%1'", name);
    if (value->type != REG_DWORD) Raise("Invalid data type for '%1'", name);
    std::int32_t result = 0;
    std::memcpy(&result, value->data.constData(), value->data.size());
    return result;
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    const auto n = static_cast<std::int32_t>(value);
    Write(name, {REG_DWORD, QByteArray(reinterpret_cast<const char*>(&n), 4)});
}

bool TRegistry::ReadBool(const QString& name)
{
    return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const QString& name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

int TRegistry::ReadBinaryData(const QString& name, void* buffer, int size)
{
    const auto value = Query(name);
    if (!value) return 0;
    if (IsText(value->type) || value->type == REG_DWORD || value->data.size() > size)
        Raise("Invalid data type for '%1'", name);
    std::memcpy(buffer, value->data.constData(), value->data.size());
    return static_cast<int>(value->data.size());
}

void TRegistry::WriteBinaryData(const QString& name, const void* buffer, int size)
{
    Write(name, {REG_BINARY, QByteArray(static_cast<const char*>(buffer), size)});
}

bool TRegistry::ValueExists(const QString& name)
{
    return Query(name).has_value();
}

bool TRegistry::DeleteValue(const QString& name)
{
    return open_ && CurrentPlatform().RegDeleteValue(root_, currentPath_, name);
}

bool TRegistry::DeleteKey(const QString& key)
{
    const QString path = Resolve(key);
    Platform& platform = CurrentPlatform();
    if (platform.RegOpenKey(root_, path)) {
        const QStringList subkeys = platform.RegEnumKeys(root_, path).value_or(QStringList{});
        for (auto it = subkeys.crbegin(); it != subkeys.crend(); ++it)
            DeleteKey(u'\\' + JoinPath(path, *it));
    }
    return platform.RegDeleteKey(root_, path);
}

void TRegistry::GetKeyNames(QStringList& list)
{
    list.clear();
    if (open_) list = CurrentPlatform().RegEnumKeys(root_, currentPath_).value_or(QStringList{});
}

void TRegistry::GetValueNames(QStringList& list)
{
    list.clear();
    if (open_) list = CurrentPlatform().RegEnumValues(root_, currentPath_).value_or(QStringList{});
}
