#pragma once

#include <QString>

// The program's version as it writes it to its settings at every start and prints it for
// --version.
inline const QString kVersion = QStringLiteral("Tolmar Quorvex");
inline const QString kShortVersion = QStringLiteral("Tolmar QX");
