#pragma once

// The change journal of a machine: everything Tolmar changes on it, with the data before and
// after, so that a run can be replayed over a registry someone else rewrote, undone, and
// exported.
//
// It lives in <prefix>/.tolmar/journal, a text file only ever appended to. One record a line,
// ended by LF; the fields of a line are separated by one tab:
//
//   run      <n> <started>                          a run's first line, before its first change
//   run      <n> <started> undo <m>                 the same for a run that took back run <m>
//   value    <time> <root> <key> <name> <before> <after>
//   key      <time> <root> <key> <before> <after>
//   profile  <time> <file> <section> <entry> <before> <after>
//   file     <time> <file> <before> <after>
//
// <n>, <m>: run numbers, from 1. <started>, <time>: milliseconds since 1970, UTC, in decimal.
// <root>: HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS or
// HKEY_CURRENT_CONFIG. <key>: the key's path under the root; <name>: the value's name, empty for
// the default value; <file>: the file's Windows path as Tolmar named it. These text fields are
// UTF-8 in which "%", control characters and DEL are written as %XX (upper-case hex), so that no
// field holds a tab or a line break.
// <before>, <after>: "-" when there was nothing, else <type>:<data>, the type in decimal and the
// data in lower-case hex: a registry value's type and data as the registry holds them, a
// profile entry's text in UTF-8 as the profile functions read it (type 0), a file's whole bytes
// (type 0), a key's presence (type 0, no data).
//
// The changes of a run follow its first line, in the order they were made; a later append of
// the same run adds lines without a new first line. A line without its LF (a write cut short by
// a crash) is skipped, and the next append ends it with a tab, which leaves its last field empty
// as no record's is; a line that cannot be read or of a kind not known here is skipped too.

#include "Platform.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct JournalData
{
    std::uint32_t type = 0;
    QByteArray bytes;
    bool operator==(const JournalData&) const = default;
};

struct JournalChange
{
    enum class Kind
    {
        Value,
        Key,
        Profile,
        File
    };
    Kind kind = Kind::Value;
    qint64 time = 0; // ms since 1970, UTC
    HKEY root = 0;   // Value, Key
    // Value, Key: the key's path under the root; Profile, File: the file's Windows path as Tolmar
    // named it.
    QString path;
    QString section; // Profile
    QString name;    // Value: the value's name (empty for the default value); Profile: the entry
    std::optional<JournalData> before, after; // nothing: did not exist, or deleted
    bool operator==(const JournalChange&) const = default;
};

struct JournalRun
{
    qint64 number = 0;
    qint64 started = 0;
    qint64 undoes = 0; // the run this one took back; 0 for a plain run
    std::vector<JournalChange> changes;
};

// The journal of one run of Tolmar on a machine. The machine is locked while Tolmar runs, so
// nobody else appends meanwhile.
class Journal
{
public:
    explicit Journal(QString prefix, qint64 undoes = 0);

    // Appends the changes durably (the run's first line before its first change): false, with
    // errno telling why, when they could not be written and synced. A run without changes leaves
    // no trace.
    bool Append(const std::vector<JournalChange>& changes);
    // This run's number; 0 until the first change is appended.
    qint64 Number() const { return number_; }

    // Every run recorded on the machine, oldest first; nothing when there is no journal. Reads
    // the file alone: the machine's registry is not opened.
    static std::vector<JournalRun> Read(const QString& prefix);
    static QString PathOf(const QString& prefix);

private:
    QString prefix_;
    qint64 undoes_;
    qint64 started_;
    qint64 number_ = 0;
    bool headerWritten_ = false;
};

// Takes a run back, newest change first: every value, key, profile entry and file it changed
// gets its data from before the run. One that holds something else than the run left there
// (someone changed it since) is left alone, and so is a key made by the run that is not empty
// now; their names, and those of things that could not be written, are returned, for the user.
// A thing already back as it was needs nothing. Files are written through the functions of
// Files.h on that system.
std::vector<QString> UndoRun(Platform& system, const JournalRun& run);

// Makes the changes again, in order, over what the system holds now (a registry that Wine
// rewrote from its own copy meanwhile, say). Where a thing holds neither the change's data
// before nor after, someone else changed it too: Tolmar's data wins, and its name is returned
// (once), as is that of a thing that could not be written.
std::vector<QString> ReplayRun(Platform& system, const std::vector<JournalChange>& changes);

// The name the user knows a changed thing by, such as
// "HKEY_CURRENT_USER\Control Panel\Desktop\MenuShowDelay" (a default value is "(Domyślna)"),
// "C:\WINDOWS\WIN.INI [Desktop] Wallpaper" or "C:\MSDOS.SYS".
QString ChangedThingName(const JournalChange& change);

// The run's registry changes (values and keys; profile entries and files are not registry) as a
// REGEDIT4 file for regedit to import: the net effect of the run, each value and key with what
// the run left last, in the order the run left it, written as regedit writes (CRLF, hex data
// wrapped with "\" continuations).
//
// Wine's regedit reads a file without a byte order mark as bytes of the ANSI code page of its
// process: key names, value names and quoted strings, and the data of hex(1), hex(2) and hex(7),
// which it widens from that code page. A file that starts with the UTF-16LE byte order mark it
// reads as UTF-16, with no code page, taking hex(1)/hex(2)/hex(7) data as the UTF-16LE units the
// registry holds (the header may still be REGEDIT4). Wine takes its ANSI code page from the
// locale it is started in, not from the prefix, so windows-1250 bytes, Polish Windows' own, come
// out as other letters in a Wine started under any but a Central European locale. So a run whose
// every text is ASCII is written in ASCII, which every code page and every regedit (Windows 98's
// too) reads alike, and a run with any other text (Polish letters in a key, a name or a string)
// as UTF-16LE with the byte order mark, which Wine's regedit imports exactly whatever its locale.
QByteArray RegeditExport(const JournalRun& run);
