// The lines group on a real renderer: batched polylines land on the same pixels as
// polylines drawn one by one, and a dashed polyline starts its pattern afresh.

#include "../support/OffscreenGL.h"

#include "scene/rendering/GLStateCache.h"
#include "scene/objects/lines/LinesGroup.h"

#include <gtest/gtest.h>

namespace {

using testsupport::Rgba;

constexpr Rgba Background{0, 0, 0, 255};
constexpr Rgba Red{255, 0, 0, 255};
constexpr Rgba Blue{0, 0, 255, 255};

class LinesGroupGl : public ::testing::Test {
protected:
    LinesGroupGl() : gl(64, 64)
    {
        gl.Ortho2D();
        rci.GLStates = &states;
    }

    // One pixel row: (x0 + 0.5, y + 0.5) to (x1 + 0.5, y + 0.5).
    static void AddRow(TGLBaseSceneObject& parent, float x0, float x1, float y, const TVector& color,
                       std::uint16_t pattern = 0xFFFF)
    {
        auto* line = parent.AddNewChild<TGLLines>();
        line->SetNodesAspect(lnaInvisible);
        line->SetLineColor(color);
        line->SetLinePattern(pattern);
        line->AddNode(x0 + 0.5f, y + 0.5f, 0);
        line->AddNode(x1 + 0.5f, y + 0.5f, 0);
    }

    static void Populate(TGLBaseSceneObject& parent)
    {
        AddRow(parent, 2, 60, 10, {1, 0, 0, 1});
        // Eight pixels on, eight off; the second polyline starts where the first ends.
        AddRow(parent, 0, 12, 20, {0, 0, 1, 1}, 0x00FF);
        AddRow(parent, 12, 40, 20, {0, 0, 1, 1}, 0x00FF);
        AddRow(parent, 2, 60, 30, {1, 0, 0, 1});
        parent.Children(3)->SetVisible(false);
        AddRow(parent, 2, 60, 40, {1, 0, 0, 1});
    }

    std::vector<std::uint8_t> Draw(TGLBaseSceneObject& parent)
    {
        GL.glClearColor(0, 0, 0, 1);
        GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        parent.Render(rci);
        return gl.Frame();
    }

    testsupport::OffscreenGL gl;
    TGLStateCache states;
    TRenderContextInfo rci;
};

TEST_F(LinesGroupGl, BatchedPolylinesLandWhereSinglePolylinesDo)
{
    TGLLinesGroup group;
    Populate(group);
    const std::vector<std::uint8_t> batched = Draw(group);
    EXPECT_EQ(gl.Pixel(30, 10), Red);
    EXPECT_EQ(gl.Pixel(30, 40), Red);
    EXPECT_EQ(gl.Pixel(30, 30), Background) << "hidden";
    EXPECT_EQ(gl.Pixel(30, 11), Background);
    EXPECT_EQ(gl.Pixel(4, 20), Blue);
    EXPECT_EQ(gl.Pixel(10, 20), Background) << "in the first polyline's gap";
    EXPECT_EQ(gl.Pixel(15, 20), Blue) << "the second polyline starts its pattern again";
    EXPECT_EQ(gl.Pixel(23, 20), Background);
    EXPECT_EQ(group.Batches().Batches(), 3);

    TGLDummyCube plain;
    Populate(plain);
    EXPECT_TRUE(Draw(plain) == batched) << "the same pixels as the polylines drawn one by one";
}

} // namespace
