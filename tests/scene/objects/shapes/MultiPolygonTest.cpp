#include "scene/objects/shapes/MultiPolygon.h"

#include "../../ErrorTextTestSupport.h"
#include "../../FakeTessellator.h"
#include "../../ObjectTestSupport.h"
#include "../../RealGluTessellator.h"
#include "../../RecordedPrimitives.h"
#include "platform/core/Exceptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace scenetest;

// A square of the given half size about the origin, counter-clockwise seen from +Z
// or the other way round.
void AddSquare(TGLNodes& nodes, float half, bool counterClockwise)
{
    const float corners[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
    for (int i = 0; i < 4; ++i) {
        const auto& c = corners[counterClockwise ? i : 3 - i];
        nodes.AddNode(TAffineVector{c[0], c[1], 0});
    }
}

class MultiPolygon : public ObjectRecording {
protected:
    void SetUp() override { ASSERT_TRUE(glu.Available()); }
    std::vector<std::array<TRecordedVertex, 3>> DrawnTriangles()
    {
        recorder.Clear();
        polygon.BuildList(rci);
        return Triangles(RecordedPrimitives(recorder.Calls()));
    }
    static bool Rebuilds(const TGLBaseSceneObject& object) { return object.Changes() & ChangeBit(ocStructure); }

    TRealGluTessellator glu;
    TGLMultiPolygon polygon;
};

TEST_F(MultiPolygon, AHoleIsCutWhateverTheWindings)
{
    for (const bool outerCCW : {true, false}) {
        for (const bool holeCCW : {true, false}) {
            TGLMultiPolygon fresh;
            polygon.Assign(&fresh);
            polygon.Contours().Clear();
            AddSquare(polygon.GetPath(0), 2, outerCCW);
            AddSquare(polygon.GetPath(1), 1, holeCCW);
            EXPECT_EQ(polygon.GetOutline().Count(), 2) << outerCCW << holeCCW;
            double up = 0, down = 0;
            for (const auto& t : DrawnTriangles()) {
                const double z = AreaVector(t)[2] / 2;
                (z > 0 ? up : down) += std::fabs(z);
                double x = 0, y = 0;
                for (const auto& v : t) {
                    x += v.position[0] / 3;
                    y += v.position[1] / 3;
                }
                EXPECT_FALSE(std::fabs(x) < 1 && std::fabs(y) < 1) << "a triangle in the hole";
                EXPECT_NEAR(t[0].normal[2], z > 0 ? 1 : -1, 1e-6);
            }
            EXPECT_NEAR(up, 12, 1e-5) << "top face, windings " << outerCCW << holeCCW;
            EXPECT_NEAR(down, 12, 1e-5) << "bottom face, windings " << outerCCW << holeCCW;
        }
    }
}

TEST_F(MultiPolygon, AShortFirstContourGivesNoOutline)
{
    polygon.GetPath(0).AddNode(TAffineVector{0, 0, 0});
    polygon.GetPath(0).AddNode(TAffineVector{1, 0, 0});
    AddSquare(polygon.GetPath(1), 1, true);
    EXPECT_EQ(polygon.GetOutline().Count(), 0);
    EXPECT_TRUE(DrawnTriangles().empty());
    EXPECT_EQ(recorder.Count("glBegin"), 0);
}

TEST_F(MultiPolygon, GetPathAddsContoursUpToTheIndex)
{
    polygon.GetPath(3);
    ASSERT_EQ(polygon.Contours().Count(), 4);
    EXPECT_EQ(polygon.Contours()[3]->Nodes().Count(), 0);
    EXPECT_THROW(polygon.GetPath(-1), EAssertionFailed);
    EXPECT_EQ(polygon.Contours()[2]->DisplayName(), "GLContour: 0 nodes");
    AddSquare(polygon.GetPath(2), 1, true);
    polygon.GetPath(2).AddNode(TAffineVector{0, 0, 0});
    EXPECT_EQ(polygon.Contours()[2]->DisplayName(), "GLContour: 5 nodes");
    polygon.Contours()[2]->SetDescription("rim");
    EXPECT_EQ(polygon.Contours()[2]->DisplayName(), "rim");
}

TEST_F(MultiPolygon, SplineContoursFollowTheirDivision)
{
    AddSquare(polygon.GetPath(0), 1, true);
    TGLContour& contour = *polygon.Contours()[0];
    contour.SetSplineMode(lsmCubicSpline);
    contour.SetDivision(1);
    ASSERT_EQ(polygon.GetOutline().Count(), 1);
    EXPECT_EQ(polygon.GetOutline().GetList(0)->Count(), 4) << "fewer than two steps: the plain nodes";
    contour.SetDivision(3);
    EXPECT_GT(polygon.GetOutline().GetList(0)->Count(), 4);
}

TEST_F(MultiPolygon, TheOutlineIsKeptUntilAContourChanges)
{
    AddSquare(polygon.GetPath(0), 1, true);
    struct Case {
        const char* what;
        void (*change)(TGLContour&);
        bool drops;
    };
    const Case cases[] = {
        {"node moved", [](TGLContour& c) { c.Nodes()[0]->SetX(-1.5f); }, true},
        {"division", [](TGLContour& c) { c.SetDivision(4); }, true},
        {"spline mode", [](TGLContour& c) { c.SetSplineMode(lsmCubicSpline); }, true},
        {"description", [](TGLContour& c) { c.SetDescription("x"); }, false},
    };
    for (const Case& c : cases) {
        const TPolygonList* before = &polygon.GetOutline();
        polygon.ClearStructureChanged();
        c.change(*polygon.Contours()[0]);
        EXPECT_EQ(!polygon.HasOutline(), c.drops) << c.what;
        EXPECT_EQ(Rebuilds(polygon), c.drops) << c.what;
        if (!c.drops) {
            EXPECT_EQ(&polygon.GetOutline(), before) << c.what;
        }
    }
    polygon.GetOutline();
    polygon.Contours().Delete(0);
    EXPECT_FALSE(polygon.HasOutline()) << "contour removed";
}

TEST_F(MultiPolygon, TessellatorErrorsNameTheGluErrorAndLeaveNoOutline)
{
    TFakeTess fake;
    fake.Install();
    fake.error = GLU_TESS_NEED_COMBINE_CALLBACK;
    AddSquare(polygon.GetPath(0), 1, true);
    EXPECT_THAT(ErrorText<EAssertionFailed>([&] { polygon.GetOutline(); }),
                ::testing::StartsWith(std::to_string(GLU_TESS_NEED_COMBINE_CALLBACK) + " : "));
    EXPECT_FALSE(polygon.HasOutline());
    EXPECT_TRUE(fake.deleted);
    TFakeTess::Current() = nullptr;
}

} // namespace
