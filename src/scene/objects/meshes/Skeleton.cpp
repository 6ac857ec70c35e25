#include "scene/objects/meshes/Skeleton.h"

#include "platform/core/Assert.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/OpenGLBinding.h"
#include "scene/base/Quaternions.h"
#include "scene/objects/meshes/BaseMesh.h"
#include "scene/objects/meshes/SkeletonMeshObject.h"

#include <algorithm>
#include <cmath>

namespace {

TMatrix EulerMatrix(const TAffineVector& angles)
{
    // X first, then Y, then Z: with row vectors the later rotations multiply on the right.
    TMatrix m = IdentityMatrix;
    if (angles.X != 0) {
        m = MakeRotationMatrixX(std::sin(angles.X), std::cos(angles.X));
    }
    if (angles.Y != 0) {
        m = MultiplyMatrices(m, MakeRotationMatrixY(std::sin(angles.Y), std::cos(angles.Y)));
    }
    if (angles.Z != 0) {
        m = MultiplyMatrices(m, MakeRotationMatrixZ(std::sin(angles.Z), std::cos(angles.Z)));
    }
    return m;
}

// Bone ids up to this bound (or a few times the bone count) index the table directly;
// a damaged file with an id in the billions must not allocate a table that large.
constexpr int DirectBoneIdLimit = 4096;

} // namespace

// ---- TSkeletonFrame ----

TSkeletonFrame::TSkeletonFrame(TSkeletonFrameList* owner)
{
    if (owner) {
        owner->AddItem(this);
    }
}

TSkeletonFrame::~TSkeletonFrame()
{
    if (owner_) {
        owner_->Remove(this);
    }
}

void TSkeletonFrame::SetTransformMode(TSkeletonFrameTransform value)
{
    if (transformMode_ != value) {
        transformMode_ = value;
        FlushLocalMatrixList();
    }
}

const std::vector<TMatrix>& TSkeletonFrame::LocalMatrixList() const
{
    if (localMatricesValid_) {
        return localMatrices_;
    }
    const bool quaternions = transformMode_ == sftQuaternion;
    const int rotations = quaternions ? quaternion_.Count() : rotation_.Count();
    const int count = std::max(position_.Count(), rotations);
    localMatrices_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TMatrix m = IdentityMatrix;
        if (i < rotations) {
            m = quaternions ? QuaternionToMatrix(quaternion_.Get(i)) : EulerMatrix(rotation_.Get(i));
        }
        const TAffineVector p = i < position_.Count() ? position_.Get(i) : TAffineVector{0, 0, 0};
        m.V[3] = {p.X, p.Y, p.Z, 1};
        localMatrices_[static_cast<std::size_t>(i)] = m;
    }
    localMatricesValid_ = true;
    return localMatrices_;
}

void TSkeletonFrame::Assign(const TPersistent* source)
{
    const auto* frame = ObjectCast<TSkeletonFrame>(source);
    if (!frame) {
        TPersistentObject::Assign(source);
        return;
    }
    if (frame == this) {
        return;
    }
    name_ = frame->name_;
    position_.Assign(&frame->position_);
    rotation_.Assign(&frame->rotation_);
    quaternion_.Assign(&frame->quaternion_);
    transformMode_ = frame->transformMode_;
    FlushLocalMatrixList();
}

// ---- Bone lists ----

TSkeletonBone* TSkeletonBoneList::BoneByID(int id) const
{
    for (int i = 0; i < Count(); ++i) {
        if (TSkeletonBone* bone = Items(i)->BoneByID(id)) {
            return bone;
        }
    }
    return nullptr;
}

TSkeletonBone* TSkeletonBoneList::BoneByName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (TSkeletonBone* bone = Items(i)->BoneByName(name)) {
            return bone;
        }
    }
    return nullptr;
}

void TSkeletonBoneList::PrepareGlobalMatrices()
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->PrepareGlobalMatrices();
    }
}

void TSkeletonBoneList::ObjectCreatedWhileReading(TPersistentObject* object)
{
    TMeshItemList::ObjectCreatedWhileReading(object);
    static_cast<TSkeletonBone*>(object)->SetSkeleton(skeleton_);
    if (skeleton_) {
        skeleton_->BonesChanged();
    }
}

void TSkeletonRootBoneList::BuildList(TRenderContextInfo& rci)
{
    GL.glPushAttrib(GL_ENABLE_BIT);
    GL.glDisable(GL_COLOR_MATERIAL);
    GL.glDisable(GL_LIGHTING);
    GL.glColor3f(1, 1, 1);
    for (int i = 0; i < Count(); ++i) {
        Items(i)->BuildList(rci);
    }
    GL.glPopAttrib();
}

TSkeletonBone::TSkeletonBone(TSkeletonBoneList* owner, int boneId, const std::string& name)
    : boneId_(boneId), name_(name)
{
    if (owner) {
        SetSkeleton(owner->Skeleton());
        owner->AddItem(this);
        if (Skeleton()) {
            Skeleton()->BonesChanged();
        }
    }
}

TSkeletonBone::~TSkeletonBone()
{
    if (owner_) {
        owner_->Remove(this);
    }
    if (Skeleton()) {
        Skeleton()->BoneRemoved(this);
    }
}

void TSkeletonBone::SetBoneID(int value)
{
    if (boneId_ != value) {
        boneId_ = value;
        if (Skeleton()) {
            Skeleton()->BonesChanged();
        }
    }
}

void TSkeletonBone::Clear()
{
    TSkeletonBoneList::Clear();
    boneId_ = 0;
    name_.clear();
    if (Skeleton()) {
        Skeleton()->BonesChanged();
    }
}

TSkeletonBone* TSkeletonBone::BoneByID(int id) const
{
    return boneId_ == id ? const_cast<TSkeletonBone*>(this) : TSkeletonBoneList::BoneByID(id);
}

TSkeletonBone* TSkeletonBone::BoneByName(const std::string& name) const
{
    return name_ == name ? const_cast<TSkeletonBone*>(this) : TSkeletonBoneList::BoneByName(name);
}

void TSkeletonBone::BuildList(TRenderContextInfo& rci)
{
    const TVector& at = globalMatrix_.V[3];
    GL.glPointSize(5);
    GL.glBegin(GL_POINTS);
    GL.glColor4f(static_cast<float>(color_ & 0xFF) / 255, static_cast<float>((color_ >> 8) & 0xFF) / 255,
                 static_cast<float>((color_ >> 16) & 0xFF) / 255, static_cast<float>(color_ >> 24) / 255);
    GL.glVertex3fv(&at.X);
    GL.glEnd();
    GL.glPointSize(1);
    if (const auto* parent = ObjectCast<TSkeletonBone>(owner_)) {
        GL.glBegin(GL_LINES);
        GL.glVertex3fv(&parent->GlobalMatrix().V[3].X);
        GL.glVertex3fv(&at.X);
        GL.glEnd();
    }
    for (int i = 0; i < Count(); ++i) {
        Items(i)->BuildList(rci);
    }
}

void TSkeletonBone::PrepareGlobalMatrices()
{
    const TMatrix& parent = owner_ ? owner_->GlobalMatrix() : IdentityMatrix;
    globalMatrix_ = Skeleton() ? MultiplyMatrices(Skeleton()->CurrentFrame().LocalMatrix(boneId_), parent) : parent;
    TSkeletonBoneList::PrepareGlobalMatrices();
}

// ---- Colliders ----

TSkeletonCollider::TSkeletonCollider(TSkeletonColliderList* owner)
{
    if (owner) {
        owner->AddItem(this);
    }
}

TSkeletonCollider::~TSkeletonCollider()
{
    if (owner_) {
        owner_->Remove(this);
    }
}

void TSkeletonCollider::AlignCollider()
{
    if (!bone_) {
        globalMatrix_ = localMatrix_;
        return;
    }
    TMatrix m = bone_->GlobalMatrix();
    const TSkeleton* skeleton = owner_ ? owner_->Owner() : nullptr;
    if (skeleton && skeleton->Owner()) {
        m = MultiplyMatrices(m, skeleton->Owner()->AbsoluteMatrixRef());
    }
    globalMatrix_ = MultiplyMatrices(localMatrix_, m);
}

void TSkeletonColliderList::AlignColliders()
{
    for (int i = 0; i < Count(); ++i) {
        if (TSkeletonCollider* collider = Items(i); collider->AutoUpdate()) {
            collider->AlignCollider();
        }
    }
}

// ---- TSkeleton ----

TSkeleton::TSkeleton(TGLBaseMesh* owner)
    : owner_(owner), rootBones_(std::make_unique<TSkeletonRootBoneList>(this)),
      frames_(std::make_unique<TSkeletonFrameList>(this)), colliders_(std::make_unique<TSkeletonColliderList>(this))
{
}

TSkeleton::~TSkeleton()
{
    // Colliders point at bones, and bones report back here as they go.
    colliders_->Clear();
    rootBones_->Clear();
}

TSkeletonFrame& TSkeleton::CurrentFrame()
{
    if (!currentFrame_) {
        currentFrame_ = std::make_unique<TSkeletonFrame>();
        if (frames_->Count() > 0) {
            currentFrame_->Assign(frames_->Items(0));
        }
    }
    return *currentFrame_;
}

void TSkeleton::SetCurrentFrame(const TSkeletonFrame& frame) { CurrentFrame().Assign(&frame); }

void TSkeleton::BuildBoneTable() const
{
    boneTable_.clear();
    int bones = 0;
    auto count = [&](auto& self, const TSkeletonBoneList& list) -> void {
        for (int i = 0; i < list.Count(); ++i) {
            ++bones;
            self(self, *list.Items(i));
        }
    };
    count(count, *rootBones_);
    const int limit = std::max(DirectBoneIdLimit, 4 * bones);
    // Depth first, the first bone of an id wins, as in the lists' own BoneByID.
    auto visit = [&](auto& self, const TSkeletonBoneList& list) -> void {
        for (int i = 0; i < list.Count(); ++i) {
            TSkeletonBone* bone = list.Items(i);
            const int id = bone->BoneID();
            if (id >= 0 && id < limit) {
                if (id >= static_cast<int>(boneTable_.size())) {
                    boneTable_.resize(static_cast<std::size_t>(id) + 1, nullptr);
                }
                if (!boneTable_[static_cast<std::size_t>(id)]) {
                    boneTable_[static_cast<std::size_t>(id)] = bone;
                }
            } else if (id >= limit) {
                largeBoneIds_ = true;
            }
            self(self, *bone);
        }
    };
    largeBoneIds_ = false;
    visit(visit, *rootBones_);
    boneTableValid_ = true;
}

TSkeletonBone* TSkeleton::BoneBeyondTable(int id) const
{
    return largeBoneIds_ && id >= static_cast<int>(boneTable_.size()) ? rootBones_->BoneByID(id) : nullptr;
}

void TSkeleton::BoneRemoved(TSkeletonBone* bone)
{
    boneTableValid_ = false;
    for (int i = 0; i < colliders_->Count(); ++i) {
        if (colliders_->Items(i)->Bone() == bone) {
            colliders_->Items(i)->SetBone(nullptr);
        }
    }
}

namespace {

const TSkeletonFrame& FrameAt(const TSkeletonFrameList& frames, int index)
{
    KP_ASSERT(index >= 0 && index < frames.Count());
    return *frames.Items(index);
}

} // namespace

void TSkeleton::Lerp(int index1, int index2, float factor)
{
    const TSkeletonFrame& first = FrameAt(*frames_, index1);
    const TSkeletonFrame& second = FrameAt(*frames_, index2);
    TSkeletonFrame& current = CurrentFrame();
    current.SetName({});
    current.SetTransformMode(first.TransformMode());
    current.Position().Lerp(first.Position(), second.Position(), factor);
    if (first.TransformMode() == sftRotation) {
        current.Rotation().AngularLerp(first.Rotation(), second.Rotation(), factor);
        current.Quaternion().Clear();
    } else {
        current.Quaternion().Lerp(first.Quaternion(), second.Quaternion(), factor);
        current.Rotation().Clear();
    }
    current.FlushLocalMatrixList();
}

void TSkeleton::BlendedLerps(std::span<const TBlendedLerpInfo> infos)
{
    KP_ASSERT(!infos.empty());
    const TBlendedLerpInfo& base = infos[0];
    Lerp(base.FrameIndex1, base.FrameIndex2, base.LerpFactor);
    if (infos.size() == 1) {
        return;
    }
    TSkeletonFrame& current = *currentFrame_;
    if (base.Weight != 1) {
        current.Position().Scale(base.Weight);
    }
    const bool quaternions = current.TransformMode() == sftQuaternion;
    TAffineVectorList blend;
    TQuaternionList blendQuaternions;
    for (const TBlendedLerpInfo& info : infos.subspan(1)) {
        const bool needFrames = !info.ExternalPositions ||
                                (quaternions ? !info.ExternalQuaternions : !info.ExternalRotations);
        const TSkeletonFrame* first = needFrames ? &FrameAt(*frames_, info.FrameIndex1) : nullptr;
        const TSkeletonFrame* second = needFrames ? &FrameAt(*frames_, info.FrameIndex2) : nullptr;
        if (info.ExternalPositions) {
            current.Position().CombineItems(*info.ExternalPositions, 1);
        } else {
            blend.Lerp(first->Position(), second->Position(), info.LerpFactor);
            current.Position().CombineItems(blend, 1);
        }
        if (quaternions) {
            if (info.ExternalQuaternions) {
                current.Quaternion().CombineItems(*info.ExternalQuaternions, 1);
            } else {
                blendQuaternions.Lerp(first->Quaternion(), second->Quaternion(), info.LerpFactor);
                current.Quaternion().CombineItems(blendQuaternions, 1);
            }
        } else if (info.ExternalRotations) {
            current.Rotation().CombineItems(*info.ExternalRotations, 1);
        } else {
            blend.AngularLerp(first->Rotation(), second->Rotation(), info.LerpFactor);
            current.Rotation().CombineItems(blend, 1);
        }
    }
    current.FlushLocalMatrixList();
}

void TSkeleton::MorphMesh(bool normalize)
{
    if (!owner_ || owner_->MeshObjects().Count() == 0) {
        return;
    }
    rootBones_->PrepareGlobalMatrices();
    if (colliders_->Count() > 0) {
        colliders_->AlignColliders();
    }
    const TMeshObjectList& objects = owner_->MeshObjects();
    for (int i = 0; i < objects.Count(); ++i) {
        if (auto* skinned = ObjectCast<TSkeletonMeshObject>(objects.Items(i))) {
            skinned->ApplyCurrentSkeletonFrame(normalize);
        }
    }
}

void TSkeleton::Synchronize(TSkeleton& reference)
{
    SetCurrentFrame(reference.CurrentFrame());
    MorphMesh(true);
}

void TSkeleton::Clear()
{
    colliders_->Clear();
    rootBones_->Clear();
    frames_->Clear();
    currentFrame_.reset();
    boneTable_.clear();
    boneTableValid_ = false;
}
