#pragma once

#include "TRegistry.h"

#include <QStringList>
#include <functional>

class TFrDOS;
class TFrInterfejs;
class TFrPlikiFoldery;
class TFrSiec;
class TFrSztuczki;
class TfrEdytorSysFiles;
class TfrIkony;
class TfrInfo;
class TfrWindows;

// The start-up reader: fills the pages from the system, once, page by page in a fixed order
// (Icons, Files and folders, User interface, Windows, Network, MS-DOS, OEM information, system
// files editor, Tricks), each reading step guarded on its own. The main window hands each page
// over on its turn, so the reader, which sits below the window, never needs the window's header.
// An error of a step that is not guarded ends the reader: it goes to the general error report
// once, and the pages handed over after it are left as they were built.
class LoadSystemState
{
public:
    // `appletFiles` receives the Control Panel applets' file names, upper-cased.
    void Fill(TfrIkony& page, QStringList& appletFiles);
    void Fill(TFrPlikiFoldery& page);
    void Fill(TFrInterfejs& page);
    void Fill(TfrWindows& page);
    void Fill(TFrSiec& page);
    void Fill(TFrDOS& page);
    void Fill(TfrInfo& page);
    void Fill(TfrEdytorSysFiles& page);
    void Fill(TFrSztuczki& page);

private:
    void Run(const std::function<void()>& steps);

    // One registry object for the whole run; each step opens and closes its own key.
    TRegistry reg_;
    bool ended_ = false;
};
