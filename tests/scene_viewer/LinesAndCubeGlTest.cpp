#include <gtest/gtest.h>

#include "../support/OffscreenGL.h"

#include "scene/GLStateCache.h"
#include "scene/objects/Cubes.h"
#include "scene/objects/Lines.h"

#include <cmath>

namespace {

using testsupport::OffscreenGL;
using testsupport::Rgba;

// A 64 x 64 view of the square -2..2 seen along -Z: 16 pixels per unit.
class LinesAndCubeGl : public ::testing::Test {
protected:
    LinesAndCubeGl() : gl(64, 64)
    {
        GL.glClearColor(0, 0, 0, 1);
        GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL.glMatrixMode(GL_PROJECTION);
        GL.glLoadIdentity();
        GL.glOrtho(-2, 2, -2, 2, -10, 10);
        GL.glMatrixMode(GL_MODELVIEW);
        GL.glLoadIdentity();
        GL.glDisable(GL_LIGHTING);
        rci.GLStates = &states;
    }
    Rgba At(float x, float y) { return gl.Pixel(int(std::floor((x + 2) * 16)), int(std::floor((y + 2) * 16))); }

    OffscreenGL gl;
    TGLStateCache states;
    TRenderContextInfo rci;
};

TEST_F(LinesAndCubeGl, APolylineInItsColorAndNothingBeside)
{
    TGLLines line;
    line.SetNodesAspect(lnaInvisible);
    line.SetLineWidth(3);
    line.LineColor().SetColor({1, 0, 0, 1});
    line.AddNode(-1.5f, 0.01f, 0);
    line.AddNode(1.5f, 0.01f, 0);
    line.AddNode(1.5f, 1.51f, 0);
    line.BuildList(rci);
    EXPECT_EQ(At(0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(At(1.5f, 1), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(At(0, 1), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(At(-1.8f, 0), (Rgba{0, 0, 0, 255}));
}

TEST_F(LinesAndCubeGl, ACubeCoversItsFace)
{
    TGLCube cube;
    cube.SetCubeWidth(2);
    GL.glColor3f(0, 1, 0);
    cube.BuildList(rci);
    EXPECT_EQ(At(0.9f, 0.4f)[1], 255);
    EXPECT_EQ(At(-0.9f, -0.4f)[1], 255);
    EXPECT_EQ(At(1.1f, 0)[1], 0);
    EXPECT_EQ(At(0, 0.6f)[1], 0);
}

} // namespace
