// A scene with a dynamic layer on a real renderer: a frame in which only the layer
// moved starts from the kept picture of the rest and shows what a whole frame shows;
// any change of the rest, the view, the size or the options draws the rest again.

#include "scene/graph/Camera.h"
#include "scene/graph/DynamicLayer.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/graph/LightSource.h"
#include "scene/materials/Material.h"
#include "scene/graph/NonVisualViewer.h"
#include "scene/graph/World.h"
#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/viewer/GLX11Context.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;

constexpr Rgb Wall{255, 0, 0};
constexpr Rgb Plate{0, 0, 255};
constexpr Rgb Bit{0, 255, 0};
constexpr Rgb Sky{255, 255, 255};

// A box that shows one flat colour: emission only, whatever the lights do.
TGLCube* FlatBox(TGLBaseSceneObject* parent, float x, float y, float z, float width, float height, const Rgb& colour)
{
    auto* box = TGLBaseSceneObject::CreateAsChild<TGLCube>(parent);
    box->Position().SetPoint(x, y, z);
    box->SetCubeWidth(width);
    box->SetCubeHeight(height);
    box->SetCubeDepth(0.1f);
    TGLFaceProperties& face = *box->Material().FrontProperties();
    face.Diffuse()->SetColor({0, 0, 0, 1});
    face.Ambient()->SetColor({0, 0, 0, 1});
    face.Emission()->SetColor({colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f, 1});
    return box;
}

// Seen from (0, 0, 10) down -Z: a red wall at z -1 across the view, a blue plate at
// z 1 over its left part, and the bit, a green box at z 0 held by the layer's cube.
class DynamicLayerGl : public ::testing::Test {
protected:
    DynamicLayerGl()
    {
        RegisterGLX11ContextClass();
        camera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(world.CameraRoot());
        camera->Position().SetPoint(0, 0, 10);
        TGLBaseSceneObject* root = world.ObjectRoot();
        wall = FlatBox(root, 0, 0, -1, 4, 4, Wall);
        plate = FlatBox(root, -0.65f, 0, 1, 0.8f, 4, Plate);
        holder = TGLBaseSceneObject::CreateAsChild<TGLDummyCube>(root);
        bit = FlatBox(holder, 0.4f, 0, 0, 0.2f, 0.2f, Bit);
        world.AddToDynamicLayer(holder);
        viewer.SetWidth(96);
        viewer.SetHeight(96);
        viewer.Buffer().SetBackgroundColor(clWhite);
        viewer.SetCamera(camera);
    }

    std::vector<std::uint8_t> Frame()
    {
        viewer.Render();
        const std::unique_ptr<TGLBitmap32> shot = viewer.Buffer().CreateSnapShot();
        return {shot->Data(), shot->Data() + shot->Width() * shot->Height() * 4};
    }
    // The colour at a point of the scene, after a frame.
    Rgb At(float x, float y, float z)
    {
        const TGLWorldBuffer& buffer = viewer.Buffer();
        TVector p = TransformVector(TVector{x, y, z, 1}, buffer.ModelViewMatrix());
        p = TransformVector(p, buffer.ProjectionMatrix());
        const int px = int((p.X / p.W + 1) * 0.5f * viewer.Width());
        const int py = int((p.Y / p.W + 1) * 0.5f * viewer.Height());
        std::uint8_t rgba[4] = {};
        viewer.Buffer().RenderingContext()->Activate();
        GL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
        GL.glReadPixels(px, py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        viewer.Buffer().RenderingContext()->Deactivate();
        return {rgba[0], rgba[1], rgba[2]};
    }
    bool FromCopy() { return viewer.Buffer().LastFrameFromStaticCopy(); }
    // A whole frame of the same scene, for comparison: the copy is dropped firs
    std::vector<std::uint8_t> WholeFrame()
    {
        viewer.Buffer().SetFaceCulling(!viewer.Buffer().FaceCulling());
        viewer.Buffer().SetFaceCulling(!viewer.Buffer().FaceCulling());
        std::vector<std::uint8_t> frame = Frame();
        EXPECT_FALSE(FromCopy());
        return frame;
    }

    TGLWorld world;
    TGLCamera* camera;
    TGLCube* wall;
    TGLCube* plate;
    TGLDummyCube* holder;
    TGLCube* bit;
    TGLMemoryViewer viewer;
};

TEST_F(DynamicLayerGl, MovingOnlyTheLayerDrawsOverTheKeptPictureWhatAWholeFrameShows)
{
    Frame();
    ASSERT_FALSE(FromCopy()) << "the first frame draws everything";
    EXPECT_EQ(At(0.4f, 0, 0), Bit);
    EXPECT_EQ(At(-0.2f, 0, 0), Wall);

    holder->Position().SetPoint(-0.6f, 0.1f, 0);
    const std::vector<std::uint8_t> fromCopy = Frame();
    ASSERT_TRUE(FromCopy()) << "only the layer moved";
    EXPECT_EQ(At(0.4f, 0, 0), Wall) << "the bit's old place shows the wall again";
    EXPECT_EQ(At(-0.2f, 0.1f, 0), Bit);
    EXPECT_EQ(viewer.Buffer().StaticCopyReuses(), 1);

    EXPECT_TRUE(fromCopy == WholeFrame()) << "the same pixels as a whole frame";
    world.RemoveFromDynamicLayer(holder);
    EXPECT_TRUE(fromCopy == Frame()) << "the same pixels as a frame without a layer";
    EXPECT_FALSE(FromCopy());
}

TEST_F(DynamicLayerGl, TheKeptDepthStillHidesTheLayerBehindTheRest)
{
    Frame();
    // Behind the plate on the left: its depth comes from the copy.
    holder->Position().SetPoint(-1.05f, 0, 0);
    const std::vector<std::uint8_t> fromCopy = Frame();
    ASSERT_TRUE(FromCopy());
    EXPECT_EQ(At(-0.65f, 0, 0), Plate);
    EXPECT_EQ(At(-0.15f, 0, 0), Wall);
    EXPECT_TRUE(fromCopy == WholeFrame());
}

TEST_F(DynamicLayerGl, AChangeOutsideTheLayerDrawsTheRestAgainAndKeepsTheNewPicture)
{
    Frame();
    Frame();
    ASSERT_TRUE(FromCopy()) << "nothing changed at all";

    plate->Position().SetPoint(0.45f, 0, 1);
    Frame();
    EXPECT_FALSE(FromCopy()) << "the plate moved";
    EXPECT_EQ(At(-0.65f, 0, 1), Wall);
    EXPECT_EQ(At(0.45f, 0, 1), Plate) << "the plate now hides the bit";

    holder->Position().SetPoint(-0.6f, 0, 0);
    Frame();
    ASSERT_TRUE(FromCopy());
    EXPECT_EQ(At(-0.65f, 0, 1), Wall) << "the copy holds the moved plate";
    EXPECT_EQ(At(0.45f, 0, 1), Plate);
    EXPECT_EQ(At(-0.2f, 0, 0), Bit);

    wall->Material().FrontProperties()->Emission()->SetColor({1, 1, 0, 1});
    Frame();
    EXPECT_FALSE(FromCopy()) << "a material outside the layer changed";
    EXPECT_EQ(At(-0.6f, 0.6f, -1), (Rgb{255, 255, 0}));
}

TEST_F(DynamicLayerGl, TheViewTheSizeAndTheOptionsEachDrawTheRestAgain)
{
    const struct {
        const char* change;
        std::function<void()> apply;
    } cases[] = {
        {"camera moved", [this] { camera->Position().SetPoint(0.1f, 0, 10); }},
        {"camera zoomed", [this] { camera->SetFocalLength(60); }},
        {"background", [this] { viewer.Buffer().SetBackgroundColor(clBlack); }},
        {"fog", [this] { viewer.Buffer().SetFogEnable(true); }},
        {"resized", [this] { viewer.Buffer().Resize(95, 96); }},
        {"object hidden", [this] { plate->SetVisible(false); }},
        {"object added", [this] { FlatBox(world.ObjectRoot(), 0, 0.5f, 0, 0.1f, 0.1f, Plate); }},
        {"object freed", [this] { delete plate; }},
        {"children freed", [this] {
             auto* group = TGLBaseSceneObject::CreateAsChild<TGLDummyCube>(world.ObjectRoot());
             FlatBox(group, 0, -0.5f, 0, 0.1f, 0.1f, Plate);
             Frame();
             Frame();
             ASSERT_TRUE(FromCopy());
             group->DeleteChildren();
         }},
        {"layer left", [this] {
             auto* other = TGLBaseSceneObject::CreateAsChild<TGLDummyCube>(world.ObjectRoot());
             world.AddToDynamicLayer(other);
             world.RemoveFromDynamicLayer(other);
         }},
    };
    for (const auto& c : cases) {
        Frame();
        Frame();
        ASSERT_TRUE(FromCopy()) << c.change;
        c.apply();
        Frame();
        EXPECT_FALSE(FromCopy()) << c.change;
    }
}

TEST_F(DynamicLayerGl, ChangesInsideTheLayerKeepTheCopy)
{
    Frame();
    bit->Material().FrontProperties()->Emission()->SetColor({0, 0, 0, 1});
    bit->SetCubeWidth(0.3f);
    holder->Turn(10);
    bit->SetVisible(false);
    TGLCube* added = FlatBox(holder, 0, 0.6f, 0, 0.1f, 0.1f, Plate);
    Frame();
    EXPECT_TRUE(FromCopy());
    EXPECT_EQ(At(0.4f, 0, 0), Wall) << "the hidden bit";
    delete added;
    Frame();
    EXPECT_TRUE(FromCopy());
}

TEST_F(DynamicLayerGl, ALightOfTheLayerShinesOnTheLayerOnly)
{
    for (TGLCube* box : {wall, bit}) {
        TGLFaceProperties& face = *box->Material().FrontProperties();
        face.Emission()->SetColor({0, 0, 0, 1});
        face.Diffuse()->SetColor({1, 1, 1, 1});
    }
    auto* lamp = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(holder);
    lamp->SetLightStyle(lsOmni);
    lamp->Position().SetPoint(0, 0, 5);
    Frame();
    EXPECT_GT(At(0.4f, 0, 0)[1], 200) << "the bit is lit";
    EXPECT_EQ(At(-0.2f, 0.5f, -1), (Rgb{0, 0, 0})) << "the wall is not";
    holder->Position().SetPoint(0.1f, 0, 0);
    const std::vector<std::uint8_t> fromCopy = Frame();
    ASSERT_TRUE(FromCopy());
    EXPECT_TRUE(fromCopy == WholeFrame());

    world.RemoveFromDynamicLayer(holder);
    Frame();
    EXPECT_GT(At(-0.2f, 0.5f, -1)[0], 100) << "without a layer the lamp lights everything";
}

TEST_F(DynamicLayerGl, AHookThatMayDrawBeforeTheSceneKeepsNoCopy)
{
    int hooks = 0;
    viewer.SetBeforeRender([&](TObject*) { ++hooks; });
    Frame();
    holder->Position().SetPoint(-0.6f, 0, 0);
    Frame();
    EXPECT_FALSE(FromCopy());
    EXPECT_EQ(viewer.Buffer().StaticCopyBytes(), 0u);
    EXPECT_EQ(At(-0.2f, 0, 0), Bit);
    EXPECT_EQ(At(0.4f, 0, 0), Wall);
    EXPECT_EQ(hooks, 2);
}

TEST_F(DynamicLayerGl, AFreedObjectLeavesTheLayer)
{
    EXPECT_TRUE(world.HasDynamicLayer());
    EXPECT_TRUE(world.DynamicLayer().Contains(bit));
    EXPECT_FALSE(world.DynamicLayer().Contains(plate));
    Frame();
    delete holder;
    EXPECT_TRUE(world.DynamicLayer().Empty());
    EXPECT_FALSE(world.HasDynamicLayer());
    Frame();
    EXPECT_FALSE(FromCopy());
    EXPECT_EQ(At(0.4f, 0, 0), Wall);
}

} // namespace
