#pragma once

#include "kodMainForm.h"
#include "kodfmSet.h"

// The windows made at start, hidden, in this order: the main window (whose creation fills the
// pages) and the settings dialog, which reads the program's options. The other dialogs are
// made the first time they are opened, so that the start does not pay for windows the user may
// never open. Closing the main window ends the program.
struct ProgramWindows
{
    TMainForm MainForm;
    TfmSet fmSet{&MainForm};
};
