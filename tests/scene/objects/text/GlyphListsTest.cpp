#include "scene/objects/text/GlyphLists.h"

#include "../../FakeGlyphProvider.h"
#include "../../RealGluTessellator.h"
#include "../../RecordedPrimitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace scenetest;

class GlyphTessellation : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!glu.Available()) {
            GTEST_SKIP() << "libGLU is not installed";
        }
    }
    TGLRecorder recorder;
    TRealGluTessellator glu;
};

class GlyphSolid : public GlyphTessellation, public ::testing::WithParamInterface<bool> {};

TEST_P(GlyphSolid, FacesCoverTheInkAndFaceOutwards)
{
    ASSERT_TRUE(DrawGlyphSolid(FramedSquare(GetParam()), 0.5f));
    double frontArea = 0, backArea = 0;
    for (const auto& t : Triangles(RecordedPrimitives(recorder.Calls()))) {
        const TVec3 area = AreaVector(t);
        const double z = t[0].position[2];
        ASSERT_EQ(t[1].position[2], z);
        ASSERT_EQ(t[2].position[2], z);
        if (z == 0) {
            EXPECT_GT(area[2], 0) << "front triangles face +Z";
            EXPECT_EQ(t[0].normal, (TVec3{0, 0, 1}));
            frontArea += area[2] / 2;
        } else {
            EXPECT_FLOAT_EQ(z, -0.5f);
            EXPECT_LT(area[2], 0) << "back triangles face -Z";
            EXPECT_EQ(t[0].normal, (TVec3{0, 0, -1}));
            backArea -= area[2] / 2;
        }
    }
    // 4 minus the hole of 1.
    EXPECT_NEAR(frontArea, 3, 1e-6);
    EXPECT_NEAR(backArea, 3, 1e-6);
}

TEST_P(GlyphSolid, SidesJoinTheFacesAndPointAwayFromTheInk)
{
    ASSERT_TRUE(DrawGlyphSolid(FramedSquare(GetParam()), 0.5f));
    int quads = 0;
    for (const TRecordedPrimitive& p : RecordedPrimitives(recorder.Calls())) {
        if (p.mode != GL_QUADS) {
            continue;
        }
        ASSERT_EQ(p.vertices.size() % 4, 0u);
        for (std::size_t q = 0; q < p.vertices.size(); q += 4, ++quads) {
            const auto& v = p.vertices;
            TVec3 centre{0, 0, 0};
            for (int k = 0; k < 4; ++k) {
                for (int c = 0; c < 3; ++c) {
                    centre[c] += v[q + k].position[c] / 4;
                }
            }
            EXPECT_FLOAT_EQ(centre[2], -0.25f);
            const TVec3 normal = v[q].normal;
            EXPECT_NEAR(Length(normal), 1, 1e-6);
            EXPECT_EQ(normal[2], 0);
            // The ink lies between the two squares: walls of the outer square face away
            // from the middle (1, 1), walls of the hole face towards it.
            const TVec3 fromMiddle{centre[0] - 1, centre[1] - 1, 0};
            const bool outerWall = Length(fromMiddle) > 0.9;
            EXPECT_EQ(Dot(normal, fromMiddle) > 0, outerWall);
            // The quad's own winding faces the same way as its normal.
            const TVec3 facing =
                Cross(Sub(v[q + 1].position, v[q].position), Sub(v[q + 2].position, v[q + 1].position));
            EXPECT_GT(Dot(facing, normal), 0);
        }
    }
    EXPECT_EQ(quads, 8);
}

INSTANTIATE_TEST_SUITE_P(Directions, GlyphSolid, ::testing::Bool());

TEST_F(GlyphTessellation, WithoutExtrusionOnlyTheFrontIsDrawn)
{
    ASSERT_TRUE(DrawGlyphSolid(FramedSquare(true), 0));
    for (const TRecordedPrimitive& p : RecordedPrimitives(recorder.Calls())) {
        EXPECT_NE(p.mode, static_cast<GLenum>(GL_QUADS));
        for (const TRecordedVertex& v : p.vertices) {
            EXPECT_EQ(v.position[2], 0);
        }
    }
}

TEST_F(GlyphTessellation, OverlappingContoursFollowTheFillRule)
{
    // Two unit squares overlapping by half, both counter-clockwise.
    TGlyphOutline outline;
    outline.Clear(0.01f);
    for (float x0 : {0.0f, 0.5f}) {
        outline.MoveTo(x0, 0);
        outline.LineTo(x0 + 1, 0);
        outline.LineTo(x0 + 1, 1);
        outline.LineTo(x0, 1);
    }
    outline.CloseContour();
    for (const auto& [nonZero, expected] : {std::pair{true, 1.5}, {false, 1.0}}) {
        recorder.Clear();
        outline.NonZeroWinding = nonZero;
        ASSERT_TRUE(DrawGlyphSolid(outline, 0));
        double area = 0;
        for (const auto& t : Triangles(RecordedPrimitives(recorder.Calls()))) {
            area += AreaVector(t)[2] / 2;
        }
        EXPECT_NEAR(area, expected, 1e-6) << "non-zero " << nonZero;
    }
}

TEST_F(GlyphTessellation, ATessellationErrorIsReportedNotThrownThroughGlu)
{
    TGlyphOutline outline;
    outline.Clear(0.01f);
    const float huge = std::numeric_limits<float>::infinity();
    outline.MoveTo(0, 0);
    outline.LineTo(huge, 0);
    outline.LineTo(0, 1);
    outline.CloseContour();
    EXPECT_FALSE(DrawGlyphSolid(outline, 0));
}

TEST(GlyphLists, EachGlyphGetsItsListEndingWithThePenMove)
{
    TGLRecorder recorder;
    TFakeGlyphProvider provider;
    TGlyphMetricsFloat metrics[3];
    const bool built = BuildGlyphOutlineLists(provider, "Arial", TFont::fsBold, 30, 3, 100, 0, 0.2f, metrics);
    // 30 and 31 are blank, 32 is the space: nothing to tessellate, so the lists are
    // complete even without GLU.
    ASSERT_TRUE(built);
    EXPECT_EQ(provider.selected, std::vector<std::string>{"Arial/1"});
    const auto news = recorder.CallsTo("glNewList");
    const auto ends = recorder.CallsTo("glEndList");
    const auto moves = recorder.CallsTo("glTranslatef");
    ASSERT_EQ(news.size(), 3u);
    ASSERT_EQ(ends.size(), 3u);
    ASSERT_EQ(moves.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(news[k].Args, (std::vector<double>{100.0 + k, GL_COMPILE}));
        EXPECT_FLOAT_EQ(moves[k].Args[0], TFakeGlyphProvider::Advance(30 + k));
        EXPECT_EQ(moves[k].Args[1], 0);
        EXPECT_FLOAT_EQ(metrics[k].CellIncX, TFakeGlyphProvider::Advance(30 + k));
        EXPECT_EQ(metrics[k].OriginY, 0); // blanks have no box
    }
    // The pen move is the last thing in each list.
    const auto texts = recorder.Texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].rfind("glEndList", 0) == 0) {
            EXPECT_EQ(texts[i - 1].rfind("glTranslatef", 0), 0u);
        }
    }
}

TEST(GlyphLists, InkedGlyphsAreTessellatedIntoTheirLists)
{
    TGLRecorder recorder;
    TRealGluTessellator glu;
    if (!glu.Available()) {
        GTEST_SKIP() << "libGLU is not installed";
    }
    TFakeGlyphProvider provider;
    TGlyphMetricsFloat metrics[2];
    ASSERT_TRUE(BuildGlyphOutlineLists(provider, "Arial", 0, 'A', 2, 7, 0, 0, metrics));
    // Inside each list: the front face of a 0.5 x 0.7 box.
    int list = -1;
    std::vector<double> areas(2, 0.0);
    std::vector<TGLCall> inside;
    for (const TGLCall& call : recorder.Calls()) {
        if (call.Name == "glNewList") {
            list = static_cast<int>(call.Args[0]) - 7;
            inside.clear();
        } else if (call.Name == "glEndList") {
            for (const auto& t : Triangles(RecordedPrimitives(inside))) {
                areas[list] += AreaVector(t)[2] / 2;
            }
        } else {
            inside.push_back(call);
        }
    }
    EXPECT_NEAR(areas[0], 0.35, 1e-6);
    EXPECT_NEAR(areas[1], 0.35, 1e-6);
}

TEST(GlyphLists, FailuresReportFalse)
{
    struct Case {
        const char* what;
        bool failSelect;
        int failAt;
        int count;
        GLuint base;
    };
    const Case cases[] = {{"no such font", true, -1, 2, 1}, {"an unreadable glyph", false, 31, 2, 1},
                          {"no lists", false, -1, 0, 1}, {"no base", false, -1, 2, 0},
                          {"no tessellator", false, -1, 4, 1}}; // the recorder has none for ink
    for (const Case& c : cases) {
        TGLRecorder recorder;
        TFakeGlyphProvider provider;
        provider.failSelect = c.failSelect;
        provider.failAt = c.failAt;
        TGlyphMetricsFloat metrics[4];
        EXPECT_FALSE(BuildGlyphOutlineLists(provider, "Arial", 0, 30, c.count, c.base, 0, 0, metrics)) << c.what;
    }
}

} // namespace
