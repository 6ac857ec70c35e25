#pragma once
// Quaternion arithmetic, spherical interpolation and Euler-angle conversion.

#include "scene/base/VectorTypes.h"

#include <cstdint>

// The order in which the three axis rotations are multiplied, left to right.
enum TEulerOrder : std::uint8_t { eulXYZ, eulXZY, eulYXZ, eulYZX, eulZXY, eulZYX };

// Per order, the position (1, 2 or 3) in the product of the rotation about X, about Y
// and about Z.
inline constexpr std::uint8_t EulerAxisOrder[6][3] = {
    {1, 2, 3}, // eulXYZ
    {1, 3, 2}, // eulXZY
    {2, 1, 3}, // eulYXZ
    {3, 1, 2}, // eulYZX
    {2, 3, 1}, // eulZXY
    {3, 2, 1}, // eulZYX
};

float QuaternionMagnitude(const TQuaternion& q);
// q / |q|; a magnitude of Epsilon or less gives IdentityQuaternion.
void NormalizeQuaternion(TQuaternion& q);
// The Hamilton product a * b.
TQuaternion QuaternionMultiply(const TQuaternion& a, const TQuaternion& b);
// The rotation matrix of q, normalised first.
TMatrix QuaternionToMatrix(const TQuaternion& q);

// A turn of angleDegrees about axis (any length). A zero axis gives no turn.
TQuaternion QuaternionFromAngleAxis(float angleDegrees, const TAffineVector& axis);
// The product of the three axis rotations (degrees) in the given order.
TQuaternion QuaternionFromEulerAngles(TEulerOrder order, float x, float y, float z);
// The same with the angles wrapped into [-180, 180] and the gimbal point (middle
// angle at +-90 degrees) approached from both sides.
TQuaternion QuaternionFromEuler(TEulerOrder order, float x, float y, float z);

// Spherical interpolation along the shorter arc; linear weights where a and b (or
// -b) coincide; the result is normalised.
TQuaternion SlerpQuaternions(const TQuaternion& a, const TQuaternion& b, float t);

// Interpolates two sets of X, Y, Z rotation angles (radians, applied Z, then Y, then
// X) through quaternions.
TAffineVector LerpEulerAngles(const TAffineVector& a, const TAffineVector& b, float t);
