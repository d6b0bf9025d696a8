#include "ProgramDir.h"

#include "DosPaths.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
QString overridden;
}

QString ProgramDir()
{
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

void SetProgramDir(const QString& folder) { overridden = folder; }

QString ProgramFile(const QString& name)
{
    QString path = ProgramDir();
    for (const QString& part :
         name.split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts))
        path += u'/' + MatchName(path, part);
    return path;
}
