#include "../ErrorTextTestSupport.h"
#include "../TextureTestSupport.h"
#include "../UpdateAbleTestSupport.h"

#include "scene/materials/MaterialLibrary.h"
#include "scene/rendering/Shader.h"
#include "scene/rendering/TexCoordRouter.h"

#include <gtest/gtest.h>

namespace {

using texturetest::TRecordingScene;

// Logs its calls; asks for `extraPasses` more passes before it lets go.
class TLoggingShader : public TGLShader {
    KP_CLASS(TLoggingShader, TGLShader)
public:
    using TGLShader::TGLShader;
    std::vector<std::string> log;
    int extraPasses = 0;

protected:
    void DoApply(TRenderContextInfo&, TObject*) override
    {
        log.push_back("apply after " + std::to_string(TGLRecorder::Current()->Calls().size()) + " calls");
    }
    bool DoUnApply(TRenderContextInfo&) override
    {
        log.push_back("unapply");
        return extraPasses-- > 0;
    }
    void DoInitialize() override { log.push_back("initialize"); }
    void DoFinalize() override { log.push_back("finalize"); }
};

class LibMaterialApply : public ::testing::Test {
protected:
    void SetUp() override
    {
        scene.rci.faceCulling = true;
        AllowSecondTexUnit();
        MapTexCoordToUnit0();
        scene.gl.Clear();
    }

    // A library material named "Detail" with an enabled texture, as the second texture.
    TGLLibMaterial* AddDetail()
    {
        GLExt.ARB_multitexture = true;
        TGLLibMaterial* detail = library.Materials()->Add();
        detail->SetName("Detail");
        detail->Material()->Texture()->SetDisabled(false);
        material->SetTexture2Name("Detail");
        return detail;
    }

    TRecordingScene scene;
    TGLMaterialLibrary library;
    TGLLibMaterial* material = library.Materials()->Add();
};

TEST_F(LibMaterialApply, ShaderReplacingTheMaterialEndsTheRouterBracket)
{
    TLoggingShader shader;
    shader.SetShaderStyle(ssReplaceMaterial);
    material->SetShader(&shader);
    MapTexCoordNowhere();
    material->Apply(scene.rci);
    EXPECT_EQ(scene.gl.Count("glBlendFunc") + scene.gl.Count("glColor4fv"), 0); // the material did nothing
    MapTexCoordToUnit0();
    EXPECT_EQ(CurrentTexCoordMode(), mtcmMain); // switches take effect at once again
    EXPECT_FALSE(material->UnApply(scene.rci));
    EXPECT_EQ(shader.log, (std::vector<std::string>{"initialize", "apply after 0 calls", "unapply"}));
}

TEST_F(LibMaterialApply, ShaderBeforeOrAfterTheMaterial)
{
    TLoggingShader before;
    before.SetShaderStyle(ssBeforeMaterial);
    material->SetShader(&before);
    material->Apply(scene.rci);
    EXPECT_EQ(before.log.back(), "apply after 0 calls");
    EXPECT_FALSE(material->UnApply(scene.rci));

    TLoggingShader after;
    material->SetShader(&after);
    EXPECT_TRUE(before.Users().empty());
    scene.gl.Clear();
    material->Apply(scene.rci);
    EXPECT_NE(after.log.back(), "apply after 0 calls");
    EXPECT_FALSE(material->UnApply(scene.rci));
}

TEST_F(LibMaterialApply, ShaderAsksForMorePasses)
{
    TLoggingShader shader;
    shader.extraPasses = 2;
    material->SetShader(&shader);
    material->Apply(scene.rci);
    int passes = 1;
    while (material->UnApply(scene.rci)) {
        ++passes;
    }
    EXPECT_EQ(passes, 3);
    EXPECT_FALSE(shader.Active());
}

TEST_F(LibMaterialApply, UnbalancedShaderCallsAndEnablingWhileActive)
{
    TLoggingShader shader;
    const std::string unbalanced = ErrorText<EAssertionFailed>([&] { shader.UnApply(scene.rci); });
    EXPECT_EQ(unbalanced.rfind("Unbalanced shader application.", 0), 0u) << unbalanced;
    shader.Apply(scene.rci, nullptr);
    EXPECT_THROW(shader.Apply(scene.rci, nullptr), EAssertionFailed);
    EXPECT_EQ(ErrorText<EAssertionFailed>([&] { shader.SetEnabled(false); }).rfind("Shader is active.", 0), 0u);
    EXPECT_FALSE(shader.UnApply(scene.rci));
    shader.SetEnabled(false);
    shader.Apply(scene.rci, nullptr);
    EXPECT_FALSE(shader.UnApply(scene.rci));
    EXPECT_EQ(std::count(shader.log.begin(), shader.log.end(), "unapply"), 1);
}

TEST_F(LibMaterialApply, ShaderChangesFinaliseAndReachTheUsers)
{
    TLoggingShader shader;
    material->SetShader(&shader);
    TRecordingComponent object;
    TGLMaterial user(&object);
    user.SetMaterialLibrary(&library);
    user.SetLibMaterialName(material->Name());
    material->Apply(scene.rci);
    material->UnApply(scene.rci);
    ASSERT_TRUE(shader.Initialized());
    object.changes.clear();
    shader.SetEnabled(false);
    EXPECT_FALSE(shader.Initialized());
    EXPECT_EQ(shader.log.back(), "finalize");
    EXPECT_EQ(object.changes.size(), 1u);
}

TEST_F(LibMaterialApply, FreeingTheShaderUnlinksItsUsers)
{
    auto shader = std::make_unique<TLoggingShader>();
    material->SetShader(shader.get());
    TGLLibMaterial* other = library.Materials()->Add();
    other->SetShader(shader.get());
    shader.reset();
    EXPECT_EQ(material->Shader(), nullptr);
    EXPECT_EQ(other->Shader(), nullptr);
    material->Apply(scene.rci);
    EXPECT_FALSE(material->UnApply(scene.rci));
}

TEST_F(LibMaterialApply, TextureMatrixAroundAnEnabledTexture)
{
    material->Material()->Texture()->SetDisabled(false);
    material->TextureOffset()->SetVector(0.5f, 0, 0);
    ASSERT_FALSE(material->TextureMatrixIsIdentity());
    material->Apply(scene.rci);
    const auto loads = scene.gl.CallsTo("glLoadMatrixf");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].Data[12], 0.5);
    EXPECT_FALSE(scene.states.TextureMatrixIsIdentity());
    material->UnApply(scene.rci);
    EXPECT_TRUE(scene.states.TextureMatrixIsIdentity());
    EXPECT_EQ(scene.gl.Count("glLoadIdentity"), 1);

    material->TextureOffset()->SetVector(0, 0, 0);
    EXPECT_TRUE(material->TextureMatrixIsIdentity());
}

struct SecondTextureCase {
    bool ownEnabled;
    TGLTextureMappingMode ownMapping;
    TGLTextureMappingMode secondMapping;
    TMapTexCoordMode routed;
};

class LibMaterialSecondTexture : public LibMaterialApply, public ::testing::WithParamInterface<SecondTextureCase> {};

TEST_P(LibMaterialSecondTexture, SecondUnitAndRouting)
{
    const SecondTextureCase& c = GetParam();
    TGLLibMaterial* detail = AddDetail();
    detail->Material()->Texture()->SetMappingMode(c.secondMapping);
    material->Material()->Texture()->SetDisabled(!c.ownEnabled);
    material->Material()->Texture()->SetMappingMode(c.ownMapping);
    material->Apply(scene.rci);
    EXPECT_EQ(material->Texture2LibMaterial(), detail);
    EXPECT_EQ(CurrentTexCoordMode(), c.routed);
    const auto units = scene.gl.CallsTo("glActiveTextureARB");
    ASSERT_GE(units.size(), 2u);
    EXPECT_EQ(units[0].Args[0], GL_TEXTURE1_ARB);
    scene.gl.Clear();
    EXPECT_FALSE(material->UnApply(scene.rci));
    EXPECT_EQ(CurrentTexCoordMode(), mtcmMain);
    EXPECT_EQ(scene.gl.CallsTo("glActiveTextureARB").at(0).Args[0], GL_TEXTURE1_ARB);
}

INSTANTIATE_TEST_SUITE_P(Routing, LibMaterialSecondTexture,
                         ::testing::Values(SecondTextureCase{false, tmmUser, tmmUser, mtcmSecond},
                                           SecondTextureCase{false, tmmUser, tmmSphere, mtcmMain},
                                           SecondTextureCase{true, tmmSphere, tmmUser, mtcmSecond},
                                           SecondTextureCase{true, tmmSphere, tmmSphere, mtcmMain},
                                           SecondTextureCase{true, tmmUser, tmmSphere, mtcmMain},
                                           SecondTextureCase{true, tmmUser, tmmUser, mtcmDual}));

TEST_F(LibMaterialApply, UnknownSecondTextureNameIsClearedAtFirstUse)
{
    GLExt.ARB_multitexture = true;
    material->SetTexture2Name("Missing");
    material->Apply(scene.rci);
    EXPECT_EQ(material->Texture2Name(), "");
    EXPECT_EQ(scene.gl.Count("glActiveTextureARB"), 0);
    material->UnApply(scene.rci);
}

TEST_F(LibMaterialApply, FreeingTheSecondTextureMaterialClearsTheLink)
{
    TGLLibMaterial* detail = AddDetail();
    material->Apply(scene.rci);
    material->UnApply(scene.rci);
    ASSERT_EQ(material->Texture2LibMaterial(), detail);
    library.Materials()->Delete(detail->Index());
    EXPECT_EQ(material->Texture2LibMaterial(), nullptr);
    EXPECT_EQ(material->Texture2Name(), "");
}

TEST_F(LibMaterialApply, UsersRegisterOnce)
{
    TGLMaterial user(nullptr);
    material->RegisterUser(&user);
    EXPECT_THROW(material->RegisterUser(&user), EAssertionFailed);
    material->UnRegisterUser(&user);
    EXPECT_TRUE(material->Users().empty());
}

TEST_F(LibMaterialApply, AssignTakesAUniqueName)
{
    material->SetName("Pine");
    material->TextureScale()->SetVector(2, 2, 1, 0);
    material->SetTexture2Name("Other");
    TGLLibMaterial* copy = library.Materials()->Add();
    copy->Assign(material);
    EXPECT_EQ(copy->Name(), "Pine1");
    EXPECT_EQ(copy->Texture2Name(), "Other");
    EXPECT_FALSE(copy->TextureMatrixIsIdentity());
}

} // namespace
