#include "scene/rendering/GLStateCache.h"
#include "scene/base/VectorArithmetic.h"
#include "scene/objects/lines/Lines.h"

#include "../../RecordedPrimitives.h"

#include <gtest/gtest.h>

using namespace scenetest;

namespace {

class LinesTest : public ::testing::Test {
protected:
    LinesTest() { rci.GLStates = &states; }

    void AddNodes(std::initializer_list<TVector> points)
    {
        for (const TVector& p : points) {
            line.AddNode(p.X, p.Y, p.Z);
        }
    }
    std::vector<TRecordedPrimitive> Build()
    {
        gl.Clear();
        line.BuildList(rci);
        return RecordedPrimitives(gl.Calls());
    }

    TGLRecorder gl;
    TGLStateCache states;
    TRenderContextInfo rci;
    TGLLines line;
};

TEST_F(LinesTest, VertexOutputOfEachSplineMode)
{
    struct Case {
        TLineSplineMode mode;
        int division;
        int nodes;
        GLenum primitive;
        std::size_t vertices; // glVertex calls
        int evalCoords;
    };
    const Case cases[] = {
        {lsmLines, 10, 3, GL_LINE_STRIP, 3, 0},
        {lsmSegments, 10, 5, GL_LINES, 5, 0}, // the odd last node stays unjoined by GL_LINES
        {lsmCubicSpline, 4, 3, GL_LINE_STRIP, 9, 0},
        {lsmCubicSpline, 1, 3, GL_LINE_STRIP, 3, 0},
        {lsmBezierSpline, 6, 4, GL_LINE_STRIP, 0, 7},
        {lsmBezierSpline, 1, 4, GL_LINE_STRIP, 4, 0},
        {lsmBezierSpline, 6, 9, GL_LINE_STRIP, 9, 0}, // beyond the recorder's order of 8
        {lsmNURBSCurve, 1, 3, GL_LINE_STRIP, 3, 0},
        {lsmLines, 10, 1, 0, 0, 0}, // fewer than two nodes draw nothing
        {lsmLines, 10, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TGLLines l; // markers stay at their default for fewer than two nodes
        if (c.nodes >= 2) {
            l.SetNodesAspect(lnaInvisible);
        }
        l.SetSplineMode(c.mode);
        l.SetDivision(c.division);
        for (int i = 0; i < c.nodes; ++i) {
            l.AddNode(float(i), float(i * i), 0);
        }
        gl.Clear();
        l.BuildList(rci);
        const auto prims = RecordedPrimitives(gl.Calls());
        if (c.nodes < 2) {
            EXPECT_TRUE(gl.Calls().empty()) << c.nodes << " nodes";
            continue;
        }
        ASSERT_EQ(prims.size(), 1u) << int(c.mode);
        EXPECT_EQ(prims[0].mode, c.primitive) << int(c.mode);
        EXPECT_EQ(prims[0].vertices.size(), c.vertices) << int(c.mode) << "/" << c.division;
        EXPECT_EQ(gl.Count("glEvalCoord1f"), c.evalCoords) << int(c.mode);
    }
}

TEST_F(LinesTest, CubicSplinePassesThroughNodesAndEndsOnTheLastNodeColor)
{
    line.SetSplineMode(lsmCubicSpline);
    line.SetDivision(5);
    line.SetOptions(LinesOptionBit(loUseNodeColorForLines));
    AddNodes({{0, 0, 0, 0}, {1, 2, 0, 0}, {3, 1, 1, 0}});
    line.Nodes()[2]->SetColor({0, 1, 0, 1});
    const auto v = Build()[0].vertices;
    ASSERT_EQ(v.size(), 11u);
    EXPECT_NEAR(v[5].position[1], 2, 1e-5);
    EXPECT_NEAR(v[10].position[0], 3, 1e-5);
    const auto colors = gl.CallsTo("glColor4fv");
    ASSERT_EQ(colors.size(), 11u);
    EXPECT_EQ(colors.back().Data, (std::vector<double>{0, 1, 0, 1}));
}

TEST_F(LinesTest, LineStyleSwitchesStippleBlendingAndColorForm)
{
    struct Case {
        std::uint16_t pattern;
        float alpha;
        bool antiAliased;
        bool stipple;
        bool blend;
        const char* colorCall;
    };
    const Case cases[] = {
        {0xFFFF, 1.0f, false, false, false, "glColor3fv"},
        {0x8888, 1.0f, false, true, true, "glColor3fv"},
        {0xFFFF, 0.5f, false, false, true, "glColor4fv"},
        {0xFFFF, 1.0f, true, false, true, "glColor3fv"},
    };
    AddNodes({{0, 0, 0, 0}, {1, 0, 0, 0}});
    line.SetNodesAspect(lnaInvisible);
    for (const Case& c : cases) {
        line.SetLinePattern(c.pattern);
        line.SetAntiAliased(c.antiAliased);
        TGLColor color(nullptr, {1, 0, 0, c.alpha});
        line.SetLineColor(color);
        Build();
        EXPECT_EQ(gl.Count("glLineStipple"), c.stipple ? 1 : 0) << c.pattern;
        EXPECT_EQ(gl.Count("glBlendFunc") > 0, c.blend) << c.pattern << " " << c.alpha;
        EXPECT_EQ(gl.Count(c.colorCall), 1) << c.colorCall;
        EXPECT_EQ(gl.Count("glPushAttrib"), gl.Count("glPopAttrib"));
    }
}

TEST_F(LinesTest, MarkersFollowTheAspectAndNurbsWithoutKnotsStillDrawsThem)
{
    line.SetSplineMode(lsmNURBSCurve);
    AddNodes({{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 1, 0, 0}});
    struct Case {
        TLineNodesAspect aspect;
        int translates;
        int fans;
    };
    for (const Case& c : {Case{lnaInvisible, 0, 0}, Case{lnaCube, 3, 0}, Case{lnaDodecahedron, 3, 36}}) {
        line.SetNodesAspect(c.aspect);
        const auto prims = Build();
        EXPECT_EQ(gl.Count("gluNewNurbsRenderer"), 0);
        EXPECT_EQ(gl.Count("glTranslatef"), c.translates);
        EXPECT_EQ(static_cast<int>(std::count_if(prims.begin(), prims.end(),
                                                 [](auto& p) { return p.mode == GL_TRIANGLE_FAN; })),
                  c.fans);
    }
    line.SetNURBSOrder(3);
    line.NURBSKnots().Add(0);
    Build();
    EXPECT_EQ(gl.Count("gluNurbsCurve"), 1);
    EXPECT_EQ(gl.Count("gluDeleteNurbsRenderer"), 1);
}

TEST_F(LinesTest, NodeColorRecolorsOnlyNodesStillOnThePreviousColor)
{
    AddNodes({{0, 0, 0, 0}, {1, 0, 0, 0}});
    line.Nodes()[1]->SetColor({1, 1, 0, 1});
    line.SetNodeColor(TGLColor(nullptr, {0, 1, 0, 1}));
    line.AddNode(2, 0, 0);
    EXPECT_TRUE(VectorEquals(line.Nodes()[0]->Color(), TVector{0, 1, 0, 1}));
    EXPECT_TRUE(VectorEquals(line.Nodes()[1]->Color(), TVector{1, 1, 0, 1}));
    EXPECT_TRUE(VectorEquals(line.Nodes()[2]->Color(), TVector{0, 1, 0, 1}));
    EXPECT_FALSE(line.Nodes()[0]->StoreColor());
    EXPECT_TRUE(line.Nodes()[1]->StoreColor());
}

TEST_F(LinesTest, SettersKeepRangesAndAssignCopiesOnlyTheStyle)
{
    for (int d : {0, -3}) {
        line.SetDivision(d);
        EXPECT_EQ(line.Division(), 1);
    }
    line.SetNodeSize(0);
    EXPECT_EQ(line.NodeSize(), 1.0f);
    TGLLines source;
    source.SetLinePattern(0x8888);
    source.SetLineWidth(0.5f);
    source.SetAntiAliased(true);
    source.AddNode(1, 2, 3);
    TGLLineBase base;
    base.Assign(&source);
    EXPECT_EQ(base.LinePattern(), 0x8888);
    EXPECT_EQ(base.LineWidth(), 0.5f);
    EXPECT_TRUE(base.AntiAliased());
    line.Assign(&source);
    EXPECT_EQ(line.Nodes().Count(), 1);
    EXPECT_TRUE(VectorEquals(line.UnscaledHalfExtents(), TVector{1, 2, 3, 0}));
}

TEST_F(LinesTest, AppendingAndDeletingNodesMarksTheStructureChanged)
{
    AddNodes({{0, 0, 0, 0}, {1, 0, 0, 0}});
    line.ClearStructureChanged();
    line.AddNode(5, 5, 5);
    EXPECT_TRUE(line.Changes() & ChangeBit(ocStructure));
    line.ClearStructureChanged();
    line.DeleteLastNode();
    EXPECT_TRUE(line.Changes() & ChangeBit(ocStructure));
    EXPECT_EQ(line.Nodes().Count(), 2);
}

// A line keeps bare points until its node collection is asked for; both forms draw
// alike, and making the collection is no change of the line.
TEST_F(LinesTest, BarePointsAndTheNodeCollectionDrawAlike)
{
    const struct {
        TLineSplineMode Mode;
        TLinesOptions Options;
        TLineNodesAspect Aspect;
    } cases[] = {
        {lsmLines, 0, lnaInvisible},
        {lsmSegments, 0, lnaCube},
        {lsmCubicSpline, LinesOptionBit(loUseNodeColorForLines), lnaInvisible},
        {lsmBezierSpline, 0, lnaDodecahedron},
    };
    for (const auto& c : cases) {
        TGLLines l;
        l.SetSplineMode(c.Mode);
        l.SetOptions(c.Options);
        l.SetNodesAspect(c.Aspect);
        l.SetNodeColor(TGLColor(nullptr, {0, 1, 0, 1})); // bare points follow it too
        for (int i = 0; i < 5; ++i) {
            l.AddNode(float(i), float(i * i), -1);
        }
        states.ResetAll();
        gl.Clear();
        l.BuildList(rci);
        const std::vector<std::string> bare = gl.Texts();
        EXPECT_FALSE(l.HasNodeCollection());
        l.ClearStructureChanged();
        ASSERT_EQ(l.Nodes().Count(), 5);
        EXPECT_FALSE(l.Changes() & ChangeBit(ocStructure)) << "making the collection changes nothing";
        EXPECT_TRUE(VectorEquals(l.Nodes()[4]->AsVector(), TVector{4, 16, -1, 0}));
        EXPECT_TRUE(VectorEquals(l.Nodes()[4]->Color(), TVector{0, 1, 0, 1}));
        states.ResetAll();
        gl.Clear();
        l.BuildList(rci);
        EXPECT_EQ(gl.Texts(), bare) << int(c.Mode);
    }
}

// A preview adds up its polylines' memory from the growth each node announces; a
// finished polyline gives its spare room back and still draws the same.
TEST_F(LinesTest, MemoryFollowsTheNodesAndCompacting)
{
    const std::size_t empty = line.MemoryBytes();
    std::size_t counted = empty;
    for (int i = 0; i < 37; ++i) {
        counted += line.NodeGrowthBytes();
        line.AddNode(float(i), 1, 2);
        EXPECT_EQ(line.MemoryBytes(), counted) << i;
    }
    const auto drawn = [&] {
        states.ResetAll();
        gl.Clear();
        line.BuildList(rci);
        return gl.Texts();
    };
    const std::vector<std::string> before = drawn();
    line.ClearStructureChanged();
    line.CompactNodes();
    EXPECT_LT(line.MemoryBytes(), counted);
    EXPECT_GE(line.MemoryBytes(), empty + 37 * sizeof(TAffineVector));
    EXPECT_FALSE(line.Changes() & ChangeBit(ocStructure)) << "compacting changes nothing drawn";
    EXPECT_EQ(drawn(), before);
    // Node objects cost far more than bare points, and the count says so.
    const std::size_t bare = line.MemoryBytes();
    line.Nodes();
    EXPECT_GT(line.MemoryBytes(), bare + 37 * sizeof(TAffineVector));
    counted = line.MemoryBytes() + line.NodeGrowthBytes();
    line.AddNode(0, 0, 0);
    EXPECT_EQ(line.MemoryBytes(), counted);
}

TEST_F(LinesTest, AssignCopiesBarePointsWithTheirColour)
{
    TGLLines source;
    source.AddNode(1, 2, 3);
    source.AddNode(4, 5, 6);
    source.SetNodeColor(TGLColor(nullptr, {1, 1, 0, 1}));
    for (bool targetBare : {true, false}) {
        TGLLines target;
        target.AddNode(7, 7, 7);
        if (!targetBare) {
            target.Nodes();
        }
        target.Assign(&source);
        ASSERT_EQ(target.NodeCount(), 2);
        EXPECT_EQ(target.NodePoint(1).Y, 5.0f);
        EXPECT_TRUE(VectorEquals(target.NodeColorOf(0), TVector{1, 1, 0, 1})) << targetBare;
        EXPECT_EQ(target.HasNodeCollection(), !targetBare);
    }
}

} // namespace
