#pragma once
// Text on a fixed character grid: every character advances by the same cell width,
// even in a proportional font.
//
// TheTextDrawer is one editor's text output: a base font, its style variants, the text
// and background colours and an extra character spacing, drawn on a canvas with an
// explicit advance for every character. TheFontStock keeps, per drawer, the style
// variants of the base font with their metrics, measured on the platform's measuring
// canvas. TheFontsInfoManager (one per process) shares the records of equal fonts
// between all stocks, so editors with the same font measure it once.
//
// A "font handle" here is the canvas font of a style variant; it exists from the first
// time the style is chosen until the last stock that locked the record lets go.

#include "editor/painting/CodeEditFont.h"
#include "editor/control/CodeEditHost.h"
#include "platform/core/graphics/Canvas.h"
#include "platform/core/Exceptions.h"

#include <array>
#include <memory>
#include <string_view>
#include <vector>

class EheTextDrawerException : public Exception {
    using Exception::Exception;
};
class EheFontStockException : public Exception {
    using Exception::Exception;
};

// A style index is the four style bits (bold 1, italic 2, underline 4, strike-out 8);
// indexes up to 16 are accepted.
inline constexpr int MaxFontStyleIndex = 16;
// The double-byte advance of a font without double-byte characters: none.
inline constexpr int NoDoubleByteAdvance = 2147483647;

struct TheFontData {
    bool created = false;  // the handle exists
    TCanvasFont handle;    // the style variant as the canvas draws it
    int charAdvance = 0;   // of "M", with the font's overhang
    int doubleByteAdvance = NoDoubleByteAdvance;
    int charHeight = 0;
    int ascent = 0;
    int averageWidth = 0;
    int maximumWidth = 0;
};

struct TheSharedFontsInfo {
    int refCount = 0;   // stocks using the record
    int lockCount = 0;  // stocks holding its handles in use
    TCodeEditFont baseFont;
    // The base font's description with italic, underline and strike-out cleared: equal
    // descriptions share a record.
    TCanvasFont description;
    std::array<TheFontData, MaxFontStyleIndex + 1> fontsData;
};

class TheFontsInfoManager {
public:
    TheFontsInfoManager() = default;
    ~TheFontsInfoManager();
    TheFontsInfoManager(const TheFontsInfoManager&) = delete;
    TheFontsInfoManager& operator=(const TheFontsInfoManager&) = delete;

    void LockFontsInfo(TheSharedFontsInfo* info);
    // At lock count 0 the record's handles are dropped.
    void UnlockFontsInfo(TheSharedFontsInfo* info);
    // The record of an equal description, or a new one; its reference count goes up.
    TheSharedFontsInfo* GetFontsInfo(const TCodeEditFont& font, const TCanvasFont& description);
    // Frees the record when this was its last reference.
    void ReleaseFontsInfo(TheSharedFontsInfo* info);
    int Count() const { return static_cast<int>(records_.size()); }

private:
    std::vector<std::unique_ptr<TheSharedFontsInfo>> records_;
};

TheFontsInfoManager& GetFontsInfoManager();

class TheFontStock {
public:
    explicit TheFontStock(const TCodeEditFont* baseFont);
    ~TheFontStock();
    TheFontStock(const TheFontStock&) = delete;
    TheFontStock& operator=(const TheFontStock&) = delete;

    // Raises EheFontStockException for a missing font.
    void SetBaseFont(const TCodeEditFont* font);
    void SetStyle(TFontStyles style);
    TFontStyles Style() const { return style_; }
    int GetCharAdvance() const { return currentAdvance_; }
    int GetCharHeight() const;
    int GetDoubleByteAdvance() const;
    // Of the current style: where the baseline lies below the top of a cell.
    int GetAscent() const;
    const TCanvasFont& FontHandle() const { return currentFont_; }
    const TheFontData& GetFontData(int index) const;
    // Unlocks the shared record when this stock locked it.
    void ReleaseFontHandles();
    TheSharedFontsInfo* FontsInfo() const { return info_; }

private:
    TCanvas& InternalGetDC();
    void InternalReleaseDC();
    TCanvasFont InternalCreateFont(TFontStyles style) const;
    void CalcFontAdvance(TCanvas& canvas, TheFontData& data) const;

    std::unique_ptr<TCanvas> dc_;
    int dcRefCount_ = 0;
    int pixelsPerInch_ = 0; // of the measuring canvas, asked once
    TheSharedFontsInfo* info_ = nullptr;
    bool usingFontHandles_ = false;
    TCanvasFont currentFont_;
    int currentAdvance_ = 0;
    TheFontData* currentData_ = nullptr;
    TFontStyles style_ = 0;
    TCanvasFont description_;
};

class TheTextDrawer {
public:
    // The editor measures with the bold style, so its grid fits bold text.
    TheTextDrawer(TFontStyles calcExtentBaseStyle, const TCodeEditFont* baseFont);
    ~TheTextDrawer();
    TheTextDrawer(const TheTextDrawer&) = delete;
    TheTextDrawer& operator=(const TheTextDrawer&) = delete;

    // The grid cell: the measuring style's advance plus the extra spacing.
    int GetCharWidth() const { return baseCharWidth_ + charExtra_; }
    int GetCharHeight() const { return baseCharHeight_; }
    // Of the measuring style.
    int GetAverageCharWidth() const;
    int GetMaximumCharWidth() const;
    const TCodeEditFont& BaseFont() const { return baseFont_; }
    TheFontStock& FontStock() { return *stock_; }

    // Nested calls on the same canvas only count; the first saves the canvas state and
    // selects font, colours and spacing, the last restores it.
    void BeginDrawing(TCanvas& canvas);
    void EndDrawing();
    bool Drawing() const { return canvas_ != nullptr; }

    // y is the top of the character cell. TextOut uses the font's own advances (plus
    // the extra spacing); ExtTextOut puts every code unit in one grid cell.
    void TextOut(int x, int y, std::u16string_view text);
    void ExtTextOut(int x, int y, TTextOutOptions options, const TRect& rect, std::u16string_view text);

    // Raise EheTextDrawerException for a missing font.
    void SetBaseFont(const TCodeEditFont* font);
    void SetBaseStyle(TFontStyles style);
    void SetStyle(TFontStyles style);
    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor color);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor color);
    int CharExtra() const { return charExtra_; }
    void SetCharExtra(int pixels);
    void ReleaseTemporaryResources();

    // The advance array's length (a multiple of 64 once text was drawn).
    int AdvanceCapacity() const { return static_cast<int>(etoDist_.size()); }

private:
    void ReleaseETODist() { etoDist_.clear(); }
    void AfterStyleSet();
    void DoSetCharExtra();
    void ApplyBaseStyle();

    TCanvas* canvas_ = nullptr;
    std::unique_ptr<TheFontStock> stock_;
    TFontStyles calcExtentBaseStyle_;
    int baseCharWidth_ = 0;
    int baseCharHeight_ = 0;
    std::vector<int> etoDist_;
    TColor foreColor_ = clWindowText;
    TColor backColor_ = clWindow;
    int charExtra_ = 0;
    int drawingCount_ = 0;
    TCodeEditFont baseFont_;
};

// Drawing for the length of a scope: BeginDrawing now, EndDrawing on every way out.
class TTextDrawingScope {
public:
    TTextDrawingScope(TheTextDrawer& drawer, TCanvas& canvas) : drawer_(drawer) { drawer_.BeginDrawing(canvas); }
    ~TTextDrawingScope() { drawer_.EndDrawing(); }
    TTextDrawingScope(const TTextDrawingScope&) = delete;
    TTextDrawingScope& operator=(const TTextDrawingScope&) = delete;

private:
    TheTextDrawer& drawer_;
};

// The editor's font measures as the drawer answers them (the model's metrics seam):
// the drawer takes the font as its base font.
TCodeEditFontMetrics MeasureFont(TheTextDrawer& drawer, const TCodeEditFont& font);
