#include "scene/objects/meshes/ActorAnimations.h"

#include "platform/core/text/StringUtils.h"
#include "scene/objects/meshes/Actor.h"

#include <algorithm>
#include <cmath>

// ---- TActorAnimation ----

TActorAnimation::TActorAnimation(TCollection* collection) : TCollectionItem(collection) {}

TActorAnimation::~TActorAnimation()
{
    if (TGLActor* actor = Actor(); actor && actor->targetSmoothAnimation_ == this) {
        actor->targetSmoothAnimation_ = nullptr;
    }
}

TGLActor* TActorAnimation::Actor() const
{
    return Collection() ? ObjectCast<TGLActor>(Collection()->GetOwner()) : nullptr;
}

int TActorAnimation::FrameCount() const
{
    const TGLActor* actor = Actor();
    return actor ? actor->FrameCount(reference_) : 0;
}

void TActorAnimation::SetStartFrame(int value)
{
    if (value < 0) {
        startFrame_ = 0;
    } else {
        startFrame_ = std::min(value, FrameCount() - 1);
    }
    if (startFrame_ > endFrame_) {
        endFrame_ = startFrame_;
    }
}

void TActorAnimation::SetEndFrame(int value)
{
    if (value < 0) {
        endFrame_ = 0;
    } else {
        endFrame_ = std::min(value, FrameCount() - 1);
    }
    if (startFrame_ > endFrame_) {
        startFrame_ = endFrame_;
    }
}

void TActorAnimation::SetReference(TActorAnimationReference value)
{
    reference_ = value;
    SetStartFrame(startFrame_);
    SetEndFrame(endFrame_);
}

void TActorAnimation::Assign(const TPersistent* source)
{
    if (const auto* animation = ObjectCast<TActorAnimation>(source)) {
        name_ = animation->name_;
        startFrame_ = animation->startFrame_;
        endFrame_ = animation->endFrame_;
        reference_ = animation->reference_;
        return;
    }
    TCollectionItem::Assign(source);
}

std::string TActorAnimation::GetDisplayName() const
{
    return std::to_string(Index()) + " - " + name_ + " [" + std::to_string(startFrame_) + " - " +
           std::to_string(endFrame_) + "]";
}

TActorAnimations::TActorAnimations(TGLActor* owner)
    : TOwnedCollection(owner, CollectionItemClassOf<TActorAnimation>())
{
}

TActorAnimation* TActorAnimations::FindName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (SameText(Items(i)->Name(), name)) {
            return Items(i);
        }
    }
    return nullptr;
}

// ---- Controllers ----

TGLBaseAnimationControler::TGLBaseAnimationControler(TComponent* owner) : TComponent(owner) {}

TGLBaseAnimationControler::~TGLBaseAnimationControler()
{
    enabled_ = false;
    SetActor(nullptr);
}

void TGLBaseAnimationControler::SetEnabled(bool value)
{
    if (enabled_ != value) {
        enabled_ = value;
        DoChange();
    }
}

void TGLBaseAnimationControler::SetActor(TGLActor* value)
{
    if (actor_ == value) {
        return;
    }
    if (actor_) {
        actor_->UnRegisterControler(this);
        RemoveFreeNotification(actor_);
    }
    actor_ = value;
    if (actor_) {
        actor_->RegisterControler(this);
        FreeNotification(actor_);
    }
    DoChange();
}

void TGLBaseAnimationControler::DoChange()
{
    if (actor_) {
        actor_->NotifyChange(this);
    }
}

void TGLBaseAnimationControler::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component && component == actor_) {
        SetActor(nullptr);
    }
    TComponent::Notification(component, operation);
}

bool TGLBaseAnimationControler::Apply(TBlendedLerpInfo& /*lerpInfo*/) { return false; }

void TGLAnimationControler::SetAnimationName(const std::string& value)
{
    if (animationName_ != value) {
        animationName_ = value;
        DoChange();
    }
}

void TGLAnimationControler::SetRatio(float value)
{
    value = std::clamp(value, 0.0f, 1.0f);
    if (ratio_ != value) {
        ratio_ = value;
        DoChange();
    }
}

void TGLAnimationControler::DoChange()
{
    if (!animationName_.empty()) {
        TGLBaseAnimationControler::DoChange();
    }
}

bool TGLAnimationControler::Apply(TBlendedLerpInfo& lerpInfo)
{
    if (!Enabled() || !Actor()) {
        return false;
    }
    const TActorAnimation* animation = Actor()->Animations().FindName(animationName_);
    if (!animation) {
        return false;
    }
    const int start = animation->StartFrame();
    const int end = animation->EndFrame();
    if (ratio_ == 0) {
        lerpInfo.FrameIndex1 = lerpInfo.FrameIndex2 = start;
        lerpInfo.LerpFactor = 0;
    } else if (ratio_ == 1) {
        lerpInfo.FrameIndex1 = lerpInfo.FrameIndex2 = end;
        lerpInfo.LerpFactor = 0;
    } else {
        const double f = double(end - start) * ratio_ + start;
        lerpInfo.FrameIndex1 = static_cast<int>(std::trunc(f));
        // Not beyond the animation: a one-frame range has no next frame.
        lerpInfo.FrameIndex2 = std::min(lerpInfo.FrameIndex1 + 1, end);
        lerpInfo.LerpFactor = static_cast<float>(f - std::trunc(f));
    }
    lerpInfo.Weight = 1;
    lerpInfo.ExternalPositions = nullptr;
    lerpInfo.ExternalRotations = nullptr;
    lerpInfo.ExternalQuaternions = nullptr;
    return true;
}
