#include "platform/core/Exceptions.h"
#include "../ErrorTextTestSupport.h"
#include "../FakeTessellator.h"
#include "scene/graph/Nodes.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/GLRecordingTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using scenetest::TFakeTess;

class TessellationFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        tess.Install();
        nodes.AddNode(TAffineVector{0, 0, 0});
        nodes.AddNode(TAffineVector{2, 0, 0});
        nodes.AddNode(TAffineVector{2, 3, 0});
    }
    void TearDown() override { TFakeTess::Current() = nullptr; }

    TGLRecorder recorder; // restores the table when the test ends
    TFakeTess tess;
    TGLNodes nodes{nullptr};
};

} // namespace

TEST_F(TessellationFixture, NodesGoToTheTessellatorAndComeBackAsVertices)
{
    const TAffineVector normal{0, 0, 1};
    nodes.DrawTessellatedPolygon(false, &normal, false, 0);
    ASSERT_EQ(tess.coords.size(), 3u);
    EXPECT_EQ(tess.coords[2][1], 3);
    EXPECT_EQ(tess.data[1], nodes[1]->VectorPointer()) << "the node's own vector is the vertex data";
    EXPECT_EQ(recorder.Count("glNormal3fv"), 1);
    EXPECT_EQ(recorder.Count("glBegin"), 1);
    const auto vertices = recorder.CallsTo("glVertex3fv");
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_EQ(vertices[1].Data, (std::vector<double>{2, 0, 0}));
    EXPECT_EQ(recorder.Count("glEnd"), 1);
    EXPECT_TRUE(tess.deleted);
}

TEST_F(TessellationFixture, InvertedOrderAndTooFewNodes)
{
    nodes.DrawTessellatedPolygon(false, nullptr, true, 0);
    ASSERT_EQ(tess.data.size(), 3u);
    EXPECT_EQ(tess.data[0], nodes[2]->VectorPointer());
    EXPECT_EQ(recorder.Count("glNormal3fv"), 0);
    TGLNodes two(nullptr);
    two.AddNode(TAffineVector{0, 0, 0});
    two.AddNode(TAffineVector{1, 0, 0});
    recorder.Clear();
    two.DrawTessellatedPolygon(false, nullptr, false, 0);
    EXPECT_TRUE(recorder.Calls().empty());
}

TEST_F(TessellationFixture, TexturedVerticesSendXAndYAsTextureCoordinates)
{
    MapTexCoordNowhere();
    MapTexCoordToUnit0();
    nodes.DrawTessellatedPolygon(true, nullptr, false, 0);
    const auto tex = recorder.CallsTo("glTexCoord2fv");
    ASSERT_EQ(tex.size(), 3u);
    EXPECT_EQ(tex[2].Data, (std::vector<double>{2, 3}));
    MapTexCoordNowhere();
}

TEST_F(TessellationFixture, SplineOutlineSamplesTheSpline)
{
    nodes.DrawTessellatedPolygon(false, nullptr, false, 4);
    ASSERT_EQ(tess.coords.size(), 9u) << "(3 - 1) * 4 + 1 samples";
    EXPECT_NEAR(tess.coords[4][0], 2, 1e-5) << "sample 4 is node 1";
    EXPECT_NEAR(tess.coords[8][1], 3, 1e-5);
    tess.coords.clear();
    tess.data.clear(); // the first call's buffer is gone
    nodes.DrawTessellatedPolygon(false, nullptr, true, 4);
    EXPECT_NEAR(tess.coords[0][1], 3, 1e-5) << "inverted: starts at the last node";
}

TEST_F(TessellationFixture, ManyCombinedVerticesNeverMove)
{
    tess.combines = 5000;
    nodes.DrawTessellatedPolygon(false, nullptr, false, 0);
    EXPECT_EQ(recorder.Count("glEnd"), 1);
    EXPECT_EQ(tess.combinedPointers.size(), 5000u);
    EXPECT_EQ(tess.movedVertices, 0);
}

TEST_F(TessellationFixture, ErrorsAreRaisedAfterTheTessellatorIsDone)
{
    tess.error = GLU_TESS_MISSING_END_CONTOUR;
    EXPECT_THAT(ErrorText<EAssertionFailed>([&] { nodes.DrawTessellatedPolygon(false, nullptr, false, 0); }),
                ::testing::StartsWith(std::to_string(GLU_TESS_MISSING_END_CONTOUR) + ": "));
    EXPECT_TRUE(tess.deleted);
}
