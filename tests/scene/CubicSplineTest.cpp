#include "scene/base/CubicSpline.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CubicSpline, TwoPointsGiveTheStraightSegment)
{
    const float x[] = {0, 1}, y[] = {0, 2}, z[] = {0, 3};
    TCubicSpline s(x, y, z, nullptr, 2);
    float px, py, pz;
    s.SplineXYZ(0.5f, px, py, pz);
    EXPECT_FLOAT_EQ(px, 0.5f);
    EXPECT_FLOAT_EQ(py, 1);
    EXPECT_FLOAT_EQ(pz, 1.5f);
    EXPECT_EQ(s.SplineVector(0.5f).W, 0) << "no W values";
}

TEST(CubicSpline, EvenCollinearPointsStayLinearAndExtrapolate)
{
    const float x[] = {0, 1, 2}, y[] = {0, 2, 4}, z[] = {1, 1, 1};
    TCubicSpline s(x, y, z, nullptr, 3);
    struct Case {
        float t;
        float x, y;
    } cases[] = {{0, 0, 0}, {0.25f, 0.25f, 0.5f}, {1, 1, 2}, {1.5f, 1.5f, 3}, {2, 2, 4}, {3, 3, 6}, {-1, -1, -2}};
    for (const Case& c : cases) {
        const TAffineVector p = s.SplineAffineVector(c.t);
        EXPECT_NEAR(p.X, c.x, 1e-5) << c.t;
        EXPECT_NEAR(p.Y, c.y, 1e-5) << c.t;
        EXPECT_NEAR(p.Z, 1, 1e-5) << c.t;
    }
}

TEST(CubicSpline, PassesThroughEveryPointWithContinuousSlope)
{
    const float y[] = {0, 3, -1, 2, 2, 5};
    TCubicSpline s(y, y, y, y, 6);
    for (int i = 0; i < 6; ++i) {
        float px, py, pz, pw;
        s.SplineXYZW(static_cast<float>(i), px, py, pz, pw);
        EXPECT_NEAR(px, y[i], 1e-4) << i;
        EXPECT_NEAR(pw, y[i], 1e-4) << i;
    }
    // The slope does not jump at the inner points.
    for (int i = 1; i < 5; ++i) {
        const float h = 1e-2f;
        const float t = static_cast<float>(i);
        const float left = (s.SplineVector(t).X - s.SplineVector(t - h).X) / h;
        const float right = (s.SplineVector(t + h).X - s.SplineVector(t).X) / h;
        EXPECT_NEAR(left, right, 0.2) << i;
    }
}

TEST(CubicSpline, FewerThanTwoPointsEvaluateToZero)
{
    const float one[] = {7};
    TCubicSpline single(one, one, one, one, 1);
    const TVector v = single.SplineVector(0);
    EXPECT_EQ(v.X, 0);
    EXPECT_EQ(v.W, 0);
    TCubicSpline none(nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(none.SplineAffineVector(3).Y, 0);
    EXPECT_TRUE(BuildSplineMatrix(one, 1).empty());
    EXPECT_TRUE(BuildSplineMatrix(nullptr, 5).empty());
}

TEST(CubicSpline, SolverMatchesTheTridiagonalSystem)
{
    // Rows (2 1), (1 4 1), (1 4 1), (1 2).
    const float r[] = {3, 6, 6, 3};
    float x[4];
    SolveSplineSystem(r, 4, x);
    EXPECT_NEAR(2 * x[0] + x[1], 3, 1e-5);
    EXPECT_NEAR(x[0] + 4 * x[1] + x[2], 6, 1e-5);
    EXPECT_NEAR(x[1] + 4 * x[2] + x[3], 6, 1e-5);
    EXPECT_NEAR(x[2] + 2 * x[3], 3, 1e-5);
}
