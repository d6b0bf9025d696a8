#pragma once

class QWidget;

// Ends the program as its user would: every open dialog is closed as its close box closes it,
// the innermost first, then the main window as its close box does.
void CloseProgram(QWidget& mainWindow);
