#include "scene/objects/collision/CollisionTests.h"

#include "scene/graph/SceneObject.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/VectorGeometry.h"
#include "scene/objects/meshes/BaseMesh.h"

#include <cmath>
#include <memory>

namespace {

struct TVec3 {
    double X, Y, Z;
};

TVec3 ToVec3(const TVector& v) { return {v.X, v.Y, v.Z}; }

double SquaredLength(const TVec3& v) { return v.X * v.X + v.Y * v.Y + v.Z * v.Z; }

// The absolute position of `point` carried into the frame of `frame`.
TVec3 PositionIn(const TGLBaseSceneObject* point, const TGLBaseSceneObject* frame)
{
    return ToVec3(TransformVector(point->AbsolutePosition(), frame->InvAbsoluteMatrixRef()));
}

TVec3 Divided(const TVec3& v, const TVec3& d) { return {v.X / d.X, v.Y / d.Y, v.Z / d.Z}; }

double Radius(const TGLBaseSceneObject* object) { return object->BoundingSphereRadius(); }

TAffineVector Affine(const TVector& v) { return {v.X, v.Y, v.Z}; }

} // namespace

bool CheckPointVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return SquaredAffineDistance(obj1->AbsolutePosition(), obj2->AbsolutePosition()) <= double(1e-6f);
}

bool CheckPointVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const double r = Radius(obj2);
    return SquaredAffineDistance(obj2->AbsolutePosition(), obj1->AbsolutePosition()) <= r * r;
}

bool CheckPointVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const TVec3 v = Divided(PositionIn(obj1, obj2), ToVec3(obj2->UnscaledHalfExtents()));
    return SquaredLength(v) <= 1;
}

bool CheckPointVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const TVec3 v = Divided(PositionIn(obj1, obj2), ToVec3(obj2->UnscaledHalfExtents()));
    return std::fmax(std::fabs(v.X), std::fmax(std::fabs(v.Y), std::fabs(v.Z))) <= 1;
}

bool CheckSphereVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CheckPointVsSphere(obj2, obj1);
}

bool CheckSphereVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const double r = Radius(obj1) + Radius(obj2);
    return SquaredAffineDistance(obj1->AbsolutePosition(), obj2->AbsolutePosition()) <= r * r;
}

bool CheckSphereVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const double r = Radius(obj1);
    const TVec3 h = ToVec3(obj2->GetHalfExtents());
    const TVec3 s = ToVec3(obj2->Scale().AsVector());
    const TVec3 d = Divided(PositionIn(obj1, obj2), {h.X + r, h.Y + r, h.Z + r});
    return SquaredLength({d.X * s.X, d.Y * s.Y, d.Z * s.Z}) <= 1;
}

bool CheckSphereVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const TVec3 p = PositionIn(obj1, obj2);
    const TVec3 s = ToVec3(obj2->Scale().AsVector());
    const TVec3 h = ToVec3(obj2->GetHalfExtents());
    const double d[3] = {std::fabs(p.X) * s.X - h.X, std::fabs(p.Y) * s.Y - h.Y, std::fabs(p.Z) * s.Z - h.Z};
    double outside = 0;
    for (double c : d) {
        if (c > 0) {
            outside += c * c;
        }
    }
    const double r = Radius(obj1);
    return outside <= r * r;
}

bool CheckEllipsoidVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CheckPointVsEllipsoid(obj2, obj1);
}

bool CheckEllipsoidVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CheckSphereVsEllipsoid(obj2, obj1);
}

bool CheckEllipsoidVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const TVec3 a = Divided(PositionIn(obj1, obj2), ToVec3(obj2->GetHalfExtents()));
    const TVec3 b = Divided(PositionIn(obj2, obj1), ToVec3(obj1->GetHalfExtents()));
    return SquaredLength(a) + SquaredLength(b) <= 2;
}

bool CheckEllipsoidVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    const double r = Radius(obj1);
    const TVec3 h = ToVec3(obj2->UnscaledHalfExtents());
    return SquaredLength(Divided(PositionIn(obj1, obj2), {h.X + r, h.Y + r, h.Z + r})) <= 1;
}

bool CheckCubeVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CheckPointVsCube(obj2, obj1);
}

bool CheckCubeVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CheckSphereVsCube(obj2, obj1);
}

bool CheckCubeVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CheckEllipsoidVsCube(obj2, obj1);
}

bool CheckCubeVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CubePenetratesCube(obj1, obj2) || CubePenetratesCube(obj2, obj1);
}

bool CheckBoxVsBox(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    TMatrix m12{}, m21{};
    MultiplyMatricesSafe(obj1->AbsoluteMatrixRef(), obj2->InvAbsoluteMatrixRef(), m12);
    MultiplyMatricesSafe(obj2->AbsoluteMatrixRef(), obj1->InvAbsoluteMatrixRef(), m21);
    return IntersectAABBs(obj1->UnscaledBoundingBox(), obj2->UnscaledBoundingBox(), m12, m21);
}

namespace {

// The object as a free form with its octree, built at depth 3 on the first test; nil
// for any other object, which is tested as its box.
TGLFreeForm* FreeFormWithOctree(const TGLBaseSceneObject* object)
{
    // The octree is a cache of the mesh's triangles: building it does not change the
    // object a test is given.
    auto* freeForm = const_cast<TGLFreeForm*>(ObjectCast<TGLFreeForm>(object));
    if (freeForm && (!freeForm->Octree() || !freeForm->Octree()->RootNode())) {
        freeForm->BuildOctree(3);
    }
    return freeForm;
}

} // namespace

bool CheckCubeVsFaces(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    TGLFreeForm* faces = FreeFormWithOctree(obj2);
    if (!faces) {
        return CheckBoxVsBox(obj1, obj2);
    }
    return faces->OctreeAABBIntersect(obj1->UnscaledBoundingBox(), obj1->AbsoluteMatrixRef(),
                                      obj1->InvAbsoluteMatrixRef());
}

bool CheckFacesVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    return CheckCubeVsFaces(obj2, obj1);
}

bool CheckFacesVsFaces(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2)
{
    if (!obj1->Is<TGLFreeForm>() || !obj2->Is<TGLFreeForm>()) {
        return CheckBoxVsBox(obj1, obj2);
    }
    TGLFreeForm* a = FreeFormWithOctree(obj1);
    TGLFreeForm* b = FreeFormWithOctree(obj2);
    TMatrix bToA{}, aToB{};
    MultiplyMatricesSafe(b->AbsoluteMatrixRef(), a->InvAbsoluteMatrixRef(), bToA);
    MultiplyMatricesSafe(a->AbsoluteMatrixRef(), b->InvAbsoluteMatrixRef(), aToB);
    // A's triangles near B's box, one by one against B's own triangles.
    const std::unique_ptr<TAffineVectorList> near = a->Octree()->GetTrianglesInBox(b->UnscaledBoundingBox(), bToA, aToB);
    const TMatrix& aToWorld = a->AbsoluteMatrixRef();
    const TAffineVector* p = near->List();
    for (int i = 0; i + 2 < near->Count(); i += 3) {
        if (b->OctreeTriangleIntersect(TransformAffinePoint(p[i], aToWorld), TransformAffinePoint(p[i + 1], aToWorld),
                                       TransformAffinePoint(p[i + 2], aToWorld))) {
            return true;
        }
    }
    return false;
}

const std::array<std::array<TCollisionTest, CollisionBoundingModeCount>, CollisionBoundingModeCount>
    CollisionTestTable = {{
        {CheckPointVsPoint, CheckPointVsSphere, CheckPointVsEllipsoid, CheckPointVsCube, CheckPointVsCube},
        {CheckSphereVsPoint, CheckSphereVsSphere, CheckSphereVsEllipsoid, CheckSphereVsCube, CheckSphereVsCube},
        {CheckEllipsoidVsPoint, CheckEllipsoidVsSphere, CheckEllipsoidVsEllipsoid, CheckEllipsoidVsCube,
         CheckEllipsoidVsCube},
        {CheckCubeVsPoint, CheckCubeVsSphere, CheckCubeVsEllipsoid, CheckCubeVsCube, CheckCubeVsFaces},
        {CheckCubeVsPoint, CheckCubeVsSphere, CheckCubeVsEllipsoid, CheckFacesVsCube, CheckFacesVsFaces},
    }};

std::array<TVector, 8> BuildCubeCorners(const TAffineVector& h)
{
    return {{{-h.X, -h.Y, -h.Z, 1},
             {h.X, -h.Y, -h.Z, 1},
             {h.X, h.Y, -h.Z, 1},
             {-h.X, h.Y, -h.Z, 1},
             {-h.X, -h.Y, h.Z, 1},
             {h.X, -h.Y, h.Z, 1},
             {h.X, h.Y, h.Z, 1},
             {-h.X, h.Y, h.Z, 1}}};
}

bool SegmentIntersectsCube(const TAffineVector& p, const TAffineVector& q, const TAffineVector& h)
{
    const double ps[3] = {p.X, p.Y, p.Z};
    const double d[3] = {double(q.X) - p.X, double(q.Y) - p.Y, double(q.Z) - p.Z};
    const double hs[3] = {h.X, h.Y, h.Z};
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0) {
            continue;
        }
        const int j = (i + 1) % 3;
        const int k = (i + 2) % 3;
        for (double plane : {hs[i], -hs[i]}) {
            const double t = (plane - ps[i]) / d[i];
            if (t < 0 || t > 1) {
                continue;
            }
            const double pj = ps[j] + t * d[j];
            const double pk = ps[k] + t * d[k];
            if (-hs[j] <= pj && pj <= hs[j] && -hs[k] <= pk && pk <= hs[k]) {
                return true;
            }
        }
    }
    return false;
}

bool CubePenetratesCube(const TGLBaseSceneObject* a, const TGLBaseSceneObject* b)
{
    TMatrix aToB{};
    MultiplyMatricesSafe(a->AbsoluteMatrixRef(), b->InvAbsoluteMatrixRef(), aToB);
    const TAffineVector hb = Affine(b->UnscaledHalfExtents());
    std::array<TAffineVector, 8> corners{};
    const auto local = BuildCubeCorners(Affine(a->UnscaledHalfExtents()));
    for (std::size_t c = 0; c < corners.size(); ++c) {
        corners[c] = Affine(TransformVector(local[c], aToB));
        if (IsWithinExtents(corners[c], hb)) {
            return true;
        }
    }
    for (const auto& edge : CubeEdgeTable) {
        if (SegmentIntersectsCube(corners[std::size_t(edge[0])], corners[std::size_t(edge[1])], hb)) {
            return true;
        }
    }
    return false;
}
