#pragma once
// The common base of the shapes drawn as GLU cylinders closed by GLU disks: cone,
// cylinder, arrow line (and annulus). They stand on their local Y axis (the arrow
// line lies along Z); each drawing makes and deletes its own quadric.

#include "scene/objects/shapes/QuadricObject.h"

class TGLCylinderBase : public TGLQuadricObject {
    KP_CLASS(TGLCylinderBase, TGLQuadricObject)
public:
    explicit TGLCylinderBase(TComponent* owner = nullptr) : TGLQuadricObject(owner) {}

    float BottomRadius() const { return bottomRadius_; }
    float Height() const { return height_; }
    int Slices() const { return slices_; }
    int Stacks() const { return stacks_; }
    int Loops() const { return loops_; }
    // Each rebuilds the drawing when the value changes; Loops below 1 is ignored.
    void SetBottomRadius(float value);
    void SetHeight(float value);
    void SetSlices(int value);
    void SetStacks(int value);
    void SetLoops(int value);

    // The radius at the top end: the bottom radius here.
    virtual float GetTopRadius() const { return bottomRadius_; }

    // From a cylinder-family object: the five shape values; then the quadric part.
    void Assign(const TPersistent* source) override;
    // The outline of the shell between the two radii, centred on the origin along Y.
    // Slices is only read: fewer than one slice gives an empty outline.
    std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters& params) override;

private:
    float bottomRadius_ = 0.5f;
    float height_ = 1.0f;
    int slices_ = 16;
    int stacks_ = 4;
    int loops_ = 1;
};
