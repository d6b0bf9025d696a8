#include "ProgramDir.h"

#include "DosPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString overridden;
}

QString ProgramDir()
{
    if (!overridden.isEmpty()) return overridden;
    static const QString dir = ProgramDirOf(QCoreApplication::applicationDirPath());
    return dir;
}

QString ProgramDirOf(const QString& executableDir)
{
    const QString installed =
        QDir::cleanPath(executableDir + QStringLiteral("/" TOLMAR_INSTALLED_DATA_DIR));
    return QFileInfo(installed).isDir() ? installed : executableDir;
}

void SetProgramDir(const QString& folder) { overridden = folder; }

QString ProgramFile(const QString& name)
{
    QString path = ProgramDir();
    for (const QString& part : QString(name).replace(u'/', u'\\').split(u'\\', Qt::SkipEmptyParts))
        path += u'/' + MatchName(path, part);
    return path;
}
