#include "scene/base/Planes.h"

#include "scene/base/ScalarMath.h"
#include "scene/base/VectorArithmetic.h"
#include "scene/base/VectorProducts.h"

TAffineVector PlaneNormalFromPoints(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3)
{
    return NormalizedAffineVector(AffineCrossProduct(SubtractAffineVectors(p2, p1), SubtractAffineVectors(p3, p1)));
}

TAffineVector PlaneNormalFromPoints(const TVector& p1, const TVector& p2, const TVector& p3)
{
    return PlaneNormalFromPoints(TAffineVector{p1.X, p1.Y, p1.Z}, TAffineVector{p2.X, p2.Y, p2.Z},
                                 TAffineVector{p3.X, p3.Y, p3.Z});
}

void NormalFromVectorPoints(const TVector& p1, const TVector& p2, const TVector& p3, TVector& result)
{
    const TAffineVector n = PlaneNormalFromPoints(p1, p2, p3);
    SetVectorXYZ(result, n.X, n.Y, n.Z);
}

THmgPlane PlaneFromPoints(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3)
{
    const TAffineVector n = PlaneNormalFromPoints(p1, p2, p3);
    return {n.X, n.Y, n.Z, static_cast<float>(-AffineDotProduct(p1, n))};
}

void NormalizePlane(THmgPlane& plane)
{
    const double squared = AffineVectorSquaredLength(plane);
    if (squared == 0)
        return;  // no normal to scale; NaNs would make every later test pass
    const double n = InvSqrt(squared);
    plane = {static_cast<float>(plane.X * n), static_cast<float>(plane.Y * n), static_cast<float>(plane.Z * n),
             static_cast<float>(plane.W * n)};
}

namespace {

THmgPlane Column(const TMatrix& m, int j)
{
    return {m[0][j], m[1][j], m[2][j], m[3][j]};
}

THmgPlane NormalizedPlane(const THmgPlane& p)
{
    THmgPlane r = p;
    NormalizePlane(r);
    return r;
}

} // namespace

TFrustum FrustumFromMatrix(const TMatrix& m)
{
    const THmgPlane c0 = Column(m, 0), c1 = Column(m, 1), c2 = Column(m, 2), c3 = Column(m, 3);
    TFrustum f;
    f.Left = NormalizedPlane(AddVectors(c3, c0));
    f.Top = NormalizedPlane(SubtractVectors(c3, c1));
    f.Right = NormalizedPlane(SubtractVectors(c3, c0));
    f.Bottom = NormalizedPlane(AddVectors(c3, c1));
    f.Near = NormalizedPlane(AddVectors(c3, c2));
    f.Far = NormalizedPlane(SubtractVectors(c3, c2));
    return f;
}
