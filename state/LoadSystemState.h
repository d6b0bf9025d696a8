#pragma once

#include <QStringList>

class TFrDOS;
class TFrInterfejs;
class TFrPlikiFoldery;
class TFrSiec;
class TFrSztuczki;
class TfrEdytorSysFiles;
class TfrIkony;
class TfrInfo;
class TfrWindows;

// What the start-up reader fills, in reading order. The main window hands it over, so the
// reader, which sits below the window, never needs the window's header.
struct SystemPages
{
    TfrIkony& ikony;
    TFrPlikiFoldery& plikiFoldery;
    TFrInterfejs& interfejs;
    TfrWindows& windows;
    TFrSiec& siec;
    TFrDOS& dos;
    TfrInfo& info;
    TfrEdytorSysFiles& edytorSysFiles;
    TFrSztuczki& sztuczki;
    QStringList& appletFiles; // the Control Panel applets' file names, upper-cased
};

// Fills every page from the system, once, at the end of the main window's creation: page by
// page in a fixed order, each reading step guarded on its own. An error of a step that is not
// guarded ends the reader and goes to the general error report.
void LoadSystemState(const SystemPages& pages);
