#pragma once
// Turns a clock into time steps for a scene. Each Progress reads the time source,
// decides a delta time by the minimum, maximum and fixed delta rules, steps the scene
// and fires OnProgress, all inside the call. The preview steps it by hand (cmManual);
// cmASAP drives it from a self-posted event loop that runs as fast as the event queue
// allows, cmApplicationIdle from the event loop's idle hook (platform/core/services/EventLoop.h).
//
// Time only runs while the cadencer is enabled: disabled intervals are cut out of the
// clock, and a multiplier of 0 pauses it the same way.

#include "platform/core/objects/Component.h"
#include "scene/graph/UpdateAble.h"

#include <cstdint>
#include <functional>
#include <memory>

class TGLAbstractWorld;

enum TGLCadencerMode { cmManual, cmASAP, cmApplicationIdle };
enum TGLCadencerTimeReference { cmRTC, cmPerformanceCounter, cmExternal };

class TGLCadencer : public TComponent {
    KP_CLASS(TGLCadencer, TComponent)
public:
    using TProgressEvent = std::function<void(TObject* sender, double deltaTime, double newTime)>;

    explicit TGLCadencer(TComponent* owner = nullptr);
    ~TGLCadencer() override;

    // The scene stepped with every time step; nullptr when none.
    TGLAbstractWorld* Scene() const { return FScene; }
    void SetScene(TGLAbstractWorld* value);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TGLCadencerMode Mode() const { return FMode; }
    void SetMode(TGLCadencerMode value);
    TGLCadencerTimeReference TimeReference() const { return FTimeReference; }
    // The clock stays continuous across the switch: the current time does not jump.
    void SetTimeReference(TGLCadencerTimeReference value);
    double TimeMultiplier() const { return FTimeMultiplier; }
    // 0 pauses (and disables); a later value resumes from the same current time.
    void SetTimeMultiplier(double value);
    // Milliseconds to sleep before each step; negative: none.
    int SleepLength() const { return FSleepLength; }
    void SetSleepLength(int value) { FSleepLength = value; }

    double MinDeltaTime() const { return FMinDeltaTime; }
    void SetMinDeltaTime(double value) { FMinDeltaTime = value; }
    double MaxDeltaTime() const { return FMaxDeltaTime; }
    void SetMaxDeltaTime(double value) { FMaxDeltaTime = value; }
    double FixedDeltaTime() const { return FFixedDeltaTime; }
    void SetFixedDeltaTime(double value) { FFixedDeltaTime = value; }

    // The last computed current time.
    double CurrentTime() const { return FCurrentTime; }
    // With cmExternal, the raw time in seconds that the caller supplies; kept apart
    // from the computed current time so that reading the clock never changes it.
    double ExternalTime() const { return FExternalTime; }
    void SetExternalTime(double value) { FExternalTime = value; }

    // The time of the last step handed out.
    double LastTime() const { return FLastTime; }

    TProgressEvent OnProgress;

    // Seconds of the time reference.
    double GetRawReferenceTime() const;
    // (raw time - origin) x multiplier, stored as CurrentTime.
    double GetCurrentTime();
    // One tick: see the file comment.
    void Progress();
    // True while Progress runs (also while it steps the scene).
    bool IsBusy() const { return FProgressing != 0; }

    // While loading, time-source changes wait for Loaded.
    void BeginLoading() { FLoading = true; }
    void Loaded();

    // The most fixed steps one Progress hands out; the time beyond them is dropped from
    // the clock, so a step too small to move the clock cannot keep Progress running.
    static constexpr int MaxStepsPerProgress = 100000;

    // For the event loop's idle hook: one Progress, then keep the idle calls coming.
    void OnIdleEvent(bool& done);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TASAPHandler;
    void RestartTimeSource();
    void StartTimeSource();
    void StopTimeSource();
    void StepClock();
    // True when this cadencer (not freed meanwhile) is still in the ASAP list.
    static bool InASAPList(const TGLCadencer* cadencer);

    TGLAbstractWorld* FScene = nullptr;
    double FTimeMultiplier = 1;
    double FLastTime = 0;
    double FDownTime = 0;
    double FLastMultiplier = 1;
    bool FEnabled = false;
    int FSleepLength = -1;
    TGLCadencerMode FMode = cmManual;
    TGLCadencerTimeReference FTimeReference = cmPerformanceCounter;
    double FCurrentTime = 0;
    double FExternalTime = 0;
    double FOriginTime = 0;
    double FMaxDeltaTime = 0;
    double FMinDeltaTime = 0;
    double FFixedDeltaTime = 0;
    // > 0 while Progress runs, negated while the scene is being stepped.
    int FProgressing = 0;
    bool FLoading = false;
    // Reads false once the cadencer is freed, so a Progress whose handler freed it
    // returns without touching it.
    std::shared_ptr<bool> FAlive;
};

// The event type posted to keep the ASAP loop going ("TickGLCadencer"); 0 without an
// event loop.
int CadencerTickEventType();
// How many cadencers the ASAP loop currently drives (nil entries not counted).
int ASAPCadencerCount();
// True while the ASAP loop exists.
bool ASAPHandlerExists();
// The millisecond clock the ASAP loop compares tick times with, to notice a flood of
// ticks within one millisecond; nullptr restores the real one. Tests freeze it.
void SetCadencerTickClock(std::int64_t (*clock)());
