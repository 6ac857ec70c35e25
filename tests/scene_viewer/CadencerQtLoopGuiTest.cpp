#include "../support/DemoScene.h"
#include "../support/SettledWindow.h"

#include "platform/gui/QtEventLoop.h"
#include "scene/graph/Cadencer.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

namespace {

// A cadencer on the demo scene, driven by the Qt event loop.
class CadencerQtLoopGui : public ::testing::Test {
protected:
    bool app = (testsupport::EnsureQApplication(), true); // before the loop
    TQtEventLoop loop;
    TEventLoopScope scope{&loop};
    testsupport::TDemoScene scene;
    TGLCadencer cadencer;
    int steps = 0;
};

TEST_F(CadencerQtLoopGui, ASAPModeStepsFromTheQtLoopUntilDisabled)
{
    double lastNewTime = -1;
    cadencer.OnProgress = [&](TObject*, double delta, double newTime) {
        EXPECT_GE(delta, 0);
        EXPECT_GE(newTime, lastNewTime);
        lastNewTime = newTime;
        ++steps;
    };
    cadencer.SetScene(&scene.world);
    EXPECT_TRUE(testsupport::WaitFor([&] { return steps >= 5; }));
    cadencer.SetEnabled(false);
    EXPECT_TRUE(testsupport::WaitFor([] { return !ASAPHandlerExists(); }));
    const int after = steps;
    testsupport::RunEventLoopPast(std::chrono::milliseconds(30));
    EXPECT_EQ(steps, after) << "a disabled cadencer is not stepped";
}

TEST_F(CadencerQtLoopGui, IdleModeStepsWhileTheLoopWaits)
{
    // A loop that waits for events, ended by the first step or by a deadline that fails
    // the test.
    QEventLoop nested;
    cadencer.SetMode(cmApplicationIdle);
    cadencer.OnProgress = [&](TObject*, double, double) {
        ++steps;
        nested.quit();
    };
    cadencer.SetScene(&scene.world);
    QTimer::singleShot(testsupport::StateTimeoutMs, &nested, &QEventLoop::quit);
    if (steps == 0) {
        nested.exec();
    }
    EXPECT_GT(steps, 0);
    cadencer.SetMode(cmManual);
}

} // namespace
