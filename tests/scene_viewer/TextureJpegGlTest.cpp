#include <gtest/gtest.h>

#include "../support/JpegWriter.h"
#include "../support/OffscreenGL.h"

#include "scene/rendering/GLStateCache.h"
#include "scene/materials/JPEGImage.h"
#include "scene/materials/Material.h"
#include "scene/materials/PictureImages.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/materials/Texture.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

using testsupport::OffscreenGL;
using testsupport::Rgba;

// Within what a JPEG round trip may change a colour.
void ExpectNear(const Rgba& actual, const Rgba& expected, int tolerance = 8)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "channel " << i;
    }
}

// A picture whose top half is one colour and bottom half another.
std::string WriteTwoToneJpeg(const std::string& name, const Rgba& top, const Rgba& bottom)
{
    const int width = 16;
    const int height = 16;
    std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const Rgba& c = y < height / 2 ? top : bottom;
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(std::size_t(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(c[0]);
            p[1] = static_cast<std::uint8_t>(c[1]);
            p[2] = static_cast<std::uint8_t>(c[2]);
        }
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + ".jpg")).string();
    testsupport::WriteFile(path, testsupport::EncodeJpeg(rgb, width, height));
    return path;
}

class TextureJpegGl : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterJPEGPictureFormat();
        rci.GLStates = &states;
        rci.modelViewMatrix = &IdentityMatrix;
        gl.Ortho2D();
        GL.glDisable(GL_DEPTH_TEST);
        MapTexCoordNowhere();
        MapTexCoordToUnit0(); // the router takes the context's entry points
    }
    void TearDown() override
    {
        MapTexCoordNowhere();
        if (!jpeg.empty()) {
            std::filesystem::remove(jpeg);
        }
    }

    void DrawTexturedQuad()
    {
        GL.glColor4f(1, 1, 1, 1);
        GL.glBegin(GL_QUADS);
        TexCoordRouter.TexCoord2f(0, 0);
        GL.glVertex2f(0, 0);
        TexCoordRouter.TexCoord2f(1, 0);
        GL.glVertex2f(float(gl.Width()), 0);
        TexCoordRouter.TexCoord2f(1, 1);
        GL.glVertex2f(float(gl.Width()), float(gl.Height()));
        TexCoordRouter.TexCoord2f(0, 1);
        GL.glVertex2f(0, float(gl.Height()));
        GL.glEnd();
    }

    // Clears to `background`, then fills the square lo..hi with the material applied.
    void FillWith(TGLMaterial& material, float lo, float hi, const Rgba& background)
    {
        GL.glClearColor(background[0] / 255.0f, background[1] / 255.0f, background[2] / 255.0f, 1);
        GL.glClear(GL_COLOR_BUFFER_BIT);
        rci.faceCulling = true;
        material.Apply(rci);
        GL.glBegin(GL_QUADS);
        GL.glVertex2f(lo, lo);
        GL.glVertex2f(hi, lo);
        GL.glVertex2f(hi, hi);
        GL.glVertex2f(lo, hi);
        GL.glEnd();
        material.UnApply(rci);
    }

    OffscreenGL gl{32, 32};
    TGLStateCache states;
    TRenderContextInfo rci;
    std::string jpeg;
};

TEST_F(TextureJpegGl, PersistentJpegImageUploadsItsTexels)
{
    jpeg = WriteTwoToneJpeg("kerfpad-table", {200, 40, 90, 255}, {30, 160, 220, 255});
    TGLTexture texture;
    texture.SetDisabled(false);
    texture.SetMinFilter(miLinear);
    static_cast<TGLPersistentImage*>(texture.Image())->LoadFromFile(jpeg);
    ASSERT_TRUE(texture.Image()->Is<TGLPersistentImage>());
    EXPECT_EQ(texture.Image()->GetWidth(), 16);

    const GLuint name = texture.GetHandle();
    ASSERT_NE(name, 0u);
    EXPECT_EQ(texture.TexWidth(), 16);
    EXPECT_EQ(texture.TexHeight(), 16);
    GL.glBindTexture(GL_TEXTURE_2D, name);
    std::vector<std::uint8_t> texels(16 * 16 * 4);
    GL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GL.glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    GL.glBindTexture(GL_TEXTURE_2D, 0);
    // Row 0 of the texture is the bottom of the picture.
    const auto texel = [&](int x, int y) {
        const std::uint8_t* p = &texels[(std::size_t(y) * 16 + x) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    };
    ExpectNear(texel(8, 2), {30, 160, 220, 255});
    ExpectNear(texel(8, 13), {200, 40, 90, 255});
    EXPECT_EQ(texel(8, 13)[3], 255);
    EXPECT_EQ(GL.glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureJpegGl, TexturedQuadShowsThePictureTheRightWayUp)
{
    jpeg = WriteTwoToneJpeg("kerfpad-quad", {250, 20, 20, 255}, {20, 20, 250, 255});
    TGLMaterial material(nullptr);
    TGLTexture* texture = material.Texture();
    texture->SetDisabled(false);
    texture->SetTextureMode(tmReplace);
    static_cast<TGLPersistentImage*>(texture->Image())->LoadFromFile(jpeg);
    GL.glClearColor(0, 0, 0, 1);
    GL.glClear(GL_COLOR_BUFFER_BIT);
    material.Apply(rci);
    DrawTexturedQuad();
    EXPECT_FALSE(material.UnApply(rci));
    EXPECT_FALSE(states.States() & StateBit(stTexture2D));
    ExpectNear(gl.Pixel(16, 28), {250, 20, 20, 255});
    ExpectNear(gl.Pixel(16, 3), {20, 20, 250, 255});
    EXPECT_EQ(GL.glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureJpegGl, TransparentMaterialBlendsOverTheBackground)
{
    TGLMaterial material(nullptr);
    material.SetBlendingMode(bmTransparency);
    material.FrontProperties()->Diffuse()->SetColor({0, 0, 1, 0.5f});
    FillWith(material, 0, 32, {255, 0, 0, 255});
    ExpectNear(gl.Pixel(10, 10), {128, 0, 128, 255}, 2);
}

TEST_F(TextureJpegGl, WireFrameMaterialDrawsOnlyTheOutline)
{
    TGLMaterial material(nullptr);
    material.FrontProperties()->SetPolygonMode(pmLines);
    material.FrontProperties()->Diffuse()->SetColor({0, 1, 0, 1});
    FillWith(material, 4.5f, 27.5f, {0, 0, 0, 255});
    EXPECT_EQ(gl.Pixel(16, 16), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(gl.Pixel(16, 4), (Rgba{0, 255, 0, 255}));
}

} // namespace
