#pragma once
// Axis-aligned bounding boxes: the box of every scene object, carried through
// transformation matrices and asked the overlap questions of collision tests and the
// octree. A box is valid when Min <= Max on each axis; the routines do not enforce it.

#include "scene/base/VectorTypes.h"

#include <array>

struct TAABB {
    TAffineVector Min;
    TAffineVector Max;
};

// With m = Min and M = Max: 0 (m.X, m.Y, m.Z), 1 (M.X, m.Y, m.Z), 2 (M.X, M.Y, m.Z),
// 3 (m.X, M.Y, m.Z), 4 (m.X, m.Y, M.Z), 5 (M.X, m.Y, M.Z), 6 (M.X, M.Y, M.Z), 7 (m.X, M.Y, M.Z).
using TAABBCorners = std::array<TAffineVector, 8>;
using TAABBPlanes = std::array<THmgPlane, 6>;

// Four corner indices per face; the first three define the face's plane.
inline constexpr int cAABBFaces[6][4] = {{1, 2, 6, 5}, {2, 3, 7, 6}, {0, 1, 2, 3},
                                         {0, 3, 7, 4}, {0, 1, 5, 4}, {5, 6, 7, 4}};
inline constexpr int cAABBEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                          {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

// box := the union of box and other.
void AddAABB(TAABB& box, const TAABB& other);
// Max := |halfSize|, Min := -Max.
void SetAABBFromExtents(TAABB& box, const TAffineVector& halfSize);
// The box around the eight transformed corners.
void TransformAABB(TAABB& box, const TMatrix& m);
void ScaleAABB(TAABB& box, const TAffineVector& scale);
void IncludeInAABB(TAABB& box, const TAffineVector& point);
TAABBCorners AABBToCorners(const TAABB& box);
TAABBPlanes AABBToPlanes(const TAABBCorners& corners);
// Overlap in X and Y only; touching boxes overlap.
bool OverlapAABBsXY(const TAABB& a, const TAABB& b);
// Whether the plane normal . p + d = 0 meets the box.
bool PlaneBoxOverlap(const TAffineVector& normal, const TAABB& box, float d);
// Each box in its own frame; mAB carries a's frame into b's, mBA the reverse.
bool IntersectAABBs(const TAABB& a, const TAABB& b, const TMatrix& mAB, const TMatrix& mBA);
// Separating-axis test of a triangle against a box anywhere in space.
bool IntersectTriangleBox(const TAABB& box, const TAffineVector& p1, const TAffineVector& p2,
                          const TAffineVector& p3);
