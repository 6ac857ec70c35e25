#include "scene/objects/meshes/SkeletonMeshObject.h"

#include "platform/core/Assert.h"
#include "scene/base/MatrixMath.h"
#include "scene/objects/meshes/BaseMesh.h"

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

namespace {

// A bone's global matrix in double, rows 0 to 2 then the translation: loads from it
// cannot alias the float lists being written, so the loops keep it in registers.
struct TSkinMatrix {
    double M[12];
};

TSkinMatrix ToSkinMatrix(const TMatrix& m)
{
    TSkinMatrix s{};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            s.M[row * 3 + col] = m.V[row][col];
        }
    }
    return s;
}

// Every bone id's matrix, the identity for ids without a bone; ids beyond the
// skeleton's table are looked up one by one.
class TSkinMatrices {
public:
    explicit TSkinMatrices(const TSkeleton* skeleton) : skeleton_(skeleton)
    {
        const int size = skeleton ? skeleton->BoneTableSize() : 0;
        matrices_.reserve(static_cast<std::size_t>(size));
        for (int id = 0; id < size; ++id) {
            matrices_.push_back(ToSkinMatrix(BoneMatrix(skeleton, id)));
        }
    }
    const TSkinMatrix& operator[](int id)
    {
        if (static_cast<unsigned>(id) < matrices_.size()) [[likely]] {
            return matrices_[static_cast<std::size_t>(id)];
        }
        return Other(id);
    }

private:
    [[gnu::noinline]] const TSkinMatrix& Other(int id)
    {
        other_ = ToSkinMatrix(BoneMatrix(skeleton_, id));
        return other_;
    }

    const TSkeleton* skeleton_;
    std::vector<TSkinMatrix> matrices_;
    TSkinMatrix other_{};
};

// Vertex and normal i := the sums over the row's slots of weight x (the slot's copy
// through the slot's bone): points with the translation, normals without. One slot
// is rigid (its weight ignored); zero weights are skipped. `Slots` is the row length
// when known at compile time (the usual one and two bones), else 0.
template <int Slots>
void Skin(TAffineVector* vertices, int vertexCount, TAffineVector* normals, int normalCount,
          const std::vector<const TAffineVector*>& sourceVertices, const std::vector<const TAffineVector*>& sourceNormals,
          const TVertexBoneWeight* rows, int rowLength, TSkinMatrices& matrices)
{
    const int slots = Slots > 0 ? Slots : rowLength;
    const int count = std::max(vertexCount, normalCount);
    for (int i = 0; i < count; ++i) {
        const TVertexBoneWeight* row = rows + static_cast<std::size_t>(i) * static_cast<std::size_t>(slots);
        const bool point = i < vertexCount;
        const bool normal = i < normalCount;
        double x = 0, y = 0, z = 0, nx = 0, ny = 0, nz = 0;
        for (int slot = 0; slot < slots; ++slot) {
            const double w = slots == 1 ? 1.0 : row[slot].Weight;
            if (w == 0) {
                continue;
            }
            const double* m = matrices[row[slot].BoneID].M;
            if (point) {
                const TAffineVector& p = sourceVertices[static_cast<std::size_t>(slot)][i];
                x += w * (p.X * m[0] + p.Y * m[3] + p.Z * m[6] + m[9]);
                y += w * (p.X * m[1] + p.Y * m[4] + p.Z * m[7] + m[10]);
                z += w * (p.X * m[2] + p.Y * m[5] + p.Z * m[8] + m[11]);
            }
            if (normal) {
                const TAffineVector& n = sourceNormals[static_cast<std::size_t>(slot)][i];
                nx += w * (n.X * m[0] + n.Y * m[3] + n.Z * m[6]);
                ny += w * (n.X * m[1] + n.Y * m[4] + n.Z * m[7]);
                nz += w * (n.X * m[2] + n.Y * m[5] + n.Z * m[8]);
            }
        }
        if (point) {
            vertices[i] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
        }
        if (normal) {
            normals[i] = {static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz)};
        }
    }
}

} // namespace

void TSkeletonMeshObject::ApplyCurrentSkeletonFrame(bool normalize)
{
    const int slots = bonesPerVertex_;
    if (slots == 0 || BoneMatrixInvertedMeshCount() < slots) {
        return;
    }
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
    TSkinMatrices matrices(Skeleton());
    auto skin = slots == 1 ? &Skin<1> : slots == 2 ? &Skin<2> : &Skin<0>;
    skin(Vertices().List(), vertexCount, Normals().List(), normalCount, sourceVertices, sourceNormals, weights_.data(),
         slots, matrices);
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
