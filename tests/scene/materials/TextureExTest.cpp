#include "../TextureTestSupport.h"
#include "../UpdateAbleTestSupport.h"

#include "scene/materials/Material.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/materials/TextureEx.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using texturetest::TRecordingScene;

TEST(TextureEx, ItemsStartOnTheUnitOfTheirIdAndNameIt)
{
    TGLMaterial material(nullptr);
    TGLTextureEx& extra = *material.TextureEx();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(extra.Add()->TextureIndex(), i);
    }
    extra.Delete(0);
    TGLTextureExItem* fourth = extra.Add();
    EXPECT_EQ(fourth->TextureIndex(), 3);
    EXPECT_EQ(fourth->DisplayName(), "Tex [3]");
    fourth->SetTextureIndex(6);
    EXPECT_EQ(fourth->DisplayName(), "Tex [6]");
    EXPECT_EQ(fourth->Material(), &material);
    EXPECT_TRUE(material.StoreTextureEx());
}

TEST(TextureEx, OffsetAndScaleMakeTheMatrix)
{
    struct Case {
        TVector offset, scale;
        bool identity;
    };
    const Case cases[] = {{{0, 0, 0, 0}, {1, 1, 1, 0}, true},
                          {{0.5f, 0, 0, 0}, {1, 1, 1, 0}, false},
                          {{0, 0, 0, 0}, {2, 3, 1, 0}, false},
                          {{0, 0, 0, 0}, {1, 1, 1, 1}, false}, // W counts
                          {{0.25f, 0.75f, 0, 0}, {4, 4, 1, 0}, false}};
    for (const Case& c : cases) {
        TGLMaterial material(nullptr);
        TGLTextureExItem* item = material.TextureEx()->Add();
        EXPECT_TRUE(item->TextureMatrixIsIdentity());
        item->TextureOffset()->SetVector(c.offset.X, c.offset.Y, c.offset.Z, c.offset.W);
        item->TextureScale()->SetVector(c.scale.X, c.scale.Y, c.scale.Z, c.scale.W);
        ASSERT_EQ(item->TextureMatrixIsIdentity(), c.identity) << c.offset.X << " " << c.scale.X;
        const TMatrix& m = item->TextureMatrix();
        EXPECT_EQ((std::array<float, 4>{m.V[0].X, m.V[1].Y, m.V[3].X, m.V[3].Y}),
                  (std::array<float, 4>{c.scale.X, c.scale.Y, c.offset.X, c.offset.Y}));
    }
}

TEST(TextureEx, ChangesReachTheObject)
{
    TRecordingComponent object;
    TGLMaterial material(&object);
    TGLTextureExItem* item = material.TextureEx()->Add();
    object.changes.clear();
    item->TextureScale()->SetVector(2, 2, 1, 0);
    EXPECT_FALSE(object.changes.empty());
    const int structures = object.structureChanges;
    item->Texture()->SetDisabled(false);
    EXPECT_EQ(object.structureChanges, structures + 1);
    EXPECT_TRUE(material.TextureEx()->IsTextureEnabled(0));
    EXPECT_FALSE(material.TextureEx()->IsTextureEnabled(1));
}

TEST(TextureEx, NothingWithoutMultitexturing)
{
    TRecordingScene scene;
    GLExt.ARB_multitexture = false;
    TGLMaterial material(nullptr);
    material.TextureEx()->Add()->Texture()->SetDisabled(false);
    scene.gl.Clear();
    material.TextureEx()->Apply(scene.rci);
    EXPECT_TRUE(scene.gl.Calls().empty());
}

TEST(TextureEx, ItemsPushTheirMatrixOnTheirUnitAndAddUserUnitsToTheRouter)
{
    TRecordingScene scene;
    GLExt.ARB_multitexture = true;
    AllowSecondTexUnit();
    scene.gl.Integers[GL_MAX_TEXTURE_UNITS_ARB] = {4};
    TGLMaterial material(nullptr);
    TGLTextureExItem* disabled = material.TextureEx()->Add();
    TGLTextureExItem* second = material.TextureEx()->Add();
    second->Texture()->SetDisabled(false);
    second->TextureScale()->SetVector(2, 2, 1, 0);
    MapTexCoordToUnit0();
    scene.gl.Clear();
    material.TextureEx()->Apply(scene.rci);
    EXPECT_FALSE(disabled->Applied());
    EXPECT_TRUE(second->Applied());
    const auto units = scene.gl.CallsTo("glActiveTextureARB");
    ASSERT_GE(units.size(), 3u);
    EXPECT_EQ(units[0].Args[0], GL_TEXTURE1_ARB);
    EXPECT_EQ(scene.gl.Count("glPushMatrix"), 1);
    const auto loads = scene.gl.CallsTo("glLoadMatrixf");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].Data[0], 2);
    EXPECT_EQ(MappedTexUnitsMask(), 0b11u);

    scene.gl.Clear();
    material.TextureEx()->UnApply(scene.rci);
    EXPECT_FALSE(second->Applied());
    EXPECT_EQ(scene.gl.Count("glPopMatrix"), 1);
    EXPECT_EQ(scene.gl.CallsTo("glActiveTextureARB").back().Args[0], GL_TEXTURE0_ARB);
    MapTexCoordNowhere();
}

} // namespace
