#pragma once
// A torus in the local XY plane around the Z axis: a tube of MinorRadius around the
// circle of MajorRadius.

#include "scene/graph/CustomSceneObject.h"

#include <cstdint>

class TGLTorus : public TGLWorldObject {
    KP_CLASS(TGLTorus, TGLWorldObject)
public:
    explicit TGLTorus(TComponent* owner = nullptr) : TGLWorldObject(owner) {}

    float MajorRadius() const { return majorRadius_; }
    float MinorRadius() const { return minorRadius_; }
    std::uint32_t Rings() const { return rings_; }
    std::uint32_t Sides() const { return sides_; }
    // Each rebuilds the drawing when the value changes. Rings below 2 become 2 and
    // Sides below 3 become 3.
    void SetMajorRadius(float value);
    void SetMinorRadius(float value);
    void SetRings(std::uint32_t value);
    void SetSides(std::uint32_t value);

    // Assign is the custom object's: the torus's own values are not copied.
    TVector UnscaledHalfExtents() const override;
    // The nearest hit ahead of the start (a hit at the start itself does not count).
    // The normal runs from the nearest point of the centre circle to the hit, not
    // normalised.
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    // One quad strip per ring, Sides + 1 vertex pairs each.
    void BuildList(TRenderContextInfo& rci) override;

private:
    float majorRadius_ = 0.4f;
    float minorRadius_ = 0.1f;
    std::uint32_t rings_ = 25;
    std::uint32_t sides_ = 15;
};
