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

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

// The outer bounds of a window whose own area is `inner`, and back.
TWindowBounds OuterBounds(const TWindowBounds& inner, const QMargins& frame);
TWindowBounds InnerBounds(const TWindowBounds& outer, const QMargins& frame);

// The frame round `window` in its normal state: as seen round it last, else as seen
// round any window of the application last, else none.
QMargins NormalFrame(const QWidget& window);

// A shown window as last seen: its frame and its own area, whether it is in its normal
// state, neither maximised, full-screen nor minimised, or maximised, and whether a window
// manager manages it.
struct TSeenFrame {
    QMargins Frame;
    QRect Inner;
    bool Normal = true;
    bool Maximized = false;
    bool Managed = false;

    QRect Outer() const { return Inner.marginsAdded(Frame); }
    bool operator==(const TSeenFrame&) const = default;
};

// The frame round `window` once it is known: the window shown and framed (under a window
// manager that reports frames, once it has said what frame it drew, or has let
// WindowManagerWaitMs pass since the window showed without saying). On X11 all of it as
// the server holds it at the call, the state by Qt's account too: Qt learns of a new
// frame, place or state later, and window managers tell them in different orders. A
// window without a reported frame has the border the X server draws round it, if any:
// its own place and size, as without a window manager (dwm reports no frame), and so has
// a window whose window manager has gone (icewm leaves the frame it said behind).
std::optional<TSeenFrame> SeenFrame(const QWidget& window);

// The window as it stands: as SeenFrame sees it, else, shown while its window manager
// has not yet said its frame, its own area as the X server holds it with the frame it is
// likely to get (NormalFrame).
std::optional<TSeenFrame> StandingFrame(const QWidget& window);

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

// The maximised sight whose frame a window is taken to have maximised, once it is seen
// maximised as `seen`, from the one taken before (`before`) and the frame of its own
// normal state where it was seen so: a maximised sight with that normal frame is a step
// between the states (openbox and fluxbox give a window they maximise its maximised frame
// after they say its state, and put back its normal frame, fluxbox its normal bounds too,
// before they say it is no longer maximised). A window never seen in its normal state
// takes the sight with the largest own area, the earlier of equals: a step keeps the
// normal size, or the maximised one with the normal frame, both no larger than the
// window maximised (under load fluxbox was first seen maximising a window started
// maximised with its normal frame and size, and that frame taken for the maximised one
// hid every later sight of the restored window).
std::optional<TSeenFrame> MaximisedSightTaken(const TSeenFrame& seen, const std::optional<TSeenFrame>& before,
                                              const std::optional<QMargins>& normalFrame);

// A request to the window manager for a window's bounds: how often it was made, the
// window's own area and frame as they were seen when it was last made, whether
// WindowManagerWaitMs have passed since, whether the window manager has answered it
// (told the window where it stands since; without the X server's word, the window has
// moved since) and the request's number where the X server gave one. Before the first
// request: the window's own area as it first showed in its normal state (none where
// unknown), and whether WindowManagerWaitMs have passed since it showed.
struct TBoundsAsk {
    int Tries = 0;
    QRect InnerBefore;
    QMargins Frame;
    bool Overdue = false;
    bool Answered = false;
    std::optional<std::uint32_t> Request = std::nullopt;
};

// What to do about a window that should have the outer bounds `wanted`, as `seen` now:
// nothing more once it has them; ask when there was no request, and again when the frame
// has changed since (it was asked with a frame the window manager no longer draws:
// openbox says the frame of a window it restores after its new state); wait while the
// window manager has not answered the last request, until it is overdue; ask again once
// it has answered without giving them (fluxbox places a window it frames otherwise at
// first, and under load a notice it sent before it read the request came after it);
// give up after MaxBoundsAsks requests or when the last went unanswered, taking the
// window as it stands. Tiling dwm answers every request for a tiled window at once by
// leaving it as it is, so the program stops within moments, and a window the user moves
// is never asked back: once the window manager has answered, its bounds are the user's.
// Nor is one the user moved before the first request while its frame was awaited past
// the time allowed (a window manager that never says it).
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
    // The outer bounds and the frame the window was last seen with in its normal state,
    // and its last sights so (NormalBeforeMaximising), oldest first.
    std::optional<QRect> Normal;
    std::vector<TSeenFrame> NormalSights;
    bool NormalFrameSeen = false;
    QMargins NormalFrame;
    // The sight whose frame it is taken to have maximised (MaximisedSightTaken).
    std::optional<TSeenFrame> Maximised;
    // The frame it was last seen with in its normal state under a window manager: one
    // that exits hands the window back unframed where its frame stood.
    std::optional<QMargins> WindowManagerFrame;
};

// The normal bounds, frame included, of a window that now stands maximised as
// `maximised`, from its normal sights recorded last (`recorded`, oldest first): window
// managers move and resize a window they maximise before they say so, fluxbox one way
// and then the other, openbox changing its frame first, and a sight in between holds
// some of the maximised bounds and frame with the rest of the normal ones. So the latest
// sight that is no such step from the one before it (each of its place's and size's
// values, outside or inside the frame, that one's or the maximised window's); none
// without a sight.
std::optional<TSeenFrame> NormalBeforeMaximising(const std::vector<TSeenFrame>& recorded,
                                                 const TSeenFrame& maximised);

// Where `seen` stands, frame included. A window no window manager manages whose
// window manager has gone (`windowManagerFrame`, the frame it last had under one) was
// handed back unframed at its frame's corner, and keeps that frame for the next start
// under a window manager: it comes back as it was.
QRect StandingBounds(const TSeenFrame& seen, const std::optional<QMargins>& windowManagerFrame);
TFramedBounds& FramedBounds(QWidget& window);
// The record, nullptr for a window never watched.
const TFramedBounds* FindFramedBounds(const QWidget& window);
