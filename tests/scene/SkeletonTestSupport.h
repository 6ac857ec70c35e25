#pragma once
// What the skeleton and actor tests share: frames written as one pose per bone id,
// skinned mesh objects in one call, and point comparison with a tolerance.

#include "scene/objects/meshes/Actor.h"
#include "scene/objects/meshes/MeshObjectClasses.h"
#include "scene/objects/meshes/SkeletonMeshObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace skeletontest {

struct TPose {
    TAffineVector Position;
    TAffineVector Rotation; // Euler angles, radians
};

// A frame in rotation mode with one pose per bone id, in order.
inline TSkeletonFrame* AddFrame(TSkeleton& skeleton, std::initializer_list<TPose> poses)
{
    auto* frame = new TSkeletonFrame(&skeleton.Frames());
    for (const TPose& pose : poses) {
        frame->Position().Add(pose.Position);
        frame->Rotation().Add(pose.Rotation);
    }
    return frame;
}

// A skinned triangle list: one vertex (normal +X) per weight row.
inline TSkeletonMeshObject* AddSkinned(TGLBaseMesh& mesh, std::initializer_list<TAffineVector> vertices,
                                       std::initializer_list<std::vector<TVertexBoneWeight>> rows)
{
    auto* object = new TSkeletonMeshObject(&mesh.MeshObjects());
    for (const TAffineVector& v : vertices) {
        object->Vertices().Add(v);
        object->Normals().Add(1, 0, 0);
    }
    for (const auto& row : rows) {
        if (row.size() == 1) {
            object->AddWeightedBone(row[0].BoneID, row[0].Weight);
        } else {
            object->AddWeightedBones({row[0], row[1]});
        }
    }
    return object;
}

// Poses the bones from frame 0 and takes that pose as the rest pose of every
// skinned mesh object, as a loader does after building the skeleton.
inline void BindRestPose(TGLBaseMesh& mesh)
{
    mesh.Skeleton().RootBones().PrepareGlobalMatrices();
    for (int i = 0; i < mesh.MeshObjects().Count(); ++i) {
        if (auto* skinned = ObjectCast<TSkeletonMeshObject>(mesh.MeshObjects().Items(i))) {
            skinned->PrepareBoneMatrixInvertedMeshes();
        }
    }
}

inline ::testing::AssertionResult Near(const TAffineVector& actual, const TAffineVector& expected, float tolerance = 1e-5f)
{
    for (int k = 0; k < 3; ++k) {
        if (std::fabs(actual[k] - expected[k]) > tolerance) {
            return ::testing::AssertionFailure() << "(" << actual.X << ", " << actual.Y << ", " << actual.Z
                                                 << ") instead of (" << expected.X << ", " << expected.Y << ", "
                                                 << expected.Z << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace skeletontest
