// The frame copy reads no more than the context can hold: a window of any size (one
// stored as 32767 x 32767, say) must not reach the driver as one huge read.

#include "scene/base/GLRecordingTable.h"
#include "scene/graph/FrameCopy.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(FrameCopy, ReadsOnlySizesTheContextCanHold)
{
    TGLRecorder gl;
    gl.Integers[GL_MAX_VIEWPORT_DIMS] = {16384, 8192};
    gl.FrameWidth = 2;
    gl.FrameHeight = 1;
    gl.FramePixels = {1, 2, 3, 4, 5, 6, 7, 8};
    const struct {
        int width, height;
        bool copied;
    } cases[] = {
        {2, 1, true},          {16384, 1, true},  {16385, 1, false}, {1, 8192, true},
        {1, 8193, false},      {32767, 32767, false}, {0, 5, false},  {5, 0, false},
        {-2, -3, false},       {INT_MAX, INT_MAX, false},
    };
    for (const auto& c : cases) {
        TGLFrameCopy copy;
        copy.Save(2, 1);
        gl.Clear();
        copy.Save(c.width, c.height);
        EXPECT_EQ(!copy.Empty(), c.copied) << c.width << " x " << c.height;
        EXPECT_EQ(gl.Count("glReadPixels"), c.copied ? 2 : 0) << c.width << " x " << c.height;
        if (c.copied) {
            EXPECT_EQ(copy.Width(), c.width);
            EXPECT_EQ(copy.Height(), c.height);
        } else {
            EXPECT_EQ(copy.Bytes(), 0u) << "a refused size drops the last copy too";
        }
    }
    // The pixel count has a bound of its own, below what the viewport allows.
    gl.Integers[GL_MAX_VIEWPORT_DIMS] = {32768, 32768};
    EXPECT_TRUE(TGLFrameCopy::CanCopySize(8192, 4096));
    EXPECT_FALSE(TGLFrameCopy::CanCopySize(8192, 4097));
    EXPECT_FALSE(TGLFrameCopy::CanCopySize(32767, 32767));
    // A context that does not say how large a viewport may be gets no copy.
    gl.Integers.erase(GL_MAX_VIEWPORT_DIMS);
    EXPECT_FALSE(TGLFrameCopy::CanCopySize(2, 1));
}

} // namespace
