#pragma once

#include "Clock.h"

#include <atomic>

// A clock whose pauses end at once and are only added up, so a ten-second fold takes
// milliseconds; it shows a time the test chose.
class FakeClock : public Clock
{
public:
    FakeClock() : replaced_(&ProgramClock()) { SetProgramClock(this); }
    ~FakeClock() override { SetProgramClock(replaced_); }

    bool Sleep(int milliseconds) override
    {
        slept += milliseconds;
        return !Stopped() && (sleepsLeft < 0 || sleepsLeft-- > 0);
    }
    QTime Now() override { return time; }

    std::atomic<long long> slept = 0;
    std::atomic<int> sleepsLeft = -1; // after that many pauses Sleep says stop; -1 never
    QTime time = QTime(14, 5, 9);

private:
    Clock* replaced_;
};
