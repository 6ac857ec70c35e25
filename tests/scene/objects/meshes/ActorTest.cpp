#include "../../ObjectTestSupport.h"
#include "../../SkeletonTestSupport.h"

#include "scene/graph/World.h"
#include "scene/objects/meshes/MeshConnectivity.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace skeletontest;

namespace {

// An actor in a scene with nine skeleton frames; bone 0 stands at (i, 0, 0) in frame i.
class ActorTest : public scenetest::ObjectRecording {
protected:
    ActorTest() : actor(*TGLBaseSceneObject::CreateAsChild<TGLActor>(world.ObjectRoot()))
    {
        RegisterMeshObjectClasses();
        new TSkeletonBone(&actor.Skeleton().RootBones(), 0, "root");
        for (int i = 0; i < 9; ++i) {
            AddFrame(actor.Skeleton(), {{{float(i), 0, 0}, {}}});
        }
        actor.SetReference(aarSkeleton);
        actor.PrepareMesh();
    }

    void Play(TActorAnimationMode mode, int start, int end, int current)
    {
        actor.SetAnimationMode(aamNone);
        actor.SetStartFrame(0);
        actor.SetEndFrame(8);
        actor.SetStartFrame(start);
        actor.SetEndFrame(end);
        actor.SetCurrentFrame(current);
        actor.SetAnimationMode(mode);
    }
    TActorAnimation* AddAnimation(const std::string& name, int start, int end)
    {
        TActorAnimation* animation = actor.Animations().Add();
        animation->SetName(name);
        animation->SetReference(aarSkeleton);
        animation->SetEndFrame(end);
        animation->SetStartFrame(start);
        return animation;
    }
    float PosedX()
    {
        actor.BuildList(rci);
        return actor.Skeleton().CurrentFrame().Position()[0].X;
    }

    TGLWorld world;
    TGLActor& actor;
};

TEST_F(ActorTest, TheNextFrameFollowsTheAnimationMode)
{
    struct Case {
        TActorAnimationMode mode;
        int current, expected;
    };
    const Case cases[] = {
        {aamLoop, 5, 2},         {aamLoop, 3, 4},         {aamLoopBackward, 2, 5}, {aamLoopBackward, 4, 3},
        {aamPlayOnce, 5, 5},     {aamNone, 4, 5},         {aamBounceForward, 4, 5}, {aamBounceBackward, 2, 5},
        {aamBounceBackward, 3, 2}, {aamExternal, 3, 3},
    };
    for (const Case& c : cases) {
        Play(c.mode, 2, 5, c.current);
        EXPECT_EQ(actor.NextFrameIndex(), c.expected) << "mode " << int(c.mode) << " from " << c.current;
    }
    Play(aamLoop, 2, 5, 3);
    actor.SwitchToAnimation(AddAnimation("run", 6, 8), true);
    EXPECT_EQ(actor.NextFrameIndex(), 6);
    actor.SetAnimationMode(aamExternal);
    EXPECT_EQ(actor.NextFrameIndex(), 3);
}

TEST_F(ActorTest, PlayOnceStopsAtTheEndAndTheBounceModesFlip)
{
    Play(aamPlayOnce, 2, 5, 4);
    actor.NextFrame(3);
    EXPECT_EQ(actor.CurrentFrame(), 5);
    EXPECT_EQ(actor.AnimationMode(), aamNone);

    Play(aamBounceForward, 2, 5, 4);
    std::vector<int> frames;
    std::vector<TActorAnimationMode> modes;
    for (int i = 0; i < 5; ++i) {
        actor.NextFrame();
        frames.push_back(actor.CurrentFrame());
        modes.push_back(actor.AnimationMode());
    }
    EXPECT_EQ(frames, (std::vector<int>{5, 4, 3, 2, 3}));
    EXPECT_EQ(modes, (std::vector<TActorAnimationMode>{aamBounceBackward, aamBounceBackward, aamBounceBackward,
                                                       aamBounceForward, aamBounceForward}));
}

TEST_F(ActorTest, TheSceneProgressAdvancesWholeFramesAndKeepsTheRest)
{
    Play(aamLoop, 0, 8, 1);
    world.Progress(0.25, 0.25); // Interval 100: 2.5 frames
    EXPECT_EQ(actor.CurrentFrame(), 3);
    EXPECT_FLOAT_EQ(actor.CurrentFrameDelta(), 0.5f);

    Play(aamLoop, 0, 8, 1);
    world.Progress(0.1, 0.35); // exactly one frame is not yet beyond it
    EXPECT_EQ(actor.CurrentFrame(), 1);
    EXPECT_FLOAT_EQ(actor.CurrentFrameDelta(), 1);
    world.Progress(0.05, 0.4);
    EXPECT_EQ(actor.CurrentFrame(), 2);
    EXPECT_FLOAT_EQ(actor.CurrentFrameDelta(), 0.5f);

    Play(aamNone, 0, 8, 1);
    world.Progress(0.5, 0.9);
    EXPECT_EQ(actor.CurrentFrame(), 1);
}

TEST_F(ActorTest, EventsComeInFrameOrder)
{
    Play(aamLoop, 2, 4, 3);
    std::vector<std::string> events;
    auto log = [&](const char* what) {
        return [&events, what, this](TObject* sender) {
            EXPECT_EQ(sender, &actor);
            events.push_back(what + std::to_string(actor.CurrentFrame()));
        };
    };
    actor.OnFrameChanged = log("changed ");
    actor.OnEndFrameReached = log("end ");
    actor.OnStartFrameReached = log("start ");
    actor.NextFrame(2);
    EXPECT_EQ(events, (std::vector<std::string>{"changed 4", "end 4", "changed 2", "start 2"}));
}

TEST_F(ActorTest, FramesAreClampedToWhatTheReferenceHolds)
{
    TGLActor empty; // no morph targets
    empty.SetCurrentFrame(3);
    EXPECT_EQ(empty.CurrentFrame(), -1);

    TActorAnimation* walk = AddAnimation("Walk", 2, 5);
    EXPECT_EQ(walk->DisplayName(), "0 - Walk [2 - 5]");
    walk->SetStartFrame(20);
    EXPECT_EQ(walk->EndFrame(), 8);
    walk->SetEndFrame(-3);
    EXPECT_EQ(walk->StartFrame(), 0);
    walk->SetReference(aarNone);
    walk->SetStartFrame(3);
    EXPECT_EQ(walk->StartFrame(), -1);
    EXPECT_EQ(actor.Animations().FindName("wALK"), walk);
    EXPECT_EQ(actor.Animations().FindName("run"), nullptr);
}

TEST_F(ActorTest, AControllerBlendsItsAnimationAtItsRatio)
{
    AddAnimation("run", 0, 8);
    TBlendedLerpInfo info;
    TGLAnimationControler controler;
    controler.SetAnimationName("run");
    EXPECT_FALSE(controler.Apply(info)); // no actor
    controler.SetActor(&actor);
    controler.SetRatio(0.25f);
    ASSERT_TRUE(controler.Apply(info));
    EXPECT_EQ(info.FrameIndex1, 2);
    EXPECT_EQ(info.FrameIndex2, 3);
    EXPECT_EQ(info.LerpFactor, 0);
    controler.SetRatio(7);
    ASSERT_TRUE(controler.Apply(info));
    EXPECT_EQ(info.FrameIndex1, 8);
    EXPECT_EQ(info.FrameIndex2, 8);

    Play(aamLoop, 0, 8, 1);
    actor.SetCurrentFrameDelta(0.5f);
    controler.SetRatio(0.25f);
    EXPECT_FLOAT_EQ(PosedX(), 1.5f + 2);
    controler.SetEnabled(false);
    EXPECT_FLOAT_EQ(PosedX(), 1.5f);
    controler.SetEnabled(true);
    controler.SetAnimationName("jump");
    EXPECT_FLOAT_EQ(PosedX(), 1.5f);
}

TEST(ActorControlerTest, ActorAndControllerForgetEachOtherWhenEitherGoes)
{
    auto actor = std::make_unique<TGLActor>();
    TGLAnimationControler kept;
    kept.SetActor(actor.get());
    auto gone = std::make_unique<TGLAnimationControler>();
    gone->SetActor(actor.get());
    gone.reset();
    actor.reset();
    EXPECT_EQ(kept.Actor(), nullptr);
}

TEST_F(ActorTest, ASmoothSwitchWaitsForTheNextFrameStep)
{
    TActorAnimation* run = AddAnimation("run", 6, 8);
    Play(aamLoop, 0, 3, 1);
    actor.SwitchToAnimation(run, true);
    EXPECT_EQ(actor.CurrentFrame(), 1);
    world.Progress(0.15, 0.15); // the step goes into the switch
    EXPECT_EQ(actor.TargetSmoothAnimation(), nullptr);
    EXPECT_EQ(actor.StartFrame(), 6);
    EXPECT_EQ(actor.EndFrame(), 8);
    EXPECT_EQ(actor.CurrentFrame(), 6);
    EXPECT_EQ(actor.CurrentFrameDelta(), 0);

    actor.SwitchToAnimation(AddAnimation("walk", 2, 4), true);
    actor.Animations().Delete(1);
    EXPECT_EQ(actor.TargetSmoothAnimation(), nullptr);
    actor.SetCurrentFrame(8);
    actor.SwitchToAnimation(actor.Animations().Items(0));
    EXPECT_EQ(actor.CurrentFrame(), 6);
}

TEST_F(ActorTest, MorphFramesAreInterpolatedAndLoadingStartsAtFrameZero)
{
    TGLActor source;
    auto* object = new TMorphableMeshObject(&source.MeshObjects());
    object->Vertices().Add(9, 9, 9);
    for (float x : {0.0f, 2.0f, 4.0f}) {
        auto* target = new TMeshMorphTarget(&object->MorphTargets());
        target->Vertices().Add(x, 0, 0);
    }
    TStringStream file;
    source.SaveToStream("m.glwm", file);

    AddAnimation("old", 0, 1);
    int changes = 0;
    actor.OnFrameChanged = [&](TObject*) { ++changes; };
    actor.SetReference(aarMorph);
    file.SetPosition(0);
    actor.LoadFromStream("m.glwm", file);
    EXPECT_EQ(actor.Animations().Count(), 0);
    EXPECT_EQ(actor.StartFrame(), 0);
    EXPECT_EQ(actor.EndFrame(), 2);
    EXPECT_GE(changes, 1);

    actor.SetCurrentFrameDelta(0.25f);
    actor.BuildList(rci);
    const TAffineVectorList& vertices = actor.MeshObjects().Items(0)->Vertices();
    EXPECT_FLOAT_EQ(vertices[0].X, 0.5f);
    actor.SetFrameInterpolation(afpNone);
    actor.SetCurrentFrame(2);
    actor.BuildList(rci);
    EXPECT_FLOAT_EQ(vertices[0].X, 4);

    // A skinned mesh object is morphable but has no targets: nothing to morph.
    actor.MeshObjects().Clear();
    AddSkinned(actor, {{1, 2, 3}}, {{{0, 1}}});
    actor.PrepareMesh();
    actor.BuildList(rci);
    EXPECT_TRUE(Near(actor.MeshObjects().Items(0)->Vertices()[0], {1, 2, 3}));
}

TEST_F(ActorTest, TheOverlayDrawsEveryBoneWithoutTheDepthTest)
{
    new TSkeletonBone(actor.Skeleton().RootBones().Items(0), 1, "child");
    actor.SetOverlaySkeleton(true);
    recorder.Clear();
    actor.BuildList(rci);
    const std::vector<std::string> calls = recorder.Texts();
    const auto at = [&](const std::string& text) { return std::find(calls.begin(), calls.end(), text) - calls.begin(); };
    EXPECT_LT(at("glDisable(" + std::to_string(GL_DEPTH_TEST) + ")"), at("glPointSize(5)"));
    EXPECT_EQ(recorder.CallsTo("glPointSize").size(), 4u); // 5 and back to 1 per bone
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "glBegin(" + std::to_string(GL_LINES) + ")"), 1);
    EXPECT_EQ(recorder.Count("glPushAttrib"), recorder.Count("glPopAttrib"));
    EXPECT_FALSE(TGLBaseMeshConnectivity(actor).PrecomputeFaceNormal());
}

TEST_F(ActorTest, AnAssignedActorTakesTheAnimationsAndThePosition)
{
    AddAnimation("run", 6, 8);
    Play(aamBounceForward, 2, 7, 5);
    actor.SetCurrentFrameDelta(0.25f);
    TGLActor copy;
    copy.Assign(&actor);
    EXPECT_EQ(copy.Animations().Count(), 1);
    EXPECT_EQ(copy.StartFrame(), 2);
    EXPECT_EQ(copy.EndFrame(), 7);
    EXPECT_EQ(copy.CurrentFrame(), 5);
    EXPECT_EQ(copy.CurrentFrameDelta(), 0.25f);
    EXPECT_EQ(copy.AnimationMode(), aamBounceForward);
    EXPECT_EQ(copy.Reference(), aarSkeleton);
}

} // namespace
