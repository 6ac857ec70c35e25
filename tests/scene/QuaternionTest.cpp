#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

void ExpectQuaternionNear(const TQuaternion& a, const TQuaternion& b, float tolerance)
{
    EXPECT_NEAR(a.X, b.X, tolerance);
    EXPECT_NEAR(a.Y, b.Y, tolerance);
    EXPECT_NEAR(a.Z, b.Z, tolerance);
    EXPECT_NEAR(a.W, b.W, tolerance);
}

void ExpectMatrixNear(const TMatrix& actual, const TMatrix& expected, float tolerance)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(actual[i][j], expected[i][j], tolerance) << "[" << i << "][" << j << "]";
}

TMatrix AxisMatrix(int axis, float degrees)
{
    const float a = DegToRad(degrees);
    const float s = std::sin(a), c = std::cos(a);
    return axis == 0 ? MakeRotationMatrixX(s, c) : axis == 1 ? MakeRotationMatrixY(s, c) : MakeRotationMatrixZ(s, c);
}

TEST(NormalizeQuaternionTest, UnitLengthOrIdentity)
{
    const std::pair<TQuaternion, TQuaternion> cases[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 1}}, {{1e-31f, 0, 0, 0}, {0, 0, 0, 1}}, {{0, 0, 0, -2}, {0, 0, 0, -1}},
        {{1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}}, {{3, 0, 4, 0}, {0.6f, 0, 0.8f, 0}},
        // the square of this magnitude underflows float32 but not the sum
        {{1e-25f, 0, 0, 0}, {1, 0, 0, 0}}};
    for (auto [q, expected] : cases) {
        SCOPED_TRACE(::testing::Message() << q.X << "," << q.Y << "," << q.Z << "," << q.W);
        NormalizeQuaternion(q);
        ExpectQuaternionNear(q, expected, 1e-7f);
    }
}

TEST(QuaternionTest, MagnitudeAndHamiltonProduct)
{
    EXPECT_EQ(QuaternionMagnitude(TQuaternion{1, 2, 2, 4}), 5);
    const TQuaternion i{1, 0, 0, 0}, j{0, 1, 0, 0}, k{0, 0, 1, 0};
    ExpectQuaternionNear(QuaternionMultiply(i, j), k, 0);
    ExpectQuaternionNear(QuaternionMultiply(j, i), TQuaternion{0, 0, -1, 0}, 0);
    ExpectQuaternionNear(QuaternionMultiply(j, k), i, 0);
    ExpectQuaternionNear(QuaternionMultiply(k, i), j, 0);
    ExpectQuaternionNear(QuaternionMultiply(i, i), TQuaternion{0, 0, 0, -1}, 0);
    const TQuaternion q{0.1f, -0.2f, 0.3f, 0.9f};
    ExpectQuaternionNear(QuaternionMultiply(IdentityQuaternion, q), q, 0);
    ExpectQuaternionNear(QuaternionMultiply(q, IdentityQuaternion), q, 0);
}

TEST(QuaternionTest, AngleAxisTurnsLikeTheAxisMatrices)
{
    for (int axis = 0; axis < 3; ++axis)
        for (float degrees : {0.0f, 30.0f, 90.0f, -135.0f, 180.0f}) {
            TAffineVector v{0, 0, 0};
            v[axis] = 3;  // the axis length does not matter
            ExpectMatrixNear(QuaternionToMatrix(QuaternionFromAngleAxis(degrees, v)), AxisMatrix(axis, degrees), 1e-6f);
        }
    ExpectQuaternionNear(QuaternionFromAngleAxis(90, ZVector), TQuaternion{0, 0, 0.70710678f, 0.70710678f}, 1e-7f);
    ExpectQuaternionNear(QuaternionFromAngleAxis(45, NullVector), IdentityQuaternion, 0);
}

TEST(QuaternionTest, ToMatrixNormalisesFirst)
{
    const TQuaternion q{0.2f, -0.4f, 0.1f, 0.8f};
    const TQuaternion doubled{0.4f, -0.8f, 0.2f, 1.6f};
    ExpectMatrixNear(QuaternionToMatrix(doubled), QuaternionToMatrix(q), 1e-6f);
    const TMatrix m = QuaternionToMatrix(q);
    EXPECT_NEAR(MatrixDeterminant(m), 1, 1e-6);
    ExpectMatrixNear(QuaternionToMatrix(TQuaternion{0, 0, 0, 0}), IdentityMatrix, 0);
}

// The quaternion at position 3 of the product turns first, so the matrix is the
// product of the axis matrices from position 3 down to position 1.
TEST(EulerAnglesTest, ProductInTheTableOrder)
{
    for (TEulerOrder order : {eulXYZ, eulXZY, eulYXZ, eulYZX, eulZXY, eulZYX}) {
        SCOPED_TRACE(order);
        const float angles[3] = {25, -40, 70};
        TMatrix byPosition[3];
        for (int axis = 0; axis < 3; ++axis)
            byPosition[EulerAxisOrder[order][axis] - 1] = AxisMatrix(axis, angles[axis]);
        const TMatrix expected = MultiplyMatrices(byPosition[2], MultiplyMatrices(byPosition[1], byPosition[0]));
        ExpectMatrixNear(QuaternionToMatrix(QuaternionFromEulerAngles(order, angles[0], angles[1], angles[2])),
                         expected, 1e-6f);
        // away from the gimbal point the guarded form gives the same
        ExpectQuaternionNear(QuaternionFromEuler(order, angles[0], angles[1], angles[2]),
                             QuaternionFromEulerAngles(order, angles[0], angles[1], angles[2]), 1e-7f);
        // whole turns added to every angle change nothing
        ExpectMatrixNear(
            QuaternionToMatrix(QuaternionFromEuler(order, angles[0] + 360, angles[1] - 720, angles[2] + 1080)),
            expected, 1e-5f);
    }
}

TEST(EulerGimbalTest, MiddleAngleAtNinetyStillTurnsRight)
{
    const struct {
        TEulerOrder order;
        float x, y, z;
        TAffineVector axis;  // the single turn expected
        float degrees;
    } cases[] = {{eulXYZ, 0, 90, 0, YVector, 90},   {eulXYZ, 0, -90, 0, YVector, -90},
                 {eulXYZ, 360, 450, -360, YVector, 90},  // wraps first
                 {eulZYX, 0, 90, 0, YVector, 90},   {eulXZY, 0, 0, 90, ZVector, 90},
                 {eulYZX, 0, 0, -90, ZVector, -90}, {eulYXZ, 90, 0, 0, XVector, 90},
                 {eulZXY, 90, 0, 0, XVector, 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.order << ": " << c.x << "," << c.y << "," << c.z);
        ExpectMatrixNear(QuaternionToMatrix(QuaternionFromEuler(c.order, c.x, c.y, c.z)),
                         QuaternionToMatrix(QuaternionFromAngleAxis(c.degrees, c.axis)), 1e-5f);
    }
}

TEST(SlerpTest, EndsMidpointAndTheShorterArc)
{
    const TQuaternion a = IdentityQuaternion;
    const TQuaternion b = QuaternionFromAngleAxis(90, ZVector);
    ExpectQuaternionNear(SlerpQuaternions(a, b, 0), a, 1e-7f);
    ExpectQuaternionNear(SlerpQuaternions(a, b, 1), b, 1e-7f);
    ExpectQuaternionNear(SlerpQuaternions(a, b, 0.5f), QuaternionFromAngleAxis(45, ZVector), 1e-7f);
    ExpectQuaternionNear(SlerpQuaternions(a, b, 0.25f), QuaternionFromAngleAxis(22.5f, ZVector), 1e-7f);
    // toward the negated quaternion it takes the shorter arc
    const TQuaternion negB{-b.X, -b.Y, -b.Z, -b.W};
    ExpectQuaternionNear(SlerpQuaternions(a, negB, 0.5f), SlerpQuaternions(a, b, 0.5f), 1e-7f);
}

TEST(SlerpTest, SameOrNegatedQuaternionGivesItBack)
{
    TQuaternion q{0.1f, 0.2f, 0.3f, 0.9f};
    NormalizeQuaternion(q);
    for (float t : {0.0f, 0.3f, 0.5f, 1.0f, 2.0f}) {
        SCOPED_TRACE(t);
        ExpectQuaternionNear(SlerpQuaternions(q, q, t), q, 1e-7f);
        ExpectQuaternionNear(SlerpQuaternions(q, TQuaternion{-q.X, -q.Y, -q.Z, -q.W}, t), q, 1e-7f);
        ExpectQuaternionNear(SlerpQuaternions(IdentityQuaternion, IdentityQuaternion, t), IdentityQuaternion, 0);
    }
}

TEST(LerpEulerAnglesTest, InterpolatesThroughQuaternions)
{
    const TAffineVector a{0.1f, -0.2f, 0.3f};
    const TAffineVector b{0.5f, 0.4f, -0.6f};
    const TAffineVector same = LerpEulerAngles(a, a, 0.7f);
    EXPECT_TRUE(AffineVectorEquals(same, a));
    const TAffineVector start = LerpEulerAngles(a, b, 0);
    EXPECT_NEAR(start.X, a.X, 1e-5);
    EXPECT_NEAR(start.Y, a.Y, 1e-5);
    EXPECT_NEAR(start.Z, a.Z, 1e-5);
    const TAffineVector end = LerpEulerAngles(a, b, 1);
    EXPECT_NEAR(end.X, b.X, 1e-5);
    EXPECT_NEAR(end.Y, b.Y, 1e-5);
    EXPECT_NEAR(end.Z, b.Z, 1e-5);
    // about one axis the interpolation is linear in the angle
    const TAffineVector half = LerpEulerAngles(TAffineVector{0, 0, 0}, TAffineVector{0, 0, 1}, 0.5f);
    EXPECT_NEAR(half.X, 0, 1e-6);
    EXPECT_NEAR(half.Y, 0, 1e-6);
    EXPECT_NEAR(half.Z, 0.5f, 1e-6);
}

} // namespace
