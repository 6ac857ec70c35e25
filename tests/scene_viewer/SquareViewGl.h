#pragma once
// A 64 x 64 off-screen view of the square -2..2 seen along -Z (16 pixels per unit),
// cleared to black, unlit, with a render context that has a state cache.

#include "../support/OffscreenGL.h"

#include "scene/rendering/GLStateCache.h"
#include "scene/graph/RenderContextInfo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace testsupport {

class SquareViewGl : public ::testing::Test {
protected:
    SquareViewGl() : gl(64, 64)
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
    // The pixel at world (x, y), and whether it was drawn (its red above half).
    Rgba At(float x, float y) { return gl.Pixel(int(std::floor((x + 2) * 16)), int(std::floor((y + 2) * 16))); }
    bool Inked(float x, float y) { return At(x, y)[0] > 128; }

    OffscreenGL gl;
    TGLStateCache states;
    TRenderContextInfo rci;
};

} // namespace testsupport
