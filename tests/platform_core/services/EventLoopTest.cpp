#include "platform/core/services/Clock.h"
#include "platform/core/services/ManualEventLoop.h"
#include "platform/core/OSError.h"

#include "../../support/FixedClock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class TLogTarget : public TEventTarget {
public:
    void HandleEvent(const TLoopEvent& event) override
    {
        events.push_back(event);
        if (onEvent) {
            onEvent(event);
        }
    }
    std::vector<TLoopEvent> events;
    std::function<void(const TLoopEvent&)> onEvent;
};

TEST(ManualEventLoop, EventTypesAreStableByNameAndAboveTheTimerType)
{
    TManualEventLoop loop;
    const TEventType tick = loop.RegisterEventType("TickGLCadencer");
    const TEventType font = loop.RegisterEventType("FontManager");
    EXPECT_GT(tick, TimerEventType);
    EXPECT_GT(font, TimerEventType);
    EXPECT_NE(tick, font);
    EXPECT_EQ(loop.RegisterEventType("TickGLCadencer"), tick);
}

TEST(ManualEventLoop, PostedEventsWaitForTheLoopAndArriveInOrder)
{
    TManualEventLoop loop;
    TLogTarget target;
    loop.PostEvent(target, 5);
    loop.PostEvent(target, 6);
    EXPECT_TRUE(target.events.empty()) << "never delivered inside the post";
    loop.ProcessPendingEvents();
    ASSERT_EQ(target.events.size(), 2u);
    EXPECT_EQ(target.events[0].type, 5);
    EXPECT_EQ(target.events[1].type, 6);
    EXPECT_EQ(target.events[0].timerId, 0);
    EXPECT_LE(target.events[0].postedAtMs, TickCountMs());
}

TEST(ManualEventLoop, EventsPostedWhileDeliveringWaitForTheNextRound)
{
    TManualEventLoop loop;
    TLogTarget target;
    target.onEvent = [&](const TLoopEvent&) { loop.PostEvent(target, 7); };
    loop.PostEvent(target, 7);
    loop.ProcessPendingEvents();
    EXPECT_EQ(target.events.size(), 1u);
    EXPECT_EQ(loop.PendingCount(), 1u);
    target.onEvent = nullptr;
    loop.Drain();
    EXPECT_EQ(target.events.size(), 2u);
}

TEST(ManualEventLoop, EventsForAFreedTargetAreDropped)
{
    TManualEventLoop loop;
    auto target = std::make_unique<TLogTarget>();
    loop.PostEvent(*target, 5);
    target.reset();
    loop.ProcessPendingEvents();
    EXPECT_EQ(loop.delivered, 0);
    EXPECT_EQ(loop.PendingCount(), 0u);
}

TEST(ManualEventLoop, TimersRepeatUntilKilledAndStopForAFreedTarget)
{
    TManualEventLoop loop;
    TLogTarget target;
    const TTimerId id = loop.StartTimer(target, 10);
    EXPECT_NE(id, 0);
    loop.AdvanceTimers(9);
    loop.ProcessPendingEvents();
    EXPECT_TRUE(target.events.empty());
    loop.AdvanceTimers(1);
    loop.ProcessPendingEvents();
    ASSERT_EQ(target.events.size(), 1u);
    EXPECT_EQ(target.events[0].type, TimerEventType);
    EXPECT_EQ(target.events[0].timerId, id);
    loop.AdvanceTimers(10);
    loop.ProcessPendingEvents();
    EXPECT_EQ(target.events.size(), 2u);
    loop.KillTimer(id);
    loop.KillTimer(id); // twice is harmless
    loop.AdvanceTimers(100);
    loop.ProcessPendingEvents();
    EXPECT_EQ(target.events.size(), 2u);

    auto doomed = std::make_unique<TLogTarget>();
    loop.StartTimer(*doomed, 1);
    doomed.reset();
    loop.AdvanceTimers(5);
    loop.ProcessPendingEvents();
    EXPECT_EQ(loop.TimerCount(), 0u) << "the timer of a freed target stops";
}

TEST(ManualEventLoop, AnExceptionFromAHandlerEndsAtTheLoop)
{
    TManualEventLoop loop;
    TLogTarget target;
    target.onEvent = [](const TLoopEvent&) { throw std::runtime_error("handler broke"); };
    loop.PostEvent(target, 5);
    loop.PostEvent(target, 5);
    EXPECT_NO_THROW(loop.ProcessPendingEvents());
    EXPECT_EQ(loop.exceptions, (std::vector<std::string>{"handler broke", "handler broke"}));
}

TEST(ManualEventLoop, IdleHandlerDecidesWhetherTheLoopWaits)
{
    TManualEventLoop loop;
    EXPECT_TRUE(loop.RunIdle()) << "without a handler the loop waits";
    int calls = 0;
    loop.SetIdleHandler([&](bool& done) {
        ++calls;
        done = false;
    });
    EXPECT_FALSE(loop.RunIdle());
    const TIdleHandler previous = loop.SetIdleHandler(nullptr);
    EXPECT_TRUE(static_cast<bool>(previous));
    EXPECT_TRUE(loop.RunIdle());
    EXPECT_EQ(calls, 1);
}

TEST(EventLoopRegistry, ScopeInstallsAndRestoresAndProcessingWithoutALoopIsHarmless)
{
    EXPECT_EQ(GetEventLoop(), nullptr);
    EXPECT_NO_THROW(ProcessPendingEvents());
    TManualEventLoop outer;
    TManualEventLoop inner;
    {
        TEventLoopScope a(&outer);
        {
            TEventLoopScope b(&inner);
            EXPECT_EQ(GetEventLoop(), &inner);
            TLogTarget target;
            inner.PostEvent(target, 3);
            ProcessPendingEvents();
            EXPECT_EQ(target.events.size(), 1u);
        }
        EXPECT_EQ(GetEventLoop(), &outer);
    }
    EXPECT_EQ(GetEventLoop(), nullptr);
}

TEST(EventLoopRegistry, ExceptionMessagesForReports)
{
    EXPECT_EQ(ExceptionMessage(std::make_exception_ptr(std::runtime_error("boom"))), "boom");
    EXPECT_EQ(ExceptionMessage(std::make_exception_ptr(42)), "Unknown exception");
    EXPECT_EQ(ExceptionMessage(nullptr), "Unknown exception");
}

TEST(Clock, CountersRunForwardAtTheirFrequency)
{
    std::int64_t frequency = 0;
    ASSERT_TRUE(QueryPerformanceFrequencyValue(frequency));
    EXPECT_GE(frequency, 1000000) << "at least microsecond resolution";
    std::int64_t a = 0;
    std::int64_t b = 0;
    QueryPerformanceCounterValue(a);
    QueryPerformanceCounterValue(b);
    EXPECT_GE(b, a);
    const std::int64_t t0 = TickCountMs();
    EXPECT_GE(TickCountMs(), t0);
}

TEST(Clock, DateTimeCountsDaysFromTheEndOf1899)
{
    const double now = NowAsDateTime();
    // 1 January 2020 is day 43831; 1 January 2200 is day 109574.
    EXPECT_GT(now, 43831);
    EXPECT_LT(now, 109574);
}

TEST(Clock, AnInstalledSourceServesBothClocksUntilItsScopeEnds)
{
    TFixedClock fixed;
    fixed.Ticks = 5;
    fixed.Now = 45000.5;
    const double before = NowAsDateTime();
    {
        TClockSourceScope scope(&fixed);
        EXPECT_EQ(TickCountMs(), 5);
        fixed.Ticks = 1005;
        EXPECT_EQ(TickCountMs(), 1005);
        EXPECT_EQ(NowAsDateTime(), 45000.5);
    }
    EXPECT_GE(NowAsDateTime(), before);
    EXPECT_NE(TickCountMs(), 1005);
}

TEST(OSError, RaisesTheSystemTextWithItsPrefix)
{
    try {
        RaiseOSError(ENOENT);
        FAIL() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), ENOENT);
        EXPECT_EQ(e.Message(), "OS Error : No such file or directory");
    }
    errno = EACCES;
    EXPECT_THROW(RaiseOSError(), EOSError);
}

} // namespace
