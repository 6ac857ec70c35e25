#include "WorldTestSupport.h"

#include "platform/core/Exceptions.h"
#include "scene/graph/FogEnvironment.h"

#include <GL/glext.h>

using namespace worldtest;

namespace {

TEST(LightSource, SpotCutOffAcceptsZeroToNinetyOrExactly180)
{
    const std::pair<float, float> cases[] = {{120, 60}, {180, 180}, {45, 45},   {0, 0},
                                             {90, 90},  {90.5f, 60}, {-1, 60}, {179.9f, 60}};
    for (const auto& [value, stored] : cases) {
        TGLLightSource light;
        light.SetSpotCutOff(60);
        light.SetSpotCutOff(value);
        EXPECT_EQ(light.SpotCutOff(), stored) << value;
    }
}

TEST(LightSource, DirectionIsAlwaysADirectionAndThereIsNoDisplayList)
{
    TGLLightSource light;
    TGLCoordinates direction(nullptr, {1, 0, 0, 1}, TGLCoordinatesStyle::csUnknown);
    light.SetSpotDirection(direction);
    EXPECT_EQ(light.SpotDirection().AsVector().W, 0);
    EXPECT_EQ(light.SpotDirection().AsVector().X, 1);
    EXPECT_EQ(light.LightID(), 0u);
    TRenderContextInfo rci{};
    EXPECT_EQ(light.GetHandle(rci), 0u) << "no display list";
}

class LightInScene : public WorldFixture {
protected:
    LightInScene()
    {
        light = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
        world.AddBuffer(&buffer);
        events.Attach(buffer);
    }
    ~LightInScene() override { world.RemoveBuffer(&buffer); }
    TGLWorld world;
    TGLWorldBuffer buffer{nullptr};
    TBufferEvents events;
    TGLLightSource* light = nullptr;
};

TEST_F(LightInScene, SettersNotifyOnlyOnChange)
{
    light->SetShining(true);
    light->SetLightStyle(lsSpot);
    light->SetSpotExponent(0);
    light->SetLinearAttenuation(0);
    light->SetSpotCutOff(120);
    EXPECT_EQ(events.changes, 0);
    light->SetShining(false);
    light->SetLightStyle(lsOmni);
    light->SetSpotExponent(2);
    light->SetQuadraticAttenuation(0.5f);
    EXPECT_EQ(events.changes, 4);
    light->Diffuse().SetColor(ColorRed);
    EXPECT_GE(events.changes, 5) << "a colour change reaches the buffer";
}

// ---- Fog ----

class FogTest : public WorldFixture {
protected:
    TGLWorldBuffer buffer{nullptr};
};

TEST_F(FogTest, BelongsToItsBuffer)
{
    EXPECT_EQ(buffer.FogEnvironment().Buffer(), &buffer);
    EXPECT_TRUE(buffer.FogEnvironment().IsAtDefaultValues());
    EXPECT_THROW(TGLFogEnvironment(nullptr), EAssertionFailed) << "only a buffer can own fog";
}

TEST_F(FogTest, SettersReachTheBufferAndAssignCopies)
{
    TBufferEvents events;
    events.Attach(buffer);
    TGLFogEnvironment& fog = buffer.FogEnvironment();
    fog.SetFogStart(10);
    EXPECT_EQ(events.changes, 0);
    fog.SetFogStart(5);
    fog.SetFogEnd(50);
    fog.SetFogMode(fmExp2);
    fog.SetFogDistance(fdEyePlane);
    EXPECT_EQ(events.changes, 4);
    EXPECT_FALSE(fog.IsAtDefaultValues());
    TGLWorldBuffer other(nullptr);
    other.FogEnvironment().Assign(&fog);
    EXPECT_EQ(other.FogEnvironment().FogEnd(), 50);
    EXPECT_EQ(other.FogEnvironment().FogMode(), fmExp2);
    EXPECT_EQ(other.FogEnvironment().FogDistance(), fdEyePlane);
    fog.SetFogColor(nullptr);
    EXPECT_EQ(events.changes, 4) << "a nil colour is ignored";
}

TEST_F(FogTest, ApplyNeedsTheBuffersContext)
{
    recorder.Clear();
    buffer.FogEnvironment().ApplyFog();
    EXPECT_EQ(recorder.Calls().size(), 0u);
}

struct FogModeCase {
    TFogMode mode;
    GLint glMode;
    bool density;
};

class FogModes : public FogTest, public ::testing::WithParamInterface<FogModeCase> {};

TEST_P(FogModes, SetTheModeDensityColourAndRange)
{
    buffer.CreateRC(0, true);
    TGLFogEnvironment& fog = buffer.FogEnvironment();
    fog.SetFogMode(GetParam().mode);
    fog.FogColor().SetColor({0.1f, 0.2f, 0.3f, 0.25f});
    recorder.Clear();
    fog.ApplyFog();
    EXPECT_NE(IndexOf("glFogi(" + std::to_string(GL_FOG_MODE) + ", " + std::to_string(GetParam().glMode) + ")"), -1);
    int densities = 0;
    for (const TGLCall& call : Calls("glFogf")) {
        if (call.Args[0] == GL_FOG_DENSITY) {
            ++densities;
            EXPECT_EQ(call.Args[1], 0.25f);
        }
    }
    EXPECT_EQ(densities, GetParam().density ? 1 : 0);
    EXPECT_EQ(Calls("glFogfv").at(0).Data, (std::vector<double>{0.1f, 0.2f, 0.3f, 0.25f}));
    EXPECT_FALSE(buffer.RenderingContext()->Active()) << "activated only around the calls";
}

INSTANTIATE_TEST_SUITE_P(Table, FogModes,
                         ::testing::Values(FogModeCase{fmLinear, GL_LINEAR, false}, FogModeCase{fmExp, GL_EXP, true},
                                           FogModeCase{fmExp2, GL_EXP2, true}));

TEST_F(FogTest, DistanceModeIsRememberedAndRestored)
{
    recorder.Extensions = "GL_NV_fog_distance";
    recorder.Integers[GL_FOG_DISTANCE_MODE_NV] = {GL_EYE_PLANE_ABSOLUTE_NV};
    ReadGLVersionAndExtensions();
    ResetDefaultFogDistanceMode();
    buffer.CreateRC(0, true);
    TGLFogEnvironment& fog = buffer.FogEnvironment();
    fog.ApplyFog();
    EXPECT_EQ(DefaultFogDistanceMode(), GL_EYE_PLANE_ABSOLUTE_NV) << "read the first time";
    fog.SetFogDistance(fdEyeRadial);
    recorder.Clear();
    fog.ApplyFog();
    EXPECT_NE(IndexOf("glFogi(" + std::to_string(GL_FOG_DISTANCE_MODE_NV) + ", " + std::to_string(GL_EYE_RADIAL_NV) + ")"),
              -1);
    fog.SetFogDistance(fdDefault);
    recorder.Clear();
    fog.ApplyFog();
    EXPECT_NE(IndexOf("glFogi(" + std::to_string(GL_FOG_DISTANCE_MODE_NV) + ", " +
                      std::to_string(GL_EYE_PLANE_ABSOLUTE_NV) + ")"),
              -1)
        << "the remembered default comes back";
    ResetDefaultFogDistanceMode();
    recorder.Extensions.clear();
    ReadGLVersionAndExtensions();
}

} // namespace
