#include "../support/DemoScene.h"
#include "../support/QtTestApp.h"

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
    testsupport::WaitFor([] { return false; }, 30);
    EXPECT_EQ(steps, after) << "a disabled cadencer is not stepped";
}

TEST_F(CadencerQtLoopGui, IdleModeStepsWhileTheLoopWaits)
{
    cadencer.SetMode(cmApplicationIdle);
    cadencer.OnProgress = [&](TObject*, double, double) { ++steps; };
    cadencer.SetScene(&scene.world);
    QEventLoop nested;
    QTimer::singleShot(50, &nested, &QEventLoop::quit);
    nested.exec();
    EXPECT_GT(steps, 0);
    cadencer.SetMode(cmManual);
}

} // namespace
