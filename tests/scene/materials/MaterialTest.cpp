#include "../ErrorTextTestSupport.h"
#include "../TextureTestSupport.h"
#include "../UpdateAbleTestSupport.h"

#include "scene/materials/Material.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/materials/TextureEx.h"

#include <gtest/gtest.h>

namespace {

using texturetest::TRecordingScene;

bool Has(const TGLStateCache& states, TGLState state) { return (states.States() & StateBit(state)) != 0; }

std::vector<std::string> Texts(const TGLRecorder& gl, std::string_view name)
{
    std::vector<std::string> texts;
    for (const TGLCall& call : gl.CallsTo(name)) {
        texts.push_back(call.Text);
    }
    return texts;
}

// ---- face properties ----

TEST(FaceProperties, ShininessRange)
{
    TGLFaceProperties face(nullptr);
    face.SetShininess(200);
    EXPECT_EQ(face.Shininess(), 128);
    face.SetShininess(-3);
    EXPECT_EQ(face.Shininess(), 0);
}

TEST(FaceProperties, ChangesReachTheObjectThroughTheMaterial)
{
    TRecordingComponent object;
    TGLMaterial material(&object);
    material.FrontProperties()->Diffuse()->SetRed(0.5f);
    EXPECT_EQ(object.changes.size(), 1u);
    material.FrontProperties()->SetPolygonMode(pmLines);
    EXPECT_EQ(object.changes.size(), 2u);
    material.FrontProperties()->SetPolygonMode(pmLines);
    material.SetBlendingMode(bmOpaque);
    EXPECT_EQ(object.changes.size(), 2u);
    EXPECT_EQ(object.changes.back(), &material);
}

TEST(FaceProperties, AssignCopiesEverythingWithOneNotification)
{
    TRecordingComponent object;
    TGLMaterial material(&object);
    TGLFaceProperties source(nullptr);
    source.Ambient()->SetColor({0.1f, 0.2f, 0.3f, 1});
    source.SetShininess(64);
    source.SetPolygonMode(pmPoints);
    material.FrontProperties()->Assign(&source);
    EXPECT_EQ(object.changes.size(), 1u);
    EXPECT_EQ(material.FrontProperties()->Ambient()->Color().Z, 0.3f);
    EXPECT_EQ(material.FrontProperties()->Shininess(), 64);
    EXPECT_EQ(material.FrontProperties()->PolygonMode(), pmPoints);
}

// ---- apply: lighting and polygon modes ----

TEST(MaterialApply, LinesModeGoesToTheFrontFaceOnly)
{
    TRecordingScene scene;
    scene.states.Enable(stLighting);
    scene.rci.faceCulling = true;
    scene.states.Enable(stCullFace);
    TGLMaterial material(nullptr);
    material.FrontProperties()->SetPolygonMode(pmLines);
    scene.gl.Clear();
    material.Apply(scene.rci);
    EXPECT_EQ(Texts(scene.gl, "glPolygonMode"), (std::vector<std::string>{"glPolygonMode(1028, 6913)"}));
    EXPECT_FALSE(material.UnApply(scene.rci));
}

TEST(MaterialApply, LitFrontSendsMaterialColoursUnlitSendsTheDiffuseColour)
{
    TRecordingScene scene;
    scene.rci.faceCulling = true;
    TGLMaterial material(nullptr);
    material.FrontProperties()->Diffuse()->SetColor({1, 0, 0, 0.5f});
    material.Apply(scene.rci);
    const auto colors = scene.gl.CallsTo("glColor4fv");
    ASSERT_EQ(colors.size(), 1u);
    EXPECT_EQ(colors[0].Data, (std::vector<double>{1, 0, 0, 0.5}));
    EXPECT_EQ(scene.gl.Count("glMaterialfv"), 0);

    scene.gl.Clear();
    scene.states.Enable(stLighting);
    material.Apply(scene.rci);
    EXPECT_EQ(scene.gl.Count("glColor4fv"), 0);
    bool diffuseSent = false;
    for (const TGLCall& call : scene.gl.CallsTo("glMaterialfv")) {
        diffuseSent |= call.Args[0] == GL_FRONT && call.Args[1] == GL_DIFFUSE;
    }
    EXPECT_TRUE(diffuseSent);
}

TEST(MaterialApply, NestedNoLightingRestoresLightingAfterTheOuterOnly)
{
    TRecordingScene scene;
    scene.states.Enable(stLighting);
    TGLMaterial outer(nullptr);
    TGLMaterial inner(nullptr);
    outer.SetMaterialOptions(MaterialOption(moNoLighting));
    inner.SetMaterialOptions(MaterialOption(moNoLighting));
    scene.gl.Clear();

    outer.Apply(scene.rci);
    EXPECT_FALSE(Has(scene.states, stLighting));
    EXPECT_EQ(scene.rci.lightingDisabledCounter, 1);
    inner.Apply(scene.rci);
    EXPECT_EQ(scene.rci.lightingDisabledCounter, 2);
    inner.UnApply(scene.rci);
    EXPECT_FALSE(Has(scene.states, stLighting));
    EXPECT_EQ(scene.rci.lightingDisabledCounter, 1);
    outer.UnApply(scene.rci);
    EXPECT_TRUE(Has(scene.states, stLighting));
    EXPECT_EQ(scene.rci.lightingDisabledCounter, 0);
    EXPECT_EQ(Texts(scene.gl, "glDisable"), (std::vector<std::string>{"glDisable(2896)"}));
    EXPECT_EQ(Texts(scene.gl, "glEnable"), (std::vector<std::string>{"glEnable(2896)"}));
}

TEST(MaterialApply, NoLightingInAnUnlitSceneLeavesLightingOffIgnoreFogNestsLikeLighting)
{
    TRecordingScene scene;
    TGLMaterial material(nullptr);
    material.SetMaterialOptions(MaterialOption(moNoLighting));
    material.Apply(scene.rci);
    material.UnApply(scene.rci);
    EXPECT_FALSE(Has(scene.states, stLighting));
    EXPECT_EQ(scene.rci.lightingDisabledCounter, 0);

    scene.states.Enable(stFog);
    TGLMaterial outer(nullptr);
    TGLMaterial inner(nullptr);
    outer.SetMaterialOptions(MaterialOption(moIgnoreFog));
    inner.SetMaterialOptions(MaterialOption(moIgnoreFog) | MaterialOption(moNoLighting));
    outer.Apply(scene.rci);
    inner.Apply(scene.rci);
    inner.UnApply(scene.rci);
    EXPECT_FALSE(Has(scene.states, stFog));
    outer.UnApply(scene.rci);
    EXPECT_TRUE(Has(scene.states, stFog));
    EXPECT_EQ(scene.rci.fogDisabledCounter, 0);
}

// ---- apply: blending ----

TEST(MaterialApply, BlendingStatesFunctionsAndBlended)
{
    struct Case {
        TBlendingMode mode;
        bool blend, alphaTest;
        std::vector<std::string> apply;   // glBlendFunc and glAlphaFunc calls
        std::vector<std::string> unapply; // glAlphaFunc calls
        bool blended;
    };
    const Case cases[] = {{bmOpaque, false, false, {}, {}, false},
                          {bmTransparency, true, true, {"glBlendFunc(770, 771)"}, {}, true},
                          {bmAdditive, true, true, {"glBlendFunc(770, 1)"}, {}, true},
                          {bmAlphaTest50, false, true, {"glAlphaFunc(518, 0.5)"}, {"glAlphaFunc(516, 0)"}, false},
                          {bmAlphaTest100, false, true, {"glAlphaFunc(518, 1)"}, {"glAlphaFunc(516, 0)"}, false},
                          {bmModulate, true, true, {"glBlendFunc(774, 0)"}, {}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("blending mode " + std::to_string(c.mode));
        TRecordingScene scene;
        scene.states.Enable(stBlend); // the opaque case has to switch it off
        TGLMaterial material(nullptr);
        material.SetBlendingMode(c.mode);
        scene.gl.Clear();
        material.Apply(scene.rci);
        EXPECT_EQ(Has(scene.states, stBlend), c.blend);
        EXPECT_EQ(Has(scene.states, stAlphaTest), c.alphaTest);
        std::vector<std::string> functions = Texts(scene.gl, "glBlendFunc");
        for (const std::string& text : Texts(scene.gl, "glAlphaFunc")) {
            functions.push_back(text);
        }
        EXPECT_EQ(functions, c.apply);
        scene.gl.Clear();
        EXPECT_FALSE(material.UnApply(scene.rci));
        EXPECT_EQ(Texts(scene.gl, "glAlphaFunc"), c.unapply);
        EXPECT_EQ(material.Blended(), c.blended);
    }
}

TEST(MaterialApply, IgnoreBlendingLeavesBlendingAlone)
{
    TRecordingScene scene;
    scene.rci.ignoreBlending = true;
    TGLMaterial material(nullptr);
    material.SetBlendingMode(bmTransparency);
    material.Apply(scene.rci);
    EXPECT_FALSE(Has(scene.states, stBlend));
    EXPECT_EQ(scene.gl.Count("glBlendFunc"), 0);
}

// ---- apply: face culling ----

TEST(MaterialApply, FaceCullingStateAndBackFace)
{
    struct Case {
        bool cullBefore;
        bool bufferCulls; // the render record's faceCulling
        TFaceCulling mode;
        bool cullAfter, backApplied;
    };
    const Case cases[] = {{true, false, fcBufferDefault, false, true}, {true, true, fcBufferDefault, true, false},
                          {true, false, fcCull, true, false},          {true, true, fcNoCull, false, true},
                          {false, true, fcBufferDefault, true, false}, {false, false, fcBufferDefault, false, true},
                          {false, false, fcCull, true, false},         {false, true, fcNoCull, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cullBefore ? "culling" : "not culling") + (c.bufferCulls ? ", buffer culls" : "") +
                     ", mode " + std::to_string(c.mode));
        TRecordingScene scene;
        if (c.cullBefore) {
            scene.states.Enable(stCullFace);
        }
        scene.rci.faceCulling = c.bufferCulls;
        TGLMaterial material(nullptr);
        material.SetFaceCulling(c.mode);
        scene.gl.Clear();
        material.Apply(scene.rci);
        EXPECT_EQ(Has(scene.states, stCullFace), c.cullAfter);
        bool back = false;
        for (const TGLCall& call : scene.gl.CallsTo("glPolygonMode")) {
            back |= call.Args[0] == GL_BACK;
        }
        EXPECT_EQ(back, c.backApplied);
        EXPECT_EQ(material.HasBackProperties(), c.backApplied);
    }
}

// ---- textures in the material ----

TEST(MaterialApply, TextureOnUnitZeroOfTheExtraTexturesReplacesTheMainOne)
{
    TRecordingScene scene;
    GLExt.ARB_multitexture = true;
    scene.gl.Integers[GL_MAX_TEXTURE_UNITS_ARB] = {2};
    scene.rci.faceCulling = true;
    TGLMaterial material(nullptr);
    material.Texture()->SetDisabled(false);
    TGLTextureExItem* unit0 = material.TextureEx()->Add();
    TGLTextureExItem* beyond = material.TextureEx()->Add();
    EXPECT_EQ(unit0->TextureIndex(), 0);
    unit0->Texture()->SetDisabled(false);
    beyond->SetTextureIndex(5);
    beyond->Texture()->SetDisabled(false);
    material.Apply(scene.rci);
    // Only the extra texture on unit 0 made a texture object; unit 5 is beyond the hardware.
    EXPECT_EQ(scene.gl.Count("glGenTextures"), 1);
    EXPECT_EQ(unit0->Texture()->Handle(), 1u);
    EXPECT_EQ(material.Texture()->Handle(), 0u);
    EXPECT_TRUE(unit0->Applied());
    EXPECT_FALSE(beyond->Applied());
    material.UnApply(scene.rci);
    EXPECT_FALSE(unit0->Applied());
    EXPECT_FALSE(Has(scene.states, stTexture2D));
}

// ---- the library link ----

TEST(MaterialLink, LinkedMaterialAppliesTheLibraryMaterial)
{
    TRecordingScene scene;
    scene.rci.faceCulling = true;
    TGLMaterialLibrary library;
    TGLLibMaterial* shared = library.Materials()->Add();
    shared->SetName("Glass");
    shared->Material()->SetBlendingMode(bmAdditive);
    TRecordingComponent object;
    TGLMaterial material(&object);
    material.SetMaterialLibrary(&library);
    material.SetLibMaterialName("Glass");
    EXPECT_EQ(material.LibMaterial(), shared);
    EXPECT_EQ(object.structureChanges, 1);
    EXPECT_TRUE(material.Blended()); // the library material's, whatever its own
    material.Apply(scene.rci);
    EXPECT_EQ(Texts(scene.gl, "glBlendFunc"), (std::vector<std::string>{"glBlendFunc(770, 1)"}));
    EXPECT_FALSE(material.UnApply(scene.rci));

    object.changes.clear();
    shared->Material()->FrontProperties()->SetShininess(10);
    ASSERT_EQ(object.changes.size(), 1u);
    EXPECT_EQ(object.changes[0], &material);
}

TEST(MaterialLink, UnknownNameLeavesTheMaterialOnItsOwn)
{
    TGLMaterialLibrary library;
    TGLMaterial material(nullptr);
    material.SetMaterialLibrary(&library);
    material.SetLibMaterialName("Nothing");
    EXPECT_EQ(material.LibMaterial(), nullptr);
    EXPECT_EQ(material.LibMaterialName(), "Nothing");
    EXPECT_FALSE(material.Blended());
    // The name is looked up again when the material appears.
    library.Materials()->Add()->SetName("Nothing");
    material.SetMaterialLibrary(&library);
    EXPECT_NE(material.LibMaterial(), nullptr);
}

TEST(MaterialLink, CyclicReferencesAreRefusedBeforeAnythingChanges)
{
    TGLMaterialLibrary library;
    TGLLibMaterial* a = library.Materials()->Add();
    TGLLibMaterial* b = library.Materials()->Add();
    a->SetName("A");
    b->SetName("B");
    a->Material()->SetMaterialLibrary(&library);
    a->Material()->SetLibMaterialName("B");
    b->Material()->SetMaterialLibrary(&library);
    EXPECT_EQ(ErrorText<EAssertionFailed>([&] { b->Material()->SetLibMaterialName("A"); })
                  .rfind("Error: Cyclic material reference detected!", 0),
              0u);
    EXPECT_EQ(b->Material()->LibMaterialName(), "");
    EXPECT_EQ(b->Material()->LibMaterial(), nullptr);
}

TEST(MaterialLink, AChainOfSixteenLinksCountsAsACycle)
{
    TGLMaterialLibrary library;
    std::vector<TGLLibMaterial*> chain;
    for (int i = 0; i < 17; ++i) {
        chain.push_back(library.Materials()->Add());
        chain.back()->SetName("M" + std::to_string(i));
        chain.back()->Material()->SetMaterialLibrary(&library);
    }
    // M0 -> M1 -> ... -> M14: fifteen materials in a row.
    for (int i = 0; i < 14; ++i) {
        chain[i]->Material()->SetLibMaterialName("M" + std::to_string(i + 1));
    }
    TGLMaterial fine(nullptr);
    fine.SetMaterialLibrary(&library);
    EXPECT_NO_THROW(fine.SetLibMaterialName("M0"));
    chain[14]->Material()->SetLibMaterialName("M15");
    TGLMaterial tooLong(nullptr);
    tooLong.SetMaterialLibrary(&library);
    EXPECT_THROW(tooLong.SetLibMaterialName("M0"), EAssertionFailed);
}

TEST(MaterialLink, FreeingEitherSideClearsTheOther)
{
    auto library = std::make_unique<TGLMaterialLibrary>();
    TGLLibMaterial* shared = library->Materials()->Add();
    shared->SetName("Wood");
    TGLMaterial linked(nullptr);
    linked.SetMaterialLibrary(library.get());
    linked.SetLibMaterialName("Wood");
    TGLMaterial unmatched(nullptr);
    unmatched.SetMaterialLibrary(library.get());
    unmatched.SetLibMaterialName("Steel");
    {
        TGLMaterial shortLived(nullptr);
        shortLived.SetMaterialLibrary(library.get());
        shortLived.SetLibMaterialName("Wood");
        EXPECT_EQ(shared->Users().size(), 2u);
    }
    EXPECT_EQ(shared->Users().size(), 1u);
    library->Materials()->Delete(0);
    EXPECT_EQ(linked.LibMaterial(), nullptr);
    EXPECT_EQ(linked.LibMaterialName(), "");
    EXPECT_EQ(linked.MaterialLibrary(), nullptr);
    library.reset();
    EXPECT_EQ(unmatched.MaterialLibrary(), nullptr);
}

// ---- assignment ----

TEST(MaterialAssign, CopiesPropertiesAndDropsWhatTheSourceLacks)
{
    TGLMaterial source(nullptr);
    source.SetBlendingMode(bmTransparency);
    source.SetFaceCulling(fcNoCull);
    source.SetMaterialOptions(MaterialOption(moIgnoreFog));
    source.FrontProperties()->SetShininess(30);
    source.Texture()->SetTextureMode(tmReplace);
    TRecordingComponent object;
    TGLMaterial copy(&object);
    copy.BackProperties()->SetShininess(5);
    object.changes.clear();
    copy.Assign(&source);
    EXPECT_EQ(copy.BlendingMode(), bmTransparency);
    EXPECT_EQ(copy.FaceCulling(), fcNoCull);
    EXPECT_EQ(copy.MaterialOptions(), MaterialOption(moIgnoreFog));
    EXPECT_EQ(copy.FrontProperties()->Shininess(), 30);
    EXPECT_FALSE(copy.HasBackProperties());
    ASSERT_TRUE(copy.HasTexture());
    EXPECT_EQ(copy.Texture()->TextureMode(), tmReplace);
    EXPECT_FALSE(object.changes.empty());
    TGLMaterial plain(nullptr);
    copy.Assign(&plain);
    EXPECT_FALSE(copy.HasTexture());
}

} // namespace
