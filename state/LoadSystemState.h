#pragma once

class TMainForm;

// Fills every page of the main window from the system, once, at the end of its creation: page by
// page in a fixed order, each reading step guarded on its own. An error of a step that is not
// guarded ends the reader and goes to the general error report.
void LoadSystemState(TMainForm& form);
