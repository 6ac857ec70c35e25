#include "../TextureTestSupport.h"

#include "scene/materials/BlankImages.h"
#include "scene/materials/PictureImages.h"
#include "scene/materials/Texture.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using texturetest::SolidBitmap;
using texturetest::TRecordingScene;

constexpr GLenum GenerateMipmap = 0x8191;

// An image with preset RGBA pixels that keeps a copy of what the texture made of them.
class TProbeImage : public TGLTextureImage {
    KP_CLASS(TProbeImage, TGLTextureImage)
public:
    using TGLTextureImage::TGLTextureImage;
    int GetWidth() const override { return source.Width(); }
    int GetHeight() const override { return source.Height(); }
    std::string FriendlyName() const override { return "Probe"; }
    TGLBitmap32* GetBitmap32(GLenum) override
    {
        NewBitmap().Assign(&source);
        return FBitmap.get();
    }
    void ReleaseBitmap32() override
    {
        if (FBitmap) {
            uploaded.assign(FBitmap->Data(), FBitmap->Data() + FBitmap->DataSize());
        }
        TGLTextureImage::ReleaseBitmap32();
    }
    TGLBitmap32 source;
    std::vector<std::uint8_t> uploaded;
};

// Switches the texture to a probe image through the class registry.
TProbeImage* UseProbeImage(TGLTexture& texture)
{
    static const bool registered = [] {
        RegisterGLTextureImageClass<TProbeImage>();
        return true;
    }();
    (void)registered;
    texture.SetImageClassName("TProbeImage");
    return static_cast<TProbeImage*>(texture.Image());
}

// The values the texture parameter `name` was set to, in order.
std::vector<double> TexParameter(const TGLRecorder& gl, double name)
{
    std::vector<double> values;
    for (const TGLCall& call : gl.CallsTo("glTexParameteri")) {
        if (call.Args[1] == name) {
            values.push_back(call.Args[2]);
        }
    }
    return values;
}

void ShowBitmap(TGLTexture& texture, int width, int height)
{
    auto bitmap = SolidBitmap(width, height, 200, 100, 50);
    static_cast<TGLPersistentImage*>(texture.Image())->Picture().SetGraphic(bitmap.get());
}

// ---- internal formats ----

struct FormatCase {
    TGLTextureFormat format;
    TGLTextureCompression compression;
    bool compressionExtension, atiFloat;
    GLint internalFormat;
    int hint; // -1: no compression hint
};

TEST(TextureUpload, InternalFormatAndCompressionHint)
{
    const FormatCase cases[] = {
        {tfDefault, tcDefault, false, false, 0x8058, -1}, {tfDefault, tcDefault, true, false, 0x8058, -1},
        {tfRGB, tcStandard, true, false, 0x84ED, GL_DONT_CARE}, {tfRGB, tcStandard, false, false, 0x8051, -1},
        {tfRGBA, tcHighQuality, true, false, 0x84EE, GL_NICEST},
        {tfAlpha, tcHighQuality, true, false, 0x84E9, GL_NICEST},
        {tfLuminance, tcHighSpeed, true, false, 0x84EA, GL_FASTEST},
        {tfLuminanceAlpha, tcStandard, true, false, 0x84EB, GL_DONT_CARE},
        {tfIntensity, tcStandard, true, false, 0x84EC, GL_DONT_CARE}, {tfRGB16, tcNone, true, false, 0x8050, -1},
        {tfRGBA16, tcNone, false, false, 0x8056, -1}, {tfRGBA16, tcStandard, true, false, 0x84EE, GL_DONT_CARE},
        {tfAlpha, tcDefault, false, false, 0x803C, -1}, {tfLuminance, tcNone, false, false, 0x8040, -1},
        {tfLuminanceAlpha, tcNone, false, false, 0x8045, -1}, {tfIntensity, tcNone, false, false, 0x804B, -1},
        {tfNormalMap, tcNone, false, false, 0x8051, -1}, {tfNormalMap, tcHighSpeed, true, false, 0x84ED, GL_FASTEST},
        {tfRGBAFloat16, tcStandard, true, false, 0x888A, -1}, {tfRGBAFloat16, tcStandard, true, true, 0x881A, -1},
        {tfRGBAFloat32, tcNone, false, false, 0x888B, -1}, {tfRGBAFloat32, tcNone, false, true, 0x8814, -1}};
    for (const FormatCase& c : cases) {
        SCOPED_TRACE("format " + std::to_string(c.format) + ", compression " + std::to_string(c.compression) +
                     (c.compressionExtension ? ", extension" : "") + (c.atiFloat ? ", ATI float" : ""));
        TRecordingScene scene;
        GLExt.ARB_texture_compression = c.compressionExtension;
        GLExt.ATI_texture_float = c.atiFloat;
        EXPECT_EQ(OpenGLTextureFormatFor(c.format, c.compression), c.internalFormat);
        const auto hints = scene.gl.CallsTo("glHint");
        ASSERT_EQ(hints.size(), c.hint < 0 ? 0u : 1u);
        if (c.hint >= 0) {
            EXPECT_EQ(hints[0].Args, (std::vector<double>{0x84EF, double(c.hint)}));
        }
    }
}

// ---- uploads ----

TEST(TextureUpload, PowersOfTwoWithinTheLimit)
{
    struct Case {
        int width, height;
        int maxSize; // 0: not limited
        int texWidth, texHeight;
        bool scaled;
    };
    for (const Case& c : {Case{4, 4, 0, 4, 4, false}, Case{6, 3, 0, 8, 4, true}, Case{5, 5, 0, 8, 8, true},
                          Case{16, 1, 0, 16, 1, false}, Case{32, 2, 8, 8, 2, true}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        TRecordingScene scene;
        if (c.maxSize > 0) {
            scene.gl.Integers[GL_MAX_TEXTURE_SIZE] = {c.maxSize};
        }
        TGLTexture texture;
        texture.SetMinFilter(miLinear);
        ShowBitmap(texture, c.width, c.height);
        texture.GetHandle();
        EXPECT_EQ(texture.TexWidth(), c.texWidth);
        EXPECT_EQ(texture.TexHeight(), c.texHeight);
        const auto images = scene.gl.CallsTo("glTexImage2D");
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].Args[0], GL_TEXTURE_2D);
        EXPECT_EQ(images[0].Args[2], GL_RGBA8);
        EXPECT_EQ(images[0].Args[3], c.texWidth);
        EXPECT_EQ(images[0].Args[4], c.texHeight);
        EXPECT_EQ(scene.gl.Count("gluScaleImage"), c.scaled ? 1 : 0);
    }
}

TEST(TextureUpload, MipmapsAutomaticOrBuiltOrNone)
{
    struct Case {
        TGLMinFilter filter;
        bool autoMipmaps;
        int texImages, generateFlags, builtMipmaps;
    };
    for (const Case& c : {Case{miLinearMipmapLinear, true, 1, 1, 0}, Case{miLinearMipmapLinear, false, 0, 0, 1},
                          Case{miNearestMipmapNearest, false, 0, 0, 1}, Case{miLinear, true, 1, 0, 0},
                          Case{miNearest, false, 1, 0, 0}}) {
        SCOPED_TRACE("filter " + std::to_string(c.filter) + (c.autoMipmaps ? " automatic" : ""));
        TRecordingScene scene;
        GLExt.SGIS_generate_mipmap = c.autoMipmaps;
        TGLTexture texture;
        texture.SetMinFilter(c.filter);
        ShowBitmap(texture, 8, 8);
        texture.GetHandle();
        EXPECT_EQ(scene.gl.Count("glTexImage2D"), c.texImages);
        EXPECT_EQ(scene.gl.Count("gluBuild2DMipmaps"), c.builtMipmaps);
        EXPECT_EQ(TexParameter(scene.gl, GenerateMipmap).size(), static_cast<std::size_t>(c.generateFlags));
    }
}

TEST(TextureUpload, MadeOnceThenOnlyAfterAChange)
{
    TRecordingScene scene;
    TGLTexture texture;
    ShowBitmap(texture, 4, 4);
    const GLuint name = texture.GetHandle();
    EXPECT_NE(name, 0u);
    EXPECT_EQ(scene.gl.Count("glGenTextures"), 1);
    scene.gl.Clear();
    EXPECT_EQ(texture.GetHandle(), name);
    EXPECT_TRUE(scene.gl.Calls().empty());

    texture.SetMinFilter(texture.MinFilter()); // the same value marks nothing
    EXPECT_EQ(texture.Changes(), 0u);
    texture.SetMagFilter(maNearest);
    EXPECT_EQ(texture.Changes(), TGLTexture::ParamsChanged);
    EXPECT_EQ(texture.GetHandle(), name);
    EXPECT_EQ(scene.gl.Count("glGenTextures"), 0);
    EXPECT_EQ(scene.gl.Count("gluBuild2DMipmaps") + scene.gl.Count("glTexImage2D"), 1);

    scene.gl.Clear();
    texture.DestroyHandles();
    EXPECT_EQ(texture.Changes(), TGLTexture::ImageChanged | TGLTexture::ParamsChanged);
    EXPECT_EQ(texture.RequiredMemory(), -1);
    EXPECT_EQ(scene.gl.Count("glDeleteTextures"), 1);
}

TEST(TextureUpload, LeavesTheBindingAsItFoundIt)
{
    TRecordingScene scene;
    scene.gl.Integers[GL_TEXTURE_BINDING_2D] = {7};
    TGLTexture texture;
    ShowBitmap(texture, 4, 4);
    const GLuint name = texture.GetHandle();
    const auto binds = scene.gl.CallsTo("glBindTexture");
    ASSERT_EQ(binds.size(), 2u);
    EXPECT_EQ(binds[0].Args[1], name);
    EXPECT_EQ(binds[1].Args[1], 7);
}

TEST(TextureUpload, AnEmptyImageMakesATextureWithoutPixels)
{
    TRecordingScene scene;
    TGLTexture texture;
    EXPECT_NE(texture.GetHandle(), 0u);
    EXPECT_EQ(scene.gl.Count("glTexImage2D") + scene.gl.Count("gluBuild2DMipmaps"), 0);
    EXPECT_EQ(scene.gl.Count("glTexParameteri"), 4); // wrap S and T, min and mag filters
}

TEST(TextureUpload, PendingErrorRaisesBeforeUploading)
{
    TRecordingScene scene;
    TGLTexture texture;
    ShowBitmap(texture, 4, 4);
    scene.gl.PendingErrors.push_back(GL_INVALID_ENUM);
    EXPECT_THROW(texture.GetHandle(), EOpenGLError);
    EXPECT_EQ(scene.gl.Count("glTexImage2D") + scene.gl.Count("gluBuild2DMipmaps"), 0);
}

TEST(TextureParameters, WrapParameters)
{
    struct Case {
        TGLTextureWrap wrap;
        bool edgeClamp;
        GLint s, t;
    };
    for (const Case& c : {Case{twBoth, true, GL_REPEAT, GL_REPEAT}, Case{twNone, false, GL_CLAMP, GL_CLAMP},
                          Case{twNone, true, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE},
                          Case{twVertical, true, GL_CLAMP_TO_EDGE, GL_REPEAT},
                          Case{twHorizontal, false, GL_REPEAT, GL_CLAMP}}) {
        TRecordingScene scene;
        GLVersion.OpenGL_1_2 = false;
        GLExt.EXT_texture_edge_clamp = c.edgeClamp;
        TGLTexture texture;
        texture.SetTextureWrap(c.wrap);
        texture.GetHandle();
        EXPECT_EQ(TexParameter(scene.gl, GL_TEXTURE_WRAP_S), std::vector<double>{double(c.s)}) << c.wrap << c.edgeClamp;
        EXPECT_EQ(TexParameter(scene.gl, GL_TEXTURE_WRAP_T), std::vector<double>{double(c.t)}) << c.wrap << c.edgeClamp;
    }
}

TEST(TextureParameters, FiltersAnisotropyAndFloatFormats)
{
    TRecordingScene scene;
    GLExt.EXT_texture_filter_anisotropic = true;
    TGLTexture texture;
    texture.SetMinFilter(miNearestMipmapLinear);
    texture.SetMagFilter(maNearest);
    texture.SetFilteringQuality(tfAnisotropic);
    texture.GetHandle();
    EXPECT_EQ(TexParameter(scene.gl, GL_TEXTURE_MIN_FILTER), std::vector<double>{GL_NEAREST_MIPMAP_LINEAR});
    EXPECT_EQ(TexParameter(scene.gl, GL_TEXTURE_MAG_FILTER), std::vector<double>{GL_NEAREST});
    EXPECT_EQ(TexParameter(scene.gl, 0x84FE), std::vector<double>{2.0});

    scene.gl.Clear();
    TGLTexture floats;
    floats.SetImageClassName("TGLFloatDataImage");
    floats.SetTextureFormat(tfRGBAFloat32);
    floats.GetHandle();
    std::vector<std::pair<double, double>> params;
    for (const TGLCall& call : scene.gl.CallsTo("glTexParameteri")) {
        EXPECT_EQ(call.Args[0], GL_TEXTURE_RECTANGLE_NV);
        params.emplace_back(call.Args[1], call.Args[2]);
    }
    const std::vector<std::pair<double, double>> expected{{GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE},
                                                          {GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE},
                                                          {GL_TEXTURE_MIN_FILTER, GL_NEAREST},
                                                          {GL_TEXTURE_MAG_FILTER, GL_NEAREST}};
    EXPECT_EQ(params, expected);
    const auto images = scene.gl.CallsTo("glTexImage2D");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].Args[2], 0x888B);
    EXPECT_EQ(images[0].Args[7], GL_FLOAT);
}

// ---- alpha derivation ----

// A probe of four RGBA pixels in one row.
TProbeImage* UseProbeRow(TGLTexture& texture, const std::array<std::uint8_t, 16>& pixels)
{
    TProbeImage* probe = UseProbeImage(texture);
    probe->source.SetWidth(4);
    probe->source.SetHeight(1);
    std::copy(pixels.begin(), pixels.end(), probe->source.Data());
    return probe;
}

TEST(TextureImageAdjustments, AlphaChannelAsUploaded)
{
    struct Case {
        TGLTextureImageAlpha mode;
        int alpha0; // first pixel (0, 0, 0, 9)
        int alpha1; // second pixel (64, 64, 64, 9)
        int alpha2; // third pixel (30, 60, 90, 9)
    };
    const Case cases[] = {{tiaDefault, 9, 9, 9},
                          {tiaAlphaFromIntensity, 0, 64, 60},
                          {tiaLuminance, 0, 64, 60},
                          {tiaSuperBlackTransparent, 0, 255, 255},
                          {tiaLuminanceSqrt, 0, 128, 123},
                          {tiaOpaque, 255, 255, 255},
                          {tiaTopLeftPointColorTransparent, 0, 255, 255},
                          {tiaInverseLuminance, 255, 191, 195},
                          {tiaInverseLuminanceSqrt, 255, 127, 132}};
    for (const Case& c : cases) {
        TRecordingScene scene;
        TGLTexture texture;
        TProbeImage* probe = UseProbeRow(texture, {0, 0, 0, 9, 64, 64, 64, 9, 30, 60, 90, 9, 1, 1, 1, 9});
        texture.SetImageAlpha(c.mode);
        texture.GetHandle();
        const auto& uploaded = probe->uploaded;
        ASSERT_EQ(uploaded.size(), 16u);
        EXPECT_EQ(uploaded[3], c.alpha0) << "mode " << c.mode;
        EXPECT_NEAR(uploaded[7], c.alpha1, 1) << "mode " << c.mode;
        EXPECT_EQ(uploaded[11], c.alpha2) << "mode " << c.mode;
    }
}

TEST(TextureImageAdjustments, BrightnessAppliesOnlyWhenNotOne)
{
    TRecordingScene scene;
    TGLTexture texture;
    std::array<std::uint8_t, 16> grey;
    grey.fill(100);
    TProbeImage* probe = UseProbeRow(texture, grey);
    texture.GetHandle();
    EXPECT_EQ(probe->uploaded[0], 100);
    texture.SetImageBrightness(2.0f);
    texture.GetHandle();
    EXPECT_EQ(probe->uploaded[0], 200);
    EXPECT_EQ(probe->uploaded[3], 100); // alpha untouched
}

// ---- cube maps ----

TEST(CubeMapUpload, SixFacesOnlyWhenUniformAndSupported)
{
    struct Case {
        bool extension;
        int sizeNZ; // the last face's size; the others are 4
        int uploads, binds;
    };
    for (const Case& c : {Case{true, 4, 6, 2}, Case{true, 8, 0, 2}, Case{true, 0, 0, 2}, Case{false, 4, 0, 0}}) {
        SCOPED_TRACE("last face " + std::to_string(c.sizeNZ) + (c.extension ? "" : ", no extension"));
        TRecordingScene scene;
        GLExt.ARB_texture_cube_map = c.extension;
        TGLTexture texture;
        texture.SetMinFilter(miLinear);
        texture.SetImageClassName("TGLCubeMapImage");
        auto* cube = static_cast<TGLCubeMapImage*>(texture.Image());
        for (int face = cmtPX; face <= cmtNZ; ++face) {
            const int size = face == cmtNZ ? c.sizeNZ : 4;
            cube->Picture(static_cast<TGLCubeMapFace>(face)).SetGraphic(SolidBitmap(size, size, 1, 2, 3).get());
        }
        EXPECT_NE(texture.GetHandle(), 0u);
        const auto images = scene.gl.CallsTo("glTexImage2D");
        ASSERT_EQ(static_cast<int>(images.size()), c.uploads);
        for (int i = 0; i < c.uploads; ++i) {
            EXPECT_EQ(images[i].Args[0], GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + i);
        }
        EXPECT_EQ(scene.gl.Count("glBindTexture"), c.binds);
    }
}

// ---- picture files ----

TEST(TextureUpload, MissingPictureFileIsReportedOnceAndGivesAnEmptyTexture)
{
    TRecordingScene scene;
    TGLTexture texture;
    texture.SetImageClassName("TGLPicFileImage");
    static_cast<TGLPicFileImage*>(texture.Image())->SetPictureFileName("/nonexistent/kerfpad/table.jpg");
    std::vector<std::string> asked;
    texture.OnTextureNeeded = [&](TObject*, std::string& name) { asked.push_back(name); };
    EXPECT_THROW(texture.GetHandle(), ETexture);
    EXPECT_NO_THROW(texture.GetHandle());
    texture.SetMinFilter(miLinear);
    EXPECT_NO_THROW(texture.GetHandle());
    EXPECT_EQ(scene.gl.Count("glTexImage2D"), 0);
    ASSERT_EQ(asked.size(), 2u); // the file is looked for at every upload
    EXPECT_EQ(asked[0], "/nonexistent/kerfpad/table.jpg");
}

} // namespace
