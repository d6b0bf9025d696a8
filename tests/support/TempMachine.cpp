#include "TempMachine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/xattr.h>

TempMachine::TempMachine() : prefix_(dir_.path() + QStringLiteral("/prefix"))
{
    QDir().mkpath(prefix_ + QStringLiteral("/drive_c"));
}

TempMachine::~TempMachine() { Close(); }

void TempMachine::WriteFile(const QString& relative, const QByteArray& bytes)
{
    const QString path = Host(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.exists()) f.setPermissions(f.permissions() | QFile::WriteOwner);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    f.write(bytes);
}

QByteArray TempMachine::ReadFile(const QString& relative) const
{
    QFile f(Host(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray HiveHeader(const char* relativeTo)
{
    return QByteArray("WINE REGISTRY Version 2\n;; All keys relative to ") + relativeTo +
           "\n\n#arch=win64\n";
}

void TempMachine::WriteHive(const QString& name, const QByteArray& body)
{
    const char* relativeTo = name == QStringLiteral("system.reg") ? "REGISTRY\\\\Machine"
                             : name == QStringLiteral("userdef.reg")
                                 ? "REGISTRY\\\\User\\\\.Default"
                                 : "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000";
    WriteFile(name, HiveHeader(relativeTo) + body);
}

void TempMachine::WriteTemplate()
{
    const QDir from(QStringLiteral(TOLMAR_TEMPLATE));
    QDirIterator it(from.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile source(file);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << file.toStdString();
        WriteFile(from.relativeFilePath(file), source.readAll());
    }
}

void TempMachine::MakeWindows(const QString& windows, const QString& system)
{
    QDir().mkpath(Host(QStringLiteral("drive_c/") + windows + u'/' + system));
}

template <class Change> void TempMachine::Apply(Change change)
{
    const bool wasOpen = machine_ != nullptr;
    if (!wasOpen) Open();
    change(*machine_);
    if (!wasOpen) Close();
}

void TempMachine::SetValue(HKEY root, const QString& key, const QString& name,
                           const RegValue& value)
{
    Apply([&](Machine& m) {
        ASSERT_TRUE(m.RegCreateKey(root, key)) << qPrintable(key);
        ASSERT_TRUE(m.RegSetValue(root, key, name, value)) << qPrintable(name);
    });
}

void TempMachine::SetDword(HKEY root, const QString& key, const QString& name, std::uint32_t value)
{
    SetValue(root, key, name, {REG_DWORD, QByteArray(reinterpret_cast<const char*>(&value), 4)});
}

void TempMachine::SetText(HKEY root, const QString& key, const QString& name, const QString& text)
{
    QByteArray data(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    data.append(2, '\0');
    SetValue(root, key, name, {REG_SZ, data});
}

void TempMachine::SetBinary(HKEY root, const QString& key, const QString& name,
                            const QByteArray& bytes)
{
    SetValue(root, key, name, {REG_BINARY, bytes});
}

void TempMachine::SetProfile(const QString& file, const QString& section, const QString& key,
                             const QString& value)
{
    Apply([&](Machine& m) {
        ASSERT_TRUE(m.ProfileWrite(file, section, key, value)) << qPrintable(file);
    });
}

void TempMachine::DeleteValue(HKEY root, const QString& key, const QString& name)
{
    Apply([&](Machine& m) { m.RegDeleteValue(root, key, name); });
}

Machine& TempMachine::Open(Machine::Options options)
{
    machine_ = std::make_unique<Machine>(prefix_, std::move(options));
    SetCurrentPlatform(machine_.get());
    return *machine_;
}

Machine& TempMachine::Reopen()
{
    Close();
    return Open();
}

void TempMachine::Close()
{
    if (!machine_) return;
    SetCurrentPlatform(nullptr);
    machine_.reset();
}

bool SupportsDosAttributes(const QString& folder)
{
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.xattr-probe"));
    QFile f(QString::fromLocal8Bit(probe));
    f.open(QIODevice::WriteOnly);
    f.close();
    const bool ok = ::setxattr(probe.constData(), "user.probe", "1", 1, 0) == 0;
    f.remove();
    return ok;
}

void MakeFakeProgram(const QString& folder, const QString& name)
{
    QFile program(folder + u'/' + name);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Every name below a folder with its bytes (folders as such), to show nothing was written.
std::map<QString, QByteArray> FolderSnapshot(const QString& folder)
{
    std::map<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        entries[path] = it.fileInfo().isDir()         ? QByteArray("<folder>")
                        : f.open(QIODevice::ReadOnly) ? f.readAll()
                                                      : QByteArray("<unreadable>");
    }
    return entries;
}
