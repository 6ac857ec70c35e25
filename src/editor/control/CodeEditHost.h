#pragma once
// What the editor control asks of the window it lives in. The widget implements it; a
// control with a host acts as if its window exists, one without as before the window is
// made (nothing is painted, scrolled or shown, and the selection is not collapsed after
// a buffer change). Tests attach a recording host with fixed metrics.

#include "editor/painting/CodeEditFont.h"
#include "editor/document/CodeEditMiscProcs.h"
#include "editor/painting/CodeGutter.h"
#include "platform/core/graphics/ColorValue.h"
#include "platform/core/graphics/Rect.h"

// A font's measures as the text drawer answers them: the grid cell (the advance of the
// measuring style, bold for the editor, and the character height) and the font's
// average and largest character widths, which tell a fixed-pitch font from another.
struct TCodeEditFontMetrics {
    int cellWidth = 8;
    int cellHeight = 16;
    int averageWidth = 8;
    int maximumWidth = 8;
    bool operator==(const TCodeEditFontMetrics&) const = default;
};

class ICodeEditHost {
public:
    virtual ~ICodeEditHost() = default;

    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual bool Focused() const = 0;
    virtual void SetFocus() = 0;

    // Marks a client rectangle for repainting without erasing its background.
    virtual void InvalidateRect(const TRect& rect) = 0;
    // Repaints the whole control now.
    virtual void Repaint() = 0;
    // Paints what is marked for repainting now.
    virtual void UpdateWindow() = 0;
    // Moves the client area's content by pixels (positive dy moves it down) and marks
    // the uncovered band for repainting.
    virtual void ScrollBy(int dx, int dy) = 0;

    virtual void CreateCaret(int width, int height) = 0;
    virtual void DestroyCaret() = 0;
    virtual void SetCaretPos(int x, int y) = 0;
    // False when the caret could not be shown.
    virtual bool ShowCaret() = 0;
    virtual void HideCaret() = 0;

    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    // Starts dragging the selected text (the press that armed it is over).
    virtual void BeginDrag() = 0;
    virtual void SetCursor(TCursor cursor) = 0;

    virtual TCodeEditFontMetrics MeasureFont(const TCodeEditFont& font) = 0;
    // How far the mouse must move, in pixels, before a press becomes a drag.
    virtual int DragThreshold() const = 0;
    // Lines one wheel notch scrolls.
    virtual int WheelScrollLines() const = 0;

    // The model's scroll-bar values changed; the host reads them back (ScrollInfo).
    virtual void ScrollBarsChanged() = 0;
    // The caret was placed: the input method's composition window follows it.
    virtual void CaretChanged() = 0;

    // The scroll hint: one window for every editor, sized by the platform for a text at
    // most 200 pixels wide, shown at a client point in a colour.
    virtual TTextPoint ScrollHintSize(const QString& text) = 0;
    virtual void ShowScrollHint(const QString& text, int x, int y, TColor color) = 0;
    virtual void HideScrollHint() = 0;
    // The height of the vertical scroll bar's arrow.
    virtual int ScrollArrowHeight() const = 0;

    // The border or the scroll bars changed: the window is made again with the new
    // style (a host whose style is applied on the fly needs nothing here).
    virtual void RecreateWindow() {}
    // A client point on the screen (pop-ups open there); a host without a screen keeps it.
    virtual void ClientToScreen(int& /*x*/, int& /*y*/) const {}
};
