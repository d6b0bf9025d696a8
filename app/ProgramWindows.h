#pragma once

#include "kodMainForm.h"
#include "kodProgramy.h"
#include "kodfmSet.h"

// The windows made at start, hidden, in this order: the main window (whose creation fills the
// pages), the settings dialog, which reads the program's options, and the editor of installed
// programs, which makes the uninstall key when the machine has none. The other dialogs are made
// the first time they are opened, so that the start does not pay for windows the user may
// never open. Closing the main window ends the program.
struct ProgramWindows
{
    ProgramWindows() { MainForm.UseSettings(&fmSet); }

    TMainForm MainForm;
    TfmSet fmSet{&MainForm};
    TfmProgramy fmProgramy{&MainForm};
};
