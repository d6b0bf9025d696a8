#pragma once

// The application-wide switch of the program's own pop-up hints (tool tips). Hints are shown
// until the switch is turned off.
void SetShowHints(bool on);
bool ShowHints();
