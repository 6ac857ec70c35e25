#include "scene/base/Quaternions.h"

#include "scene/base/MatrixMath.h"
#include "scene/base/ScalarMath.h"
#include "scene/base/VectorArithmetic.h"
#include "scene/base/VectorProducts.h"

#include <cmath>

namespace {

double Dot(const TQuaternion& a, const TQuaternion& b)
{
    return double(a.X) * b.X + double(a.Y) * b.Y + double(a.Z) * b.Z + double(a.W) * b.W;
}

} // namespace

float QuaternionMagnitude(const TQuaternion& q)
{
    return static_cast<float>(std::sqrt(Dot(q, q)));
}

void NormalizeQuaternion(TQuaternion& q)
{
    const float m = QuaternionMagnitude(q);
    if (!(m > Epsilon)) {
        q = IdentityQuaternion;
        return;
    }
    q = {q.X / m, q.Y / m, q.Z / m, q.W / m};
}

TQuaternion QuaternionMultiply(const TQuaternion& a, const TQuaternion& b)
{
    const double ax = a.X, ay = a.Y, az = a.Z, aw = a.W;
    return {static_cast<float>(aw * b.X + ax * b.W + ay * b.Z - az * b.Y),
            static_cast<float>(aw * b.Y + ay * b.W + az * b.X - ax * b.Z),
            static_cast<float>(aw * b.Z + az * b.W + ax * b.Y - ay * b.X),
            static_cast<float>(aw * b.W - ax * b.X - ay * b.Y - az * b.Z)};
}

TMatrix QuaternionToMatrix(const TQuaternion& q)
{
    TQuaternion n = q;
    NormalizeQuaternion(n);
    const double x = n.X, y = n.Y, z = n.Z, w = n.W;
    auto f = [](double v) { return static_cast<float>(v); };
    return TMatrix{{{f(1 - 2 * (y * y + z * z)), f(2 * (x * y + z * w)), f(2 * (x * z - y * w)), 0},
                    {f(2 * (x * y - z * w)), f(1 - 2 * (x * x + z * z)), f(2 * (y * z + x * w)), 0},
                    {f(2 * (x * z + y * w)), f(2 * (y * z - x * w)), f(1 - 2 * (x * x + y * y)), 0},
                    {0, 0, 0, 1}}};
}

TQuaternion QuaternionFromAngleAxis(float angleDegrees, const TAffineVector& axis)
{
    const double length = AffineVectorLength(axis);
    if (length == 0)
        return IdentityQuaternion;  // no axis to turn about
    float s = 0, c = 0;
    SinCos(DegToRad(angleDegrees) * 0.5f, s, c);
    const double k = s / length;
    return {static_cast<float>(axis.X * k), static_cast<float>(axis.Y * k), static_cast<float>(axis.Z * k), c};
}

TQuaternion QuaternionFromEulerAngles(TEulerOrder order, float x, float y, float z)
{
    const TQuaternion qx = QuaternionFromAngleAxis(x, XVector);
    const TQuaternion qy = QuaternionFromAngleAxis(y, YVector);
    const TQuaternion qz = QuaternionFromAngleAxis(z, ZVector);
    TQuaternion at[3];
    at[EulerAxisOrder[order][0] - 1] = qx;
    at[EulerAxisOrder[order][1] - 1] = qy;
    at[EulerAxisOrder[order][2] - 1] = qz;
    return QuaternionMultiply(at[0], QuaternionMultiply(at[1], at[2]));
}

TQuaternion QuaternionFromEuler(TEulerOrder order, float x, float y, float z)
{
    x = WrapDegrees180(x);
    y = WrapDegrees180(y);
    z = WrapDegrees180(z);
    // The angle in the middle of the product decides the gimbal point.
    float* middle = &y;
    if (order == eulXZY || order == eulYZX)
        middle = &z;
    else if (order == eulYXZ || order == eulZXY)
        middle = &x;
    if (std::fabs(std::fabs(*middle) - 90.0f) <= Epsilon) {
        const float centre = *middle;
        *middle = centre - 0.001f;
        const TQuaternion q1 = QuaternionFromEulerAngles(order, x, y, z);
        *middle = centre + 0.001f;
        const TQuaternion q2 = QuaternionFromEulerAngles(order, x, y, z);
        return SlerpQuaternions(q1, q2, 0.5f);
    }
    return QuaternionFromEulerAngles(order, x, y, z);
}

TQuaternion SlerpQuaternions(const TQuaternion& a, const TQuaternion& b, float t)
{
    // cosom is kept in float32 so that a quaternion against itself takes the exact
    // linear path instead of an arc of a few ulps.
    float cosom = static_cast<float>(Dot(a, b));
    TQuaternion to = b;
    if (cosom < 0) {
        cosom = -cosom;
        to = {-b.X, -b.Y, -b.Z, -b.W};
    }
    double s0, s1;
    if (1.0 - cosom <= Epsilon) {
        s0 = 1.0 - t;
        s1 = t;
    } else {
        const double omega = static_cast<double>(ArcCos(cosom));
        const double k = 1 / std::sin(omega);
        s0 = std::sin((1.0 - t) * omega) * k;
        s1 = std::sin(t * omega) * k;
    }
    TQuaternion r{static_cast<float>(s0 * a.X + s1 * to.X), static_cast<float>(s0 * a.Y + s1 * to.Y),
                  static_cast<float>(s0 * a.Z + s1 * to.Z), static_cast<float>(s0 * a.W + s1 * to.W)};
    NormalizeQuaternion(r);
    return r;
}

TAffineVector LerpEulerAngles(const TAffineVector& a, const TAffineVector& b, float t)
{
    if (AffineVectorEquals(a, b))
        return a;
    const TQuaternion qa = QuaternionFromEuler(eulZYX, RadToDeg(a.X), RadToDeg(a.Y), RadToDeg(a.Z));
    const TQuaternion qb = QuaternionFromEuler(eulZYX, RadToDeg(b.X), RadToDeg(b.Y), RadToDeg(b.Z));
    const TMatrix m = QuaternionToMatrix(SlerpQuaternions(qa, qb, t));
    TMatrixDecomposition d{};
    DecomposeMatrix(m, d);  // a rotation matrix always decomposes
    return {d.RotateX, d.RotateY, d.RotateZ};
}
