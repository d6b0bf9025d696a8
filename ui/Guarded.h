#pragma once

#include <exception>
#include <utility>

// One step of the start-up reader. While it runs, an error of a handler that the step ran by
// setting a control is kept here instead of being reported, and raised in the step as soon as
// the control is set (see Fill), so it ends the step as the step's own errors do.
class ReaderStep
{
public:
    ReaderStep() : outer_(current_) { current_ = this; }
    ~ReaderStep() { current_ = outer_; }
    ReaderStep(const ReaderStep&) = delete;
    ReaderStep& operator=(const ReaderStep&) = delete;

    // Keeps a handler's error for the running step; false when no step runs.
    static bool Capture(std::exception_ptr error);
    // Raises the error a handler left in the running step, if any.
    static void RaisePending();

private:
    ReaderStep* outer_;
    std::exception_ptr pending_;
    static thread_local ReaderStep* current_;
};

// Sets a control from the reader: runs the setting, then raises what a handler it ran raised.
template <class Set> void Fill(Set set)
{
    set();
    ReaderStep::RaisePending();
}

// A step whose errors end the reader (its outer handler reports them).
template <class Step> void Unguarded(Step step)
{
    ReaderStep scope;
    step();
    ReaderStep::RaisePending();
}

// A handler whose errors are not the user's concern: an error ends it silently, and what it
// did so far stays done.
template <class Body> void Swallowed(Body body)
{
    try {
        body();
    } catch (const std::exception&) {
        // Swallowed by design: the control keeps the state the user gave it.
    }
}

// A guarded step: an error ends the step silently, and whatever it set so far stays set.
template <class Step> void Guarded(Step step)
{
    try {
        Unguarded(step);
    } catch (const std::exception&) {
        // Swallowed by design: a missing or mistyped value leaves its control as it was.
    }
}
