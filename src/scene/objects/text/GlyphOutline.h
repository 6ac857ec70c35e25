#pragma once
// Glyph outlines for the extruded 3D text, without any toolkit: the scene asks a
// TGlyphOutlineProvider (installed at start-up by the shell, which knows the fonts)
// for a glyph's contours and metrics, and compiles them into display lists itself.
//
// Units are the font's em: a glyph of a 1-em font, its base line on y = 0, y up.

#include "platform/core/graphics/Font.h"

#include <string>
#include <vector>

struct TGlyphPoint {
    float X, Y;
};

// The six glyph measures the 3D text lays out with.
struct TGlyphMetricsFloat {
    float BlackBoxX = 0;  // width of the smallest box around the glyph's ink
    float BlackBoxY = 0;  // its height
    float OriginX = 0;    // the box's upper-left corner, from the glyph origin
    float OriginY = 0;
    float CellIncX = 0;   // how far the pen moves on after the glyph
    float CellIncY = 0;
};

// One glyph's contours as closed polylines. Curves are flattened as they are added,
// so that no chord strays more than the tolerance from the curve.
class TGlyphOutline {
public:
    // Forgets the contours and metrics; keeps the storage for the next glyph.
    void Clear(float tolerance);
    float Tolerance() const { return tolerance_; }

    // Starts a new contour (closing the one before).
    void MoveTo(float x, float y);
    void LineTo(float x, float y);
    void CubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y);
    // Ends the current contour. A repeated closing point is dropped, and a contour of
    // fewer than three distinct points is dropped whole (it has no area).
    void CloseContour();

    int ContourCount() const { return static_cast<int>(contourEnds_.size()); }
    int ContourStart(int contour) const { return contour == 0 ? 0 : contourEnds_[contour - 1]; }
    int ContourEnd(int contour) const { return contourEnds_[contour]; }
    const std::vector<TGlyphPoint>& Points() const { return points_; }

    // Twice the signed area of all contours together: positive when the filled side
    // lies left of the edges (outer contours counter-clockwise).
    double SignedArea2() const;

    TGlyphMetricsFloat Metrics;
    // The font's fill rule: non-zero winding (true) or even-odd.
    bool NonZeroWinding = true;

private:
    void AddPoint(float x, float y);

    std::vector<TGlyphPoint> points_;
    std::vector<int> contourEnds_;
    int contourStart_ = 0;
    bool open_ = false;
    float tolerance_ = 1.0f / 2048;
};

// The fonts of the platform, as glyph outlines.
class TGlyphOutlineProvider {
public:
    virtual ~TGlyphOutlineProvider() = default;
    // Makes the face of that name and style the one the glyph queries read; a missing
    // face may be replaced by a similar one. False when no face at all can be had.
    virtual bool SelectFont(const std::string& name, TFontStyles style) = 0;
    // The glyph of a Unicode code point in the selected face, into `outline` (already
    // cleared, with its tolerance set), metrics included. A code point the face lacks
    // gives its replacement glyph or an empty outline; false only when reading fails.
    virtual bool GetGlyph(char32_t codePoint, TGlyphOutline& outline) = 0;
};

// The provider the font manager uses; not owned. nullptr (the default) means no fonts:
// every 3D text fails to build its glyphs.
void SetGlyphOutlineProvider(TGlyphOutlineProvider* provider);
TGlyphOutlineProvider* GlyphOutlineProvider();
