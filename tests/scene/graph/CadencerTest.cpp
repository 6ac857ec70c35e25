#include "platform/core/services/Clock.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/services/ManualEventLoop.h"
#include "scene/graph/Cadencer.h"
#include "scene/graph/WorldInterfaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A scene that records the steps it is given.
class TStepWorld : public TGLAbstractWorld {
    KP_CLASS(TStepWorld, TGLAbstractWorld)
public:
    TStepWorld() : TGLAbstractWorld(nullptr) {}
    void BeginUpdate() override {}
    void EndUpdate() override {}
    TGLBaseSceneObject* ObjectRoot() const override { return nullptr; }
    TGLBaseSceneObject* CameraRoot() const override { return nullptr; }
    void AddLights(TGLBaseSceneObject*) override {}
    void RemoveLights(TGLBaseSceneObject*) override {}
    TGLAbstractWorldBuffer* CurrentBuffer() const override { return nullptr; }
    float CurrentDepthOfView() const override { return 100; }
    void DoProgress(const TProgressTimes& times) override
    {
        steps.push_back(times);
        if (onStep) {
            onStep();
        }
    }

    std::vector<TProgressTimes> steps;
    std::function<void()> onStep;
};

struct TEvent {
    double delta;
    double newTime;
};

// Makes a cadencer step by hand on an external clock.
void MakeManual(TGLCadencer& cadencer)
{
    cadencer.SetMode(cmManual);
    cadencer.SetTimeReference(cmExternal);
}

// A manual cadencer on an external clock that starts at 0.
class CadencerTest : public ::testing::Test {
protected:
    CadencerTest()
    {
        MakeManual(cadencer);
        cadencer.SetScene(&world);
        cadencer.OnProgress = [this](TObject* sender, double delta, double newTime) {
            EXPECT_EQ(sender, &cadencer);
            events.push_back({delta, newTime});
        };
    }
    void At(double seconds)
    {
        cadencer.SetExternalTime(seconds);
        cadencer.Progress();
    }

    TStepWorld world;
    TGLCadencer cadencer;
    std::vector<TEvent> events;
};

// The switch to the external clock keeps the current time continuous, so the clock
// starts a few microseconds above 0.
constexpr double Slack = 1e-3;

TEST_F(CadencerTest, AFreeStepHandsTheWholeDeltaToSceneAndEvent)
{
    At(0.25);
    ASSERT_EQ(world.steps.size(), 1u);
    EXPECT_NEAR(world.steps[0].deltaTime, 0.25, Slack);
    EXPECT_EQ(world.steps[0].newTime, cadencer.LastTime());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].delta, world.steps[0].deltaTime);
    EXPECT_NEAR(events[0].newTime, 0.25, Slack);
    At(0.75);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_NEAR(events[1].delta, 0.5, 1e-12);
}

TEST_F(CadencerTest, FixedStepsAccumulateAndCarryTheRemainder)
{
    cadencer.SetFixedDeltaTime(0.1);
    At(0.35);
    ASSERT_EQ(world.steps.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(world.steps[i].deltaTime, 0.1);
        EXPECT_DOUBLE_EQ(world.steps[i].newTime, 0.1 * (i + 1)) << "last times 0.1 apart";
        EXPECT_NEAR(events[i].newTime, 0.35, Slack) << "the event reports the clock's time";
    }
    At(0.41); // 0.05 carried over plus 0.06 now: one more step, 0.01 left.
    EXPECT_EQ(world.steps.size(), 4u);
    At(0.43); // 0.01 left plus 0.02: below the fixed step, nothing.
    EXPECT_EQ(world.steps.size(), 4u);
    EXPECT_EQ(events.size(), 4u);
}

TEST(CadencerFixedSteps, CountsStepsAcrossCalls)
{
    struct Case {
        double fixed;
        std::vector<double> times;
        std::vector<int> stepsAfterEach;
    };
    const Case cases[] = {{0.1, {0.05, 0.099, 0.15, 0.26}, {0, 0, 1, 2}},
                          {0.5, {2.26}, {4}},
                          {0.25, {0.2, 0.3, 0.55, 1.01}, {0, 1, 2, 4}},
                          {1.0, {0.999, 1.5, 3.001}, {0, 1, 3}}};
    for (const Case& c : cases) {
        TStepWorld world;
        TGLCadencer cadencer;
        MakeManual(cadencer);
        cadencer.SetScene(&world);
        cadencer.SetFixedDeltaTime(c.fixed);
        for (std::size_t i = 0; i < c.times.size(); ++i) {
            cadencer.SetExternalTime(c.times[i]);
            cadencer.Progress();
            EXPECT_EQ(int(world.steps.size()), c.stepsAfterEach[i]) << "fixed " << c.fixed << ", time " << c.times[i];
        }
    }
}

// Steps too small to move the clock, and clocks that are not finite, must not keep
// Progress stepping for ever; a guard ends a runaway loop long after the cap.
TEST(CadencerFixedSteps, ProgressAlwaysReturns)
{
    constexpr int Cap = TGLCadencer::MaxStepsPerProgress;
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double fixed;
        double time;
        int steps;
    };
    const Case cases[] = {{1e-20, 1.0, Cap}, {1e-7, 1.0, Cap}, {0.1, inf, 0}, {0.1, -inf, 0},
                          {0.1, std::nan(""), 0}, {0, inf, 0}, {0, std::nan(""), 0}};
    for (const Case& c : cases) {
        TStepWorld world;
        world.onStep = [&] {
            if (world.steps.size() > 3u * Cap) {
                throw std::runtime_error("Progress does not return");
            }
        };
        TGLCadencer cadencer;
        MakeManual(cadencer);
        cadencer.SetScene(&world);
        cadencer.SetFixedDeltaTime(c.fixed);
        cadencer.SetExternalTime(c.time);
        ASSERT_NO_THROW(cadencer.Progress()) << c.fixed << " " << c.time;
        EXPECT_EQ(int(world.steps.size()), c.steps) << c.fixed << " " << c.time;
        EXPECT_TRUE(std::isfinite(cadencer.CurrentTime()) && std::isfinite(cadencer.LastTime()));
        if (c.steps > 0) { // the time beyond the cap is dropped from the clock, not owed
            EXPECT_NEAR(cadencer.GetCurrentTime(), cadencer.LastTime(), 1e-9);
        }
        // A finite time afterwards steps as usual.
        cadencer.SetExternalTime(std::isfinite(c.time) ? c.time + 0.25 : 0.25);
        ASSERT_NO_THROW(cadencer.Progress());
        EXPECT_GT(int(world.steps.size()), c.steps) << c.fixed << " " << c.time;
    }
}

TEST_F(CadencerTest, MaximumDeltaClampsTheStepAndDropsTheLostTime)
{
    cadencer.SetMaxDeltaTime(0.5);
    At(3.0);
    ASSERT_EQ(world.steps.size(), 1u);
    EXPECT_EQ(world.steps[0].deltaTime, 0.5);
    EXPECT_EQ(events[0].newTime, cadencer.LastTime()) << "the event gets the clamped time";
    EXPECT_NEAR(cadencer.GetCurrentTime(), 0.5, 1e-9) << "2.5 s lost from the clock";
    At(3.1);
    ASSERT_EQ(world.steps.size(), 2u);
    EXPECT_NEAR(world.steps[1].deltaTime, 0.1, 1e-9);
}

TEST_F(CadencerTest, MaximumDeltaWithAMultiplierDropsRawTime)
{
    cadencer.SetMaxDeltaTime(0.5);
    cadencer.SetTimeMultiplier(2);
    At(2.0); // 4 s of scene time at rate 2
    ASSERT_EQ(world.steps.size(), 1u);
    EXPECT_EQ(world.steps[0].deltaTime, 0.5);
    EXPECT_NEAR(cadencer.GetCurrentTime(), 0.5, 1e-9);
}

TEST_F(CadencerTest, DeltaBelowTheMinimumWaitsAndAccumulates)
{
    cadencer.SetMinDeltaTime(0.1);
    At(0.05);
    EXPECT_TRUE(world.steps.empty());
    EXPECT_TRUE(events.empty());
    At(0.12);
    ASSERT_EQ(world.steps.size(), 1u);
    EXPECT_NEAR(world.steps[0].deltaTime, 0.12, Slack);
}

TEST_F(CadencerTest, ReEnablingDoesNotJumpOverTheDisabledTime)
{
    At(1.0);
    cadencer.SetEnabled(false);
    At(5.0);
    EXPECT_EQ(world.steps.size(), 1u) << "a disabled cadencer does not step";
    cadencer.SetExternalTime(11.0);
    cadencer.SetEnabled(true);
    At(11.2);
    ASSERT_EQ(world.steps.size(), 2u);
    EXPECT_NEAR(world.steps[1].deltaTime, 0.2, 1e-9);
}

TEST_F(CadencerTest, RateChangesKeepTheCurrentTimeAndZeroPauses)
{
    At(1.0);
    const double before = cadencer.GetCurrentTime();
    cadencer.SetTimeMultiplier(0);
    EXPECT_FALSE(cadencer.Enabled());
    cadencer.SetExternalTime(4.0);
    cadencer.SetTimeMultiplier(2);
    EXPECT_TRUE(cadencer.Enabled());
    EXPECT_NEAR(cadencer.GetCurrentTime(), before, 1e-9);
    At(4.5);
    ASSERT_EQ(world.steps.size(), 2u);
    EXPECT_NEAR(world.steps[1].deltaTime, 1.0, 1e-9) << "half a second at rate 2";
    const double now = cadencer.GetCurrentTime();
    cadencer.SetTimeMultiplier(0.5);
    EXPECT_NEAR(cadencer.GetCurrentTime(), now, 1e-9);
    cadencer.SetExternalTime(6.5);
    EXPECT_NEAR(cadencer.GetCurrentTime(), now + 1.0, 1e-9);
}

TEST_F(CadencerTest, ReadingTheClockDoesNotChangeTheExternalTime)
{
    cadencer.SetExternalTime(7.0);
    const double first = cadencer.GetCurrentTime();
    EXPECT_EQ(cadencer.GetCurrentTime(), first);
    EXPECT_EQ(cadencer.ExternalTime(), 7.0);
    EXPECT_EQ(cadencer.CurrentTime(), first);
}

TEST_F(CadencerTest, ProgressFromInsideTheSceneStepDoesNothing)
{
    int inner = 0;
    world.onStep = [&] {
        EXPECT_TRUE(cadencer.IsBusy());
        cadencer.SetExternalTime(cadencer.ExternalTime() + 1.0);
        cadencer.Progress();
        ++inner;
    };
    At(0.5);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(world.steps.size(), 1u) << "the nested call made no step";
    EXPECT_EQ(events.size(), 1u);
    EXPECT_FALSE(cadencer.IsBusy());
}

TEST_F(CadencerTest, AnExceptionFromTheSceneLeavesTheCadencerUsable)
{
    world.onStep = [] { throw std::runtime_error("scene failed"); };
    EXPECT_THROW(At(0.5), std::runtime_error);
    EXPECT_FALSE(cadencer.IsBusy());
    world.onStep = nullptr;
    At(1.0);
    EXPECT_EQ(world.steps.size(), 2u);
}

TEST_F(CadencerTest, WithoutASceneOrWithAFreedOneOnlyTheEventFires)
{
    auto* scene = new TStepWorld();
    cadencer.SetScene(scene);
    delete scene;
    EXPECT_EQ(cadencer.Scene(), nullptr);
    At(0.5);
    EXPECT_TRUE(world.steps.empty());
    EXPECT_EQ(events.size(), 1u);
}

TEST(CadencerLifetime, FreedFromItsOwnEventTheRunningProgressReturnsSafely)
{
    auto* cadencer = new TGLCadencer();
    MakeManual(*cadencer);
    cadencer->SetFixedDeltaTime(0.1);
    int calls = 0;
    cadencer->OnProgress = [&](TObject*, double, double) {
        ++calls;
        delete cadencer;
    };
    std::vector<std::string> log;
    auto previous = SetDebugLogSink([&](std::string_view text) { log.emplace_back(text); });
    cadencer->SetExternalTime(1.0);
    cadencer->Progress();
    SetDebugLogSink(previous);
    EXPECT_EQ(calls, 1) << "no step after the cadencer was freed";
    EXPECT_EQ(log, std::vector<std::string>{"TGLCadencer freed while it progresses"});
}

TEST(CadencerClock, ReferenceTimesAreSecondsOfTheirClocks)
{
    TGLCadencer cadencer;
    EXPECT_NEAR(cadencer.GetCurrentTime(), 0, 0.5) << "time 0 is the moment of creation";
    cadencer.SetMode(cmManual);
    cadencer.SetTimeReference(cmRTC);
    EXPECT_NEAR(cadencer.GetRawReferenceTime(), NowAsDateTime() * 86400.0, 2.0);
    cadencer.SetTimeReference(cmPerformanceCounter);
    const double a = cadencer.GetRawReferenceTime();
    EXPECT_GE(cadencer.GetRawReferenceTime(), a);
    cadencer.SetTimeReference(cmExternal);
    cadencer.SetExternalTime(42.5);
    EXPECT_EQ(cadencer.GetRawReferenceTime(), 42.5);
}

// ---- Event-loop driven modes ----

class CadencerLoopTest : public ::testing::Test {
protected:
    // Counts the events of a cadencer on the fixture's scene.
    void Start(TGLCadencer& cadencer, TGLCadencerMode mode = cmASAP)
    {
        cadencer.SetMode(mode);
        cadencer.OnProgress = [this](TObject*, double, double) { ++events; };
        cadencer.SetScene(&world);
    }
    // Disables the cadencer and checks that the ASAP loop frees itself.
    void StopAndDrain(TGLCadencer& cadencer)
    {
        cadencer.SetEnabled(false);
        loop.Drain();
        EXPECT_FALSE(ASAPHandlerExists()) << "the empty loop frees itself";
    }

    TManualEventLoop loop;
    TEventLoopScope scope{&loop};
    TStepWorld world;
    int events = 0;
};

TEST_F(CadencerLoopTest, ASAPRunsWhileEnabledWithASceneAndEndsByItself)
{
    TGLCadencer cadencer;
    EXPECT_FALSE(ASAPHandlerExists()) << "no scene, no loop";
    Start(cadencer);
    EXPECT_TRUE(ASAPHandlerExists());
    EXPECT_EQ(ASAPCadencerCount(), 1);
    EXPECT_EQ(loop.PendingCount(), 1u) << "the first tick is posted";
    for (int i = 0; i < 3; ++i) {
        loop.ProcessPendingEvents();
        EXPECT_EQ(loop.PendingCount(), 1u) << "each tick posts the next";
    }
    EXPECT_GE(events, 3);
    cadencer.SetEnabled(false);
    EXPECT_EQ(ASAPCadencerCount(), 0);
    loop.ProcessPendingEvents();
    EXPECT_FALSE(ASAPHandlerExists()) << "the empty loop frees itself";
    EXPECT_EQ(loop.PendingCount(), 0u);
}

std::int64_t FrozenClock()
{
    return 1000;
}

TEST_F(CadencerLoopTest, AFloodOfTicksInOneMillisecondWaitsForATimer)
{
    loop.clock = FrozenClock;
    SetCadencerTickClock(FrozenClock);
    TGLCadencer cadencer;
    Start(cadencer);
    for (int i = 0; i < 6000 && loop.PendingCount() > 0; ++i) {
        loop.ProcessPendingEvents();
    }
    EXPECT_EQ(events, 5000) << "the 5001st tick in the same millisecond yields";
    EXPECT_EQ(loop.PendingCount(), 0u) << "no tick posted while the timer runs";
    EXPECT_EQ(loop.TimerCount(), 1u);
    loop.AdvanceTimers(1);
    loop.ProcessPendingEvents();
    EXPECT_EQ(events, 5001) << "the timer dispatches";
    EXPECT_EQ(loop.TimerCount(), 0u) << "and is killed";
    EXPECT_EQ(loop.PendingCount(), 1u) << "ticks resume";
    StopAndDrain(cadencer);
    SetCadencerTickClock(nullptr);
}

TEST_F(CadencerLoopTest, ASAPExceptionIsReportedAndDisablesOnlyThatCadencer)
{
    TGLCadencer failing;
    TGLCadencer healthy;
    failing.OnProgress = [](TObject*, double, double) { throw std::runtime_error("handler failed"); };
    failing.SetScene(&world);
    Start(healthy);
    loop.ProcessPendingEvents();
    ASSERT_EQ(loop.exceptions.size(), 1u);
    EXPECT_EQ(loop.exceptions[0], "handler failed");
    EXPECT_FALSE(failing.Enabled());
    EXPECT_TRUE(healthy.Enabled());
    EXPECT_EQ(events, 1);
    loop.ProcessPendingEvents();
    EXPECT_EQ(events, 2);
    EXPECT_EQ(loop.exceptions.size(), 1u);
    StopAndDrain(healthy);
}

TEST_F(CadencerLoopTest, ASAPCadencersStopWhenTheApplicationTerminates)
{
    TGLCadencer cadencer;
    Start(cadencer);
    loop.terminating = true;
    loop.ProcessPendingEvents();
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(cadencer.Enabled());
    loop.Drain();
    EXPECT_FALSE(ASAPHandlerExists());
}

TEST_F(CadencerLoopTest, FreeingAnASAPCadencerTakesItOutOfTheLoopAndManualModeNeverEnters)
{
    auto* cadencer = new TGLCadencer();
    cadencer->SetScene(&world);
    EXPECT_EQ(ASAPCadencerCount(), 1);
    delete cadencer;
    EXPECT_EQ(ASAPCadencerCount(), 0);
    loop.Drain();
    EXPECT_FALSE(ASAPHandlerExists());
    TGLCadencer manual;
    Start(manual, cmManual);
    EXPECT_FALSE(ASAPHandlerExists());
    EXPECT_FALSE(loop.HasIdleHandler());
    EXPECT_EQ(loop.PendingCount(), 0u);
}

TEST_F(CadencerLoopTest, IdleModeStepsOnEveryIdleCallAndKeepsThemComing)
{
    TGLCadencer cadencer;
    cadencer.SetMode(cmApplicationIdle);
    EXPECT_FALSE(loop.HasIdleHandler()) << "no scene yet";
    Start(cadencer, cmApplicationIdle);
    ASSERT_TRUE(loop.HasIdleHandler());
    EXPECT_FALSE(loop.RunIdle()) << "idle processing continues";
    EXPECT_FALSE(loop.RunIdle());
    EXPECT_EQ(events, 2);
    cadencer.SetMode(cmManual);
    EXPECT_FALSE(loop.HasIdleHandler());
}

TEST_F(CadencerLoopTest, StoppingDoesNotClearAnotherCadencersIdleHandler)
{
    TGLCadencer first;
    TGLCadencer second;
    Start(first, cmApplicationIdle);
    Start(second, cmApplicationIdle); // takes the hook
    first.SetEnabled(false);
    EXPECT_TRUE(loop.HasIdleHandler());
    second.SetEnabled(false);
    EXPECT_FALSE(loop.HasIdleHandler());
}

TEST_F(CadencerLoopTest, LoadingDefersTheTimeSource)
{
    TGLCadencer cadencer;
    cadencer.BeginLoading();
    cadencer.SetScene(&world);
    EXPECT_FALSE(ASAPHandlerExists());
    cadencer.Loaded();
    EXPECT_TRUE(ASAPHandlerExists());
    cadencer.SetMode(cmManual);
    loop.Drain();
    EXPECT_FALSE(ASAPHandlerExists());
}

} // namespace
