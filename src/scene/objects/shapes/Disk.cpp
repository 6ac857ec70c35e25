#include "scene/objects/shapes/Disk.h"

#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

#include <cmath>

void TGLDisk::SetInnerRadius(float value)
{
    StoreAndRebuild(*this, innerRadius_, value);
}

void TGLDisk::SetOuterRadius(float value)
{
    StoreAndRebuild(*this, outerRadius_, value);
}

void TGLDisk::SetSlices(int value)
{
    StoreAndRebuild(*this, slices_, value);
}

void TGLDisk::SetLoops(int value)
{
    StoreAndRebuild(*this, loops_, value);
}

void TGLDisk::SetStartAngle(float value)
{
    StoreAndRebuild(*this, startAngle_, value);
}

void TGLDisk::SetSweepAngle(float value)
{
    StoreAndRebuild(*this, sweepAngle_, value);
}

void TGLDisk::Assign(const TPersistent* source)
{
    if (const auto* disk = ObjectCast<TGLDisk>(source)) {
        innerRadius_ = disk->innerRadius_;
        outerRadius_ = disk->outerRadius_;
        slices_ = disk->slices_;
        loops_ = disk->loops_;
        startAngle_ = disk->startAngle_;
        sweepAngle_ = disk->sweepAngle_;
    }
    TGLQuadricObject::Assign(source);
}

TVector TGLDisk::UnscaledHalfExtents() const
{
    const float r = std::fabs(outerRadius_);
    return {r, r, 0, 0};
}

bool TGLDisk::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                               TVector* intersectNormal)
{
    TVector hit{};
    if (!IntersectRayPlane(rayStart, rayVector, AbsolutePosition(), AbsoluteDirection(), &hit)) {
        return false;
    }
    if (intersectPoint) {
        *intersectPoint = hit;
    }
    const TVector local = AbsoluteToLocal(hit);
    const double d2 = double(local.X) * local.X + double(local.Y) * local.Y + double(local.Z) * local.Z;
    if (double(innerRadius_) * innerRadius_ > d2 || double(outerRadius_) * outerRadius_ < d2) {
        return false;
    }
    if (intersectNormal) {
        *intersectNormal = AbsoluteDirection();
    }
    return true;
}

void TGLDisk::BuildList(TRenderContextInfo& /*rci*/)
{
    const TGLUQuadricScope quadric;
    if (GLUquadric* q = quadric.Get()) {
        SetupQuadricParams(q);
        GL.gluPartialDisk(q, innerRadius_, outerRadius_, slices_, loops_, startAngle_, sweepAngle_);
    }
}
