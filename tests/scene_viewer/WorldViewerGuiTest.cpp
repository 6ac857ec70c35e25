#include "../support/DemoScene.h"
#include "../support/SettledViewer.h"

#include "platform/core/services/ManualEventLoop.h"
#include "scene/viewer/WorldViewer.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <array>
#include <memory>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using testsupport::TDemoScene;

class WorldViewerGui : public ::testing::Test {
protected:
    WorldViewerGui()
    {
        testsupport::EnsureQApplication();
        viewer = std::make_unique<TGLWorldViewer>();
    }
    void Send(QEvent& event) { QCoreApplication::sendEvent(viewer->Window(), &event); }
    void SendMouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, QPointF(x, y), QPointF(x, y), button, buttons, modifiers);
        Send(event);
    }

    TManualEventLoop loop;
    TEventLoopScope scope{&loop};
    std::unique_ptr<TGLWorldViewer> viewer;
};

TEST_F(WorldViewerGui, MouseButtonsReachTheShellsHandlers)
{
    struct TPress {
        TMouseButton button;
        TShiftState shift;
        int x, y;
    };
    std::vector<TPress> downs;
    std::vector<TPress> ups;
    int clicks = 0;
    viewer->OnMouseDown = [&](TObject* sender, TMouseButton b, TShiftState s, int x, int y) {
        EXPECT_EQ(sender, viewer.get());
        downs.push_back({b, s, x, y});
    };
    viewer->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) { ups.push_back({b, s, x, y}); };
    viewer->OnClick = [&](TObject*) { ++clicks; };

    SendMouse(QEvent::MouseButtonPress, 10, 20, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    SendMouse(QEvent::MouseButtonRelease, 11, 21, Qt::RightButton, Qt::NoButton);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, mbRight);
    EXPECT_EQ(downs[0].x, 10);
    EXPECT_EQ(downs[0].y, 20);
    EXPECT_TRUE(downs[0].shift.Contains(TShiftState::ssShift));
    EXPECT_TRUE(downs[0].shift.Contains(TShiftState::ssRight));
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].x, 11);
    EXPECT_EQ(clicks, 0) << "a right button makes no click";

    SendMouse(QEvent::MouseButtonPress, 5, 5, Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, 5, 5, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs.back().button, mbLeft);
}

TEST_F(WorldViewerGui, MoveWheelAndDoubleClickReachTheirHandlers)
{
    std::vector<std::array<int, 2>> moves;
    int wheelDelta = 0;
    int doubles = 0;
    viewer->OnMouseMove = [&](TObject*, TShiftState shift, int x, int y) {
        EXPECT_TRUE(shift.Contains(TShiftState::ssLeft));
        moves.push_back({x, y});
    };
    viewer->OnMouseWheel = [&](TObject*, TShiftState shift, int delta, int, int, bool& handled) {
        EXPECT_TRUE(shift.Contains(TShiftState::ssCtrl));
        wheelDelta += delta;
        handled = true;
    };
    viewer->OnDblClick = [&](TObject*) { ++doubles; };
    SendMouse(QEvent::MouseMove, 30, 40, Qt::NoButton, Qt::LeftButton);
    QWheelEvent wheel(QPointF(1, 2), QPointF(1, 2), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    Send(wheel);
    EXPECT_TRUE(wheel.isAccepted());
    SendMouse(QEvent::MouseButtonDblClick, 1, 1, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(moves, (std::vector<std::array<int, 2>>{{30, 40}}));
    EXPECT_EQ(wheelDelta, -120);
    EXPECT_EQ(doubles, 1);
}

TEST_F(WorldViewerGui, EnterAndLeaveSetTheFlagAndTellTheShell)
{
    std::vector<std::string> seen;
    viewer->OnMouseEnter = [&](TObject*) { seen.push_back("enter"); };
    viewer->OnMouseLeave = [&](TObject*) { seen.push_back("leave"); };
    EXPECT_FALSE(viewer->MouseInside());
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    Send(enter);
    EXPECT_TRUE(viewer->MouseInside());
    QEvent leave(QEvent::Leave);
    Send(leave);
    EXPECT_FALSE(viewer->MouseInside());
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(WorldViewerGui, AHandlerThatRaisesIsReportedNotPropagated)
{
    viewer->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw std::runtime_error("handler"); };
    EXPECT_NO_THROW(SendMouse(QEvent::MouseButtonPress, 1, 1, Qt::LeftButton, Qt::LeftButton));
    EXPECT_EQ(loop.exceptions, std::vector<std::string>{"handler"});
}

TEST_F(WorldViewerGui, FieldOfViewUsesTheSmallerSideAndNeedsACameraWhichIsForgottenWhenFreed)
{
    EXPECT_EQ(viewer->FieldOfView(), 0);
    viewer->SetFieldOfView(90);
    auto scene = std::make_unique<TDemoScene>();
    viewer->SetCamera(scene->camera);
    ASSERT_EQ(viewer->Camera(), scene->camera);
    viewer->Window()->resize(200, 100);
    viewer->SetFieldOfView(90);
    EXPECT_NEAR(scene->camera->FocalLength(), 50, 1e-3) << "100 pixels across 90 degrees";
    EXPECT_NEAR(viewer->FieldOfView(), 90, 1e-3);
    scene.reset(); // a freed camera is forgotten
    EXPECT_EQ(viewer->Camera(), nullptr);
}

TEST_F(WorldViewerGui, ABufferChangeRequestsOnePaint)
{
    TDemoScene scene;
    viewer->SetCamera(scene.camera);
    viewer->Widget()->show();
    // Shown and painted, no frame left to come.
    ASSERT_TRUE(testsupport::WaitForSettledViewer(*viewer));
    const int before = viewer->PaintCount();
    // Off screen there is no context, so the buffer never joins the scene: the
    // buffer's own change stands in for a scene change here.
    viewer->Buffer().SetBackgroundColor(clRed);
    EXPECT_TRUE(testsupport::WaitFor([&] { return viewer->PaintCount() > before; }));
    // A second frame asked would come a refresh interval later, well inside this time.
    testsupport::RunEventLoopPast(std::chrono::milliseconds(50));
    EXPECT_EQ(viewer->PaintCount(), before + 1) << "one change, one frame";
    viewer->SetCamera(nullptr);
}

TEST_F(WorldViewerGui, AStructuralOptionRemakesTheWindow)
{
    viewer->Buffer().SetContextOptions(viewer->Buffer().ContextOptions());
    EXPECT_EQ(viewer->RecreateCount(), 0);
    viewer->Buffer().SetContextOptions(viewer->Buffer().ContextOptions() | ContextOption(roStencilBuffer));
    EXPECT_EQ(viewer->RecreateCount(), 1);
    EXPECT_NE(viewer->Window()->handle(), nullptr) << "a native window again";
}

TEST_F(WorldViewerGui, AnEmptyViewerPaintsNothingAndRaisesNothing)
{
    EXPECT_EQ(viewer->Widget()->width(), 100) << "widget and buffer start at the same size";
    EXPECT_EQ(viewer->Buffer().Width(), 100);
    viewer->Window()->resize(0, 50);
    const int before = viewer->PaintCount();
    EXPECT_NO_THROW(viewer->Paint());
    EXPECT_EQ(viewer->PaintCount(), before);
    EXPECT_TRUE(loop.exceptions.empty());
}

} // namespace
