#include "../support/DemoScene.h"

#include "scene/materials/GLBitmap32.h"
#include "scene/graph/NonVisualViewer.h"
#include "scene/viewer/GLX11Context.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace {

using testsupport::TDemoScene;

using Rgb = std::array<int, 3>;

// Row 0 of a snapshot is the bottom row, as OpenGL reads it.
Rgb PixelAt(const TGLBitmap32& shot, int x, int y)
{
    const std::uint8_t* p = shot.ScanLine(y) + x * 4;
    return {p[0], p[1], p[2]};
}

void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance, const char* where)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_LE(std::abs(actual[std::size_t(i)] - expected[std::size_t(i)]), tolerance)
            << where << ": channel " << i << " is " << actual[std::size_t(i)] << ", expected "
            << expected[std::size_t(i)];
    }
}

class WorldMemoryViewerGl : public ::testing::Test {
protected:
    WorldMemoryViewerGl()
    {
        RegisterGLX11ContextClass();
        viewer.SetWidth(64);
        viewer.SetHeight(64);
        viewer.Buffer().SetBackgroundColor(testsupport::DemoBackground);
        viewer.SetCamera(scene.camera);
    }

    TDemoScene scene;
    TGLMemoryViewer viewer;
};

TEST_F(WorldMemoryViewerGl, LitSquareShowsItsMaterialAndTheBackgroundAroundIt)
{
    viewer.Render();
    ASSERT_TRUE(viewer.Buffer().RCInstantiated());
    const std::unique_ptr<TGLBitmap32> shot = viewer.Buffer().CreateSnapShot();
    ASSERT_EQ(shot->Width(), 64);
    ASSERT_EQ(shot->Height(), 64);
    // The square covers the middle: about 0.8 / (2 x 0.847) of the width at distance 10.
    ExpectNear(PixelAt(*shot, 32, 32), {255, 128, 0}, 8, "centre");
    ExpectNear(PixelAt(*shot, 2, 2), {0, 0, 255}, 0, "lower left corner");
    ExpectNear(PixelAt(*shot, 61, 61), {0, 0, 255}, 0, "upper right corner");
    ExpectNear(PixelAt(*shot, 32, 5), {0, 0, 255}, 0, "below the square");
    EXPECT_EQ(viewer.Buffer().FrameCount(), 1);
}

TEST_F(WorldMemoryViewerGl, WithoutItsLightTheSquareIsDark)
{
    scene.light->SetShining(false);
    viewer.Render();
    const std::unique_ptr<TGLBitmap32> shot = viewer.Buffer().CreateSnapShot();
    ExpectNear(PixelAt(*shot, 32, 32), {0, 0, 0}, 8, "centre");
    ExpectNear(PixelAt(*shot, 2, 2), {0, 0, 255}, 0, "corner");
}

TEST_F(WorldMemoryViewerGl, ZoomingWithTheFocalLengthEnlargesTheSquare)
{
    viewer.Render();
    auto before = viewer.Buffer().CreateSnapShot();
    ExpectNear(PixelAt(*before, 14, 32), {0, 0, 255}, 0, "left of the square");
    // The near plane grows with the focal length; 80 keeps it (at 9.45) before the square.
    scene.camera->SetFocalLength(80);
    viewer.Render();
    auto after = viewer.Buffer().CreateSnapShot();
    ExpectNear(PixelAt(*after, 14, 32), {255, 128, 0}, 8, "the square now reaches here");
}

TEST_F(WorldMemoryViewerGl, ACameraOfAnotherSceneShowsThatScene)
{
    TGLWorld empty;
    auto* other = TGLBaseSceneObject::CreateAsChild<TGLCamera>(empty.CameraRoot());
    other->Position().SetPoint(0, 0, 10);
    viewer.SetCamera(other);
    viewer.Render();
    auto shot = viewer.Buffer().CreateSnapShot();
    ExpectNear(PixelAt(*shot, 32, 32), {0, 0, 255}, 0, "nothing but background");
    viewer.SetCamera(scene.camera);
    viewer.Render();
    shot = viewer.Buffer().CreateSnapShot();
    ExpectNear(PixelAt(*shot, 32, 32), {255, 128, 0}, 8, "back to the lit square");
}

} // namespace
