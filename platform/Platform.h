#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// Predefined registry roots, as their handle values.
using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

enum RegType : std::uint32_t
{
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
    REG_QWORD = 11,
};

struct RegValue
{
    std::uint32_t type = REG_NONE;
    QByteArray data; // as the registry holds it: text is UTF-16LE with its terminating NUL
};

// File attribute bits.
inline constexpr int faReadOnly = 1;
inline constexpr int faHidden = 2;
inline constexpr int faSysFile = 4;
inline constexpr int faDirectory = 16;
inline constexpr int faArchive = 32;
inline constexpr int faAnyFile = 63;

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNORMAL = 5;

// How the program reaches the system. A backend only decides how an operation reaches its
// system; the rules the pages rely on (error texts, defaults, type checks) live above it in
// TRegistry, TIniFile and the free functions of Files.h. Key paths are relative to the root,
// backslash-separated, without a leading backslash; an empty path is the root itself.
class Platform
{
public:
    virtual ~Platform() = default;

    virtual bool RegOpenKey(HKEY root, const QString& path) = 0;
    virtual bool RegCreateKey(HKEY root, const QString& path) = 0;
    virtual std::optional<RegValue> RegQueryValue(HKEY root, const QString& path,
                                                  const QString& name) = 0;
    virtual bool RegSetValue(HKEY root, const QString& path, const QString& name,
                             const RegValue& value) = 0;
    virtual bool RegDeleteValue(HKEY root, const QString& path, const QString& name) = 0;
    // Deletes one key that has no subkeys.
    virtual bool RegDeleteKey(HKEY root, const QString& path) = 0;
    virtual std::optional<QStringList> RegEnumKeys(HKEY root, const QString& path) = 0;
    virtual std::optional<QStringList> RegEnumValues(HKEY root, const QString& path) = 0;

    // Profile files, with the semantics of Windows' profile functions.
    virtual std::optional<QString> ProfileRead(const QString& file, const QString& section,
                                               const QString& key) = 0;
    virtual bool ProfileWrite(const QString& file, const QString& section, const QString& key,
                              const QString& value) = 0;
    // Removes an entry; an entry that is not there is no failure.
    virtual bool ProfileDelete(const QString& file, const QString& section, const QString& key) = 0;
    virtual void ProfileFlush(const QString& file) = 0;

    virtual QString WindowsDirectory() = 0;
    virtual QString SystemDirectory() = 0;
    // -1 when the path names nothing.
    virtual int GetFileAttributes(const QString& path) = 0;
    virtual bool SetFileAttributes(const QString& path, int attributes) = 0;
    virtual QStringList ListDirectory(const QString& pattern, int attributeFilter) = 0;
    virtual bool CopyFile(const QString& from, const QString& to, bool failIfExists) = 0;
    virtual bool CreateDirectory(const QString& path) = 0;
    // Where a Windows path's bytes live, for code that reads or writes a whole file.
    virtual QString HostPath(const QString& windowsPath) = 0;
    // The path the system knows a file of the host by (the running executable, for one).
    virtual QString SystemPathOf(const QString& hostPath) = 0;
    // Told before a whole file is written (or removed, with no bytes), so that the change can be
    // recorded with what the file held before.
    virtual void FileChanging(const QString& hostPath, const std::optional<QByteArray>& bytes)
    {
        Q_UNUSED(hostPath);
        Q_UNUSED(bytes);
    }

    virtual void ShellExecute(const QString& verb, const QString& target, int showCommand) = 0;
    virtual void WinExec(const QString& commandLine, int showCommand) = 0;
    virtual std::uint64_t TotalPhysicalMemory() = 0;
};

// The platform every operation of the program goes to. Set once at start (and by tests).
Platform& CurrentPlatform();
void SetCurrentPlatform(Platform* platform);
// The platform set, or null: a file the user picked is written even with none.
Platform* InstalledPlatform();
