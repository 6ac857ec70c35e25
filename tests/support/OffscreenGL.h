#pragma once
// Off-screen rendering for tests that need real OpenGL (label gl, run under Xvfb with
// Mesa's software renderer): a pbuffer context of a fixed size, made current for the
// helper's lifetime, with pixel read-back. Links against kerfpad_scene_viewer.
//
//     testsupport::OffscreenGL gl(64, 32);
//     GL.glClearColor(1, 0, 0, 1); GL.glClear(GL_COLOR_BUFFER_BIT);
//     EXPECT_EQ(gl.Pixel(10, 10), (testsupport::Rgba{255, 0, 0, 255}));

#include "scene/viewer/GLX11Context.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace testsupport {

using Rgba = std::array<int, 4>;

class OffscreenGL {
public:
    // Raises when no pbuffer can be made (no X server, no GLX 1.3).
    OffscreenGL(int width, int height, int depthBits = 24) : FWidth(width), FHeight(height)
    {
        RegisterGLX11ContextClass();
        FContext = std::make_unique<TGLX11Context>();
        FContext->SetDepthBits(depthBits);
        FContext->CreateMemoryContext(0, width, height);
        FContext->Activate();
        GL.glViewport(0, 0, width, height);
    }
    ~OffscreenGL()
    {
        if (FContext->Active()) {
            FContext->SetActive(false);
        }
    }
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    TGLX11Context& Context() { return *FContext; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Pixel (x, y) counted from the lower left corner, as OpenGL does.
    Rgba Pixel(int x, int y)
    {
        GL.glFinish();
        std::uint8_t p[4] = {};
        GL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
        GL.glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }

    // The whole frame, RGBA rows from the bottom.
    std::vector<std::uint8_t> Frame()
    {
        GL.glFinish();
        std::vector<std::uint8_t> pixels(std::size_t(FWidth) * FHeight * 4);
        GL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
        GL.glReadPixels(0, 0, FWidth, FHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // Sets up a pixel-exact 2D projection: one unit per pixel, origin at the lower left.
    void Ortho2D()
    {
        GL.glMatrixMode(GL_PROJECTION);
        GL.glLoadIdentity();
        GL.glOrtho(0, FWidth, 0, FHeight, -1, 1);
        GL.glMatrixMode(GL_MODELVIEW);
        GL.glLoadIdentity();
    }

private:
    int FWidth;
    int FHeight;
    std::unique_ptr<TGLX11Context> FContext;
};

} // namespace testsupport
