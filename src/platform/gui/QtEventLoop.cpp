#include "platform/gui/QtEventLoop.h"

#include "platform/core/services/Clock.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/services/DialogService.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>

namespace {

class TTargetEvent : public QEvent {
public:
    TTargetEvent(TEventType type, TEventTarget::TToken target)
        : QEvent(static_cast<QEvent::Type>(type)), Target(std::move(target)), PostedAtMs(TickCountMs())
    {
    }
    TEventTarget::TToken Target;
    std::int64_t PostedAtMs;
};

void DefaultExceptionReport(const std::string& message)
{
    if (GetDialogResponder() != nullptr) {
        try {
            ShowErrorBox(message);
            return;
        } catch (...) {
            // A responder that refuses the box: the log still gets the message.
        }
    }
    DebugLog("error: " + message);
}

} // namespace

class TQtEventLoop::TReceiver : public QObject {
public:
    explicit TReceiver(TQtEventLoop& loop) : FLoop(loop) {}

protected:
    void customEvent(QEvent* event) override
    {
        auto* posted = static_cast<TTargetEvent*>(event);
        FLoop.Deliver(posted->Target, {static_cast<TEventType>(event->type()), 0, posted->PostedAtMs});
    }
    void timerEvent(QTimerEvent* event) override { FLoop.Timer(event->timerId()); }

private:
    TQtEventLoop& FLoop;
};

TQtEventLoop::TQtEventLoop() : OnException(DefaultExceptionReport), FReceiver(std::make_unique<TReceiver>(*this))
{
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QObject::connect(app, &QCoreApplication::aboutToQuit, FReceiver.get(), [this] { FQuitting = true; });
    }
}

TQtEventLoop::~TQtEventLoop()
{
    QObject::disconnect(FIdleConnection);
    // Pending events of the receiver die with it; Qt drops them.
}

TEventType TQtEventLoop::RegisterEventType(std::string_view name)
{
    const auto found = FTypes.find(name);
    if (found != FTypes.end()) {
        return found->second;
    }
    const TEventType type = QEvent::registerEventType();
    FTypes.emplace(std::string(name), type);
    return type;
}

void TQtEventLoop::PostEvent(TEventTarget& target, TEventType type)
{
    QCoreApplication::postEvent(FReceiver.get(), new TTargetEvent(type, target.Token()));
}

TTimerId TQtEventLoop::StartTimer(TEventTarget& target, int intervalMs)
{
    const int id = FReceiver->startTimer(intervalMs < 1 ? 1 : intervalMs, Qt::PreciseTimer);
    if (id != 0) {
        FTimers[id] = target.Token();
    }
    return id;
}

void TQtEventLoop::KillTimer(TTimerId id)
{
    if (FTimers.erase(id) != 0) {
        FReceiver->killTimer(id);
    }
}

TIdleHandler TQtEventLoop::SetIdleHandler(TIdleHandler handler)
{
    TIdleHandler previous = std::move(FIdle);
    FIdle = std::move(handler);
    QObject::disconnect(FIdleConnection);
    FIdleConnection = {};
    if (FIdle) {
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
            FIdleConnection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, FReceiver.get(),
                                               [this] { AboutToBlock(); });
            // A loop already waiting would otherwise sleep until the next event.
            dispatcher->wakeUp();
        }
    }
    return previous;
}

void TQtEventLoop::ProcessPendingEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TQtEventLoop::Terminating() const
{
    return FQuitting || QCoreApplication::closingDown() || QCoreApplication::instance() == nullptr;
}

void TQtEventLoop::HandleException(std::exception_ptr error)
{
    const std::string message = ExceptionMessage(error);
    if (OnException) {
        OnException(message);
    }
}

void TQtEventLoop::Deliver(const TEventTarget::TToken& target, const TLoopEvent& event)
{
    TEventTarget* receiver = *target;
    if (receiver == nullptr) {
        return;
    }
    // Exceptions never cross the Qt event loop.
    try {
        receiver->HandleEvent(event);
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TQtEventLoop::Timer(int qtTimerId)
{
    const auto found = FTimers.find(qtTimerId);
    if (found == FTimers.end()) {
        return;
    }
    if (*found->second == nullptr) {
        KillTimer(qtTimerId);
        return;
    }
    // A copy: the handler may kill its own timer, which erases the entry.
    const TEventTarget::TToken target = found->second;
    Deliver(target, {TimerEventType, qtTimerId, TickCountMs()});
}

void TQtEventLoop::AboutToBlock()
{
    if (FInIdle || !FIdle) {
        return;
    }
    FInIdle = true;
    bool done = true;
    try {
        TIdleHandler handler = FIdle;
        handler(done);
    } catch (...) {
        HandleException(std::current_exception());
    }
    FInIdle = false;
    if (!done) {
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
            dispatcher->wakeUp();
        }
    }
}
