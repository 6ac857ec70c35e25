#pragma once
// The event loop of the layers below the shell, on Qt: posted events are QEvents of
// registered types sent to one hidden receiver, timers are QObject timers of that
// receiver, the idle handler runs whenever the event dispatcher is about to block, and
// pending events are processed with QCoreApplication::processEvents.
//
// Needs a QCoreApplication (or QApplication) before construction; install it with
// SetEventLoop (or TEventLoopScope) for as long as it lives.

#include "platform/core/services/EventLoop.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <string>

class TQtEventLoop : public IEventLoop {
public:
    TQtEventLoop();
    ~TQtEventLoop() override;
    TQtEventLoop(const TQtEventLoop&) = delete;
    TQtEventLoop& operator=(const TQtEventLoop&) = delete;

    TEventType RegisterEventType(std::string_view name) override;
    void PostEvent(TEventTarget& target, TEventType type) override;
    TTimerId StartTimer(TEventTarget& target, int intervalMs) override;
    void KillTimer(TTimerId id) override;
    TIdleHandler SetIdleHandler(TIdleHandler handler) override;
    void ProcessPendingEvents() override;
    bool Terminating() const override;
    void HandleException(std::exception_ptr error) override;

    // How exceptions from event handlers are reported; by default an error box when a
    // dialog responder is installed, else the debug log.
    std::function<void(const std::string& message)> OnException;

private:
    class TReceiver;
    friend class TReceiver;
    void Deliver(const TEventTarget::TToken& target, const TLoopEvent& event);
    void Timer(int qtTimerId);
    void AboutToBlock();

    std::unique_ptr<TReceiver> FReceiver;
    std::map<std::string, TEventType, std::less<>> FTypes;
    std::map<int, TEventTarget::TToken> FTimers;
    TIdleHandler FIdle;
    QMetaObject::Connection FIdleConnection;
    bool FInIdle = false;
    bool FQuitting = false;
};
