#include "../ErrorTextTestSupport.h"
#include "../TextureTestSupport.h"
#include "../UpdateAbleTestSupport.h"

#include "scene/materials/BlankImages.h"
#include "scene/materials/Material.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/materials/PictureImages.h"
#include "scene/materials/Texture.h"

#include <gtest/gtest.h>

namespace {

using texturetest::SolidBitmap;
using texturetest::TRecordingScene;

std::vector<std::string> Named(const TGLRecorder& gl, std::initializer_list<std::string_view> names)
{
    std::vector<std::string> texts;
    for (const TGLCall& call : gl.Calls()) {
        for (std::string_view name : names) {
            if (call.Name == name) {
                texts.push_back(call.Text);
            }
        }
    }
    return texts;
}

// ---- properties ----

TEST(TextureProperties, OnlyValuesOffTheirDefaultsAreStored)
{
    TGLTexture texture;
    EXPECT_FALSE(texture.StoreImageClassName());
    EXPECT_FALSE(texture.StoreGamma());
    EXPECT_FALSE(texture.StoreBrightness());
    EXPECT_FALSE(texture.StoreNormalMapScale());
    texture.SetImageGamma(1.0f);
    EXPECT_FALSE(texture.StoreGamma());
    texture.SetImageGamma(2.2f);
    EXPECT_TRUE(texture.StoreGamma());
    texture.SetNormalMapScale(0.5f);
    EXPECT_TRUE(texture.StoreNormalMapScale());
    texture.SetImageClassName("TGLBlankImage");
    EXPECT_TRUE(texture.StoreImageClassName());
}

TEST(TextureProperties, EachSetterMarksWhatItChanges)
{
    struct Case {
        const char* what;
        void (*change)(TGLTexture&);
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"alpha", [](TGLTexture& t) { t.SetImageAlpha(tiaOpaque); }, 1},
        {"brightness", [](TGLTexture& t) { t.SetImageBrightness(0.5f); }, 1},
        {"gamma", [](TGLTexture& t) { t.SetImageGamma(0.5f); }, 1},
        {"normal scale", [](TGLTexture& t) { t.SetNormalMapScale(1); }, 1},
        {"class", [](TGLTexture& t) { t.SetImageClassName("TGLBlankImage"); }, 1},
        {"same class", [](TGLTexture& t) { t.SetImageClassName("TGLPersistentImage"); }, 0},
        {"empty class", [](TGLTexture& t) { t.SetImageClassName(""); }, 0},
        {"min", [](TGLTexture& t) { t.SetMinFilter(miNearest); }, 2},
        {"same min", [](TGLTexture& t) { t.SetMinFilter(miLinearMipmapLinear); }, 0},
        {"mode", [](TGLTexture& t) { t.SetTextureMode(tmReplace); }, 2},
        {"wrap", [](TGLTexture& t) { t.SetTextureWrap(twNone); }, 2},
        {"format", [](TGLTexture& t) { t.SetTextureFormat(tfRGB); }, 2},
        {"compression", [](TGLTexture& t) { t.SetCompression(tcNone); }, 2},
        {"quality", [](TGLTexture& t) { t.SetFilteringQuality(tfAnisotropic); }, 2},
        {"mapping", [](TGLTexture& t) { t.SetMappingMode(tmmSphere); }, 0}};
    for (const Case& c : cases) {
        TRecordingScene scene;
        TGLTexture texture;
        EXPECT_EQ(texture.Changes(), TGLTexture::ImageChanged | TGLTexture::ParamsChanged);
        texture.GetHandle();
        ASSERT_EQ(texture.Changes(), 0u);
        c.change(texture);
        EXPECT_EQ(texture.Changes(), c.flags) << c.what;
    }
}

TEST(TextureProperties, UnknownImageClassKeepsTheImageAndSaysSo)
{
    TGLTexture texture;
    TGLTextureImage* before = texture.Image();
    EXPECT_EQ(ErrorText<ETexture>([&] { texture.SetImageClassName("TGLNoSuchImage"); }),
              "Unknown texture image class: TGLNoSuchImage");
    EXPECT_EQ(texture.Image(), before);
    EXPECT_EQ(texture.ImageClassName(), "TGLPersistentImage");
}

TEST(TextureProperties, NewImagesForwardTheirFileRequests)
{
    TGLTexture texture;
    std::string seen;
    texture.OnTextureNeeded = [&](TObject*, std::string& name) {
        seen = name;
        name = "/elsewhere/" + name;
    };
    texture.SetImageClassName("TGLPicFileImage");
    auto* image = static_cast<TGLPicFileImage*>(texture.Image());
    image->SetPictureFileName("oak.bmp");
    EXPECT_THROW(image->GetBitmap32(GL_TEXTURE_2D), ETexture);
    EXPECT_EQ(seen, "oak.bmp");
}

TEST(TextureProperties, AssignCopiesTheLookButNotTheAdjustments)
{
    TGLTexture source;
    source.SetImageAlpha(tiaOpaque);
    source.SetTextureMode(tmModulate);
    source.SetTextureWrap(twNone);
    source.SetTextureFormat(tfRGB);
    source.SetMinFilter(miNearest);
    source.SetMagFilter(maNearest);
    source.SetMappingMode(tmmObjectLinear);
    source.MappingSCoordinates()->SetCoordinate(1, 5);
    source.SetDisabled(false);
    source.SetImageGamma(2);
    source.SetImageBrightness(3);
    source.SetNormalMapScale(4);
    source.SetImageClassName("TGLBlankImage");
    static_cast<TGLBlankImage*>(source.Image())->SetWidth(32);

    TGLTexture copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.ImageAlpha(), tiaOpaque);
    EXPECT_EQ(copy.TextureMode(), tmModulate);
    EXPECT_EQ(copy.TextureWrap(), twNone);
    EXPECT_EQ(copy.TextureFormat(), tfRGB);
    EXPECT_EQ(copy.MinFilter(), miNearest);
    EXPECT_EQ(copy.MagFilter(), maNearest);
    EXPECT_EQ(copy.MappingMode(), tmmObjectLinear);
    EXPECT_EQ(copy.MappingSCoordinates()->AsVector().Y, 5.0f);
    EXPECT_FALSE(copy.Disabled());
    EXPECT_EQ(copy.ImageClassName(), "TGLBlankImage");
    EXPECT_EQ(copy.Image()->GetWidth(), 32);
    EXPECT_NE(copy.Image(), source.Image());
    EXPECT_EQ(copy.ImageGamma(), 1.0f);
    EXPECT_EQ(copy.ImageBrightness(), 1.0f);
    EXPECT_EQ(copy.NormalMapScale(), 0.125f);
    EXPECT_EQ(copy.Changes(), TGLTexture::ImageChanged | TGLTexture::ParamsChanged);

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Disabled());
    EXPECT_EQ(copy.Image()->GetWidth(), 256);
}

TEST(TextureProperties, AssignFromAGraphicFillsThePicture)
{
    TGLTexture texture;
    texture.Assign(SolidBitmap(8, 4, 1, 2, 3).get());
    EXPECT_EQ(texture.Image()->GetWidth(), 8);
}

// ---- owners hear texture-coordinate changes ----

TEST(TextureNotifications, DisablingRebuildsTheOwningObject)
{
    TRecordingComponent object;
    TGLMaterial material(&object);
    TGLTexture* texture = material.Texture();
    texture->SetDisabled(false);
    EXPECT_EQ(object.structureChanges, 1);
    texture->SetDisabled(false);
    EXPECT_EQ(object.structureChanges, 1);
    texture->SetMappingMode(tmmSphere);
    EXPECT_EQ(object.structureChanges, 1);
    EXPECT_FALSE(object.changes.empty());
    texture->SetMappingMode(tmmUser);
    EXPECT_EQ(object.structureChanges, 2);
}

// ---- apply and unapply ----

TEST(TextureApply, EnabledTwoDimensionalTexture)
{
    TRecordingScene scene;
    TGLTexture texture;
    texture.SetDisabled(false);
    texture.SetTextureMode(tmModulate);
    texture.EnvColor()->SetColor({0.25f, 0.5f, 0.75f, 1});
    texture.Assign(SolidBitmap(4, 4, 9, 9, 9).get());
    texture.Apply(scene.rci);
    const GLuint name = texture.Handle();
    EXPECT_TRUE(scene.states.States() & StateBit(stTexture2D));
    const auto env = scene.gl.CallsTo("glTexEnvi");
    ASSERT_EQ(env.size(), 1u);
    EXPECT_EQ(env[0].Args[2], GL_MODULATE);
    const auto color = scene.gl.CallsTo("glTexEnvfv");
    ASSERT_EQ(color.size(), 1u);
    EXPECT_EQ(color[0].Data, (std::vector<double>{0.25, 0.5, 0.75, 1}));
    const auto binds = scene.gl.CallsTo("glBindTexture");
    ASSERT_FALSE(binds.empty());
    EXPECT_EQ(binds.back().Args[1], name); // the cache bound it last
    EXPECT_EQ(CurrentTexCoordMode(), mtcmMain);

    scene.gl.Clear();
    texture.UnApply(scene.rci);
    EXPECT_FALSE(scene.states.States() & StateBit(stTexture2D));
    EXPECT_EQ(Named(scene.gl, {"glDisable"}), (std::vector<std::string>{"glDisable(3553)"}));
}

TEST(TextureApply, DisabledTextureSwitchesTexturingOff)
{
    TRecordingScene scene;
    scene.states.Enable(stTexture2D);
    TGLTexture texture;
    texture.Apply(scene.rci);
    EXPECT_FALSE(scene.states.States() & StateBit(stTexture2D));
    EXPECT_EQ(scene.gl.Count("glGenTextures"), 0);
    scene.gl.Clear();
    texture.UnApply(scene.rci);
    EXPECT_TRUE(scene.gl.Calls().empty());
}

TEST(TextureApply, FloatDataUsesTheRectangleTarget)
{
    TRecordingScene scene;
    TGLTexture texture;
    texture.SetImageClassName("TGLFloatDataImage");
    texture.SetDisabled(false);
    texture.Apply(scene.rci);
    EXPECT_TRUE(scene.states.States() & StateBit(stTextureRect));
    texture.UnApply(scene.rci);
    EXPECT_FALSE(scene.states.States() & StateBit(stTextureRect));
}

TEST(TextureApply, EnvironmentModes)
{
    for (const auto& [mode, env] : {std::pair{tmDecal, GL_DECAL}, {tmModulate, GL_MODULATE}, {tmBlend, GL_BLEND},
                                    {tmReplace, GL_REPLACE}}) {
        TRecordingScene scene;
        TGLTexture texture;
        texture.SetDisabled(false);
        texture.SetTextureMode(mode);
        texture.Apply(scene.rci);
        EXPECT_EQ(scene.gl.CallsTo("glTexEnvi").at(0).Args[2], env) << mode;
    }
}

struct MappingCase {
    TGLTextureMappingMode mode;
    bool cubeMapExtension;
    std::vector<std::string> apply;
    std::vector<std::string> unapply;
};

const std::vector<std::string> DisableGen{"glDisable(3168)", "glDisable(3169)", "glDisable(3170)"};

TEST(TextureApply, MappingGenerationCalls)
{
    const MappingCase cases[] = {
        {tmmUser, true, {}, {}},
        {tmmObjectLinear, true,
            {"glTexGeni(8192, 9472, 9217)", "glTexGeni(8193, 9472, 9217)", "glTexGenfv(8192, 9473, @)",
             "glTexGenfv(8193, 9473, @)", "glEnable(3168)", "glEnable(3169)"},
            DisableGen},
        {tmmEyeLinear, true,
            {"glTexGeni(8192, 9472, 9216)", "glTexGeni(8193, 9472, 9216)", "glTexGenfv(8192, 9474, @)",
             "glTexGenfv(8193, 9474, @)", "glEnable(3168)", "glEnable(3169)"},
            DisableGen},
        {tmmSphere, false,
            {"glTexGeni(8192, 9472, 9218)", "glTexGeni(8193, 9472, 9218)", "glEnable(3168)", "glEnable(3169)"},
            DisableGen},
        {tmmCubeMapReflection, true,
            {"glTexGeni(8192, 9472, 34066)", "glTexGeni(8193, 9472, 34066)", "glTexGeni(8194, 9472, 34066)",
             "glEnable(3168)", "glEnable(3169)", "glEnable(3170)"},
            DisableGen},
        {tmmCubeMapNormal, true,
            {"glTexGeni(8192, 9472, 34065)", "glTexGeni(8193, 9472, 34065)", "glTexGeni(8194, 9472, 34065)",
             "glEnable(3168)", "glEnable(3169)", "glEnable(3170)"},
            DisableGen},
        {tmmCubeMapCamera, false, {}, DisableGen}};
    for (const MappingCase& c : cases) {
        TRecordingScene scene;
        GLExt.ARB_texture_cube_map = c.cubeMapExtension;
        TGLTexture texture;
        texture.SetMappingMode(c.mode);
        texture.ApplyMappingMode();
        EXPECT_EQ(Named(scene.gl, {"glTexGeni", "glTexGenfv", "glEnable"}), c.apply) << "mode " << c.mode;
        scene.gl.Clear();
        texture.UnApplyMappingMode();
        EXPECT_EQ(Named(scene.gl, {"glDisable"}), c.unapply) << "mode " << c.mode;
    }
}

TEST(TextureApply, CubeMapReflectionLoadsTheTurnOfTheView)
{
    TRecordingScene scene;
    GLExt.ARB_texture_cube_map = true;
    GLExt.ARB_transpose_matrix = false;
    // A view turned a quarter about Z and moved: only the turn reaches the texture matrix.
    scene.modelView = {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {5, 6, 7, 1}}};
    TGLTexture texture;
    texture.SetImageClassName("TGLCubeMapImage");
    texture.SetMappingMode(tmmCubeMapReflection);
    texture.SetDisabled(false);
    texture.Apply(scene.rci);
    EXPECT_TRUE(scene.states.States() & StateBit(stTextureCubeMap));
    const auto loads = scene.gl.CallsTo("glLoadMatrixf");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].Data, (std::vector<double>{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    const auto modes = scene.gl.CallsTo("glMatrixMode");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0].Args[0], GL_TEXTURE);
    EXPECT_EQ(modes[1].Args[0], GL_MODELVIEW);

    scene.gl.Clear();
    texture.UnApply(scene.rci);
    EXPECT_FALSE(scene.states.States() & StateBit(stTextureCubeMap));
    EXPECT_EQ(scene.gl.Count("glLoadIdentity"), 1);
}

TEST(TextureApply, SecondUnitWithALibraryTextureMatrix)
{
    TRecordingScene scene;
    TGLMaterialLibrary library;
    TGLLibMaterial* libMaterial = library.Materials()->Add();
    libMaterial->TextureScale()->SetVector(2, 3, 1, 0);
    ASSERT_FALSE(libMaterial->TextureMatrixIsIdentity());
    TGLTexture texture;
    texture.SetDisabled(false);
    texture.ApplyAsTexture2(scene.rci, libMaterial);
    const auto units = scene.gl.CallsTo("glActiveTextureARB");
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].Args[0], GL_TEXTURE1_ARB);
    EXPECT_EQ(units[1].Args[0], GL_TEXTURE0_ARB);
    const auto loads = scene.gl.CallsTo("glLoadMatrixf");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].Data[0], 2);
    EXPECT_EQ(loads[0].Data[5], 3);
    EXPECT_EQ(Named(scene.gl, {"glEnable"}), (std::vector<std::string>{"glEnable(3553)"}));

    scene.gl.Clear();
    texture.UnApplyAsTexture2(scene.rci, libMaterial);
    EXPECT_EQ(Named(scene.gl, {"glActiveTextureARB", "glLoadIdentity", "glDisable"}),
              (std::vector<std::string>{"glActiveTextureARB(33985)", "glLoadIdentity()", "glDisable(3553)",
                                        "glActiveTextureARB(33984)"}));

    scene.gl.Clear();
    texture.UnApplyAsTexture2(scene.rci, nullptr);
    EXPECT_EQ(scene.gl.Count("glLoadIdentity"), 0);
}

} // namespace
