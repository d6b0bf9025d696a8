#pragma once

// Makes the program one of its desktop: Qt's "Windows" style and the fonts the windows are laid
// out for (or their metric-compatible stand-ins where they are missing), Qt's own dialogs in
// Polish, the mouse wheel taken only by a focused field, and the name of the installed desktop
// entry, which taskbars match the window to.
void UseDesktopLook();
