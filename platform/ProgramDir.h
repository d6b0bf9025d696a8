#pragma once

#include <QString>

// The folder of the program's read-only data files, without a trailing separator: the folder of
// the running executable in a build, where the data tree is copied beside it, and share/tolmar
// when installed (the executable in bin/).
QString ProgramDir();
// Which of the two layouts an executable in `executableDir` sits in decides the data folder.
QString ProgramDirOf(const QString& executableDir);
// Tests point the program at a data tree of their own.
void SetProgramDir(const QString& folder);

// The host path of a data file named as the program names it, such as "\data\gfx\bmp\Zegar.bmp":
// each part is matched ignoring case, as on the system the names come from.
QString ProgramFile(const QString& name);
