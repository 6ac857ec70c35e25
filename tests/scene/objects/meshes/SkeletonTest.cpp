#include "../../ErrorTextTestSupport.h"
#include "../../SkeletonTestSupport.h"

#include "scene/base/MatrixMath.h"
#include "scene/base/Quaternions.h"

#include <cmath>
#include <numbers>
#include <string>

using namespace skeletontest;

namespace {

constexpr float Quarter = std::numbers::pi_v<float> / 2;

std::string Int(int v) { return std::string{char(vaInt8), char(v)}; }

// Bone 0 alone at the origin, moving to (0, 2, 0) in frame 1. Bone 1 at (1, 0, 0),
// turning a quarter about Z in frame 1; bone 2, its child, one further along X.
class SkeletonTest : public ::testing::Test {
protected:
    SkeletonTest()
    {
        RegisterMeshObjectClasses();
        TSkeleton& skeleton = actor.Skeleton();
        new TSkeletonBone(&skeleton.RootBones(), 0, "body");
        auto* arm = new TSkeletonBone(&skeleton.RootBones(), 1, "arm");
        new TSkeletonBone(arm, 2, "hand");
        AddFrame(skeleton, {{{0, 0, 0}, {}}, {{1, 0, 0}, {}}, {{1, 0, 0}, {}}});
        AddFrame(skeleton, {{{0, 2, 0}, {}}, {{1, 0, 0}, {0, 0, Quarter}}, {{1, 0, 0}, {}}});
        // One bone per vertex: a point on the arm, one on a missing bone, and one
        // without a weight row.
        rigid = AddSkinned(actor, {{2, 0, 0}, {5, 5, 5}, {3, 3, 3}}, {{{1, 1}}, {{7, 1}}});
        // Two bones: half the body, half the hand.
        blended = AddSkinned(actor, {{0, 0, 0}}, {{{0, 0.5f}, {2, 0.5f}}});
        BindRestPose(actor);
    }

    void Pose(int frame)
    {
        actor.Skeleton().SetCurrentFrame(*actor.Skeleton().Frames().Items(frame));
        actor.Skeleton().MorphMesh(false);
    }

    TGLActor actor;
    TSkeletonMeshObject* rigid = nullptr;
    TSkeletonMeshObject* blended = nullptr;
};

TEST_F(SkeletonTest, BonesAreFoundDepthFirstAndTheIdTableFollowsTheBones)
{
    TSkeleton& skeleton = actor.Skeleton();
    TSkeletonBone* hand = skeleton.BoneByName("hand");
    auto* twin = new TSkeletonBone(&skeleton.RootBones(), 2, "arm"); // after the first "arm" and "hand"
    EXPECT_EQ(skeleton.BoneByName("arm"), skeleton.RootBones().Items(1));
    EXPECT_EQ(skeleton.BoneByName("Arm"), nullptr);
    EXPECT_EQ(skeleton.BoneByID(2), hand);
    EXPECT_EQ(skeleton.RootBones().BoneByID(2), hand);
    EXPECT_EQ(skeleton.BoneByID(9), nullptr);
    EXPECT_EQ(skeleton.BoneByID(-1), nullptr);

    delete hand; // the table must not keep it
    EXPECT_EQ(skeleton.BoneByID(2), twin);
    auto* far = new TSkeletonBone(&skeleton.RootBones(), 50000000, "far");
    EXPECT_EQ(skeleton.BoneByID(50000000), far);
}

TEST_F(SkeletonTest, LocalMatricesTurnAboutXThenYThenZAndQuaternionsAgree)
{
    TSkeletonFrame frame;
    frame.Position().Add(1, 2, 3);
    frame.Rotation().Add(0, 0, Quarter);
    frame.Position().Add(0, 0, 0);
    frame.Rotation().Add(Quarter, Quarter, 0);
    EXPECT_TRUE(Near(TransformAffinePoint({1, 0, 0}, frame.LocalMatrix(0)), {1, 3, 3}));
    // X first takes +Y to +Z, then Y takes +Z to +X; the other order would give +Z.
    EXPECT_TRUE(Near(TransformAffinePoint({0, 1, 0}, frame.LocalMatrix(1)), {1, 0, 0}));
    EXPECT_TRUE(Near(TransformAffinePoint({4, 5, 6}, frame.LocalMatrix(2)), {4, 5, 6}));

    frame.Quaternion().Add(QuaternionFromAngleAxis(90, ZVector));
    frame.SetTransformMode(sftQuaternion);
    EXPECT_TRUE(Near(TransformAffinePoint({1, 0, 0}, frame.LocalMatrix(0)), {1, 3, 3}));
    EXPECT_TRUE(Near(TransformAffinePoint({0, 1, 0}, frame.LocalMatrix(1)), {0, 1, 0})); // no quaternion: no turn
}

TEST_F(SkeletonTest, SkinningFollowsTheBonesAndMissingDataLeavesVerticesInPlace)
{
    actor.Position().SetPoint(10, 0, 0);
    auto* collider = new TSkeletonCollider(&actor.Skeleton().Colliders());
    collider->SetBone(actor.Skeleton().BoneByID(1));
    collider->SetLocalMatrix(MakeScaleTranslationMatrix({1, 1, 1}, {0, 0, 1}));
    Pose(1);

    const TAffineVectorList& v = rigid->Vertices();
    EXPECT_TRUE(Near(v[0], {1, 1, 0}));                      // rigidly about the arm's joint
    EXPECT_TRUE(Near(rigid->Normals()[0], {0, 1, 0}));       // the normal turns with it
    EXPECT_TRUE(Near(v[1], {5, 5, 5}));                      // bone 7 does not exist
    EXPECT_TRUE(Near(v[2], {3, 3, 3}));                      // no weight row
    // The body takes it to (0, 2, 0), the hand to (1, -1, 0).
    EXPECT_TRUE(Near(blended->Vertices()[0], {0.5f, 0.5f, 0}));
    EXPECT_TRUE(Near(TransformAffinePoint({0, 0, 0}, collider->GlobalMatrix()), {11, 0, 1}));

    Pose(0);
    EXPECT_TRUE(Near(v[0], {2, 0, 0}));
    EXPECT_TRUE(Near(blended->Vertices()[0], {0, 0, 0}));
}

TEST_F(SkeletonTest, ASkeletonWithoutFramesSkinsToTheRestPose)
{
    actor.Skeleton().Frames().Clear();
    actor.Skeleton().MorphMesh(true);
    EXPECT_TRUE(Near(rigid->Vertices()[0], {2, 0, 0}));
    EXPECT_TRUE(Near(blended->Vertices()[0], {0, 0, 0}));
}

TEST_F(SkeletonTest, BlendedLerpsScaleOnlyTheFirstPositionsAndAddTheOthersInFull)
{
    TSkeleton& skeleton = actor.Skeleton();
    skeleton.Frames().Clear();
    AddFrame(skeleton, {{{0, 0, 0}, {0, 0, 0}}});
    AddFrame(skeleton, {{{2, 0, 0}, {0, 0, 0.4f}}});
    AddFrame(skeleton, {{{0, 4, 0}, {0.2f, 0, 0}}});
    TAffineVectorList lift;
    lift.Add(0, 0, 3);
    const TBlendedLerpInfo infos[] = {
        {0, 1, 0.5f, 0.5f},           // (1, 0, 0) at half weight; turned 0.2 about Z
        {0, 2, 0.25f, 0.1f},          // (0, 1, 0) in full whatever its weight; 0.05 about X
        {0, 0, 0, 1, &lift, nullptr}, // positions from outside
    };
    skeleton.BlendedLerps(infos);
    EXPECT_TRUE(Near(skeleton.CurrentFrame().Position()[0], {0.5f, 1, 3}));
    EXPECT_TRUE(Near(skeleton.CurrentFrame().Rotation()[0], {0.05f, 0, 0.2f}));

    skeleton.BlendedLerps(std::span(infos, 1)); // one info is a plain Lerp
    EXPECT_TRUE(Near(skeleton.CurrentFrame().Position()[0], {1, 0, 0}));
}

TEST_F(SkeletonTest, ASkeletonWritesItsCollidersOnlyWhenItHasAny)
{
    TSkeleton& skeleton = actor.Skeleton();
    EXPECT_EQ(skeleton.SaveToString(),
              Int(0) + skeleton.RootBones().SaveToString() + skeleton.Frames().SaveToString());

    auto* collider = new TSkeletonCollider(&skeleton.Colliders());
    collider->SetBone(skeleton.BoneByName("hand"));
    collider->SetLocalMatrix(MakeScaleTranslationMatrix({2, 2, 2}, {0, 1, 0}));
    EXPECT_EQ(skeleton.SaveToString(), Int(1) + skeleton.RootBones().SaveToString() +
                                           skeleton.Frames().SaveToString() + skeleton.Colliders().SaveToString());

    TGLActor copy;
    copy.Skeleton().LoadFromString(skeleton.SaveToString());
    ASSERT_EQ(copy.Skeleton().Colliders().Count(), 1);
    const TSkeletonCollider& read = *copy.Skeleton().Colliders().Items(0);
    ASSERT_NE(read.Bone(), nullptr);
    EXPECT_EQ(read.Bone(), copy.Skeleton().BoneByID(2));
    EXPECT_EQ(read.Bone()->Name(), "hand");
    EXPECT_EQ(read.LocalMatrix().V[3].Y, 1);
    EXPECT_EQ(copy.Skeleton().Frames().Count(), 2);
    EXPECT_EQ(copy.Skeleton().Frames().Items(1)->Rotation()[1].Z, Quarter);
}

TEST(SkeletonFrameTest, AFrameOfVersionZeroReadsInRotationMode)
{
    RegisterMeshObjectClasses();
    TAffineVectorList positions, rotations;
    positions.Add(1, 2, 3);
    rotations.Add(0, 0.5f, 0);
    TSkeletonFrame frame;
    frame.Quaternion().Add(IdentityQuaternion);
    frame.SetTransformMode(sftQuaternion);
    frame.LoadFromString(Int(0) + std::string{char(vaString), 4} + "rest" + positions.SaveToString() +
                         rotations.SaveToString());
    EXPECT_EQ(frame.Name(), "rest");
    EXPECT_EQ(frame.TransformMode(), sftRotation);
    EXPECT_EQ(frame.Quaternion().Count(), 0);
    EXPECT_EQ(frame.Position()[0].Z, 3);
    EXPECT_EQ(frame.Rotation()[0].Y, 0.5f);
}

TEST_F(SkeletonTest, AMeshFileLoadsWithAnEmptySkeletonAndRejectsATruncatedWeightTable)
{
    TStringStream saved;
    actor.SaveToStream("a.glwm", saved);
    const std::string bytes = saved.DataString();

    TGLActor loaded;
    TStringStream whole(bytes);
    loaded.LoadFromStream("a.glwm", whole);
    ASSERT_EQ(loaded.MeshObjects().Count(), 2);
    loaded.Skeleton().MorphMesh(true); // no bones: every vertex stays
    const auto* skinned = ObjectCast<TSkeletonMeshObject>(loaded.MeshObjects().Items(1));
    ASSERT_NE(skinned, nullptr);
    EXPECT_EQ(skinned->BonesPerVertex(), 2);
    EXPECT_EQ(skinned->VerticesBonesWeights(0)[1].BoneID, 2);
    EXPECT_TRUE(Near(loaded.MeshObjects().Items(0)->Vertices()[0], {2, 0, 0}));

    // The last table is 16 bytes, followed by the list's end: cut into it.
    TStringStream cut(bytes.substr(0, bytes.size() - 12));
    EXPECT_NE(ErrorText<EInvalidVectorFile>([&] { loaded.LoadFromStream("a.glwm", cut); }).find("do not fit"),
              std::string::npos);
    EXPECT_EQ(loaded.MeshObjects().Count(), 2); // the mesh is as it was
}

TEST_F(SkeletonTest, AnAssignedActorSkinsLikeItsSource)
{
    TGLActor copy;
    copy.Assign(&actor);
    ASSERT_EQ(copy.Skeleton().BoneByName("hand")->BoneID(), 2);
    copy.Skeleton().SetCurrentFrame(*copy.Skeleton().Frames().Items(1));
    copy.Skeleton().MorphMesh(false);
    EXPECT_TRUE(Near(copy.MeshObjects().Items(0)->Vertices()[0], {1, 1, 0}));
    EXPECT_TRUE(Near(copy.MeshObjects().Items(1)->Vertices()[0], {0.5f, 0.5f, 0}));
}

} // namespace
