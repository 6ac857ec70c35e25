#include "platform/gui/X11InputFocus.h"

#include "platform/gui/X11Connection.h"

#include <QWindow>

#include <cstdlib>
#include <memory>

std::optional<TX11InputFocus> ReadX11InputFocus()
{
    xcb_connection_t* c = QtX11Connection();
    if (c == nullptr) {
        return std::nullopt;
    }
    const std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &std::free);
    if (!reply) {
        return std::nullopt;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_window_t focus = reply->focus;
    // PointerRoot is 1: keys go to whatever window is under the pointer.
    constexpr xcb_window_t pointerRoot = 1;
    TX11InputFocus result;
    result.Nowhere = focus == XCB_NONE || focus == pointerRoot || focus == root;
    result.Window = result.Nowhere ? 0 : focus;
    return result;
}

bool GiveX11InputFocus(const QWindow& window)
{
    xcb_connection_t* c = QtX11Connection();
    if (c == nullptr || window.handle() == nullptr) {
        return false;
    }
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(window.winId()), XCB_CURRENT_TIME);
    xcb_flush(c);
    return true;
}
