#pragma once

#include "FakeClock.h"
#include "ProgramWindows.h"
#include "RefusingPlatform.h"
#include "ScriptedDialogs.h"
#include "TempMachine.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

// What start-up finds (nothing: the value is missing) and whether the control then shows
// checked. A control shown checked writes its checked value back, unless `writesBack` says it
// does not; one left unchecked writes nothing.
struct StartCase
{
    std::optional<RegValue> stored;
    bool shows;
    std::optional<bool> writesBack = {};
};

// A check box or radio button bound to one registry value: what checking and unchecking it
// write (a radio button: nothing, as a click leaves it selected), and what start-up shows for
// some stored values.
struct BoundBox
{
    const char* control;
    HKEY root;
    QString key;
    QString name;
    RegValue checked;
    std::optional<RegValue> unchecked;
    std::vector<StartCase> starts = {};
};
RegValue DwordValue(std::uint32_t value);
RegValue TextValue(const QString& text);
RegValue BinaryValue(const QByteArray& bytes);

// A page test: a machine built from a few lines, the program's windows created offscreen on it
// as at start (the main window's creation fills every page from the system), then the user's
// actions and assertions on the registry and the files.
class MainFormTest : public ::testing::Test
{
protected:
    ~MainFormTest() override;

    // Creates the windows and shows the main one, as the program does at start.
    TMainForm& Start(Machine::Options options = {});
    // Closes the window as its close box does and ends the program (saving the machine).
    void Stop();
    // Stop, then start again on the same machine: what the next start sees.
    TMainForm& Restart();
    // Lets running fold and unfold animations finish and applies their steps.
    void SettleAnimations();

    TMainForm& Form() { return windows_->MainForm; }
    ProgramWindows& Windows() { return *windows_; }
    // Where Find looks. The pages reuse control names, so a page's test narrows it to its page.
    virtual QWidget& Scope() { return Form(); }
    template <class Control> Control* Find(const char* name)
    {
        auto* control = Scope().findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << "no control " << name;
        return control;
    }

    // A registry value as the machine holds it now; nothing when it is missing.
    static std::optional<RegValue> Reg(HKEY root, const QString& key, const QString& name);
    static std::optional<int> Dword(HKEY root, const QString& key, const QString& name);
    static std::optional<QString> Text(HKEY root, const QString& key, const QString& name);
    static bool KeyExists(HKEY root, const QString& key);

    // Clicks the tab of the page that holds a widget, as a user brings a page up.
    void ShowPage(QWidget* page);
    // Moves the mouse over a control and returns what the help box shows then.
    QString HelpOver(QWidget* control);

    // For every row (its box found within Scope): a click writes the checked value, the next
    // start shows the box checked, a second click writes the unchecked value, and the start
    // after shows it unchecked. Then each row's start cases, one start per case number, on the
    // machine the clicks left. Radio buttons (rows without an unchecked value) go one at a
    // time, as selecting one unselects its partner.
    void ExpectBoundBoxes(const std::vector<BoundBox>& rows);
    void ExpectStartCases(const std::vector<BoundBox>& rows);

    // Registry values (and profile keys) whose writes and deletions the platform refuses from
    // the next Start.
    QStringList refusedWrites;
    // When false, Start leaves the pages after the shown one to the window's first drawing, as
    // the program does; by default they are all filled when Start returns.
    bool fillAllPages = true;

    TempMachine machine;
    ScriptedDialogs dialogs;
    FakeClock clock;

private:
    std::unique_ptr<RefusingPlatform> refusing_;
    std::unique_ptr<ProgramWindows> windows_;
};
