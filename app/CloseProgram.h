#pragma once

// Ends the program as its user would: every open dialog is closed as its close box closes it,
// the innermost first, then every window as its close box does. A box shown meanwhile (while the
// main window closes, or after it is gone) is closed in turn.
void CloseProgram();
