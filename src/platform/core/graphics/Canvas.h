#pragma once
// The surface controls and printers paint on, without a window system: fonts and text
// with their metrics, pen and brush, rectangles, lines, images, clipping and a
// window-to-viewport mapping. platform/gui implements the drawing over QPainter; tests
// record what was drawn with fixed metrics.
//
// The canvas keeps the drawing state (font, text and background colour, pen, brush)
// itself; the device reads it when it draws. Save and Restore cover that state and the
// device's clip region and mapping. Coordinates are logical: the mapping turns them
// into device pixels (identity until SetMapping).
//
// Text is UTF-16 and is placed by its baseline: y is the baseline of the characters.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/graphics/Font.h"
#include "platform/core/InstallScope.h"
#include "platform/core/graphics/Rect.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;

// A font as a device creates it: the face, the height of the characters in device
// pixels (the em height, without the internal leading) and the style bits.
struct TCanvasFont {
    std::string name = "MS Sans Serif";
    int height = 11;
    TFontStyles style = 0;
    bool operator==(const TCanvasFont&) const = default;
};

// The platform font at its own pixels per inch (TFont::Height).
TCanvasFont CanvasFont(const TFont& font);
// A font by name, point size and style for a device of the given resolution.
TCanvasFont CanvasFont(const std::string& name, int points, TFontStyles style, int pixelsPerInch);

// Measures of the current font, in device pixels.
struct TTextMetrics {
    int height = 0;          // ascent + descent
    int ascent = 0;          // above the baseline
    int descent = 0;         // below the baseline
    int internalLeading = 0; // height minus the em height (room for accents)
    int externalLeading = 0; // space the font asks for between lines
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int overhang = 0;        // extra width synthesised styles add to a string
    bool operator==(const TTextMetrics&) const = default;
};

enum class TPenStyle : std::uint8_t { Solid, Clear };
enum class TBrushStyle : std::uint8_t { Solid, Clear };

struct TPen {
    TColor color = clBlack;
    TPenStyle style = TPenStyle::Solid;
    int width = 1;
    bool operator==(const TPen&) const = default;
};

struct TBrush {
    TColor color = clWhite;
    TBrushStyle style = TBrushStyle::Solid;
    bool operator==(const TBrush&) const = default;
};

// Options of ExtTextOut.
using TTextOutOptions = std::uint8_t;
inline constexpr TTextOutOptions etoOpaque = 1;  // fill the rectangle with the background colour first
inline constexpr TTextOutOptions etoClipped = 2; // nothing drawn outside the rectangle

// Logical to device: device = (logical - windowOrigin) * viewportExtent / windowExtent
// + viewportOrigin, per axis; an extent may be negative to turn an axis round.
struct TCanvasMapping {
    TPoint windowOrigin;
    TPoint windowExtent{1, 1};
    TPoint viewportOrigin;
    TPoint viewportExtent{1, 1};
    bool operator==(const TCanvasMapping&) const = default;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // --- the device ----------------------------------------------------------------
    // Device pixels per inch (96 for the screen and images, a printer's resolution).
    virtual int PixelsPerInch() const { return 96; }

    // --- drawing state ---------------------------------------------------------------
    const TCanvasFont& Font() const { return state_.font; }
    void SetFont(const TCanvasFont& font);
    // The platform font at its pixels per inch; the text colour becomes its colour.
    void SetFont(const TFont& font);
    TColor TextColor() const { return state_.textColor; }
    void SetTextColor(TColor color) { state_.textColor = color; }
    // What opaque text output fills behind the characters.
    TColor BackgroundColor() const { return state_.backgroundColor; }
    void SetBackgroundColor(TColor color) { state_.backgroundColor = color; }
    const TPen& Pen() const { return state_.pen; }
    void SetPen(const TPen& pen) { state_.pen = pen; }
    void SetPenColor(TColor color) { state_.pen.color = color; }
    const TBrush& Brush() const { return state_.brush; }
    void SetBrush(const TBrush& brush) { state_.brush = brush; }
    void SetBrushColor(TColor color) { state_.brush.color = color; }
    // Raised whenever the font changes, so a device re-selects it only then.
    std::uint32_t FontSerial() const { return state_.fontSerial; }

    // Pushes the drawing state, the clip region and the mapping; Restore pops the last
    // pushed. A Restore without a Save changes nothing.
    void Save();
    void Restore();
    int SaveDepth() const { return static_cast<int>(saved_.size()); }

    // --- measuring, in the current font --------------------------------------------
    virtual TTextMetrics TextMetrics() = 0;
    virtual int TextWidth(std::u16string_view text) = 0;
    // The advance of one character (a code point).
    virtual int CharAdvance(char32_t character) = 0;
    int TextHeight(std::u16string_view text);

    // --- text (y is the baseline) ----------------------------------------------------
    void TextOut(int x, int y, std::u16string_view text) { ExtTextOut(x, y, 0, nullptr, text, nullptr); }
    // `rect` may be nullptr when no option needs it. With `advances` (one per UTF-16
    // code unit) every character starts where the one before it started plus its
    // advance; a surrogate pair's glyph stands at its first unit and the pair advances
    // by both entries. Without, the font's own advances apply.
    virtual void ExtTextOut(int x, int y, TTextOutOptions options, const TRect* rect, std::u16string_view text,
                            const int* advances) = 0;

    // --- shapes and images -----------------------------------------------------------
    // Fills the rectangle (right and bottom edges excluded) with the colour; a system
    // colour is resolved by the implementation.
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // The same with the brush; a clear brush fills nothing.
    void FillRect(const TRect& rect);
    // The outline in the pen, the inside in the brush; right and bottom edges excluded.
    virtual void Rectangle(const TRect& rect) = 0;
    // A line in the pen from the first point up to, not including, the second.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Lines through the points in order, the last point excluded.
    virtual void Polyline(std::span<const TPoint> points) = 0;
    // Copies the `source` part of the image with its top left corner at (x, y). 32-bit
    // images of the pf32bit format carry alpha, which the copy honours.
    virtual void DrawImage(int x, int y, const TBitmap& image, const TRect& source) = 0;

    // --- clipping, in logical coordinates ------------------------------------------
    virtual void IntersectClipRect(const TRect& rect) = 0;
    virtual void ExcludeClipRect(const TRect& rect) = 0;
    // The smallest rectangle around the area that can be painted now.
    virtual TRect ClipBox() const = 0;

    // --- mapping ---------------------------------------------------------------------
    virtual void SetMapping(const TCanvasMapping& mapping) = 0;
    virtual TCanvasMapping Mapping() const = 0;
    void ResetMapping() { SetMapping(TCanvasMapping{}); }

protected:
    // The device's part of Save and Restore: clip region and mapping.
    virtual void SaveDevice() = 0;
    virtual void RestoreDevice() = 0;

private:
    struct TState {
        TCanvasFont font;
        TColor textColor = clWindowText;
        TColor backgroundColor = clWhite;
        TPen pen;
        TBrush brush;
        std::uint32_t fontSerial = 0;
    };
    TState state_;
    std::vector<TState> saved_;
};

// Saves the canvas for a scope and restores it on every way out.
class TCanvasSaver {
public:
    explicit TCanvasSaver(TCanvas& canvas) : canvas_(canvas) { canvas_.Save(); }
    ~TCanvasSaver() { canvas_.Restore(); }
    TCanvasSaver(const TCanvasSaver&) = delete;
    TCanvasSaver& operator=(const TCanvasSaver&) = delete;

private:
    TCanvas& canvas_;
};

// Where code without a window gets a canvas to measure text on, as the screen would
// draw it (the font stock, the print engine's page count). The shell installs the
// platform's; nothing installed means there is none.
class IMeasuringCanvasSource {
public:
    virtual ~IMeasuringCanvasSource() = default;
    virtual std::unique_ptr<TCanvas> CreateMeasuringCanvas() = 0;
};

// Returns the source it replaces.
IMeasuringCanvasSource* SetMeasuringCanvasSource(IMeasuringCanvasSource* source);
// A new measuring canvas, or nullptr when no source is installed.
std::unique_ptr<TCanvas> CreateMeasuringCanvas();

using TMeasuringCanvasScope = TInstallScope<IMeasuringCanvasSource, SetMeasuringCanvasSource>;
