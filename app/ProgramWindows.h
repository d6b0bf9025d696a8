#pragma once

#include "kodKnow.h"
#include "kodMainForm.h"
#include "kodfmAutor.h"
#include "kodfmSet.h"

// The program's windows, created hidden in this order at start: the main window (whose
// creation fills the pages) and then the dialogs that live as long as it, which are only shown
// on demand. The uninstall list editor and the wallpaper wizard are made by their pages each
// time they are opened, so they show the system as it is then. Closing the main window ends
// the program.
struct ProgramWindows
{
    TMainForm MainForm;
    TfmSet fmSet{&MainForm};
    TfmKnow fmKnow{&MainForm};
    TfmAutor fmAutor{&MainForm};
};
