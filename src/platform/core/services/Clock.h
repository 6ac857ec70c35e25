#pragma once
// The clocks the scene and the shell time things with: a monotonic tick count in
// milliseconds, a high-resolution counter with its frequency, and the wall-clock time
// as a date-time number (days since 30 December 1899, the fraction being the time of
// day).
//
// The tick count and the wall time come from one replaceable source, so tests can set
// the time the debug log stamps and move deadlines and waits forward by hand.

#include "platform/core/InstallScope.h"

#include <cstdint>

// Milliseconds of a monotonic clock; only differences mean anything.
std::int64_t TickCountMs();

// Ticks of the monotonic high-resolution clock.
void QueryPerformanceCounterValue(std::int64_t& counter);
// Ticks per second; false (and 0) when the clock has no usable resolution.
bool QueryPerformanceFrequencyValue(std::int64_t& frequency);

// The local date and time as a date-time number.
double NowAsDateTime();

class IClockSource {
public:
    virtual ~IClockSource() = default;
    virtual std::int64_t TickCountMs() const = 0;
    virtual double NowAsDateTime() const = 0;
};

// The system's clocks.
IClockSource& SystemClock();

// Installs `source` (not owned; nullptr goes back to the system clocks) and returns the
// one it replaces.
IClockSource* SetClockSource(IClockSource* source);

using TClockSourceScope = TInstallScope<IClockSource, SetClockSource>;
