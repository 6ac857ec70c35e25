#include "scene/objects/shapes/ArrowLine.h"

#include "../../ObjectTestSupport.h"
#include "../../QuadricTrace.h"
#include "../../RecordedPrimitives.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace scenetest;

// One expected quadric: its kind, where z = 0 and z = height land on the arrow's Z
// axis, its radii and orientation.
struct TExpectedPart {
    std::string kind;
    double fromZ, toZ;
    double inner, outer;
    GLenum orientation;
};

struct TArrowCase {
    const char* what;
    TArrowHeadStackingStyle style;
    TArrowLineParts parts;
    float height;
    std::vector<TExpectedPart> expected;
};

constexpr GLenum Out = GLU_OUTSIDE, In = GLU_INSIDE;
const TArrowLineParts Everything = alLine | alTopArrow | alBottomArrow;

using ArrowLineDrawing = ObjectRecording;

TEST_F(ArrowLineDrawing, PlacesShaftHeadsAndDisks)
{
    const TArrowCase cases[] = {
        // Heads beyond the ends of a shaft of full height.
        {"stacked, line and top", ahssStacked, alLine | alTopArrow, 2,
            {{"cylinder", 1, 1.5, 0.2, 0, Out}, {"disk", 1, 1, 0.05, 0.2, In},
             {"cylinder", -1, 1, 0.04, 0.05, Out}, {"disk", -1, -1, 0, 0.04, In}}},
        {"stacked, everything", ahssStacked, Everything, 2,
            {{"cylinder", 1, 1.5, 0.2, 0, Out}, {"disk", 1, 1, 0.05, 0.2, In},
             {"cylinder", -1, -1.25, 0.1, 0, Out}, {"disk", -1, -1, 0.04, 0.1, In},
             {"cylinder", -1, 1, 0.04, 0.05, Out}}},
        // Tips at plus and minus half the height; the shaft between the heads.
        {"included, everything", ahssIncluded, Everything, 2,
            {{"cylinder", 0.5, 1, 0.2, 0, Out}, {"disk", 0.5, 0.5, 0.05, 0.2, In},
             {"cylinder", -0.75, -1, 0.1, 0, Out}, {"disk", -0.75, -0.75, 0.04, 0.1, In},
             {"cylinder", -0.75, 0.5, 0.04, 0.05, Out}}},
        // Half of each head over the shaft.
        {"centred, line and bottom", ahssCentered, alLine | alBottomArrow, 2,
            {{"cylinder", -0.875, -1.125, 0.1, 0, Out}, {"disk", -0.875, -0.875, 0.04, 0.1, In},
             {"cylinder", -0.875, 1, 0.04, 0.05, Out}, {"disk", 1, 1, 0, 0.05, Out}}},
        // Heads longer than the arrow: no shaft, but the disks keep their hole.
        {"included, heads too long", ahssIncluded, Everything, 0.6f,
            {{"cylinder", -0.2, 0.3, 0.2, 0, Out}, {"disk", -0.2, -0.2, 0.05, 0.2, In},
             {"cylinder", -0.05, -0.3, 0.1, 0, Out}, {"disk", -0.05, -0.05, 0.04, 0.1, In}}},
        // Without the line: full disks, no shaft.
        {"heads only", ahssStacked, alTopArrow | alBottomArrow, 2,
            {{"cylinder", 1, 1.5, 0.2, 0, Out}, {"disk", 1, 1, 0, 0.2, In},
             {"cylinder", -1, -1.25, 0.1, 0, Out}, {"disk", -1, -1, 0, 0.1, In}}},
        {"line only", ahssIncluded, alLine, 2,
            {{"cylinder", -1, 1, 0.04, 0.05, Out}, {"disk", 1, 1, 0, 0.05, Out},
             {"disk", -1, -1, 0, 0.04, In}}},
        {"nothing", ahssStacked, 0, 2, {}}};
    for (const TArrowCase& c : cases) {
        recorder.Clear();
        TGLArrowLine arrow;
        arrow.SetHeight(c.height);
        arrow.SetHeadStackingStyle(c.style);
        arrow.SetParts(c.parts);
        arrow.SetTopRadius(0.05f);       // shaft top
        arrow.SetBottomRadius(0.04f);    // shaft bottom
        arrow.SetTopArrowHeadHeight(0.5f);
        arrow.SetTopArrowHeadRadius(0.2f);
        arrow.SetBottomArrowHeadHeight(0.25f);
        arrow.SetBottomArrowHeadRadius(0.1f);
        arrow.BuildList(rci);
        const TQuadricTrace trace(recorder.Calls());
        EXPECT_FALSE(trace.unbalanced) << c.what;
        EXPECT_FALSE(trace.unsupported) << c.what;
        ASSERT_EQ(trace.parts.size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const TQuadricPart& got = trace.parts[i];
            const TExpectedPart& want = c.expected[i];
            SCOPED_TRACE(std::string(c.what) + " part " + std::to_string(i));
            EXPECT_EQ(got.kind, want.kind);
            EXPECT_NEAR(got.from[2], want.fromZ, 1e-6);
            EXPECT_NEAR(got.to[2], want.toZ, 1e-6);
            EXPECT_NEAR(got.from[0], 0, 1e-6);
            EXPECT_NEAR(got.from[1], 0, 1e-6);
            EXPECT_NEAR(got.inner, want.inner, 1e-6);
            EXPECT_NEAR(got.outer, want.outer, 1e-6);
            EXPECT_EQ(got.orientation, want.orientation);
        }
        EXPECT_EQ(recorder.Count("gluNewQuadric"), 1);
        EXPECT_EQ(recorder.Count("gluDeleteQuadric"), 1);
    }
}

TEST_F(ArrowLineDrawing, OutlinesEachPartAlongTheSideFacingTheCamera)
{
    // An arrow along world X (its own Z), a shaft of radius 0.1 from -1 to 1 and a head
    // of 0.2 from 1 to 1.5, each part outlined by one line on the side the camera sees
    // and lit as that side.
    const struct {
        const char* what;
        TVector camera;
        TNormalDirection normals;
        TVec3 side; // none: no line
        double normalSign;
    } cases[] = {{"from above", {0.3f, 0, 40, 1}, ndOutside, {-1, 0, 0}, 1},
                 {"from beside", {-7, -3, 0, 1}, ndOutside, {0, -1, 0}, 1},
                 {"inside normals", {0.3f, 0, 40, 1}, ndInside, {-1, 0, 0}, -1},
                 {"along its axis", {90, 0, 0, 1}, ndOutside, {}, 0}};
    for (const auto& c : cases) {
        recorder.Clear();
        TGLArrowLine arrow;
        arrow.Direction().SetVector(1, 0, 0); // its Z is world X, its X world -Z
        arrow.SetHeight(2);
        arrow.SetNormalDirection(c.normals);
        arrow.SetOutlined(true);
        EXPECT_NE(arrow.ObjectStyle() & StyleBit(osNoDisplayList), 0) << "drawn for each frame's camera";
        rci.cameraPosition = c.camera;
        arrow.BuildList(rci);
        std::vector<TRecordedPrimitive> lines;
        for (const TRecordedPrimitive& p : RecordedPrimitives(recorder.Calls())) {
            if (p.mode == GL_LINES) {
                lines.push_back(p);
            }
        }
        if (c.normalSign == 0) {
            EXPECT_TRUE(lines.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(lines.size(), 2u) << c.what << ": the head and the shaft";
        // Along the axis, and the radius there: the head's base to its tip, the shaft.
        const std::array<double, 2> ends[2][2] = {{{1, 0.2}, {1.5, 0}}, {{-1, 0.1}, {1, 0.1}}};
        for (std::size_t i = 0; i < 2; ++i) {
            ASSERT_EQ(lines[i].vertices.size(), 2u) << c.what;
            for (std::size_t v = 0; v < 2; ++v) {
                const TRecordedVertex& vertex = lines[i].vertices[v];
                SCOPED_TRACE(std::string(c.what) + ", line " + std::to_string(i));
                EXPECT_NEAR(vertex.position[2], ends[i][v][0], 1e-6);
                for (int axis = 0; axis < 2; ++axis) {
                    EXPECT_NEAR(vertex.position[axis], c.side[axis] * ends[i][v][1], 1e-6);
                }
                for (int axis = 0; axis < 3; ++axis) {
                    EXPECT_NEAR(vertex.normal[axis], c.side[axis] * c.normalSign, 1e-6);
                }
            }
        }
    }
    TGLArrowLine plain;
    plain.SetOutlined(true);
    plain.SetOutlined(false);
    EXPECT_EQ(plain.ObjectStyle() & StyleBit(osNoDisplayList), 0) << "a display list again";
}

TEST(ArrowLine, HalfExtentsAreTheBaseObjects)
{
    TGLArrowLine arrow;
    EXPECT_EQ(arrow.UnscaledHalfExtents().X, 0.5f); // not the arrow's own bounds
}

TEST(ArrowLine, AssignCopiesTheArrowsOwnValues)
{
    TGLArrowLine source, target;
    source.SetParts(alBottomArrow);
    source.SetTopRadius(0.01f);
    source.SetTopArrowHeadHeight(0.2f);
    source.SetTopArrowHeadRadius(0.05f);
    source.SetBottomArrowHeadHeight(0.3f);
    source.SetBottomArrowHeadRadius(0.06f);
    source.SetHeadStackingStyle(ahssCentered);
    source.SetHeight(2.2f);
    source.SetOutlined(true);
    target.Assign(&source);
    EXPECT_EQ(target.Parts(), alBottomArrow);
    EXPECT_EQ(target.TopRadius(), 0.01f);
    EXPECT_EQ(target.TopArrowHeadHeight(), 0.2f);
    EXPECT_EQ(target.TopArrowHeadRadius(), 0.05f);
    EXPECT_EQ(target.BottomArrowHeadHeight(), 0.3f);
    EXPECT_EQ(target.BottomArrowHeadRadius(), 0.06f);
    EXPECT_EQ(target.HeadStackingStyle(), ahssCentered);
    EXPECT_EQ(target.Height(), 2.2f);
    EXPECT_TRUE(target.Outlined());
}

TEST(ArrowLine, SettersRebuildOnlyOnChange)
{
    TGLArrowLine arrow;
    arrow.ClearStructureChanged();
    arrow.SetTopArrowHeadHeight(0.5f); // the values it already has
    arrow.SetParts(alLine | alTopArrow);
    arrow.SetHeadStackingStyle(ahssStacked);
    EXPECT_EQ(arrow.Changes() & ChangeBit(ocStructure), 0);
    arrow.SetBottomArrowHeadRadius(0.3f);
    EXPECT_NE(arrow.Changes() & ChangeBit(ocStructure), 0);
    arrow.ClearStructureChanged();
    arrow.SetOutlined(false);
    EXPECT_EQ(arrow.Changes() & ChangeBit(ocStructure), 0);
    arrow.SetOutlined(true);
    EXPECT_NE(arrow.Changes() & ChangeBit(ocStructure), 0);
}

} // namespace
