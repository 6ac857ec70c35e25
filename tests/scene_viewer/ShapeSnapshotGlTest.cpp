#include "SquareViewGl.h"

#include "../support/QtGuiForTests.h"

#include "scene/objects/shapes/ArrowLine.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/MultiPolygon.h"
#include "scene/objects/shapes/Plane.h"
#include "scene/objects/shapes/Points.h"
#include "scene/objects/text/SpaceText.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/viewer/QtGlyphOutlines.h"

namespace {

// White shapes on the square view.
class ShapeSnapshotGl : public testsupport::SquareViewGl {
protected:
    ShapeSnapshotGl()
    {
        GL.glDisable(GL_CULL_FACE);
        GL.glColor3f(1, 1, 1);
    }
};

TEST_F(ShapeSnapshotGl, ACone)
{
    TGLCone cone; // radius 0.5 at y = -0.5, apex at y = 0.5
    // Back faces culled: only outward-wound sides can show.
    GL.glEnable(GL_CULL_FACE);
    cone.BuildList(rci);
    EXPECT_TRUE(Inked(0, 0));
    EXPECT_TRUE(Inked(0, -0.4f));
    EXPECT_TRUE(Inked(0.4f, -0.45f));
    EXPECT_TRUE(Inked(-0.4f, -0.45f));
    EXPECT_FALSE(Inked(0, 0.8f));    // above the apex
    EXPECT_FALSE(Inked(0.35f, 0.35f)); // beside the narrow top
    EXPECT_FALSE(Inked(0, -0.7f));   // below the base
    EXPECT_FALSE(Inked(0.7f, -0.4f));
}

TEST_F(ShapeSnapshotGl, AnArrowAlongX)
{
    TGLArrowLine arrow; // shaft -1..1 of radius 0.1, head 1..1.5 of radius 0.2
    arrow.SetHeight(2);
    GL.glRotatef(90, 0, 1, 0); // its +Z becomes +X
    arrow.BuildList(rci);
    EXPECT_TRUE(Inked(0, 0));
    EXPECT_TRUE(Inked(-0.9f, 0.05f));
    EXPECT_TRUE(Inked(1.1f, 0.14f));
    EXPECT_TRUE(Inked(1.1f, -0.14f));
    EXPECT_TRUE(Inked(1.4f, 0));
    EXPECT_FALSE(Inked(0.5f, 0.16f)); // beside the thin shaft
    EXPECT_FALSE(Inked(0, 0.3f));
    EXPECT_FALSE(Inked(1.7f, 0));      // beyond the tip
    EXPECT_FALSE(Inked(-1.2f, 0));     // beyond the flat end
}

TEST_F(ShapeSnapshotGl, AnExtrudedX)
{
    testsupport::EnsureQtGui();
    InstallQtGlyphOutlines();
    {
        TGLSpaceText text;
        text.SetText("X");
        text.SetExtrusion(0.2f);
        TFont font;
        font.SetName("Arial");
        font.SetStyle(TFont::fsBold);
        text.SetFont(font);
        text.Adjust().SetHorz(haCenter);
        text.Adjust().SetVert(vaCenter);
        text.SetTextHeight(2); // from y = -1 to 1
        text.DoRender(rci, false, false);
        ASSERT_NE(text.FontEntry(), nullptr);
        // Back faces culled: the faces and walls must be wound to face outwards.
        GL.glEnable(GL_CULL_FACE);
        text.BuildList(rci);

        EXPECT_TRUE(Inked(0, 0)); // where the strokes cross
        EXPECT_FALSE(Inked(0, 0.9f));   // the notch between the upper arms
        EXPECT_FALSE(Inked(0, -0.9f));  // and between the lower ones
        EXPECT_FALSE(Inked(0.9f, 0));   // beside the crossing
        EXPECT_FALSE(Inked(-0.9f, 0));
        EXPECT_FALSE(Inked(0, 1.3f));   // above the letter
        // Each arm reaches its corner.
        EXPECT_TRUE(Inked(0.55f, 0.85f));
        EXPECT_TRUE(Inked(-0.55f, 0.85f));
        EXPECT_TRUE(Inked(0.55f, -0.85f));
        EXPECT_TRUE(Inked(-0.55f, -0.85f));

        // From behind, the back face shows the same (symmetric) letter.
        GL.glClear(GL_COLOR_BUFFER_BIT);
        GL.glLoadIdentity();
        GL.glRotatef(180, 0, 1, 0);
        text.BuildList(rci);
        EXPECT_TRUE(Inked(0, 0));
        EXPECT_TRUE(Inked(0.55f, 0.85f));
        EXPECT_FALSE(Inked(0, 0.9f));

        // From the left, the walls of the strokes form a band as deep as the extrusion.
        GL.glClear(GL_COLOR_BUFFER_BIT);
        GL.glLoadIdentity();
        GL.glRotatef(90, 0, 1, 0);
        text.BuildList(rci);
        EXPECT_TRUE(Inked(-0.1f, 0));
        EXPECT_TRUE(Inked(-0.1f, 0.8f));
        EXPECT_FALSE(Inked(-0.4f, 0));
        EXPECT_FALSE(Inked(0.2f, 0));
    }
    ReleaseFontManager();
}

TEST_F(ShapeSnapshotGl, AMultiPolygonShowsTheBackgroundInItsHole)
{
    TGLMultiPolygon square; // -1.5..1.5 with a hole -0.5..0.5
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
        square.GetPath(0).AddNode(TAffineVector{c[0] * 1.5f, c[1] * 1.5f, 0});
        square.GetPath(1).AddNode(TAffineVector{c[0] * 0.5f, c[1] * 0.5f, 0});
    }
    square.BuildList(rci);
    EXPECT_FALSE(Inked(0, 0));
    EXPECT_FALSE(Inked(0.3f, -0.3f));
    EXPECT_TRUE(Inked(1, 1));
    EXPECT_TRUE(Inked(-1, 0));
    EXPECT_TRUE(Inked(0, -1.2f));
    EXPECT_TRUE(Inked(0.7f, 0.1f));
    EXPECT_FALSE(Inked(1.7f, 0));
}

TEST_F(ShapeSnapshotGl, ATiledTexturedPlane)
{
    // One red and one green texel, repeated twice across the plane.
    const GLubyte texels[] = {255, 0, 0, 255, 0, 255, 0, 255};
    GLuint texture = 0;
    GL.glGenTextures(1, &texture);
    GL.glBindTexture(GL_TEXTURE_2D, texture);
    GL.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GL.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    GL.glEnable(GL_TEXTURE_2D);
    MapTexCoordNowhere();
    MapTexCoordToUnit0();
    TGLPlane plane;
    plane.SetWidth(2);
    plane.SetHeight(2);
    plane.SetXTiles(2);
    plane.BuildList(rci);
    GL.glDisable(GL_TEXTURE_2D);
    GL.glDeleteTextures(1, &texture);
    MapTexCoordNowhere();

    const float xs[] = {-0.75f, -0.25f, 0.25f, 0.75f};
    for (int i = 0; i < 4; ++i) {
        const testsupport::Rgba pixel = At(xs[i], 0.5f);
        EXPECT_EQ(pixel[0] > 128, i % 2 == 0) << "red at " << xs[i];
        EXPECT_EQ(pixel[1] > 128, i % 2 == 1) << "green at " << xs[i];
    }
    EXPECT_FALSE(Inked(1.5f, 0));
    EXPECT_EQ(At(1.5f, 0)[1], 0);
}

TEST_F(ShapeSnapshotGl, RoundPointsLoseTheirCorners)
{
    for (const TGLPointStyle style : {psSquare, psRound}) {
        GL.glClear(GL_COLOR_BUFFER_BIT);
        TGLPoints points;
        points.Positions().Add(-1, 0, 0);
        points.Positions().Add(1, 0, 0);
        points.SetSize(16); // one unit across
        points.SetStyle(style);
        points.BuildList(rci);
        EXPECT_TRUE(Inked(-1, 0));
        EXPECT_TRUE(Inked(1.1f, 0.1f));
        EXPECT_EQ(Inked(1.44f, 0.44f), style == psSquare) << "corner, style " << int(style);
        EXPECT_EQ(Inked(-0.56f, -0.44f), style == psSquare) << "corner, style " << int(style);
        EXPECT_FALSE(Inked(0, 0));
    }
}

} // namespace
