// Where the keyboard goes when a window that had it hides: the offscreen platform, like
// the X server without a window manager, leaves it with no window of the application.

#include "app/shell/KeyboardReturn.h"

#include "../../support/QtTestApp.h"
#include "../../support/SettledWindow.h"
#include "../../support/WithoutTypeInfo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

// Hides a window when the one it watches hides.
class THidesOnHide : public QObject {
public:
    explicit THidesOnHide(QWidget& hides) : FHides(hides) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            FHides.hide();
        }
        return false;
    }

private:
    QWidget& FHides;
};

class KeyboardReturnGui : public ::testing::Test {
protected:
    KeyboardReturnGui() { testsupport::EnsureQApplication(); }

    // Shows `window` with the keyboard, as a click would.
    static bool Activate(QWidget& window)
    {
        window.show();
        window.activateWindow();
        return HasKeyboard(&window);
    }

    static bool HasKeyboard(const QWidget* window)
    {
        return testsupport::WaitFor([&] { return QApplication::activeWindow() == window; });
    }
};

TEST_F(KeyboardReturnGui, AHiddenWindowGivesTheKeyboardToTheWindowItCameFrom)
{
    struct TWindows {
        QWidget Main;
        QDialog Dialog{&Main};
        QDialog Box{&Dialog};
        QWidget Other;
        QWidget Popup{nullptr, Qt::Popup}; // as a completion list, of no window
        THidesOnHide PopupGoesWithDialog{Popup};
        TWithoutTypeInfo Foreign;
    };
    const struct {
        const char* What;
        // Shows windows and answers the one to hide then; the keyboard is in it.
        std::function<QWidget*(TWindows&)> Arrange;
        // The window with the keyboard after the hide.
        std::function<QWidget*(TWindows&)> Heir;
    } cases[] = {
        {"a dialog", [](TWindows& w) { return Activate(w.Dialog) ? &w.Dialog : nullptr; },
         [](TWindows& w) { return &w.Main; }},
        {"a box over a dialog",
         [](TWindows& w) { return Activate(w.Dialog) && Activate(w.Box) ? &w.Box : nullptr; },
         [](TWindows& w) { return &w.Dialog; }},
        // The other window has no parent: past the dialog it had the keyboard from,
        // gone since, the main window takes it.
        {"a window after one that has gone",
         [](TWindows& w) {
             const bool shown = Activate(w.Dialog) && Activate(w.Other);
             w.Dialog.hide();
             return shown ? &w.Other : nullptr;
         },
         [](TWindows& w) { return &w.Main; }},
        {"a window after one that takes no keyboard",
         [](TWindows& w) {
             const bool shown = Activate(w.Other);
             w.Other.windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, true);
             return shown && Activate(w.Dialog) ? &w.Dialog : nullptr;
         },
         [](TWindows& w) { return &w.Main; }},
        // Hidden after the keyboard went to another window, it leaves it there.
        {"a dialog without the keyboard",
         [](TWindows& w) { return Activate(w.Dialog) && Activate(w.Other) ? &w.Dialog : nullptr; },
         [](TWindows& w) { return &w.Other; }},
        {"a window without type information",
         [](TWindows& w) {
             // Only its own code calls it: the sanitizers check a call against the
             // type record it lacks.
             w.Foreign.Show(QSize(100, 80));
             w.Foreign.Activate();
             return HasKeyboard(w.Foreign.Widget()) ? w.Foreign.Widget() : nullptr;
         },
         [](TWindows& w) { return &w.Main; }},
        // The pop-up only grabs the keyboard from the dialog, which closes under it; the
        // pop-up goes at once after, as a completion list whose Return closed its dialog.
        {"a dialog whose pop-up has the keyboard",
         [](TWindows& w) {
             const bool shown = Activate(w.Dialog);
             w.Popup.show();
             const bool grabbed =
                 testsupport::WaitFor([&] { return QGuiApplication::focusWindow() == w.Popup.windowHandle(); });
             w.Dialog.installEventFilter(&w.PopupGoesWithDialog);
             return shown && grabbed ? &w.Dialog : nullptr;
         },
         [](TWindows& w) { return &w.Main; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const auto windows = std::make_unique<TWindows>();
        ASSERT_TRUE(Activate(windows->Main));
        const TKeyboardReturn hook(windows->Main);
        QWidget* hidden = c.Arrange(*windows);
        ASSERT_NE(hidden, nullptr);
        if (hidden == windows->Foreign.Widget())
            windows->Foreign.Hide();
        else
            hidden->hide();
        // An activation asked for has arrived by then.
        ASSERT_TRUE(testsupport::DeliverPostedEvents());
        QWidget* heir = c.Heir(*windows);
        EXPECT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == heir; }))
            << (QApplication::activeWindow() != nullptr ? "another window" : "no window") << " has the keyboard";
    }
}

} // namespace
