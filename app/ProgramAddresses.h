#pragma once

#include <QString>

// The program's own settings key under HKEY_CURRENT_USER.
inline const QString kSettingsKey = QStringLiteral("Software\\Tolmar\\Ustawienia");

// The product's addresses.
inline const QString kProductMail = QStringLiteral("tolmar@example.org");
inline const QString kProductSite = QStringLiteral("http://tolmar.example.org");
