#include "scene/objects/lines/XYZGrid.h"

#include "../../ObjectTestSupport.h"
#include "../../RecordedPrimitives.h"

#include <gtest/gtest.h>

namespace {

using namespace scenetest;

class XYZGrid : public ObjectRecording {
protected:
    std::vector<TRecordedPrimitive> Draw()
    {
        recorder.Clear();
        grid.BuildList(rci);
        return RecordedPrimitives(recorder.Calls());
    }
    static void Range(TGLSamplingScale& s, float min, float max, float step, float origin = 0)
    {
        s.SetMax(max);
        s.SetMin(min);
        s.SetStep(step);
        s.SetOrigin(origin);
    }
    TGLXYZGrid grid;
};

TEST_F(XYZGrid, ThePreviewTableHas13LinesAlongXAnd25AlongY)
{
    grid.SetLineWidth(0.1f);
    grid.XSamplingScale().SetMax(96);
    grid.XSamplingScale().SetStep(4);
    grid.YSamplingScale().SetMax(48);
    grid.YSamplingScale().SetStep(4);
    grid.ZSamplingScale().SetStep(0.1f);
    const auto lines = Draw();
    ASSERT_EQ(lines.size(), 13u + 25u);
    for (int i = 0; i < 13; ++i) {
        const auto& v = lines[i].vertices;
        EXPECT_EQ(lines[i].mode, static_cast<GLenum>(GL_LINE_STRIP));
        ASSERT_EQ(v.size(), 25u);
        for (int k = 0; k < 25; ++k) {
            EXPECT_NEAR(v[k].position[0], 4 * k, 1e-4);
            EXPECT_EQ(v[k].position[1], 4 * i);
            EXPECT_EQ(v[k].position[2], 0);
        }
    }
    for (int i = 0; i < 25; ++i) {
        const auto& v = lines[13 + i].vertices;
        ASSERT_EQ(v.size(), 13u);
        EXPECT_NEAR(v[0].position[0], 4 * i, 1e-4);
        EXPECT_EQ(v[12].position[1], 48);
    }
    // The line style brackets the drawing.
    EXPECT_EQ(recorder.Calls().front().Name, "glPushAttrib");
    EXPECT_EQ(recorder.Calls().back().Name, "glPopAttrib");
    EXPECT_FLOAT_EQ(recorder.CallsTo("glLineWidth")[0].Args[0], 0.1f);
}

TEST_F(XYZGrid, WithoutPartsOnlyTheStyleIsSetAndRestored)
{
    Range(grid.XSamplingScale(), 0, 10, 1);
    Range(grid.YSamplingScale(), 0, 10, 1);
    grid.SetParts(0);
    EXPECT_TRUE(Draw().empty());
    EXPECT_EQ(recorder.Count("glPushAttrib"), 1);
    EXPECT_EQ(recorder.Count("glPopAttrib"), 1);
}

TEST_F(XYZGrid, StraightLinesRunFromMinToMaxNotBetweenSamples)
{
    // Samples 3, 6, 9 inside 0.5 .. 10 on every axis.
    for (TGLSamplingScale* scale : {&grid.XSamplingScale(), &grid.YSamplingScale(), &grid.ZSamplingScale()}) {
        Range(*scale, 0.5f, 10, 3);
    }
    for (const auto& [parts, axis] : {std::pair{gpX, 0}, {gpY, 1}, {gpZ, 2}}) {
        grid.SetParts(parts);
        grid.SetLinesStyle(glsLine);
        const auto lines = Draw();
        // The other axes are not sampled: one line at their origins.
        ASSERT_EQ(lines.size(), 1u) << "axis " << axis;
        ASSERT_EQ(lines[0].vertices.size(), 2u) << "axis " << axis;
        EXPECT_FLOAT_EQ(lines[0].vertices[0].position[axis], 0.5f) << "axis " << axis;
        EXPECT_FLOAT_EQ(lines[0].vertices[1].position[axis], 10) << "axis " << axis;
        grid.SetLinesStyle(glsSegments);
        for (const auto& line : Draw()) {
            ASSERT_EQ(line.vertices.size(), 3u) << "axis " << axis;
            EXPECT_FLOAT_EQ(line.vertices[0].position[axis], 3) << "axis " << axis;
            EXPECT_FLOAT_EQ(line.vertices[2].position[axis], 9) << "axis " << axis;
        }
    }
}

TEST_F(XYZGrid, AnAxisNotSampledContributesItsOrigin)
{
    Range(grid.XSamplingScale(), 0, 2, 1);
    Range(grid.YSamplingScale(), 0, 2, 1);
    Range(grid.ZSamplingScale(), 0, 2, 1, 1.5f);
    grid.SetParts(gpX);
    const auto lines = Draw();
    ASSERT_EQ(lines.size(), 1u); // Y not sampled either: one row at its origin
    for (const auto& v : lines[0].vertices) {
        EXPECT_EQ(v.position[1], 0);
        EXPECT_EQ(v.position[2], 1.5f);
    }
}

TEST_F(XYZGrid, LinesSmoothingSwitchesOnAntiAliasing)
{
    grid.SetLinesSmoothing(true);
    EXPECT_TRUE(grid.AntiAliased());
    grid.SetLinesSmoothing(false);
    EXPECT_FALSE(grid.AntiAliased());
}

TEST_F(XYZGrid, ScaleAndPartChangesRebuild)
{
    grid.ClearStructureChanged();
    grid.SetParts(gpX | gpY);
    grid.SetLinesStyle(glsSegments);
    EXPECT_EQ(grid.Changes() & ChangeBit(ocStructure), 0);
    grid.YSamplingScale().SetMax(5);
    EXPECT_NE(grid.Changes() & ChangeBit(ocStructure), 0);
    grid.ClearStructureChanged();
    grid.SetLinesStyle(glsLine);
    EXPECT_NE(grid.Changes() & ChangeBit(ocStructure), 0);
}

TEST_F(XYZGrid, AssignCopiesScalesPartsStyleAndLineStyle)
{
    TGLXYZGrid source;
    Range(source.XSamplingScale(), 1, 9, 2, 1);
    source.ZSamplingScale().SetStep(0.5f);
    source.SetParts(gpZ);
    source.SetLinesStyle(glsLine);
    source.SetLineWidth(3);
    grid.Assign(&source);
    EXPECT_EQ(grid.XSamplingScale().Min(), 1);
    EXPECT_EQ(grid.XSamplingScale().Max(), 9);
    EXPECT_EQ(grid.XSamplingScale().Step(), 2);
    EXPECT_EQ(grid.ZSamplingScale().Step(), 0.5f);
    EXPECT_EQ(grid.Parts(), gpZ);
    EXPECT_EQ(grid.LinesStyle(), glsLine);
    EXPECT_EQ(grid.LineWidth(), 3);
}

TEST_F(XYZGrid, AStepTooSmallForTheCoordinatesCannotStallTheLoops)
{
    Range(grid.XSamplingScale(), 1e8f, 1e8f + 64, 0.001f);
    Range(grid.YSamplingScale(), 1e8f, 1e8f + 64, 0.001f);
    const auto lines = Draw();
    EXPECT_EQ(lines.size(), 2u);
}

} // namespace
