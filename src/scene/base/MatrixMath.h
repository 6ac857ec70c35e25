#pragma once
// Building, combining, inverting and decomposing 4 x 4 matrices. Row vectors are
// multiplied on the left (v' = v * M), so a * b applies a first; row 3 is the
// translation. Entries are computed in double and rounded to float32 once.

#include "scene/base/VectorTypes.h"

// Identity with the scale on the diagonal and the translation in row 3.
TMatrix MakeScaleTranslationMatrix(const TAffineVector& scale, const TAffineVector& translation);

// Turns points by +angle about the axis, given sin(angle) and cos(angle).
TMatrix MakeRotationMatrixX(float sine, float cosine);
TMatrix MakeRotationMatrixY(float sine, float cosine);
TMatrix MakeRotationMatrixZ(float sine, float cosine);

// Rotation about an arbitrary axis (normalised here). With row vectors this turns
// points by -angle in the sense of the X/Y/Z builders: MakeRotationMatrix(Z, a)
// equals MakeRotationMatrixZ(sin(-a), cos(a)).
TMatrix MakeRotationMatrix(const TAffineVector& axis, float angle);
TMatrix MakeRotationMatrix(const TVector& axis, float angle);

// a * b.
TMatrix MultiplyMatrices(const TMatrix& a, const TMatrix& b);
// a * b into result; result may be a or b (checked, then done through a temporary).
void MultiplyMatrices(const TMatrix& a, const TMatrix& b, TMatrix& result);
// a * b through a temporary, so result may be an operand.
void MultiplyMatricesSafe(const TMatrix& a, const TMatrix& b, TMatrix& result);

// v * m, four components.
inline TVector TransformVector(const TVector& v, const TMatrix& m)
{
    const double x = v.X, y = v.Y, z = v.Z, w = v.W;
    const TVector &r0 = m.V[0], &r1 = m.V[1], &r2 = m.V[2], &r3 = m.V[3];
    return {static_cast<float>(x * r0.X + y * r1.X + z * r2.X + w * r3.X),
            static_cast<float>(x * r0.Y + y * r1.Y + z * r2.Y + w * r3.Y),
            static_cast<float>(x * r0.Z + y * r1.Z + z * r2.Z + w * r3.Z),
            static_cast<float>(x * r0.W + y * r1.W + z * r2.W + w * r3.W)};
}

// A direction through the 3 x 3 part of m (no translation).
inline TAffineVector TransformVector(const TAffineVector& v, const TMatrix& m)
{
    const double x = v.X, y = v.Y, z = v.Z;
    const TVector &r0 = m.V[0], &r1 = m.V[1], &r2 = m.V[2];
    return {static_cast<float>(x * r0.X + y * r1.X + z * r2.X), static_cast<float>(x * r0.Y + y * r1.Y + z * r2.Y),
            static_cast<float>(x * r0.Z + y * r1.Z + z * r2.Z)};
}

// (p, 1) * m, keeping X, Y, Z: translation included.
inline TAffineVector TransformAffinePoint(const TAffineVector& p, const TMatrix& m)
{
    const double x = p.X, y = p.Y, z = p.Z;
    const TVector &r0 = m.V[0], &r1 = m.V[1], &r2 = m.V[2], &r3 = m.V[3];
    return {static_cast<float>(x * r0.X + y * r1.X + z * r2.X + r3.X),
            static_cast<float>(x * r0.Y + y * r1.Y + z * r2.Y + r3.Y),
            static_cast<float>(x * r0.Z + y * r1.Z + z * r2.Z + r3.Z)};
}

TAffineVector RotateVectorAroundAxis(const TAffineVector& v, const TAffineVector& axis, float angle);

// a1*(b2*c3 - b3*c2) - b1*(a2*c3 - a3*c2) + c1*(a2*b3 - a3*b2), rounded to float32.
float MatrixDeterminant3(float a1, float a2, float a3, float b1, float b2, float b3, float c1, float c2, float c3);
// Cofactor expansion along row 0, rounded to float32.
float MatrixDeterminant(const TMatrix& m);
// m := its adjoint, the transposed cofactor matrix.
void AdjointMatrix(TMatrix& m);
void ScaleMatrix(TMatrix& m, float factor);
void TransposeMatrix(TMatrix& m);

// m := its inverse, the adjoint divided by the determinant. A singular matrix
// (|det| < Epsilon2) becomes the identity; the caller is not told.
void InvertMatrix(TMatrix& m);
// Inverse of rotation * uniform scale + translation, without a determinant; the
// identity when row 0 has no length.
TMatrix InvertRotationScaleMatrix(const TMatrix& m);

// Re-orthonormalises rows 0 to 2 from the directions of rows 0 and 1 (row 1 keeps
// its direction, row 0 is turned square to it within their plane, row 2 is their
// cross product) and resets row 3 to the origin. W of rows 0 to 2 becomes 0.
void NormalizeMatrix(TMatrix& m);

// Splits m into scale, shear, rotation, translation and perspective. The scales are
// the lengths of the rows; false for a zero m[3][3] or a singular 3 x 3 part.
bool DecomposeMatrix(const TMatrix& m, TMatrixDecomposition& d);
