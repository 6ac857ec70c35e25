#pragma once
// A mesh object skinned by its mesh's skeleton: every vertex has a row of
// BonesPerVertex (bone id, weight) pairs. Skinning starts from copies of the vertices
// and normals carried into each bone slot's bone space (the inverse of the bone's
// global matrix at preparation time) and carries them out again by the bones' current
// global matrices: rigidly with one bone per vertex, as a weighted sum with several.
//
// A bone the skeleton does not hold stands for the identity, and a vertex without a
// weight row keeps its position.

#include "scene/objects/meshes/MeshObjects.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class TSkeleton;

struct TVertexBoneWeight {
    std::int32_t BoneID;
    float Weight;
};
static_assert(sizeof(TVertexBoneWeight) == 8, "a weight pair is streamed as 8 raw bytes");

class TSkeletonMeshObject : public TMorphableMeshObject {
    KP_CLASS(TSkeletonMeshObject, TMorphableMeshObject)
    KP_PERSISTENT_INSTANCE(TSkeletonMeshObject)
public:
    TSkeletonMeshObject() = default;
    // Added to the list.
    explicit TSkeletonMeshObject(TMeshObjectList* owner);

    int BonesPerVertex() const { return bonesPerVertex_; }
    // Re-lays the rows: each keeps its first slots, new slots have bone 0 and weight 0.
    void SetBonesPerVertex(int value);
    int VerticeBoneWeightCount() const { return weightCount_; }
    int VerticeBoneWeightCapacity() const { return weightCapacity_; }
    // Row `vertex`: BonesPerVertex pairs; no range check.
    TVertexBoneWeight* VerticesBonesWeights(int vertex)
    {
        return weights_.data() + static_cast<std::size_t>(vertex) * static_cast<std::size_t>(bonesPerVertex_);
    }
    const TVertexBoneWeight* VerticesBonesWeights(int vertex) const
    {
        return weights_.data() + static_cast<std::size_t>(vertex) * static_cast<std::size_t>(bonesPerVertex_);
    }
    // Appends the row of the next vertex; BonesPerVertex grows to the row's length
    // when shorter, missing slots are bone 0 with weight 0.
    void AddWeightedBone(int boneId, float weight);
    void AddWeightedBones(std::initializer_list<TVertexBoneWeight> row);

    // One copy of the vertices and normals per bone slot, in that slot's bone space.
    int BoneMatrixInvertedMeshCount() const { return static_cast<int>(boneMatrixInvertedMeshes_.size()); }
    const TBaseMeshObject& BoneMatrixInvertedMesh(int slot) const
    {
        return *boneMatrixInvertedMeshes_[static_cast<std::size_t>(slot)];
    }
    // From the bones' global matrices as they stand; done after every read of a
    // mesh-object list, and by hand after building a skeleton.
    void PrepareBoneMatrixInvertedMeshes();
    // Vertices and normals from the copies and the bones' current global matrices;
    // the normals are normalised when asked. Needs the copies.
    void ApplyCurrentSkeletonFrame(bool normalize);

    // Also empties the weight table and drops the copies.
    void Clear() override;

    void WriteToFiler(TVirtualWriter& writer) const override;
    // The table's size is checked against what is left in the stream before anything
    // is allocated: EInvalidVectorFile when it cannot be there.
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    // Nil when the mesh object belongs to no mesh.
    TSkeleton* Skeleton() const;
    void AddRow(int length);

    std::vector<TVertexBoneWeight> weights_;
    int bonesPerVertex_ = 0;
    int weightCount_ = 0;
    int weightCapacity_ = 0;
    std::vector<std::unique_ptr<TBaseMeshObject>> boneMatrixInvertedMeshes_;
};
