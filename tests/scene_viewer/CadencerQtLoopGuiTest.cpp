#include "../support/DemoScene.h"
#include "../support/QtTestApp.h"

#include "platform/gui/QtEventLoop.h"
#include "scene/Cadencer.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

namespace {

TEST(CadencerQtLoopGui, ASAPModeStepsFromTheQtLoopUntilDisabled)
{
    testsupport::EnsureQApplication();
    TQtEventLoop loop;
    TEventLoopScope scope(&loop);
    testsupport::TDemoScene scene;
    TGLCadencer cadencer;
    int steps = 0;
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

TEST(CadencerQtLoopGui, IdleModeStepsWhileTheLoopWaits)
{
    testsupport::EnsureQApplication();
    TQtEventLoop loop;
    TEventLoopScope scope(&loop);
    testsupport::TDemoScene scene;
    TGLCadencer cadencer;
    cadencer.SetMode(cmApplicationIdle);
    int steps = 0;
    cadencer.OnProgress = [&](TObject*, double, double) { ++steps; };
    cadencer.SetScene(&scene.world);
    QEventLoop nested;
    QTimer::singleShot(50, &nested, &QEventLoop::quit);
    nested.exec();
    EXPECT_GT(steps, 0);
    cadencer.SetMode(cmManual);
}

} // namespace
