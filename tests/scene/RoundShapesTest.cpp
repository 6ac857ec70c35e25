#include "scene/objects/shapes/Annulus.h"
#include "scene/objects/shapes/Disk.h"
#include "scene/objects/shapes/Torus.h"

#include "ObjectTestSupport.h"
#include "QuadricTrace.h"
#include "RecordedPrimitives.h"
#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace scenetest;

// Ray casts of the round shapes, each placed away from the origin so that the local
// and absolute frames differ.
struct TRayCase {
    const char* what;
    TVector start, vector;
    bool hit;
    TVector point, normal; // local; normal compared after normalising
};

void ExpectRayCases(TGLBaseSceneObject& object, std::initializer_list<TRayCase> cases)
{
    const TVector offset = object.AbsolutePosition();
    for (const TRayCase& c : cases) {
        const TVector start{c.start.X + offset.X, c.start.Y + offset.Y, c.start.Z + offset.Z, 1};
        TVector point{9, 9, 9, 9}, normal{9, 9, 9, 9};
        ASSERT_EQ(object.RayCastIntersect(start, c.vector, &point, &normal), c.hit) << c.what;
        if (!c.hit) {
            continue;
        }
        const TVector n = NormalizedVector(normal);
        const TVector want = NormalizedVector(c.normal);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(point[k] - offset[k], c.point[k], 1e-5) << c.what << " point " << k;
            EXPECT_NEAR(n[k], want[k], 1e-4) << c.what << " normal " << k;
        }
    }
}

class RoundShapes : public ObjectRecording {};

TEST_F(RoundShapes, DiskRayInTheHoleStillWritesThePlanePoint)
{
    TGLDisk disk;
    disk.SetInnerRadius(0.2f);
    disk.Position().SetPoint(1, 2, 3);
    TVector point{9, 9, 9, 9};
    EXPECT_FALSE(disk.RayCastIntersect({1.1f, 2, 10, 1}, {0, 0, -1, 0}, &point));
    EXPECT_FLOAT_EQ(point.X, 1.1f);
    EXPECT_FLOAT_EQ(point.Z, 3);
    ExpectRayCases(disk, {
        {"on the ring", {0.3f, 0, 5, 1}, {0, 0, -1, 0}, true, {0.3f, 0, 0, 1}, {0, 0, 1, 0}},
        {"from below, the same normal", {0, 0.4f, -5, 1}, {0, 0, 1, 0}, true, {0, 0.4f, 0, 1}, {0, 0, 1, 0}},
        {"beyond the rim", {0.6f, 0, 5, 1}, {0, 0, -1, 0}, false, {}, {}},
        {"parallel", {0.3f, 0, 5, 1}, {1, 0, 0, 0}, false, {}, {}},
    });

    disk.SetStartAngle(45);
    disk.SetSweepAngle(90);
    recorder.Clear();
    disk.BuildList(rci);
    const auto calls = recorder.CallsTo("gluPartialDisk");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Args, (std::vector<double>{0, 0.2f, 0.5, 16, 2, 45, 90}));
}

TEST_F(RoundShapes, AnnulusDrawsFourPartsTheInnerOnesInverted)
{
    TGLAnnulus annulus;
    annulus.SetHeight(2);
    annulus.SetBottomInnerRadius(0.2f);
    recorder.Clear();
    annulus.BuildList(rci);
    const TQuadricTrace trace(recorder.Calls());
    ASSERT_EQ(trace.parts.size(), 4u);
    // Outer side, top ring at y = 1, bottom ring at y = -1, inner side.
    const double inner[] = {0.5, 0.3f, 0.2f, 0.2f}, outer[] = {0.5, 0.5, 0.5, 0.3f}, fromY[] = {-1, 1, -1, -1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(trace.parts[i].inner, inner[i]) << i;
        EXPECT_FLOAT_EQ(trace.parts[i].outer, outer[i]) << i;
        EXPECT_NEAR(trace.parts[i].from[1], fromY[i], 1e-6) << i;
        EXPECT_EQ(trace.parts[i].orientation, static_cast<GLenum>(i < 2 ? GLU_OUTSIDE : GLU_INSIDE)) << i;
    }
    EXPECT_EQ(trace.parts[3].kind, "cylinder");
    EXPECT_FALSE(trace.unbalanced);
}

TEST_F(RoundShapes, AnnulusRayHitsCapsAndStraightSides)
{
    TGLAnnulus annulus; // y -0.5..0.5, ring 0.3..0.5
    annulus.Position().SetPoint(5, 0, 0);
    annulus.SetBottomRadius(1); // the sides are still tested as tubes of the top radii
    ExpectRayCases(annulus, {
        {"top cap", {0.4f, 5, 0, 1}, {0, -1, 0, 0}, true, {0.4f, 0.5f, 0, 1}, {0, 1, 0, 0}},
        {"bottom cap", {0, -5, 0.45f, 1}, {0, 2, 0, 0}, true, {0, -0.5f, 0.45f, 1}, {0, -1, 0, 0}},
        {"outer side", {-5, -0.45f, 0, 1}, {1, 0, 0, 0}, true, {-0.5f, -0.45f, 0, 1}, {-1, 0, 0, 0}},
        {"inner side from the hole", {0, 0, 0, 1}, {0, 0, 1, 0}, true, {0, 0, 0.3f, 1}, {0, 0, 1, 0}},
        {"slanting through the cap", {0.4f, 1.5f, 0, 1}, {0, -1, 0.05f, 0}, true, {0.4f, 0.5f, 0.05f, 1},
         {0, 1, 0, 0}},
        {"along the axis in the hole", {0, 5, 0, 1}, {0, -1, 0, 0}, false, {}, {}},
        {"above, level", {-5, 0.6f, 0, 1}, {1, 0, 0, 0}, false, {}, {}},
        {"away from it", {-5, 0, 0, 1}, {-1, 0, 0, 0}, false, {}, {}},
    });
    annulus.SetParts(anInnerSides | anOuterSides);
    ExpectRayCases(annulus, {
        {"no caps: straight down the wall", {0.4f, 5, 0, 1}, {0, -1, 0, 0}, false, {}, {}},
        {"no caps: out through the outer side", {0.45f, 0.6f, 0, 1}, {0.1f, -1, 0, 0}, true, {0.5f, 0.1f, 0, 1},
         {1, 0, 0, 0}},
    });
}

TEST_F(RoundShapes, TorusClampsAndAssignKeepsItsOwnValues)
{
    TGLTorus torus;
    torus.SetSides(1);
    torus.SetRings(0);
    EXPECT_EQ(torus.Sides(), 3u);
    EXPECT_EQ(torus.Rings(), 2u);
    TGLTorus source;
    source.SetMajorRadius(2);
    source.Position().SetPoint(1, 0, 0);
    torus.Assign(&source);
    EXPECT_EQ(torus.MajorRadius(), 0.4f) << "the torus's own values are not copied";
    EXPECT_EQ(torus.Position().X(), 1);
}

TEST_F(RoundShapes, TorusSurfaceLiesAroundItsCentreCircle)
{
    TGLTorus torus;
    torus.SetRings(6);
    torus.SetSides(5);
    recorder.Clear();
    torus.BuildList(rci);
    const auto strips = RecordedPrimitives(recorder.Calls());
    ASSERT_EQ(strips.size(), 6u);
    for (const auto& strip : strips) {
        EXPECT_EQ(strip.mode, static_cast<GLenum>(GL_QUAD_STRIP));
        ASSERT_EQ(strip.vertices.size(), 12u);
        for (const auto& v : strip.vertices) {
            const TVec3& p = v.position;
            const double ring = std::hypot(p[0], p[1]);
            const TVec3 centre{p[0] * 0.4 / ring, p[1] * 0.4 / ring, 0};
            const TVec3 out = Sub(p, centre);
            EXPECT_NEAR(Length(out), 0.1, 1e-6);
            EXPECT_NEAR(Dot(out, v.normal), 0.1, 1e-6) << "unit normal away from the centre circle";
        }
    }
}

TEST_F(RoundShapes, TorusRayCast)
{
    TGLTorus torus; // centre circle 0.4 in XY, tube 0.1
    torus.Position().SetPoint(0, 3, 0);
    ExpectRayCases(torus, {
        {"through the tube from outside", {-5, 0, 0, 1}, {2, 0, 0, 0}, true, {-0.5f, 0, 0, 1}, {-1, 0, 0, 0}},
        {"from the hole", {0, 0, 0, 1}, {0, 1, 0, 0}, true, {0, 0.3f, 0, 1}, {0, -1, 0, 0}},
        {"down onto the top", {0.4f, 0, 5, 1}, {0, 0, -1, 0}, true, {0.4f, 0, 0.1f, 1}, {0, 0, 1, 0}},
        {"through the hole", {0, 0, 5, 1}, {0, 0, -1, 0}, false, {}, {}},
        {"receding", {0.6f, 0, 0, 1}, {1, 0, 0, 0}, false, {}, {}},
    });
}

} // namespace
