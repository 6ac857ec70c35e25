#include "scene/base/MatrixMath.h"

#include "scene/base/ScalarMath.h"
#include "scene/base/VectorArithmetic.h"
#include "scene/base/VectorProducts.h"

#include <cmath>

TMatrix MakeScaleTranslationMatrix(const TAffineVector& scale, const TAffineVector& translation)
{
    TMatrix m = IdentityMatrix;
    m[0][0] = scale.X;
    m[1][1] = scale.Y;
    m[2][2] = scale.Z;
    m[3] = {translation.X, translation.Y, translation.Z, 1};
    return m;
}

TMatrix MakeRotationMatrixX(float sine, float cosine)
{
    TMatrix m = ZeroMatrix;
    m[0][0] = 1;
    m[1][1] = cosine;
    m[1][2] = sine;
    m[2][1] = -sine;
    m[2][2] = cosine;
    m[3][3] = 1;
    return m;
}

TMatrix MakeRotationMatrixY(float sine, float cosine)
{
    TMatrix m = ZeroMatrix;
    m[0][0] = cosine;
    m[0][2] = -sine;
    m[1][1] = 1;
    m[2][0] = sine;
    m[2][2] = cosine;
    m[3][3] = 1;
    return m;
}

TMatrix MakeRotationMatrixZ(float sine, float cosine)
{
    TMatrix m = ZeroMatrix;
    m[0][0] = cosine;
    m[0][1] = sine;
    m[1][0] = -sine;
    m[1][1] = cosine;
    m[2][2] = 1;
    m[3][3] = 1;
    return m;
}

TMatrix MakeRotationMatrix(const TAffineVector& axis, float angle)
{
    float s = 0, c = 0;
    SinCos(angle, s, c);
    const double k = 1.0 - c;
    const TAffineVector n = NormalizedAffineVector(axis);
    const double x = n.X, y = n.Y, z = n.Z;
    auto f = [](double v) { return static_cast<float>(v); };
    return TMatrix{{{f(k * x * x + c), f(k * x * y - z * s), f(k * z * x + y * s), 0},
                    {f(k * x * y + z * s), f(k * y * y + c), f(k * y * z - x * s), 0},
                    {f(k * z * x - y * s), f(k * y * z + x * s), f(k * z * z + c), 0},
                    {0, 0, 0, 1}}};
}

TMatrix MakeRotationMatrix(const TVector& axis, float angle)
{
    return MakeRotationMatrix(TAffineVector{axis.X, axis.Y, axis.Z}, angle);
}

TMatrix MultiplyMatrices(const TMatrix& a, const TMatrix& b)
{
    TMatrix r;
    for (int i = 0; i < 4; ++i) {
        const double a0 = a[i][0], a1 = a[i][1], a2 = a[i][2], a3 = a[i][3];
        for (int j = 0; j < 4; ++j)
            r[i][j] = static_cast<float>(a0 * b[0][j] + a1 * b[1][j] + a2 * b[2][j] + a3 * b[3][j]);
    }
    return r;
}

void MultiplyMatrices(const TMatrix& a, const TMatrix& b, TMatrix& result)
{
    // Writing row by row into an operand would read rows already overwritten.
    result = MultiplyMatrices(a, b);
}

void MultiplyMatricesSafe(const TMatrix& a, const TMatrix& b, TMatrix& result)
{
    const TMatrix temp = MultiplyMatrices(a, b);
    result = temp;
}

TAffineVector RotateVectorAroundAxis(const TAffineVector& v, const TAffineVector& axis, float angle)
{
    return TransformVector(v, MakeRotationMatrix(axis, angle));
}

float MatrixDeterminant3(float a1, float a2, float a3, float b1, float b2, float b3, float c1, float c2, float c3)
{
    const double d = a1 * (double(b2) * c3 - double(b3) * c2) - b1 * (double(a2) * c3 - double(a3) * c2) +
                     c1 * (double(a2) * b3 - double(a3) * b2);
    return static_cast<float>(d);
}

namespace {

// The 3 x 3 determinant of m without row `row` and column `col`.
float Minor(const TMatrix& m, int row, int col)
{
    int r[3], c[3];
    for (int i = 0, k = 0; i < 4; ++i)
        if (i != row)
            r[k++] = i;
    for (int j = 0, k = 0; j < 4; ++j)
        if (j != col)
            c[k++] = j;
    // Columns of the minor are a, b, c; rows 1, 2, 3.
    return MatrixDeterminant3(m[r[0]][c[0]], m[r[1]][c[0]], m[r[2]][c[0]], m[r[0]][c[1]], m[r[1]][c[1]],
                              m[r[2]][c[1]], m[r[0]][c[2]], m[r[1]][c[2]], m[r[2]][c[2]]);
}

} // namespace

float MatrixDeterminant(const TMatrix& m)
{
    const double d = double(m[0][0]) * Minor(m, 0, 0) - double(m[0][1]) * Minor(m, 0, 1) +
                     double(m[0][2]) * Minor(m, 0, 2) - double(m[0][3]) * Minor(m, 0, 3);
    return static_cast<float>(d);
}

void AdjointMatrix(TMatrix& m)
{
    TMatrix adj;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const float cofactor = Minor(m, j, i);
            adj[i][j] = ((i + j) & 1) ? -cofactor : cofactor;
        }
    m = adj;
}

void ScaleMatrix(TMatrix& m, float factor)
{
    for (int i = 0; i < 4; ++i)
        ScaleVector(m[i], factor);
}

void TransposeMatrix(TMatrix& m)
{
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            const float t = m[i][j];
            m[i][j] = m[j][i];
            m[j][i] = t;
        }
}

void InvertMatrix(TMatrix& m)
{
    const float det = MatrixDeterminant(m);
    if (!(std::fabs(det) >= Epsilon2)) {  // NaN too: there is no inverse to give
        m = IdentityMatrix;
        return;
    }
    AdjointMatrix(m);
    // 1 / det stays in double: for a small but regular matrix it exceeds the float32
    // range while every entry of the inverse still fits.
    const double inv = 1.0 / det;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = static_cast<float>(m[i][j] * inv);
}

TMatrix InvertRotationScaleMatrix(const TMatrix& m)
{
    const double s2 = AffineVectorSquaredLength(m[0]);
    if (!(std::fabs(s2) >= Epsilon2))
        return IdentityMatrix;
    TMatrix r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r[i][j] = static_cast<float>(m[j][i] / s2);
        r[i][3] = 0;
    }
    const TVector& t = m[3];
    for (int j = 0; j < 3; ++j)
        r[3][j] = static_cast<float>(-(double(r[0][j]) * t.X + double(r[1][j]) * t.Y + double(r[2][j]) * t.Z));
    r[3][3] = 1;
    return r;
}

void NormalizeMatrix(TMatrix& m)
{
    NormalizeVector(m[0]);
    NormalizeVector(m[1]);
    m[2] = VectorCrossProduct(m[0], m[1]);
    // Row 2 is a unit vector only when rows 0 and 1 were square to each other.
    NormalizeVector(m[2]);
    m[0] = VectorCrossProduct(m[1], m[2]);
    m[3] = OriginPoint;
}

namespace {

// v scaled to unit length; returns its length (0 leaves v as it is).
double NormalizeRow(TAffineVector& v)
{
    const double length = AffineVectorLength(v);
    if (length != 0) {
        const double inv = 1 / length;
        v = {static_cast<float>(v.X * inv), static_cast<float>(v.Y * inv), static_cast<float>(v.Z * inv)};
    }
    return length;
}

// v := v - f * w.
void SubtractScaled(TAffineVector& v, const TAffineVector& w, double f)
{
    v = {static_cast<float>(v.X - f * w.X), static_cast<float>(v.Y - f * w.Y), static_cast<float>(v.Z - f * w.Z)};
}

} // namespace

bool DecomposeMatrix(const TMatrix& m, TMatrixDecomposition& d)
{
    TMatrix l = m;
    if (l[3][3] == 0)
        return false;
    const float w = l[3][3];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            l[i][j] /= w;

    TMatrix p = l;
    for (int i = 0; i < 3; ++i)
        p[i][3] = 0;
    p[3][3] = 1;
    if (MatrixDeterminant(p) == 0)
        return false;

    if (l[0][3] != 0 || l[1][3] != 0 || l[2][3] != 0) {
        InvertMatrix(p);
        TransposeMatrix(p);
        const TVector persp = TransformVector(TVector{l[0][3], l[1][3], l[2][3], l[3][3]}, p);
        d.PerspectiveX = persp.X;
        d.PerspectiveY = persp.Y;
        d.PerspectiveZ = persp.Z;
        d.PerspectiveW = persp.W;
    } else {
        d.PerspectiveX = d.PerspectiveY = d.PerspectiveZ = d.PerspectiveW = 0;
    }

    d.TranslateX = l[3][0];
    d.TranslateY = l[3][1];
    d.TranslateZ = l[3][2];

    TAffineVector r0{l[0][0], l[0][1], l[0][2]};
    TAffineVector r1{l[1][0], l[1][1], l[1][2]};
    TAffineVector r2{l[2][0], l[2][1], l[2][2]};

    // Gram-Schmidt: each scale is the row's length once the earlier rows' shares are
    // removed, and the shears are expressed relative to those lengths.
    d.ScaleX = static_cast<float>(NormalizeRow(r0));
    double shearXY = AffineDotProduct(r0, r1);
    SubtractScaled(r1, r0, shearXY);
    const double scaleY = NormalizeRow(r1);
    d.ScaleY = static_cast<float>(scaleY);
    shearXY /= scaleY;
    double shearXZ = AffineDotProduct(r0, r2);
    SubtractScaled(r2, r0, shearXZ);
    double shearYZ = AffineDotProduct(r1, r2);
    SubtractScaled(r2, r1, shearYZ);
    const double scaleZ = NormalizeRow(r2);
    d.ScaleZ = static_cast<float>(scaleZ);
    shearXZ /= scaleZ;
    shearYZ /= scaleZ;
    d.ShearXY = static_cast<float>(shearXY);
    d.ShearXZ = static_cast<float>(shearXZ);
    d.ShearYZ = static_cast<float>(shearYZ);

    if (AffineDotProduct(r0, AffineCrossProduct(r1, r2)) < 0) {
        d.ScaleX = -d.ScaleX;
        d.ScaleY = -d.ScaleY;
        d.ScaleZ = -d.ScaleZ;
        NegateAffineVector(r0);
        NegateAffineVector(r1);
        NegateAffineVector(r2);
    }

    // r0 is of unit length, so |r0.Z| beyond 1 is rounding; ArcSin would give NaN.
    const float sinY = ClampValue(-r0.Z, -1, 1);
    d.RotateY = static_cast<float>(ArcSin(sinY));
    if (std::cos(d.RotateY) != 0) {
        d.RotateX = ArcTan2Single(r1.Z, r2.Z);
        d.RotateZ = ArcTan2Single(r0.Y, r0.X);
    } else {
        d.RotateX = ArcTan2Single(r1.X, r1.Y);
        d.RotateZ = 0;
    }
    return true;
}
