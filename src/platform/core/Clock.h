#pragma once
// The clocks the scene and the shell time things with: a monotonic tick count in
// milliseconds, a high-resolution counter with its frequency, and the wall-clock time
// as a date-time number (days since 30 December 1899, the fraction being the time of
// day).

#include <cstdint>

// Milliseconds of a monotonic clock; only differences mean anything.
std::int64_t TickCountMs();

// Ticks of the monotonic high-resolution clock.
void QueryPerformanceCounterValue(std::int64_t& counter);
// Ticks per second; false (and 0) when the clock has no usable resolution.
bool QueryPerformanceFrequencyValue(std::int64_t& frequency);

// The local date and time as a date-time number.
double NowAsDateTime();
