#pragma once
// Dot and cross products, lengths, distances and normalisation of single vectors.
// Scalars come back in double, the wide intermediate precision; the caller rounds
// them where it stores them. Vector results are rounded to float32 once.

#include "scene/base/VectorTypes.h"

#include <cmath>

// ---- Products --------------------------------------------------------------------

inline double AffineDotProduct(const TAffineVector& a, const TAffineVector& b)
{
    return double(a.X) * b.X + double(a.Y) * b.Y + double(a.Z) * b.Z;
}

// Over X, Y, Z of two vectors.
inline double AffineDotProduct(const TVector& a, const TVector& b)
{
    return double(a.X) * b.X + double(a.Y) * b.Y + double(a.Z) * b.Z;
}

inline double VectorDotProduct(const TVector& a, const TVector& b)
{
    return double(a.X) * b.X + double(a.Y) * b.Y + double(a.Z) * b.Z + double(a.W) * b.W;
}

// (point - origin) . normal over X, Y, Z.
inline double DistanceAlongNormal(const TAffineVector& point, const TAffineVector& origin, const TAffineVector& normal)
{
    return (double(point.X) - origin.X) * normal.X + (double(point.Y) - origin.Y) * normal.Y +
           (double(point.Z) - origin.Z) * normal.Z;
}

inline double DistanceAlongNormal(const TVector& point, const TVector& origin, const TVector& normal)
{
    return (double(point.X) - origin.X) * normal.X + (double(point.Y) - origin.Y) * normal.Y +
           (double(point.Z) - origin.Z) * normal.Z;
}

namespace vector_detail {
inline float CrossTerm(float a1, float b2, float a2, float b1)
{
    return static_cast<float>(double(a1) * b2 - double(a2) * b1);
}
} // namespace vector_detail

inline TAffineVector AffineCrossProduct(const TAffineVector& a, const TAffineVector& b)
{
    using vector_detail::CrossTerm;
    return {CrossTerm(a.Y, b.Z, a.Z, b.Y), CrossTerm(a.Z, b.X, a.X, b.Z), CrossTerm(a.X, b.Y, a.Y, b.X)};
}

inline void AffineCrossProduct(const TAffineVector& a, const TAffineVector& b, TAffineVector& result)
{
    result = AffineCrossProduct(a, b);
}

// Over X, Y, Z of two vectors.
inline TAffineVector AffineCrossProduct(const TVector& a, const TVector& b)
{
    using vector_detail::CrossTerm;
    return {CrossTerm(a.Y, b.Z, a.Z, b.Y), CrossTerm(a.Z, b.X, a.X, b.Z), CrossTerm(a.X, b.Y, a.Y, b.X)};
}

// The cross product of X, Y, Z as a direction (W = 0).
inline TVector VectorCrossProduct(const TVector& a, const TVector& b)
{
    using vector_detail::CrossTerm;
    return {CrossTerm(a.Y, b.Z, a.Z, b.Y), CrossTerm(a.Z, b.X, a.X, b.Z), CrossTerm(a.X, b.Y, a.Y, b.X), 0};
}

inline void VectorCrossProduct(const TVector& a, const TVector& b, TVector& result)
{
    result = VectorCrossProduct(a, b);
}

// ---- Lengths and distances -------------------------------------------------------

inline double Hypot2(float x, float y) { return std::sqrt(double(x) * x + double(y) * y); }
inline float SquaredHypot(float x, float y) { return static_cast<float>(double(x) * x + double(y) * y); }

inline double AffineVectorSquaredLength(const TAffineVector& v) { return AffineDotProduct(v, v); }
// Over X, Y, Z (also used on a matrix row).
inline double AffineVectorSquaredLength(const TVector& v) { return AffineDotProduct(v, v); }
inline double AffineVectorLength(const TAffineVector& v) { return std::sqrt(AffineVectorSquaredLength(v)); }
inline double VectorXYZLength(const TVector& v) { return std::sqrt(AffineVectorSquaredLength(v)); }

inline double SquaredAffineDistance(const TAffineVector& a, const TAffineVector& b)
{
    const double dx = double(a.X) - b.X, dy = double(a.Y) - b.Y, dz = double(a.Z) - b.Z;
    return dx * dx + dy * dy + dz * dz;
}

// Over X, Y, Z of two vectors.
inline double SquaredAffineDistance(const TVector& a, const TVector& b)
{
    const double dx = double(a.X) - b.X, dy = double(a.Y) - b.Y, dz = double(a.Z) - b.Z;
    return dx * dx + dy * dy + dz * dz;
}

inline double AffineDistance(const TAffineVector& a, const TAffineVector& b) { return std::sqrt(SquaredAffineDistance(a, b)); }
inline double AffineDistance(const TVector& a, const TVector& b) { return std::sqrt(SquaredAffineDistance(a, b)); }

inline double ManhattanDistance(const TAffineVector& a, const TAffineVector& b)
{
    return std::fabs(double(a.X) - b.X) + std::fabs(double(a.Y) - b.Y) + std::fabs(double(a.Z) - b.Z);
}

// v minus its projection on n; n is expected to be of unit length.
inline TAffineVector SubtractProjection(const TAffineVector& v, const TAffineVector& n)
{
    const double d = AffineDotProduct(v, n);
    return {static_cast<float>(v.X - d * n.X), static_cast<float>(v.Y - d * n.Y), static_cast<float>(v.Z - d * n.Z)};
}

inline float LargestAbsComponent(const TAffineVector& v)
{
    const float x = std::fabs(v.X), y = std::fabs(v.Y), z = std::fabs(v.Z);
    const float m = x > y ? x : y;
    return m > z ? m : z;
}

inline float LargestAbsComponent(const TVector& v) { return LargestAbsComponent(TAffineVector{v.X, v.Y, v.Z}); }

inline float MaxXYZComponent(const TAffineVector& v)
{
    const float m = v.X > v.Y ? v.X : v.Y;
    return m > v.Z ? m : v.Z;
}

inline float MinXYZComponent(const TAffineVector& v)
{
    const float m = v.X < v.Y ? v.X : v.Y;
    return m < v.Z ? m : v.Z;
}

inline float MaxXYZComponent(const TVector& v) { return MaxXYZComponent(TAffineVector{v.X, v.Y, v.Z}); }
inline float MinXYZComponent(const TVector& v) { return MinXYZComponent(TAffineVector{v.X, v.Y, v.Z}); }

// ---- Normalisation ---------------------------------------------------------------
// One division and three multiplications. A zero-length vector normalises to the
// zero vector instead of dividing by zero.

inline TAffineVector NormalizedAffineVector(const TAffineVector& v)
{
    const double squared = AffineVectorSquaredLength(v);
    if (squared == 0)
        return {0, 0, 0};
    const double inv = 1 / std::sqrt(squared);
    return {static_cast<float>(v.X * inv), static_cast<float>(v.Y * inv), static_cast<float>(v.Z * inv)};
}

inline void NormalizeAffineVector(TAffineVector& v) { v = NormalizedAffineVector(v); }

// X, Y, Z divided by their length; W always becomes 0.
inline TVector NormalizedVector(const TVector& v)
{
    const TAffineVector n = NormalizedAffineVector(TAffineVector{v.X, v.Y, v.Z});
    return {n.X, n.Y, n.Z, 0};
}

inline void NormalizeVector(TVector& v) { v = NormalizedVector(v); }
