#pragma once
// The completion pop-up's geometry as plain functions: its height and the places of its
// scroll bar and item bitmap, where it opens on the screen, the row under a point and
// the wheel's steps. The window draws and positions itself from these.

#include "platform/core/graphics/Rect.h"

struct TCompletionLayout {
    int height = 0;
    TRect scrollBar; // in the pop-up's client coordinates
    int bitmapWidth = 0;
    int bitmapHeight = 0;
};

// `width` is the pop-up's width; the title bar is 0 high without a title.
TCompletionLayout LayoutPopup(int width, int itemHeight, int linesInWindow, int titleBarHeight, int scrollBarWidth);

// Keeps a pop-up opened at bounds' top left inside the work area: one that would leave
// it on the right opens to the left of that point, one that would leave it at the bottom
// opens above the caret line (a line height higher). Never left of or above the area.
TRect FitToWorkArea(const TRect& bounds, const TRect& workArea, int lineHeight);

// The item under a client y (not bounds-checked).
int RowAtPoint(int y, int scrollPosition, int titleBarHeight, int itemHeight);

// The selection move for a wheel delta: the wheel's line count (a page with Ctrl, never
// more than a page) per 120 units, upwards for a positive delta. The part of the delta
// short of 120 stays in `remainder` for the next turn.
int WheelSteps(int& remainder, int delta, int linesPerNotch, int pageLines, bool ctrl);
