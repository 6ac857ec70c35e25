#include <gtest/gtest.h>

#include "../support/OffscreenGL.h"

#include "scene/graph/CustomSceneObject.h"
#include "scene/graph/DirectOpenGL.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/Material.h"

namespace {

using testsupport::OffscreenGL;
using testsupport::Rgba;

constexpr Rgba Black{0, 0, 0, 255};
constexpr Rgba Green{0, 255, 0, 255};
constexpr Rgba Red{255, 0, 0, 255};

// A unit square from (0, 0) to (1, 1) in the object's own frame.
void UnitQuad()
{
    GL.glBegin(GL_QUADS);
    GL.glVertex2f(0, 0);
    GL.glVertex2f(1, 0);
    GL.glVertex2f(1, 1);
    GL.glVertex2f(0, 1);
    GL.glEnd();
}

class SceneObjectRenderGl : public ::testing::Test {
protected:
    SceneObjectRenderGl() : gl(64, 64)
    {
        gl.Ortho2D();
        GL.glClearColor(0, 0, 0, 1);
        GL.glClear(GL_COLOR_BUFFER_BIT);
        GL.glDisable(GL_LIGHTING);
        GL.glDisable(GL_DEPTH_TEST);
        GL.glDisable(GL_CULL_FACE);
        rci.GLStates = &states;
    }

    void Clear() { GL.glClear(GL_COLOR_BUFFER_BIT); }

    OffscreenGL gl;
    TGLStateCache states;
    TRenderContextInfo rci;
};

TEST_F(SceneObjectRenderGl, DirectOpenGLQuadLandsWhereItsParentsPutIt)
{
    TGLBaseSceneObject group;
    group.Position().SetPoint(8, 8, 0);
    auto* quad = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(&group);
    quad->Position().SetPoint(16, 8, 0);
    quad->Scale().SetVector(20, 10, 1);
    quad->OnRender = [](TObject*, TRenderContextInfo&) {
        GL.glColor3f(0, 1, 0);
        UnitQuad();
    };
    group.Render(rci);
    // The quad covers x 24..44 and y 16..26.
    EXPECT_EQ(gl.Pixel(30, 20), Green);
    EXPECT_EQ(gl.Pixel(43, 25), Green);
    EXPECT_EQ(gl.Pixel(20, 20), Black);
    EXPECT_EQ(gl.Pixel(30, 30), Black);
    EXPECT_EQ(gl.Pixel(46, 20), Black);
}

TEST_F(SceneObjectRenderGl, CompiledDrawingIsReplayedUntilTheStructureChanges)
{
    TGLDirectOpenGL quad;
    quad.Scale().SetVector(64, 64, 1);
    quad.SetUseBuildList(true);
    quad.OnRender = [](TObject*, TRenderContextInfo&) {
        GL.glColor3f(0, 1, 0);
        UnitQuad();
    };
    quad.Render(rci);
    EXPECT_EQ(gl.Pixel(32, 32), Green);

    // The handler is gone, but the list holds the drawing.
    quad.OnRender = nullptr;
    Clear();
    quad.Render(rci);
    EXPECT_EQ(gl.Pixel(32, 32), Green);

    quad.StructureChanged();
    Clear();
    quad.Render(rci);
    EXPECT_EQ(gl.Pixel(32, 32), Black) << "recompiled without a handler";
}

class TQuadObject : public TGLCustomSceneObject {
    KP_CLASS(TQuadObject, TGLCustomSceneObject)
public:
    using TGLCustomSceneObject::TGLCustomSceneObject;
    void BuildList(TRenderContextInfo&) override { UnitQuad(); }
};

TEST_F(SceneObjectRenderGl, CustomObjectDrawsInItsMaterialColour)
{
    TQuadObject quad;
    quad.Scale().SetVector(32, 64, 1);
    quad.Material().FrontProperties()->Diffuse()->SetColor(TVector{1, 0, 0, 1});
    quad.Render(rci);
    EXPECT_EQ(gl.Pixel(10, 10), Red);
    EXPECT_EQ(gl.Pixel(40, 10), Black);

    // Picking-style passes draw without the material.
    Clear();
    GL.glColor3f(0, 1, 0);
    rci.ignoreMaterials = true;
    quad.Render(rci);
    EXPECT_EQ(gl.Pixel(10, 10), Green);
}

TEST_F(SceneObjectRenderGl, BlendedChildrenDrawAfterOpaqueOnes)
{
    // Two overlapping quads: the blended one, first in the list, must still end on top.
    TGLBaseSceneObject group;
    group.SetObjectsSorting(osRenderBlendedLast);
    auto* glass = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(&group);
    glass->SetBlend(true);
    glass->Scale().SetVector(64, 64, 1);
    glass->OnRender = [](TObject*, TRenderContextInfo&) {
        GL.glEnable(GL_BLEND);
        GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        GL.glColor4f(1, 0, 0, 0.5f);
        UnitQuad();
        GL.glDisable(GL_BLEND);
    };
    auto* solid = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(&group);
    solid->Scale().SetVector(64, 64, 1);
    solid->OnRender = [](TObject*, TRenderContextInfo&) {
        GL.glColor3f(0, 1, 0);
        UnitQuad();
    };
    group.Render(rci);
    const Rgba p = gl.Pixel(32, 32);
    EXPECT_NEAR(p[0], 128, 2);
    EXPECT_NEAR(p[1], 128, 2);
    EXPECT_EQ(p[2], 0);
}

} // namespace
