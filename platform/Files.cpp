#include "Files.h"

#include "Errors.h"
#include "Machine.h"
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

void GetSystemPath(const QString& keyword, QString& path)
{
    Platform& platform = CurrentPlatform();
    if (keyword == QStringLiteral("dysk"))
        path = platform.WindowsDirectory().left(2);
    else if (keyword == QStringLiteral("win"))
        path = platform.WindowsDirectory();
    else if (keyword == QStringLiteral("sys"))
        path = platform.SystemDirectory();
}

QString GetSystemPath(const QString& keyword)
{
    QString path;
    GetSystemPath(keyword, path);
    return path;
}

int FileGetAttr(const QString& path) { return CurrentPlatform().GetFileAttributes(path); }

void FileSetAttr(const QString& path, int attributes)
{
    CurrentPlatform().SetFileAttributes(path, attributes);
}

bool FileExists(const QString& path)
{
    const int attributes = FileGetAttr(path);
    return attributes >= 0 && !(attributes & faDirectory);
}

bool DirectoryExists(const QString& path)
{
    const int attributes = FileGetAttr(path);
    return attributes >= 0 && (attributes & faDirectory);
}

bool CreateDir(const QString& path) { return CurrentPlatform().CreateDirectory(path); }

QStringList ListDirectory(const QString& pattern, int attributeFilter)
{
    return CurrentPlatform().ListDirectory(pattern, attributeFilter);
}

void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    const QString host = CurrentPlatform().HostPath(path);
    constexpr int kPathNotFound = 3;
    constexpr int kAccessDenied = 5;
    if (host.isEmpty() || !QFileInfo(host).absoluteDir().exists()) throw EInOutError(kPathNotFound);
    // Read-only holds even for root, as it does on Windows.
    const int attributes = FileGetAttr(path);
    if (attributes >= 0 && (attributes & faReadOnly)) throw EInOutError(kAccessDenied);
    CurrentPlatform().FileChanging(host, bytes);
    if (!WriteFileAtomically(host, bytes.constData(), std::size_t(bytes.size())))
        throw EInOutError(kAccessDenied);
}

void WriteHostFile(const QString& hostPath, const QByteArray& bytes)
{
    // The system's own English texts, whatever the locale, as the rest of the editor's messages.
    const auto reason = [](int error) { return QString::fromUtf8(::strerrordesc_np(error)); };
    const QFileInfo file(hostPath);
    constexpr auto kWritable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    // Read-only holds even for root, as it does on Windows.
    if (file.isFile() && !(file.permissions() & kWritable))
        throw EFileWriteError(false, reason(EACCES));
    if (Platform* platform = InstalledPlatform()) platform->FileChanging(hostPath, bytes);
    WriteFailure failure;
    if (!WriteFileAtomically(hostPath, bytes.constData(), std::size_t(bytes.size()), &failure))
        throw EFileWriteError(failure.writing, reason(failure.error));
}

bool DeleteFile(const QString& path)
{
    const QString host = CurrentPlatform().HostPath(path);
    if (host.isEmpty() || !QFileInfo(host).isFile()) return false;
    CurrentPlatform().FileChanging(host, std::nullopt);
    return QFile::remove(host);
}

void ShellExecute(const QString& verb, const QString& target, int showCommand)
{
    CurrentPlatform().ShellExecute(verb, target, showCommand);
}

void ShellExecute(const QString& verb, const QString& file, const QString& directory,
                  int showCommand)
{
    // A drive, a URL's scheme or a root path names the file on its own.
    const bool named = file.startsWith(u'\\') || file.contains(u':');
    if (named || directory.isEmpty()) {
        ShellExecute(verb, file, showCommand);
        return;
    }
    const QString separator = directory.endsWith(u'\\') ? QString() : QStringLiteral("\\");
    ShellExecute(verb, directory + separator + file, showCommand);
}

void WinExec(const QString& commandLine, int showCommand)
{
    CurrentPlatform().WinExec(commandLine, showCommand);
}
