#include "scene/graph/FrameCopy.h"

#include "scene/base/OpenGLBinding.h"

#include <GL/glext.h>

#include <algorithm>

namespace {

GLint Integer(GLenum name)
{
    GLint value = 0;
    GL.glGetIntegerv(name, &value);
    return value;
}

int WidestColourChannel()
{
    int bits = 0;
    for (GLenum channel : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS}) {
        bits = std::max(bits, int(Integer(channel)));
    }
    return bits;
}

// Tightly packed rows, whatever the caller set.
void SetPixelStore(GLenum alignment, GLenum rowLength, GLenum skipRows, GLenum skipPixels, GLenum swapBytes)
{
    GL.glPixelStorei(alignment, 4);
    GL.glPixelStorei(rowLength, 0);
    GL.glPixelStorei(skipRows, 0);
    GL.glPixelStorei(skipPixels, 0);
    GL.glPixelStorei(swapBytes, GL_FALSE);
}

} // namespace

bool TGLFrameCopy::CanCopyFrames()
{
    // Fixed-point channels of up to 16 bits survive the way through 16-bit integers.
    // Multisampled pixels read back resolved and would be written back to every sample.
    const bool multisampled =
        (GLVersion.OpenGL_1_3 || GLExt.ARB_multisample) && Integer(GL_SAMPLE_BUFFERS) != 0;
    return WidestColourChannel() <= 16 && !multisampled && Integer(GL_DEPTH_BITS) > 0;
}

bool TGLFrameCopy::CanCopySize(int width, int height)
{
    if (width < 1 || height < 1 || std::int64_t(width) * height > MaxPixels) {
        return false;
    }
    GLint largest[2] = {0, 0};
    GL.glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    return width <= largest[0] && height <= largest[1];
}

void TGLFrameCopy::Save(int width, int height)
{
    if (!CanCopySize(width, height)) {
        Clear();
        return;
    }
    // Bytes in the framebuffer's own order on the usual visuals, so that neither way
    // swizzles; wider channels as 16-bit integers.
    if (WidestColourChannel() <= 8) {
        colourFormat_ = GLVersion.OpenGL_1_2 ? GL_BGRA : GL_RGBA;
        colourType_ = GL_UNSIGNED_BYTE;
    } else {
        colourFormat_ = GL_RGBA;
        colourType_ = GL_UNSIGNED_SHORT;
    }
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    colour_.resize(colourType_ == GL_UNSIGNED_BYTE ? pixels : 2 * pixels);
    // Depth of up to 24 bits fits integers exactly; 32 bits are floats (or a fixed point
    // that no 32-bit way carries exactly).
    static_assert(sizeof(float) == sizeof(std::uint32_t));
    depthType_ = Integer(GL_DEPTH_BITS) > 24 ? GL_FLOAT : GL_UNSIGNED_INT;
    depth_.resize(pixels);
    width_ = width;
    height_ = height;
    GL.glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    SetPixelStore(GL_PACK_ALIGNMENT, GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS, GL_PACK_SKIP_PIXELS, GL_PACK_SWAP_BYTES);
    GL.glReadPixels(0, 0, width, height, colourFormat_, colourType_, colour_.data());
    GL.glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, depthType_, depth_.data());
    GL.glPopClientAttrib();
}

void TGLFrameCopy::Restore() const
{
    if (Empty()) {
        return;
    }
    GL.glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_PIXEL_MODE_BIT | GL_CURRENT_BIT |
                    GL_TRANSFORM_BIT);
    GL.glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    SetPixelStore(GL_UNPACK_ALIGNMENT, GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS,
                  GL_UNPACK_SWAP_BYTES);
    // Drawn pixels are fragments: nothing may texture, fog, blend, test or dither them.
    for (GLenum state : {GL_ALPHA_TEST, GL_BLEND, GL_COLOR_LOGIC_OP, GL_DITHER, GL_FOG, GL_LIGHTING, GL_SCISSOR_TEST,
                         GL_STENCIL_TEST, GL_TEXTURE_1D, GL_TEXTURE_2D}) {
        GL.glDisable(state);
    }
    if (GLVersion.OpenGL_1_3 || GLExt.ARB_texture_cube_map || GLExt.EXT_texture_cube_map) {
        GL.glDisable(GL_TEXTURE_CUBE_MAP);
    }
    if (GLExt.NV_texture_rectangle) {
        GL.glDisable(GL_TEXTURE_RECTANGLE_NV);
    }
    GL.glPixelZoom(1, 1);
    // The window's lower left corner: (-1, -1) with both matrices the identity.
    GL.glMatrixMode(GL_PROJECTION);
    GL.glPushMatrix();
    GL.glLoadIdentity();
    GL.glMatrixMode(GL_MODELVIEW);
    GL.glPushMatrix();
    GL.glLoadIdentity();
    GL.glRasterPos2f(-1, -1);

    GL.glDisable(GL_DEPTH_TEST);
    GL.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    GL.glDrawPixels(width_, height_, colourFormat_, colourType_, colour_.data());
    // Depth is written only with the test on.
    GL.glEnable(GL_DEPTH_TEST);
    GL.glDepthFunc(GL_ALWAYS);
    GL.glDepthMask(GL_TRUE);
    GL.glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    GL.glDrawPixels(width_, height_, GL_DEPTH_COMPONENT, depthType_, depth_.data());

    GL.glPopMatrix();
    GL.glMatrixMode(GL_PROJECTION);
    GL.glPopMatrix();
    GL.glMatrixMode(GL_MODELVIEW);
    GL.glPopClientAttrib();
    GL.glPopAttrib();
}

void TGLFrameCopy::Clear()
{
    // Gives the memory back ("= {}" would assign an empty list and keep the capacity).
    std::vector<std::uint32_t>().swap(colour_);
    std::vector<std::uint32_t>().swap(depth_);
    width_ = 0;
    height_ = 0;
}
