#pragma once

// Qt's "Windows" style and the fonts the windows are laid out for, or their metric-compatible
// stand-ins where they are missing, so the program looks like a program of its desktop.
void UseDesktopLook();
