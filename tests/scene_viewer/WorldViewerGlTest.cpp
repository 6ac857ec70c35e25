#include "../support/DemoScene.h"
#include "../support/SettledViewer.h"

#include "platform/core/services/ManualEventLoop.h"
#include "scene/viewer/WorldViewer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <memory>

// Raw Xlib last: its macros clash with the headers above.
#include "scene/viewer/GLXSupport.h"

namespace {

using testsupport::TDemoScene;
using testsupport::WaitFor;
using testsupport::WaitForSettledViewer;

// The demo scene in a viewer filling a 160 x 120 top-level window under Xvfb.
class WorldViewerGl : public ::testing::Test {
protected:
    WorldViewerGl()
    {
        testsupport::EnsureQApplication();
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            return;
        }
        top = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(top.get());
        layout->setContentsMargins(0, 0, 0, 0);
        viewer = std::make_unique<TGLWorldViewer>(top.get());
        layout->addWidget(viewer->Widget());
        viewer->Buffer().SetBackgroundColor(testsupport::DemoBackground);
        viewer->SetCamera(scene.camera);
        top->resize(160, 120);
        top->move(40, 40);
        top->show();
    }
    ~WorldViewerGl() override
    {
        viewer.reset();
        top.reset();
    }
    void SetUp() override
    {
        if (!viewer) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        ASSERT_TRUE(WaitForSettledViewer(*viewer));
        ASSERT_TRUE(viewer->Buffer().RCInstantiated());
    }
    // The window's pixels as the X server shows them after the last frame: the context
    // draws over a connection of its own, which the server has caught up with once it
    // answers on it.
    QImage Grab()
    {
        XSync(X11Display(), False);
        return viewer->Window()->screen()->grabWindow(viewer->Window()->winId()).toImage();
    }
    static void ExpectNear(QRgb actual, int r, int g, int b, int tolerance, const char* where)
    {
        EXPECT_LE(std::abs(qRed(actual) - r), tolerance) << where << " red " << qRed(actual);
        EXPECT_LE(std::abs(qGreen(actual) - g), tolerance) << where << " green " << qGreen(actual);
        EXPECT_LE(std::abs(qBlue(actual) - b), tolerance) << where << " blue " << qBlue(actual);
    }

    TManualEventLoop loop;
    TEventLoopScope scope{&loop};
    TDemoScene scene;
    std::unique_ptr<QWidget> top;
    std::unique_ptr<TGLWorldViewer> viewer;
};

TEST_F(WorldViewerGl, TheWindowShowsTheLitSquareOnTheBackground)
{
    EXPECT_EQ(viewer->Width(), 160);
    EXPECT_EQ(viewer->Height(), 120);
    const QImage image = Grab();
    ASSERT_EQ(image.width(), 160);
    ASSERT_EQ(image.height(), 120);
    ExpectNear(image.pixel(80, 60), 255, 128, 0, 8, "centre");
    ExpectNear(image.pixel(3, 3), 0, 0, 255, 0, "upper left corner");
    ExpectNear(image.pixel(156, 116), 0, 0, 255, 0, "lower right corner");
    EXPECT_TRUE(loop.exceptions.empty());
}

TEST_F(WorldViewerGl, ASceneChangeRepaintsTheWindow)
{
    const int before = viewer->PaintCount();
    scene.light->SetShining(false);
    ASSERT_TRUE(WaitFor([&] { return viewer->PaintCount() > before; }));
    ExpectNear(Grab().pixel(80, 60), 0, 0, 0, 8, "the unlit square");
}

TEST_F(WorldViewerGl, AFrameInWhichOnlyTheDynamicLayerMovedStartsFromTheKeptPicture)
{
    scene.world.AddToDynamicLayer(scene.square);
    viewer->Paint();
    EXPECT_FALSE(viewer->Buffer().LastFrameFromStaticCopy());
    // 0.7 units are 28 pixels to the right.
    scene.square->Position().SetPoint(0.7f, 0, 0);
    viewer->Paint();
    EXPECT_TRUE(viewer->Buffer().LastFrameFromStaticCopy());
    const QImage image = Grab();
    ExpectNear(image.pixel(80, 60), 0, 0, 255, 0, "the square's old place");
    ExpectNear(image.pixel(108, 60), 255, 128, 0, 16, "its new place");
}

TEST_F(WorldViewerGl, AStructuralChangeRemakesTheContextAndDrawsAgain)
{
    viewer->Buffer().SetContextOptions(viewer->Buffer().ContextOptions() | ContextOption(roStencilBuffer));
    EXPECT_EQ(viewer->RecreateCount(), 1);
    const int before = viewer->PaintCount();
    ASSERT_TRUE(WaitFor([&] { return viewer->Buffer().RCInstantiated() && viewer->PaintCount() > before; }));
    // The picture, once the new native window is shown: a frame drawn before the server
    // mapped it shows nowhere.
    ASSERT_TRUE(WaitForSettledViewer(*viewer));
    ExpectNear(Grab().pixel(80, 60), 255, 128, 0, 8, "centre after the new context");
}

TEST_F(WorldViewerGl, AFailedContextIsReportedOnceNotOnEveryPaint)
{
    // No configuration offers 128-bit float colour with a 64-bit accumulation buffer here.
    viewer->Buffer().SetAccumBufferBits(64);
    viewer->Buffer().SetColorDepth(cdFloat128bits);
    if (viewer->Buffer().RCInstantiated()) {
        GTEST_SKIP() << "this server offers such a configuration";
    }
    const std::size_t reported = loop.exceptions.size();
    EXPECT_GE(reported, 1u);
    viewer->Paint();
    viewer->Paint();
    EXPECT_EQ(loop.exceptions.size(), reported) << "not retried on every paint";
    viewer->Buffer().SetColorDepth(cdDefault);
    viewer->Buffer().SetAccumBufferBits(0);
    EXPECT_TRUE(viewer->Buffer().RCInstantiated()) << "a new window tries again";
}

TEST_F(WorldViewerGl, MovingTheWindowResizesTheBufferOnTheNextPaint)
{
    const int resizes = viewer->ResizeCount();
    top->move(90, 70);
    ASSERT_TRUE(testsupport::WaitForSettledWindow(*top, [&] { return top->pos() == QPoint(90, 70); }));
    viewer->Paint();
    ASSERT_TRUE(WaitFor([&] { return viewer->ResizeCount() > resizes; }));
    EXPECT_EQ(viewer->Buffer().Width(), 160);
}

// The server may expose a grown window before Qt hears of its new size; the paint of
// that exposure draws at the old size, so the size itself must bring another paint (a
// maximised window's preview stayed half black).
TEST_F(WorldViewerGl, ANewSizeAloneBringsAPaintAtThatSize)
{
    // The fixture's viewer has settled: no frame is due but the one the size brings.
    const int before = viewer->PaintCount();
    QResizeEvent resized(viewer->Window()->size(), viewer->Window()->size());
    QCoreApplication::sendEvent(viewer->Window(), &resized);
    EXPECT_TRUE(WaitFor([&] { return viewer->PaintCount() > before; }));
    EXPECT_EQ(viewer->Buffer().Width(), viewer->Window()->width());
}

TEST_F(WorldViewerGl, VSyncTakesEffectAtTheNextFrame)
{
    if (!WGLExt.EXT_swap_control) {
        GTEST_SKIP() << "no swap control";
    }
    EXPECT_EQ(viewer->AppliedSwapInterval(), 0);
    viewer->SetVSync(vsmSync);
    EXPECT_EQ(viewer->AppliedSwapInterval(), 0) << "not at once";
    viewer->Paint();
    EXPECT_EQ(viewer->AppliedSwapInterval(), 1);
}

} // namespace
