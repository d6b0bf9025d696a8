#pragma once

#include "TRegistry.h"

#include <QStringList>
#include <functional>

class QWidget;
class TFrDOS;
class TFrInterfejs;
class TFrPlikiFoldery;
class TFrSiec;
class TFrSztuczki;
class TfrEdytorSysFiles;
class TfrIkony;
class TfrInfo;
class TfrWindows;

// The pages the start-up reader builds and fills, each null until it is built.
struct SystemPages
{
    TfrIkony* FrIkony = nullptr;
    TFrPlikiFoldery* FrPlikiFoldery = nullptr;
    TFrInterfejs* FrInterfejs = nullptr;
    TfrWindows* frWindows = nullptr;
    TFrSiec* FrSiec = nullptr;
    TFrDOS* FrDOS = nullptr;
    TfrInfo* frInfo = nullptr;
    TfrEdytorSysFiles* frEdytorSysFiles = nullptr;
    TFrSztuczki* FrSztuczki = nullptr;
    // The Control Panel applets' file names in upper case, filled by the Icons step.
    QStringList AppletFiles;
};

// The start-up reader: builds the pages and fills them from the system, once, step by step in a
// fixed order (Icons, Files and folders, User interface, Windows, Network, MS-DOS, OEM
// information, system files editor, Tricks), each page guarding its own reading steps. The
// window asks for each step on its turn and places the page before it is filled, so the reader,
// which sits below the window, never needs the window's header. Nothing is filled before Start.
// An error of a reading step that is not guarded ends the reader: it goes to the general error
// report once, and the pages built after it are left as they were built.
class LoadSystemState
{
public:
    static constexpr int kStepCount = 9;
    using Place = std::function<void(QWidget* page)>;

    explicit LoadSystemState(SystemPages& pages) : pages_(pages) {}

    void Start() { running_ = true; }
    // Builds the page of step `step` (from 0, in the order above), hands it to `place`, and
    // fills it.
    void Step(int step, const Place& place);

private:
    void Fill(const std::function<void()>& reading);

    SystemPages& pages_;
    // One registry object for the whole run; each step opens and closes its own key.
    TRegistry reg_;
    bool running_ = false;
};
