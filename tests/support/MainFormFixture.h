#pragma once

#include "ScriptedDialogs.h"
#include "TempMachine.h"
#include "kodMainForm.h"

#include <gtest/gtest.h>
#include <memory>

// A page test: a machine built from a few lines, the main window created offscreen on it
// (which fills every page from the system), then the user's actions and assertions on the
// registry and the files.
class MainFormTest : public ::testing::Test
{
protected:
    ~MainFormTest() override;

    // Creates the main window, as the program does at start.
    TMainForm& Start(Machine::Options options = {});
    // Closes the window as its close box does and ends the program (saving the machine).
    void Stop();
    // Stop, then start again on the same machine: what the next start sees.
    TMainForm& Restart();

    TMainForm& Form() { return *form_; }
    template <class Control> Control* Find(const char* name)
    {
        auto* control = form_->findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << "no control " << name;
        return control;
    }

    // A registry value as the machine holds it now; nothing when it is missing.
    static std::optional<RegValue> Reg(HKEY root, const QString& key, const QString& name);
    static std::optional<int> Dword(HKEY root, const QString& key, const QString& name);
    static std::optional<QString> Text(HKEY root, const QString& key, const QString& name);
    static bool KeyExists(HKEY root, const QString& key);

    TempMachine machine;
    ScriptedDialogs dialogs;

private:
    std::unique_ptr<TMainForm> form_;
};
