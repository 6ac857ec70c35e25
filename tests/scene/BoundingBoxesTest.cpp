#include "scene/base/BoundingBoxes.h"
#include "scene/base/MatrixMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TMatrix Translation(float x, float y, float z) { return MakeScaleTranslationMatrix({1, 1, 1}, {x, y, z}); }

TAABB Box(float x0, float y0, float z0, float x1, float y1, float z1) { return {{x0, y0, z0}, {x1, y1, z1}}; }

} // namespace

TEST(BoundingBoxes, UnionIncludeScaleAndExtents)
{
    TAABB box = Box(0, 0, 0, 1, 1, 1);
    AddAABB(box, box);
    EXPECT_EQ(box.Max.X, 1);
    EXPECT_EQ(box.Min.X, 0);
    AddAABB(box, Box(-1, 0.5f, 0.5f, 0.5f, 3, 0.5f));
    EXPECT_EQ(box.Min.X, -1);
    EXPECT_EQ(box.Max.Y, 3);
    EXPECT_EQ(box.Max.Z, 1);
    IncludeInAABB(box, {5, -5, 0.5f});
    EXPECT_EQ(box.Max.X, 5);
    EXPECT_EQ(box.Min.Y, -5);
    EXPECT_EQ(box.Min.Z, 0);
    ScaleAABB(box, {2, 1, -1});
    EXPECT_EQ(box.Max.X, 10);
    EXPECT_EQ(box.Max.Z, -1);
    SetAABBFromExtents(box, {-2, 3, 0});
    EXPECT_EQ(box.Max.X, 2);
    EXPECT_EQ(box.Min.X, -2);
    EXPECT_EQ(box.Min.Y, -3);
}

TEST(BoundingBoxes, CornersFollowTheFixedOrderAndPlanesFaceOutward)
{
    const TAABBCorners c = AABBToCorners(Box(0, 0, 0, 1, 2, 3));
    const float expected[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 2, 0}, {0, 2, 0},
                                  {0, 0, 3}, {1, 0, 3}, {1, 2, 3}, {0, 2, 3}};
    for (int i = 0; i < 8; ++i) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(c[static_cast<std::size_t>(i)][k], expected[i][k]) << i;
        }
    }
    const TAABBPlanes planes = AABBToPlanes(c);
    // Every plane passes through its face's fourth corner too.
    for (int f = 0; f < 6; ++f) {
        const THmgPlane& p = planes[static_cast<std::size_t>(f)];
        const TAffineVector& q = c[static_cast<std::size_t>(cAABBFaces[f][3])];
        EXPECT_NEAR(p.X * q.X + p.Y * q.Y + p.Z * q.Z + p.W, 0, 1e-5) << f;
    }
}

TEST(BoundingBoxes, TransformAABBOfARotatedCube)
{
    TAABB box = Box(-1, -1, -1, 1, 1, 1);
    TransformAABB(box, MakeRotationMatrixZ(std::sin(0.78539816f), std::cos(0.78539816f)));
    EXPECT_NEAR(box.Max.X, std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(box.Min.Y, -std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(box.Max.Z, 1, 1e-6);
    TAABB moved = Box(0, 0, 0, 1, 1, 1);
    TransformAABB(moved, Translation(5, 0, -1));
    EXPECT_EQ(moved.Min.X, 5);
    EXPECT_EQ(moved.Max.Z, 0);
}

TEST(BoundingBoxes, OverlapXYIgnoresZAndCountsTouching)
{
    struct Case {
        TAABB a, b;
        bool overlap;
    } cases[] = {
        {Box(0, 0, 0, 1, 1, 1), Box(1, 1, 5, 2, 2, 6), true},   // touching at a corner, far apart in Z
        {Box(0, 0, 0, 1, 1, 1), Box(1.01f, 0, 0, 2, 1, 1), false},
        {Box(0, 0, 0, 1, 1, 1), Box(0.2f, 0.2f, 0, 0.5f, 0.5f, 1), true},
        {Box(0, 0, 0, 1, 1, 1), Box(0, -2, 0, 1, -0.5f, 1), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OverlapAABBsXY(c.a, c.b), c.overlap) << c.b.Min.X << "," << c.b.Min.Y;
    }
}

TEST(BoundingBoxes, PlaneBoxOverlap)
{
    const TAABB box = Box(-1, -1, -1, 1, 1, 1);
    struct Case {
        TAffineVector normal;
        float d;
        bool overlap;
    } cases[] = {
        {{0, 0, 1}, 0, true},      {{0, 0, 1}, -1, true},  {{0, 0, 1}, -1.01f, false},
        {{0, 0, 1}, 1.01f, false}, {{1, 1, 0}, -2, true},  {{1, 1, 0}, -2.01f, false},
        {{0, 0, -1}, 0.5f, true},  {{0, 0, 0}, 0, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaneBoxOverlap(c.normal, box, c.d), c.overlap) << c.d;
    }
}

TEST(BoundingBoxes, IntersectAABBs)
{
    const TMatrix id = IdentityMatrix;
    const TAABB unit = Box(-1, -1, -1, 1, 1, 1);
    EXPECT_TRUE(IntersectAABBs(unit, unit, id, id));
    // A plus sign: one bar long in X, one long in Y; no corner of either lies inside the
    // other. Found whichever of the two is the thinner bar.
    const TAABB thick = Box(-3, -0.5f, -0.5f, 3, 0.5f, 0.5f);
    const TAABB thin = Box(-0.4f, -3, -0.4f, 0.4f, 3, 0.4f);
    EXPECT_TRUE(IntersectAABBs(thin, thick, id, id));
    EXPECT_TRUE(IntersectAABBs(thick, thin, id, id));
    // Crossing bars that pass each other at different heights do not meet.
    EXPECT_FALSE(IntersectAABBs(thick, Box(-0.4f, -3, 0.6f, 0.4f, 3, 1.4f), id, id));
    // Apart.
    EXPECT_FALSE(IntersectAABBs(unit, Box(5, 5, 5, 6, 6, 6), id, id));
    // The same boxes brought together by the frames.
    const TAABB far = Box(5, 5, 5, 6, 6, 6);
    EXPECT_TRUE(IntersectAABBs(unit, far, Translation(5.5f, 5.5f, 5.5f), Translation(-5.5f, -5.5f, -5.5f)));
}

TEST(BoundingBoxes, TriangleBoxSeparatingAxes)
{
    struct Case {
        const char* what;
        TAABB box;
        TAffineVector p1, p2, p3;
        bool hit;
    } cases[] = {
        {"through the middle", Box(-1, -1, -1, 1, 1, 1), {-2, -2, 0}, {2, -2, 0}, {0, 2, 0}, true},
        {"above the box", Box(-1, -1, -1, 1, 1, 1), {-2, -2, 2}, {2, -2, 2}, {0, 2, 2}, false},
        {"triangle inside", Box(-1, -1, -1, 1, 1, 1), {0, 0, 0}, {0.1f, 0, 0}, {0, 0.1f, 0}, true},
        {"plane misses the box", Box(-1, -1, -1, 1, 1, 1), {4, 0, 0}, {0, 4, 0}, {0, 0, 4}, false},
        {"plane touches a corner", Box(-1, -1, -1, 1, 1, 1), {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, true},
        {"beside the corner", Box(-1, -1, -1, 1, 1, 1), {0.5f, 2, 0}, {2, 0.5f, 0}, {2, 2, 0}, false},
        // The same cases far from the origin: only the edge axes can tell them apart.
        {"off-centre, beside the corner", Box(9, 9, 9, 11, 11, 11), {10.5f, 12, 10}, {12, 10.5f, 10},
         {12, 12, 10}, false},
        {"off-centre, through", Box(9, 9, 9, 11, 11, 11), {8, 8, 10}, {12, 8, 10}, {10, 12, 10}, true},
        {"off-centre, cutting a corner", Box(9, 9, 9, 11, 11, 11), {10.5f, 11.5f, 10}, {11.5f, 10.5f, 10},
         {12, 12, 10}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntersectTriangleBox(c.box, c.p1, c.p2, c.p3), c.hit) << c.what;
    }
}
