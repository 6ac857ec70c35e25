#include "scene/objects/lines/XYZGrid.h"

#include "../../ObjectTestSupport.h"
#include "../../RecordedPrimitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
    source.SetNoZWrite(true);
    grid.Assign(&source);
    EXPECT_EQ(grid.XSamplingScale().Min(), 1);
    EXPECT_EQ(grid.XSamplingScale().Max(), 9);
    EXPECT_EQ(grid.XSamplingScale().Step(), 2);
    EXPECT_EQ(grid.ZSamplingScale().Step(), 0.5f);
    EXPECT_EQ(grid.Parts(), gpZ);
    EXPECT_EQ(grid.LinesStyle(), glsLine);
    EXPECT_EQ(grid.LineWidth(), 3);
    EXPECT_TRUE(grid.NoZWrite());
}

TEST_F(XYZGrid, AStepTooSmallForTheCoordinatesCannotStallTheLoops)
{
    Range(grid.XSamplingScale(), 1e8f, 1e8f + 64, 0.001f);
    Range(grid.YSamplingScale(), 1e8f, 1e8f + 64, 0.001f);
    const auto lines = Draw();
    EXPECT_EQ(lines.size(), 2u);
}

// The preview's grid over its table, as the options make it.
struct TTableGrid {
    float Width, Depth, StepX, StepY;
};

void Preview(TGLXYZGrid& grid, const TTableGrid& t)
{
    grid.XSamplingScale().SetMax(t.Width);
    grid.YSamplingScale().SetMax(t.Depth);
    grid.XSamplingScale().SetStep(t.StepX);
    grid.YSamplingScale().SetStep(t.StepY);
    grid.ZSamplingScale().SetStep(0.1f);
}

TEST_F(XYZGrid, AGridTooFineToShowIsDrawnCoarserOnItsOwnPositions)
{
    const TTableGrid cases[] = {
        {96, 48, 0.0001f, 0.0001f}, {96, 48, 0.01f, 0.01f}, {1e6f, 1e6f, 4, 4}, {3e38f, 1, 1e-38f, 0.5f}};
    for (const TTableGrid& t : cases) {
        Preview(grid, t);
        grid.SetLinesStyle(glsSegments);
        const TXYZGridSampling s = grid.Sampling();
        const std::string name = std::to_string(t.Width) + " by " + std::to_string(t.StepX);
        ASSERT_TRUE(s.Drawable) << name;
        EXPECT_TRUE(s.Coarsened) << name;
        EXPECT_LE(s.Lines, TGLXYZGrid::DefaultMaxLines) << name;
        EXPECT_LE(s.Vertices, TGLXYZGrid::DefaultMaxVertices) << name;
        EXPECT_TRUE(s.Lines > TGLXYZGrid::DefaultMaxLines / 4 || s.Vertices > TGLXYZGrid::DefaultMaxVertices / 4)
            << name << ": coarser, not sparse";
        EXPECT_EQ(s.Z.Count, 1) << name;
        for (const auto& [axis, fine, extent] : {std::tuple{s.X, t.StepX, t.Width}, {s.Y, t.StepY, t.Depth}}) {
            int exponent = 0;
            EXPECT_EQ(std::frexp(axis.Factor, &exponent), 0.5) << name << ": a power of two";
            EXPECT_EQ(axis.Step, static_cast<float>(fine * axis.Factor)) << name;
            // The samples reach across the table and no further.
            const double last = axis.Base + double(axis.Count - 1) * axis.Step;
            EXPECT_LE(last, extent * (1 + 1e-6)) << name;
            EXPECT_GT(last + axis.Step, extent * (1 - 1e-6)) << name;
        }

        // Drawn: the lines the sampling counts, evenly, one per coarse step.
        grid.SetLinesStyle(glsLine);
        const TXYZGridSampling lineSampling = grid.Sampling();
        const auto lines = Draw();
        ASSERT_EQ(static_cast<std::int64_t>(lines.size()), lineSampling.Lines) << name;
        ASSERT_LE(lineSampling.Lines, TGLXYZGrid::DefaultMaxLines) << name;
        const std::size_t alongX = static_cast<std::size_t>(lineSampling.Y.Count);
        ASSERT_LT(alongX, lines.size()) << name;
        const double stepX = lineSampling.X.Step;
        for (std::size_t i = alongX; i < lines.size(); ++i) {
            const double x = lines[i].vertices[0].position[0];
            const double k = double(i - alongX);
            EXPECT_NEAR(x, k * stepX, stepX / 2) << name << " line " << i;
        }
        EXPECT_EQ(lines.back().vertices[1].position[1], t.Depth) << name;
    }
}

TEST_F(XYZGrid, SegmentsKeepToTheLimitsTheyAreGiven)
{
    Range(grid.XSamplingScale(), 0, 10, 0.001f);
    Range(grid.YSamplingScale(), 0, 10, 0.001f);
    grid.ClearStructureChanged();
    grid.SetMaxLines(100);
    EXPECT_NE(grid.Changes() & ChangeBit(ocStructure), 0) << "a new limit rebuilds";
    grid.SetMaxVertices(2000);
    const TXYZGridSampling s = grid.Sampling();
    const auto lines = Draw();
    std::int64_t vertices = 0;
    for (const auto& line : lines) {
        vertices += static_cast<std::int64_t>(line.vertices.size());
    }
    EXPECT_EQ(static_cast<std::int64_t>(lines.size()), s.Lines);
    EXPECT_EQ(vertices, s.Vertices);
    EXPECT_LE(s.Lines, 100);
    EXPECT_LE(vertices, 2000);
    EXPECT_GT(vertices, 2000 / 4);
    // Both directions still span the square.
    EXPECT_EQ(lines.front().vertices.front().position[0], 0);
    EXPECT_NEAR(lines.front().vertices.back().position[0], 10, s.X.Step);
    EXPECT_NEAR(lines.back().vertices.back().position[1], 10, s.Y.Step);

    TGLXYZGrid copy;
    copy.Assign(&grid);
    EXPECT_EQ(copy.MaxLines(), 100);
    EXPECT_EQ(copy.MaxVertices(), 2000);
}

TEST_F(XYZGrid, ScalesThatAreNotFiniteDrawNothing)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* name;
        float max, step, origin;
    } cases[] = {{"table beyond float", inf, 4, 0}, {"step beyond float", 96, inf, 0}, {"origin", 96, 4, inf},
                 {"origin NaN", 96, 4, std::numeric_limits<float>::quiet_NaN()}};
    for (const auto& c : cases) {
        Range(grid.XSamplingScale(), 0, c.max, c.step, c.origin);
        Range(grid.YSamplingScale(), 0, 48, 4);
        EXPECT_FALSE(grid.Sampling().Drawable) << c.name;
        EXPECT_TRUE(Draw().empty()) << c.name;
        EXPECT_EQ(recorder.Count("glPushAttrib"), recorder.Count("glPopAttrib")) << c.name;
    }
}

} // namespace
