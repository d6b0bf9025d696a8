#pragma once

#include <QString>
#include <vector>

// What Tolmar recorded of its runs on a machine, read from the machine's change journal alone:
// the registry is neither opened nor locked, so this serves while Tolmar or Wine holds the
// machine, and needs no display.

struct RecordedRun
{
    qint64 number = 0;
    qint64 started = 0; // ms since 1970, UTC
    qint64 undoes = 0;  // the run it took back; 0 for a plain run
    qsizetype changes = 0;
};

// Oldest first; nothing where no change was ever recorded.
std::vector<RecordedRun> RecordedRuns(const QString& machineFolder);

struct RunExport
{
    qint64 number = 0; // the run written; 0 when the machine has no such run
    QString failure;   // the system's reason when the file could not be written
};

// Writes the registry changes of a run (the last one for 0) to a file of the host as a REGEDIT4
// file for regedit to import, whole or not at all; an existing read-only file is not replaced.
RunExport ExportRun(const QString& machineFolder, qint64 number, const QString& hostFile);

struct RunUndo
{
    qint64 undone = 0;              // the run taken back; 0 when there was none
    std::vector<QString> leftAlone; // what someone changed since, named for the user
    std::vector<QString> problems;  // what went wrong on the way (a file that was not saved)
    QString refusal;                // why the machine could not be opened, as a start says it
};

// Opens the machine as a start does and takes back its last run's changes, newest first; the
// undo is a run of its own in the journal, so it can be undone in turn.
RunUndo UndoLastRun(const QString& machineFolder);
