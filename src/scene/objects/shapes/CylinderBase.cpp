#include "scene/objects/shapes/CylinderBase.h"

#include "scene/base/VectorGeometry.h"

#include <cmath>

void TGLCylinderBase::SetBottomRadius(float value)
{
    if (value != bottomRadius_) {
        bottomRadius_ = value;
        StructureChanged();
    }
}

void TGLCylinderBase::SetHeight(float value)
{
    if (value != height_) {
        height_ = value;
        StructureChanged();
    }
}

void TGLCylinderBase::SetSlices(int value)
{
    if (value != slices_) {
        slices_ = value;
        StructureChanged();
    }
}

void TGLCylinderBase::SetStacks(int value)
{
    if (value != stacks_) {
        stacks_ = value;
        StructureChanged();
    }
}

void TGLCylinderBase::SetLoops(int value)
{
    if (value >= 1 && value != loops_) {
        loops_ = value;
        StructureChanged();
    }
}

void TGLCylinderBase::Assign(const TPersistent* source)
{
    if (const auto* cylinder = ObjectCast<TGLCylinderBase>(source)) {
        bottomRadius_ = cylinder->bottomRadius_;
        slices_ = cylinder->slices_;
        stacks_ = cylinder->stacks_;
        loops_ = cylinder->loops_;
        height_ = cylinder->height_;
    }
    TGLQuadricObject::Assign(source);
}

std::unique_ptr<TGLSilhouette> TGLCylinderBase::GenerateSilhouette(const TGLSilhouetteParameters& params)
{
    const int n = slices_;
    TConnectivity connectivity(true);
    if (n > 0) {
        const float step = static_cast<float>(2 * 3.14159265358979323846 / n);
        const float h = height_ * 0.5f;
        const float tr = GetTopRadius(), br = bottomRadius_;
        const TAffineVector bottomCentre{0, -h, 0}, topCentre{0, h, 0};
        float a1 = 0;
        for (int i = 0; i < n; ++i) {
            const float a2 = a1 + step;
            const TAffineVector p0{br * std::sin(a2), -h, br * std::cos(a2)};
            const TAffineVector p1{br * std::sin(a1), -h, br * std::cos(a1)};
            const TAffineVector p2{tr * std::sin(a1), h, tr * std::cos(a1)};
            const TAffineVector p3{tr * std::sin(a2), h, tr * std::cos(a2)};
            connectivity.AddFace(p2, p1, p0);
            connectivity.AddFace(p3, p2, p0);
            connectivity.AddFace(bottomCentre, p0, p1);
            connectivity.AddFace(p2, p3, topCentre);
            a1 = a2;
        }
    }
    TGLSilhouette* silhouette = nullptr;
    connectivity.CreateSilhouette(params, silhouette, false);
    return std::unique_ptr<TGLSilhouette>(silhouette);
}
