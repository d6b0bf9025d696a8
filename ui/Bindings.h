#pragma once

#include "Platform.h"

#include <QString>
#include <optional>
#include <variant>

class QAbstractButton;
class QSpinBox;
class TRegistry;

// A control's setting, stated once as a constant row: where it lives, what each state writes
// and the rule by which start-up shows it. Two verbs use a row: Load, one step of the start-up
// reader, and Write, the body of the control's handler.

// When a stored number shows a box checked.
enum class Shown
{
    NotZero, // any number but 0
    Equal,   // exactly `match`
    Zero,    // 0 (an inverted box)
};

// A REG_DWORD.
struct RegFlag
{
    HKEY root;
    QString key;
    QString name;
    int checked = 1;
    int unchecked = 0;
    Shown rule = Shown::NotZero;
    int match = 0;
    // The handler opens the key allowing its creation; without it a missing key fails the write.
    bool create = true;
    // Start-up shows the box checked when the value does not exist (or its key is missing).
    bool missingChecks = false;
    // Start-up opens the key allowing its creation, so that the key exists after every start.
    bool readCreates = false;
};

// When a stored text shows a box checked.
enum class TextShown
{
    Equal,    // exactly `match`, letter case counting
    NotEqual, // anything but exactly `match`, a missing value (read as empty) included
    Boolean,  // a number other than 0, or "True" in any letter case
    Exists,   // the value exists, of any type
    Missing,  // the value does not exist, or its key is missing
};

// A text value (REG_SZ); a state without a text deletes the value.
struct RegText
{
    HKEY root;
    QString key;
    QString name;
    std::optional<QString> checked;
    std::optional<QString> unchecked;
    TextShown rule = TextShown::Equal;
    QString match = {};
    bool create = true;
};

// A profile file named by a path keyword ("win", "dysk", "sys") and a name such as "\System.ini".
struct ProfileFile
{
    QString keyword;
    QString name;
};

// A profile entry read as a boolean with a default, written as "1" or "0".
struct IniFlag
{
    ProfileFile file;
    QString section;
    QString key;
    bool byDefault;
    bool inverted = false; // checked writes "0", and an entry reading false shows checked
};

// A profile entry holding a whole number, with a default.
struct IniNumber
{
    ProfileFile file;
    QString section;
    QString key;
    int byDefault;
};

// The setting a plainly bound control stands for.
using Setting = std::variant<RegFlag, RegText, IniFlag, IniNumber>;

// What becomes of an error of a bound control's write: the general error report, or nothing,
// for the boxes whose handler gives up silently on a refused write (the box keeps the state
// the user gave it and no message interrupts).
enum class Errors
{
    Report,
    Quiet,
};

// A control bound plainly to one setting: a change writes it, start-up shows it.
struct Bound
{
    Setting setting;
    Errors errors = Errors::Report;
};

// Whether a stored value shows a control checked; nothing when it leaves the control as it was.
bool Shows(const RegFlag& row, int stored);
// The text rules only; whether a value exists is asked of the registry.
std::optional<bool> Shows(const RegText& row, const QString& stored);

// One guarded step of the start-up reader: set the row's root, close any key, open the key
// without creation, read, set the control, close. A missing key or value, a value of another
// type, or an error of the handler the setting ran leaves the control as it was, silently.
void Load(TRegistry& reg, const RegFlag& row, QAbstractButton* control);
void Load(TRegistry& reg, const RegText& row, QAbstractButton* control);
// Opens a key for reading as every registry step of the reader does: from its root, never
// making it.
void OpenForReading(TRegistry& reg, HKEY root, const QString& key);
// Profile reads never fail, so these steps are not guarded: an error of the handler the setting
// ran ends the reader.
void Load(const IniFlag& row, QAbstractButton* control);
void Load(const IniNumber& row, QSpinBox* control);

// A handler's body: writes what the state stands for. Errors are the access layer's own.
void Write(const RegFlag& row, bool checked);
void Write(const RegText& row, bool checked);
void Write(const IniFlag& row, bool checked);
void Write(const IniNumber& row, int value);

// A reader step of a bound control: a registry setting as its guarded step, a profile entry as
// part of the step that runs it.
void LoadBound(TRegistry& reg, const Setting& setting, QAbstractButton* control);
void LoadBound(TRegistry& reg, const Setting& setting, QSpinBox* control);
// A bound control's handler: writes the control's state with the binding's error policy.
void WriteBound(const Bound& bound, const QAbstractButton* control);
void WriteBound(const Bound& bound, const QSpinBox* control);

// The full path of a profile file.
QString PathOf(const ProfileFile& file);
