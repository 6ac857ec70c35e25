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
