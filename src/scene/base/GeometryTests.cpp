#include "scene/base/GeometryTests.h"

#include "scene/base/Planes.h"
#include "scene/base/VectorArithmetic.h"
#include "scene/base/VectorProducts.h"

#include <cmath>
#include <limits>

bool IntersectRayPlane(const TVector& rayStart, const TVector& rayVector, const TVector& planePoint,
                       const TVector& planeNormal, TVector* intersectPoint)
{
    const float d = static_cast<float>(VectorDotProduct(rayVector, planeNormal));
    if (!(d > Epsilon || d < -Epsilon))
        return false;
    if (intersectPoint) {
        const double t = VectorDotProduct(SubtractVectors(planePoint, rayStart), planeNormal) / d;
        if (!(t > 0))
            return false;
        *intersectPoint = VectorPlusScaled(rayStart, rayVector, static_cast<float>(t));
    }
    return true;
}

int IntersectLinePlane(const TVector& point, const TVector& direction, const THmgPlane& plane,
                       TVector* intersectPoint)
{
    const double d = VectorDotProduct(direction, plane);
    const double e = PlaneEvaluatePoint(plane, point);
    if (d == 0)
        return e == 0 ? -1 : 0;
    if (intersectPoint)
        *intersectPoint = VectorPlusScaled(point, direction, static_cast<float>(-e / d));
    return 1;
}

bool IntersectRayTriangle(const TVector& rayStart, const TVector& rayVector, const TAffineVector& p1,
                          const TAffineVector& p2, const TAffineVector& p3, TVector* intersectPoint,
                          TVector* intersectNormal)
{
    const TVector corner = MakePointFromAffine(p1);
    const TVector e1 = SubtractToDirection(MakePointFromAffine(p2), corner);
    const TVector e2 = SubtractToDirection(MakePointFromAffine(p3), corner);

    const TVector pvec = VectorCrossProduct(rayVector, e2);
    const float det = static_cast<float>(AffineDotProduct(e1, pvec));
    if (det > -Epsilon && det < Epsilon)
        return false;
    const double inv = 1.0 / det;
    const TVector tvec = SubtractToDirection(rayStart, corner);
    const double u = AffineDotProduct(tvec, pvec) * inv;
    if (u < 0 || u > 1)
        return false;
    const TVector qvec = VectorCrossProduct(tvec, e1);
    const double v = VectorDotProduct(rayVector, qvec) * inv;
    if (v < 0 || u + v > 1)
        return false;
    const double t = AffineDotProduct(e2, qvec) * inv;
    if (!(t > 0))
        return false;
    if (intersectPoint)
        *intersectPoint = VectorPlusScaled(rayStart, rayVector, static_cast<float>(t));
    if (intersectNormal)
        *intersectNormal = VectorCrossProduct(e1, e2);
    return true;
}

int IntersectRaySphere(const TVector& rayStart, const TVector& rayVector, const TVector& sphereCenter,
                       float sphereRadius, TVector& i1, TVector& i2)
{
    const float proj = static_cast<float>(DistanceAlongNormal(sphereCenter, rayStart, rayVector));
    const TVector foot = VectorPlusScaled(rayStart, rayVector, proj);
    const float d2 =
        static_cast<float>(double(sphereRadius) * sphereRadius - SquaredAffineDistance(sphereCenter, foot));
    if (std::signbit(d2) || std::isnan(d2))
        return 0;
    if (d2 == 0) {
        // A tangent: it counts only strictly ahead of the start.
        if (proj > 0) {
            i1 = foot;
            return 1;
        }
        return 0;
    }
    const double s = std::sqrt(double(d2));
    if (proj >= s) {
        i1 = VectorPlusScaled(rayStart, rayVector, static_cast<float>(proj - s));
        i2 = VectorPlusScaled(rayStart, rayVector, static_cast<float>(proj + s));
        return 2;
    }
    if (proj + s < 0)
        return 0;
    i1 = VectorPlusScaled(rayStart, rayVector, static_cast<float>(proj + s));
    return 1;
}

namespace {

template <typename Point>
bool OutsideAnyPlane(const Point& center, const TFrustum& f, float radius)
{
    const double limit = -double(radius);
    return PlaneEvaluatePoint(f.Left, center) < limit || PlaneEvaluatePoint(f.Top, center) < limit ||
           PlaneEvaluatePoint(f.Right, center) < limit || PlaneEvaluatePoint(f.Bottom, center) < limit ||
           PlaneEvaluatePoint(f.Near, center) < limit || PlaneEvaluatePoint(f.Far, center) < limit;
}

} // namespace

bool SphereOutsideFrustum(const TAffineVector& center, const TFrustum& frustum, float radius)
{
    return OutsideAnyPlane(center, frustum, radius);
}

bool SphereOutsideFrustum(const TVector& center, const TFrustum& frustum, float radius)
{
    return OutsideAnyPlane(center, frustum, radius);
}

bool BoxOutsideFrustum(const TAffineVector& min, const TAffineVector& max, const TFrustum& frustum)
{
    const float radius = static_cast<float>(AffineDistance(min, max) * 0.5);
    const TAffineVector center = CombineAffineVectors(min, max, 0.5f, 0.5f);
    return SphereOutsideFrustum(center, frustum, radius);
}

float SphereApparentRadius(float distance, float radius)
{
    const float d2 = distance * distance;
    const float r2 = radius * radius;
    if (!(d2 > r2))
        return std::numeric_limits<float>::infinity();
    const float l = std::sqrt(d2 - r2);
    const float x = (d2 + r2 - l * l) / (2 * l);
    return std::sqrt(x * x + r2);
}
