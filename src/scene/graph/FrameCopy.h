#pragma once
// A copy of the colour and depth of the current context's framebuffer, from the lower
// left corner, kept in memory and drawn back later. Plain OpenGL 1.1 (glReadPixels,
// glDrawPixels), so it works on every driver; both directions are exact for fixed-point
// colour of up to 16 bits per channel without multisampling (CanCopyFrames), and for
// depth of up to 24 bits or in floating point: a 32-bit depth buffer goes as floats,
// since as integers its values pass through floats and come back a few units off (a
// line drawn later at the same depth then failed or passed the test where a whole
// frame's did not).

#include "scene/base/OpenGLBinding.h"

#include <cstdint>
#include <vector>

class TGLFrameCopy {
public:
    // Whether the current context's framebuffer comes back exactly as it was read.
    static bool CanCopyFrames();

    // Whether the current context can hand over width x height pixels in one read: no
    // side beyond its largest viewport (GL_MAX_VIEWPORT_DIMS), and no more than
    // MaxPixels, so that no window size makes a driver's buffer arithmetic overflow.
    static constexpr std::int64_t MaxPixels = std::int64_t(1) << 25; // an 8K screen
    static bool CanCopySize(int width, int height);

    // Reads width x height pixels; a size CanCopySize refuses leaves the copy empty.
    void Save(int width, int height);
    // Writes the saved pixels back, colour and depth, whatever the state of the frame
    // (the state is left as it was).
    void Restore() const;
    void Clear();
    bool Empty() const { return width_ == 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Bytes held.
    std::size_t Bytes() const { return (colour_.capacity() + depth_.capacity()) * sizeof(std::uint32_t); }

private:
    GLenum colourFormat_ = GL_RGBA;
    GLenum colourType_ = GL_UNSIGNED_BYTE;
    GLenum depthType_ = GL_UNSIGNED_INT;
    std::vector<std::uint32_t> colour_;
    // 32-bit integers or floats.
    std::vector<std::uint32_t> depth_;
    int width_ = 0;
    int height_ = 0;
};
