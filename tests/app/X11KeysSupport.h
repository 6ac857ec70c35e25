#pragma once
// Keys and clicks on a real X display, as a user's reach the application (XTest, through
// xdotool), so that window managers see them, and the steps of a user who waits for
// what each key brings before pressing the next: run from a timer, the steps go on
// inside the modal loops that their keys open.

#include "app/shell/WindowFrame.h"
#include "platform/gui/X11InputFocus.h"

#include "../support/QtTestApp.h"
#include "../support/StateTimeout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

inline bool HaveXdotool()
{
    return std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

// `keys` as xdotool names them ("ctrl+F4 n"), pressed one after another.
inline bool PressKeys(const std::string& keys)
{
    return std::system(("xdotool key --clearmodifiers " + keys).c_str()) == 0;
}

// Letters, digits and the characters of a path.
inline bool TypeText(const std::string& text)
{
    return std::system(("xdotool type --clearmodifiers '" + text + "'").c_str()) == 0;
}

// A left click at `global`, with `modifier` ("ctrl") held if one is given.
inline bool ClickAt(QPoint global, const std::string& modifier = {})
{
    std::string command = "xdotool mousemove " + std::to_string(global.x()) + " " + std::to_string(global.y());
    command += modifier.empty() ? " click 1" : " keydown " + modifier + " click 1 keyup " + modifier;
    return std::system(command.c_str()) == 0;
}

// Whether the window manager, where one runs, takes `window` for the active one
// (_NET_ACTIVE_WINDOW): it applies its keys (Alt+F4) to that window, and may learn of a
// change after the window has the keyboard.
inline bool ActiveForWindowManager(const QWidget& window)
{
    xcb_connection_t* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, 18, "_NET_ACTIVE_WINDOW"), nullptr);
    if (atom == nullptr || atom->atom == XCB_NONE) {
        std::free(atom);
        return true;
    }
    xcb_get_property_reply_t* active =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    std::free(atom);
    const bool none = active == nullptr || xcb_get_property_value_length(active) != 4;
    const bool same = !none && *static_cast<const xcb_window_t*>(xcb_get_property_value(active)) == window.winId();
    std::free(active);
    return none || same;
}

// Whether `window` has the keyboard: the X server's focus window, Qt's, shown, and the
// active window for the window manager.
inline bool HasKeyboard(const QWidget& window)
{
    const std::optional<TX11InputFocus> focus = ReadX11InputFocus();
    return focus && focus->Window == window.winId() && QGuiApplication::focusWindow() == window.windowHandle() &&
           SeenFrame(window).has_value() && ActiveForWindowManager(window);
}

// The modal window on top (a dialog, a box), once it has the keyboard; none before.
inline QWidget* ModalWithKeyboard()
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && HasKeyboard(*modal) ? modal : nullptr;
}

// Where the keyboard is, for a failure's message.
inline std::string KeyboardState()
{
    const auto name = [](const QObject* object) {
        return object == nullptr ? std::string("none") : object->objectName().toStdString();
    };
    const std::optional<TX11InputFocus> focus = ReadX11InputFocus();
    std::string x = !focus ? "?" : focus->Nowhere ? "nowhere" : std::to_string(focus->Window);
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (focus && focus->Window != 0 && window->handle() != nullptr && window->winId() == focus->Window) {
            x += " (" + std::string(window->metaObject()->className()) + " " + name(window) +
                 (window->isVisible() ? "" : ", hidden") + ")";
        }
    }
    return "X server's focus " + x + ", Qt's focus window " + name(QGuiApplication::focusWindow()) +
           ", active window " + name(QApplication::activeWindow()) + ", focus widget " +
           name(QApplication::focusWidget());
}

// What a user does, step by step: each step waits for its state, then acts (presses
// keys). A state that does not come fails the test with the step's name; the modal
// windows left open are then closed, so that the test ends.
class TUserSteps {
public:
    void Add(std::string what, std::function<bool()> ready, std::function<void()> act = {})
    {
        FSteps.push_back({std::move(what), std::move(ready), std::move(act)});
    }

    // True once every step has run.
    bool Run()
    {
        std::size_t next = 0;
        bool failed = false;
        QElapsedTimer clock;
        clock.start();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (failed || next == FSteps.size()) {
                return;
            }
            const TStep& step = FSteps[next];
            if (step.Ready()) {
                ++next;
                clock.restart();
                if (step.Act) {
                    step.Act();
                }
            } else if (clock.hasExpired(StateTimeoutMs)) {
                ADD_FAILURE() << "waited in vain: " << step.What << "; " << KeyboardState();
                failed = true;
                for (int left = 8; left > 0 && QApplication::activeModalWidget() != nullptr; --left) {
                    QApplication::activeModalWidget()->close();
                }
            }
        });
        poll.start(10);
        const int bound = static_cast<int>(FSteps.size() + 1) * StateTimeoutMs;
        WaitFor([&] { return failed || next == FSteps.size(); }, bound);
        const bool all = !failed && next == FSteps.size();
        FSteps.clear();
        return all;
    }

private:
    struct TStep {
        std::string What;
        std::function<bool()> Ready;
        std::function<void()> Act;
    };
    std::vector<TStep> FSteps;
};

} // namespace testsupport
