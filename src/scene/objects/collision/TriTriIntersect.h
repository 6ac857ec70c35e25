#pragma once
// Whether two triangles meet, by the interval-overlap method: each triangle cuts the
// other's plane in a segment on the line where the planes meet, and the triangles meet
// when those segments overlap. Signed plane distances below 1e-6 (measured against the
// unnormalised normal) count as 0, so nearly parallel triangles that close are tested
// as coplanar; touching counts as meeting.

#include "scene/base/VectorTypes.h"

bool TriTriIntersect(const TAffineVector& v0, const TAffineVector& v1, const TAffineVector& v2,
                     const TAffineVector& u0, const TAffineVector& u1, const TAffineVector& u2);
