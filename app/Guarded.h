#pragma once

#include <exception>

// A guarded block: an error ends the block silently, and whatever it set so far stays set.
template <class Step> void Guarded(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
        // Swallowed by design: a missing or mistyped value leaves its control as it was.
    }
}
