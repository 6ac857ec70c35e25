#include "scene/objects/meshes/Actor.h"

#include "platform/core/Assert.h"
#include "scene/base/OpenGLBinding.h"

#include <algorithm>
#include <cmath>

TGLActor::TGLActor(TComponent* owner) : TGLBaseMesh(owner), animations_(std::make_unique<TActorAnimations>(this))
{
    IncludeStyle(osNoDisplayList);
}

TGLActor::~TGLActor()
{
    // Controllers and animations point back here: part with them while the actor is whole.
    if (controlers_) {
        const std::vector<TGLBaseAnimationControler*> controlers = *controlers_;
        controlers_.reset();
        for (TGLBaseAnimationControler* controler : controlers) {
            controler->actor_ = nullptr;
            RemoveFreeNotification(controler);
        }
    }
    targetSmoothAnimation_ = nullptr;
    animations_->Clear();
}

// ---- Frames ----

int TGLActor::FrameCount(TActorAnimationReference reference) const
{
    switch (reference) {
    case aarMorph:
        return MeshObjects().MorphTargetCount();
    case aarSkeleton:
        return Skeleton().Frames().Count();
    case aarNone:
        return 0;
    }
    KP_ASSERT(false);
    return 0;
}

int TGLActor::FrameCount() const { return FrameCount(reference_); }

void TGLActor::SetStartFrame(int value)
{
    if (value >= 0 && value < FrameCount()) {
        startFrame_ = value;
    }
    if (endFrame_ < startFrame_) {
        endFrame_ = startFrame_;
    }
    if (currentFrame_ < startFrame_) {
        SetCurrentFrame(startFrame_);
    }
}

void TGLActor::SetEndFrame(int value)
{
    if (value >= 0 && value < FrameCount()) {
        endFrame_ = value;
    }
    if (currentFrame_ > endFrame_) {
        SetCurrentFrame(endFrame_);
    }
}

void TGLActor::SetReference(TActorAnimationReference value)
{
    KP_ASSERT(value == aarMorph || value == aarSkeleton || value == aarNone);
    if (reference_ != value) {
        reference_ = value;
        StructureChanged();
    }
}

void TGLActor::SetCurrentFrame(int value)
{
    if (value == currentFrame_) {
        return;
    }
    const int count = FrameCount();
    // The upper bound first: without frames the current frame becomes -1.
    currentFrame_ = value > count - 1 ? count - 1 : std::max(value, 0);
    currentFrameDelta_ = 0;
    switch (animationMode_) {
    case aamPlayOnce:
        if (currentFrame_ == endFrame_) {
            animationMode_ = aamNone;
        }
        break;
    case aamBounceForward:
        if (currentFrame_ == endFrame_) {
            animationMode_ = aamBounceBackward;
        }
        break;
    case aamBounceBackward:
        if (currentFrame_ == startFrame_) {
            animationMode_ = aamBounceForward;
        }
        break;
    default:
        break;
    }
    StructureChanged();
    if (OnFrameChanged) {
        OnFrameChanged(this);
    }
}

void TGLActor::SetOptions(TGLActorOptions value)
{
    if (options_ != value) {
        options_ = value;
        StructureChanged();
    }
}

void TGLActor::SetOverlaySkeleton(bool value)
{
    if (overlaySkeleton_ != value) {
        overlaySkeleton_ = value;
        NotifyChange(this);
    }
}

int TGLActor::NextFrameIndex() const
{
    if (animationMode_ != aamExternal && targetSmoothAnimation_) {
        return targetSmoothAnimation_->StartFrame();
    }
    switch (animationMode_) {
    case aamNone:
    case aamPlayOnce:
        return std::min(currentFrame_ + 1, endFrame_);
    case aamLoop:
    case aamBounceForward: {
        const int next = currentFrame_ + 1;
        return next <= endFrame_ ? next : std::min(startFrame_ + (next - endFrame_ - 1), endFrame_);
    }
    case aamBounceBackward:
    case aamLoopBackward: {
        const int next = currentFrame_ - 1;
        return next >= startFrame_ ? next : std::max(endFrame_ - (startFrame_ - next - 1), startFrame_);
    }
    case aamExternal:
        return currentFrame_;
    }
    KP_ASSERT(false);
    return currentFrame_;
}

void TGLActor::NextFrame(int steps)
{
    for (; steps > 0; --steps) {
        SetCurrentFrame(NextFrameIndex());
        if (OnEndFrameReached && currentFrame_ == endFrame_) {
            OnEndFrameReached(this);
        }
        if (OnStartFrameReached && currentFrame_ == startFrame_) {
            OnStartFrameReached(this);
        }
    }
}

void TGLActor::SwitchToAnimation(TActorAnimation* animation, bool smooth)
{
    if (!animation) {
        return;
    }
    if (smooth) {
        targetSmoothAnimation_ = animation;
        currentFrameDelta_ = 0;
        return;
    }
    SetReference(animation->Reference());
    SetStartFrame(animation->StartFrame());
    SetEndFrame(animation->EndFrame());
    SetCurrentFrame(startFrame_);
}

void TGLActor::SynchronizeFrom(const TGLActor& reference)
{
    // Counted in the frames the range refers to, which become this actor's too.
    const int count = FrameCount(reference.reference_);
    if (reference.startFrame_ < count) {
        startFrame_ = reference.startFrame_;
    }
    if (reference.endFrame_ < count) {
        endFrame_ = reference.endFrame_;
    }
    if (reference.currentFrame_ < count) {
        currentFrame_ = reference.currentFrame_;
    }
    reference_ = reference.reference_;
    currentFrameDelta_ = reference.currentFrameDelta_;
    animationMode_ = reference.animationMode_;
    frameInterpolation_ = reference.frameInterpolation_;
    targetSmoothAnimation_ =
        reference.targetSmoothAnimation_ ? animations_->FindName(reference.targetSmoothAnimation_->Name()) : nullptr;
    if (Skeleton().Frames().Count() > 0 && reference.Skeleton().Frames().Count() > 0) {
        Skeleton().Synchronize(const_cast<TSkeleton&>(reference.Skeleton()));
    }
}

// ---- Time ----

void TGLActor::DoProgress(const TProgressTimes& progressTime)
{
    TGLBaseMesh::DoProgress(progressTime);
    if (animationMode_ == aamNone || interval_ <= 0 || startFrame_ == endFrame_ || FrameCount() <= 1) {
        return;
    }
    currentFrameDelta_ += static_cast<float>(progressTime.deltaTime * 1000 / interval_);
    if (currentFrameDelta_ > 1) {
        if (targetSmoothAnimation_) {
            TActorAnimation* target = targetSmoothAnimation_;
            targetSmoothAnimation_ = nullptr;
            SwitchToAnimation(target, false);
        }
        const float delta = currentFrameDelta_;
        const float whole = std::trunc(delta);
        NextFrame(static_cast<int>(whole));
        currentFrameDelta_ = delta - whole;
        StructureChanged();
    } else if (frameInterpolation_ == afpLinear) {
        // The in-between pose changes every tick.
        StructureChanged();
    }
}

// ---- Drawing ----

void TGLActor::PoseSkeleton(int next)
{
    const int frames = FrameCount();
    auto valid = [frames](int index) { return index >= 0 && index < frames; };
    if (!valid(currentFrame_)) {
        return; // a frame range left over from other frames: keep the last pose
    }
    if (controlers_ && animationMode_ != aamExternal) {
        std::vector<TBlendedLerpInfo> infos(controlers_->size() + 1);
        if (valid(next) && frameInterpolation_ == afpLinear) {
            infos[0] = {currentFrame_, next, currentFrameDelta_, 1};
        } else {
            infos[0] = {currentFrame_, currentFrame_, 0, 1};
        }
        std::size_t used = 1;
        for (TGLBaseAnimationControler* controler : *controlers_) {
            if (controler->Apply(infos[used]) && valid(infos[used].FrameIndex1) && valid(infos[used].FrameIndex2)) {
                ++used;
            }
        }
        Skeleton().BlendedLerps(std::span<const TBlendedLerpInfo>(infos.data(), used));
    } else if (valid(next) && animationMode_ != aamExternal) {
        if (frameInterpolation_ == afpLinear) {
            Skeleton().Lerp(currentFrame_, next, currentFrameDelta_);
        } else {
            Skeleton().SetCurrentFrame(*Skeleton().Frames().Items(currentFrame_));
        }
    }
}

void TGLActor::BuildList(TRenderContextInfo& rci)
{
    const int next = NextFrameIndex();
    switch (reference_) {
    case aarMorph: {
        // Only frames every morphable mesh object has.
        const int frames = FrameCount();
        if (next >= 0 && next < frames && currentFrame_ >= 0 && currentFrame_ < frames) {
            if (frameInterpolation_ == afpLinear) {
                MeshObjects().Lerp(currentFrame_, next, currentFrameDelta_);
            } else {
                MeshObjects().MorphTo(currentFrame_);
            }
        }
        break;
    }
    case aarSkeleton:
        if (Skeleton().Frames().Count() > 0) {
            PoseSkeleton(next);
            Skeleton().MorphMesh((options_ & (1u << aoSkeletonNormalizeNormals)) != 0);
        }
        break;
    case aarNone:
        break;
    }
    TGLBaseMesh::BuildList(rci);
    if (overlaySkeleton_) {
        GL.glPushAttrib(GL_ENABLE_BIT);
        GL.glDisable(GL_DEPTH_TEST);
        Skeleton().RootBones().BuildList(rci);
        GL.glPopAttrib();
    }
}

// ---- Loading and copying ----

void TGLActor::PrepareMesh()
{
    SetStartFrame(0);
    SetEndFrame(FrameCount() - 1);
    SetCurrentFrame(0);
    if (OnFrameChanged) {
        OnFrameChanged(this);
    }
    TGLBaseMesh::PrepareMesh();
}

void TGLActor::LoadFromStream(const std::string& fileName, TStream& stream)
{
    if (!fileName.empty()) {
        animations_->Clear();
    }
    TGLBaseMesh::LoadFromStream(fileName, stream);
}

void TGLActor::Assign(const TPersistent* source)
{
    TGLBaseMesh::Assign(source);
    if (const auto* actor = ObjectCast<TGLActor>(source); actor && actor != this) {
        SetAnimations(actor->Animations());
        animationMode_ = actor->animationMode_;
        overlaySkeleton_ = actor->overlaySkeleton_;
        SynchronizeFrom(*actor);
    }
}

void TGLActor::RegisterControler(TGLBaseAnimationControler* controler)
{
    if (!controlers_) {
        controlers_ = std::make_unique<std::vector<TGLBaseAnimationControler*>>();
    }
    if (std::find(controlers_->begin(), controlers_->end(), controler) == controlers_->end()) {
        controlers_->push_back(controler);
    }
}

void TGLActor::UnRegisterControler(TGLBaseAnimationControler* controler)
{
    KP_ASSERT(controlers_);
    controlers_->erase(std::remove(controlers_->begin(), controlers_->end(), controler), controlers_->end());
    if (controlers_->empty()) {
        controlers_.reset();
    }
}
