#pragma once
// A surface z = f(x, y) sampled on two scales, its height (and optionally colour and
// texture coordinate) supplied by an event, drawn as triangle strips between rows.

#include "scene/graph/CustomSceneObject.h"
#include "scene/objects/lines/SamplingScale.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum THeightFieldColorMode : std::uint8_t { hfcmNone, hfcmEmission, hfcmAmbient, hfcmDiffuse, hfcmAmbientAndDiffuse };

enum THeightFieldOption : std::uint8_t { hfoTextureCoordinates = 1, hfoTwoSided = 2 };
using THeightFieldOptions = std::uint8_t; // THeightFieldOption bits

// z, color and texPoint are filled in by the handler; texPoint comes preset to (x, y).
using THeightFieldGetHeightEvent =
    std::function<void(float x, float y, float& z, TVector& color, TTexPoint& texPoint)>;
using THeightFieldGetHeight2Event =
    std::function<void(TObject* sender, float x, float y, float& z, TVector& color, TTexPoint& texPoint)>;

class TGLHeightField : public TGLWorldObject {
    KP_CLASS(TGLHeightField, TGLWorldObject)
public:
    explicit TGLHeightField(TComponent* owner = nullptr);
    ~TGLHeightField() override;

    TGLSamplingScale& XSamplingScale() const { return *xScale_; }
    TGLSamplingScale& YSamplingScale() const { return *yScale_; }
    void SetXSamplingScale(const TGLSamplingScale& value) { xScale_->Assign(&value); }
    void SetYSamplingScale(const TGLSamplingScale& value) { yScale_->Assign(&value); }
    THeightFieldColorMode ColorMode() const { return colorMode_; }
    THeightFieldOptions Options() const { return options_; }
    // Both rebuild the drawing when the value changes.
    void SetColorMode(THeightFieldColorMode value);
    void SetOptions(THeightFieldOptions value);

    const THeightFieldGetHeightEvent& OnGetHeight() const { return onGetHeight_; }
    const THeightFieldGetHeight2Event& OnGetHeight2() const { return onGetHeight2_; }
    // Both always rebuild the drawing.
    void SetOnGetHeight(THeightFieldGetHeightEvent value);
    void SetOnGetHeight2(THeightFieldGetHeight2Event value);

    // Triangles drawn by the last build.
    int TriangleCount() const { return triangleCount_; }

    // From a height field: the scales, OnGetHeight, Options and ColorMode, and nothing
    // else; from anything else the custom-object part.
    void Assign(const TPersistent* source) override;
    // A change of a scale rebuilds the drawing.
    void NotifyChange(TObject* sender) override;
    void BuildList(TRenderContextInfo& rci) override;

    // One sample: colour, height, texture point, normal.
    struct TSample {
        TVector color;
        float z;
        TTexPoint texPoint;
        TAffineVector normal;
    };

private:
    void Height(float x, float y, TSample& sample);
    void ComputeNormals(const TSample* before, TSample* row, const TSample* after, int count) const;
    void DrawStrip(const TSample* older, float olderY, const TSample* newer, float newerY, int count) const;

    std::unique_ptr<TGLSamplingScale> xScale_;
    std::unique_ptr<TGLSamplingScale> yScale_;
    THeightFieldColorMode colorMode_ = hfcmNone;
    THeightFieldOptions options_ = hfoTwoSided;
    THeightFieldGetHeightEvent onGetHeight_;
    THeightFieldGetHeight2Event onGetHeight2_;
    int triangleCount_ = 0;
    // Kept between builds: three rows of samples and the X positions.
    std::vector<TSample> rows_;
    std::vector<float> xs_;
};
