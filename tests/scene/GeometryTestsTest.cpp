#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void ExpectVector(const TVector& actual, const TVector& expected, float tolerance = 0)
{
    EXPECT_NEAR(actual.X, expected.X, tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, tolerance);
    EXPECT_NEAR(actual.Z, expected.Z, tolerance);
    EXPECT_NEAR(actual.W, expected.W, tolerance);
}

const TVector kUntouched{-99, -99, -99, -99};

TEST(PlaneTest, PlanesFromPointsFaceTheCounterClockwiseSide)
{
    const TAffineVector p1{0, 0, 1}, p2{2, 0, 1}, p3{0, 3, 1};
    const TAffineVector n = PlaneNormalFromPoints(p1, p2, p3);
    EXPECT_EQ(n.X, 0);
    EXPECT_EQ(n.Y, 0);
    EXPECT_EQ(n.Z, 1);
    const TAffineVector back = PlaneNormalFromPoints(p1, p3, p2);
    EXPECT_EQ(back.Z, -1);
    const THmgPlane plane = PlaneFromPoints(p1, p2, p3);
    ExpectVector(plane, TVector{0, 0, 1, -1});
    EXPECT_EQ(PlaneEvaluatePoint(plane, TAffineVector{5, 5, 4}), 3);
    EXPECT_EQ(PlaneEvaluatePoint(plane, TVector{5, 5, -1, 1}), -2);

    TVector result{7, 7, 7, 42};
    NormalFromVectorPoints(TVector{0, 0, 0, 1}, TVector{0, 5, 0, 1}, TVector{0, 0, 5, 1}, result);
    ExpectVector(result, TVector{1, 0, 0, 42});  // W not written
    const TAffineVector vn = PlaneNormalFromPoints(TVector{0, 0, 0, 1}, TVector{0, 0, 5, 1}, TVector{5, 0, 0, 1});
    EXPECT_EQ(vn.Y, 1);
}

TEST(PlaneTest, NormalizePlaneScalesAllFourComponents)
{
    THmgPlane p{0, 3, 4, 10};
    NormalizePlane(p);
    ExpectVector(p, TVector{0, 0.6f, 0.8f, 2}, 1e-7f);
    THmgPlane none{0, 0, 0, 5};
    NormalizePlane(none);
    ExpectVector(none, TVector{0, 0, 0, 5});
}

TEST(FrustumTest, PlanesOfTheIdentityAreTheUnitCubeInOrder)
{
    const TFrustum f = FrustumFromMatrix(IdentityMatrix);
    const float r = 1;  // (a, b, c) of unit length, d scaled with them
    ExpectVector(f.Left, TVector{r, 0, 0, r}, 1e-7f);
    ExpectVector(f.Top, TVector{0, -r, 0, r}, 1e-7f);
    ExpectVector(f.Right, TVector{-r, 0, 0, r}, 1e-7f);
    ExpectVector(f.Bottom, TVector{0, r, 0, r}, 1e-7f);
    ExpectVector(f.Near, TVector{0, 0, r, r}, 1e-7f);
    ExpectVector(f.Far, TVector{0, 0, -r, r}, 1e-7f);
}

TEST(FrustumTest, ScaledMatrixNarrowsTheBox)
{
    // x scaled by 2: the side planes move to x = +-0.5
    const TFrustum f = FrustumFromMatrix(MakeScaleTranslationMatrix({2, 1, 1}, {0, 0, 0}));
    ExpectVector(f.Left, TVector{1, 0, 0, 0.5f}, 1e-7f);
    EXPECT_NEAR(PlaneEvaluatePoint(f.Left, TAffineVector{-0.5f, 0, 0}), 0, 1e-7);
    EXPECT_NEAR(PlaneEvaluatePoint(f.Right, TAffineVector{0.5f, 0, 0}), 0, 1e-7);
    EXPECT_GT(PlaneEvaluatePoint(f.Right, TAffineVector{0, 0, 0}), 0);
}

// An exact frustum: the cube -1..1 with unit normals pointing in.
const TFrustum kCube{{1, 0, 0, 1}, {0, -1, 0, 1}, {-1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {0, 0, -1, 1}};

TEST(OutsideFrustumTest, TouchingFromOutsideIsNotOutside)
{
    const struct {
        TAffineVector center;
        float radius;
        bool outside;
    } spheres[] = {{{0, 0, 0}, 0.1f, false}, {{-2, 0, 0}, 1, false}, {{-2, 0, 0}, 0.99f, true},
                   {{0, 2, 0}, 1, false}, {{0, 2, 0}, 0.99f, true}, {{2, 0, 0}, 1, false}, {{2, 0, 0}, 0.99f, true},
                   {{0, -2, 0}, 1, false}, {{0, -2, 0}, 0.99f, true}, {{0, 0, -2}, 1, false},
                   {{0, 0, -2}, 0.99f, true}, {{0, 0, 2}, 1, false}, {{0, 0, 2}, 0.99f, true},
                   // a big sphere around the whole frustum
                   {{10, 10, 10}, 100, false},
                   // outside two planes at a corner, but near enough to both
                   {{1.5f, 1.5f, 0}, 0.6f, false}};
    for (const auto& c : spheres) {
        SCOPED_TRACE(::testing::Message() << c.center.X << "," << c.center.Y << "," << c.center.Z << " r " << c.radius);
        EXPECT_EQ(SphereOutsideFrustum(c.center, kCube, c.radius), c.outside);
        EXPECT_EQ(SphereOutsideFrustum(MakePointFromAffine(c.center), kCube, c.radius), c.outside);
    }
    // boxes use their bounding sphere
    const struct {
        TAffineVector min, max;
        bool outside;
    } boxes[] = {{{2, 2, 2}, {4, 4, 4}, true}, {{1.5f, -0.5f, -0.5f}, {2.5f, 0.5f, 0.5f}, true},
                 {{0.5f, -0.5f, -0.5f}, {1.5f, 0.5f, 0.5f}, false}, {{-0.1f, -0.1f, -0.1f}, {0.1f, 0.1f, 0.1f}, false},
                 // centre 2 units out, bounding sphere radius exactly 1: touching
                 {{2, 0, 0}, {2, 0, 2}, false},
                 // its corners are outside but its bounding sphere reaches in
                 {{1.2f, 1.2f, -1}, {2.2f, 2.2f, 1}, false}};
    for (const auto& c : boxes)
        EXPECT_EQ(BoxOutsideFrustum(c.min, c.max, kCube), c.outside) << c.min.X << "," << c.min.Y << "," << c.min.Z;
}

TEST(IntersectRayPlaneTest, ParallelTestAloneWithoutAPoint)
{
    const struct {
        const char* name;
        TVector start, dir;
        bool notParallel, hitAhead;
        TVector point;
    } cases[] = {{"down onto it", {1, 2, 5, 1}, {0, 0, -1, 0}, true, true, {1, 2, 0, 1}},
                 {"slanted", {0, 0, 4, 1}, {1, 0, -2, 0}, true, true, {2, 0, 0, 1}},
                 {"from below", {0, 0, -3, 1}, {0, 0, 0.5f, 0}, true, true, {0, 0, 0, 1}},
                 {"plane behind", {1, 2, 5, 1}, {0, 0, 1, 0}, true, false, {}},
                 {"parallel", {1, 2, 5, 1}, {1, 0, 0, 0}, false, false, {}},
                 {"in the plane", {1, 2, 0, 1}, {1, 1, 0, 0}, false, false, {}},
                 {"starting on it", {1, 2, 0, 1}, {0, 0, -1, 0}, true, false, {}}};
    const TVector planePoint{0, 0, 0, 1}, normal{0, 0, 1, 0};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IntersectRayPlane(c.start, c.dir, planePoint, normal), c.notParallel);
        TVector point = kUntouched;
        EXPECT_EQ(IntersectRayPlane(c.start, c.dir, planePoint, normal, &point), c.hitAhead);
        ExpectVector(point, c.hitAhead ? c.point : kUntouched);
    }
}

TEST(IntersectLinePlaneTest, CrossingParallelOrInside)
{
    const struct {
        const char* name;
        TVector point, dir;
        int result;
        TVector hit;
    } cases[] = {{"crossing ahead", {3, 4, 5, 1}, {0, 0, -2, 0}, 1, {3, 4, 1, 1}},
                 {"crossing behind counts for a line", {3, 4, 5, 1}, {0, 0, 2, 0}, 1, {3, 4, 1, 1}},
                 {"parallel", {3, 4, 5, 1}, {1, 1, 0, 0}, 0, {}},
                 {"inside", {3, 4, 1, 1}, {1, 1, 0, 0}, -1, {}}};
    const THmgPlane plane{0, 0, 1, -1};  // z = 1
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TVector hit = kUntouched;
        EXPECT_EQ(IntersectLinePlane(c.point, c.dir, plane, &hit), c.result);
        ExpectVector(hit, c.result == 1 ? c.hit : kUntouched);
        EXPECT_EQ(IntersectLinePlane(c.point, c.dir, plane), c.result);
    }
}

// The triangle (0,0,0), (2,0,0), (0,2,0); a ray straight down at (x, y) has u = x/2 and
// v = y/2 exactly, so the edges are hit exactly.
TEST(IntersectRayTriangleTest, EdgesAndCornersCount)
{
    const struct {
        const char* name;
        float x, y;  // where a vertical ray pierces the triangle's plane
        bool hit;
    } cases[] = {{"inside", 0.5f, 0.5f, true}, {"corner p1", 0, 0, true}, {"corner p2", 2, 0, true},
                 {"corner p3", 0, 2, true}, {"edge u = 0", 0, 1, true}, {"edge v = 0", 1, 0, true},
                 {"edge u + v = 1", 0.5f, 1.5f, true}, {"just beyond u + v = 1", 0.5f, 1.5000001f, false},
                 {"u < 0", -0.0001f, 1, false}, {"v < 0", 1, -0.0001f, false}, {"u > 1", 2.0001f, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TVector point = kUntouched, normal = kUntouched;
        EXPECT_EQ(IntersectRayTriangle(TVector{c.x, c.y, 3, 1}, TVector{0, 0, -1, 0}, {0, 0, 0}, {2, 0, 0}, {0, 2, 0},
                                       &point, &normal),
                  c.hit);
        ExpectVector(point, c.hit ? TVector{c.x, c.y, 0, 1} : kUntouched);
        ExpectVector(normal, c.hit ? TVector{0, 0, 4, 0} : kUntouched);  // not normalised
    }
}

TEST(IntersectRayTriangleTest, ParallelBehindAndBackFaces)
{
    TVector point = kUntouched;
    // along the triangle's plane: det is 0
    EXPECT_FALSE(IntersectRayTriangle(TVector{-1, 0.2f, 0, 1}, TVector{1, 0, 0, 0}, {0, 0, 0}, {2, 0, 0}, {0, 2, 0}, &point));
    // the triangle behind the start
    EXPECT_FALSE(IntersectRayTriangle(TVector{0.5f, 0.5f, -1, 1}, TVector{0, 0, -1, 0}, {0, 0, 0}, {2, 0, 0}, {0, 2, 0}, &point));
    // starting on the triangle: t = 0 is no hit
    EXPECT_FALSE(IntersectRayTriangle(TVector{0.5f, 0.5f, 0, 1}, TVector{0, 0, -1, 0}, {0, 0, 0}, {2, 0, 0}, {0, 2, 0}, &point));
    ExpectVector(point, kUntouched);
    // from below, through the back face
    EXPECT_TRUE(IntersectRayTriangle(TVector{0.5f, 0.5f, -1, 1}, TVector{0, 0, 1, 0}, {0, 0, 0}, {2, 0, 0}, {0, 2, 0}, &point));
    ExpectVector(point, TVector{0.5f, 0.5f, 0, 1});
    // a degenerate triangle
    EXPECT_FALSE(IntersectRayTriangle(TVector{0, 0, 3, 1}, TVector{0, 0, -1, 0}, {0, 0, 0}, {1, 1, 0}, {2, 2, 0}));
}

TEST(IntersectRaySphereTest, HitsOnAUnitSphere)
{
    const struct {
        const char* name;
        TVector start, dir;
        int hits;
        TVector i1, i2;
    } cases[] = {{"from the centre", {0, 0, 0, 1}, {1, 0, 0, 0}, 1, {1, 0, 0, 1}, {}},
                 {"from outside, nearest first", {-5, 0, 0, 1}, {1, 0, 0, 0}, 2, {-1, 0, 0, 1}, {1, 0, 0, 1}},
                 {"from inside, off centre", {0, 0.6f, 0, 1}, {1, 0, 0, 0}, 1, {0.8f, 0.6f, 0, 1}, {}},
                 {"tangent ahead", {-5, 1, 0, 1}, {1, 0, 0, 0}, 1, {0, 1, 0, 1}, {}},
                 {"tangent behind", {5, 1, 0, 1}, {1, 0, 0, 0}, 0, {}, {}},
                 {"tangent at the start", {0, 1, 0, 1}, {1, 0, 0, 0}, 0, {}, {}},
                 {"miss", {-5, 2, 0, 1}, {1, 0, 0, 0}, 0, {}, {}},
                 {"sphere behind", {5, 0, 0, 1}, {1, 0, 0, 0}, 0, {}, {}},
                 {"on the surface, going in", {-1, 0, 0, 1}, {1, 0, 0, 0}, 2, {-1, 0, 0, 1}, {1, 0, 0, 1}},
                 {"on the surface, going out", {1, 0, 0, 1}, {1, 0, 0, 0}, 1, {1, 0, 0, 1}, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TVector i1 = kUntouched, i2 = kUntouched;
        EXPECT_EQ(IntersectRaySphere(c.start, c.dir, TVector{0, 0, 0, 1}, 1, i1, i2), c.hits);
        ExpectVector(i1, c.hits >= 1 ? c.i1 : kUntouched, 1e-6f);
        ExpectVector(i2, c.hits == 2 ? c.i2 : kUntouched, 1e-6f);
    }
}

TEST(SphereApparentRadiusTest, RadiusOfTheConeOfSightAtTheCentre)
{
    EXPECT_FLOAT_EQ(SphereApparentRadius(2, 1), 2 / std::sqrt(3.0f));
    EXPECT_NEAR(SphereApparentRadius(1000, 1), 1, 1e-5);
    EXPECT_EQ(SphereApparentRadius(1, 1), std::numeric_limits<float>::infinity());
    EXPECT_EQ(SphereApparentRadius(0.5f, 1), std::numeric_limits<float>::infinity());
}

} // namespace
