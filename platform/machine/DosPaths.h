#pragma once

#include <QString>

// Windows paths on a Wine prefix's drives, resolved as Wine resolves them.
class DosPaths
{
public:
    explicit DosPaths(QString prefix) : prefix_(std::move(prefix)) {}

    // The host folder behind a drive letter: dosdevices/<letter>: when that exists, else drive_c
    // for C: and the host's root for Z:; empty when the drive is not there.
    QString DriveRoot(QChar letter) const;

    // The host path of a Windows path such as "C:\WINDOWS\System.ini": each component matched
    // case-insensitively (an exact match first); components that do not exist keep the case
    // they were given. A path without a drive is taken on C:. Empty when the drive is missing.
    QString ToHost(const QString& windowsPath) const;

    // The Windows path of a host path: on the drive whose folder holds it, else on Z:.
    QString ToWindows(const QString& hostPath) const;

private:
    QString prefix_;
};

// A name of a folder that matches a Windows name (exact match first, then ignoring case).
QString MatchName(const QString& folder, const QString& name);

// Windows wildcard matching of a name against a mask with * and ?, ignoring case.
bool MatchesMask(const QString& name, const QString& mask);
