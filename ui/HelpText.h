#pragma once

#include <QString>
#include <functional>

// Puts a control's help text into the help box. The main window installs the box; until then
// (and after it is gone) help texts go nowhere.
void ShowHelpText(const QString& text);
void SetHelpTextSink(std::function<void(const QString&)> sink);
