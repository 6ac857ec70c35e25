#pragma once
// The skeleton of an animated mesh: a hierarchy of bones, key frames that give every
// bone id a translation and a rotation (Euler angles or a quaternion), and colliders
// attached to bones. The skeleton's current frame poses the bones (their global
// matrices); skeleton mesh objects are then skinned from those matrices.
//
// Lookups never fail: a bone id without a bone, or a frame without an entry for it,
// stands for the identity transform.

#include "scene/graph/RenderContextInfo.h"
#include "scene/base/PersistentObject.h"
#include "scene/base/VectorLists.h"
#include "scene/objects/meshes/MeshItemList.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TGLBaseMesh;
class TSkeleton;
class TSkeletonBone;
class TSkeletonFrameList;
class TSkeletonColliderList;

enum TSkeletonFrameTransform : std::uint8_t { sftRotation, sftQuaternion };

class TSkeletonFrame : public TPersistentObject {
    KP_CLASS(TSkeletonFrame, TPersistentObject)
    KP_PERSISTENT_INSTANCE(TSkeletonFrame)
public:
    TSkeletonFrame() = default;
    // Added to the list.
    explicit TSkeletonFrame(TSkeletonFrameList* owner);
    // Leaves its list.
    ~TSkeletonFrame() override;

    TSkeletonFrameList* Owner() const { return owner_; }
    void SetOwner(TSkeletonFrameList* owner) { owner_ = owner; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& value) { name_ = value; }
    // One translation per bone id.
    TAffineVectorList& Position() { return position_; }
    const TAffineVectorList& Position() const { return position_; }
    // Euler angles in radians per bone id, used in sftRotation mode.
    TAffineVectorList& Rotation() { return rotation_; }
    const TAffineVectorList& Rotation() const { return rotation_; }
    // Used in sftQuaternion mode.
    TQuaternionList& Quaternion() { return quaternion_; }
    const TQuaternionList& Quaternion() const { return quaternion_; }
    TSkeletonFrameTransform TransformMode() const { return transformMode_; }
    void SetTransformMode(TSkeletonFrameTransform value);

    // The local matrix of every bone id, built on first use and kept until
    // FlushLocalMatrixList: change the lists, then flush.
    const std::vector<TMatrix>& LocalMatrixList() const;
    // The identity for an id the frame holds nothing for.
    const TMatrix& LocalMatrix(int boneId) const
    {
        const std::vector<TMatrix>& list = LocalMatrixList();
        return boneId >= 0 && boneId < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(boneId)]
                                                                        : IdentityMatrix;
    }
    void FlushLocalMatrixList() { localMatricesValid_ = false; }

    // From a frame: name, the three lists and the mode.
    void Assign(const TPersistent* source) override;
    void WriteToFiler(TVirtualWriter& writer) const override;
    // Versions 0 (no quaternions, rotation mode) and 1.
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TSkeletonFrameList* owner_ = nullptr;
    std::string name_;
    TAffineVectorList position_;
    TAffineVectorList rotation_;
    TQuaternionList quaternion_;
    TSkeletonFrameTransform transformMode_ = sftRotation;
    mutable std::vector<TMatrix> localMatrices_;
    mutable bool localMatricesValid_ = false;
};

class TSkeletonFrameList : public TMeshItemList<TSkeletonFrame, TSkeletonFrameList> {
    KP_CLASS(TSkeletonFrameList, TPersistentObjectList)
    KP_PERSISTENT_INSTANCE(TSkeletonFrameList)
public:
    TSkeletonFrameList() = default;
    explicit TSkeletonFrameList(TSkeleton* owner) : owner_(owner) {}

    TSkeleton* Owner() const { return owner_; }

private:
    TSkeleton* owner_ = nullptr;
};

// A level of the bone hierarchy: the skeleton's top level, or a bone's children.
class TSkeletonBoneList : public TMeshItemList<TSkeletonBone, TSkeletonBoneList> {
    KP_CLASS(TSkeletonBoneList, TPersistentObjectList)
public:
    TSkeletonBoneList() = default;
    explicit TSkeletonBoneList(TSkeleton* skeleton) : skeleton_(skeleton) {}

    TSkeleton* Skeleton() const { return skeleton_; }
    // Identity until PrepareGlobalMatrices; the root list keeps the identity.
    const TMatrix& GlobalMatrix() const { return globalMatrix_; }

    // Depth first: a bone answers itself before its children.
    virtual TSkeletonBone* BoneByID(int id) const;
    // Case-sensitive.
    virtual TSkeletonBone* BoneByName(const std::string& name) const;
    // The overlay: every bone as a point, joined to its parent by a line.
    virtual void BuildList(TRenderContextInfo& rci) = 0;
    // Every bone's global matrix from the skeleton's current frame.
    virtual void PrepareGlobalMatrices();

    // The list framing, then version 0.
    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

protected:
    // Bones read into this list join its skeleton before they read their children.
    void ObjectCreatedWhileReading(TPersistentObject* object) override;
    void SetSkeleton(TSkeleton* skeleton) { skeleton_ = skeleton; }

    TMatrix globalMatrix_ = IdentityMatrix;

private:
    TSkeleton* skeleton_ = nullptr;
};

class TSkeletonRootBoneList : public TSkeletonBoneList {
    KP_CLASS(TSkeletonRootBoneList, TSkeletonBoneList)
public:
    using TSkeletonBoneList::TSkeletonBoneList;
    // Unlit, without colour material, over white; the enable bits are restored.
    void BuildList(TRenderContextInfo& rci) override;
};

class TSkeletonBone : public TSkeletonBoneList {
    KP_CLASS(TSkeletonBone, TSkeletonBoneList)
    KP_PERSISTENT_INSTANCE(TSkeletonBone)
public:
    TSkeletonBone() = default;
    // Added to the list, in its skeleton.
    explicit TSkeletonBone(TSkeletonBoneList* owner, int boneId = 0, const std::string& name = {});
    // Leaves its list and its skeleton; the children go with it.
    ~TSkeletonBone() override;

    TSkeletonBoneList* Owner() const { return owner_; }
    void SetOwner(TSkeletonBoneList* owner) { owner_ = owner; }
    int BoneID() const { return boneId_; }
    void SetBoneID(int value);
    const std::string& Name() const { return name_; }
    void SetName(const std::string& value) { name_ = value; }
    // $AABBGGRR.
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t value) { color_ = value; }

    // Frees the children and forgets the id and name.
    void Clear();

    TSkeletonBone* BoneByID(int id) const override;
    TSkeletonBone* BoneByName(const std::string& name) const override;
    void BuildList(TRenderContextInfo& rci) override;
    // Own local matrix times the parent's global one, then the children.
    void PrepareGlobalMatrices() override;

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    friend class TSkeletonBoneList;
    TSkeletonBoneList* owner_ = nullptr;
    int boneId_ = 0;
    std::string name_;
    std::uint32_t color_ = 0xFFFFFFFF;
};

class TSkeletonCollider : public TPersistentObject {
    KP_CLASS(TSkeletonCollider, TPersistentObject)
    KP_PERSISTENT_INSTANCE(TSkeletonCollider)
public:
    TSkeletonCollider() = default;
    // Added to the list.
    explicit TSkeletonCollider(TSkeletonColliderList* owner);
    ~TSkeletonCollider() override;

    TSkeletonColliderList* Owner() const { return owner_; }
    void SetOwner(TSkeletonColliderList* owner) { owner_ = owner; }
    // Nil without a bone; while reading only the bone's id is known.
    TSkeletonBone* Bone() const { return bone_; }
    void SetBone(TSkeletonBone* value) { bone_ = value; }
    int ReadBoneID() const { return readBoneId_; }
    const TMatrix& LocalMatrix() const { return localMatrix_; }
    void SetLocalMatrix(const TMatrix& value) { localMatrix_ = value; }
    const TMatrix& GlobalMatrix() const { return globalMatrix_; }
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool value) { autoUpdate_ = value; }

    // LocalMatrix times the bone's global matrix, carried into the scene by the
    // mesh's absolute matrix; LocalMatrix alone without a bone.
    virtual void AlignCollider();

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TSkeletonColliderList* owner_ = nullptr;
    TSkeletonBone* bone_ = nullptr;
    int readBoneId_ = -1;
    TMatrix localMatrix_ = IdentityMatrix;
    TMatrix globalMatrix_ = IdentityMatrix;
    bool autoUpdate_ = true;
};

class TSkeletonColliderList : public TMeshItemList<TSkeletonCollider, TSkeletonColliderList> {
    KP_CLASS(TSkeletonColliderList, TPersistentObjectList)
    KP_PERSISTENT_INSTANCE(TSkeletonColliderList)
public:
    TSkeletonColliderList() = default;
    explicit TSkeletonColliderList(TSkeleton* owner) : owner_(owner) {}

    TSkeleton* Owner() const { return owner_; }
    // Those with AutoUpdate.
    void AlignColliders();
    // Each stored bone id is looked up in the skeleton; an unknown one leaves no bone.
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TSkeleton* owner_ = nullptr;
};

// One animation's contribution to a blended pose: frames FrameIndex1 and FrameIndex2
// mixed by LerpFactor, or lists given from outside in their place.
struct TBlendedLerpInfo {
    int FrameIndex1 = 0;
    int FrameIndex2 = 0;
    float LerpFactor = 0;
    float Weight = 1;
    const TAffineVectorList* ExternalPositions = nullptr;
    const TAffineVectorList* ExternalRotations = nullptr;
    const TQuaternionList* ExternalQuaternions = nullptr;
};

class TSkeleton : public TPersistentObject {
    KP_CLASS(TSkeleton, TPersistentObject)
    KP_PERSISTENT_INSTANCE(TSkeleton)
public:
    TSkeleton() : TSkeleton(nullptr) {}
    explicit TSkeleton(TGLBaseMesh* owner);
    ~TSkeleton() override;

    TGLBaseMesh* Owner() const { return owner_; }
    TSkeletonRootBoneList& RootBones() { return *rootBones_; }
    const TSkeletonRootBoneList& RootBones() const { return *rootBones_; }
    TSkeletonFrameList& Frames() { return *frames_; }
    const TSkeletonFrameList& Frames() const { return *frames_; }
    TSkeletonColliderList& Colliders() { return *colliders_; }
    const TSkeletonColliderList& Colliders() const { return *colliders_; }

    // The pose the bones take: made on first use as a copy of frame 0 (empty without
    // frames, which leaves every bone where it is).
    TSkeletonFrame& CurrentFrame();
    // The current frame becomes a copy of the frame.
    void SetCurrentFrame(const TSkeletonFrame& frame);

    // Through a table by id, built on first use and dropped whenever bones come or go.
    TSkeletonBone* BoneByID(int id) const
    {
        if (!boneTableValid_) {
            BuildBoneTable();
        }
        if (id >= 0 && id < static_cast<int>(boneTable_.size())) {
            return boneTable_[static_cast<std::size_t>(id)];
        }
        return BoneBeyondTable(id);
    }
    TSkeletonBone* BoneByName(const std::string& name) const { return rootBones_->BoneByName(name); }
    // One more than the largest id the table holds directly (larger ids are found by
    // searching the bones).
    int BoneTableSize() const
    {
        if (!boneTableValid_) {
            BuildBoneTable();
        }
        return static_cast<int>(boneTable_.size());
    }

    // The current frame := frames index1 and index2 mixed by factor, in the mode of
    // the first (indices asserted).
    void Lerp(int index1, int index2, float factor);
    // The current frame from several animations: info 0 as in Lerp, its positions
    // scaled by its weight; the others add their positions and rotations (combine
    // their quaternions) at full strength. At least one info (asserted).
    void BlendedLerps(std::span<const TBlendedLerpInfo> infos);
    // Poses the bones from the current frame, aligns the colliders and skins every
    // skeleton mesh object of the owner mesh.
    void MorphMesh(bool normalize);
    // Takes the reference's current frame, then MorphMesh(true).
    void Synchronize(TSkeleton& reference);
    // Bones, frames, colliders and the current frame.
    void Clear();

    // Version 1 with colliders, else 0.
    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    friend class TSkeletonBone;
    friend class TSkeletonBoneList;
    void BuildBoneTable() const;
    TSkeletonBone* BoneBeyondTable(int id) const;
    // A bone joined, left or changed its id.
    void BonesChanged() { boneTableValid_ = false; }
    void BoneRemoved(TSkeletonBone* bone);

    TGLBaseMesh* owner_ = nullptr;
    mutable std::vector<TSkeletonBone*> boneTable_;
    mutable bool boneTableValid_ = false;
    // Some bone has an id too large to index the table by.
    mutable bool largeBoneIds_ = false;
    std::unique_ptr<TSkeletonFrame> currentFrame_;
    std::unique_ptr<TSkeletonRootBoneList> rootBones_;
    std::unique_ptr<TSkeletonFrameList> frames_;
    std::unique_ptr<TSkeletonColliderList> colliders_;
};
