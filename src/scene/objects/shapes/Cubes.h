#pragma once
// Box-shaped scene objects: an invisible grouping cube (drawn as a dotted wire cube
// only when asked, able to compile its children into one display list) and a solid
// box of independent width, height and depth centred on its origin.

#include "scene/materials/Color.h"
#include "scene/graph/CustomSceneObject.h"
#include "scene/objects/lines/Lines.h"
#include "scene/objects/shapes/NormalDirection.h"

#include <cstdint>
#include <functional>
#include <memory>

class TGLListHandle;

// False skips the object and its children for this render.
using TGLVisibilityDeterminationEvent = std::function<bool(TObject* sender, TRenderContextInfo& rci)>;

class TGLDummyCube : public TGLCameraInvariantObject {
    KP_CLASS(TGLDummyCube, TGLCameraInvariantObject)
public:
    explicit TGLDummyCube(TComponent* owner = nullptr);
    ~TGLDummyCube() override;

    float CubeSize() const { return cubeSize_; }
    void SetCubeSize(float value);
    TGLColor& EdgeColor() const { return *edgeColor_; }
    void SetEdgeColor(const TGLColor& value);
    bool VisibleAtRunTime() const { return visibleAtRunTime_; }
    void SetVisibleAtRunTime(bool value);
    bool Amalgamate() const { return amalgamate_; }
    void SetAmalgamate(bool value);
    // The application has no design mode of its own; a form editor would set this.
    bool Designing = false;

    TGLVisibilityDeterminationEvent OnVisibilityDetermination;

    void Assign(const TPersistent* source) override;
    TVector AbsoluteBarycenter() const override;
    TVector UnscaledHalfExtents() const override;
    // A grouping object is never hit.
    bool RayCastIntersect(const TVector&, const TVector&, TVector* = nullptr, TVector* = nullptr) override
    {
        return false;
    }
    void BuildList(TRenderContextInfo& rci) override;
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    void StructureChanged() override;

private:
    float cubeSize_ = 1.0f;
    std::unique_ptr<TGLColor> edgeColor_;
    bool visibleAtRunTime_ = false;
    bool amalgamate_ = false;
    std::unique_ptr<TGLListHandle> groupList_;
};

enum TCubePart : std::uint8_t { cpTop, cpBottom, cpFront, cpBack, cpLeft, cpRight };
using TCubeParts = std::uint8_t; // bit n for part n
constexpr TCubeParts CubePartBit(TCubePart part)
{
    return TCubeParts(1u << part);
}
constexpr TCubeParts AllCubeParts = 0x3F;


class TGLCube : public TGLWorldObject {
    KP_CLASS(TGLCube, TGLWorldObject)
public:
    explicit TGLCube(TComponent* owner = nullptr);

    float CubeWidth() const { return width_; }
    float CubeHeight() const { return height_; }
    float CubeDepth() const { return depth_; }
    void SetCubeWidth(float value);
    void SetCubeHeight(float value);
    void SetCubeDepth(float value);
    TCubeParts Parts() const { return parts_; }
    void SetParts(TCubeParts value);
    TNormalDirection NormalDirection() const { return normalDirection_; }
    void SetNormalDirection(TNormalDirection value);

    // "CubeSize": the three sizes as 12 bytes, only when one differs from 1.
    void DefineProperties(TFiler* filer) override;
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    // Only faces the ray enters through count, so a ray from inside misses.
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters& params) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    void SetSize(float& field, float value);

    float width_ = 1.0f;
    float height_ = 1.0f;
    float depth_ = 1.0f;
    TCubeParts parts_ = AllCubeParts;
    TNormalDirection normalDirection_ = ndOutside;
};
