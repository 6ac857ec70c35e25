#pragma once
// The frame a window manager draws round a window. Stored bounds are a window's outer
// rectangle, frame included, as the platform's window placement gives them; Qt sizes a
// window's own area and learns its frame only once the window manager has framed it. So
// a window is first sized with the frame it is likely to get (the one last seen round a
// window of the application, none before the first or without a window manager) and,
// once shown, brought to the bounds asked with the frame it really has. What the window
// manager says goes before what Qt last read (platform/gui/X11WindowState.h).

#include "app/shell/WindowBounds.h"

#include <QMargins>
#include <QRect>

#include <optional>

class QWidget;

// The outer bounds of a window whose own area is `inner`, and back.
TWindowBounds OuterBounds(const TWindowBounds& inner, const QMargins& frame);
TWindowBounds InnerBounds(const TWindowBounds& outer, const QMargins& frame);

// The frame round `window` in its normal state: as seen round it last, else as seen
// round any window of the application last, else none.
QMargins NormalFrame(const QWidget& window);

// A shown window as last seen: its frame and its own area, and whether it is in its
// normal state, neither maximised, full-screen nor minimised, or maximised.
struct TSeenFrame {
    QMargins Frame;
    QRect Inner;
    bool Normal = true;
    bool Maximized = false;

    QRect Outer() const { return Inner.marginsAdded(Frame); }
};

// The frame round `window` once it is known: the window shown and framed (under a window
// manager that reports frames, once it has said what frame it drew, or has let
// WindowManagerWaitMs pass since the window showed without saying). On X11 all of it as
// the server holds it at the call, the state by Qt's account too: Qt learns of a new
// frame, place or state later, and window managers tell them in different orders. A
// window without a reported frame has the border the X server draws round it, if any:
// its own place and size, as without a window manager (dwm reports no frame).
std::optional<TSeenFrame> SeenFrame(const QWidget& window);

// How long a window manager has to report a window's frame after it shows, or to answer
// a request for its bounds, before the window is taken as it is: one that never does
// (tiling dwm refuses a tiled window's request with no change) would otherwise leave the
// window waiting for good, its old bounds written back. Long enough for one under load.
inline constexpr int WindowManagerWaitMs = 5000;

// Whether `seen`, a window in its normal state, still shows the frame it had maximised
// while its normal state has another: window managers say a window's new state and its
// new frame in either order (openbox the frame of a window it restores after the state,
// of one it maximises before it), and such a sight is neither state's.
bool ShowsMaximisedFrame(const TSeenFrame& seen, const std::optional<QMargins>& maximisedFrame,
                         const std::optional<QMargins>& normalFrame);

// A request to the window manager for a window's bounds: how often it was made, the
// window's own area and frame as they were seen when it was last made, and whether
// WindowManagerWaitMs have passed since.
struct TBoundsAsk {
    int Tries = 0;
    QRect InnerBefore;
    QMargins Frame;
    bool Overdue = false;
};

// What to do about a window that should have the outer bounds `wanted`, as `seen` now:
// nothing more once it has them; wait while the window manager has not answered the
// last request (the window and its frame as they were) and the request is not overdue;
// ask (again) when there was no request, the frame has changed since (it was asked with
// a frame the window manager no longer draws: openbox says the frame of a window it
// restores after its new state) or the window manager has placed the window otherwise;
// give up after MaxBoundsAsks requests, or when the last went unanswered, taking the
// window as the window manager places it.
enum class TSettleStep { Done, Wait, Ask, GiveUp };
inline constexpr int MaxBoundsAsks = 3;
TSettleStep SettleStep(const QRect& wanted, const TSeenFrame& seen, const TBoundsAsk& ask);

// What the application knows of a window's bounds and frame, kept by a watch on the
// window (made with the first call): as soon as the window's frame is known (after every
// show, move, resize, change of state and change of frame), SettleWindowBounds
// (WindowBounds.h) runs and, once the events of the change have all come in, the bounds
// and frame of its normal state are recorded.
struct TFramedBounds {
    // The outer bounds the program placed the window at, until they hold with the real
    // frame (ApplyWindowBounds); whether the position is the program's.
    std::optional<QRect> Wanted;
    bool WantedPosition = false;
    // The window manager's last request for them (SettleStep).
    TBoundsAsk Ask;
    // WindowManagerWaitMs have passed since the window last showed: a frame not reported
    // by then is none (SeenFrame).
    bool FrameOverdue = false;
    // Kept inside its screen once its real frame is known (KeepInsideScreen).
    bool KeepInside = false;
    // The outer bounds and the frame the window was last seen with in its normal state.
    std::optional<QRect> Normal;
    bool NormalFrameSeen = false;
    QMargins NormalFrame;
    // The frame it was last seen with maximised.
    std::optional<QMargins> MaximisedFrame;
};
TFramedBounds& FramedBounds(QWidget& window);
// The record, nullptr for a window never watched.
const TFramedBounds* FindFramedBounds(const QWidget& window);
