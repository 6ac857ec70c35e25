// The keyboard given back on a real X display where Qt's account of it lags the X
// server's: a window given the keyboard and hidden in one pass goes before Qt has heard
// of either, and only the X server can say that the keyboard is left with no window.

#include "app/shell/KeyboardReturn.h"

#include "../X11KeysSupport.h"
#include "../../support/QtTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

using testsupport::HasKeyboard;
using testsupport::KeyboardState;

class KeyboardReturnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        // A window manager gives the keyboard when it answers the request, after the
        // window has gone, and decides itself where it goes then.
        const char* manager = std::getenv("KERFPAD_TEST_WINDOW_MANAGER");
        if (manager != nullptr && std::string(manager) != "none") {
            GTEST_SKIP() << "without a window manager only: the X server gives the keyboard at once";
        }
    }

    // Shows `window` with the keyboard, as a click would, once all agree it has it.
    static bool Activate(QWidget& window)
    {
        window.show();
        window.raise();
        window.activateWindow();
        return testsupport::WaitFor([&] { return HasKeyboard(window); });
    }

    // Shows `window` without the keyboard, on the screen.
    static bool ShowWithoutKeyboard(QWidget& window)
    {
        window.setAttribute(Qt::WA_ShowWithoutActivating);
        window.show();
        return testsupport::WaitFor([&] { return window.windowHandle()->isExposed(); });
    }
};

TEST_F(KeyboardReturnX11, AWindowGivenTheKeyboardAndHiddenAtOnceGivesItBack)
{
    struct TWindows {
        QWidget Main;
        QDialog Dialog{&Main};
        QDialog Box{&Dialog};
    };
    const struct {
        const char* What;
        // Shows windows; answers the one then given the keyboard and hidden.
        std::function<QWidget*(TWindows&)> Arrange;
        // The window with the keyboard after the hide.
        std::function<QWidget*(TWindows&)> Heir;
    } cases[] = {
        {"a dialog over the main window",
         [](TWindows& w) { return ShowWithoutKeyboard(w.Dialog) ? &w.Dialog : nullptr; },
         [](TWindows& w) { return &w.Main; }},
        {"a box over a dialog",
         [](TWindows& w) { return Activate(w.Dialog) && ShowWithoutKeyboard(w.Box) ? &w.Box : nullptr; },
         [](TWindows& w) { return &w.Dialog; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const auto windows = std::make_unique<TWindows>();
        windows->Main.resize(400, 300);
        windows->Dialog.resize(200, 150);
        windows->Box.resize(120, 80);
        ASSERT_TRUE(Activate(windows->Main)) << KeyboardState();
        const TKeyboardReturn hook(windows->Main);
        QWidget* hidden = c.Arrange(*windows);
        ASSERT_NE(hidden, nullptr) << KeyboardState();
        // Qt's focus window is still the one before as the window hides.
        hidden->activateWindow();
        hidden->hide();
        QWidget* heir = c.Heir(*windows);
        EXPECT_TRUE(testsupport::WaitFor([&] { return HasKeyboard(*heir); })) << KeyboardState();
    }
}

} // namespace
