#pragma once

#include "CommandLine.h"

#include <QString>

// What a command on the change journal prints, and the exit status it ends with.
struct ConsoleAnswer
{
    int status = 0;
    QString out;   // for standard output
    QString error; // for standard error
};

// `--list-runs` and `--export-changes FILE [--run N]`, answered from the change journal of the
// machine the command line chooses, as a run would choose it. The machine is not opened, so they
// need no display and serve while Tolmar or Wine holds it. A run that does not exist or a file
// that cannot be written is told in Polish with exit status 1. `--undo` opens the machine as a
// start does (and is refused where a start would be), with no display either.
ConsoleAnswer AnswerFromJournal(const CommandLine& command);
