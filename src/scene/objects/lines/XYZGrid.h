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

    // From a grid: the scales, Parts and LinesStyle; then always the line-style part.
    void Assign(const TPersistent* source) override;
    // A change of a scale rebuilds the drawing.
    void NotifyChange(TObject* sender) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    std::unique_ptr<TGLSamplingScale> xScale_;
    std::unique_ptr<TGLSamplingScale> yScale_;
    std::unique_ptr<TGLSamplingScale> zScale_;
    TXYZGridParts parts_ = gpX | gpY;
    TXYZGridLinesStyle linesStyle_ = glsSegments;
};
