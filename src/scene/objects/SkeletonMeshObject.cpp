#include "scene/objects/SkeletonMeshObject.h"

#include "platform/core/Assert.h"
#include "scene/base/MatrixMath.h"
#include "scene/objects/BaseMesh.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {

// The bone's global matrix; the identity for an id the skeleton does not hold.
const TMatrix& BoneMatrix(const TSkeleton* skeleton, int id)
{
    const TSkeletonBone* bone = skeleton ? skeleton->BoneByID(id) : nullptr;
    return bone ? bone->GlobalMatrix() : IdentityMatrix;
}

} // namespace

TSkeletonMeshObject::TSkeletonMeshObject(TMeshObjectList* owner)
{
    if (owner) {
        owner->AddItem(this);
    }
}

TSkeleton* TSkeletonMeshObject::Skeleton() const
{
    TGLBaseMesh* mesh = Owner() ? Owner()->Owner() : nullptr;
    return mesh ? &mesh->Skeleton() : nullptr;
}

void TSkeletonMeshObject::SetBonesPerVertex(int value)
{
    KP_ASSERT(value >= 0);
    if (value == bonesPerVertex_) {
        return;
    }
    std::vector<TVertexBoneWeight> table(static_cast<std::size_t>(weightCapacity_) * static_cast<std::size_t>(value),
                                         TVertexBoneWeight{0, 0});
    const int kept = std::min(value, bonesPerVertex_);
    for (int row = 0; row < weightCount_; ++row) {
        std::copy_n(VerticesBonesWeights(row), kept, table.data() + static_cast<std::size_t>(row) * value);
    }
    weights_ = std::move(table);
    bonesPerVertex_ = value;
}

void TSkeletonMeshObject::AddRow(int length)
{
    if (length > bonesPerVertex_) {
        SetBonesPerVertex(length);
    }
    if (weightCount_ == weightCapacity_) {
        weightCapacity_ = weightCount_ + std::max(16, weightCount_ / 2);
        weights_.resize(static_cast<std::size_t>(weightCapacity_) * static_cast<std::size_t>(bonesPerVertex_),
                        TVertexBoneWeight{0, 0});
    }
    ++weightCount_;
}

void TSkeletonMeshObject::AddWeightedBone(int boneId, float weight) { AddWeightedBones({{boneId, weight}}); }

void TSkeletonMeshObject::AddWeightedBones(std::initializer_list<TVertexBoneWeight> row)
{
    AddRow(static_cast<int>(row.size()));
    TVertexBoneWeight* slots = VerticesBonesWeights(weightCount_ - 1);
    std::fill_n(slots, bonesPerVertex_, TVertexBoneWeight{0, 0});
    std::copy(row.begin(), row.end(), slots);
}

void TSkeletonMeshObject::PrepareBoneMatrixInvertedMeshes()
{
    boneMatrixInvertedMeshes_.clear();
    const TSkeleton* skeleton = Skeleton();
    std::unordered_map<int, TMatrix> inverses;
    auto inverse = [&](int id) -> const TMatrix& {
        auto [it, added] = inverses.try_emplace(id, BoneMatrix(skeleton, id));
        if (added) {
            InvertMatrix(it->second);
        }
        return it->second;
    };
    for (int slot = 0; slot < bonesPerVertex_; ++slot) {
        auto copy = std::make_unique<TBaseMeshObject>();
        copy->SetVertices(Vertices());
        copy->SetNormals(Normals());
        TAffineVector* vertices = copy->Vertices().List();
        TAffineVector* normals = copy->Normals().List();
        const int vertexCount = std::min(copy->Vertices().Count(), weightCount_);
        const int normalCount = std::min(copy->Normals().Count(), weightCount_);
        for (int i = 0; i < std::max(vertexCount, normalCount); ++i) {
            const TMatrix& m = inverse(VerticesBonesWeights(i)[slot].BoneID);
            if (i < vertexCount) {
                vertices[i] = TransformAffinePoint(vertices[i], m);
            }
            if (i < normalCount) {
                normals[i] = TransformVector(normals[i], m);
            }
        }
        boneMatrixInvertedMeshes_.push_back(std::move(copy));
    }
}

void TSkeletonMeshObject::ApplyCurrentSkeletonFrame(bool normalize)
{
    const int slots = bonesPerVertex_;
    if (slots == 0 || BoneMatrixInvertedMeshCount() < slots) {
        return;
    }
    const TSkeleton* skeleton = Skeleton();
    // Only what every table covers: the vertex lists may have changed since the copies.
    int vertexCount = std::min(Vertices().Count(), weightCount_);
    int normalCount = std::min(Normals().Count(), weightCount_);
    std::vector<const TAffineVector*> sourceVertices(static_cast<std::size_t>(slots));
    std::vector<const TAffineVector*> sourceNormals(static_cast<std::size_t>(slots));
    for (int slot = 0; slot < slots; ++slot) {
        const TBaseMeshObject& copy = BoneMatrixInvertedMesh(slot);
        vertexCount = std::min(vertexCount, copy.Vertices().Count());
        normalCount = std::min(normalCount, copy.Normals().Count());
        sourceVertices[static_cast<std::size_t>(slot)] = copy.Vertices().List();
        sourceNormals[static_cast<std::size_t>(slot)] = copy.Normals().List();
    }
    TAffineVector* vertices = Vertices().List();
    TAffineVector* normals = Normals().List();
    const int count = std::max(vertexCount, normalCount);
    if (slots == 1) {
        const TAffineVector* v = sourceVertices[0];
        const TAffineVector* n = sourceNormals[0];
        for (int i = 0; i < count; ++i) {
            const TMatrix& m = BoneMatrix(skeleton, VerticesBonesWeights(i)->BoneID);
            if (i < vertexCount) {
                vertices[i] = TransformAffinePoint(v[i], m);
            }
            if (i < normalCount) {
                normals[i] = TransformVector(n[i], m);
            }
        }
    } else {
        for (int i = 0; i < count; ++i) {
            const TVertexBoneWeight* row = VerticesBonesWeights(i);
            double vx = 0, vy = 0, vz = 0, nx = 0, ny = 0, nz = 0;
            for (int slot = 0; slot < slots; ++slot) {
                const double w = row[slot].Weight;
                if (w == 0) {
                    continue;
                }
                const TMatrix& m = BoneMatrix(skeleton, row[slot].BoneID);
                if (i < vertexCount) {
                    const TAffineVector p = TransformAffinePoint(sourceVertices[static_cast<std::size_t>(slot)][i], m);
                    vx += w * p.X;
                    vy += w * p.Y;
                    vz += w * p.Z;
                }
                if (i < normalCount) {
                    const TAffineVector d = TransformVector(sourceNormals[static_cast<std::size_t>(slot)][i], m);
                    nx += w * d.X;
                    ny += w * d.Y;
                    nz += w * d.Z;
                }
            }
            if (i < vertexCount) {
                vertices[i] = {static_cast<float>(vx), static_cast<float>(vy), static_cast<float>(vz)};
            }
            if (i < normalCount) {
                normals[i] = {static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz)};
            }
        }
    }
    if (normalize) {
        Normals().Normalize();
    }
}

void TSkeletonMeshObject::Clear()
{
    TMorphableMeshObject::Clear();
    weights_.clear();
    weights_.shrink_to_fit();
    weightCount_ = 0;
    weightCapacity_ = 0;
    bonesPerVertex_ = 0;
    boneMatrixInvertedMeshes_.clear();
}

void TSkeletonMeshObject::WriteToFiler(TVirtualWriter& writer) const
{
    TMorphableMeshObject::WriteToFiler(writer);
    writer.WriteInteger(0);
    writer.WriteInteger(weightCount_);
    writer.WriteInteger(bonesPerVertex_);
    writer.WriteInteger(weightCapacity_);
    const std::int64_t bytes = std::int64_t{weightCount_} * bonesPerVertex_ * std::int64_t{sizeof(TVertexBoneWeight)};
    if (bytes > 0) {
        writer.Write(weights_.data(), bytes);
    }
}

void TSkeletonMeshObject::ReadFromFiler(TVirtualReader& reader)
{
    TMorphableMeshObject::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
    const int count = reader.ReadInteger();
    const int bonesPerVertex = reader.ReadInteger();
    const int capacity = reader.ReadInteger();
    const std::string where = "skeleton mesh object \"" + Name() + "\": ";
    if (count < 0 || bonesPerVertex < 0 || capacity < 0) {
        throw EInvalidVectorFile(where + "a negative bone weight count");
    }
    const std::int64_t bytes = std::int64_t{count} * bonesPerVertex * std::int64_t{sizeof(TVertexBoneWeight)};
    if (bytes > reader.Stream().Remaining()) {
        throw EInvalidVectorFile(where + std::to_string(count) + " bone weight rows of " +
                                 std::to_string(bonesPerVertex) + " bones do not fit in the rest of the file");
    }
    std::vector<TVertexBoneWeight> table(static_cast<std::size_t>(count) * static_cast<std::size_t>(bonesPerVertex));
    if (bytes > 0) {
        reader.Read(table.data(), bytes);
    }
    // Only the rows read are allocated: the stored capacity is no promise about the file.
    weights_ = std::move(table);
    weightCount_ = count;
    weightCapacity_ = count;
    bonesPerVertex_ = bonesPerVertex;
    boneMatrixInvertedMeshes_.clear();
}
