// The skeleton classes' own fields in stream order; each class writes its parent's
// part first, then its version and fields.

#include "scene/objects/meshes/Skeleton.h"

#include "platform/core/Exceptions.h"

#include <cstdint>

void TSkeletonFrame::WriteToFiler(TVirtualWriter& writer) const
{
    TPersistentObject::WriteToFiler(writer);
    writer.WriteInteger(1);
    writer.WriteString(name_);
    position_.WriteToFiler(writer);
    rotation_.WriteToFiler(writer);
    quaternion_.WriteToFiler(writer);
    writer.WriteInteger(transformMode_);
}

void TSkeletonFrame::ReadFromFiler(TVirtualReader& reader)
{
    TPersistentObject::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version < 0 || version > 1) {
        RaiseFilerException(version);
    }
    name_ = reader.ReadString();
    position_.ReadFromFiler(reader);
    rotation_.ReadFromFiler(reader);
    if (version >= 1) {
        quaternion_.ReadFromFiler(reader);
        const int mode = reader.ReadInteger();
        if (mode != sftRotation && mode != sftQuaternion) {
            throw EReadError("Skeleton frame \"" + name_ + "\" has the unknown transform mode " + std::to_string(mode));
        }
        transformMode_ = static_cast<TSkeletonFrameTransform>(mode);
    } else {
        quaternion_.Clear();
        transformMode_ = sftRotation;
    }
    FlushLocalMatrixList();
}

void TSkeletonBoneList::WriteToFiler(TVirtualWriter& writer) const
{
    TMeshItemList::WriteToFiler(writer);
    writer.WriteInteger(0);
}

void TSkeletonBoneList::ReadFromFiler(TVirtualReader& reader)
{
    TMeshItemList::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
}

void TSkeletonBone::WriteToFiler(TVirtualWriter& writer) const
{
    TSkeletonBoneList::WriteToFiler(writer);
    writer.WriteInteger(0);
    writer.WriteString(name_);
    writer.WriteInteger(boneId_);
    writer.WriteInteger(static_cast<std::int32_t>(color_));
}

void TSkeletonBone::ReadFromFiler(TVirtualReader& reader)
{
    TSkeletonBoneList::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
    name_ = reader.ReadString();
    SetBoneID(reader.ReadInteger());
    color_ = static_cast<std::uint32_t>(reader.ReadInteger());
}

void TSkeletonCollider::WriteToFiler(TVirtualWriter& writer) const
{
    TPersistentObject::WriteToFiler(writer);
    writer.WriteInteger(0);
    writer.WriteInteger(bone_ ? bone_->BoneID() : -1);
    writer.Write(&localMatrix_, sizeof(localMatrix_));
}

void TSkeletonCollider::ReadFromFiler(TVirtualReader& reader)
{
    TPersistentObject::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
    readBoneId_ = reader.ReadInteger();
    reader.Read(&localMatrix_, sizeof(localMatrix_));
    bone_ = nullptr;
}

void TSkeletonColliderList::ReadFromFiler(TVirtualReader& reader)
{
    TMeshItemList::ReadFromFiler(reader);
    for (int i = 0; i < Count(); ++i) {
        TSkeletonCollider* collider = Items(i);
        if (collider->ReadBoneID() != -1 && owner_) {
            collider->SetBone(owner_->BoneByID(collider->ReadBoneID()));
        }
    }
}

void TSkeleton::WriteToFiler(TVirtualWriter& writer) const
{
    TPersistentObject::WriteToFiler(writer);
    const bool withColliders = colliders_->Count() > 0;
    writer.WriteInteger(withColliders ? 1 : 0);
    rootBones_->WriteToFiler(writer);
    frames_->WriteToFiler(writer);
    if (withColliders) {
        colliders_->WriteToFiler(writer);
    }
}

void TSkeleton::ReadFromFiler(TVirtualReader& reader)
{
    TPersistentObject::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version < 0 || version > 1) {
        RaiseFilerException(version);
    }
    // The colliders point at the bones about to be replaced.
    colliders_->Clear();
    rootBones_->ReadFromFiler(reader);
    frames_->ReadFromFiler(reader);
    if (version >= 1) {
        colliders_->ReadFromFiler(reader);
    }
    currentFrame_.reset();
    BonesChanged();
}
