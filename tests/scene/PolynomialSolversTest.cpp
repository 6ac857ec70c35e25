#include "scene/base/PolynomialSolvers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

void ExpectRoots(const TDoubleArray& got, std::initializer_list<double> want, double tolerance)
{
    ASSERT_EQ(got.size(), want.size());
    std::size_t i = 0;
    for (double w : want) {
        EXPECT_NEAR(got[i], w, tolerance) << "root " << i;
        ++i;
    }
}

} // namespace

TEST(PolynomialSolvers, QuadraticRootsInOrderAndLinearWithZeroLeadingCoefficient)
{
    const double twoRoots[] = {2, -3, 1}, doubleRoot[] = {1, -2, 1}, none[] = {1, 0, 1};
    ExpectRoots(SolveQuadratic(twoRoots), {2, 1}, 1e-12);
    ExpectRoots(SolveQuadratic(doubleRoot), {1}, 1e-12);
    EXPECT_TRUE(SolveQuadratic(none).empty());
    const double linear[] = {-4, 2, 0}, constant[] = {3, 0, 0};
    ExpectRoots(SolveQuadratic(linear), {2}, 1e-12);
    EXPECT_TRUE(SolveQuadratic(constant).empty());
}

TEST(PolynomialSolvers, CubicCases)
{
    const double nearlyQuadratic[] = {2, -3, 1, 1e-50};
    ExpectRoots(SolveCubic(nearlyQuadratic), {2, 1}, 1e-12);
    const double threeRoots[] = {-6, 11, -6, 1};
    ExpectRoots(SolveCubic(threeRoots), {3, 2, 1}, 1e-5);
    const double cube[] = {0, 0, 0, 1};
    ExpectRoots(SolveCubic(cube), {0}, 1e-12);
    // x^3 - 1: one real root through the positive-discriminant branch.
    const double oneReal[] = {-1, 0, 0, 1};
    ExpectRoots(SolveCubic(oneReal), {1}, 1e-6);
    // (x - 1)^2 (x + 2): zero discriminant, the double root once.
    const double doubled[] = {2, -3, 0, 1};
    TDoubleArray roots = SolveCubic(doubled);
    std::sort(roots.begin(), roots.end());
    ExpectRoots(roots, {-2, 1}, 1e-5);
}

TEST(PolynomialSolvers, CubicArcCosineArgumentStaysInRange)
{
    // Three roots packed closely: the single-precision reciprocal puts the arc-cosine
    // argument at the edge of [-1, 1]; roots must stay finite.
    const double tight[] = {-(1.0 * 1.0001 * 1.0002), 1.0 * 1.0001 + 1.0 * 1.0002 + 1.0001 * 1.0002,
                            -(1.0 + 1.0001 + 1.0002), 1};
    for (double r : SolveCubic(tight)) {
        EXPECT_TRUE(std::isfinite(r));
        EXPECT_NEAR(r, 1.0001, 0.01);
    }
}

TEST(PolynomialSolvers, QuarticCases)
{
    const double fourthRootOfOne[] = {-1, 0, 0, 0, 1};
    ExpectRoots(SolveQuartic(fourthRootOfOne), {1, -1}, 1e-5);
    const double none[] = {1, 0, 0, 0, 1};
    EXPECT_TRUE(SolveQuartic(none).empty());
    // (x-1)(x-2)(x-3)(x-4) = 24 - 50x + 35x^2 - 10x^3 + x^4
    const double four[] = {24, -50, 35, -10, 1};
    TDoubleArray roots = SolveQuartic(four);
    std::sort(roots.begin(), roots.end());
    ExpectRoots(roots, {1, 2, 3, 4}, 1e-3);
    // x (x^3 - 1): the zero constant term takes the cubic path plus the root 0.
    const double withZero[] = {0, -1, 0, 0, 1};
    ExpectRoots(SolveQuartic(withZero), {1, 0}, 1e-6);
    // Symmetric quartics (no odd term once shifted), as a ray straight through a
    // torus gives: the resolvent root makes u or v exactly 0, and rounding must not
    // lose the real roots.
    struct Case {
        std::array<double, 5> c;
        std::vector<double> roots;
    };
    const double y = std::sqrt((std::sqrt(0.2592) - 0.36) / 2);
    for (const Case& c : {Case{{4, 0, -5, 0, 1}, {-2, -1, 1, 2}}, Case{{-0.0324, 0, 0.36, 0, 1}, {-y, y}},
                          Case{{0.0099, 0, -0.2, 0, 1}, {-std::sqrt(0.11), -0.3, 0.3, std::sqrt(0.11)}},
                          // (t - 4.9)(t - 5.1)(t^2 - 10t + 25.63): two real roots around 5
                          Case{{24.99 * 25.63, -10 * (24.99 + 25.63), 24.99 + 25.63 + 100, -20, 1}, {4.9, 5.1}}}) {
        roots = SolveQuartic(c.c.data());
        std::sort(roots.begin(), roots.end());
        ASSERT_EQ(roots.size(), c.roots.size()) << c.c[0];
        for (std::size_t i = 0; i < roots.size(); ++i) {
            EXPECT_NEAR(roots[i], c.roots[i], 1e-4) << c.c[0];
        }
    }
}

TEST(PolynomialSolvers, MinPositiveRoot)
{
    double min = -1;
    EXPECT_TRUE(MinPositiveRoot({-1, 0.5, 0.25}, min));
    EXPECT_EQ(min, 0.25);
    EXPECT_FALSE(MinPositiveRoot({-2, -1}, min));
    EXPECT_FALSE(MinPositiveRoot({}, min));
    EXPECT_TRUE(MinPositiveRoot({0}, min));
    EXPECT_EQ(min, 0);
}

TEST(PolynomialSolvers, CubeRootKeepsTheSign)
{
    EXPECT_NEAR(CubeRoot(27), 3, 1e-5);
    EXPECT_NEAR(CubeRoot(-8), -2, 1e-5);
    EXPECT_EQ(CubeRoot(0), 0);
    EXPECT_TRUE(IsNearZero(1e-41));
    EXPECT_FALSE(IsNearZero(1e-39));
}
