#pragma once
// An event loop without a toolkit, turned by hand: posted events wait in a queue until
// ProcessPendingEvents, timers fire when the test advances their clock, and the idle
// handler runs when the test says the loop would now wait. Unit tests of the cadencer
// and of the engine's waits install it; it also serves a process without a display.

#include "platform/core/services/Clock.h"
#include "platform/core/services/EventLoop.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

class TManualEventLoop : public IEventLoop {
public:
    TEventType RegisterEventType(std::string_view name) override;
    void PostEvent(TEventTarget& target, TEventType type) override;
    TTimerId StartTimer(TEventTarget& target, int intervalMs) override;
    void KillTimer(TTimerId id) override;
    TIdleHandler SetIdleHandler(TIdleHandler handler) override;
    // Delivers the events queued before the call (not those they post), then the
    // timers that are due.
    void ProcessPendingEvents() override;
    bool Terminating() const override { return terminating; }
    // Keeps the message for the test to read.
    void HandleException(std::exception_ptr error) override;

    // Moves the timer clock on; timers fire at the next ProcessPendingEvents.
    void AdvanceTimers(int milliseconds) { timerClockMs_ += milliseconds; }
    // Runs the idle handler as a loop about to wait would; returns its `done`.
    // Without a handler the loop would wait: true.
    bool RunIdle();
    // Processes until nothing is queued and no timer is due, at most `rounds` times.
    void Drain(int rounds = 1000);

    std::size_t PendingCount() const { return queue_.size(); }
    bool HasIdleHandler() const { return static_cast<bool>(idle_); }
    std::size_t TimerCount() const { return timers_.size(); }
    // The millisecond clock that stamps events; tests may freeze it.
    std::int64_t (*clock)() = TickCountMs;
    // Events delivered so far (timer events included).
    int delivered = 0;
    std::vector<std::string> exceptions;
    bool terminating = false;

private:
    struct TQueued {
        TEventTarget::TToken target;
        TEventType type;
        std::int64_t postedAtMs;
    };
    struct TTimer {
        TEventTarget::TToken target;
        int intervalMs;
        std::int64_t dueMs;
    };
    void FireDueTimers();
    void Deliver(TEventTarget& target, const TLoopEvent& event);

    std::map<std::string, TEventType, std::less<>> types_;
    TEventType nextType_ = TimerEventType + 1;
    std::deque<TQueued> queue_;
    std::map<TTimerId, TTimer> timers_;
    TTimerId nextTimer_ = 1;
    std::int64_t timerClockMs_ = 0;
    TIdleHandler idle_;
};
