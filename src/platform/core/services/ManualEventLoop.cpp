#include "platform/core/services/ManualEventLoop.h"

#include "platform/core/services/Clock.h"

TEventType TManualEventLoop::RegisterEventType(std::string_view name)
{
    const auto found = types_.find(name);
    if (found != types_.end()) {
        return found->second;
    }
    const TEventType type = nextType_++;
    types_.emplace(std::string(name), type);
    return type;
}

void TManualEventLoop::PostEvent(TEventTarget& target, TEventType type)
{
    queue_.push_back({target.Token(), type, clock()});
}

TTimerId TManualEventLoop::StartTimer(TEventTarget& target, int intervalMs)
{
    const TTimerId id = nextTimer_++;
    const int interval = intervalMs < 1 ? 1 : intervalMs;
    timers_.emplace(id, TTimer{target.Token(), interval, timerClockMs_ + interval});
    return id;
}

void TManualEventLoop::KillTimer(TTimerId id)
{
    timers_.erase(id);
}

TIdleHandler TManualEventLoop::SetIdleHandler(TIdleHandler handler)
{
    TIdleHandler previous = std::move(idle_);
    idle_ = std::move(handler);
    return previous;
}

void TManualEventLoop::ProcessPendingEvents()
{
    // Events posted while these are delivered wait for the next round, as a real
    // loop's posted events do; otherwise a target that re-posts would never return.
    std::size_t count = queue_.size();
    while (count-- > 0 && !queue_.empty()) {
        TQueued event = std::move(queue_.front());
        queue_.pop_front();
        if (TEventTarget* target = *event.target) {
            ++delivered;
            Deliver(*target, {event.type, 0, event.postedAtMs});
        }
    }
    FireDueTimers();
}

void TManualEventLoop::FireDueTimers()
{
    // Collected first: a handler may start or kill timers.
    std::vector<TTimerId> due;
    for (const auto& [id, timer] : timers_) {
        if (timer.dueMs <= timerClockMs_) {
            due.push_back(id);
        }
    }
    for (TTimerId id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) {
            continue;
        }
        TEventTarget* target = *it->second.target;
        if (target == nullptr) {
            timers_.erase(it);
            continue;
        }
        it->second.dueMs = timerClockMs_ + it->second.intervalMs;
        ++delivered;
        Deliver(*target, {TimerEventType, id, clock()});
    }
}

void TManualEventLoop::Deliver(TEventTarget& target, const TLoopEvent& event)
{
    // As in the real loop, an exception ends at the loop's edge.
    try {
        target.HandleEvent(event);
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TManualEventLoop::HandleException(std::exception_ptr error)
{
    exceptions.push_back(ExceptionMessage(error));
}

bool TManualEventLoop::RunIdle()
{
    bool done = true;
    if (idle_) {
        // A copy: the handler may replace itself.
        TIdleHandler handler = idle_;
        handler(done);
    }
    return done;
}

void TManualEventLoop::Drain(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        bool timerDue = false;
        for (const auto& [id, timer] : timers_) {
            timerDue = timerDue || timer.dueMs <= timerClockMs_;
        }
        if (queue_.empty() && !timerDue) {
            return;
        }
        ProcessPendingEvents();
    }
}
