#include "SquareViewGl.h"

#include "../support/QtGuiForTests.h"

#include "scene/objects/ArrowLine.h"
#include "scene/objects/Cone.h"
#include "scene/objects/SpaceText.h"
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

} // namespace
