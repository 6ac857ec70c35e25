#include "scene/graph/Cadencer.h"

#include "platform/core/Assert.h"
#include "platform/core/services/Clock.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/services/EventLoop.h"
#include "platform/core/ScopeGuard.h"
#include "scene/graph/WorldInterfaces.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Read once: the counter's frequency does not change while the process runs.
const double gCounterFrequency = [] {
    std::int64_t frequency = 0;
    return QueryPerformanceFrequencyValue(frequency) ? double(frequency) : 0.0;
}();

// Ticks within one millisecond before the ASAP loop yields to a 1 ms timer, so that
// input and paint events still get through.
constexpr int MaxTicksPerMillisecond = 5000;

// Gives the progress counter a value for a scope and puts the old one back on every way
// out, unless the cadencer went with the scope.
auto CounterForScope(int& counter, int value, const std::shared_ptr<bool>& alive)
{
    const int saved = std::exchange(counter, value);
    return TScopeGuard([&counter, saved, alive] {
        if (*alive) {
            counter = saved;
        }
    });
}

std::int64_t (*gTickClock)() = TickCountMs;

// The cadencer whose OnIdleEvent is the event loop's idle handler.
const TGLCadencer* gIdleOwner = nullptr;

} // namespace

// ---- The ASAP loop ----

// One per process while ASAP cadencers exist: posts itself a tick event, steps every
// enabled ASAP cadencer on each tick and posts the next, until the list is empty.
class TASAPHandler : public TEventTarget {
public:
    explicit TASAPHandler(IEventLoop& loop) : FLoop(loop)
    {
        FTickType = loop.RegisterEventType("TickGLCadencer");
        FLoop.PostEvent(*this, FTickType);
    }
    // Queued ticks and a running timer die with the handler: the loop drops events
    // for a freed target and stops its timers.
    ~TASAPHandler() override = default;

    void HandleEvent(const TLoopEvent& event) override;
    TEventType TickType() const { return FTickType; }
    IEventLoop& Loop() const { return FLoop; }

    static std::vector<TGLCadencer*>* List() { return FList.get(); }
    static TASAPHandler* Instance() { return FInstance.get(); }
    static void Append(TGLCadencer* cadencer);
    static void Forget(const TGLCadencer* cadencer);

private:
    void Dispatch();
    static void Pack();
    static void FreeAll();

    IEventLoop& FLoop;
    TEventType FTickType = 0;
    int FSameMillisecondCount = 0;
    TTimerId FTimer = 0;

    static inline std::unique_ptr<std::vector<TGLCadencer*>> FList;
    static inline std::unique_ptr<TASAPHandler> FInstance;
    static inline bool FDispatching = false;
};

void TASAPHandler::Append(TGLCadencer* cadencer)
{
    if (!FList) {
        FList = std::make_unique<std::vector<TGLCadencer*>>();
    }
    if (std::find(FList->begin(), FList->end(), cadencer) != FList->end()) {
        return;
    }
    FList->push_back(cadencer);
    if (FInstance && &FInstance->Loop() != GetEventLoop()) {
        // The loop it posted to was replaced: its ticks will never come back.
        FInstance.reset();
    }
    if (!FInstance) {
        IEventLoop* loop = GetEventLoop();
        if (loop == nullptr) {
            // Nothing can post ticks; the cadencer can still be stepped by hand.
            DebugLog("TGLCadencer: no event loop is installed, the ASAP mode cannot run");
            return;
        }
        FInstance = std::make_unique<TASAPHandler>(*loop);
    }
}

void TASAPHandler::Forget(const TGLCadencer* cadencer)
{
    if (!FList) {
        return;
    }
    // Only nilled: the handler may be walking the list right now.
    for (TGLCadencer*& entry : *FList) {
        if (entry == cadencer) {
            entry = nullptr;
        }
    }
}

void TASAPHandler::Pack()
{
    if (FList) {
        FList->erase(std::remove(FList->begin(), FList->end(), nullptr), FList->end());
    }
}

void TASAPHandler::FreeAll()
{
    FList.reset();
    FInstance.reset();
}

void TASAPHandler::HandleEvent(const TLoopEvent& event)
{
    if (event.type == TimerEventType) {
        FLoop.KillTimer(FTimer);
        FTimer = 0;
        FSameMillisecondCount = 0;
    } else if (event.postedAtMs == gTickClock()) {
        if (++FSameMillisecondCount > MaxTicksPerMillisecond) {
            if (FTimer == 0) {
                FTimer = FLoop.StartTimer(*this, 1);
            }
            FSameMillisecondCount = 0;
        }
    } else {
        FSameMillisecondCount = 0;
    }
    // While the timer runs, the ticks wait for it.
    if (FTimer != 0 || FDispatching) {
        return;
    }
    if (event.type != FTickType && event.type != TimerEventType) {
        return;
    }
    Dispatch();
}

void TASAPHandler::Dispatch()
{
    {
        FDispatching = true;
        struct TClearFlag {
            ~TClearFlag() { FDispatching = false; }
        } clearFlag;
        // Last to first; entries may be nilled (and new ones appended) as we go.
        for (std::size_t i = FList ? FList->size() : 0; i-- > 0;) {
            TGLCadencer* cadencer = (*FList)[i];
            if (cadencer == nullptr || cadencer->Mode() != cmASAP || !cadencer->Enabled() || cadencer->IsBusy()) {
                continue;
            }
            if (FLoop.Terminating()) {
                cadencer->SetEnabled(false);
                continue;
            }
            try {
                cadencer->Progress();
            } catch (...) {
                FLoop.HandleException(std::current_exception());
                // The handler may have freed it: disable only what is still listed.
                if (FList && i < FList->size() && (*FList)[i] == cadencer) {
                    cadencer->SetEnabled(false);
                }
            }
        }
    }
    Pack();
    if (FList && !FList->empty()) {
        FLoop.PostEvent(*this, FTickType);
        return;
    }
    // Frees this handler: nothing may touch it afterwards.
    FreeAll();
}

void SetCadencerTickClock(std::int64_t (*clock)())
{
    gTickClock = clock ? clock : TickCountMs;
}

int CadencerTickEventType()
{
    if (TASAPHandler* handler = TASAPHandler::Instance()) {
        return handler->TickType();
    }
    IEventLoop* loop = GetEventLoop();
    return loop ? loop->RegisterEventType("TickGLCadencer") : 0;
}

int ASAPCadencerCount()
{
    const auto* list = TASAPHandler::List();
    return list ? int(std::count_if(list->begin(), list->end(), [](TGLCadencer* c) { return c != nullptr; })) : 0;
}

bool ASAPHandlerExists()
{
    return TASAPHandler::Instance() != nullptr;
}

// ---- The cadencer ----

TGLCadencer::TGLCadencer(TComponent* owner) : TComponent(owner), FAlive(std::make_shared<bool>(true))
{
    FTimeReference = cmPerformanceCounter;
    FDownTime = FOriginTime = GetRawReferenceTime();
    FTimeMultiplier = 1;
    FSleepLength = -1;
    // Through the setters, as the defaults of a loaded component would be.
    FMode = cmManual;
    SetMode(cmASAP);
    SetEnabled(true);
}

TGLCadencer::~TGLCadencer()
{
    if (FProgressing != 0) {
        // A destructor cannot raise; the Progress that is running returns untouched.
        DebugLog("TGLCadencer freed while it progresses");
    }
    *FAlive = false;
    StopTimeSource();
    if (FScene) {
        FScene->RemoveFreeNotification(this);
    }
}

void TGLCadencer::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == FScene) {
        FScene = nullptr;
        RestartTimeSource();
    }
    TComponent::Notification(component, operation);
}

void TGLCadencer::Loaded()
{
    FLoading = false;
    RestartTimeSource();
}

void TGLCadencer::SetEnabled(bool value)
{
    if (FEnabled == value) {
        return;
    }
    FEnabled = value;
    if (FEnabled) {
        // The time spent disabled is cut out of the clock.
        FOriginTime = GetRawReferenceTime() + FOriginTime - FDownTime;
    } else {
        FDownTime = GetRawReferenceTime();
    }
    RestartTimeSource();
}

void TGLCadencer::SetScene(TGLAbstractWorld* value)
{
    if (FScene == value) {
        return;
    }
    if (FScene) {
        FScene->RemoveFreeNotification(this);
    }
    FScene = value;
    if (FScene) {
        FScene->FreeNotification(this);
    }
    RestartTimeSource();
}

void TGLCadencer::SetMode(TGLCadencerMode value)
{
    if (FMode == value) {
        return;
    }
    if (FMode != cmManual) {
        StopTimeSource();
    }
    FMode = value;
    RestartTimeSource();
}

void TGLCadencer::SetTimeReference(TGLCadencerTimeReference value)
{
    if (FTimeReference == value) {
        return;
    }
    // Origin and down time are raw times of the old reference; carried over, they
    // would make the current time jump by the difference of the two clocks.
    const double oldRaw = GetRawReferenceTime();
    FTimeReference = value;
    const double newRaw = GetRawReferenceTime();
    FOriginTime = newRaw - (oldRaw - FOriginTime);
    FDownTime = newRaw - (oldRaw - FDownTime);
}

void TGLCadencer::SetTimeMultiplier(double value)
{
    if (FTimeMultiplier == value) {
        return;
    }
    if (value == 0) {
        FLastMultiplier = FTimeMultiplier;
        SetEnabled(false);
    } else {
        double previous = FTimeMultiplier;
        if (FTimeMultiplier == 0) {
            SetEnabled(true);
            previous = FLastMultiplier;
        }
        // The current time stays continuous under the new rate.
        const double raw = GetRawReferenceTime();
        FOriginTime = raw - (raw - FOriginTime) * previous / value;
    }
    FTimeMultiplier = value;
}

double TGLCadencer::GetRawReferenceTime() const
{
    switch (FTimeReference) {
    case cmRTC:
        return NowAsDateTime() * 86400.0;
    case cmPerformanceCounter: {
        if (gCounterFrequency == 0) {
            return 0;
        }
        std::int64_t counter = 0;
        QueryPerformanceCounterValue(counter);
        return double(counter) / gCounterFrequency;
    }
    case cmExternal:
        return FExternalTime;
    }
    KP_ASSERT(false);
    return 0;
}

double TGLCadencer::GetCurrentTime()
{
    FCurrentTime = (GetRawReferenceTime() - FOriginTime) * FTimeMultiplier;
    return FCurrentTime;
}

bool TGLCadencer::InASAPList(const TGLCadencer* cadencer)
{
    const auto* list = TASAPHandler::List();
    return list && std::find(list->begin(), list->end(), cadencer) != list->end();
}

void TGLCadencer::Progress()
{
    // Called from inside the scene's own progress.
    if (FProgressing < 0) {
        return;
    }
    const std::shared_ptr<bool> alive = FAlive;
    if (FEnabled) {
        if (FSleepLength >= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(FSleepLength));
        }
        if (FMode == cmASAP) {
            ProcessPendingEvents();
            if (!*alive || !InASAPList(this)) {
                return;
            }
        }
    }
    const auto busy = CounterForScope(FProgressing, FProgressing + 1, alive);
    if (FEnabled) {
        StepClock();
    }
}

void TGLCadencer::StepClock()
{
    const std::shared_ptr<bool> alive = FAlive;
    const double lastCurrentTime = FCurrentTime;
    double newTime = GetCurrentTime();
    if (!std::isfinite(newTime)) {
        // A clock at infinity (or not a number) would step for ever: time stands still.
        FCurrentTime = lastCurrentTime;
        return;
    }
    double delta = newTime - FLastTime;
    if (delta < FMinDeltaTime || delta < FFixedDeltaTime) {
        return;
    }
    if (FMaxDeltaTime > 0 && delta > FMaxDeltaTime) {
        // The time beyond the maximum is dropped from the clock.
        FOriginTime += (delta - FMaxDeltaTime) / FTimeMultiplier;
        delta = FMaxDeltaTime;
        newTime = FLastTime + delta;
    }
    double total = delta;
    const double step = FFixedDeltaTime > 0 ? FFixedDeltaTime : delta;
    for (int steps = 1; total >= step; ++steps) {
        if (steps > MaxStepsPerProgress) {
            FOriginTime += (newTime - FLastTime) / FTimeMultiplier;
            break;
        }
        FLastTime += step;
        if (FScene && step != 0) {
            const auto sceneGuard = CounterForScope(FProgressing, -FProgressing, alive);
            FScene->DoProgress(TProgressTimes{step, FLastTime});
        }
        if (!*alive) {
            return;
        }
        if (OnProgress) {
            // A copy: the handler may replace the event or free the cadencer.
            const TProgressEvent handler = OnProgress;
            handler(this, step, newTime);
            if (!*alive) {
                return;
            }
        }
        if (step <= 0) {
            break;
        }
        total -= step;
    }
}

void TGLCadencer::RestartTimeSource()
{
    if (FLoading) {
        return;
    }
    if ((FMode == cmASAP || FMode == cmApplicationIdle) && FScene && FEnabled) {
        StartTimeSource();
    } else {
        StopTimeSource();
    }
}

void TGLCadencer::StartTimeSource()
{
    if (FMode == cmASAP) {
        TASAPHandler::Append(this);
    } else if (FMode == cmApplicationIdle) {
        if (IEventLoop* loop = GetEventLoop()) {
            loop->SetIdleHandler([this](bool& done) { OnIdleEvent(done); });
            gIdleOwner = this;
        }
    }
}

void TGLCadencer::StopTimeSource()
{
    if (FMode == cmASAP) {
        TASAPHandler::Forget(this);
    } else if (FMode == cmApplicationIdle) {
        // Only our own handler: another cadencer may have taken the hook since.
        IEventLoop* loop = GetEventLoop();
        if (gIdleOwner == this && loop) {
            loop->SetIdleHandler(nullptr);
        }
        if (gIdleOwner == this) {
            gIdleOwner = nullptr;
        }
    }
}

void TGLCadencer::OnIdleEvent(bool& done)
{
    Progress();
    done = false;
}
