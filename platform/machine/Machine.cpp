#include "Machine.h"

#include "ProfileText.h"
#include "System.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kMaxLinkDepth = 16;
constexpr std::uint32_t kRegLink = 6;
const char kDosAttrib[] = "user.DOSATTRIB";
// The write bits that read-only took from a file, so that clearing it gives back those, which
// Wine's rule (and the umask) would not.
const char kWriteBits[] = "user.tolmar.writebits";
// A save's temporary file: the prefix and six characters of mkstemp's.
const char kTempPrefix[] = ".tolmar-";
constexpr qsizetype kTempNameLength = 14;

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QStringList SplitKeyPath(const QString& path) { return path.split(u'\\', Qt::SkipEmptyParts); }

// Hidden and system bits as Wine keeps them in the extended attribute.
int ReadDosAttrib(const QByteArray& path)
{
    char buf[32] = {};
    const ssize_t n = ::getxattr(path.constData(), kDosAttrib, buf, sizeof buf - 1);
    if (n < 3 || buf[0] != '0' || (buf[1] != 'x' && buf[1] != 'X')) return 0;
    return int(std::strtoul(buf + 2, nullptr, 16)) & (faHidden | faSysFile);
}

void WriteDosAttrib(const QByteArray& path, int bits)
{
    bits &= faHidden | faSysFile;
    if (!bits) {
        ::lremovexattr(path.constData(), kDosAttrib);
        return;
    }
    char buf[16];
    const int n = std::snprintf(buf, sizeof buf, "0x%x", bits);
    ::lsetxattr(path.constData(), kDosAttrib, buf, n, 0);
}

mode_t ReadWriteBits(const QByteArray& path)
{
    char buf[16] = {};
    if (::getxattr(path.constData(), kWriteBits, buf, sizeof buf - 1) <= 0) return 0;
    return mode_t(std::strtoul(buf, nullptr, 8)) & 0222;
}

void WriteWriteBits(const QByteArray& path, mode_t bits)
{
    if (!bits) {
        ::lremovexattr(path.constData(), kWriteBits);
        return;
    }
    char buf[16];
    const int n = std::snprintf(buf, sizeof buf, "%o", unsigned(bits));
    ::lsetxattr(path.constData(), kWriteBits, buf, n, 0);
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// A registry file opened for the hive to read from for as long as it lives; null when the
// file cannot be opened. Plain system calls: this also runs on a thread where no QObject (as
// QFile) may be made.
std::shared_ptr<const RegistrySource> OpenSource(const QByteArray& path, struct stat& st)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_shared<FileSource>(fd);
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Makes a rename in the folder survive a power loss. File systems that cannot sync a folder
// refuse with EINVAL; the new file is in place either way, so nothing is undone.
void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

// A registry file's line that cannot be read, and what Tolmar does about it.
QString UnreadableRegistryText(const QString& prefix, const QString& name,
                               const RegistryParseError& error, const QString& consequence)
{
    return QStringLiteral("Plik rejestru %1 maszyny „%2” jest uszkodzony: wiersz %3: %4.\n\n")
               .arg(name, prefix, QString::number(error.Line()), error.Reason()) +
           consequence;
}

QString UnreadableRegistryText(const QString& prefix, const QString& name,
                               const RegistryParseError& error)
{
    return UnreadableRegistryText(prefix, name, error,
                                  QStringLiteral("Tolmar nie otworzy tej maszyny, bo przy zapisie "
                                                 "straciłby to, czego nie umie odczytać. Popraw "
                                                 "lub usuń ten wiersz i uruchom program "
                                                 "ponownie."));
}

QString LockFailureText(const QString& prefix, const QString& lockFile, int error)
{
    if (error == EACCES || error == EPERM || error == EROFS)
        return QStringLiteral("Folder maszyny „%1” jest tylko do odczytu: Tolmar nie może w nim "
                              "utworzyć pliku blokady ani zapisać zmian. Nadaj sobie prawo zapisu "
                              "do tego folderu i spróbuj ponownie.")
            .arg(prefix);
    if (error == ELOOP)
        return QStringLiteral("Plik blokady „%1” maszyny „%2” jest dowiązaniem symbolicznym, a "
                              "Tolmar blokuje maszynę tylko zwykłym plikiem. Usuń to dowiązanie "
                              "i spróbuj ponownie.")
            .arg(lockFile, prefix);
    return QStringLiteral("Nie można utworzyć pliku blokady „%1” maszyny „%2” (%3). Usuń to, co "
                          "zajmuje jego miejsce, i spróbuj ponownie.")
        .arg(lockFile, prefix, QString::fromLocal8Bit(std::strerror(error)));
}

bool WriteFileAtomically(const QString& path, const char* data, std::size_t size,
                         WriteFailure* failure)
{
    return WriteFileAtomically(
        path, [&](int fd) { return WriteAll(fd, data, size); }, failure);
}

bool WriteFileAtomically(const QString& path, const std::function<bool(int fd)>& fill,
                         WriteFailure* failure, int* kept)
{
    const QByteArray target = Native(path);
    // Through a link, so that the file replacing it looks as the file did.
    struct stat old = {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    const int attrib = existed ? ReadDosAttrib(target) : 0;
    const mode_t writeBits = existed ? ReadWriteBits(target) : 0;
    const auto fail = [failure](bool writing, int error) {
        if (failure) *failure = {writing, error};
        return false;
    };

    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temp = target.left(slash + 1) + kTempPrefix + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(false, errno);
    const mode_t mode = existed ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    bool ok = fill(fd) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int error = errno;
    if (ok && kept) {
        *kept = fd;
    } else if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    const bool written = ok;
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        if (kept && written) ::close(fd);
        ::unlink(temp.constData());
        return fail(!written, error);
    }
    if (attrib) WriteDosAttrib(target, attrib);
    if (writeBits) WriteWriteBits(target, writeBits);
    SyncFolder(slash > 0 ? target.left(slash) : QByteArray(slash == 0 ? "/" : "."));
    return true;
}

QString DefaultMachinePath()
{
    const QString explicitPath = qEnvironmentVariable("TOLMAR_MACHINE");
    if (!explicitPath.isEmpty()) return explicitPath;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty()) dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/tolmar/machine");
}

void CreateMachineIfMissing(const QString& prefix, const QString& templateDir)
{
    if (QFileInfo::exists(prefix)) return;
    if (!QFileInfo(templateDir).isDir())
        throw MachineError(QStringLiteral("Brak wzorca maszyny w folderze „%1”.").arg(templateDir));
    // Built beside its final place and renamed, so a half-made machine never appears.
    const QString parent = QFileInfo(prefix).absolutePath();
    const QString building = parent + QStringLiteral("/.tolmar-new-machine");
    QDir().mkpath(parent);
    QDir(building).removeRecursively();
    QDirIterator it(templateDir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool ok = QDir().mkpath(building);
    while (ok && it.hasNext()) {
        const QString source = it.next();
        const QString copy = building + u'/' + QDir(templateDir).relativeFilePath(source);
        ok = it.fileInfo().isDir() ? QDir().mkpath(copy) : QFile::copy(source, copy);
        if (ok && !it.fileInfo().isDir())
            QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
    }
    if (!ok || ::rename(Native(building).constData(), Native(prefix).constData()) != 0) {
        QDir(building).removeRecursively();
        throw MachineError(
            QStringLiteral("Nie można utworzyć maszyny w folderze „%1”.").arg(prefix));
    }
    // Attributes that a repository cannot carry: the boot files of a Windows 98 drive.
    DosPaths paths(prefix);
    for (const char* bootFile : {"C:\\MSDOS.SYS", "C:\\IO.SYS"}) {
        const QByteArray host = Native(paths.ToHost(QString::fromLatin1(bootFile)));
        struct stat st = {};
        if (::stat(host.constData(), &st) != 0) continue;
        ::chmod(host.constData(), st.st_mode & ~0222);
        WriteDosAttrib(host, faHidden | faSysFile);
    }
}

// ---- opening and saving ---------------------------------------------------------------------

Machine::Machine(const QString& prefix, Options options)
    : prefix_(QFileInfo(prefix).absoluteFilePath()), options_(std::move(options)), paths_(prefix_),
      lock_(prefix_), journal_(prefix_)
{
    if (!QFileInfo(prefix_).isDir())
        throw MachineError(QStringLiteral("Folder maszyny „%1” nie istnieje.").arg(prefix_));
    if (lock_.Status() == MachineLock::State::Busy)
        throw MachineError(
            QStringLiteral("Maszyna „%1” jest już otwarta w innym programie Tolmar. Zamknij go "
                           "i spróbuj ponownie.")
                .arg(prefix_));
    if (lock_.Status() == MachineLock::State::Failed)
        throw MachineError(LockFailureText(prefix_, lock_.Path(), lock_.Error()));
    try {
        if (WineserverRunning(prefix_))
            throw MachineError(QStringLiteral("Na maszynie „%1” działa Wine (wineserver), który "
                                              "nadpisałby zmiany Tolmara. Zamknij programy Wine "
                                              "(wineserver -k) i spróbuj ponownie.")
                                   .arg(prefix_));
        LoadHive(system_, QStringLiteral("system.reg"), QStringLiteral("REGISTRY\\Machine"));
        LoadHive(userdef_, QStringLiteral("userdef.reg"),
                 QStringLiteral("REGISTRY\\User\\.Default"));
        LoadHive(user_, QStringLiteral("user.reg"),
                 QStringLiteral("REGISTRY\\User\\S-1-5-21-0-0-0-1000"));
    } catch (const MachineError&) {
        lock_.Abandon();
        throw;
    }
    userSid_ = user_.hive->RelativeTo().section(u'\\', -1);
    RemoveInterruptedSaves();
    if (QCoreApplication::instance()) {
        auto* wineWatch = new QTimer(&flushContext_);
        QObject::connect(wineWatch, &QTimer::timeout, &flushContext_, [this] { WatchWine(); });
        wineWatch->start(1000);
        // Once the program has started: while saves are held, the start is still going on.
        QTimer::singleShot(0, &flushContext_, [this] {
            if (savesHeld_)
                checkOrderLater_ = true;
            else
                CheckOrder();
        });
    }
}

Machine::~Machine()
{
    stopChecking_ = true;
    if (orderCheck_.joinable()) orderCheck_.join();
    Flush();
    saver_.reset();
}

void Machine::CheckOrder()
{
    if (orderCheck_.joinable()) return;
    std::vector<std::pair<HiveFile*, std::shared_ptr<const RegistrySource>>> files;
    for (HiveFile* file : {&system_, &user_, &userdef_})
        if (file->hive->Origin()) files.emplace_back(file, file->hive->Origin());
    if (files.empty()) return;
    orderCheck_ = std::thread([this, files] {
        // Only on a core nobody else wants: the start comes first.
        const sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
        for (const auto& checked : files) {
            if (!KeysOutOfOrder(*checked.second, stopChecking_)) continue;
            QMetaObject::invokeMethod(
                &flushContext_,
                [this, file = checked.first, origin = checked.second.get()] {
                    // A file read again since was checked by nobody: its unfolding still is.
                    if (file->hive->Origin().get() != origin) return;
                    QStringList problems;
                    ReadWhole(*file, problems);
                    for (const QString& problem : problems)
                        ReportProblem(problem);
                },
                Qt::QueuedConnection);
        }
    });
}

void Machine::ReadWhole(HiveFile& file, QStringList& problems)
{
    if (file.saving) {
        file.readWhole = true;
        return;
    }
    file.readWhole = false;
    // Ours already go beside a file someone else changed; one that cannot be read whole keeps
    // its keys as they are.
    if (!file.conflicted) ReadAgain(file, problems, true, true);
}

void Machine::RemoveInterruptedSaves()
{
    // The folders of the registry, MSDOS.SYS and FreeMem.vbs, the Windows folder's profiles and
    // wallpaper pages, the system folder's vendor files. The files the saves were meant to
    // replace are whole; the lock keeps any other Tolmar out of these folders.
    const QString windows = WindowsDirectory();
    const QStringList folders = {prefix_, paths_.DriveRoot(u'c'), paths_.ToHost(windows),
                                 paths_.ToHost(SystemDirectory()),
                                 paths_.ToHost(windows + QStringLiteral("\\Web\\Wallpaper"))};
    for (const QString& folder : folders) {
        if (folder.isEmpty()) continue;
        // Matched by hand: a name filter would compile a regular expression, and with it load a
        // whole engine, for this one look at the folder.
        for (const QString& name :
             QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks))
            if (name.size() == kTempNameLength && name.startsWith(QLatin1String(kTempPrefix)))
                QFile::remove(folder + u'/' + name);
    }
}

void Machine::LoadHive(HiveFile& file, const QString& name, const QString& relativeTo)
{
    file.path = prefix_ + u'/' + name;
    // What was read ahead counts only now that the machine is ours, and only for a file that
    // has not changed since; it fails as the file would, in the same order.
    std::optional<RegistryPreload::Result> ahead;
    if (options_.preload) ahead = options_.preload->Take(prefix_, name);
    if (ahead && ahead->stamp == StampOf(file.path) &&
        (!ahead->hive || ahead->hive->OriginIntact())) {
        if (ahead->error) throw MachineError(UnreadableRegistryText(prefix_, name, *ahead->error));
        file.hive = std::move(ahead->hive);
        file.stamp = ahead->stamp;
        return;
    }
    if (!QFileInfo::exists(file.path)) {
        file.hive = std::make_unique<RegistryHive>(relativeTo);
        return;
    }
    struct stat st = {};
    auto source = OpenSource(Native(file.path), st);
    if (!source)
        throw MachineError(QStringLiteral("Nie można odczytać rejestru maszyny „%1” (plik %2).")
                               .arg(prefix_, name));
    try {
        file.hive = RegistryHive::Load(std::move(source));
    } catch (const RegistryParseError& error) {
        throw MachineError(UnreadableRegistryText(prefix_, name, error));
    }
    // From the file that was read, so a change made after the read still shows.
    file.stamp = StampOf(st);
}

void Machine::SetProblemHandler(std::function<void(const QString&)> handler)
{
    problemHandler_ = std::move(handler);
}

void Machine::ReportProblem(const QString& text)
{
    if (problemHandler_)
        problemHandler_(text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// Writes the registry texts handed to it, one after the other, off the window's thread: a save
// of a large file takes as long as writing its bytes, and the window goes on meanwhile. The texts
// are self-contained (the made lines and the files they copy from), so the tree may change while
// they are written.
class SaveThread
{
public:
    struct Job
    {
        Machine::HiveFile* file;
        RegistryText text;
        QString path;
        FileStamp expected; // the file as last read or written; another means someone else's
        bool conflicted;    // ours go beside it already
        // Appended to the journal before the file is written, so that the journal never holds
        // less than the machine.
        std::vector<JournalChange> records;
        Journal* journal;
        std::mutex* journalMutex;
    };
    struct Result
    {
        Machine::HiveFile* file;
        // A file the text copies from was changed in its place: the text would be wrong.
        bool stale = false;
        bool originStale = false;
        bool written = false;
        bool conflicted = false; // found changed by someone else now: not written
        int journalError = 0;
        QString target;
        FileStamp stamp;
        std::shared_ptr<const RegistrySource> source;
    };

    // `ended` runs on the save thread after each save, to tell the window's thread.
    explicit SaveThread(std::function<void()> ended)
        : ended_(std::move(ended)), thread_([this] { Run(); })
    {}
    ~SaveThread()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void Push(Job job)
    {
        {
            const std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_all();
    }
    void WaitIdle()
    {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    }
    // Lets go of a file on this thread: closing the last descriptor of a replaced file of tens
    // of megabytes frees its blocks, which the window's thread would wait for.
    void Release(std::shared_ptr<const RegistrySource> source)
    {
        if (!source) return;
        {
            const std::lock_guard lock(mutex_);
            released_.push_back(std::move(source));
        }
        wake_.notify_all();
    }
    std::vector<Result> Take()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(results_, {});
    }

private:
    void Run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !jobs_.empty() || !released_.empty(); });
            if (!released_.empty()) {
                auto released = std::exchange(released_, {});
                lock.unlock();
                released.clear();
                lock.lock();
                continue;
            }
            if (jobs_.empty()) return;
            Job job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
            lock.unlock();
            Result result = Save(job);
            lock.lock();
            results_.push_back(std::move(result));
            // Told before the thread counts as idle, so that nothing is told to a machine that
            // has stopped waiting for it.
            ended_();
            busy_ = false;
            idle_.notify_all();
        }
    }

    static Result Save(const Job& job)
    {
        Result result{job.file};
        for (const auto& source : job.text.sources) {
            if (source->Intact()) continue;
            result.stale = true;
            result.originStale = result.originStale || source.get() == job.text.origin;
        }
        if (!job.records.empty()) {
            const std::lock_guard lock(*job.journalMutex);
            if (!job.journal->Append(job.records)) result.journalError = errno ? errno : EIO;
        }
        if (result.stale) return result;
        result.conflicted = !job.conflicted && !(Machine::StampOf(job.path) == job.expected);
        if (result.conflicted) return result;
        result.target = job.conflicted ? job.path + QStringLiteral(".tolmar") : job.path;
        int fd = -1;
        result.written = WriteFileAtomically(
            result.target, [&](int out) { return job.text.WriteTo(out); }, nullptr, &fd);
        if (!result.written) return result;
        struct stat st = {};
        ::fstat(fd, &st);
        result.stamp = Machine::StampOf(st);
        result.source = std::make_shared<FileSource>(fd);
        return result;
    }

    std::function<void()> ended_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<Job> jobs_;
    std::vector<std::shared_ptr<const RegistrySource>> released_;
    std::vector<Result> results_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;
};

bool Machine::Open(HiveFile& file, RegNode& key)
{
    if (key.ValuesLoaded()) return true;
    const bool told = key.Unreadable();
    try {
        file.hive->Open(key);
        return true;
    } catch (const RegistryParseError& error) {
        if (!told)
            ReportProblem(UnreadableRegistryText(
                prefix_, QFileInfo(file.path).fileName(), error,
                QStringLiteral("Tolmar nie zmieni tego klucza i zapisze go tak, jak jest.")));
        return false;
    }
}

void Machine::MarkDirty(HiveFile& file)
{
    file.dirty = true;
    PostFlush();
}

void Machine::PostFlush()
{
    if (savesHeld_ || flushPosted_ || !QCoreApplication::instance()) return;
    flushPosted_ = true;
    QMetaObject::invokeMethod(
        &flushContext_,
        [this] {
            flushPosted_ = false;
            if (!savesHeld_) StartSaves();
        },
        Qt::QueuedConnection);
}

void Machine::HoldSaves(bool hold)
{
    savesHeld_ = hold;
    if (!hold && std::exchange(checkOrderLater_, false)) CheckOrder();
    if (!hold && (system_.dirty || user_.dirty || userdef_.dirty)) PostFlush();
}

void Machine::StartSaves(bool evenForWine)
{
    if (wineRunning_ && !evenForWine) return;
    for (HiveFile* file : {&system_, &user_, &userdef_}) {
        if (!file->dirty || file->saving) continue;
        if (!saver_)
            saver_ = std::make_unique<SaveThread>([this] {
                QMetaObject::invokeMethod(
                    &flushContext_,
                    [this] {
                        QStringList problems;
                        EndSaves(problems);
                        for (const QString& problem : problems)
                            ReportProblem(problem);
                    },
                    Qt::QueuedConnection);
            });
        file->dirty = false;
        file->saving = true;
        saver_->Push({file, file->hive->Plan(), file->path, file->stamp, file->conflicted,
                      std::exchange(unjournaled_, {}), &journal_, &journalMutex_});
    }
}

void Machine::EndSaves(QStringList& problems)
{
    if (!saver_) return;
    bool again = false;
    for (SaveThread::Result& result : saver_->Take()) {
        HiveFile& file = *result.file;
        file.saving = false;
        if (result.journalError && !journalFailureTold_) {
            journalFailureTold_ = true;
            problems << JournalFailureText(result.journalError);
        }
        if (result.stale && file.conflicted) {
            // Neither the file nor what it was loaded from can be trusted any more.
            problems << QStringLiteral("Pliku rejestru „%1” nie można zapisać bez utraty danych: "
                                       "inny program zmienił go w miejscu. Zamknij Tolmar i "
                                       "uruchom go ponownie.")
                            .arg(file.path);
            continue;
        }
        if (result.conflicted || result.stale) {
            // Someone else wrote the file: what they wrote stays, with this run's changes made
            // again over it. Only a file that cannot be read makes ours go beside it.
            file.hive->NotWritten();
            file.dirty = true;
            if (!ReadAgain(file, problems, false)) {
                file.conflicted = true;
                problems << QStringLiteral("Plik rejestru „%1” został zmieniony przez inny "
                                           "program w czasie pracy Tolmara i nie daje się "
                                           "odczytać. Zmiany Tolmara są zapisywane w pliku "
                                           "„%1.tolmar”.")
                                .arg(file.path);
            }
            again = true;
            continue;
        }
        if (!result.written) {
            file.hive->NotWritten();
            file.dirty = true;
            problems << QStringLiteral("Nie można zapisać pliku rejestru „%1”.").arg(result.target);
            continue;
        }
        saver_->Release(file.hive->Written(std::move(result.source)));
        if (!file.conflicted) file.stamp = result.stamp;
        again = again || file.dirty;
    }
    for (HiveFile* file : {&system_, &user_, &userdef_})
        if (file->readWhole && !file->saving) {
            ReadWhole(*file, problems);
            again = true;
        }
    if (again) PostFlush();
}

QString Machine::JournalFailureText(int error) const
{
    return QStringLiteral("Nie można zapisać dziennika zmian „%1” (%2). Zmiany są zapisywane, "
                          "ale tego uruchomienia nie będzie można cofnąć.")
        .arg(Journal::PathOf(prefix_), QString::fromLocal8Bit(std::strerror(error)));
}

void Machine::Record(JournalChange change)
{
    if (replaying_) return;
    change.time = QDateTime::currentMSecsSinceEpoch();
    run_.push_back(change);
    unjournaled_.push_back(std::move(change));
    const JournalChange::Kind kind = unjournaled_.back().kind;
    if (kind == JournalChange::Kind::Value || kind == JournalChange::Kind::Key) return;
    // A profile entry or a file is written at once: its record, and those before it, go first.
    const std::lock_guard lock(journalMutex_);
    if (!journal_.Append(std::exchange(unjournaled_, {})) && !journalFailureTold_) {
        journalFailureTold_ = true;
        ReportProblem(JournalFailureText(errno ? errno : EIO));
    }
}

void Machine::RecordValue(HKEY root, const QString& path, const QString& name,
                          const RegNodeValue* before, std::optional<JournalData> after)
{
    JournalChange change;
    change.root = root;
    change.path = path;
    change.name = name;
    if (before) change.before = JournalData{before->type, before->data};
    change.after = std::move(after);
    Record(std::move(change));
}

void Machine::RecordKey(HKEY root, const QString& path, std::optional<JournalData> before,
                        std::optional<JournalData> after)
{
    JournalChange change;
    change.kind = JournalChange::Kind::Key;
    change.root = root;
    change.path = path;
    change.before = std::move(before);
    change.after = std::move(after);
    Record(std::move(change));
}

void Machine::RecordKeysMade(HKEY root, const QString& path)
{
    if (replaying_ || Resolve(root, path, false)) return;
    const QStringList parts = SplitKeyPath(path);
    for (qsizetype n = 1; n <= parts.size(); ++n) {
        const QString made = parts.first(n).join(u'\\');
        if (Resolve(root, made, false)) continue;
        RecordKey(root, made, std::nullopt, JournalData());
    }
}

bool Machine::ReadAgain(HiveFile& file, QStringList& problems, bool quiet, bool whole)
{
    std::unique_ptr<RegistryHive> hive;
    struct stat st = {};
    FileStamp stamp;
    if (auto source = OpenSource(Native(file.path), st)) {
        stamp = StampOf(st);
        try {
            hive = RegistryHive::Load(std::move(source), whole);
        } catch (const RegistryParseError&) {
            return false;
        }
    } else if (QFileInfo::exists(file.path)) {
        return false;
    } else {
        hive = std::make_unique<RegistryHive>(file.hive->RelativeTo());
    }
    std::unique_ptr<RegistryHive> before = std::exchange(file.hive, std::move(hive));
    const FileStamp stampBefore = std::exchange(file.stamp, stamp);
    const bool conflictedBefore = std::exchange(file.conflicted, false);
    std::vector<JournalChange> registry;
    for (const JournalChange& change : run_)
        if (change.kind == JournalChange::Kind::Value || change.kind == JournalChange::Kind::Key)
            registry.push_back(change);
    replaying_ = true;
    std::vector<QString> both;
    try {
        both = ReplayRun(*this, registry);
    } catch (const OutOfOrderInReplay&) {
        // As if never read: a file that cannot be read whole leaves the keys as they were.
        replaying_ = false;
        file.hive = std::move(before);
        file.stamp = stampBefore;
        file.conflicted = conflictedBefore;
        return ReadAgain(file, problems, quiet, true);
    }
    replaying_ = false;
    MarkDirty(file);
    if (quiet && both.empty()) return true;
    QString text = QStringLiteral("Plik rejestru „%1” został zmieniony przez inny program w "
                                  "czasie pracy Tolmara. Tolmar odczytał go ponownie i wprowadził "
                                  "w nim na nowo swoje zmiany z tego uruchomienia.")
                       .arg(file.path);
    if (!both.empty()) {
        text += QStringLiteral("\n\nTe wartości zmieniły oba programy; zostały dane Tolmara:");
        for (const QString& name : both)
            text += QStringLiteral("\n") + name;
    }
    problems << text;
    return true;
}

void Machine::Flush()
{
    flushPosted_ = false;
    // A report may wait for a click while the program is killed: every file is written first.
    QStringList problems;
    for (int round = 0; round < 2; ++round) {
        if (saver_) saver_->WaitIdle();
        EndSaves(problems);
        StartSaves(true);
    }
    if (saver_) saver_->WaitIdle();
    EndSaves(problems);
    problems.removeDuplicates();
    for (const QString& problem : problems)
        ReportProblem(problem);
}

FileStamp Machine::StampOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size,
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

FileStamp Machine::StampOf(const QString& path)
{
    struct stat st = {};
    return ::stat(Native(path).constData(), &st) == 0 ? StampOf(st) : FileStamp{};
}

RegistryPreload::RegistryPreload(const QString& prefix)
    : prefix_(QFileInfo(prefix).absoluteFilePath())
{
    // In the order the machine loads them, which is the order their errors are told in.
    const char* const names[] = {"system.reg", "userdef.reg", "user.reg"};
    for (std::size_t i = 0; i < files_.size(); ++i) {
        files_[i].name = QString::fromLatin1(names[i]);
        files_[i].path = Native(prefix_ + u'/' + files_[i].name);
    }
    thread_ = std::thread([this] { Run(); });
}

RegistryPreload::~RegistryPreload() { Wait(); }

void RegistryPreload::Wait()
{
    if (thread_.joinable()) thread_.join();
}

void RegistryPreload::Run()
{
    for (File& file : files_) {
        struct stat st = {};
        auto source = OpenSource(file.path, st);
        if (!source) continue;
        Result& result = file.result.emplace();
        result.stamp = Machine::StampOf(st);
        try {
            result.hive = RegistryHive::Load(std::move(source));
        } catch (const RegistryParseError& error) {
            result.error = error;
        }
    }
}

std::optional<RegistryPreload::Result> RegistryPreload::Take(const QString& prefix,
                                                             const QString& name)
{
    Wait();
    for (File& file : files_)
        if (prefix == prefix_ && name == file.name) return std::exchange(file.result, {});
    return std::nullopt;
}

// ---- registry -------------------------------------------------------------------------------

bool Machine::Unfold(HiveFile& file, RegNode& key)
{
    if (!key.Folded()) return true;
    const bool told = key.ChildrenUnreadable();
    try {
        file.hive->Unfold(key);
        return true;
    } catch (const RegistryParseError& error) {
        if (!told)
            ReportProblem(UnreadableRegistryText(prefix_, QFileInfo(file.path).fileName(), error,
                                                 QStringLiteral("Tolmar nie zmieni kluczy pod tym "
                                                                "kluczem i zapisze je tak, jak "
                                                                "są.")));
        return false;
    } catch (const RegistryOutOfOrder&) {
        // Met while a file read again has this run's changes made on it: read again whole.
        if (replaying_) throw OutOfOrderInReplay();
        QStringList problems;
        // The text on its way to the disk is the one read whole.
        if (file.saving) {
            saver_->WaitIdle();
            EndSaves(problems);
        }
        const bool read = ReadAgain(file, problems, true, true);
        for (const QString& problem : problems)
            ReportProblem(problem);
        if (read) throw Reloaded();
        return false;
    }
}

std::optional<Machine::Target> Machine::Resolve(HKEY root, const QString& path, bool create,
                                                bool listed)
{
    try {
        return ResolveOnce(root, path, create, listed);
    } catch (const Reloaded&) {
        // Read whole, the file has no folded keys left to find out of order.
        return ResolveOnce(root, path, create, listed);
    }
}

std::optional<Machine::Target> Machine::ResolveOnce(HKEY root, const QString& path, bool create,
                                                    bool listed)
{
    QStringList parts = SplitKeyPath(path);
    switch (root) {
    case HKEY_CURRENT_USER:
        return Walk({&user_, &user_.hive->Root()}, parts, create, 0, listed);
    case HKEY_LOCAL_MACHINE:
        return Walk({&system_, &system_.hive->Root()}, parts, create, 0, listed);
    case HKEY_CLASSES_ROOT:
        return Walk({&system_, &system_.hive->Root()},
                    QStringList{QStringLiteral("Software"), QStringLiteral("Classes")} + parts,
                    create, 0, listed);
    case HKEY_CURRENT_CONFIG:
        return Walk({&system_, &system_.hive->Root()},
                    QStringList{QStringLiteral("System"), QStringLiteral("CurrentControlSet"),
                                QStringLiteral("Hardware Profiles"), QStringLiteral("Current")} +
                        parts,
                    create, 0, listed);
    case HKEY_USERS: {
        if (parts.isEmpty()) return Target{};
        const QString user = parts.takeFirst();
        if (CompareRegNames(user, QStringLiteral(".Default")) == 0)
            return Walk({&userdef_, &userdef_.hive->Root()}, parts, create, 0, listed);
        if (CompareRegNames(user, userSid_) == 0)
            return Walk({&user_, &user_.hive->Root()}, parts, create, 0, listed);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<Machine::Target> Machine::Walk(Target at, const QStringList& parts, bool create,
                                             int depth, bool listed)
{
    for (const QString& part : parts) {
        if (!Unfold(*at.file, *at.node)) return std::nullopt;
        RegNode* child = at.node->Child(part);
        if (!child) {
            if (!create) return std::nullopt;
            child = at.node->AddChild(part, FileTimeNow());
            MarkDirty(*at.file);
        }
        at.node = child;
        if (child->IsLink()) {
            const auto target = FollowLink(at, create, depth + 1);
            if (!target) return std::nullopt;
            at = *target;
        }
    }
    if (listed && at.node && !Unfold(*at.file, *at.node)) return std::nullopt;
    return at;
}

std::optional<Machine::Target> Machine::FollowLink(Target link, bool create, int depth)
{
    if (depth > kMaxLinkDepth || !Open(*link.file, *link.node)) return std::nullopt;
    const RegNodeValue* value = link.node->Value(QStringLiteral("SymbolicLinkValue"));
    if (!value || value->type != kRegLink) return std::nullopt;
    const QString target = QString::fromUtf16(
        reinterpret_cast<const char16_t*>(value->data.constData()), value->data.size() / 2);
    QStringList parts = SplitKeyPath(target);
    if (parts.size() < 2 || CompareRegNames(parts[0], QStringLiteral("Registry")) != 0)
        return std::nullopt;
    parts.removeFirst();
    const QString hive = parts.takeFirst();
    Target at;
    if (CompareRegNames(hive, QStringLiteral("Machine")) == 0) {
        at = {&system_, &system_.hive->Root()};
    } else if (CompareRegNames(hive, QStringLiteral("User")) == 0 && !parts.isEmpty()) {
        const QString user = parts.takeFirst();
        if (CompareRegNames(user, QStringLiteral(".Default")) == 0)
            at = {&userdef_, &userdef_.hive->Root()};
        else if (CompareRegNames(user, userSid_) == 0)
            at = {&user_, &user_.hive->Root()};
        else
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return Walk(at, parts, create, depth, false);
}

bool Machine::RegOpenKey(HKEY root, const QString& path)
{
    return Resolve(root, path, false).has_value();
}

bool Machine::RegCreateKey(HKEY root, const QString& path)
{
    RecordKeysMade(root, path);
    const auto target = Resolve(root, path, true);
    return target && target->node;
}

std::optional<RegValue> Machine::RegQueryValue(HKEY root, const QString& path, const QString& name)
{
    const auto target = Resolve(root, path, false);
    if (!target || !target->node || !Open(*target->file, *target->node)) return std::nullopt;
    const RegNodeValue* value = target->node->Value(name);
    if (!value) return std::nullopt;
    return RegValue{value->type, value->data};
}

bool Machine::RegSetValue(HKEY root, const QString& path, const QString& name,
                          const RegValue& value)
{
    const auto target = Resolve(root, path, false);
    if (!target || !target->node || !Open(*target->file, *target->node)) return false;
    // As Wine's server, the same type and data again is no change: the key keeps its stamp and
    // the file is not written.
    const RegNodeValue* current = target->node->Value(name);
    if (current && current->type == value.type && current->data.View() == value.data) return true;
    RecordValue(root, path, name, current, JournalData{value.type, value.data});
    target->node->SetValue(name, value.type, value.data);
    target->node->Touch(FileTimeNow());
    MarkDirty(*target->file);
    return true;
}

bool Machine::RegDeleteValue(HKEY root, const QString& path, const QString& name)
{
    const auto target = Resolve(root, path, false);
    if (!target || !target->node || !Open(*target->file, *target->node)) return false;
    const RegNodeValue* current = target->node->Value(name);
    if (!current) return false;
    RecordValue(root, path, name, current, std::nullopt);
    target->node->RemoveValue(name);
    target->node->Touch(FileTimeNow());
    MarkDirty(*target->file);
    return true;
}

bool Machine::RegDeleteKey(HKEY root, const QString& path)
{
    QStringList parts = SplitKeyPath(path);
    if (parts.isEmpty()) return false;
    const QString last = parts.takeLast();
    const auto parent = Resolve(root, parts.join(u'\\'), false, true);
    if (!parent || !parent->node) return false;
    RegNode* key = parent->node->Child(last);
    if (!key || key->HasChildren() || !Open(*parent->file, *parent->node) ||
        !Open(*parent->file, *key))
        return false;
    // Its values first, so that taking the deletion back gives them back too.
    for (const RegNodeValue& value : key->Values())
        RecordValue(root, path, value.name, &value, std::nullopt);
    RecordKey(root, path, JournalData(), std::nullopt);
    parent->node->RemoveChild(last);
    parent->node->Touch(FileTimeNow());
    MarkDirty(*parent->file);
    return true;
}

std::optional<QStringList> Machine::RegEnumKeys(HKEY root, const QString& path)
{
    const auto target = Resolve(root, path, false, true);
    if (!target) return std::nullopt;
    if (!target->node) return QStringList{QStringLiteral(".Default"), userSid_};
    QStringList names;
    for (const auto& child : target->node->Children())
        names << child->Name();
    return names;
}

std::optional<QStringList> Machine::RegEnumValues(HKEY root, const QString& path)
{
    const auto target = Resolve(root, path, false);
    if (!target) return std::nullopt;
    QStringList names;
    if (target->node && !Open(*target->file, *target->node)) return std::nullopt;
    if (target->node)
        for (const auto& value : target->node->Values())
            names << QString(value.name);
    return names;
}

// ---- profile files --------------------------------------------------------------------------

const ProfileIndex* Machine::ProfileOf(const QString& file)
{
    struct stat st = {};
    const auto cached = profiles_.find(file);
    if (cached != profiles_.end()) {
        // Resolving the path again would cost more than the lookup; the file it led to is
        // asked only whether it changed, as Windows' profile functions ask.
        if (::stat(cached->second.host.constData(), &st) == 0 &&
            StampOf(st) == cached->second.stamp)
            return &cached->second.index;
        profiles_.erase(cached);
    }
    const QString host = paths_.ToHost(file);
    QFile f(host);
    if (host.isEmpty() || !f.open(QIODevice::ReadOnly) || ::fstat(f.handle(), &st) != 0)
        return nullptr;
    // Stamped before the bytes are read: a change made meanwhile shows at the next lookup.
    const FileStamp stamp = StampOf(st);
    return &profiles_
                .insert_or_assign(file,
                                  ParsedProfile{Native(host), stamp, ProfileIndex(f.readAll())})
                .first->second.index;
}

std::optional<QString> Machine::ProfileRead(const QString& file, const QString& section,
                                            const QString& key)
{
    const ProfileIndex* index = ProfileOf(file);
    if (!index) return std::nullopt;
    return index->Lookup(section, key);
}

void Machine::ProfileFlush(const QString& file) { profiles_.erase(file); }

bool Machine::ProfileWrite(const QString& file, const QString& section, const QString& key,
                           const QString& value)
{
    JournalChange change = ProfileChange(file, section, key);
    profiles_.erase(file);
    return EditProfile(
        file, [&](const QByteArray& bytes) { return ProfileUpdate(bytes, section, key, value); },
        std::move(change));
}

JournalChange Machine::ProfileChange(const QString& file, const QString& section,
                                     const QString& key)
{
    JournalChange change;
    change.kind = JournalChange::Kind::Profile;
    change.path = file;
    change.section = section;
    change.name = key;
    if (const auto before = ProfileRead(file, section, key))
        change.before = JournalData{0, before->toUtf8()};
    return change;
}

bool Machine::ProfileDelete(const QString& file, const QString& section, const QString& key)
{
    JournalChange change = ProfileChange(file, section, key);
    profiles_.erase(file);
    // Nothing to remove is no failure, even where the file may not be written.
    QFile f(paths_.ToHost(file));
    if (!f.open(QIODevice::ReadOnly)) return true;
    const QByteArray bytes = f.readAll();
    if (ProfileRemove(bytes, section, key) == bytes) return true;
    return EditProfile(
        file,
        [&](const QByteArray& bytes) {
            return std::optional<QByteArray>(ProfileRemove(bytes, section, key));
        },
        std::move(change));
}

bool Machine::EditProfile(const QString& file,
                          const std::function<std::optional<QByteArray>(const QByteArray&)>& edit,
                          JournalChange change)
{
    const QString host = paths_.ToHost(file);
    if (host.isEmpty()) return false;
    struct stat st = {};
    QByteArray bytes;
    const bool exists = ::stat(Native(host).constData(), &st) == 0;
    if (exists) {
        // Read-only holds even for root, as it does on Windows.
        if (!(st.st_mode & 0222) || S_ISDIR(st.st_mode)) return false;
        QFile f(host);
        if (!f.open(QIODevice::ReadOnly)) return false;
        bytes = f.readAll();
    } else if (!QFileInfo(QFileInfo(host).absolutePath()).isDir()) {
        return false;
    }
    const auto updated = edit(bytes);
    if (!updated) return false;
    // An edit that leaves the bytes as they are keeps the file, its time and the disk idle.
    if (exists && *updated == bytes) return true;
    // As the profile functions will read it back, quotes and blanks taken off.
    change.after.reset();
    if (const auto after = ProfileLookup(*updated, change.section, change.name))
        change.after = JournalData{0, after->toUtf8()};
    Record(std::move(change));
    return WriteFileAtomically(host, updated->constData(), updated->size());
}

// ---- files ----------------------------------------------------------------------------------

QString Machine::WindowsDirectory()
{
    const QString driveC = paths_.DriveRoot(u'c');
    return QStringLiteral("C:\\") + (driveC.isEmpty()
                                         ? QStringLiteral("windows")
                                         : MatchName(driveC, QStringLiteral("windows")));
}

QString Machine::SystemDirectory()
{
    const QString windows = WindowsDirectory();
    const QString host = paths_.ToHost(windows);
    const QString system32 = MatchName(host, QStringLiteral("system32"));
    if (QFileInfo(host + u'/' + system32).isDir()) return windows + u'\\' + system32;
    return windows + u'\\' + MatchName(host, QStringLiteral("system"));
}

int Machine::GetFileAttributes(const QString& path)
{
    const QString host = paths_.ToHost(path);
    struct stat st = {};
    if (host.isEmpty() || ::stat(Native(host).constData(), &st) != 0) return -1;
    int attributes = S_ISDIR(st.st_mode) ? faDirectory : faArchive;
    if (!(st.st_mode & 0222)) attributes |= faReadOnly;
    if (QFileInfo(host).fileName().startsWith(u'.')) attributes |= faHidden;
    return attributes | ReadDosAttrib(Native(host));
}

bool Machine::SetFileAttributes(const QString& path, int attributes)
{
    const QByteArray host = Native(paths_.ToHost(path));
    struct stat st = {};
    // A link keeps its attributes: changing them would change the file it names, which may lie
    // outside the machine.
    if (host.isEmpty() || ::lstat(host.constData(), &st) != 0 || S_ISLNK(st.st_mode)) return false;
    mode_t mode = st.st_mode & 07777;
    mode_t taken = 0;
    if (attributes & faReadOnly) {
        taken = mode & 0222 ? mode & 0222 : ReadWriteBits(host);
        mode &= ~0222;
    } else if (!(mode & 0222)) {
        // What read-only took, else Wine's rule for a file that came read-only.
        const mode_t given = ReadWriteBits(host);
        mode |= given ? given : (0200 | ((mode & 044) >> 1)) & ~CurrentUmask();
    }
    if (::chmod(host.constData(), mode) != 0) return false;
    WriteWriteBits(host, taken);
    WriteDosAttrib(host, attributes);
    return true;
}

QStringList Machine::ListDirectory(const QString& pattern, int attributeFilter)
{
    QString folder = pattern;
    folder.replace(u'/', u'\\');
    const qsizetype cut = folder.lastIndexOf(u'\\');
    const QString mask = folder.mid(cut + 1);
    folder = folder.left(cut + 1);
    const QString host = paths_.ToHost(folder);
    if (host.isEmpty() || !QFileInfo(host).isDir()) return {};
    QStringList names = QDir(host).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    names.prepend(QStringLiteral(".."));
    names.prepend(QStringLiteral("."));
    QStringList result;
    const int excluded = (faHidden | faSysFile | faDirectory) & ~attributeFilter;
    for (const QString& name : names) {
        if (!MatchesMask(name, mask)) continue;
        const int attributes = (name == QStringLiteral(".") || name == QStringLiteral(".."))
                                   ? faDirectory
                                   : GetFileAttributes(folder + name);
        if (attributes >= 0 && !(attributes & excluded)) result << name;
    }
    return result;
}

bool Machine::CopyFile(const QString& from, const QString& to, bool failIfExists)
{
    const QString source = paths_.ToHost(from);
    const QString target = paths_.ToHost(to);
    if (source.isEmpty() || target.isEmpty() || !QFileInfo(source).isFile()) return false;
    if (failIfExists && QFileInfo::exists(target)) return false;
    QFile copied(source);
    if (!copied.open(QIODevice::ReadOnly)) return false;
    FileChanging(target, copied.readAll());
    if (QFileInfo::exists(target) && !QFile::remove(target)) return false;
    return QFile::copy(source, target);
}

bool Machine::CreateDirectory(const QString& path)
{
    const QString host = paths_.ToHost(path);
    return !host.isEmpty() && QDir().mkdir(host);
}

// ---- shell ----------------------------------------------------------------------------------

qint64 Machine::Launch(const QString& program, const QStringList& arguments,
                       const QString& whenMissing, const QStringList& environment)
{
    if (options_.launch) {
        options_.launch(program, arguments, environment);
        return 0;
    }
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        ReportProblem(whenMissing);
        return 0;
    }
    QProcess process;
    process.setProgram(found);
    process.setArguments(arguments);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : environment)
        env.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    process.startDetached(&pid);
    return pid;
}

void Machine::ShellExecute(const QString& verb, const QString& target, int)
{
    const bool isUrl = target.contains(QStringLiteral("://")) ||
                       target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive);
    if (verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) == 0) {
        const QString missing =
            QStringLiteral("Nie można otworzyć „%1”: brak programu xdg-open, którym Tolmar otwiera "
                           "pliki i adresy. Zainstaluj pakiet xdg-utils (sudo apt-get install "
                           "xdg-utils).")
                .arg(target);
        if (isUrl) {
            Launch(QStringLiteral("xdg-open"), {target}, missing);
            return;
        }
        const QString host = paths_.ToHost(target);
        if (!host.isEmpty() && QFileInfo::exists(host))
            Launch(QStringLiteral("xdg-open"), {host}, missing);
    } else if (verb.compare(QStringLiteral("print"), Qt::CaseInsensitive) == 0 && !isUrl) {
        const QString host = paths_.ToHost(target);
        if (!host.isEmpty() && QFileInfo(host).isFile())
            Launch(QStringLiteral("lp"), {host},
                   QStringLiteral("Nie można wydrukować „%1”: brak polecenia lp, którym Tolmar "
                                  "drukuje. Zainstaluj klienta drukowania, który je dostarcza, "
                                  "na przykład pakiet cups-client (sudo apt-get install "
                                  "cups-client).")
                       .arg(target));
    }
}

void Machine::WinExec(const QString& commandLine, int)
{
    if (!IsWinePrefix()) {
        ReportProblem(QStringLiteral("Maszyna „%1” nie jest prefiksem Wine, więc nie uruchamia "
                                     "programów Windows: Wine zrobiłby z niej swój prefiks i "
                                     "zmienił jej pliki. Tolmar niczego nie uruchomił.")
                          .arg(prefix_));
        return;
    }
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    const QStringList arguments = QProcess::splitCommand(commandLine);
    if (wine.isEmpty() || arguments.isEmpty()) return;
    // Wine reads the registry as it starts and writes it back as it ends: everything of ours is
    // on disk first, and held until it has ended.
    Flush();
    winePid_ = Launch(wine, arguments, QString(), {QStringLiteral("WINEPREFIX=") + prefix_});
    if (!wineRunning_) {
        wineRunning_ = true;
        if (wineHandler_) wineHandler_(true);
    }
}

bool Machine::IsWinePrefix() const
{
    return QFileInfo(prefix_ + QStringLiteral("/dosdevices")).isDir();
}

void Machine::SetWineHandler(std::function<void(bool)> handler)
{
    wineHandler_ = std::move(handler);
}

void Machine::WatchWine()
{
    const bool started = winePid_ && ::kill(pid_t(winePid_), 0) == 0;
    const bool running = started || WineserverRunning(prefix_);
    if (running == wineRunning_) return;
    wineRunning_ = running;
    if (!running) winePid_ = 0;
    if (running) {
        if (wineHandler_) wineHandler_(true);
        return;
    }
    // What Wine wrote back stays, with this run's changes made again over it.
    QStringList problems;
    for (HiveFile* file : {&system_, &user_, &userdef_}) {
        if (file->saving || (StampOf(file->path) == file->stamp && file->hive->OriginIntact()))
            continue;
        file->hive->NotWritten();
        if (!ReadAgain(*file, problems, true)) {
            file->conflicted = true;
            problems << QStringLiteral(
                            "Wine zostawił plik rejestru „%1”, którego Tolmar nie umie "
                            "odczytać. Zmiany Tolmara są zapisywane w pliku „%1.tolmar”.")
                            .arg(file->path);
        }
    }
    StartSaves();
    if (wineHandler_) wineHandler_(false);
    for (const QString& problem : problems)
        ReportProblem(problem);
}

bool Machine::UndoLastRun(std::vector<QString>& leftAlone, qint64& undone)
{
    // This run's changes reach the journal first: the undo is a run of its own.
    Flush();
    std::vector<JournalRun> runs = Journal::Read(prefix_);
    std::erase_if(runs, [&](const JournalRun& run) { return run.number == journal_.Number(); });
    if (runs.empty()) return false;
    undone = runs.back().number;
    {
        const std::lock_guard lock(journalMutex_);
        journal_ = Journal(prefix_, undone);
    }
    leftAlone = UndoRun(*this, runs.back());
    Flush();
    return true;
}

void Machine::FileChanging(const QString& hostPath, const std::optional<QByteArray>& bytes)
{
    JournalChange change;
    change.kind = JournalChange::Kind::File;
    change.path = paths_.ToWindows(hostPath);
    QFile file(hostPath);
    if (file.open(QIODevice::ReadOnly)) change.before = JournalData{0, file.readAll()};
    if (bytes) change.after = JournalData{0, *bytes};
    if (change.before != change.after) Record(std::move(change));
}

std::uint64_t Machine::TotalPhysicalMemory()
{
    if (options_.totalMemory) return options_.totalMemory;
    return std::uint64_t(::sysconf(_SC_PHYS_PAGES)) * std::uint64_t(::sysconf(_SC_PAGESIZE));
}
