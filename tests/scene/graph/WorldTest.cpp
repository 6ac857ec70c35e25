#include "../WorldTestSupport.h"

#include "platform/core/Exceptions.h"

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace worldtest;

namespace {

class WorldTest : public WorldFixture {
protected:
    TGLWorld world;
};

TEST_F(WorldTest, RootsAreNamedAndOwnedByTheScene)
{
    ASSERT_NE(world.ObjectRoot(), nullptr);
    ASSERT_NE(world.CameraRoot(), nullptr);
    EXPECT_EQ(world.ObjectRoot()->Name(), "ObjectRoot");
    EXPECT_EQ(world.CameraRoot()->Name(), "CameraRoot");
    EXPECT_EQ(world.ObjectRoot()->Scene(), &world);
    for (int i = 0; i < TGLWorld::LightSlotCount; ++i) {
        EXPECT_EQ(world.Light(i), nullptr);
    }
}

TEST_F(WorldTest, ChangesReachEveryBufferUnlessUpdating)
{
    TGLWorldBuffer a(nullptr);
    TGLWorldBuffer b(nullptr);
    TBufferEvents ea;
    TBufferEvents eb;
    ea.Attach(a);
    eb.Attach(b);
    world.AddBuffer(&a);
    world.AddBuffer(&b);
    world.AddBuffer(&a); // once only
    EXPECT_EQ(world.Buffers().size(), 2u);
    auto* object = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    ea.changes = eb.changes = 0;
    object->NotifyChange(object);
    EXPECT_EQ(ea.changes, 1);
    EXPECT_EQ(eb.changes, 1);
    world.BeginUpdate();
    object->NotifyChange(object);
    object->NotifyChange(object);
    EXPECT_EQ(ea.changes, 1);
    world.EndUpdate();
    EXPECT_EQ(ea.changes, 2) << "one notification at the end of the update";
    world.RemoveBuffer(&a);
    object->NotifyChange(object);
    EXPECT_EQ(ea.changes, 2);
    EXPECT_EQ(eb.changes, 3);
    world.RemoveBuffer(&b);
    EXPECT_THROW(world.EndUpdate(), EAssertionFailed) << "unbalanced";
}

TEST_F(WorldTest, InheritedModesAreStoredAsTheirDefaults)
{
    TGLWorldBuffer buffer(nullptr);
    TBufferEvents events;
    events.Attach(buffer);
    world.AddBuffer(&buffer);
    world.SetObjectsSorting(osInherited);
    EXPECT_EQ(world.ObjectsSorting(), osRenderBlendedLast);
    EXPECT_EQ(events.changes, 0);
    world.SetObjectsSorting(osNone);
    world.SetVisibilityCulling(vcInherited);
    EXPECT_EQ(world.VisibilityCulling(), vcNone);
    world.SetVisibilityCulling(vcObjectBased);
    EXPECT_EQ(events.changes, 2);
    world.RemoveBuffer(&buffer);
}

TEST_F(WorldTest, NineLightsTakeTheEightSlotsInOrderAndAFreedSlotIsReused)
{
    std::vector<TGLLightSource*> lights;
    for (int i = 0; i < 9; ++i) {
        lights.push_back(TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot()));
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(lights[std::size_t(i)]->LightID(), GLenum(GL_LIGHT0 + i));
        EXPECT_EQ(world.Light(i), lights[std::size_t(i)]);
    }
    EXPECT_EQ(lights[8]->LightID(), 0u) << "the ninth light gets no slot";
    delete lights[3];
    EXPECT_EQ(world.Light(3), nullptr);
    auto* late = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
    EXPECT_EQ(late->LightID(), GLenum(GL_LIGHT3));
}

TEST_F(WorldTest, LightsOfAMovedSubtreeFollowIt)
{
    auto* group = new TGLBaseSceneObject(nullptr);
    auto* light = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(group);
    EXPECT_EQ(light->LightID(), 0u) << "outside the scene";
    world.ObjectRoot()->AddChild(group);
    EXPECT_EQ(light->LightID(), GLenum(GL_LIGHT0));
    group->MoveTo(nullptr);
    EXPECT_EQ(world.Light(0), nullptr);
    delete group;
}

TEST_F(WorldTest, SetupLightsPositionsEachStyle)
{
    auto* spot = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
    spot->Position().SetPoint(1, 2, 3);
    spot->SetSpotCutOff(30);
    auto* omni = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
    omni->SetLightStyle(lsOmni);
    auto* parallel = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
    parallel->SetLightStyle(lsParallel);
    auto* dark = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
    dark->SetShining(false);
    recorder.Clear();
    world.SetupLights(8);

    EXPECT_EQ(Count("glPushMatrix"), 4);
    EXPECT_EQ(Count("glPopMatrix"), 4);
    std::vector<std::vector<double>> positions;
    std::vector<double> cutoffs;
    for (const TGLCall& call : recorder.Calls()) {
        if (call.Name == "glLightfv" && call.Args[1] == GL_POSITION) {
            positions.push_back(call.Data);
        }
        if (call.Name == "glLightf" && call.Args[1] == GL_SPOT_CUTOFF) {
            cutoffs.push_back(call.Args[2]);
        }
    }
    ASSERT_EQ(positions.size(), 3u);
    EXPECT_EQ(positions[0], (std::vector<double>{1, 2, 3, 1})) << "a spot is a point";
    EXPECT_EQ(positions[2], (std::vector<double>{0, 0, -1, 0})) << "a parallel light is a direction";
    EXPECT_EQ(cutoffs, (std::vector<double>{30, 180, 180}));
    EXPECT_EQ(Count("glLightfv") - 3, 3 * 3 + 1) << "three colours each, and the spot's direction";
    EXPECT_NE(IndexOf("glDisable(" + std::to_string(GL_LIGHT3) + ")"), -1) << "not shining";
    for (int i = 4; i < 8; ++i) {
        EXPECT_NE(IndexOf("glDisable(" + std::to_string(GL_LIGHT0 + i) + ")"), -1) << "free slot " << i;
    }
}

TEST_F(WorldTest, SetupLightsStopsAtTheDriversLimitAndDisablesAboveIt)
{
    TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
    recorder.Clear();
    world.SetupLights(2);
    EXPECT_NE(IndexOf("glEnable(" + std::to_string(GL_LIGHT0) + ")"), -1);
    EXPECT_NE(IndexOf("glDisable(" + std::to_string(GL_LIGHT1) + ")"), -1);
    EXPECT_EQ(IndexOf("glDisable(" + std::to_string(GL_LIGHT2) + ")"), -1);
}

TEST_F(WorldTest, ProgressAndStreamingTakeObjectsThenCamerasAndNeverTheScenesOwnEvent)
{
    std::vector<std::string> order;
    auto* object = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    auto* camera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(world.CameraRoot());
    object->OnProgress = [&](TObject*, double delta, double newTime) {
        EXPECT_EQ(delta, 0.5);
        EXPECT_EQ(newTime, 2.0);
        order.push_back("object");
    };
    camera->OnProgress = [&](TObject*, double, double) { order.push_back("camera"); };
    world.OnProgress = [&](TObject*, double, double) { order.push_back("scene"); };
    world.Progress(0.5, 2.0);
    EXPECT_EQ(order, (std::vector<std::string>{"object", "camera"}));
    // Streaming lists the children in the same order.
    std::vector<TComponent*> children;
    world.GetChildren([&](TComponent* c) { children.push_back(c); });
    EXPECT_EQ(children, (std::vector<TComponent*>{object, camera}));
}

TEST_F(WorldTest, RayCastFindsTheNearestVisibleObjectAndSkipsInvisibleSubtrees)
{
    auto* near = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    near->Position().SetPoint(0, 0, -5);
    auto* far = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    far->Position().SetPoint(0, 0, -10);
    auto* hiddenGroup = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    hiddenGroup->Position().SetPoint(50, 0, 0);
    hiddenGroup->SetVisible(false);
    auto* hiddenChild = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(hiddenGroup);
    hiddenChild->Position().SetPoint(-50, 0, 2);

    TVector point{};
    TVector normal{};
    EXPECT_EQ(world.RayCastIntersect({0, 0, 0, 1}, {0, 0, -1, 0}, &point, &normal), near);
    EXPECT_LT(point.Z, -4) << "on the near sphere";
    EXPECT_GT(point.Z, -5);
    EXPECT_NEAR(normal.Z, 1, 1e-5);
    // The child of the hidden group sits between the ray start and the near object.
    EXPECT_EQ(world.RayCastIntersect({0, 0, 5, 1}, {0, 0, -1, 0}), near);
    hiddenGroup->SetVisible(true);
    EXPECT_EQ(world.RayCastIntersect({0, 0, 5, 1}, {0, 0, -1, 0}), hiddenChild);
    TVector untouched{9, 9, 9, 9};
    EXPECT_EQ(world.RayCastIntersect({0, 100, 0, 1}, {0, 1, 0, 0}, &untouched), nullptr);
    EXPECT_EQ(untouched.X, 9) << "no hit writes nothing";
}

TEST_F(WorldTest, ASceneFreedBeforeItsBufferIsForgottenByTheBuffer)
{
    TGLWorldBuffer buffer(nullptr);
    {
        TGLWorld scene;
        auto* camera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(scene.CameraRoot());
        buffer.SetCamera(camera);
        ASSERT_EQ(buffer.Camera(), camera);
        scene.AddBuffer(&buffer);
    }
    EXPECT_EQ(buffer.Camera(), nullptr) << "the camera went with its scene";
    EXPECT_EQ(buffer.RegisteredScene(), nullptr);
}

// The scene counts the changes made under an object apart (a picture of what is drawn
// before it stays right while the others do not move), tells a watcher which child each
// came from, and forgets a freed object.
TEST_F(WorldTest, ChangesUnderAnObjectAreCountedApartAndNamedByTheirChild)
{
    auto* group = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    auto* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(group);
    auto* grandChild = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(child);
    auto* other = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    EXPECT_EQ(world.ChangesUnder(*group), 0u) << "counted from the first question on";
    std::vector<const TGLBaseSceneObject*> told;
    world.WatchChildChanges(*group, [&](const TGLBaseSceneObject& c) { told.push_back(&c); });
    // Sender, changes under the group after it, the child told (none: nullptr).
    const std::tuple<TGLBaseSceneObject*, std::uint64_t, const TGLBaseSceneObject*> steps[] = {
        {child, 1, child}, {grandChild, 2, child}, {group, 3, nullptr}, {other, 3, nullptr}};
    for (const auto& [sender, under, named] : steps) {
        told.clear();
        sender->NotifyChange(sender);
        EXPECT_EQ(world.ChangesUnder(*group), under) << sender;
        EXPECT_EQ(told, named ? std::vector<const TGLBaseSceneObject*>{named} : std::vector<const TGLBaseSceneObject*>{});
    }
    delete group;
    auto* again = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    EXPECT_EQ(world.ChangesUnder(*again), 0u) << "a new object, maybe at the freed one's address";
    EXPECT_FALSE(world.WatchesChildChanges(*again));
}

TEST_F(WorldTest, ModelViewProjectionIsTheProductOfTheTwoMatrices)
{
    recorder.Floats[GL_MODELVIEW_MATRIX] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1};
    recorder.Floats[GL_PROJECTION_MATRIX] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1};
    const TMatrix m = world.GetModelViewProjection();
    EXPECT_EQ(m[0].X, 2);
    EXPECT_EQ(m[3].X, 1);
    EXPECT_EQ(m[3].Z, 13) << "the model-view translation first, then the projection's";
}

} // namespace
