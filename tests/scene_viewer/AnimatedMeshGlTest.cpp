#include "SquareViewGl.h"

#include "../scene/SkeletonTestSupport.h"

#include "scene/rendering/TexCoordRouter.h"
#include "scene/objects/meshes/SimpleMesh.h"

#include <numbers>

using namespace skeletontest;

namespace {

class AnimatedMeshGl : public testsupport::SquareViewGl {
protected:
    AnimatedMeshGl()
    {
        RegisterMeshObjectClasses();
        GL.glDisable(GL_CULL_FACE);
        GL.glColor3f(1, 1, 1);
        MapTexCoordNowhere();
        MapTexCoordToUnit0();
    }
    void Clear() { GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
};

TEST_F(AnimatedMeshGl, ASimpleMeshDrawsItsTriangleFromTheRecords)
{
    TGLMesh mesh;
    mesh.SetVertexMode(vmVNC);
    for (int i = 0; i < 3; ++i) {
        mesh.Vertices().Values()[i].Color = {1, 1, 1, 1};
    }
    mesh.Vertices().SetLocked(true); // Mesa has no fast vertex memory
    EXPECT_FALSE(mesh.Vertices().Locked());
    mesh.BuildList(rci);
    // Seen along -Z: the corner (0, 0) and the two points (1, 0) and (0, 1).
    EXPECT_TRUE(Inked(0.3f, 0.3f));
    EXPECT_TRUE(Inked(0.1f, 0.8f));
    EXPECT_FALSE(Inked(0.7f, 0.7f));
    EXPECT_FALSE(Inked(-0.3f, 0.3f));
}

TEST_F(AnimatedMeshGl, ASkinnedActorShowsEachFramesPose)
{
    // A square right of the origin, on a bone that turns half round in frame 1.
    TGLActor actor;
    new TSkeletonBone(&actor.Skeleton().RootBones(), 0, "bone");
    AddFrame(actor.Skeleton(), {{{0, 0, 0}, {}}});
    AddFrame(actor.Skeleton(), {{{0, 0, 0}, {0, 0, std::numbers::pi_v<float>}}});
    AddSkinned(actor, {{0.5f, -0.5f, 0}, {1.5f, -0.5f, 0}, {1.5f, 0.5f, 0}, {0.5f, -0.5f, 0}, {1.5f, 0.5f, 0}, {0.5f, 0.5f, 0}},
               {{{0, 1}}, {{0, 1}}, {{0, 1}}, {{0, 1}}, {{0, 1}}, {{0, 1}}});
    BindRestPose(actor);
    actor.SetReference(aarSkeleton);
    actor.PrepareMesh();

    actor.BuildList(rci);
    EXPECT_TRUE(Inked(1, 0));
    EXPECT_FALSE(Inked(-1, 0));

    Clear();
    actor.SetCurrentFrame(1);
    actor.BuildList(rci);
    EXPECT_TRUE(Inked(-1, 0));
    EXPECT_TRUE(Inked(-1.4f, 0.4f));
    EXPECT_FALSE(Inked(1, 0));
}

} // namespace
