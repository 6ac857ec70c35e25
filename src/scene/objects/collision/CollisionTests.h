#pragma once
// The exact tests behind a collision pass: one per pair of bounding modes. Every test
// takes the two objects in world space (absolute matrices) and compares inclusively,
// so touching counts as colliding.

#include "scene/base/BoundingBoxes.h"
#include "scene/base/VectorTypes.h"

#include <array>
#include <cstdint>

class TGLBaseSceneObject;

// In this order: it indexes CollisionTestTable.
enum TCollisionBoundingMode : std::uint8_t { cbmPoint, cbmSphere, cbmEllipsoid, cbmCube, cbmFaces };
inline constexpr int CollisionBoundingModeCount = 5;

using TCollisionTest = bool (*)(const TGLBaseSceneObject* object1, const TGLBaseSceneObject* object2);

bool CheckPointVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckPointVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckPointVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckPointVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckSphereVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckSphereVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckSphereVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckSphereVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckEllipsoidVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckEllipsoidVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckEllipsoidVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckEllipsoidVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckCubeVsPoint(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckCubeVsSphere(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckCubeVsEllipsoid(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckCubeVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
// Faces-mode tests: a free form is tested on its triangles through its octree (built
// at depth 3 on the first test); any other faces object is tested as its box
// (CheckBoxVsBox).
bool CheckCubeVsFaces(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckFacesVsCube(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
bool CheckFacesVsFaces(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);
// Both unscaled bounding boxes, each carried into the other's frame.
bool CheckBoxVsBox(const TGLBaseSceneObject* obj1, const TGLBaseSceneObject* obj2);

// Row: mode of object1, column: mode of object2. A faces object counts as a cube
// against points, spheres and ellipsoids.
extern const std::array<std::array<TCollisionTest, CollisionBoundingModeCount>, CollisionBoundingModeCount>
    CollisionTestTable;

// The corners of the box of half extents h around the origin, in the corner order of
// AABBToCorners, W = 1.
std::array<TVector, 8> BuildCubeCorners(const TAffineVector& h);
// The twelve edges as pairs of corner indexes of BuildCubeCorners.
inline constexpr const auto& CubeEdgeTable = cAABBEdges;

// Whether A's box (its unscaled half extents) reaches into B's: a corner inside, or
// an edge crossing a face.
bool CubePenetratesCube(const TGLBaseSceneObject* a, const TGLBaseSceneObject* b);
// Whether the segment p-q crosses a face of the box of half extents h about the
// origin. A segment wholly inside crosses nothing.
bool SegmentIntersectsCube(const TAffineVector& p, const TAffineVector& q, const TAffineVector& h);
