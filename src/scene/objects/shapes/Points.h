#pragma once
// A cloud of points drawn from vertex arrays, in one of five point styles, with an
// optional size attenuation by distance. Drawn directly every frame unless Static,
// which compiles the points into the display list.

#include "scene/graph/Coordinates.h"
#include "scene/graph/CustomSceneObject.h"
#include "scene/base/VectorLists.h"

#include <cstdint>
#include <memory>

// Size attenuation of points by their distance (GL_ARB_point_parameters). Inert while
// disabled or when the driver lacks the extension.
class TGLPointParameters : public TGLUpdateAbleObject {
    KP_CLASS(TGLPointParameters, TGLUpdateAbleObject)
public:
    explicit TGLPointParameters(TPersistent* owner);
    ~TGLPointParameters() override;

    bool Enabled() const { return enabled_; }
    float MinSize() const { return minSize_; }
    float MaxSize() const { return maxSize_; }
    float FadeTresholdSize() const { return fadeTresholdSize_; }
    TGLCoordinates& DistanceAttenuation() const { return *distanceAttenuation_; }
    void SetEnabled(bool value);
    // Negative sizes become 0.
    void SetMinSize(float value);
    void SetMaxSize(float value);
    void SetFadeTresholdSize(float value);
    void SetDistanceAttenuation(const TGLCoordinates& value);

    // From point parameters: the three sizes and the attenuation (not Enabled).
    void Assign(const TPersistent* source) override;
    // "PointParams": the three sizes as 12 bytes, only when one differs from its
    // default. Values read pass through the setters.
    void DefineProperties(TFiler* filer) override;

    // Sends the parameters, and the driver's defaults back; only when enabled and the
    // extension is there.
    void Apply() const;
    void UnApply() const;

private:
    void SetSize(float& field, float value);

    bool enabled_ = false;
    float minSize_ = 0;
    float maxSize_ = 128.0f;
    float fadeTresholdSize_ = 1.0f;
    std::unique_ptr<TGLCoordinates> distanceAttenuation_;
};

enum TGLPointStyle : std::uint8_t { psSquare, psRound, psSmooth, psSmoothAdditive, psSquareAdditive };

class TGLPoints : public TGLImmaterialSceneObject {
    KP_CLASS(TGLPoints, TGLImmaterialSceneObject)
public:
    explicit TGLPoints(TComponent* owner = nullptr);
    ~TGLPoints() override;

    // Edit in place, then call StructureChanged.
    TAffineVectorList& Positions() { return positions_; }
    const TAffineVectorList& Positions() const { return positions_; }
    // RGBA. None: white; one: the colour of every point; more: one per point, and
    // only as many points as colours are drawn.
    TVectorList& Colors() { return colors_; }
    const TVectorList& Colors() const { return colors_; }
    void SetPositions(const TAffineVectorList& value);
    void SetColors(const TVectorList& value);

    // Pixels.
    float Size() const { return size_; }
    TGLPointStyle Style() const { return style_; }
    bool NoZWrite() const { return noZWrite_; }
    bool Static() const { return static_; }
    TGLPointParameters& PointParameters() const { return *pointParameters_; }
    // Each rebuilds the drawing when the value changes.
    void SetSize(float value);
    void SetStyle(TGLPointStyle value);
    void SetNoZWrite(bool value);
    // On: the points are compiled into the display list; off: drawn every frame.
    void SetStatic(bool value);
    void SetPointParameters(const TGLPointParameters& value);

    // From points: Size, Style, positions and colours; then the base part.
    void Assign(const TPersistent* source) override;
    // A style outside the enumeration fails an assertion.
    void BuildList(TRenderContextInfo& rci) override;

private:
    TAffineVectorList positions_;
    TVectorList colors_;
    float size_ = 1.0f;
    TGLPointStyle style_ = psSquare;
    bool noZWrite_ = false;
    bool static_ = false;
    std::unique_ptr<TGLPointParameters> pointParameters_;
};
