#include "platform/core/Exceptions.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class TexCoordRouterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSavedExt = GLExt;
        GLExt.ARB_multitexture = true;
        AllowSecondTexUnit();
        MapTexCoordNowhere();
        MapTexCoordToUnit0(); // picks up the recording table
        MapTexCoordNowhere();
        gl.Clear();
    }
    void TearDown() override
    {
        MapTexCoordNowhere();
        AllowSecondTexUnit();
        GLExt = FSavedExt;
    }

    TGLRecorder gl;
    TGLExtensionFlags FSavedExt;
};

TEST_F(TexCoordRouterTest, NowhereCallsNothingAndHasNoMask)
{
    TexCoordRouter.TexCoord2f(1, 2);
    TexCoordRouter.Enable(GL_TEXTURE_2D);
    TexCoordRouter.TexCoordPointer(2, GL_FLOAT, 0, nullptr);
    EXPECT_TRUE(gl.Calls().empty());
    EXPECT_EQ(CurrentTexCoordMode(), mtcmNull);
    EXPECT_THROW(MappedTexUnitsMask(), EAssertionFailed);
}

TEST_F(TexCoordRouterTest, UnitZeroCallsThePlainProcedures)
{
    MapTexCoordToUnit0();
    TexCoordRouter.TexCoord2f(1, 2);
    TexCoordRouter.TexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    TexCoordRouter.Disable(GL_TEXTURE_2D);
    EXPECT_EQ(gl.Texts(), (Texts{"glTexCoord2f(1, 2)", "glTexGeni(8192, 9472, 9218)", "glDisable(3553)"}));
    EXPECT_EQ(MappedTexUnitsMask(), 1u);
}

TEST_F(TexCoordRouterTest, UnitOneUsesMultiTexCoordAndReturnsToUnitZero)
{
    MapTexCoordToUnit1();
    TexCoordRouter.TexCoord3f(1, 2, 3);
    TexCoordRouter.Enable(GL_TEXTURE_2D);
    TexCoordRouter.EnableClientState(GL_TEXTURE_COORD_ARRAY);
    EXPECT_EQ(gl.Texts(),
              (Texts{"glMultiTexCoord3fARB(33985, 1, 2, 3)", "glActiveTextureARB(33985)", "glEnable(3553)",
                     "glActiveTextureARB(33984)", "glClientActiveTextureARB(33985)", "glEnableClientState(32888)",
                     "glClientActiveTextureARB(33984)"}));
    EXPECT_EQ(MappedTexUnitsMask(), 2u);
}

TEST_F(TexCoordRouterTest, DualFeedsBothUnits)
{
    MapTexCoordToUnits01();
    const GLfloat st[2] = {0.5f, 0.25f};
    TexCoordRouter.TexCoord2fv(st);
    TexCoordRouter.Disable(GL_TEXTURE_2D);
    EXPECT_EQ(gl.Texts(), (Texts{"glTexCoord2fv(@)", "glMultiTexCoord2fvARB(33985, @)", "glDisable(3553)",
                                 "glActiveTextureARB(33985)", "glDisable(3553)", "glActiveTextureARB(33984)"}));
    EXPECT_EQ(gl.Calls()[1].Data, (std::vector<double>{0.5, 0.25}));
    EXPECT_EQ(MappedTexUnitsMask(), 3u);
}

TEST_F(TexCoordRouterTest, ArbitraryListFeedsEachUnitAndEndsOnUnitZero)
{
    MapTexCoordToUnitMask(0b101);
    EXPECT_EQ(MappedTexUnitList(), (std::vector<GLenum>{GL_TEXTURE0_ARB, GL_TEXTURE2_ARB}));
    TexCoordRouter.TexCoord2f(1, 0);
    TexCoordRouter.TexCoordPointer(2, GL_FLOAT, 0, nullptr);
    EXPECT_EQ(gl.Texts(), (Texts{"glMultiTexCoord2fARB(33984, 1, 0)", "glMultiTexCoord2fARB(33986, 1, 0)",
                                 "glClientActiveTextureARB(33984)", "glTexCoordPointer(2, 5126, 0, @)",
                                 "glClientActiveTextureARB(33986)", "glTexCoordPointer(2, 5126, 0, @)",
                                 "glClientActiveTextureARB(33984)"}));
    EXPECT_EQ(MappedTexUnitsMask(), 5u);
    // A new list is read by the procedures at once.
    MapTexCoordToUnitList({GL_TEXTURE3_ARB});
    gl.Clear();
    TexCoordRouter.TexCoord2f(0, 0);
    EXPECT_EQ(gl.Texts(), (Texts{"glMultiTexCoord2fARB(33987, 0, 0)"}));
    MapTexCoordToUnitMaskAdd(0b10);
    EXPECT_EQ(MappedTexUnitsMask(), 0b1010u);
}

TEST_F(TexCoordRouterTest, ForbiddenSecondUnitFallsBackAndIsLeftOutOfTheMask)
{
    ForbidSecondTexUnit();
    const std::pair<void (*)(), TMapTexCoordMode> cases[] = {{MapTexCoordToUnit1, mtcmNull},
                                                             {MapTexCoordToUnits01, mtcmMain},
                                                             {[] { MapTexCoordToUnitMask(3); }, mtcmArbitrary}};
    for (int i = 0; i < 3; ++i) {
        MapTexCoordNowhere();
        cases[i].first();
        EXPECT_EQ(CurrentTexCoordMode(), cases[i].second) << "case " << i;
    }
    EXPECT_EQ(MappedTexUnitsMask(), 1u);
    EXPECT_EQ(MappedTexUnitList(), (std::vector<GLenum>{GL_TEXTURE0_ARB}));
}

TEST_F(TexCoordRouterTest, UpdateAppliesOnlyTheLastRequest)
{
    TexCoordMapBeginUpdate();
    TexCoordMapBeginUpdate();
    MapTexCoordToUnit1();
    EXPECT_EQ(MappedTexUnitsMask(), 2u); // the pending mode
    MapTexCoordToUnit0();
    TexCoordMapEndUpdate();
    EXPECT_EQ(CurrentTexCoordMode(), mtcmNull); // still nested
    TexCoordMapEndUpdate();
    EXPECT_EQ(CurrentTexCoordMode(), mtcmMain);
    TexCoordRouter.TexCoord2f(1, 1);
    EXPECT_EQ(gl.Texts(), (Texts{"glTexCoord2f(1, 1)"}));
    EXPECT_THROW(TexCoordMapEndUpdate(), EAssertionFailed);
}

TEST_F(TexCoordRouterTest, MaskAddInsideAnUpdateStartsFromThePendingMode)
{
    MapTexCoordToUnit0();
    TexCoordMapBeginUpdate();
    MapTexCoordToUnitMaskAdd(0b100);
    TexCoordMapEndUpdate();
    EXPECT_EQ(MappedTexUnitsMask(), 0b101u);
}

TEST_F(TexCoordRouterTest, WithoutMultitextureTheSwitchFailsAndChangesNothing)
{
    GLExt.ARB_multitexture = false;
    MapTexCoordToUnit0();
    EXPECT_THROW(MapTexCoordToUnit1(), EAssertionFailed);
    EXPECT_THROW(MapTexCoordToUnits01(), EAssertionFailed);
    EXPECT_EQ(CurrentTexCoordMode(), mtcmMain);
    TexCoordRouter.TexCoord2f(2, 3);
    EXPECT_EQ(gl.Texts(), (Texts{"glTexCoord2f(2, 3)"}));
    // With the extension back, the switch works: the mode was not left half-set.
    GLExt.ARB_multitexture = true;
    MapTexCoordToUnit1();
    EXPECT_EQ(CurrentTexCoordMode(), mtcmSecond);
}

} // namespace
