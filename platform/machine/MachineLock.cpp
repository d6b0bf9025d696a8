#include "MachineLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

MachineLock::MachineLock(const QString& prefix)
{
    const QByteArray path = QFile::encodeName(prefix + QStringLiteral("/.tolmar.lock"));
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

MachineLock::~MachineLock()
{
    if (fd_ >= 0) ::close(fd_);
}

namespace {

bool LockHeld(const QString& lockFile)
{
    const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 1;
    const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

} // namespace

bool WineserverRunning(const QString& prefix)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(prefix).constData(), &st) != 0) return false;
    const QString serverDir = QStringLiteral("server-%1-%2")
                                  .arg(qulonglong(st.st_dev), 0, 16)
                                  .arg(qulonglong(st.st_ino), 0, 16);
    QStringList bases = {QStringLiteral("/tmp/.wine-%1").arg(::getuid())};
    // Debian's build keeps its server folders in a folder of its own, named in the prefix
    // relative to the temporary folder.
    QFile named(prefix + QStringLiteral("/wineserver"));
    QString folder;
    if (QFileInfo(named).isSymLink())
        folder = QFileInfo(named).symLinkTarget();
    else if (named.open(QIODevice::ReadOnly))
        folder = QString::fromLocal8Bit(named.readLine()).trimmed();
    if (QDir::isAbsolutePath(folder))
        bases << folder;
    else if (!folder.isEmpty())
        bases << QDir::tempPath() + u'/' + folder << QStringLiteral("/tmp/") + folder;
    for (const QString& base : bases)
        if (!base.isEmpty() && LockHeld(base + u'/' + serverDir + QStringLiteral("/lock")))
            return true;
    return false;
}
