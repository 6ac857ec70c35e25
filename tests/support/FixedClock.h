#pragma once
// A clock source whose time the test sets: the tick count and the wall time stand
// still until the test moves them.

#include "platform/core/services/Clock.h"

#include <cstdint>

class TFixedClock : public IClockSource {
public:
    std::int64_t TickCountMs() const override { return Ticks; }
    double NowAsDateTime() const override { return Now; }

    std::int64_t Ticks = 0;
    double Now = 0; // days since 1899-12-30
};

// A clock that moves `StepMs` at every look at the tick count, from a fixed clock's
// time: a run that looks at the clock every so many lines lets events through at once.
class TMovingClock : public IClockSource {
public:
    explicit TMovingClock(TFixedClock& base, std::int64_t stepMs = 60) : FBase(base), FStepMs(stepMs) {}
    std::int64_t TickCountMs() const override
    {
        ++Reads;
        return FBase.Ticks += FStepMs;
    }
    double NowAsDateTime() const override { return FBase.Now; }

    mutable int Reads = 0;

private:
    TFixedClock& FBase;
    std::int64_t FStepMs;
};
