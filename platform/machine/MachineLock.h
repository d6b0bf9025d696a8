#pragma once

#include <QString>

// Holds a machine for one Tolmar: an advisory lock on a file in the machine's folder, released
// when the object goes (or the process dies). The object's end removes the file; a crash leaves
// it, and the next start takes it over.
class MachineLock
{
public:
    enum class State
    {
        Held,
        Busy,   // another Tolmar holds it
        Failed, // the lock file cannot be made or opened: see Error()
    };

    explicit MachineLock(const QString& prefix);
    ~MachineLock();
    MachineLock(const MachineLock&) = delete;
    MachineLock& operator=(const MachineLock&) = delete;

    State Status() const { return state_; }
    // The errno of a failed lock.
    int Error() const { return error_; }
    const QString& Path() const { return path_; }
    // Lets the machine go and removes the lock file when this lock made it, so that a start
    // that is refused leaves the folder as it was.
    void Abandon();

private:
    QString path_;
    int fd_ = -1;
    State state_ = State::Failed;
    int error_ = 0;
    bool created_ = false;
};

// True when a wineserver runs for this prefix: it holds a lock on byte 0 of the lock file in
// its server folder, which is named after the prefix folder's device and inode.
bool WineserverRunning(const QString& prefix);
