#pragma once
// A thick tube standing on its local Y axis, centred on the origin: an outer and an
// inner side between two ring-shaped caps. BottomRadius (from the cylinder family) is
// the outer radius at the bottom.

#include "scene/objects/shapes/CylinderBase.h"

#include <cstdint>

enum TAnnulusPart : std::uint8_t { anInnerSides = 1, anOuterSides = 2, anBottom = 4, anTop = 8 };
using TAnnulusParts = std::uint8_t; // TAnnulusPart bits

class TGLAnnulus : public TGLCylinderBase {
    KP_CLASS(TGLAnnulus, TGLCylinderBase)
public:
    explicit TGLAnnulus(TComponent* owner = nullptr) : TGLCylinderBase(owner) {}

    float BottomInnerRadius() const { return bottomInnerRadius_; }
    float TopInnerRadius() const { return topInnerRadius_; }
    float TopRadius() const { return topRadius_; }
    TAnnulusParts Parts() const { return parts_; }
    // Each rebuilds the drawing when the value changes.
    void SetBottomInnerRadius(float value);
    void SetTopInnerRadius(float value);
    void SetTopRadius(float value);
    void SetParts(TAnnulusParts value);

    float GetTopRadius() const override { return topRadius_; }
    // From an annulus: Parts and the four radii; then the cylinder-family part.
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    // Caps are rings between the top radii and the sides straight tubes of the top
    // radii, whatever the bottom radii. A cap hit hides the sides; the side normal is
    // the radial direction outwards (also on the inner side), not normalised.
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    float bottomInnerRadius_ = 0.3f;
    float topInnerRadius_ = 0.3f;
    float topRadius_ = 0.5f;
    TAnnulusParts parts_ = anInnerSides | anOuterSides | anBottom | anTop;
};
