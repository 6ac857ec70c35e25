#include "editor/completion/CodeCompletionGeometry.h"

#include <algorithm>

TCompletionLayout LayoutPopup(int width, int itemHeight, int linesInWindow, int titleBarHeight, int scrollBarWidth)
{
    TCompletionLayout layout;
    layout.height = itemHeight * linesInWindow + 2 + titleBarHeight;
    const int left = width - scrollBarWidth - 1;
    const int top = titleBarHeight + 1;
    layout.scrollBar = Rect(left, top, left + scrollBarWidth, top + layout.height - 2 - titleBarHeight);
    layout.bitmapWidth = left - 1;
    layout.bitmapHeight = layout.height - 2 - titleBarHeight;
    return layout;
}

TRect FitToWorkArea(const TRect& bounds, const TRect& workArea, int lineHeight)
{
    int left = bounds.Left;
    int top = bounds.Top;
    if (left + bounds.Width() > workArea.Right) {
        left = std::max(workArea.Left, left - bounds.Width());
    }
    if (top + bounds.Height() > workArea.Bottom) {
        top = std::max(workArea.Top, top - bounds.Height() - lineHeight);
    }
    return Rect(left, top, left + bounds.Width(), top + bounds.Height());
}

int RowAtPoint(int y, int scrollPosition, int titleBarHeight, int itemHeight)
{
    return scrollPosition + (y - titleBarHeight - 1) / std::max(1, itemHeight);
}

int WheelSteps(int& remainder, int delta, int linesPerNotch, int pageLines, bool ctrl)
{
    remainder += delta;
    const int notches = remainder / 120;
    remainder -= notches * 120;
    const int step = ctrl ? pageLines : std::min(linesPerNotch, pageLines);
    return -notches * step;
}
