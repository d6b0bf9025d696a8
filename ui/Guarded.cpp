#include "Guarded.h"

thread_local ReaderStep* ReaderStep::current_ = nullptr;

bool ReaderStep::Capture(std::exception_ptr error)
{
    if (!current_) return false;
    if (!current_->pending_) current_->pending_ = std::move(error);
    return true;
}

void ReaderStep::RaisePending()
{
    if (!current_ || !current_->pending_) return;
    std::rethrow_exception(std::exchange(current_->pending_, nullptr));
}
