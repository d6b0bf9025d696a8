#include "DosPaths.h"

#include <QDir>
#include <QFileInfo>

QString MatchName(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + u'/' + name)) return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return name;
}

bool MatchesMask(const QString& name, const QString& mask)
{
    // "*.*" matches names without a dot too, as on Windows.
    if (mask == QStringLiteral("*.*")) return true;
    // Backtracking over the last star only: linear for the masks a program uses.
    qsizetype n = 0, m = 0, starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == u'?' || mask[m].toLower() == name[n].toLower())) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

QString DosPaths::DriveRoot(QChar letter) const
{
    const QChar lower = letter.toLower();
    const QString link = prefix_ + QStringLiteral("/dosdevices/") + lower + u':';
    const QFileInfo info(link);
    if (info.exists()) return info.canonicalFilePath();
    if (lower == u'c') {
        const QString driveC = prefix_ + QStringLiteral("/drive_c");
        if (QFileInfo(driveC).isDir()) return QFileInfo(driveC).canonicalFilePath();
    }
    // Z: is the host's root, as Wine sets it up, so every host path has a Windows name.
    if (lower == u'z') return QStringLiteral("/");
    return {};
}

QString DosPaths::ToHost(const QString& windowsPath) const
{
    QString path = windowsPath;
    path.replace(u'/', u'\\');
    QChar drive = u'c';
    if (path.size() >= 2 && path[1] == u':' && path[0].isLetter()) {
        drive = path[0];
        path = path.mid(2);
    }
    QString host = DriveRoot(drive);
    if (host.isEmpty()) return {};
    const QString root = host;
    bool exists = true;
    for (const QString& part : path.split(u'\\', Qt::SkipEmptyParts)) {
        if (part == QStringLiteral(".")) continue;
        if (part == QStringLiteral("..")) {
            if (host.size() > root.size()) host = host.left(host.lastIndexOf(u'/'));
            continue;
        }
        const QString name = exists ? MatchName(host, part) : part;
        if (!host.endsWith(u'/')) host += u'/';
        host += name;
        exists = exists && QFileInfo::exists(host);
    }
    return host;
}

QString DosPaths::ToWindows(const QString& hostPath) const
{
    const QString absolute = QFileInfo(hostPath).absoluteFilePath();
    const QString canonical =
        QFileInfo::exists(absolute) ? QFileInfo(absolute).canonicalFilePath() : absolute;
    for (char16_t letter = u'c'; letter <= u'y'; ++letter) {
        const QString root = DriveRoot(QChar(letter));
        if (root.isEmpty() || root == QStringLiteral("/")) continue;
        if (canonical == root || canonical.startsWith(root + u'/')) {
            QString rest = canonical.mid(root.size());
            rest.replace(u'/', u'\\');
            return QChar(letter).toUpper() + QStringLiteral(":") +
                   (rest.isEmpty() ? QStringLiteral("\\") : rest);
        }
    }
    QString rest = canonical;
    rest.replace(u'/', u'\\');
    return QStringLiteral("Z:") + rest;
}
