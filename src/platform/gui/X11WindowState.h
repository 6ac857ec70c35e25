#pragma once
// What the X server holds about a top-level window at the moment of asking: the frame
// its window manager says it drew and the state it says the window is in. Qt keeps a
// window's frame as it last read it and learns of a new state by events that window
// managers send in different orders (icewm and fluxbox resize a window before they mark
// it maximised, openbox changes its frame before it does, fluxbox says what frame it drew
// only after mapping the window): code that must tell a window's normal bounds from its
// maximised ones, or its frame from its own area, asks the server. Nothing off X11.

#include <QMargins>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QWindow;

struct TX11WindowState {
    // A window manager manages the screen (_NET_SUPPORTING_WM_CHECK, as it keeps it).
    bool Managed = false;
    // It reports the frames it draws (_NET_FRAME_EXTENTS among what it supports,
    // _NET_SUPPORTED); dwm reports none.
    bool ReportsFrames = false;
    // It has said what frame it drew round the window (_NET_FRAME_EXTENTS): Frame.
    bool Framed = false;
    QMargins Frame;
    // The border the X server draws round the window itself (dwm gives one, a
    // reparenting window manager none).
    int Border = 0;
    // The window's own area, in root coordinates.
    QRect Inner;
    // Neither maximised (either way), full-screen nor minimised; maximised both ways
    // (_NET_WM_STATE, the states the window manager supports: Qt writes the others).
    bool Normal = true;
    bool Maximized = false;
    // The window manager still holds the window (WM_STATE normal or iconic): after a
    // hide, until it has let it go, a new map may be lost.
    bool Held = false;
};

// The state of `window`; nothing off X11 or for a window the server does not know.
std::optional<TX11WindowState> ReadX11WindowState(const QWindow& window);

// The bars a window manager that keeps no work area (_NET_WORKAREA not among what it
// supports) draws itself: its own windows (made by the client that made the window it
// names on the root, _NET_SUPPORTING_WM_CHECK) mapped on the root and kept out of its
// own management (override-redirect), in root coordinates. dwm's bar is one: Qt takes a
// screen without a work area for all free, and a window fitted to it went under the bar.
// None without a window manager, under one that keeps a work area, or off X11.
std::vector<QRect> ReadX11WindowManagerBars();

// Asks the window manager to give `window` the own area `inner` (root coordinates), as
// its size hints say a position means (the frame's corner or the window's own): Qt
// compares a request with what it last read of the window, which may be older than the
// frame, and drops one it takes for no change. The request's number, for
// TX11StateWatch::AnsweredSince; none off X11.
std::optional<std::uint32_t> ConfigureX11Window(const QWindow& window, const QRect& inner, const QMargins& frame);

// Calls `changed` (from the event loop, never inside Qt's handling of X events) whenever
// a window manager changes the frame or the state of `window`, and `configured` whenever
// the window is told where it stands (a window manager that leaves a window as it was
// tells it so): Qt reports none of it by an event of its own. For as long as the object
// lives; nothing off X11.
class TX11StateWatch {
public:
    TX11StateWatch(const QWindow& window, std::function<void()> changed, std::function<void()> configured = {});
    ~TX11StateWatch();
    TX11StateWatch(const TX11StateWatch&) = delete;
    TX11StateWatch& operator=(const TX11StateWatch&) = delete;

    // Whether the window was told where it stands (a ConfigureNotify, the window
    // manager's own for a request it leaves unchanged included) after the X server took
    // the request `request` (ConfigureX11Window): the window manager has answered it.
    bool AnsweredSince(std::uint32_t request) const;

private:
    unsigned FWindow = 0;
    const void* FEntry = nullptr;
};
