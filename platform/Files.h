#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The path keywords: "dysk" (the drive of the Windows directory, like C:), "win" (the Windows
// directory) and "sys" (the system directory), without a trailing backslash. Any other
// keyword, capitals included, leaves the caller's path unchanged.
void GetSystemPath(const QString& keyword, QString& path);
QString GetSystemPath(const QString& keyword);

int FileGetAttr(const QString& path);
// The result is ignored by every caller, as the system's is.
void FileSetAttr(const QString& path, int attributes);
bool FileExists(const QString& path);
bool DirectoryExists(const QString& path);
// Creates one folder whose parent exists; false when it could not (it exists already, say).
bool CreateDir(const QString& path);
// Names of the entries matching the pattern (a folder and a mask such as "*.cpl"); with the
// filter 16 directories and plain files but no hidden or system entries, with 63 every entry.
// "." and ".." come like any other entry.
QStringList ListDirectory(const QString& pattern, int attributeFilter);

// Creates or replaces a file with the bytes, whole or not at all; a replaced file keeps its mode
// and its hidden and system attributes. A file that cannot be created or written raises
// EInOutError: 3 when its folder does not exist, 5 when it cannot be written or is read-only.
void WriteFileBytes(const QString& path, const QByteArray& bytes);
// Replaces a file named by its host path (one the user picked) with the bytes, by the same writer
// as every other file Tolmar writes: whole or not at all, keeping its mode and attributes. A
// read-only file, or one that cannot be written, raises EFileWriteError with the system's reason.
void WriteHostFile(const QString& hostPath, const QByteArray& bytes);
// False when the file cannot be deleted (or does not exist).
bool DeleteFile(const QString& path);

// Asks the shell to perform a verb ("open", "print") on a file, a mailto: link or a web address.
void ShellExecute(const QString& verb, const QString& target, int showCommand);
// The same with a working folder: a file named without a drive, a scheme or a leading backslash
// is looked for in that folder, as the shell does.
void ShellExecute(const QString& verb, const QString& file, const QString& directory,
                  int showCommand);
// Starts a command line with a show command; the result is ignored.
void WinExec(const QString& commandLine, int showCommand);
