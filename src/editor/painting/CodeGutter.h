#pragma once
// The strip left of the text: line numbers and marks. Knows how wide it is and how a
// line number reads; the painter draws it.

#include "editor/painting/CodeEditFont.h"
#include "platform/core/graphics/ColorValue.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Persistent.h"

#include <QString>

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crDrag = -12;
constexpr TCursor crMultiDrag = -16;

class TCodeGutter : public TPersistent {
    KP_CLASS(TCodeGutter, TPersistent)
public:
    static constexpr int MinDigits = 2;
    static constexpr int MaxDigits = 12;

    TCodeGutter();

    // The line-number font; any change to it fires the gutter's OnChange.
    TCodeEditFont& Font() { return font_; }
    const TCodeEditFont& Font() const { return font_; }
    void SetFont(const TCodeEditFont& font) { font_.Assign(&font); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Width in pixels when line numbers are off; never negative.
    int Width() const { return width_; }
    void SetWidth(int width);
    bool ShowLineNumbers() const { return showLineNumbers_; }
    void SetShowLineNumbers(bool show);
    // Minimum digits, kept within 2..12; also resets the digits in use.
    int DigitCount() const { return digitCount_; }
    void SetDigitCount(int count);
    bool LeadingZeros() const { return leadingZeros_; }
    void SetLeadingZeros(bool on);
    bool ZeroStart() const { return zeroStart_; }
    void SetZeroStart(bool on);
    int LeftOffset() const { return leftOffset_; }
    void SetLeftOffset(int offset);
    int RightOffset() const { return rightOffset_; }
    void SetRightOffset(int offset);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool UseFontStyle() const { return useFontStyle_; }
    void SetUseFontStyle(bool on);
    // Grow the digits with the line count.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    // The digits actually used.
    int AutoSizeDigitCount() const { return autoSizeDigitCount_; }

    // Adapts the digits in use to the line count (AutoSize with visible line numbers).
    void FitDigitCount(int lineCount);
    // Line (1-based) as the gutter shows it: right-aligned, blanks or zeros in front.
    QString LineNumberText(int line) const;
    int PixelWidth(int charWidth) const;

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();
    void FontChanged(TObject* sender);
    template <class T>
    void Store(T& field, T value)
    {
        if (field != value) {
            field = value;
            Changed();
        }
    }

    TCodeEditFont font_{"Terminal", 8, 0};
    TColor color_ = clBtnFace;
    int width_ = 30;
    bool showLineNumbers_ = false;
    int digitCount_ = 4;
    bool leadingZeros_ = false;
    bool zeroStart_ = false;
    int leftOffset_ = 16;
    int rightOffset_ = 2;
    TCursor cursor_ = crDefault;
    bool visible_ = true;
    bool useFontStyle_ = true;
    bool autoSize_ = false;
    int autoSizeDigitCount_ = 4;
};
