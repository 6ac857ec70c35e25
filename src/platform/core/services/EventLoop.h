#pragma once
// The application's event loop as the layers below the shell see it: events posted to
// an object of ours and delivered later from the loop, timers, the idle hook, and
// processing pending events from inside a wait. The shell installs the toolkit's loop
// (platform/gui/QtEventLoop); unit tests install TManualEventLoop and turn it by hand.
//
// A target may die with events still queued for it or timers still running: queued
// events for a dead target are dropped and its timers stop, so nobody calls into a
// freed object.

#include "platform/core/InstallScope.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Event types are process-wide numbers handed out by name; timer events have their own.
using TEventType = int;
constexpr TEventType TimerEventType = 0;

using TTimerId = int;

struct TLoopEvent {
    TEventType type = 0;
    // The timer that fired; 0 for posted events.
    TTimerId timerId = 0;
    // Milliseconds of TickCountMs() when the event was posted (or the timer fired).
    std::int64_t postedAtMs = 0;
};

class TEventTarget {
public:
    TEventTarget() : token_(std::make_shared<TEventTarget*>(this)) {}
    virtual ~TEventTarget() { *token_ = nullptr; }
    TEventTarget(const TEventTarget&) = delete;
    TEventTarget& operator=(const TEventTarget&) = delete;

    virtual void HandleEvent(const TLoopEvent& event) = 0;

    // Loops keep this instead of the pointer: it reads nullptr once the target is gone.
    using TToken = std::shared_ptr<TEventTarget* const>;
    TToken Token() const { return token_; }

private:
    std::shared_ptr<TEventTarget*> token_;
};

// Called when the loop is about to wait for events. Leaving `done` false asks to be
// called again at once instead of waiting.
using TIdleHandler = std::function<void(bool& done)>;

class IEventLoop {
public:
    virtual ~IEventLoop() = default;

    // The same name always gives the same type (above TimerEventType).
    virtual TEventType RegisterEventType(std::string_view name) = 0;
    // Queues an event for the target; it is delivered from the loop, never inside this call.
    virtual void PostEvent(TEventTarget& target, TEventType type) = 0;

    // Repeating timer events (type TimerEventType) for the target every `intervalMs`
    // until killed; returns a non-zero id.
    virtual TTimerId StartTimer(TEventTarget& target, int intervalMs) = 0;
    // An unknown or already killed id does nothing.
    virtual void KillTimer(TTimerId id) = 0;

    // The one idle handler (nullptr removes it); returns the one it replaces.
    virtual TIdleHandler SetIdleHandler(TIdleHandler handler) = 0;

    // Delivers what is pending now, then returns; safe to call from inside an event.
    virtual void ProcessPendingEvents() = 0;

    // The application is shutting down: loops that drive themselves should stop.
    virtual bool Terminating() const = 0;

    // Reports an exception that an event handler could not let escape the loop.
    virtual void HandleException(std::exception_ptr error) = 0;
};

// Installs `loop` (not owned; nullptr removes it) and returns the one it replaces.
IEventLoop* SetEventLoop(IEventLoop* loop);
// nullptr when none is installed: posting and timers are then impossible.
IEventLoop* GetEventLoop();

// Processes pending events of the installed loop; does nothing without one.
void ProcessPendingEvents();

// The message of an exception for reports; "Unknown exception" when it is no std::exception.
std::string ExceptionMessage(std::exception_ptr error);

// Installs a loop for the lifetime of a scope and restores the previous one.
using TEventLoopScope = TInstallScope<IEventLoop, SetEventLoop>;
