#pragma once
// Planes as (a, b, c, d) with the signed value a*x + b*y + c*z + d, normals of
// triangles, and the view frustum's planes.

#include "scene/base/VectorTypes.h"

// normalise((p2 - p1) x (p3 - p1)); counter-clockwise points face the viewer.
TAffineVector PlaneNormalFromPoints(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3);
TAffineVector PlaneNormalFromPoints(const TVector& p1, const TVector& p2, const TVector& p3);
// The same unit normal into X, Y, Z of result; result.W is left as it is.
void NormalFromVectorPoints(const TVector& p1, const TVector& p2, const TVector& p3, TVector& result);
// The plane through the three points, its normal as above.
THmgPlane PlaneFromPoints(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3);

// Scales all four components so that (a, b, c) has unit length; a plane without a
// normal stays as it is.
void NormalizePlane(THmgPlane& plane);

inline double PlaneEvaluatePoint(const THmgPlane& plane, const TAffineVector& point)
{
    return double(plane.X) * point.X + double(plane.Y) * point.Y + double(plane.Z) * point.Z + plane.W;
}

// Uses X, Y, Z of the point.
inline double PlaneEvaluatePoint(const THmgPlane& plane, const TVector& point)
{
    return double(plane.X) * point.X + double(plane.Y) * point.Y + double(plane.Z) * point.Z + plane.W;
}

// The six clipping planes of a combined projection * model-view matrix, normals
// inwards and of unit length.
TFrustum FrustumFromMatrix(const TMatrix& m);
