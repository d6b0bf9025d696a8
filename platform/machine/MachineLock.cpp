#include "MachineLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A refused start removes a lock file it made, and another start may have opened that file
// just before: its lock then holds a file that is gone, so it tries again. Each round follows a
// file that another start made or removed, so a few rounds are enough.
constexpr int kLockRounds = 8;

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

MachineLock::MachineLock(const QString& prefix) : path_(prefix + QStringLiteral("/.tolmar.lock"))
{
    const QByteArray path = QFile::encodeName(path_);
    for (int round = 0; round < kLockRounds; ++round) {
        created_ = false;
        // flock needs no write access, so a lock file without write permission still serves. A
        // link in its place (even one naming nothing) fails with ELOOP, to be named as such.
        fd_ = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd_ < 0 && errno == ENOENT) {
            fd_ = ::open(path.constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                         0644);
            if (fd_ < 0 && errno == EEXIST) continue;
            created_ = fd_ >= 0;
        }
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        struct stat held = {};
        if (::fstat(fd_, &held) != 0 || !S_ISREG(held.st_mode)) {
            error_ = S_ISDIR(held.st_mode) ? EISDIR : EINVAL;
            Abandon();
            return;
        }
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            // Kept even when this start made it: the start that holds it may have opened it.
            error_ = errno;
            state_ = error_ == EWOULDBLOCK ? State::Busy : State::Failed;
            ::close(fd_);
            fd_ = -1;
            return;
        }
        struct stat named = {};
        if (::stat(path.constData(), &named) == 0 && SameFile(held, named)) {
            state_ = State::Held;
            return;
        }
        ::close(fd_);
        fd_ = -1;
    }
    state_ = State::Busy;
}

MachineLock::~MachineLock()
{
    if (fd_ < 0) return;
    // A normal end leaves the folder without the lock file. Removed while still locked, as in
    // Abandon; a start that opened it meanwhile finds its lock on a file that is gone and tries
    // again.
    if (state_ == State::Held) ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
}

void MachineLock::Abandon()
{
    if (fd_ < 0) return;
    // Removed while still locked, so no other start can take the lock of a file that is going.
    if (created_) ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    fd_ = -1;
    created_ = false;
    state_ = State::Failed;
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
