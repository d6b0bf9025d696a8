#pragma once

#include "Platform.h"
#include "System.h"

#include <memory>

// Opens the machine the program works on (made from the template on first use when the choice
// allows it), with its save problems shown to the user. When it cannot be used, says why in a
// message box and on the console, naming the folder, and returns nothing; nothing has been
// written then.
std::unique_ptr<Platform> OpenProgramMachine(const MachineChoice& machine,
                                             const QString& templateDir);
