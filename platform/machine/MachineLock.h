#pragma once

#include <QString>

// Holds a machine for one Tolmar: an advisory lock on a file in the machine's folder, released
// when the object goes (or the process dies).
class MachineLock
{
public:
    explicit MachineLock(const QString& prefix);
    ~MachineLock();
    MachineLock(const MachineLock&) = delete;
    MachineLock& operator=(const MachineLock&) = delete;

    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// True when a wineserver runs for this prefix: it holds a lock on byte 0 of the lock file in
// its server folder, which is named after the prefix folder's device and inode.
bool WineserverRunning(const QString& prefix);
