#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/Cylinder.h"

#include "../../ObjectTestSupport.h"
#include "../../QuadricTrace.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace scenetest;

using TVec = std::array<double, 3>;

void ExpectNear(const TVec& got, const TVec& want, const char* what)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(got[i], want[i], 1e-6) << what << " component " << i;
    }
}

class ConeDrawing : public ObjectRecording {
protected:
    TQuadricTrace Draw(TGLCustomSceneObject& object)
    {
        recorder.Clear();
        object.BuildList(rci);
        return TQuadricTrace(recorder.Calls());
    }
};

TEST_F(ConeDrawing, ThePreviewBitStandsOnYWithItsApexUp)
{
    TGLCone bit;
    bit.SetBottomRadius(0.1f);
    bit.SetSlices(6);
    bit.SetStacks(6);
    const TQuadricTrace trace = Draw(bit);
    ASSERT_EQ(trace.parts.size(), 2u);
    const TQuadricPart& sides = trace.parts[0];
    EXPECT_EQ(sides.kind, "cylinder");
    EXPECT_FLOAT_EQ(sides.inner, 0.1f);
    EXPECT_EQ(sides.outer, 0);
    EXPECT_EQ(sides.slices, 6);
    EXPECT_EQ(sides.stacksOrLoops, 6);
    ExpectNear(sides.from, {0, -0.5, 0}, "base");
    ExpectNear(sides.to, {0, 0.5, 0}, "apex");
    EXPECT_EQ(sides.orientation, static_cast<GLenum>(GLU_OUTSIDE));
    const TQuadricPart& bottom = trace.parts[1];
    EXPECT_EQ(bottom.kind, "disk");
    EXPECT_FLOAT_EQ(bottom.outer, 0.1f);
    EXPECT_EQ(bottom.stacksOrLoops, 1);
    ExpectNear(bottom.from, {0, -0.5, 0}, "bottom disk");
    EXPECT_EQ(bottom.orientation, static_cast<GLenum>(GLU_INSIDE));
    EXPECT_FALSE(trace.unbalanced);
    EXPECT_EQ(recorder.Count("gluNewQuadric"), 1);
    EXPECT_EQ(recorder.Count("gluDeleteQuadric"), 1);
}

TEST_F(ConeDrawing, NormalsAndOrientationFollowTheSettings)
{
    struct Case {
        TNormalSmoothing normals;
        TNormalDirection direction;
        GLenum gluNormals, sides, bottom;
    };
    for (const Case& c : {Case{nsSmooth, ndOutside, GLU_SMOOTH, GLU_OUTSIDE, GLU_INSIDE},
                          Case{nsFlat, ndInside, GLU_FLAT, GLU_INSIDE, GLU_OUTSIDE},
                          Case{nsNone, ndOutside, GLU_NONE, GLU_OUTSIDE, GLU_INSIDE}}) {
        TGLCone cone;
        cone.SetNormals(c.normals);
        cone.SetNormalDirection(c.direction);
        const TQuadricTrace trace = Draw(cone);
        EXPECT_EQ(recorder.CallsTo("gluQuadricNormals")[0].Args[1], c.gluNormals);
        EXPECT_EQ(recorder.CallsTo("gluQuadricDrawStyle")[0].Args[1], GLU_FILL);
        EXPECT_EQ(recorder.CallsTo("gluQuadricTexture")[0].Args[1], 255);
        EXPECT_EQ(trace.parts[0].orientation, c.sides) << c.gluNormals;
        EXPECT_EQ(trace.parts[1].orientation, c.bottom) << c.gluNormals;
    }
}

TEST_F(ConeDrawing, AConeWithoutPartsStillBalancesItsMatrix)
{
    TGLCone cone;
    cone.SetParts(0);
    const TQuadricTrace trace = Draw(cone);
    EXPECT_TRUE(trace.parts.empty());
    EXPECT_EQ(recorder.Count("glPushMatrix"), 1);
    EXPECT_EQ(recorder.Count("glPopMatrix"), 1);
}

TEST_F(ConeDrawing, WithoutAQuadricNothingIsDrawnButTheMatrixBalances)
{
    GL.gluNewQuadric = [] { return static_cast<GLUquadric*>(nullptr); };
    TGLCone cone;
    TGLCylinder cylinder;
    for (TGLCustomSceneObject* object : std::initializer_list<TGLCustomSceneObject*>{&cone, &cylinder}) {
        const TQuadricTrace trace = Draw(*object);
        EXPECT_TRUE(trace.parts.empty()) << object->ClassName();
        EXPECT_FALSE(trace.unbalanced) << object->ClassName();
    }
    EXPECT_EQ(recorder.Count("gluDeleteQuadric"), 0);
}

TEST_F(ConeDrawing, CylinderAlignmentPutsTheChosenFaceAtTheOrigin)
{
    struct Case {
        TCylinderAlignment alignment;
        double bottom, top;
    };
    for (const Case& c : {Case{caCenter, -1, 1}, Case{caTop, -2, 0}, Case{caBottom, 0, 2}}) {
        SCOPED_TRACE("alignment " + std::to_string(c.alignment));
        TGLCylinder cylinder;
        cylinder.SetHeight(2);
        cylinder.SetTopRadius(0.25f);
        cylinder.SetAlignment(c.alignment);
        const TQuadricTrace trace = Draw(cylinder);
        ASSERT_EQ(trace.parts.size(), 3u);
        ExpectNear(trace.parts[0].from, {0, c.bottom, 0}, "side bottom");
        ExpectNear(trace.parts[0].to, {0, c.top, 0}, "side top");
        EXPECT_FLOAT_EQ(trace.parts[0].outer, 0.25f);
        // The top disk in the normal orientation, the bottom one turned over.
        EXPECT_EQ(trace.parts[1].kind, "disk");
        ExpectNear(trace.parts[1].from, {0, c.top, 0}, "top disk");
        EXPECT_FLOAT_EQ(trace.parts[1].outer, 0.25f);
        EXPECT_EQ(trace.parts[1].orientation, static_cast<GLenum>(GLU_OUTSIDE));
        ExpectNear(trace.parts[2].from, {0, c.bottom, 0}, "bottom disk");
        EXPECT_FLOAT_EQ(trace.parts[2].outer, 0.5f);
        EXPECT_EQ(trace.parts[2].orientation, static_cast<GLenum>(GLU_INSIDE));
        EXPECT_FALSE(trace.unbalanced);
    }
}

TEST(CylinderFamily, HalfExtents)
{
    TGLCone cone;
    cone.SetBottomRadius(-0.3f);
    cone.SetHeight(4);
    TGLCylinder cylinder;
    cylinder.SetBottomRadius(0.2f);
    cylinder.SetTopRadius(-0.7f);
    const TVector c = cone.UnscaledHalfExtents(), y = cylinder.UnscaledHalfExtents();
    EXPECT_EQ((std::array<float, 4>{c.X, c.Y, c.Z, c.W}), (std::array<float, 4>{0.3f, 2, 0.3f, 0}));
    EXPECT_EQ((std::array<float, 3>{y.X, y.Y, y.Z}), (std::array<float, 3>{0.7f, 0.5f, 0.7f}));
}

TEST(CylinderFamily, LoopsBelowOneAreIgnoredWithoutARebuild)
{
    TGLCone cone;
    cone.SetLoops(3);
    cone.ClearStructureChanged();
    cone.SetLoops(0);
    cone.SetLoops(-2);
    EXPECT_EQ(cone.Loops(), 3);
    EXPECT_EQ(cone.Changes() & ChangeBit(ocStructure), 0);
    cone.SetHeight(1); // unchanged
    EXPECT_EQ(cone.Changes() & ChangeBit(ocStructure), 0);
    cone.SetHeight(2);
    EXPECT_NE(cone.Changes() & ChangeBit(ocStructure), 0);
}

TEST(CylinderFamily, AssignKeepsTheTargetsAlignment)
{
    TGLCylinder source;
    source.SetTopRadius(0.1f);
    source.SetParts(cySides);
    source.SetAlignment(caTop);
    source.SetBottomRadius(0.3f);
    source.SetHeight(5);
    source.SetSlices(7);
    source.SetStacks(2);
    source.SetLoops(4);
    TGLCylinder target;
    target.SetAlignment(caBottom);
    target.Assign(&source);
    EXPECT_EQ(target.TopRadius(), 0.1f);
    EXPECT_EQ(target.Parts(), cySides);
    EXPECT_EQ(target.Alignment(), caBottom);
    EXPECT_EQ(target.BottomRadius(), 0.3f);
    EXPECT_EQ(target.Height(), 5);
    EXPECT_EQ(target.Slices(), 7);
    EXPECT_EQ(target.Stacks(), 2);
    EXPECT_EQ(target.Loops(), 4);
    TGLCone cone, other;
    cone.SetParts(coBottom);
    other.Assign(&cone);
    EXPECT_EQ(other.Parts(), coBottom);
    // Across the family only the shared values travel.
    TGLCone fromCylinder;
    fromCylinder.Assign(&source);
    EXPECT_EQ(fromCylinder.Height(), 5);
    EXPECT_EQ(fromCylinder.Parts(), coSides | coBottom);
}

struct TRayCase {
    const char* what;
    TCylinderParts parts;
    TVector start, vector;
    bool hit;
    TVector point, normal;
};

constexpr TCylinderParts All = cySides | cyBottom | cyTop;

TEST(CylinderRayCast, TakesTheNearestOfCapsAndSide)
{
    const TRayCase cases[] = {
        {"down the axis", All, {10, 5, 0, 1}, {0, -1, 0, 0}, true, {10, 1, 0, 1}, {0, 1, 0, 0}},
        {"up the axis", All, {10, -5, 0, 1}, {0, 2, 0, 0}, true, {10, -1, 0, 1}, {0, -1, 0, 0}},
        {"down the axis, no top", cySides | cyBottom, {10, 5, 0, 1}, {0, -1, 0, 0}, true, {10, -1, 0, 1},
         {0, -1, 0, 0}},
        {"down the axis, no caps", cySides, {10, 5, 0, 1}, {0, -1, 0, 0}, false, {}, {}},
        {"parallel to the axis outside", All, {13, 5, 0, 1}, {0, -1, 0, 0}, false, {}, {}},
        {"parallel to the caps above", All, {5, 2, 0, 1}, {1, 0, 0, 0}, false, {}, {}},
        {"parallel to the caps through", All, {5, 0.5f, 0, 1}, {1, 0, 0, 0}, true, {9, 0.5f, 0, 1}, {-1, 0, 0, 0}},
        {"side miss", All, {5, 0, 3, 1}, {1, 0, 0, 0}, false, {}, {}},
        {"pointing away", All, {5, 0, 0, 1}, {-1, 0, 0, 0}, false, {}, {}},
        // Through the top cap and out of the side: the cap is nearer.
        {"cap before side exit", All, {10.5f, 5, 0, 1}, {0.1f, -1, 0, 0}, true, {10.9f, 1, 0, 1}, {0, 1, 0, 0}},
        // Without the top cap, the side exit is the hit.
        {"side exit without top", cySides, {10.5f, 5, 0, 1}, {0.1f, -1, 0, 0}, true, {11, 0, 0, 1}, {1, 0, 0, 0}},
        {"side above the top is no hit", cySides, {5, 3, 0, 1}, {1, 0, 0, 0}, false, {}, {}}};
    for (const TRayCase& c : cases) {
        TGLCylinder cylinder;
        cylinder.SetTopRadius(1);
        cylinder.SetBottomRadius(3); // not used by the hit test
        cylinder.SetHeight(2);
        cylinder.SetParts(c.parts);
        cylinder.Position().SetPoint(10, 0, 0);
        TVector point{9, 9, 9, 9}, normal{9, 9, 9, 9};
        EXPECT_EQ(cylinder.RayCastIntersect(c.start, c.vector, &point, &normal), c.hit) << c.what;
        for (int i = 0; i < 4; ++i) { // a miss leaves them alone
            EXPECT_NEAR(point[i], c.hit ? c.point[i] : 9, 1e-5) << c.what << " point " << i;
            EXPECT_NEAR(normal[i], c.hit ? c.normal[i] : 9, 1e-5) << c.what << " normal " << i;
        }
        // A query never changes the shape.
        EXPECT_EQ(cylinder.Slices(), 16);
    }
}

TEST(CylinderSilhouette, ZeroSlicesGiveAnEmptyOutlineAndKeepSlices)
{
    TGLCone cone;
    cone.SetSlices(0);
    const TGLSilhouetteParameters params{{5, 0, 0}, {0, 0, 0}, TGLSilhouetteStyle::ssFromPoint, true};
    const auto silhouette = cone.GenerateSilhouette(params);
    ASSERT_NE(silhouette, nullptr);
    EXPECT_EQ(silhouette->Vertices.Count(), 0);
    EXPECT_EQ(silhouette->Indices.Count(), 0);
    EXPECT_EQ(cone.Slices(), 0);
}

TEST(CylinderSilhouette, EdgesLieOnTheShellCentredOnTheOrigin)
{
    struct Case {
        int slices;
        float topRadius;
        TAffineVector seenFrom;
    };
    for (const Case& c : {Case{16, 1, {10, 0, 0}}, Case{3, 0.5f, {0, 0, 10}}, Case{4, 1, {3, 10, 1}},
                          Case{1, 1, {10, 1, 0}}}) {
        SCOPED_TRACE(std::to_string(c.slices) + " slices");
        TGLCylinder cylinder;
        cylinder.SetSlices(c.slices);
        cylinder.SetBottomRadius(1);
        cylinder.SetTopRadius(c.topRadius);
        cylinder.SetHeight(4);
        cylinder.SetAlignment(caTop); // the outline ignores the alignment
        const TGLSilhouetteParameters params{c.seenFrom, {0, 0, 0}, TGLSilhouetteStyle::ssFromPoint, false};
        const auto silhouette = cylinder.GenerateSilhouette(params);
        ASSERT_GT(silhouette->Indices.Count(), 0);
        EXPECT_EQ(silhouette->Indices.Count() % 2, 0);
        for (int i = 0; i < silhouette->Vertices.Count(); ++i) {
            const TVector v = silhouette->Vertices[i];
            ASSERT_NEAR(std::fabs(v.Y), 2, 1e-5);
            const double r = std::hypot(v.X, v.Z);
            const double expected = v.Y > 0 ? c.topRadius : 1;
            EXPECT_TRUE(std::fabs(r - expected) < 1e-5 || r < 1e-6) << "vertex " << i;
        }
        EXPECT_EQ(cylinder.Slices(), c.slices);
    }
}

} // namespace
