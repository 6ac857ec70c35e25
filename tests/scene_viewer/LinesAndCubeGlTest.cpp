#include "SquareViewGl.h"

#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/Lines.h"

namespace {

using testsupport::Rgba;

using LinesAndCubeGl = testsupport::SquareViewGl;

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
