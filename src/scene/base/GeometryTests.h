#pragma once
// Ray, line, triangle, sphere and frustum tests for picking, culling and collision.
// The intersection routines write their optional outputs only on a hit.

#include "scene/base/VectorTypes.h"

// True when the ray is not parallel to the plane. When a point is asked for, the
// plane must also lie ahead of the start (t > 0), and the point is written.
bool IntersectRayPlane(const TVector& rayStart, const TVector& rayVector, const TVector& planePoint,
                       const TVector& planeNormal, TVector* intersectPoint = nullptr);

// 1: the line crosses the plane (point written when asked); 0: parallel; -1: the line
// lies in the plane. rayVector is a direction (W = 0).
int IntersectLinePlane(const TVector& point, const TVector& direction, const THmgPlane& plane,
                       TVector* intersectPoint = nullptr);

// Hits on the triangle's edges and corners count. The normal written is
// (p2 - p1) x (p3 - p1), not normalised, with W = 0.
bool IntersectRayTriangle(const TVector& rayStart, const TVector& rayVector, const TAffineVector& p1,
                          const TAffineVector& p2, const TAffineVector& p3, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr);

// Number of hits ahead of the start for a ray of unit length: 2 (i1 the nearer), 1
// (a tangent ahead, or the exit when the start is inside) or 0.
int IntersectRaySphere(const TVector& rayStart, const TVector& rayVector, const TVector& sphereCenter,
                       float sphereRadius, TVector& i1, TVector& i2);

// True when the sphere lies wholly on the outer side of one of the planes; a sphere
// that just touches a plane from outside (value exactly -radius) is not outside.
bool SphereOutsideFrustum(const TAffineVector& center, const TFrustum& frustum, float radius);
bool SphereOutsideFrustum(const TVector& center, const TFrustum& frustum, float radius);
// True when the bounding sphere of the box is outside.
bool BoxOutsideFrustum(const TAffineVector& min, const TAffineVector& max, const TFrustum& frustum);

// The radius of the cone of sight around a sphere, measured at the distance of its
// centre. Infinite when the eye is on or inside the sphere (it fills the view).
float SphereApparentRadius(float distance, float radius);
