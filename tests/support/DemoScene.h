#pragma once
// A small lit scene for the viewer tests and the demo program: a camera at (0, 0, 10)
// looking down -Z, an omni light beside it and a square of 0.8 x 0.8 units at the origin
// facing the camera, with an orange diffuse material and no ambient part, so a lit
// square shows orange, an unlit one black, and the blue background shows around it.

#include "scene/graph/Camera.h"
#include "scene/graph/DirectOpenGL.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/graph/LightSource.h"
#include "scene/graph/World.h"

namespace testsupport {

constexpr TColor DemoBackground = clBlue;

struct TDemoScene {
    TGLWorld world;
    TGLCamera* camera;
    TGLLightSource* light;
    TGLDirectOpenGL* square;

    TDemoScene()
    {
        camera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(world.CameraRoot());
        camera->Position().SetPoint(0, 0, 10);
        light = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
        light->SetLightStyle(lsOmni);
        light->Position().SetPoint(0, 0, 10);
        square = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(world.ObjectRoot());
        square->OnRender = [](TObject*, TRenderContextInfo& rci) {
            const TVector none{0, 0, 0, 1};
            rci.GLStates->SetMaterialColors(GL_FRONT, none, none, {1, 0.5f, 0, 1}, none, 0);
            GL.glBegin(GL_QUADS);
            GL.glNormal3f(0, 0, 1);
            GL.glVertex3f(-0.4f, -0.4f, 0);
            GL.glVertex3f(0.4f, -0.4f, 0);
            GL.glVertex3f(0.4f, 0.4f, 0);
            GL.glVertex3f(-0.4f, 0.4f, 0);
            GL.glEnd();
        };
    }
};

} // namespace testsupport
