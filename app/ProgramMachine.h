#pragma once

#include "Platform.h"

#include <memory>

// Opens the machine the program works on (made from the template on first use), with its save
// problems shown to the user. When it cannot be used, says why in a message box that names the
// folder and returns nothing; nothing has been written then.
std::unique_ptr<Platform> OpenProgramMachine(const QString& prefix, const QString& templateDir);
