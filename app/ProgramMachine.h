#pragma once

#include "Platform.h"
#include "System.h"

#include <memory>

// Opens the machine the program works on (made from the template on first use when the choice
// allows it), with the problems it meets later shown to the user: in a message box, or on the
// console once the program has been asked to end. When it cannot be used, says why in a message
// box and on the console, naming the folder, and returns nothing; nothing has been written then.
std::unique_ptr<Platform> OpenProgramMachine(const MachineChoice& machine,
                                             const QString& templateDir);

// A start without a display, where no window can open: says on the console why the machine would
// be refused, or else that the program needs a display, and returns the exit status. A machine
// still to be made is not made for that.
int StartWithoutDisplay(const MachineChoice& machine);
