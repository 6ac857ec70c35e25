#pragma once
// A window's restored (normal) bounds and whether it is maximised, as the main settings
// file keeps them for the main window and the plug-in window. The bounds apply only
// when Width and Height are both above 0, and only as a screen can show them: a file
// edited by hand or left by an unplugged monitor may hold any integers. Bounds are a
// window's outer rectangle, the frame a window manager draws round it included
// (WindowFrame.h). The area a screen gives windows (without task bars, docks and the bars
// of a window manager that keeps no work area) is held in the same four fields.

#include <vector>

class QWidget;

struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Maximized = 0;

    bool HasBounds() const { return Width > 0 && Height > 0; }
    bool operator==(const TWindowBounds&) const = default;
};

// Whether `area` shows enough of the window at `bounds` to reach it: its top edge (where
// the title is) lies in the area, and the two overlap by ScreenHoldMinimum pixels each
// way, or by the window's whole width or height where that is less.
inline constexpr int ScreenHoldMinimum = 100;
bool ScreenShows(const TWindowBounds& area, const TWindowBounds& bounds);

// The part of a screen's `area` that bars the window manager draws itself (`bars`, in
// the same coordinates) leave: a bar as wide as the area across its top or bottom edge
// takes its strip off that edge; one that would leave less than half the area is none
// (no bar covers most of a screen), and one elsewhere or narrower is left to the windows.
TWindowBounds AreaBesideBars(const TWindowBounds& area, const std::vector<TWindowBounds>& bars);

// The bounds as the screens (`screens`, the primary first) can show them: a window is
// no wider or taller than the area of the screen that shows most of it (else of the
// primary), a side made smaller comes inside that area, and a window the area still
// does not show is centred on it. Bounds without a size come back as they are; with no
// screens only the edges are kept within the int range. No sum of stored values
// overflows.
TWindowBounds FitWindowBounds(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens);

// The bounds a window shows at: as FitWindowBounds fits them, then moved wholly inside
// the area of the screen that shows most of it (else the primary's), so no edge of a
// window that the screen can hold runs off it.
TWindowBounds InsideScreenBounds(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens);

// The bounds made no larger than the area of the screen that shows most of them (else
// the primary's) and moved by as little as they must to lie wholly inside it: where a
// window manager put a window, which it may show a moment elsewhere first (fluxbox puts
// a window it places above the screen before it puts it in place, and a window centred
// on that sight, as InsideScreenBounds would, went to the middle of the screen after the
// window manager had placed it).
TWindowBounds MovedInsideScreen(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens);

// A side panel's stored width in a window whose bounds were fitted from `stored` (or
// asked, AskedWindowBounds) to `fitted`: a window made narrower keeps the panel's share
// of it, so the other side keeps its share too (what a larger monitor left behind, or
// the window's own size on a small screen, would otherwise take the whole window).
// Otherwise, and for a window without a width, the width as stored.
// The least widths of both sides come after it (FitPanel, app/run/PanelSplit.h): the
// share of an absurdly wide window may be no width at all.
int FittedPanelWidth(int panelWidth, const TWindowBounds& stored, const TWindowBounds& fitted);

// The bounds a window asks for: the stored ones when they have a size, else its own
// size (`width` x `height`, what it has before any settings) at the top left corner of
// the primary screen's area (of 0, 0 without screens). Maximized as stored.
TWindowBounds AskedWindowBounds(const TWindowBounds& stored, int width, int height,
                                const std::vector<TWindowBounds>& screens);

struct TPlacedBounds {
    TWindowBounds Asked;  // AskedWindowBounds
    TWindowBounds Fitted; // as the screens show them
};

// Gives `window` the outer bounds it asks for, frame included, fitted to the
// application's screens: the stored bounds, or without them its own size (the one it is
// made with, frame included), no larger than the primary screen's area, where the
// platform places it (a dialog over its parent); then maximises it when they say so.
TPlacedBounds ApplyWindowBounds(QWidget& window, const TWindowBounds& stored);
// The outer bounds, frame included, a maximised `window` comes back to (while it is not,
// its own where it stands, and, its window manager gone, with the frame it had), fitted
// to the application's screens as the next start would fit them, and whether it is
// maximised; a window never framed in its normal state, the bounds it was placed at. A
// window the screen cannot hold (a minimum size larger than the screen) so writes back
// no size larger than the screen.
TWindowBounds WindowBoundsOf(const QWidget& window);
// Makes `window`, about to show, no larger than the available area of its screen and,
// where the program placed it, wholly inside that area (InsideScreenBounds), frame
// included; once its real frame is known, again with that frame. A maximised,
// full-screen or minimised window is left alone.
void KeepInsideScreen(QWidget& window);

// Once the frame round `window` is known (WindowFrame.h), in its normal state: brings a
// window placed by ApplyWindowBounds to the outer bounds asked with that frame (one the
// platform placed, where the window manager put it; one kept inside its screen, as
// asked; either moved inside its screen's area), and one kept inside its screen inside
// it. True while it has asked the window manager for bounds the window does not have yet.
struct TFramedBounds;
struct TSeenFrame;
bool SettleWindowBounds(QWidget& window, TFramedBounds& framed, const TSeenFrame& seen);
