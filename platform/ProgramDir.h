#pragma once

#include <QString>

// The folder of the running executable, without a trailing separator: the program's read-only
// data files live below it.
QString ProgramDir();
// Tests point the program at a data tree of their own.
void SetProgramDir(const QString& folder);

// The host path of a data file named as the program names it, such as "\data\gfx\bmp\Zegar.bmp":
// each part is matched ignoring case, as on the system the names come from.
QString ProgramFile(const QString& name);
