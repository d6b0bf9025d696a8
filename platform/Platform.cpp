#include "Platform.h"

#include <stdexcept>

namespace {
Platform* current = nullptr;
}

Platform& CurrentPlatform()
{
    if (!current) throw std::logic_error("no platform installed");
    return *current;
}

void SetCurrentPlatform(Platform* platform) { current = platform; }

Platform* InstalledPlatform() { return current; }
