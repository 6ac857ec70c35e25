#include "scene/base/BoundingBoxes.h"

#include "scene/base/GeometryTests.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/Planes.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

bool InsideBox(const TAffineVector& p, const TAABB& box)
{
    return IsInRange(p.X, box.Min.X, box.Max.X) && IsInRange(p.Y, box.Min.Y, box.Max.Y) &&
           IsInRange(p.Z, box.Min.Z, box.Max.Z);
}

bool BetweenOnAllAxes(const TVector& p, const TAffineVector& a, const TAffineVector& b)
{
    return IsInRange(p.X, a.X, b.X) && IsInRange(p.Y, a.Y, b.Y) && IsInRange(p.Z, a.Z, b.Z);
}

// Within the face's rectangle. The face's own flat axis is skipped: the point lies on
// the face's plane by construction, and rounding would otherwise put it a hair off.
bool WithinFace(const TVector& p, const TAffineVector& a, const TAffineVector& b)
{
    for (int k = 0; k < 3; ++k) {
        if (a[k] != b[k] && !IsInRange(p[k], a[k], b[k])) {
            return false;
        }
    }
    return true;
}

} // namespace

void AddAABB(TAABB& box, const TAABB& other)
{
    for (int k = 0; k < 3; ++k) {
        if (other.Min[k] < box.Min[k]) {
            box.Min[k] = other.Min[k];
        }
        if (other.Max[k] > box.Max[k]) {
            box.Max[k] = other.Max[k];
        }
    }
}

void SetAABBFromExtents(TAABB& box, const TAffineVector& halfSize)
{
    box.Max = {std::fabs(halfSize.X), std::fabs(halfSize.Y), std::fabs(halfSize.Z)};
    box.Min = {-box.Max.X, -box.Max.Y, -box.Max.Z};
}

void IncludeInAABB(TAABB& box, const TAffineVector& point)
{
    for (int k = 0; k < 3; ++k) {
        if (point[k] < box.Min[k]) {
            box.Min[k] = point[k];
        }
        if (point[k] > box.Max[k]) {
            box.Max[k] = point[k];
        }
    }
}

void TransformAABB(TAABB& box, const TMatrix& m)
{
    const TAABBCorners corners = AABBToCorners(box);
    const TAffineVector first = TransformAffinePoint(corners[0], m);
    box.Min = first;
    box.Max = first;
    for (int i = 1; i < 8; ++i) {
        IncludeInAABB(box, TransformAffinePoint(corners[static_cast<std::size_t>(i)], m));
    }
}

void ScaleAABB(TAABB& box, const TAffineVector& scale)
{
    MultiplyAffineVectors(box.Min, scale);
    MultiplyAffineVectors(box.Max, scale);
}

TAABBCorners AABBToCorners(const TAABB& box)
{
    const TAffineVector& m = box.Min;
    const TAffineVector& M = box.Max;
    return {{{m.X, m.Y, m.Z}, {M.X, m.Y, m.Z}, {M.X, M.Y, m.Z}, {m.X, M.Y, m.Z},
             {m.X, m.Y, M.Z}, {M.X, m.Y, M.Z}, {M.X, M.Y, M.Z}, {m.X, M.Y, M.Z}}};
}

TAABBPlanes AABBToPlanes(const TAABBCorners& corners)
{
    TAABBPlanes planes{};
    for (int i = 0; i < 6; ++i) {
        const int* f = cAABBFaces[i];
        planes[static_cast<std::size_t>(i)] =
            PlaneFromPoints(corners[static_cast<std::size_t>(f[0])], corners[static_cast<std::size_t>(f[1])],
                            corners[static_cast<std::size_t>(f[2])]);
    }
    return planes;
}

bool OverlapAABBsXY(const TAABB& a, const TAABB& b)
{
    return !(b.Min.X > a.Max.X || b.Min.Y > a.Max.Y || b.Max.X < a.Min.X || b.Max.Y < a.Min.Y);
}

bool PlaneBoxOverlap(const TAffineVector& normal, const TAABB& box, float d)
{
    TAffineVector vmin{}, vmax{};
    for (int q = 0; q < 3; ++q) {
        if (normal[q] > 0) {
            vmin[q] = box.Min[q];
            vmax[q] = box.Max[q];
        } else {
            vmin[q] = box.Max[q];
            vmax[q] = box.Min[q];
        }
    }
    if (AffineDotProduct(normal, vmin) + d > 0) {
        return false;
    }
    return AffineDotProduct(normal, vmax) + d >= 0;
}

namespace {

// Whether an edge of the first box (corners already in the second box's frame) crosses
// a face of the second box.
bool EdgeCrossesFace(const TAABBCorners& edgeCorners, const TAABBCorners& faceCorners)
{
    const TAABBPlanes planes = AABBToPlanes(faceCorners);
    for (const auto& edge : cAABBEdges) {
        const TAffineVector& start = edgeCorners[static_cast<std::size_t>(edge[0])];
        const TAffineVector& end = edgeCorners[static_cast<std::size_t>(edge[1])];
        const TVector point{start.X, start.Y, start.Z, 1};
        const TVector direction{end.X - start.X, end.Y - start.Y, end.Z - start.Z, 0};
        for (int f = 0; f < 6; ++f) {
            TVector hit{};
            if (IntersectLinePlane(point, direction, planes[static_cast<std::size_t>(f)], &hit) != 1) {
                continue;
            }
            const TAffineVector& face0 = faceCorners[static_cast<std::size_t>(cAABBFaces[f][0])];
            const TAffineVector& face2 = faceCorners[static_cast<std::size_t>(cAABBFaces[f][2])];
            if (BetweenOnAllAxes(hit, start, end) && WithinFace(hit, face0, face2)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool IntersectAABBs(const TAABB& a, const TAABB& b, const TMatrix& mAB, const TMatrix& mBA)
{
    TAABBCorners cornersA = AABBToCorners(a);
    TAABBCorners cornersB = AABBToCorners(b);
    TAABBCorners bInA{};
    for (std::size_t i = 0; i < 8; ++i) {
        bInA[i] = TransformAffinePoint(cornersB[i], mBA);
        if (InsideBox(bInA[i], a)) {
            return true;
        }
    }
    TAABBCorners aInB{};
    for (std::size_t i = 0; i < 8; ++i) {
        aInB[i] = TransformAffinePoint(cornersA[i], mAB);
        if (InsideBox(aInB[i], b)) {
            return true;
        }
    }
    // Edges of a through faces of b, and, for crossings where a's section holds b's
    // (a plus sign with b the thinner bar), edges of b through faces of a.
    return EdgeCrossesFace(aInB, cornersB) || EdgeCrossesFace(bInA, cornersA);
}

bool IntersectTriangleBox(const TAABB& box, const TAffineVector& p1, const TAffineVector& p2,
                          const TAffineVector& p3)
{
    // 1. The box's own axes.
    for (int k = 0; k < 3; ++k) {
        const float lo = MinOf3(p1[k], p2[k], p3[k]);
        const float hi = MaxOf3(p1[k], p2[k], p3[k]);
        if (hi < box.Min[k] || lo > box.Max[k]) {
            return false;
        }
    }

    const TAffineVector e0 = SubtractAffineVectors(p2, p1);
    const TAffineVector e1 = SubtractAffineVectors(p3, p2);
    const TAffineVector e2 = SubtractAffineVectors(p1, p3);

    // 2. The triangle's plane.
    const TAffineVector normal = AffineCrossProduct(e0, e1);
    const auto d = static_cast<float>(-AffineDotProduct(normal, p1));
    if (!PlaneBoxOverlap(normal, box, d)) {
        return false;
    }

    // 3. Box axes crossed with the edges, measured from the box's centre so that the
    // projected radius is right wherever the box stands.
    const TAffineVector centre{(box.Min.X + box.Max.X) * 0.5f, (box.Min.Y + box.Max.Y) * 0.5f,
                               (box.Min.Z + box.Max.Z) * 0.5f};
    const TAffineVector half{(box.Max.X - box.Min.X) * 0.5f, (box.Max.Y - box.Min.Y) * 0.5f,
                             (box.Max.Z - box.Min.Z) * 0.5f};
    const TAffineVector v[3] = {SubtractAffineVectors(p1, centre), SubtractAffineVectors(p2, centre),
                                SubtractAffineVectors(p3, centre)};
    const TAffineVector edges[3] = {e0, e1, e2};
    static constexpr TAffineVector axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const TAffineVector& axis : axes) {
        for (const TAffineVector& e : edges) {
            const TAffineVector a = AffineCrossProduct(axis, e);
            const double q0 = AffineDotProduct(a, v[0]);
            const double q1 = AffineDotProduct(a, v[1]);
            const double q2 = AffineDotProduct(a, v[2]);
            const double r = std::fabs(a.X) * half.X + std::fabs(a.Y) * half.Y + std::fabs(a.Z) * half.Z;
            const double lo = std::min({q0, q1, q2});
            const double hi = std::max({q0, q1, q2});
            if (lo > r || hi < -r) {
                return false;
            }
        }
    }
    return true;
}
