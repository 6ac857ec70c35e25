#include "platform/core/Exceptions.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

constexpr TVector Black = {0, 0, 0, 1};
constexpr TVector Red = {1, 0, 0, 1};
constexpr TVector Gray = {0.5f, 0.5f, 0.5f, 1};

TEST(GLStateCache, EnableAndDisableReachOpenGLOnlyOnChange)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.Disable(stBlend); // fresh cache: already off
    cache.Enable(stBlend);
    cache.Enable(stBlend);
    cache.Disable(stBlend);
    cache.Disable(stBlend);
    EXPECT_EQ(gl.Texts(), (Texts{"glEnable(3042)", "glDisable(3042)"}));
    // each state maps to its OpenGL constant
    const std::pair<TGLState, GLenum> cases[] = {{stAlphaTest, 0x0BC0},   {stLogicOp, 0x0BF1},
                                                 {stNormalize, 0x0BA1},   {stScissorTest, 0x0C11},
                                                 {stTexture2D, 0x0DE1},   {stTextureCubeMap, 0x8513},
                                                 {stTextureRect, 0x84F5}};
    for (const auto& [state, expected] : cases) {
        TGLStateCache fresh;
        gl.Clear();
        fresh.Enable(state);
        ASSERT_EQ(gl.Calls().size(), 1u) << state;
        EXPECT_EQ(gl.Calls()[0].Args[0], expected) << state;
        EXPECT_EQ(fresh.States(), StateBit(state)) << state;
    }
}

TEST(GLStateCache, PolygonModeComparesEachFace)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.SetPolygonMode(GL_FRONT, GL_LINE);
    cache.SetPolygonMode(GL_FRONT, GL_LINE);
    cache.SetPolygonMode(GL_FRONT_AND_BACK, GL_LINE); // the back face differed
    cache.SetPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    cache.SetPolygonMode(GL_BACK, GL_LINE);
    cache.SetPolygonMode(GL_LEFT, GL_FILL); // not a face
    EXPECT_EQ(gl.Texts(), (Texts{"glPolygonMode(1028, 6913)", "glPolygonMode(1032, 6913)"}));
    cache.ResetPolygonMode();
    gl.Clear();
    cache.SetPolygonMode(GL_BACK, GL_LINE);
    EXPECT_EQ(gl.Texts(), (Texts{"glPolygonMode(1029, 6913)"}));
}

TEST(GLStateCache, MaterialColorsSendOnlyWhatChanged)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.ResetMaterials();
    gl.Clear();
    cache.SetMaterialColors(GL_FRONT, Black, Gray, Red, Black, 10);
    // After a reset every colour is sent, even black emission that OpenGL already holds.
    EXPECT_EQ(gl.Texts(), (Texts{"glMateriali(1028, 5633, 10)", "glMaterialfv(1028, 5632, @)",
                                 "glMaterialfv(1028, 4608, @)", "glMaterialfv(1028, 4609, @)",
                                 "glMaterialfv(1028, 4610, @)"}));
    EXPECT_EQ(gl.Calls()[3].Data, (std::vector<double>{1, 0, 0, 1}));
    gl.Clear();

    // Only the alpha of emission, ambient and specular changes: nothing is sent.
    cache.SetMaterialColors(GL_FRONT, {0, 0, 0, 0.5f}, {0.5f, 0.5f, 0.5f, 0}, Red, {0, 0, 0, 0.25f}, 10);
    EXPECT_TRUE(gl.Calls().empty());
    // The diffuse alpha does count.
    cache.SetMaterialColors(GL_FRONT, Black, Gray, {1, 0, 0, 0.5f}, Black, 10);
    EXPECT_EQ(gl.Texts(), (Texts{"glMaterialfv(1028, 4609, @)"}));
    // The back face has its own cache.
    gl.Clear();
    cache.SetMaterialColors(GL_BACK, Black, Gray, Red, Black, 10);
    EXPECT_EQ(gl.Calls().size(), 5u);
}

TEST(GLStateCache, MaterialAlphaResendsTheCachedDiffuse)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.SetMaterialColors(GL_FRONT, Black, Gray, Red, Black, 0);
    gl.Clear();
    cache.SetMaterialAlpha(GL_FRONT, 1);
    EXPECT_TRUE(gl.Calls().empty());
    cache.SetMaterialAlpha(GL_FRONT, 0.25f);
    ASSERT_EQ(gl.Calls().size(), 1u);
    EXPECT_EQ(gl.Calls()[0].Text, "glMaterialfv(1028, 4609, @)");
    EXPECT_EQ(gl.Calls()[0].Data, (std::vector<double>{1, 0, 0, 0.25}));
}

TEST(GLStateCache, FrontAndBackMaterialUpdatesBothFacesWithoutOverrunningTheCache)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.SetMaterialColors(GL_FRONT_AND_BACK, Black, Gray, Red, Black, 5);
    EXPECT_EQ(gl.Count("glMateriali"), 2);
    gl.Clear();
    cache.SetMaterialColors(GL_FRONT, Black, Gray, Red, Black, 5);
    cache.SetMaterialColors(GL_BACK, Black, Gray, Red, Black, 5);
    EXPECT_TRUE(gl.Calls().empty());
    cache.SetMaterialColors(GL_LEFT, Black, Black, Black, Black, 1);
    EXPECT_TRUE(gl.Calls().empty());
}

TEST(GLStateCache, ResetMaterialsSendsOpenGLDefaults)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.ResetMaterials();
    const auto calls = gl.CallsTo("glMaterialfv");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].Args[1], GL_AMBIENT);
    EXPECT_NEAR(calls[0].Data[0], 0.2, 1e-6);
    EXPECT_EQ(calls[1].Args[1], GL_DIFFUSE);
    EXPECT_NEAR(calls[1].Data[0], 0.8, 1e-6);
    EXPECT_EQ(gl.CallsTo("glMateriali")[0].Text, "glMateriali(1032, 5633, 0)");
}

TEST(GLStateCache, TextureBindingsAreCachedPerSlot)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.SetTextureBinding(0, GL_TEXTURE_2D, 0); // fresh cache holds 0
    EXPECT_TRUE(gl.Calls().empty());
    cache.SetTextureBinding(0, GL_TEXTURE_2D, 7);
    cache.SetTextureBinding(0, GL_TEXTURE_2D, 7);
    cache.SetTextureBinding(1, GL_TEXTURE_2D, 7);
    EXPECT_EQ(gl.Texts(), (Texts{"glBindTexture(3553, 7)", "glBindTexture(3553, 7)"}));
    cache.ResetTextureBindings();
    gl.Clear();
    cache.SetTextureBinding(0, GL_TEXTURE_2D, 0);
    EXPECT_EQ(gl.Texts(), (Texts{"glBindTexture(3553, 0)"}));
    EXPECT_THROW(cache.SetTextureBinding(8, GL_TEXTURE_2D, 1), EAssertionFailed);
}

TEST(GLStateCache, TextureMatrixIsResetOnlyWhenSet)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.ResetTextureMatrix();
    EXPECT_TRUE(gl.Calls().empty());
    TMatrix m{};
    m.V[3].X = 2;
    cache.SetTextureMatrix(m);
    EXPECT_FALSE(cache.TextureMatrixIsIdentity());
    cache.ResetTextureMatrix();
    cache.ResetTextureMatrix();
    EXPECT_EQ(gl.Texts(), (Texts{"glMatrixMode(5890)", "glLoadMatrixf(@)", "glMatrixMode(5888)", "glMatrixMode(5890)",
                                 "glLoadIdentity()", "glMatrixMode(5888)"}));
    EXPECT_EQ(gl.Calls()[1].Data[12], 2);
}

TEST(GLStateCache, FrontFaceTogglesAndResets)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.InvertFrontFace();
    cache.InvertFrontFace();
    cache.InvertFrontFace();
    cache.ResetFrontFace();
    EXPECT_TRUE(cache.FrontFaceCCW());
    EXPECT_EQ(gl.Texts(), (Texts{"glFrontFace(2304)", "glFrontFace(2305)", "glFrontFace(2304)", "glFrontFace(2305)"}));
}

TEST(GLStateCache, ResetAllKeepsTheEnables)
{
    TGLRecorder gl;
    TGLStateCache cache;
    cache.Enable(stLighting);
    cache.SetPolygonMode(GL_FRONT, GL_LINE);
    cache.ResetAll();
    EXPECT_EQ(cache.States(), StateBit(stLighting));
    gl.Clear();
    cache.Enable(stLighting);
    cache.SetPolygonMode(GL_FRONT, GL_LINE);
    cache.SetTextureBinding(3, GL_TEXTURE_2D, 0);
    EXPECT_EQ(gl.Texts(), (Texts{"glPolygonMode(1028, 6913)", "glBindTexture(3553, 0)"}));
}

} // namespace
