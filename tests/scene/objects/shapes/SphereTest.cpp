#include "scene/objects/shapes/Sphere.h"

#include "../../ObjectTestSupport.h"
#include "../../RecordedPrimitives.h"
#include "platform/core/Exceptions.h"
#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace scenetest;

constexpr double Pi = 3.14159265358979323846;

class Sphere : public ObjectRecording {
protected:
    std::vector<TRecordedPrimitive> Draw() { return Draw(sphere); }
    std::vector<TRecordedPrimitive> Draw(TGLSphere& s)
    {
        recorder.Clear();
        s.BuildList(rci);
        return RecordedPrimitives(recorder.Calls());
    }
    static long CountOf(const std::vector<TRecordedPrimitive>& p, GLenum mode)
    {
        return std::count_if(p.begin(), p.end(), [&](const auto& q) { return q.mode == mode; });
    }
    static void Limit(TGLSphere& s, int top, int bottom, TCapType topCap, TCapType bottomCap)
    {
        s.SetTop(top);
        s.SetBottom(bottom);
        s.SetTopCap(topCap);
        s.SetBottomCap(bottomCap);
    }
    TGLSphere sphere;
};

TEST_F(Sphere, ADefaultSphereDraws16BandsOf17PairsFacingOutwards)
{
    const auto primitives = Draw();
    ASSERT_EQ(primitives.size(), 16u);
    for (const auto& p : primitives) {
        EXPECT_EQ(p.mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
        EXPECT_EQ(p.vertices.size(), 34u);
        for (const auto& v : p.vertices) {
            EXPECT_NEAR(Length(v.position), 1, 1e-6);
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(v.normal[c], v.position[c], 1e-6);
            }
        }
    }
    for (const auto& t : Triangles(primitives)) {
        const TVec3 area = AreaVector(t);
        if (Length(area) < 1e-9) {
            continue; // the slivers at the poles
        }
        TVec3 centroid{};
        for (int c = 0; c < 3; ++c) {
            centroid[c] = t[0].position[c] + t[1].position[c] + t[2].position[c];
        }
        EXPECT_GT(Dot(area, centroid), 0); // faces away from the centre
    }
    EXPECT_EQ(recorder.CallsTo("glScalef")[0].Args, (std::vector<double>{0.5, 0.5, 0.5}));
    EXPECT_EQ(recorder.CallsTo("glPushAttrib")[0].Args[0], GL_POLYGON_BIT);
    EXPECT_EQ(recorder.Count("glPushMatrix"), recorder.Count("glPopMatrix"));
    EXPECT_EQ(recorder.Count("glPushAttrib"), recorder.Count("glPopAttrib"));
    EXPECT_EQ(recorder.Count("glFrontFace"), 0);
}

TEST_F(Sphere, TextureCoordinatesRunAcrossSlicesAndDownStacks)
{
    sphere.SetSlices(4);
    sphere.SetStacks(2);
    const auto primitives = Draw();
    ASSERT_EQ(primitives.size(), 2u);
    const auto& first = primitives[0].vertices;
    EXPECT_EQ(first[0].texCoord, (std::array<double, 2>{0, 1}));
    EXPECT_EQ(first[1].texCoord, (std::array<double, 2>{0, 0.5}));
    EXPECT_EQ(first[8].texCoord, (std::array<double, 2>{1, 1}));
    EXPECT_EQ(primitives[1].vertices[9].texCoord, (std::array<double, 2>{1, 0}));
}

TEST_F(Sphere, InsideNormalsPointInAndTheWindingIsInvertedAroundTheDrawing)
{
    sphere.SetNormalDirection(ndInside);
    const auto primitives = Draw();
    for (const auto& v : primitives[3].vertices) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(v.normal[c], -v.position[c], 1e-6);
        }
    }
    const auto faces = recorder.CallsTo("glFrontFace");
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].Args[0], GL_CW);
    EXPECT_EQ(faces[1].Args[0], GL_CCW);
    EXPECT_TRUE(states.FrontFaceCCW());
}

TEST_F(Sphere, OnlyOpenEdgesWithACapTypeAreClosed)
{
    struct Case {
        int top, bottom;
        TCapType topCap, bottomCap;
        long fans;
    };
    const Case cases[] = {{90, -90, ctFlat, ctFlat, 0},   {90, -90, ctCenter, ctCenter, 0},
                          {45, -90, ctFlat, ctFlat, 1},   {90, -45, ctFlat, ctCenter, 1},
                          {45, -45, ctNone, ctNone, 0},   {45, -45, ctCenter, ctNone, 1},
                          {45, -45, ctFlat, ctCenter, 2}};
    for (const Case& c : cases) {
        TGLSphere capped;
        Limit(capped, c.top, c.bottom, c.topCap, c.bottomCap);
        const auto primitives = Draw(capped);
        EXPECT_EQ(CountOf(primitives, GL_TRIANGLE_FAN), c.fans) << c.top << " " << c.bottom << " " << c.topCap << " "
                                                                << c.bottomCap;
        EXPECT_EQ(CountOf(primitives, GL_TRIANGLE_STRIP), 16);
    }
}

struct TFlatCase {
    TNormalDirection direction;
    double topNormalY;
};

class SphereFlatCaps : public Sphere, public ::testing::WithParamInterface<TFlatCase> {};

TEST_P(SphereFlatCaps, HaveOneNormalForAllVerticesAndLieAtTheEdge)
{
    sphere.SetNormalDirection(GetParam().direction);
    Limit(sphere, 30, -60, ctFlat, ctFlat);
    const auto primitives = Draw();
    ASSERT_EQ(primitives.front().mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    ASSERT_EQ(primitives.back().mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    const double y = GetParam().topNormalY;
    for (const auto& v : primitives.front().vertices) {
        EXPECT_EQ(v.normal, (TVec3{0, y, 0}));
        EXPECT_NEAR(v.position[1], 0.5, 1e-6);
    }
    for (const auto& v : primitives.back().vertices) {
        EXPECT_EQ(v.normal, (TVec3{0, -y, 0}));
        EXPECT_NEAR(v.position[1], std::sin(-60 * Pi / 180), 1e-6);
    }
    EXPECT_EQ(primitives.front().vertices.size(), 18u);
    // The top faces up and the bottom down, both outward.
    for (const auto& t : Triangles({primitives.front()})) {
        EXPECT_GT(AreaVector(t)[1], 0);
    }
    for (const auto& t : Triangles({primitives.back()})) {
        EXPECT_LT(AreaVector(t)[1], 0);
    }
    EXPECT_EQ(primitives.front().vertices[0].texCoord, (std::array<double, 2>{0.5, 0.5}));
}

INSTANTIATE_TEST_SUITE_P(Directions, SphereFlatCaps,
                         ::testing::Values(TFlatCase{ndOutside, 1}, TFlatCase{ndInside, -1}));

TEST_F(Sphere, ACentreCapIsAConeWhoseNormalsAreTheAxisAcrossTheRim)
{
    sphere.SetTop(30);
    sphere.SetTopCap(ctCenter);
    const auto fan = Draw().front();
    ASSERT_EQ(fan.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_EQ(fan.vertices[0].position, (TVec3{0, 0, 0}));
    EXPECT_EQ(fan.vertices[0].normal, (TVec3{0, 1, 0}));
    for (std::size_t i = 1; i < fan.vertices.size(); ++i) {
        const auto& v = fan.vertices[i];
        EXPECT_NEAR(Dot(v.normal, v.position), 0, 1e-6);
        EXPECT_NEAR(v.normal[1], std::cos(30 * Pi / 180) * std::cos(30 * Pi / 180), 1e-6);
    }
}

TEST_F(Sphere, AHalfSphereFromZeroTo180IsOpenAlongTheYAxis)
{
    sphere.SetStop(180);
    Limit(sphere, 60, -60, ctFlat, ctCenter);
    for (const auto& p : Draw()) {
        for (const auto& v : p.vertices) {
            EXPECT_GE(v.position[0], -1e-6);
        }
    }
}


TEST_F(Sphere, StartMayNotPassStopNorStopStart)
{
    sphere.SetStop(100);
    EXPECT_THROW(sphere.SetStart(120), EAssertionFailed);
    EXPECT_EQ(sphere.Start(), 0);
    sphere.SetStart(50);
    EXPECT_THROW(sphere.SetStop(40), EAssertionFailed);
    EXPECT_EQ(sphere.Stop(), 100);
    // Widening in the right order works.
    sphere.SetStop(300);
    sphere.SetStart(200);
    EXPECT_EQ(sphere.Start(), 200);
}

TEST_F(Sphere, DivisionsAndAnglesStayInTheirRanges)
{
    sphere.SetSlices(0);
    sphere.SetStacks(-5);
    EXPECT_EQ(sphere.Slices(), 1);
    EXPECT_EQ(sphere.Stacks(), 1);
    sphere.SetTop(120);
    sphere.SetBottom(-200);
    sphere.SetStop(500);
    EXPECT_EQ(sphere.Top(), 90);
    EXPECT_EQ(sphere.Bottom(), -90);
    EXPECT_EQ(sphere.Stop(), 360);
}

TEST_F(Sphere, SettersRebuildOnlyOnChange)
{
    const auto structureChanged = [&] { return (sphere.Changes() & ChangeBit(ocStructure)) != 0; };
    sphere.ClearStructureChanged();
    sphere.SetRadius(0.5f);
    sphere.SetSlices(16);
    sphere.SetTopCap(ctNone);
    sphere.SetNormals(nsSmooth);
    EXPECT_FALSE(structureChanged());
    sphere.SetRadius(0.75f);
    EXPECT_TRUE(structureChanged());
    sphere.ClearStructureChanged();
    sphere.SetNormalDirection(ndInside);
    EXPECT_TRUE(structureChanged());
}

TEST_F(Sphere, AssignCopiesSizeAndLimitsButNotTheCaps)
{
    TGLSphere source;
    source.SetRadius(2);
    source.SetSlices(5);
    source.SetStacks(7);
    source.SetTop(40);
    source.SetBottom(-10);
    source.SetStop(270);
    source.SetStart(90);
    source.SetTopCap(ctFlat);
    source.SetNormals(nsFlat);
    sphere.Assign(&source);
    EXPECT_EQ(sphere.Radius(), 2);
    EXPECT_EQ(sphere.Slices(), 5);
    EXPECT_EQ(sphere.Stacks(), 7);
    EXPECT_EQ(sphere.Top(), 40);
    EXPECT_EQ(sphere.Bottom(), -10);
    EXPECT_EQ(sphere.Start(), 90);
    EXPECT_EQ(sphere.Stop(), 270);
    EXPECT_EQ(sphere.TopCap(), ctNone);
    EXPECT_EQ(sphere.Normals(), nsFlat);
}

TEST_F(Sphere, HalfExtentsAreTheWholeSpheres)
{
    sphere.SetRadius(-2);
    sphere.SetStop(90);
    const TVector e = sphere.UnscaledHalfExtents();
    EXPECT_EQ((std::array<float, 4>{e.X, e.Y, e.Z, e.W}), (std::array<float, 4>{2, 2, 2, 0}));
}

struct TRayCase {
    const char* what;
    TVector start, vector;
    bool hit;
    TVector point, normal;
};

TEST(SphereRayCast, HitsTheWholeSphereNearestFirst)
{
    const TRayCase cases[] = {{"head on", {1, 2, -5, 1}, {0, 0, 1, 0}, true, {1, 2, 2, 1}, {0, 0, -1, 0}},
        {"long vector", {1, 2, -5, 1}, {0, 0, 7, 0}, true, {1, 2, 2, 1}, {0, 0, -1, 0}},
        {"removed part", {1, 2, 10, 1}, {0, 0, -1, 0}, true, {1, 2, 4, 1}, {0, 0, 1, 0}},
        {"miss", {3, 2, -5, 1}, {0, 0, 1, 0}, false, {}, {}},
        {"grazing the edge", {2, 2, -5, 1}, {0, 0, 1, 0}, true, {2, 2, 3, 1}, {1, 0, 0, 0}},
        {"from inside", {1, 2, 3, 1}, {0, 1, 0, 0}, true, {1, 3, 3, 1}, {0, 1, 0, 0}},
        {"pointing away", {1, 2, -5, 1}, {0, 0, -1, 0}, false, {}, {}}};
    for (const TRayCase& c : cases) {
        TGLSphere sphere;
        sphere.SetRadius(1);
        sphere.Position().SetPoint(1, 2, 3);
        sphere.SetStop(90); // limits are ignored
        TVector point{9, 9, 9, 9}, normal{9, 9, 9, 9};
        EXPECT_EQ(sphere.RayCastIntersect(c.start, c.vector, &point, &normal), c.hit) << c.what;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(point[i], c.hit ? c.point[i] : 9, 1e-5) << c.what; // a miss leaves them alone
            EXPECT_NEAR(normal[i], c.hit ? c.normal[i] : 9, 1e-5) << c.what;
        }
    }
}

TEST_F(Sphere, RayCastNormalIsCarriedThroughTheScaleNotNormalised)
{
    sphere.SetRadius(1);
    sphere.Scale().SetVector(2, 2, 2);
    TVector point{}, normal{};
    ASSERT_TRUE(sphere.RayCastIntersect({0, 0, -10, 1}, {0, 0, 1, 0}, &point, &normal));
    EXPECT_NEAR(point.Z, -2, 1e-5);
    EXPECT_NEAR(normal.Z, -2, 1e-5);
}

TEST(SphereSilhouette, IsTheGreatCircleFacingTheViewer)
{
    struct Case {
        int slices, stacks;
        bool capping;
        TAffineVector seenFrom;
    };
    // Along X the first cross product vanishes.
    for (const Case& c :
         {Case{16, 16, false, {0, 0, 10}}, Case{8, 12, true, {3, 4, 0}}, Case{20, 4, true, {5, 0, 0}}}) {
        SCOPED_TRACE(std::to_string(c.slices) + " x " + std::to_string(c.stacks));
        TGLSphere sphere;
        sphere.SetRadius(2);
        sphere.SetSlices(c.slices);
        sphere.SetStacks(c.stacks);
        const TGLSilhouetteParameters params{c.seenFrom, {0, 0, 0}, TGLSilhouetteStyle::ssFromPoint, c.capping};
        const auto s = sphere.GenerateSilhouette(params);
        const int n = std::max(c.slices, c.stacks);
        ASSERT_EQ(s->Vertices.Count(), c.capping ? n + 1 : n);
        ASSERT_EQ(s->Indices.Count(), 2 * n);
        EXPECT_EQ(s->CapIndices.Count(), c.capping ? 3 * n : 0);
        for (int i = 0; i < n; ++i) {
            const TVector v = s->Vertices[i];
            EXPECT_NEAR(VectorXYZLength(v), 2, 1e-5);
            EXPECT_NEAR(AffineDotProduct(TAffineVector{v.X, v.Y, v.Z}, c.seenFrom), 0, 1e-4);
            EXPECT_EQ(v.W, 1);
            EXPECT_EQ(s->Indices[2 * i], i);
            EXPECT_EQ(s->Indices[2 * i + 1], (i + 1) % n);
        }
        if (c.capping) {
            EXPECT_EQ(s->Vertices[n].X, 0);
            EXPECT_EQ(s->Vertices[n].W, 1);
            EXPECT_EQ(s->CapIndices[0], n);
        }
    }
}

} // namespace
