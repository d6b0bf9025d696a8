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
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

// The whole file, with its stat when asked; false when it cannot be read. Plain system calls:
// this also runs on a thread where no QObject (as QFile) may be made.
bool ReadWhole(const QByteArray& path, QByteArray& bytes, struct stat* stamp = nullptr)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st = {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        bytes = QByteArray(qsizetype(st.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, std::size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR) continue;
            ok = n > 0;
            done += n > 0 ? n : 0;
        }
    }
    ::close(fd);
    if (!ok) bytes = QByteArray();
    if (ok && stamp) *stamp = st;
    return ok;
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

QString UnreadableRegistryText(const QString& prefix, const QString& name,
                               const RegistryParseError& error)
{
    return QStringLiteral("Plik rejestru %1 maszyny „%2” jest uszkodzony: wiersz %3: %4.\n\n"
                          "Tolmar nie otworzy tej maszyny, bo przy zapisie straciłby to, czego "
                          "nie umie odczytać. Popraw lub usuń ten wiersz i uruchom program "
                          "ponownie.")
        .arg(name, prefix, QString::number(error.Line()), error.Reason());
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
    bool ok = WriteAll(fd, data, size) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    const bool written = ok;
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
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
      lock_(prefix_)
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
}

Machine::~Machine() { Flush(); }

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
    if (ahead && ahead->stamp == StampOf(file.path)) {
        if (ahead->error) throw MachineError(UnreadableRegistryText(prefix_, name, *ahead->error));
        file.hive = std::move(ahead->hive);
        file.stamp = ahead->stamp;
        return;
    }
    QFile f(file.path);
    if (!f.exists()) {
        file.hive = std::make_unique<RegistryHive>(relativeTo);
        return;
    }
    struct stat st = {};
    if (!f.open(QIODevice::ReadOnly) || ::fstat(f.handle(), &st) != 0)
        throw MachineError(QStringLiteral("Nie można odczytać rejestru maszyny „%1” (plik %2).")
                               .arg(prefix_, name));
    const QByteArray text = f.readAll();
    try {
        file.hive = RegistryHive::Parse(text);
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
            if (!savesHeld_) Flush();
        },
        Qt::QueuedConnection);
}

void Machine::HoldSaves(bool hold)
{
    savesHeld_ = hold;
    if (!hold && (system_.dirty || user_.dirty || userdef_.dirty)) PostFlush();
}

void Machine::Flush()
{
    flushPosted_ = false;
    // A report may wait for a click while the program is killed: every file is written first.
    QStringList problems;
    for (HiveFile* file : {&system_, &user_, &userdef_})
        if (file->dirty) Save(*file, problems);
    for (const QString& problem : problems)
        ReportProblem(problem);
}

void Machine::Save(HiveFile& file, QStringList& problems)
{
    if (!file.conflicted && !(StampOf(file.path) == file.stamp)) {
        file.conflicted = true;
        problems << QStringLiteral(
                        "Plik rejestru „%1” został zmieniony przez inny program w czasie "
                        "pracy Tolmara i nie zostanie nadpisany. Zmiany Tolmara są "
                        "zapisywane w pliku „%1.tolmar”.")
                        .arg(file.path);
    }
    const QString target = file.conflicted ? file.path + QStringLiteral(".tolmar") : file.path;
    // The text written last is read back instead of being held for the whole run; the hive
    // copies unchanged keys from it only when it is still exactly that text.
    QByteArray last;
    if (file.hive->Written()) ReadWhole(Native(target), last);
    const std::string text = file.hive->Text(std::string_view(last.constData(), last.size()));
    last = QByteArray();
    if (!WriteFileAtomically(target, text.data(), text.size())) {
        problems << QStringLiteral("Nie można zapisać pliku rejestru „%1”.").arg(target);
        return;
    }
    file.dirty = false;
    if (!file.conflicted) file.stamp = StampOf(file.path);
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
        QByteArray text;
        struct stat st = {};
        if (!ReadWhole(file.path, text, &st)) continue;
        Result& result = file.result.emplace();
        result.stamp = Machine::StampOf(st);
        try {
            result.hive = RegistryHive::Parse(text);
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

std::optional<Machine::Target> Machine::Resolve(HKEY root, const QString& path, bool create)
{
    QStringList parts = SplitKeyPath(path);
    switch (root) {
    case HKEY_CURRENT_USER:
        return Walk({&user_, &user_.hive->Root()}, parts, create, 0);
    case HKEY_LOCAL_MACHINE:
        return Walk({&system_, &system_.hive->Root()}, parts, create, 0);
    case HKEY_CLASSES_ROOT:
        return Walk({&system_, &system_.hive->Root()},
                    QStringList{QStringLiteral("Software"), QStringLiteral("Classes")} + parts,
                    create, 0);
    case HKEY_CURRENT_CONFIG:
        return Walk({&system_, &system_.hive->Root()},
                    QStringList{QStringLiteral("System"), QStringLiteral("CurrentControlSet"),
                                QStringLiteral("Hardware Profiles"), QStringLiteral("Current")} +
                        parts,
                    create, 0);
    case HKEY_USERS: {
        if (parts.isEmpty()) return Target{};
        const QString user = parts.takeFirst();
        if (CompareRegNames(user, QStringLiteral(".Default")) == 0)
            return Walk({&userdef_, &userdef_.hive->Root()}, parts, create, 0);
        if (CompareRegNames(user, userSid_) == 0)
            return Walk({&user_, &user_.hive->Root()}, parts, create, 0);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<Machine::Target> Machine::Walk(Target at, const QStringList& parts, bool create,
                                             int depth)
{
    for (const QString& part : parts) {
        RegNode* child = at.node->Child(part);
        if (!child) {
            if (!create) return std::nullopt;
            child = at.node->AddChild(part, FileTimeNow());
            MarkDirty(*at.file);
        }
        at.node = child;
        if (child->IsLink()) {
            const auto target = FollowLink(*child, create, depth + 1);
            if (!target) return std::nullopt;
            at = *target;
        }
    }
    return at;
}

std::optional<Machine::Target> Machine::FollowLink(const RegNode& link, bool create, int depth)
{
    if (depth > kMaxLinkDepth) return std::nullopt;
    const RegNodeValue* value = link.Value(QStringLiteral("SymbolicLinkValue"));
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
    return Walk(at, parts, create, depth);
}

bool Machine::RegOpenKey(HKEY root, const QString& path)
{
    return Resolve(root, path, false).has_value();
}

bool Machine::RegCreateKey(HKEY root, const QString& path)
{
    const auto target = Resolve(root, path, true);
    return target && target->node;
}

std::optional<RegValue> Machine::RegQueryValue(HKEY root, const QString& path, const QString& name)
{
    const auto target = Resolve(root, path, false);
    if (!target || !target->node) return std::nullopt;
    const RegNodeValue* value = target->node->Value(name);
    if (!value) return std::nullopt;
    return RegValue{value->type, value->data};
}

bool Machine::RegSetValue(HKEY root, const QString& path, const QString& name,
                          const RegValue& value)
{
    const auto target = Resolve(root, path, false);
    if (!target || !target->node) return false;
    // As Wine's server, the same type and data again is no change: the key keeps its stamp and
    // the file is not written.
    const RegNodeValue* current = target->node->Value(name);
    if (current && current->type == value.type && current->data.View() == value.data) return true;
    target->node->SetValue(name, value.type, value.data);
    target->node->Touch(FileTimeNow());
    MarkDirty(*target->file);
    return true;
}

bool Machine::RegDeleteValue(HKEY root, const QString& path, const QString& name)
{
    const auto target = Resolve(root, path, false);
    if (!target || !target->node || !target->node->RemoveValue(name)) return false;
    target->node->Touch(FileTimeNow());
    MarkDirty(*target->file);
    return true;
}

bool Machine::RegDeleteKey(HKEY root, const QString& path)
{
    QStringList parts = SplitKeyPath(path);
    if (parts.isEmpty()) return false;
    const QString last = parts.takeLast();
    const auto parent = Resolve(root, parts.join(u'\\'), false);
    if (!parent || !parent->node) return false;
    const RegNode* key = parent->node->Child(last);
    if (!key || !key->Children().empty()) return false;
    parent->node->RemoveChild(last);
    parent->node->Touch(FileTimeNow());
    MarkDirty(*parent->file);
    return true;
}

std::optional<QStringList> Machine::RegEnumKeys(HKEY root, const QString& path)
{
    const auto target = Resolve(root, path, false);
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
    profiles_.erase(file);
    return EditProfile(
        file, [&](const QByteArray& bytes) { return ProfileUpdate(bytes, section, key, value); });
}

bool Machine::ProfileDelete(const QString& file, const QString& section, const QString& key)
{
    profiles_.erase(file);
    // Nothing to remove is no failure, even where the file may not be written.
    QFile f(paths_.ToHost(file));
    if (!f.open(QIODevice::ReadOnly)) return true;
    const QByteArray bytes = f.readAll();
    if (ProfileRemove(bytes, section, key) == bytes) return true;
    return EditProfile(file, [&](const QByteArray& bytes) {
        return std::optional<QByteArray>(ProfileRemove(bytes, section, key));
    });
}

bool Machine::EditProfile(const QString& file,
                          const std::function<std::optional<QByteArray>(const QByteArray&)>& edit)
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
    if (QFileInfo::exists(target)) {
        if (failIfExists || !QFile::remove(target)) return false;
    }
    return QFile::copy(source, target);
}

bool Machine::CreateDirectory(const QString& path)
{
    const QString host = paths_.ToHost(path);
    return !host.isEmpty() && QDir().mkdir(host);
}

// ---- shell ----------------------------------------------------------------------------------

void Machine::Launch(const QString& program, const QStringList& arguments,
                     const QString& whenMissing, const QStringList& environment)
{
    if (options_.launch) {
        options_.launch(program, arguments, environment);
        return;
    }
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        ReportProblem(whenMissing);
        return;
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
    process.startDetached();
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
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    const QStringList arguments = QProcess::splitCommand(commandLine);
    if (wine.isEmpty() || arguments.isEmpty()) return;
    Launch(wine, arguments, QString(), {QStringLiteral("WINEPREFIX=") + prefix_});
}

std::uint64_t Machine::TotalPhysicalMemory()
{
    if (options_.totalMemory) return options_.totalMemory;
    return std::uint64_t(::sysconf(_SC_PHYS_PAGES)) * std::uint64_t(::sysconf(_SC_PAGESIZE));
}
