#include "platform/core/services/Clock.h"

#include <chrono>
#include <ctime>
#include <utility>

namespace {
using SteadyClock = std::chrono::steady_clock;

class TSystemClock : public IClockSource {
public:
    std::int64_t TickCountMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now().time_since_epoch())
            .count();
    }

    double NowAsDateTime() const override
    {
        using namespace std::chrono;
        const auto now = system_clock::now();
        const std::time_t seconds = system_clock::to_time_t(now);
        std::tm local{};
        localtime_r(&seconds, &local);
        // 25569 days lie between 30 December 1899 and 1 January 1970; tm_gmtoff moves
        // UTC to local time.
        const double unixSeconds = duration<double>(now.time_since_epoch()).count() + double(local.tm_gmtoff);
        return 25569.0 + unixSeconds / 86400.0;
    }
};

IClockSource* installedSource = nullptr;
} // namespace

IClockSource& SystemClock()
{
    static TSystemClock clock;
    return clock;
}

IClockSource* SetClockSource(IClockSource* source)
{
    return std::exchange(installedSource, source);
}

std::int64_t TickCountMs()
{
    return installedSource ? installedSource->TickCountMs() : SystemClock().TickCountMs();
}

void QueryPerformanceCounterValue(std::int64_t& counter)
{
    counter = SteadyClock::now().time_since_epoch().count();
}

bool QueryPerformanceFrequencyValue(std::int64_t& frequency)
{
    using Period = SteadyClock::period;
    // A clock coarser than a whole second per tick is no performance counter.
    if (Period::num != 1) {
        frequency = 0;
        return false;
    }
    frequency = static_cast<std::int64_t>(Period::den);
    return true;
}

double NowAsDateTime()
{
    return installedSource ? installedSource->NowAsDateTime() : SystemClock().NowAsDateTime();
}
