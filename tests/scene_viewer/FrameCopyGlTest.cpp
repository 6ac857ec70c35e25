// The frame copy on a real renderer: the depth it draws back is the depth it read, to the
// last bit, at every depth buffer size a context may be made with, so that what is drawn
// over it later passes or fails the depth test as it would over the frame itself.

#include "../support/OffscreenGL.h"

#include "scene/graph/FrameCopy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int Side = 96;

// Depth of every pixel, read the one way and the other.
struct TDepths {
    std::vector<std::uint32_t> Integers = std::vector<std::uint32_t>(Side * Side);
    std::vector<float> Floats = std::vector<float>(Side * Side);
    bool operator==(const TDepths&) const = default;
};

TDepths ReadDepths()
{
    TDepths depths;
    GL.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    GL.glReadPixels(0, 0, Side, Side, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, depths.Integers.data());
    GL.glReadPixels(0, 0, Side, Side, GL_DEPTH_COMPONENT, GL_FLOAT, depths.Floats.data());
    return depths;
}

// Triangles at random depths in a perspective view: depths of every size and spacing.
void DrawScatteredTriangles()
{
    GL.glEnable(GL_DEPTH_TEST);
    GL.glDepthFunc(GL_LEQUAL);
    GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GL.glMatrixMode(GL_PROJECTION);
    GL.glLoadIdentity();
    GL.glFrustum(-1, 1, -1, 1, 1, 100);
    GL.glMatrixMode(GL_MODELVIEW);
    GL.glLoadIdentity();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> across(-1, 1);
    std::uniform_real_distribution<float> depth(-60, -1.5f);
    GL.glBegin(GL_TRIANGLES);
    for (int i = 0; i < 2000; ++i) {
        const float z = depth(random);
        for (int corner = 0; corner < 3; ++corner) {
            GL.glVertex3f(across(random) * -z, across(random) * -z, z + across(random));
        }
    }
    GL.glEnd();
}

TEST(FrameCopyGl, DepthComesBackToTheLastBit)
{
    for (const int bits : {16, 24, 32}) {
        testsupport::OffscreenGL gl(Side, Side, bits);
        GLint made = 0;
        GL.glGetIntegerv(GL_DEPTH_BITS, &made);
        DrawScatteredTriangles();
        const TDepths before = ReadDepths();
        TGLFrameCopy copy;
        copy.Save(Side, Side);
        GL.glClearDepth(0.5);
        GL.glClear(GL_DEPTH_BUFFER_BIT);
        GL.glClearDepth(1);
        copy.Restore();
        EXPECT_TRUE(ReadDepths() == before) << bits << " bits asked, " << made << " made";
    }
}

} // namespace
