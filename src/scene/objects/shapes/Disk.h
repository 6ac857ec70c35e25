#pragma once
// A flat disk, ring or sector of one in the local XY plane, facing +Z, drawn as a GLU
// partial disk. Angles are in degrees.

#include "scene/objects/shapes/QuadricObject.h"

class TGLDisk : public TGLQuadricObject {
    KP_CLASS(TGLDisk, TGLQuadricObject)
public:
    explicit TGLDisk(TComponent* owner = nullptr) : TGLQuadricObject(owner) {}

    float InnerRadius() const { return innerRadius_; }
    float OuterRadius() const { return outerRadius_; }
    int Slices() const { return slices_; }
    int Loops() const { return loops_; }
    float StartAngle() const { return startAngle_; }
    float SweepAngle() const { return sweepAngle_; }
    // Each rebuilds the drawing when the value changes.
    void SetInnerRadius(float value);
    void SetOuterRadius(float value);
    void SetSlices(int value);
    void SetLoops(int value);
    void SetStartAngle(float value);
    void SetSweepAngle(float value);

    // From a disk: the six shape values; then the quadric part.
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    // Against the whole ring between the radii (the angles are not considered). The
    // point, when asked, receives the hit on the disk's plane even when the ring is
    // missed.
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    float innerRadius_ = 0;
    float outerRadius_ = 0.5f;
    int slices_ = 16;
    int loops_ = 2;
    float startAngle_ = 0;
    float sweepAngle_ = 360;
};
