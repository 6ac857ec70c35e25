#pragma once
// Named frame ranges of an actor (its animations), and animation controllers that
// blend a further animation into an actor's skeleton pose at a ratio of their own.

#include "platform/core/objects/Collection.h"
#include "platform/core/objects/Component.h"

#include <cstdint>
#include <string>

class TGLActor;
struct TBlendedLerpInfo;

enum TActorAnimationReference : std::uint8_t { aarMorph, aarSkeleton, aarNone };

class TActorAnimation : public TCollectionItem {
    KP_CLASS(TActorAnimation, TCollectionItem)
public:
    explicit TActorAnimation(TCollection* collection);
    // The actor forgets it as its pending target.
    ~TActorAnimation() override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& value) { name_ = value; }
    // Clamped to the frames of the reference: negative gives 0, beyond the last gives
    // the last (-1 without frames); EndFrame follows a larger start.
    int StartFrame() const { return startFrame_; }
    void SetStartFrame(int value);
    // Likewise; StartFrame follows a smaller end.
    int EndFrame() const { return endFrame_; }
    void SetEndFrame(int value);
    // Stored, then both ends clamped again.
    TActorAnimationReference Reference() const { return reference_; }
    void SetReference(TActorAnimationReference value);
    // The actor's frame count for this animation's reference; 0 without an actor.
    int FrameCount() const;
    TGLActor* Actor() const;

    // From an animation: name, both ends and the reference.
    void Assign(const TPersistent* source) override;

protected:
    // "<index> - <name> [<start> - <end>]".
    std::string GetDisplayName() const override;

private:
    std::string name_;
    int startFrame_ = 0;
    int endFrame_ = 0;
    TActorAnimationReference reference_ = aarMorph;
};

class TActorAnimations : public TOwnedCollection {
    KP_CLASS(TActorAnimations, TOwnedCollection)
public:
    explicit TActorAnimations(TGLActor* owner);

    TActorAnimation* Items(int index) const { return static_cast<TActorAnimation*>(TCollection::Items(index)); }
    TActorAnimation* Add() { return static_cast<TActorAnimation*>(TCollection::Add()); }
    // The first whose name matches case-insensitively; nil when none.
    TActorAnimation* FindName(const std::string& name) const;
};

// A controller registered with an actor takes part in its skeleton pose through Apply.
class TGLBaseAnimationControler : public TComponent {
    KP_CLASS(TGLBaseAnimationControler, TComponent)
public:
    explicit TGLBaseAnimationControler(TComponent* owner = nullptr);
    ~TGLBaseAnimationControler() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    TGLActor* Actor() const { return actor_; }
    // Moves the registration (and the free notification) to the new actor.
    void SetActor(TGLActor* value);

    // Fills the info and answers true when the controller contributes.
    virtual bool Apply(TBlendedLerpInfo& lerpInfo);

protected:
    // The actor must be drawn again.
    virtual void DoChange();
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TGLActor;
    bool enabled_ = true;
    TGLActor* actor_ = nullptr;
};

// Blends the named animation of the actor, at Ratio between its first and last frame.
class TGLAnimationControler : public TGLBaseAnimationControler {
    KP_CLASS(TGLAnimationControler, TGLBaseAnimationControler)
public:
    using TGLBaseAnimationControler::TGLBaseAnimationControler;

    const std::string& AnimationName() const { return animationName_; }
    void SetAnimationName(const std::string& value);
    // Clamped to [0, 1].
    float Ratio() const { return ratio_; }
    void SetRatio(float value);

    // False when disabled or when the actor has no such animation.
    bool Apply(TBlendedLerpInfo& lerpInfo) override;

protected:
    // Only with an animation name.
    void DoChange() override;

private:
    std::string animationName_;
    float ratio_ = 0;
};
