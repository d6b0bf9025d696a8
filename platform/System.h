#pragma once

#include "Platform.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The system the program works on for one run, or why it cannot be used (a text for the user
// that names the folder); nothing has been written when it cannot.
struct OpenedSystem
{
    std::unique_ptr<Platform> platform;
    QString error;
};

// Opens the emulated machine in the folder, made from the template on first use. A change that
// cannot be saved later is told to `reportSaveProblem` with a text for the user.
OpenedSystem OpenSystem(const QString& folder, const QString& templateDir,
                        std::function<void(const QString&)> reportSaveProblem);

// Wine's own twins of the Windows fonts the windows are laid out for ("MS Sans Serif"), where
// they are installed.
QStringList WindowsFontFiles();

// The machine the program works on when nothing else is named: $TOLMAR_MACHINE when set, else
// $XDG_DATA_HOME/tolmar/machine.
QString DefaultMachinePath();
