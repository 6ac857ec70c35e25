#include "../WorldTestSupport.h"

#include <cmath>
#include <limits>

using namespace worldtest;

namespace {

struct TEventCounterForView {
    int& calls;
    void Handle(TObject*) { ++calls; }
};

class CameraTest : public WorldFixture {
protected:
    CameraTest()
    {
        camera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(world.CameraRoot());
        world.AddBuffer(&buffer);
        events.Attach(buffer);
    }
    ~CameraTest() override { world.RemoveBuffer(&buffer); }
    // Projects the camera for the 200 x 100 viewport of the frustum examples.
    void Project() { camera->ApplyPerspective({0, 0, 200, 100}, 200, 100, 96); }

    TGLWorld world;
    TGLWorldBuffer buffer{nullptr};
    TBufferEvents events;
    TGLCamera* camera = nullptr;
};

TEST_F(CameraTest, IsACameraThatRaysDoNotHit)
{
    EXPECT_TRUE(camera->IsCamera());
    EXPECT_FALSE(camera->RayCastIntersect({0, 0, 0, 1}, {0, 0, -1, 0}));
}

TEST_F(CameraTest, FocalLengthRepairsOutOfRangeAndNotifiesOnlyOnChange)
{
    struct Case {
        float value, stored;
        int notifications;
    };
    const Case cases[] = {{-5, 1, 1}, {0, 1, 1}, {std::numeric_limits<float>::quiet_NaN(), 1, 1},
                          {50, 50, 0}, {20, 20, 1}, {0.001f, 0.001f, 1}};
    for (const Case& c : cases) {
        camera->SetFocalLength(50);
        camera->AbsoluteMatrixRef(); // as a frame does: no transformation pending
        events.changes = 0;
        camera->SetFocalLength(c.value);
        EXPECT_EQ(camera->FocalLength(), c.stored) << c.value;
        EXPECT_EQ(events.changes, c.notifications) << c.value;
    }
}

TEST_F(CameraTest, ScaleBiasAndStyleSettersRepairAndNotifyOnce)
{
    camera->SetSceneScale(0);
    EXPECT_EQ(camera->SceneScale(), 1);
    EXPECT_EQ(events.changes, 0) << "0 becomes 1, which is the value already";
    camera->SetSceneScale(2);
    camera->SetSceneScale(2);
    EXPECT_EQ(events.changes, 1);
    camera->SetNearPlaneBias(-3);
    EXPECT_EQ(camera->NearPlaneBias(), 1);
    camera->SetNearPlaneBias(0.5f);
    EXPECT_EQ(events.changes, 2);
    camera->SetCameraStyle(csOrthogonal);
    camera->SetCameraStyle(csOrthogonal);
    EXPECT_EQ(events.changes, 3);
    camera->AbsoluteMatrixRef(); // as a frame does: no transformation pending
    camera->SetDepthOfView(100);
    EXPECT_EQ(events.changes, 3);
    camera->SetDepthOfView(250);
    EXPECT_EQ(events.changes, 4);
}

TEST_F(CameraTest, FieldOfViewTakesOnlyAnglesThatGiveALensAndConverts)
{
    for (float angle : {0.0f, -10.0f, 180.0f, 200.0f, std::numeric_limits<float>::quiet_NaN()}) {
        camera->SetFocalLength(50);
        camera->SetFieldOfView(angle, 100);
        EXPECT_EQ(camera->FocalLength(), 50) << "unchanged for " << angle;
    }
    for (float angle : {159.017f, 1.0f, 179.9f}) {
        camera->SetFocalLength(50);
        camera->SetFieldOfView(angle, 100);
        EXPECT_TRUE(std::isfinite(camera->FocalLength())) << angle;
        EXPECT_GT(camera->FocalLength(), 0) << angle;
        EXPECT_NE(camera->FocalLength(), 50) << angle;
    }
    camera->SetFocalLength(50);
    EXPECT_NEAR(camera->GetFieldOfView(100), 90, 1e-4);
    camera->SetFieldOfView(60, 200);
    EXPECT_NEAR(camera->FocalLength(), 200 / (2 * std::tan(M_PI / 6)), 1e-3);
    EXPECT_NEAR(camera->GetFieldOfView(200), 60, 1e-3);
}

// The 200 x 100 viewport of the frustum examples, DPI 96, focal length 50.
constexpr double Near = 50.0 * 2 * 96 / (25.4 * 200);

TEST_F(CameraTest, PerspectiveFrustumForAViewportOrNone)
{
    Project();
    const auto calls = Calls("glFrustum");
    ASSERT_EQ(calls.size(), 1u);
    const std::vector<double>& a = calls[0].Args;
    EXPECT_NEAR(a[0], -0.5, 1e-6);
    EXPECT_NEAR(a[1], 0.5, 1e-6);
    EXPECT_NEAR(a[2], -0.25, 1e-6);
    EXPECT_NEAR(a[3], 0.25, 1e-6);
    EXPECT_NEAR(a[4], 1.8898, 1e-4);
    EXPECT_NEAR(a[4], Near, 1e-6);
    EXPECT_NEAR(a[5], Near + 100, 1e-4);
    EXPECT_NEAR(camera->NearPlane(), Near, 1e-6);
    EXPECT_NEAR(camera->ViewPortRadius(), std::sqrt(0.25 + 0.0625) / Near, 1e-5);
    // The right half of a 200 x 100 window shifts the frustum.
    camera->ApplyPerspective({100, 0, 100, 100}, 200, 100, 96);
    const auto b = Calls("glFrustum").at(1).Args;
    EXPECT_NEAR(b[0], 0, 1e-6) << "left edge at the centre";
    EXPECT_NEAR(b[1], 0.5, 1e-6);
    // An empty viewport projects nothing.
    camera->ApplyPerspective({0, 0, 0, 100}, 0, 100, 96);
    camera->ApplyPerspective({0, 0, 100, 0}, 100, 0, 96);
    EXPECT_EQ(Count("glFrustum"), 2);
}

TEST_F(CameraTest, OrthogonalUsesTheFocalLengthInItsScale)
{
    camera->SetCameraStyle(csOrthogonal);
    Project();
    ASSERT_EQ(Count("glFrustum"), 0);
    const auto a = Calls("glOrtho").at(0).Args;
    EXPECT_NEAR(a[0], -0.5 * 100 / 50, 1e-6);
    EXPECT_NEAR(a[1], 0.5 * 100 / 50, 1e-6);
    EXPECT_NEAR(a[3], 0.25 * 100 / 50, 1e-6);
    EXPECT_NEAR(a[4], Near, 1e-6);
}

TEST_F(CameraTest, Ortho2DCoversThePixels)
{
    camera->SetCameraStyle(csOrtho2D);
    Project();
    const auto calls = Calls("gluOrtho2D");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Args, (std::vector<double>{0, 200, 0, 100}));
    EXPECT_EQ(camera->NearPlane(), -1);
    EXPECT_NEAR(camera->ViewPortRadius(), std::sqrt(200.0 * 200 + 100 * 100) / 2, 1e-3);
}

TEST_F(CameraTest, InfinitePerspectiveMultipliesItsMatrix)
{
    camera->SetCameraStyle(csInfinitePerspective);
    Project();
    const auto calls = Calls("glMultMatrixf");
    ASSERT_EQ(calls.size(), 1u);
    const std::vector<double>& m = calls[0].Data;
    ASSERT_EQ(m.size(), 16u);
    EXPECT_NEAR(m[0], 2 * Near / 1.0, 1e-5);
    EXPECT_NEAR(m[5], 2 * Near / 0.5, 1e-5);
    EXPECT_NEAR(m[10], 0.0001 - 1, 1e-7);
    EXPECT_EQ(m[11], -1);
    EXPECT_NEAR(m[14], (0.0001 - 2) * Near, 1e-5);
    EXPECT_EQ(m[15], 0);
}

TEST_F(CameraTest, CustomStyleHandsTheRadiusToItsHandler)
{
    camera->SetCameraStyle(csCustom);
    float seen = 0;
    camera->OnCustomPerspective = [&](const TRectangle&, int w, int h, int dpi, float& radius) {
        EXPECT_EQ(w, 200);
        EXPECT_EQ(h, 100);
        EXPECT_EQ(dpi, 96);
        seen = radius;
        radius = 7;
    };
    Project();
    EXPECT_NEAR(seen, std::sqrt(50000.0) / 2, 1e-3);
    EXPECT_EQ(camera->ViewPortRadius(), 7);
    EXPECT_EQ(Count("glFrustum") + Count("glOrtho"), 0);
}

TEST_F(CameraTest, LooksAlongItsDirectionOrAtItsTargetWhileItLives)
{
    camera->Position().SetPoint(1, 2, 3);
    camera->Apply();
    ASSERT_EQ(Count("gluLookAt"), 1);
    EXPECT_EQ(Calls("gluLookAt")[0].Args, (std::vector<double>{1, 2, 3, 1, 2, 2, 0, 1, 0}));
    EXPECT_EQ(camera->LastDirection().Z, -1);
    camera->Position().SetPoint(0, 0, 0);
    recorder.Clear();
    auto* target = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    target->Position().SetPoint(10, 0, 0);
    camera->SetTargetObject(target);
    camera->Apply();
    auto calls = Calls("gluLookAt");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Args, (std::vector<double>{0, 0, 0, 10, 0, 0, 0, 1, 0}));
    EXPECT_EQ(camera->LastDirection().X, 1);
    delete target;
    EXPECT_EQ(camera->TargetObject(), nullptr);
    recorder.Clear();
    camera->Apply();
    calls = Calls("gluLookAt");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Args, (std::vector<double>{0, 0, 0, 0, 0, -1, 0, 1, 0})) << "along its Direction again";
}

TEST_F(CameraTest, ACustomViewHandlerReplacesTheLookAt)
{
    int calls = 0;
    TEventCounterForView counter{calls};
    camera->OnCustomView = MakeDelegate<&TEventCounterForView::Handle>(&counter);
    camera->Apply();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Count("gluLookAt"), 0);
}

} // namespace
