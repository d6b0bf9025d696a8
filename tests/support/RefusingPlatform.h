#pragma once

#include "Platform.h"

#include <QStringList>

// A platform that refuses to write or delete the named registry values and passes everything
// else to the machine below it: a disk that is full, a key that is locked.
class RefusingPlatform : public Platform
{
public:
    RefusingPlatform(Platform& inner, QStringList refused)
        : inner_(inner), refused_(std::move(refused))
    {}

    bool RegSetValue(HKEY root, const QString& path, const QString& name,
                     const RegValue& value) override
    {
        return !refused_.contains(name, Qt::CaseInsensitive) &&
               inner_.RegSetValue(root, path, name, value);
    }

    bool RegOpenKey(HKEY root, const QString& path) override
    {
        return inner_.RegOpenKey(root, path);
    }
    bool RegCreateKey(HKEY root, const QString& path) override
    {
        return inner_.RegCreateKey(root, path);
    }
    std::optional<RegValue> RegQueryValue(HKEY root, const QString& path,
                                          const QString& name) override
    {
        return inner_.RegQueryValue(root, path, name);
    }
    bool RegDeleteValue(HKEY root, const QString& path, const QString& name) override
    {
        return !refused_.contains(name, Qt::CaseInsensitive) &&
               inner_.RegDeleteValue(root, path, name);
    }
    bool RegDeleteKey(HKEY root, const QString& path) override
    {
        return inner_.RegDeleteKey(root, path);
    }
    std::optional<QStringList> RegEnumKeys(HKEY root, const QString& path) override
    {
        return inner_.RegEnumKeys(root, path);
    }
    std::optional<QStringList> RegEnumValues(HKEY root, const QString& path) override
    {
        return inner_.RegEnumValues(root, path);
    }
    std::optional<QString> ProfileRead(const QString& file, const QString& section,
                                       const QString& key) override
    {
        return inner_.ProfileRead(file, section, key);
    }
    bool ProfileWrite(const QString& file, const QString& section, const QString& key,
                      const QString& value) override
    {
        return !refused_.contains(key, Qt::CaseInsensitive) &&
               inner_.ProfileWrite(file, section, key, value);
    }
    bool ProfileDelete(const QString& file, const QString& section, const QString& key) override
    {
        return !refused_.contains(key, Qt::CaseInsensitive) &&
               inner_.ProfileDelete(file, section, key);
    }
    void ProfileFlush(const QString& file) override { inner_.ProfileFlush(file); }
    QString WindowsDirectory() override { return inner_.WindowsDirectory(); }
    QString SystemDirectory() override { return inner_.SystemDirectory(); }
    int GetFileAttributes(const QString& path) override { return inner_.GetFileAttributes(path); }
    bool SetFileAttributes(const QString& path, int attributes) override
    {
        return inner_.SetFileAttributes(path, attributes);
    }
    QStringList ListDirectory(const QString& pattern, int attributeFilter) override
    {
        return inner_.ListDirectory(pattern, attributeFilter);
    }
    bool CopyFile(const QString& from, const QString& to, bool failIfExists) override
    {
        return inner_.CopyFile(from, to, failIfExists);
    }
    bool CreateDirectory(const QString& path) override { return inner_.CreateDirectory(path); }
    QString HostPath(const QString& windowsPath) override { return inner_.HostPath(windowsPath); }
    QString SystemPathOf(const QString& hostPath) override { return inner_.SystemPathOf(hostPath); }
    void FileChanging(const QString& hostPath, const std::optional<QByteArray>& bytes) override
    {
        inner_.FileChanging(hostPath, bytes);
    }
    void ShellExecute(const QString& verb, const QString& target, int showCommand) override
    {
        inner_.ShellExecute(verb, target, showCommand);
    }
    void WinExec(const QString& commandLine, int showCommand) override
    {
        inner_.WinExec(commandLine, showCommand);
    }
    std::uint64_t TotalPhysicalMemory() override { return inner_.TotalPhysicalMemory(); }

private:
    Platform& inner_;
    QStringList refused_;
};
