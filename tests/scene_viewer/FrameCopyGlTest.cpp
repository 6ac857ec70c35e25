// The frame copy on a real renderer: the depth it draws back is the depth it read, to the
// last bit, so that what is drawn over it later passes or fails the depth test as it
// would over the frame itself.

#include "../support/OffscreenGL.h"

#include "scene/graph/FrameCopy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

TEST(FrameCopyGl, DepthComesBackToTheLastBit)
{
    constexpr int Side = 96;
    const auto depths = [] {
        std::vector<std::uint32_t> integers(Side * Side);
        std::vector<float> floats(Side * Side);
        GL.glReadPixels(0, 0, Side, Side, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, integers.data());
        GL.glReadPixels(0, 0, Side, Side, GL_DEPTH_COMPONENT, GL_FLOAT, floats.data());
        return std::make_pair(integers, floats);
    };
    for (const int bits : {16, 24, 32}) {
        testsupport::OffscreenGL gl(Side, Side, bits);
        // Triangles at random depths in a perspective view: depths of every size.
        GL.glEnable(GL_DEPTH_TEST);
        GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL.glMatrixMode(GL_PROJECTION);
        GL.glFrustum(-1, 1, -1, 1, 1, 100);
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
        const auto before = depths();
        TGLFrameCopy copy;
        copy.Save(Side, Side);
        GL.glClearDepth(0.5);
        GL.glClear(GL_DEPTH_BUFFER_BIT);
        copy.Restore();
        GLint made = 0;
        GL.glGetIntegerv(GL_DEPTH_BITS, &made);
        EXPECT_TRUE(depths() == before) << bits << " bits asked, " << made << " made";
    }
}

} // namespace
