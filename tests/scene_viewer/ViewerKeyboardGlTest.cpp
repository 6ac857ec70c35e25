// The viewer's native window holds the keyboard only while the viewer has the focus: a
// control focused at once after the viewer keeps the focus and the keyboard on the X
// server, where the window system's answer to the viewer's request came after it; the
// viewer focused alone keeps the keyboard. On the X server, without a window manager.

#include "../support/SettledViewer.h"
#include "../support/SettledWindow.h"

#include "platform/core/services/ManualEventLoop.h"
#include "platform/gui/X11InputFocus.h"
#include "scene/viewer/WorldViewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <memory>
#include <optional>

namespace {

// A viewer above a line edit in a top-level window with the keyboard.
class ViewerKeyboardGl : public ::testing::Test {
protected:
    ViewerKeyboardGl()
    {
        testsupport::EnsureQApplication();
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            return;
        }
        top = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(top.get());
        viewer = std::make_unique<TGLWorldViewer>(top.get());
        layout->addWidget(viewer->Widget());
        edit = new QLineEdit(top.get());
        layout->addWidget(edit);
        top->resize(200, 200);
        top->show();
    }
    ~ViewerKeyboardGl() override
    {
        viewer.reset();
        top.reset();
    }
    void SetUp() override
    {
        if (!viewer) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        ASSERT_TRUE(testsupport::WaitForSettledViewer(*viewer));
        top->activateWindow();
        edit->setFocus();
        ASSERT_TRUE(testsupport::WaitFor([&] { return KeyboardIn(top->windowHandle()) && edit->hasFocus(); }));
    }

    // The X server's keyboard and Qt's focus window are both `window`'s.
    static bool KeyboardIn(QWindow* window)
    {
        const std::optional<TX11InputFocus> focus = ReadX11InputFocus();
        return focus && focus->Window == window->winId() && QGuiApplication::focusWindow() == window;
    }

    TManualEventLoop loop;
    TEventLoopScope scope{&loop};
    std::unique_ptr<QWidget> top;
    std::unique_ptr<TGLWorldViewer> viewer;
    QLineEdit* edit = nullptr;
};

TEST_F(ViewerKeyboardGl, AControlFocusedAtOnceAfterTheViewerKeepsTheKeyboard)
{
    viewer->Widget()->setFocus();
    edit->setFocus();
    EXPECT_TRUE(testsupport::WaitFor([&] { return KeyboardIn(top->windowHandle()) && edit->hasFocus(); }))
        << (KeyboardIn(viewer->Window()) ? "the viewer holds the keyboard" : "no window holds it");
}

TEST_F(ViewerKeyboardGl, TheViewerFocusedAloneHoldsTheKeyboard)
{
    viewer->Widget()->setFocus();
    ASSERT_TRUE(testsupport::WaitFor([&] { return KeyboardIn(viewer->Window()); }));
    testsupport::RunEventLoopPast(std::chrono::milliseconds(200));
    EXPECT_TRUE(KeyboardIn(viewer->Window()));
    // A click on the line edit takes it back, as before.
    edit->setFocus();
    EXPECT_TRUE(testsupport::WaitFor([&] { return KeyboardIn(top->windowHandle()) && edit->hasFocus(); }));
}

} // namespace
