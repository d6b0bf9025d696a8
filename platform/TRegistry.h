#pragma once

#include "Platform.h"

#include <QString>
#include <QStringList>

// The registry access object: one root, at most one open key. Reads and writes go to the
// platform at once; errors are raised as ERegistryException with the system's texts.
class TRegistry
{
public:
    TRegistry() = default;
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY root);
    QString CurrentPath() const { return currentPath_; }
    bool HasCurrentKey() const { return open_; }

    bool OpenKey(const QString& key, bool canCreate);
    void CloseKey();

    QString ReadString(const QString& name);
    void WriteString(const QString& name, const QString& text);
    int ReadInteger(const QString& name);
    void WriteInteger(const QString& name, int value);
    bool ReadBool(const QString& name);
    void WriteBool(const QString& name, bool value);
    int ReadBinaryData(const QString& name, void* buffer, int size);
    void WriteBinaryData(const QString& name, const void* buffer, int size);

    bool ValueExists(const QString& name);
    bool DeleteValue(const QString& name);
    bool DeleteKey(const QString& key);
    void GetKeyNames(QStringList& list);
    void GetValueNames(QStringList& list);

private:
    // The absolute path a key argument names, as OpenKey takes it.
    QString Resolve(const QString& key) const;
    std::optional<RegValue> Query(const QString& name);
    void Write(const QString& name, const RegValue& value);

    HKEY root_ = HKEY_CURRENT_USER;
    bool open_ = false;
    QString currentPath_;
};
