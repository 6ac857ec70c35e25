#pragma once
// Building, copying, arithmetic and comparison of single vectors. These sit on every
// rendering, collision and simulation path, so they are inline, take their vectors
// by reference and allocate nothing.
//
// Each component is computed in double from float32 inputs and rounded to float32
// once, when stored. For a single +, -, * or / that equals the float32 operation;
// it matters for the combined forms (a + b * f, f1 * a + f2 * b, lerps).

#include "scene/base/VectorTypes.h"

#include <cmath>
#include <cstring>

// ---- Construction and copying ----------------------------------------------------

inline TAffineVector MakeAffineVector(float x, float y, float z) { return {x, y, z}; }
inline void SetAffineVector(TAffineVector& v, float x, float y, float z) { v = {x, y, z}; }
inline void CopyAffineVector(TAffineVector& dest, const TAffineVector& src) { dest = src; }
inline void CopyAffineVector(TAffineVector& dest, const TVector& src) { dest = {src.X, src.Y, src.Z}; }

// Widens to the three doubles the tessellator of the graphics library takes.
inline void AffineVectorToDoubles(double* dest, const TAffineVector& src)
{
    dest[0] = src.X;
    dest[1] = src.Y;
    dest[2] = src.Z;
}

inline TVector MakeVector(float x, float y, float z, float w) { return {x, y, z, w}; }
inline void SetVector(TVector& v, float x, float y, float z, float w) { v = {x, y, z, w}; }
inline TVector MakeVectorFromAffine(const TAffineVector& v, float w) { return {v.X, v.Y, v.Z, w}; }
inline void SetVectorFromAffine(TVector& v, const TAffineVector& src, float w) { v = {src.X, src.Y, src.Z, w}; }
inline void CopyVector(TVector& dest, const TVector& src) { dest = src; }

inline TVector MakePoint(float x, float y, float z) { return {x, y, z, 1}; }
inline void SetPoint(TVector& v, float x, float y, float z) { v = {x, y, z, 1}; }
inline TVector MakePointFromAffine(const TAffineVector& v) { return {v.X, v.Y, v.Z, 1}; }
inline void SetPointFromAffine(TVector& v, const TAffineVector& src) { v = {src.X, src.Y, src.Z, 1}; }
inline void SetPointFromVector(TVector& v, const TVector& src) { v = {src.X, src.Y, src.Z, 1}; }

// Stores X, Y, Z and leaves W as it is.
inline void SetVectorXYZ(TVector& v, float x, float y, float z)
{
    v.X = x;
    v.Y = y;
    v.Z = z;
}

inline void SetDirectionFromVector(TVector& v, const TVector& src) { v = {src.X, src.Y, src.Z, 0}; }
inline void SetDirectionFromVector(TVector& v, const TAffineVector& src) { v = {src.X, src.Y, src.Z, 0}; }
inline void ClearVector(TVector& v) { v = {0, 0, 0, 0}; }

// ---- Arithmetic ------------------------------------------------------------------

inline TAffineVector AddAffineVectors(const TAffineVector& a, const TAffineVector& b)
{
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}

inline TVector AddVectors(const TVector& a, const TVector& b)
{
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z, a.W + b.W};
}

inline TVector AddScalarToVector(const TVector& v, float f)
{
    return {v.X + f, v.Y + f, v.Z + f, v.W + f};
}

inline void AddToAffineVector(TAffineVector& v, const TAffineVector& delta)
{
    v.X += delta.X;
    v.Y += delta.Y;
    v.Z += delta.Z;
}

inline TAffineVector SubtractAffineVectors(const TAffineVector& a, const TAffineVector& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

inline void SubtractAffineVectors(const TAffineVector& a, const TAffineVector& b, TAffineVector& result)
{
    result = {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

inline TVector SubtractVectors(const TVector& a, const TVector& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z, a.W - b.W};
}

inline TVector VectorDifference(const TVector& a, const TVector& b) { return SubtractVectors(a, b); }

// a - b on X, Y, Z with W = 0.
inline TVector SubtractToDirection(const TVector& a, const TVector& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z, 0};
}

// a - b on X, Y, Z; W is a's.
inline TVector SubtractVectorsXYZ(const TVector& a, const TVector& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z, a.W};
}

inline void SubtractFromAffineVector(TAffineVector& v, const TAffineVector& delta)
{
    v.X -= delta.X;
    v.Y -= delta.Y;
    v.Z -= delta.Z;
}

inline void SubtractFromVector(TVector& v, const TVector& delta)
{
    v.X -= delta.X;
    v.Y -= delta.Y;
    v.Z -= delta.Z;
    v.W -= delta.W;
}

namespace vector_detail {
// a + b * f, in double, rounded once.
inline float PlusScaled(float a, float b, float f) { return static_cast<float>(a + double(b) * f); }
// f1 * a + f2 * b, in double, rounded once.
inline float Combine(float a, float b, float f1, float f2)
{
    return static_cast<float>(double(f1) * a + double(f2) * b);
}
// a + (b - a) * t, in double, rounded once.
inline float Lerp(float a, float b, float t) { return static_cast<float>(a + (double(b) - a) * t); }
} // namespace vector_detail

inline void AddScaledAffineVector(TAffineVector& v, const TAffineVector& delta, float f)
{
    using vector_detail::PlusScaled;
    v = {PlusScaled(v.X, delta.X, f), PlusScaled(v.Y, delta.Y, f), PlusScaled(v.Z, delta.Z, f)};
}

inline void AddScaledVector(TVector& v, const TVector& delta, float f)
{
    using vector_detail::PlusScaled;
    v = {PlusScaled(v.X, delta.X, f), PlusScaled(v.Y, delta.Y, f), PlusScaled(v.Z, delta.Z, f),
         PlusScaled(v.W, delta.W, f)};
}

inline TVector VectorPlusScaled(const TVector& a, const TVector& b, float f)
{
    using vector_detail::PlusScaled;
    return {PlusScaled(a.X, b.X, f), PlusScaled(a.Y, b.Y, f), PlusScaled(a.Z, b.Z, f), PlusScaled(a.W, b.W, f)};
}

inline TAffineVector AffineVectorPlusScaled(const TAffineVector& a, const TAffineVector& b, float f)
{
    using vector_detail::PlusScaled;
    return {PlusScaled(a.X, b.X, f), PlusScaled(a.Y, b.Y, f), PlusScaled(a.Z, b.Z, f)};
}

inline TAffineVector CombineAffineVectors(const TAffineVector& a, const TAffineVector& b, float f1, float f2)
{
    using vector_detail::Combine;
    return {Combine(a.X, b.X, f1, f2), Combine(a.Y, b.Y, f1, f2), Combine(a.Z, b.Z, f1, f2)};
}

inline TVector CombineVectors(const TVector& a, const TVector& b, float f1, float f2)
{
    using vector_detail::Combine;
    return {Combine(a.X, b.X, f1, f2), Combine(a.Y, b.Y, f1, f2), Combine(a.Z, b.Z, f1, f2),
            Combine(a.W, b.W, f1, f2)};
}

inline TAffineVector LerpAffineVectors(const TAffineVector& a, const TAffineVector& b, float t)
{
    using vector_detail::Lerp;
    return {Lerp(a.X, b.X, t), Lerp(a.Y, b.Y, t), Lerp(a.Z, b.Z, t)};
}

inline TVector LerpVectors(const TVector& a, const TVector& b, float t)
{
    using vector_detail::Lerp;
    return {Lerp(a.X, b.X, t), Lerp(a.Y, b.Y, t), Lerp(a.Z, b.Z, t), Lerp(a.W, b.W, t)};
}

inline TAffineVector NegatedAffineVector(const TAffineVector& v) { return {-v.X, -v.Y, -v.Z}; }
inline TVector NegatedVector(const TVector& v) { return {-v.X, -v.Y, -v.Z, -v.W}; }
inline void NegateAffineVector(TAffineVector& v) { v = {-v.X, -v.Y, -v.Z}; }
inline void NegateVector(TVector& v) { v = {-v.X, -v.Y, -v.Z, -v.W}; }

inline void ScaleAffineVector(TAffineVector& v, float f) { v = {v.X * f, v.Y * f, v.Z * f}; }
inline void ScaleVector(TVector& v, float f) { v = {v.X * f, v.Y * f, v.Z * f, v.W * f}; }
inline TAffineVector ScaledAffineVector(const TAffineVector& v, float f) { return {v.X * f, v.Y * f, v.Z * f}; }
inline TVector ScaledVector(const TVector& v, float f) { return {v.X * f, v.Y * f, v.Z * f, v.W * f}; }

// Component-wise products and quotients, in place.
inline void MultiplyAffineVectors(TAffineVector& v, const TAffineVector& w) { v = {v.X * w.X, v.Y * w.Y, v.Z * w.Z}; }
inline void MultiplyVectors(TVector& v, const TVector& w) { v = {v.X * w.X, v.Y * w.Y, v.Z * w.Z, v.W * w.W}; }
inline void DivideVectors(TVector& v, const TVector& w) { v = {v.X / w.X, v.Y / w.Y, v.Z / w.Z, v.W / w.W}; }

inline TVector AbsVector(const TVector& v)
{
    return {std::fabs(v.X), std::fabs(v.Y), std::fabs(v.Z), std::fabs(v.W)};
}

inline void AbsVectorInPlace(TVector& v) { v = AbsVector(v); }

// Each component of v becomes the larger of v and w; v keeps its own on ties (and
// when w's is NaN).
inline void ComponentMax(TVector& v, const TVector& w)
{
    if (w.X > v.X) v.X = w.X;
    if (w.Y > v.Y) v.Y = w.Y;
    if (w.Z > v.Z) v.Z = w.Z;
    if (w.W > v.W) v.W = w.W;
}

// ---- Comparisons -----------------------------------------------------------------

// Bit-for-bit: -0.0 differs from +0.0 and a NaN equals itself.
inline bool VectorEquals(const TVector& a, const TVector& b) { return std::memcmp(&a, &b, sizeof(TVector)) == 0; }
inline bool AffineVectorEquals(const TAffineVector& a, const TAffineVector& b)
{
    return std::memcmp(&a, &b, sizeof(TAffineVector)) == 0;
}
// Over X, Y, Z of two vectors.
inline bool AffineVectorEquals(const TVector& a, const TVector& b) { return std::memcmp(&a, &b, 3 * sizeof(float)) == 0; }

// Floating comparison, so -0.0 counts as zero.
inline bool IsNullVector(const TAffineVector& v) { return v.X == 0 && v.Y == 0 && v.Z == 0; }
inline bool IsNullVector(const TVector& v) { return v.X == 0 && v.Y == 0 && v.Z == 0; }

// -d[i] <= p[i] <= d[i] for X, Y and Z.
inline bool IsWithinExtents(const TAffineVector& p, const TAffineVector& d)
{
    return -d.X <= p.X && p.X <= d.X && -d.Y <= p.Y && p.Y <= d.Y && -d.Z <= p.Z && p.Z <= d.Z;
}
