#pragma once

#include "Machine.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <ostream>

// A throw-away machine in a temporary folder: registry text and files go in, the machine is
// opened on them and installed as the current platform.
class TempMachine
{
public:
    TempMachine();
    ~TempMachine();

    const QString& Prefix() const { return prefix_; }
    // A host path below the prefix, such as "drive_c/WINDOWS/System.ini".
    QString Host(const QString& relative) const { return prefix_ + u'/' + relative; }

    // Writes a file below the prefix (parent folders are made). Call before Open for *.reg.
    void WriteFile(const QString& relative, const QByteArray& bytes);
    QByteArray ReadFile(const QString& relative) const;
    // Registry files with Wine's header and the given body.
    void WriteHive(const QString& name, const QByteArray& body);
    // The default machine's files, as a first start makes it from the template.
    void WriteTemplate();
    // The drive C: with a Windows folder and its system folder.
    void MakeWindows(const QString& windows = QStringLiteral("WINDOWS"),
                     const QString& system = QStringLiteral("SYSTEM"));

    // Registry values and profile entries set through the machine itself (keys are created), as
    // a next start will find them. Before Open the machine is opened for the change and closed.
    void SetValue(HKEY root, const QString& key, const QString& name, const RegValue& value);
    void SetDword(HKEY root, const QString& key, const QString& name, std::uint32_t value);
    void SetText(HKEY root, const QString& key, const QString& name, const QString& text);
    void SetBinary(HKEY root, const QString& key, const QString& name, const QByteArray& bytes);
    void SetProfile(const QString& file, const QString& section, const QString& key,
                    const QString& value);
    // Removes a value, where there is one.
    void DeleteValue(HKEY root, const QString& key, const QString& name);

    Machine& Open(Machine::Options options = {});
    Machine& Get() { return *machine_; }
    // Saves, closes and opens the machine again: what a next start would see.
    Machine& Reopen();
    void Close();

private:
    template <class Change> void Apply(Change change);

    QTemporaryDir dir_;
    QString prefix_;
    std::unique_ptr<Machine> machine_;
};

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Wine's header of a registry file whose keys are relative to the given path.
QByteArray HiveHeader(const char* relativeTo);

// An executable that does nothing, named so a program finds it on PATH in the given folder.
void MakeFakeProgram(const QString& folder, const QString& name);

// True when the file system of the folder keeps user extended attributes.
bool SupportsDosAttributes(const QString& folder);

// Every name below a folder with its bytes (folders as such), to show nothing was written.
std::map<QString, QByteArray> FolderSnapshot(const QString& folder);
