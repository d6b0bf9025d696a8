#pragma once

#include "DosPaths.h"
#include "Errors.h"
#include "Journal.h"
#include "MachineLock.h"
#include "Platform.h"
#include "ProfileText.h"
#include "WineRegistry.h"

#include <QObject>
#include <array>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>
#include <thread>

class SaveThread;

// Raised when a machine cannot be used; the text is for the user.
class MachineError : public SystemError
{
public:
    using SystemError::SystemError;
};

// What tells a file changed on disk; empty when there is no file.
struct FileStamp
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    qint64 modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The registry files of a machine loaded on a thread of their own from the moment this is made,
// so that the work overlaps what the program does meanwhile (connecting to the display), though
// a load reads little more than a file's header.
// The thread makes no QObject and touches nothing of Qt's GUI: Qt's main thread stays the one
// that made the preload.
class RegistryPreload
{
public:
    explicit RegistryPreload(const QString& prefix);
    ~RegistryPreload();
    RegistryPreload(const RegistryPreload&) = delete;
    RegistryPreload& operator=(const RegistryPreload&) = delete;

    struct Result
    {
        FileStamp stamp; // of the file as it was read
        std::unique_ptr<RegistryHive> hive;
        std::optional<RegistryParseError> error; // a line that cannot be read, instead of a hive
    };
    // Waits until every file is read.
    void Wait();
    // What was read from the prefix's file of that name, handed over once; nothing for another
    // prefix or a file that was missing or could not be read.
    std::optional<Result> Take(const QString& prefix, const QString& name);

private:
    struct File
    {
        QString name;
        QByteArray path;
        std::optional<Result> result;
    };
    void Run();

    QString prefix_;
    std::array<File, 3> files_;
    std::thread thread_;
};

// An emulated Windows machine: a folder laid out as a Wine prefix. The registry lives in memory
// while the machine is open; changed files are written on a thread of their own once the current
// event has been handled (a burst of changes is one save), and the machine waits for them when it
// is flushed or closes; each is written to a temporary file that is renamed over the old.
class Machine : public Platform
{
public:
    struct Options
    {
        // Starts a program; the default starts it detached.
        std::function<void(const QString& program, const QStringList& arguments,
                           const QStringList& environment)>
            launch;
        // The physical memory reported; 0 asks the host.
        std::uint64_t totalMemory = 0;
        // Registry files read ahead; each is taken only when its file is unchanged since.
        RegistryPreload* preload = nullptr;
    };

    // Throws MachineError when the machine is held by another Tolmar, a wineserver runs on it,
    // its lock file cannot be made or its registry cannot be read; such a refusal leaves the
    // folder as it was.
    explicit Machine(const QString& prefix) : Machine(prefix, Options()) {}
    Machine(const QString& prefix, Options options);
    ~Machine() override;

    const QString& Prefix() const { return prefix_; }
    const DosPaths& Paths() const { return paths_; }

    // Writes every changed registry file now, waiting for saves on their way; problems go to the
    // problem handler once every file is written.
    void Flush();
    // While held, changes wait for a Flush or the release instead of being saved as soon as
    // the event loop runs.
    void HoldSaves(bool hold);
    // Told true while Wine runs on the machine and Tolmar holds its saves for it, false once
    // Wine has ended and the changes are saved.
    void SetWineHandler(std::function<void(bool running)> handler);
    // Whether the machine is a Wine prefix, which Windows programs can run on (Tolmar's own
    // machine is not: Wine would make it one).
    bool IsWinePrefix() const;
    // Takes back the last run's changes (this is then a run that undid it); what someone changed
    // since is left alone and named. Nothing, with false, when the journal holds no run.
    bool UndoLastRun(std::vector<QString>& leftAlone, qint64& undone);
    // What the machine meets on its own and the user must hear of (a save that failed, a program
    // of the desktop that is missing) goes to the handler, or to standard error without one.
    void SetProblemHandler(std::function<void(const QString&)> handler);

    bool RegOpenKey(HKEY root, const QString& path) override;
    bool RegCreateKey(HKEY root, const QString& path) override;
    std::optional<RegValue> RegQueryValue(HKEY root, const QString& path,
                                          const QString& name) override;
    bool RegSetValue(HKEY root, const QString& path, const QString& name,
                     const RegValue& value) override;
    bool RegDeleteValue(HKEY root, const QString& path, const QString& name) override;
    bool RegDeleteKey(HKEY root, const QString& path) override;
    std::optional<QStringList> RegEnumKeys(HKEY root, const QString& path) override;
    std::optional<QStringList> RegEnumValues(HKEY root, const QString& path) override;

    std::optional<QString> ProfileRead(const QString& file, const QString& section,
                                       const QString& key) override;
    bool ProfileWrite(const QString& file, const QString& section, const QString& key,
                      const QString& value) override;
    bool ProfileDelete(const QString& file, const QString& section, const QString& key) override;
    void ProfileFlush(const QString& file) override;

    QString WindowsDirectory() override;
    QString SystemDirectory() override;
    int GetFileAttributes(const QString& path) override;
    bool SetFileAttributes(const QString& path, int attributes) override;
    QStringList ListDirectory(const QString& pattern, int attributeFilter) override;
    bool CopyFile(const QString& from, const QString& to, bool failIfExists) override;
    bool CreateDirectory(const QString& path) override;
    QString HostPath(const QString& windowsPath) override { return paths_.ToHost(windowsPath); }
    QString SystemPathOf(const QString& hostPath) override { return paths_.ToWindows(hostPath); }
    void FileChanging(const QString& hostPath, const std::optional<QByteArray>& bytes) override;

    void ShellExecute(const QString& verb, const QString& target, int showCommand) override;
    void WinExec(const QString& commandLine, int showCommand) override;
    std::uint64_t TotalPhysicalMemory() override;

    static FileStamp StampOf(const QString& path);
    static FileStamp StampOf(const struct stat& st);

private:
    friend class SaveThread;
    struct HiveFile
    {
        QString path;
        std::unique_ptr<RegistryHive> hive;
        FileStamp stamp;
        bool dirty = false;
        bool saving = false;     // a text of it is on its way to the disk
        bool conflicted = false; // changed on disk by someone else: ours go beside it
        bool readWhole = false;  // found out of Wine's order while saving: read whole after
    };
    struct Target
    {
        HiveFile* file = nullptr;
        RegNode* node = nullptr; // null with a file of null: HKEY_USERS itself
    };

    void LoadHive(HiveFile& file, const QString& name, const QString& relativeTo);
    // The key of a path, made when `create`; with `listed`, its children made too.
    std::optional<Target> Resolve(HKEY root, const QString& path, bool create, bool listed = false);
    std::optional<Target> ResolveOnce(HKEY root, const QString& path, bool create, bool listed);
    std::optional<Target> Walk(Target at, const QStringList& parts, bool create, int depth,
                               bool listed);
    std::optional<Target> FollowLink(Target link, bool create, int depth);
    // Reads the key's values when they have not been read; false (told once) when they cannot.
    bool Open(HiveFile& file, RegNode& key);
    // Makes the key's children when they have not been made; false (told once) when their lines
    // cannot be read. A file whose keys are found out of Wine's order is read whole, with this
    // run's changes made again on it, and Reloaded is thrown: every key is new. Met while those
    // changes are being made again (on a file someone else changed), OutOfOrderInReplay is
    // thrown for ReadAgain to start over reading whole.
    bool Unfold(HiveFile& file, RegNode& key);
    struct Reloaded
    {};
    struct OutOfOrderInReplay
    {};
    // Notes a change of this run: registry changes go to the journal with the next save, the
    // others at once, before they are made.
    void Record(JournalChange change);
    // A value's change (nothing before: it is new) and a key's (present: an empty JournalData).
    void RecordValue(HKEY root, const QString& path, const QString& name,
                     const RegNodeValue* before, std::optional<JournalData> after);
    void RecordKey(HKEY root, const QString& path, std::optional<JournalData> before,
                   std::optional<JournalData> after);
    // Notes the keys of a path that are missing now and that a create is about to make.
    void RecordKeysMade(HKEY root, const QString& path);
    // Reads a registry file someone else changed again and makes this run's registry changes
    // over it; false when it cannot be read.
    // Quiet: told only where both changed a value. Whole: read every line at once.
    bool ReadAgain(HiveFile& file, QStringList& problems, bool quiet, bool whole = false);
    // Looks, on a thread of its own, whether each file's keys are all in Wine's order; a file
    // that is not is read whole (ReadWhole) once its save is done.
    void CheckOrder();
    void ReadWhole(HiveFile& file, QStringList& problems);
    QString JournalFailureText(int error) const;
    // Looks whether Wine runs on the machine, holding or releasing the saves.
    void WatchWine();
    void MarkDirty(HiveFile& file);
    void PostFlush();
    // Hands every changed file that is not on its way already to the save thread; while Wine
    // runs, only when asked to even then.
    void StartSaves(bool evenForWine = false);
    // Takes in the saves that have ended; their problems go to the list.
    void EndSaves(QStringList& problems);
    void ReportProblem(const QString& text);
    // Rewrites a profile file (or makes it) with what the edit returns; false when the file may
    // not be written or the edit refuses.
    bool EditProfile(const QString& file,
                     const std::function<std::optional<QByteArray>(const QByteArray&)>& edit,
                     JournalChange change);
    // A change of a profile entry, with what it holds now.
    JournalChange ProfileChange(const QString& file, const QString& section, const QString& key);
    // Starts a program of the host found on PATH, giving its process id (0 when unknown); where
    // it is missing, the user is told `whenMissing`.
    qint64 Launch(const QString& program, const QStringList& arguments, const QString& whenMissing,
                  const QStringList& environment = {});
    // Removes the temporary files that saves cut short by a kill left in the folders Tolmar
    // writes to.
    void RemoveInterruptedSaves();
    // The parsed profile file behind a path as given, while that file is unchanged.
    const ProfileIndex* ProfileOf(const QString& file);

    QString prefix_;
    Options options_;
    DosPaths paths_;
    MachineLock lock_;
    HiveFile system_, user_, userdef_;
    QString userSid_;
    std::unique_ptr<SaveThread> saver_;
    std::thread orderCheck_;
    std::atomic<bool> stopChecking_{false};
    bool checkOrderLater_ = false; // when the saves are released
    Journal journal_;
    std::mutex journalMutex_;                // the save thread appends too
    std::vector<JournalChange> run_;         // every change of this run
    std::vector<JournalChange> unjournaled_; // registry changes the next save appends first
    bool replaying_ = false;
    bool journalFailureTold_ = false;
    bool wineRunning_ = false;
    qint64 winePid_ = 0; // the Wine program Tolmar started last
    std::function<void(bool)> wineHandler_;
    QObject flushContext_;
    bool flushPosted_ = false;
    bool savesHeld_ = false;
    std::function<void(const QString&)> problemHandler_;
    struct ParsedProfile
    {
        QByteArray host;
        FileStamp stamp;
        ProfileIndex index;
    };
    // Kept until the profile's user flushes it, so that reading a file entry by entry parses
    // it once.
    std::map<QString, ParsedProfile> profiles_;
};

// Makes the machine from the template when the folder does not exist yet.
void CreateMachineIfMissing(const QString& prefix, const QString& templateDir);
// What the user is told when a registry file has a line that cannot be read.
QString UnreadableRegistryText(const QString& prefix, const QString& name,
                               const RegistryParseError& error);
// What the user is told when the lock file cannot be made (errno in error): a read-only folder
// and a link in the lock file's place are named as such.
QString LockFailureText(const QString& prefix, const QString& lockFile, int error);
// Why a file could not be replaced: the errno, and whether it failed while the new bytes were
// written (else the new file could not be made, or put in the old one's place).
struct WriteFailure
{
    bool writing = false;
    int error = 0;
};
// Replaces a file's bytes so that a crash leaves the old or the new file, never a torn one;
// the file's mode and DOS attributes are kept, and the folder is synced so the rename lasts. A
// link in the file's place is replaced by the file, so nothing outside the machine is written.
// False when any step up to the rename fails (the old file stays), with the failure told.
bool WriteFileAtomically(const QString& path, const char* data, std::size_t size,
                         WriteFailure* failure = nullptr);
// The same with the bytes written by `fill` into the new file (false with errno when it cannot);
// with `kept`, the new file stays open there for reading.
bool WriteFileAtomically(const QString& path, const std::function<bool(int fd)>& fill,
                         WriteFailure* failure = nullptr, int* kept = nullptr);
