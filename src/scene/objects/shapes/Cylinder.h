#pragma once
// A cylinder (or truncated cone) standing on its local Y axis, centred or with its
// top or bottom face at the origin.

#include "scene/objects/shapes/CylinderBase.h"

#include <cstdint>

enum TCylinderPart : std::uint8_t { cySides = 1, cyBottom = 2, cyTop = 4 };
using TCylinderParts = std::uint8_t; // TCylinderPart bits

enum TCylinderAlignment : std::uint8_t { caCenter, caTop, caBottom };

class TGLCylinder : public TGLCylinderBase {
    KP_CLASS(TGLCylinder, TGLCylinderBase)
public:
    explicit TGLCylinder(TComponent* owner = nullptr) : TGLCylinderBase(owner) {}

    float TopRadius() const { return topRadius_; }
    TCylinderParts Parts() const { return parts_; }
    TCylinderAlignment Alignment() const { return alignment_; }
    void SetTopRadius(float value);
    void SetParts(TCylinderParts value);
    void SetAlignment(TCylinderAlignment value);

    float GetTopRadius() const override { return topRadius_; }
    // From a cylinder: Parts and TopRadius (the target keeps its Alignment); then the
    // cylinder-family part.
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    // Caps and side are taken as a straight tube of radius TopRadius. The nearest hit
    // wins; the side normal is the radial direction, not normalised.
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    float topRadius_ = 0.5f;
    TCylinderParts parts_ = cySides | cyBottom | cyTop;
    TCylinderAlignment alignment_ = caCenter;
};
