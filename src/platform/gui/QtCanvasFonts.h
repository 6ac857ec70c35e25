#pragma once
// The Qt fonts behind canvas fonts, made once per process and shared by every canvas.
//
// Fonts are sized in pixels and drawn without hinting, so a screen, an image and a
// printer measure a font alike. A face that is not installed is looked up by
// fontconfig; a well-known fixed-pitch face ("Courier New", "Terminal", ...) that is
// missing becomes the system's fixed-pitch face, so a character grid never comes from a
// proportional stand-in.

#include "platform/core/graphics/Canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <QRectF>

#include <array>
#include <string_view>

struct TQtCanvasFont {
    QFont font;
    QRawFont raw;
    QFontMetricsF metricsF;
    TTextMetrics metrics;
    std::array<int, 128> asciiAdvance{};
    // The ink of the printable ASCII glyphs around their origin on the baseline.
    std::array<QRectF, 128> asciiInk{};

    explicit TQtCanvasFont(const TCanvasFont& description);
    // Whole pixels, as every text output of the canvas places characters.
    int Advance(char32_t character) const;
    // The sum of the advances of the text's code points.
    int Width(std::u16string_view text) const;
    // Where a glyph's ink lies around its origin on the baseline.
    QRectF Ink(char32_t character, quint32 glyph) const;
};

// The shared entry of a canvas font; valid until the application object goes.
const TQtCanvasFont& QtCanvasFont(const TCanvasFont& description);

// The family a face name resolves to (the fixed-pitch stand-in for a missing
// fixed-pitch face, else the name itself).
QString QtFontFamily(const std::string& name);
