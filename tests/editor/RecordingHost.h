#pragma once
// A window for the editor model without a display: fixed 8x16 cells, a client area of
// a chosen size, and a log of what the model asked of it.

#include "editor/control/CodeEditHost.h"

#include <QString>

#include <string>
#include <vector>

class TRecordingHost : public ICodeEditHost {
public:
    static constexpr int CellWidth = 8;
    static constexpr int CellHeight = 16;

    int clientWidth = 32 + 80 * CellWidth; // the default gutter, two pixels, 80 columns
    int clientHeight = 20 * CellHeight;
    bool focused = true;
    bool canShowCaret = true;
    int dragThreshold = 4;
    int wheelLines = 3;
    int arrowHeight = 17;
    TCodeEditFontMetrics metrics{CellWidth, CellHeight, CellWidth, CellWidth};

    // Calls other than invalidations, as "name" or "name a,b".
    std::vector<std::string> calls;
    std::vector<TRect> invalidated;
    int scrollBarUpdates = 0;
    int caretUpdates = 0;
    TCursor cursor = 0;

    void Forget()
    {
        calls.clear();
        invalidated.clear();
        scrollBarUpdates = caretUpdates = 0;
    }
    bool Called(const std::string& call) const
    {
        for (const std::string& c : calls) {
            if (c == call) {
                return true;
            }
        }
        return false;
    }

    int ClientWidth() const override { return clientWidth; }
    int ClientHeight() const override { return clientHeight; }
    bool Focused() const override { return focused; }
    void SetFocus() override
    {
        focused = true;
        calls.push_back("focus");
    }
    void InvalidateRect(const TRect& rect) override { invalidated.push_back(rect); }
    void Repaint() override { calls.push_back("repaint"); }
    void UpdateWindow() override { calls.push_back("update"); }
    void ScrollBy(int dx, int dy) override { calls.push_back("scroll " + std::to_string(dx) + "," + std::to_string(dy)); }
    void CreateCaret(int width, int height) override
    {
        calls.push_back("create caret " + std::to_string(width) + "," + std::to_string(height));
    }
    void DestroyCaret() override { calls.push_back("destroy caret"); }
    void SetCaretPos(int x, int y) override { calls.push_back("caret " + std::to_string(x) + "," + std::to_string(y)); }
    bool ShowCaret() override
    {
        calls.push_back("show caret");
        return canShowCaret;
    }
    void HideCaret() override { calls.push_back("hide caret"); }
    void SetCapture() override { calls.push_back("capture"); }
    void ReleaseCapture() override { calls.push_back("release"); }
    void BeginDrag() override { calls.push_back("drag"); }
    void SetCursor(TCursor c) override { cursor = c; }
    TCodeEditFontMetrics MeasureFont(const TCodeEditFont&) override { return metrics; }
    int DragThreshold() const override { return dragThreshold; }
    int WheelScrollLines() const override { return wheelLines; }
    void ScrollBarsChanged() override { ++scrollBarUpdates; }
    void CaretChanged() override { ++caretUpdates; }
    void RecreateWindow() override { calls.push_back("recreate"); }
    // The hint measures 8 pixels per character and 20 high.
    TTextPoint ScrollHintSize(const QString& text) override { return TTextPoint{8 * int(text.size()), 20}; }
    void ShowScrollHint(const QString& text, int x, int y, TColor) override
    {
        calls.push_back("hint " + text.toStdString() + " at " + std::to_string(x) + "," + std::to_string(y));
    }
    void HideScrollHint() override { calls.push_back("hide hint"); }
    int ScrollArrowHeight() const override { return arrowHeight; }
};
