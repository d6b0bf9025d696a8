#pragma once

#include "Bindings.h"

#include <QString>

// Registry keys that more than one page writes, spelled as the program writes them.
inline const QString kExplorerAdvanced =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
inline const QString kExplorerPolicies =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
inline const QString kSystemPolicies =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System");
inline const QString kNetworkPolicies =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network");
inline const QString kRunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
inline const QString kDesktopKey = QStringLiteral("Control Panel\\Desktop");

// A current user's Explorer policy box: REG_DWORD 1 when checked, 0 when not.
inline RegFlag ExplorerPolicy(const QString& name)
{
    return {.root = HKEY_CURRENT_USER, .key = kExplorerPolicies, .name = name};
}
