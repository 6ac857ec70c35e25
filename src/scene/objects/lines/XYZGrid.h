#pragma once
// Lines parallel to the X, Y and/or Z axes at the sample positions of three sampling
// scales. The preview's grid over the table is one (Parts X and Y, Z not sampled).

#include "scene/objects/lines/Lines.h"
#include "scene/objects/lines/SamplingScale.h"

#include <cstdint>
#include <memory>

enum TXYZGridPart : std::uint8_t { gpX = 1, gpY = 2, gpZ = 4 };
using TXYZGridParts = std::uint8_t; // TXYZGridPart bits

// One straight line per row (from the axis's Min to its Max), or a polyline through
// every sample.
enum TXYZGridLinesStyle : std::uint8_t { glsLine, glsSegments };

// What BuildList draws along one axis: Count samples from Base, Step apart, none past
// Max. Step is the scale's step times Factor (a power of two, 1 when the grid is drawn
// as asked). An axis that is not sampled has the one sample at its origin.
struct TXYZGridAxis {
    float Base = 0;
    float Step = 1;
    float Max = 0;
    double Factor = 1;
    std::int64_t Count = 0;
};

struct TXYZGridSampling {
    TXYZGridAxis X, Y, Z;
    // Upper bounds of what BuildList emits.
    std::int64_t Lines = 0;
    std::int64_t Vertices = 0;
    // Some axis is drawn coarser than its scale asks.
    bool Coarsened = false;
    // False when a scale holds a value that is not finite: nothing is drawn.
    bool Drawable = true;
};

class TGLXYZGrid : public TGLLineBase {
    KP_CLASS(TGLXYZGrid, TGLLineBase)
public:
    explicit TGLXYZGrid(TComponent* owner = nullptr);
    ~TGLXYZGrid() override;

    TGLSamplingScale& XSamplingScale() const { return *xScale_; }
    TGLSamplingScale& YSamplingScale() const { return *yScale_; }
    TGLSamplingScale& ZSamplingScale() const { return *zScale_; }
    void SetXSamplingScale(const TGLSamplingScale& value) { xScale_->Assign(&value); }
    void SetYSamplingScale(const TGLSamplingScale& value) { yScale_->Assign(&value); }
    void SetZSamplingScale(const TGLSamplingScale& value) { zScale_->Assign(&value); }
    TXYZGridParts Parts() const { return parts_; }
    TXYZGridLinesStyle LinesStyle() const { return linesStyle_; }
    // Both rebuild on change.
    void SetParts(TXYZGridParts value);
    void SetLinesStyle(TXYZGridLinesStyle value);
    // Write-only: the line base's AntiAliased.
    void SetLinesSmoothing(bool value) { SetAntiAliased(value); }
    // Depth writes off while the grid is drawn: lines on a surface then hide nothing
    // drawn after them, as a line just below the surface that falls on a grid line's
    // pixels would otherwise be. Rebuilds on change.
    bool NoZWrite() const { return noZWrite_; }
    void SetNoZWrite(bool value);

    // A grid finer than any view can show would cost memory and time without end, so
    // it never draws more than MaxLines lines or MaxVertices vertices: the densest axis
    // (smallest step) doubles its step until both fit. Rebuilds on change.
    static constexpr std::int64_t DefaultMaxLines = 4096;
    // A vertex costs about 90 bytes in a display list of Mesa's: 2^18 of them some 24 MB.
    static constexpr std::int64_t DefaultMaxVertices = std::int64_t(1) << 18;
    std::int64_t MaxLines() const { return maxLines_; }
    std::int64_t MaxVertices() const { return maxVertices_; }
    void SetMaxLines(std::int64_t value);
    void SetMaxVertices(std::int64_t value);
    // What BuildList draws, computed without drawing.
    TXYZGridSampling Sampling() const;

    // From a grid: the scales, Parts, LinesStyle, the limits and NoZWrite; then always
    // the line-style part.
    void Assign(const TPersistent* source) override;
    // A change of a scale rebuilds the drawing.
    void NotifyChange(TObject* sender) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    void DrawLines(const TXYZGridSampling& sampling) const;

    std::unique_ptr<TGLSamplingScale> xScale_;
    std::unique_ptr<TGLSamplingScale> yScale_;
    std::unique_ptr<TGLSamplingScale> zScale_;
    TXYZGridParts parts_ = gpX | gpY;
    TXYZGridLinesStyle linesStyle_ = glsSegments;
    bool noZWrite_ = false;
    std::int64_t maxLines_ = DefaultMaxLines;
    std::int64_t maxVertices_ = DefaultMaxVertices;
};
