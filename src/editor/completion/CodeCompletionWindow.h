#pragma once
// What the completion list's model asks of the window that shows it. The pop-up widget
// implements it; without one the model uses TFixedCompletionWindow, which measures text
// on a fixed grid and shows nothing, so the list works (and is tested) headless.

#include "platform/core/graphics/Font.h"
#include "platform/core/graphics/Rect.h"

#include <QString>

struct TScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TScreenPoint&) const = default;
};

class ICodeCompletionWindow {
public:
    virtual ~ICodeCompletionWindow() = default;

    // The desktop work area of the screen that holds the point.
    virtual TRect WorkAreaAt(TScreenPoint point) const = 0;
    virtual int TextWidth(const TFont& font, TFontStyles style, const QString& text) const = 0;
    virtual int TextHeight(const TFont& font, const QString& text) const = 0;
    virtual int ScrollBarWidth() const = 0;
    // Lines one wheel notch scrolls.
    virtual int WheelScrollLines() const = 0;
    // Whether our application is the active one (the trigger timer opens nothing else).
    virtual bool ApplicationActive() const = 0;

    // The model's bounds changed (screen pixels).
    virtual void SetBounds(const TRect& bounds) = 0;
    // A tool window without a frame; a parameter hint stays on top of other windows.
    virtual void SetStayOnTop(bool on) = 0;
    virtual void Show(bool activate) = 0;
    virtual void Hide() = 0;
    virtual void SetFocus() = 0;
    virtual void Invalidate() = 0;
};

// Characters 6 pixels wide (7 in bold), text 13 pixels high, a 1024 x 768 work area.
class TFixedCompletionWindow : public ICodeCompletionWindow {
public:
    TRect workArea = Rect(0, 0, 1024, 768);
    int charWidth = 6;
    int textHeight = 13;
    int scrollBarWidth = 16;
    int wheelLines = 3;
    bool applicationActive = true;

    TRect WorkAreaAt(TScreenPoint) const override { return workArea; }
    int TextWidth(const TFont&, TFontStyles style, const QString& text) const override
    {
        return static_cast<int>(text.size()) * (charWidth + ((style & TFont::fsBold) != 0 ? 1 : 0));
    }
    int TextHeight(const TFont&, const QString&) const override { return textHeight; }
    int ScrollBarWidth() const override { return scrollBarWidth; }
    int WheelScrollLines() const override { return wheelLines; }
    bool ApplicationActive() const override { return applicationActive; }
    void SetBounds(const TRect&) override {}
    void SetStayOnTop(bool) override {}
    void Show(bool) override {}
    void Hide() override {}
    void SetFocus() override {}
    void Invalidate() override {}
};
