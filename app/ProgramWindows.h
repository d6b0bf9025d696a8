#pragma once

#include "kodKnow.h"
#include "kodKreatorAnimTapeta.h"
#include "kodMainForm.h"
#include "kodProgramy.h"
#include "kodfmAutor.h"
#include "kodfmSet.h"

// The program's windows, created hidden in this order at start: the main window (whose
// creation fills every page) and then the dialogs, which are only shown on demand. Closing
// the main window ends the program.
struct ProgramWindows
{
    TMainForm MainForm;
    TfmSet fmSet{&MainForm};
    TfmProgramy fmProgramy{&MainForm};
    TfmKreatorAnimTapeta fmKreatorAnimTapeta{&MainForm};
    TfmKnow fmKnow{&MainForm};
    TfmAutor fmAutor{&MainForm};
};
