#pragma once
// A window's restored (normal) bounds and whether it is maximised, as the main settings
// file keeps them for the main window and the plug-in window. The bounds apply only
// when Width and Height are both above 0, and only as a screen can show them: a file
// edited by hand or left by an unplugged monitor may hold any integers. The area a
// screen gives windows (without task bars and docks) is held in the same four fields.

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

// The bounds as the screens (`screens`, the primary first) can show them: a window is
// no wider or taller than the area of the screen that shows most of it (else of the
// primary), a side made smaller comes inside that area, and a window the area still
// does not show is centred on it. Bounds without a size come back as they are; with no
// screens only the edges are kept within the int range. No sum of stored values
// overflows.
TWindowBounds FitWindowBounds(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens);

// A side panel's stored width in a window whose stored bounds were fitted from `stored`
// to `fitted`: a window made narrower keeps the panel's share of it, so the other side
// keeps its share too (what a larger monitor left behind would otherwise take the whole
// window). Otherwise, and for a window without a stored width, the width as stored.
// The least widths of both sides come after it (FitPanel, app/run/PanelSplit.h): the
// share of an absurdly wide window may be no width at all.
int FittedPanelWidth(int panelWidth, const TWindowBounds& stored, const TWindowBounds& fitted);

// Places `window` at the bounds, fitted to the application's screens, when there are
// any, then maximises it when they say so. The bounds as fitted.
TWindowBounds ApplyWindowBounds(QWidget& window, const TWindowBounds& bounds);
// The bounds a maximised `window` comes back to (its own while it is not), and whether
// it is maximised.
TWindowBounds WindowBoundsOf(const QWidget& window);
