#pragma once
// Items that hang off a scene object and are stepped with it: behaviours (the collision
// behaviour is one) and effects, behaviours that can also draw before their object,
// after it, or after the whole scene. Each kind lives in its own collection, which the
// scene object creates on first use and which refuses items of the other kind.

#include "scene/graph/RenderContextInfo.h"
#include "scene/graph/UpdateAble.h"
#include "scene/base/XCollection.h"

class TGLBaseSceneObject;
class TGLAbstractWorldBuffer;

class TGLBaseBehaviour : public TXCollectionItem {
    KP_CLASS(TGLBaseBehaviour, TXCollectionItem)
public:
    // The item data, then version 0; reading asserts that version.
    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

    virtual void DoProgress(const TProgressTimes& /*progressTime*/) {}

    // The scene object that owns the item's collection; nullptr outside one.
    TGLBaseSceneObject* OwnerBaseSceneObject() const;
};

// The class of items a TGLBehaviours holds.
class TGLBehaviour : public TGLBaseBehaviour {
    KP_CLASS(TGLBehaviour, TGLBaseBehaviour)
};

class TGLObjectEffect : public TGLBaseBehaviour {
    KP_CLASS(TGLObjectEffect, TGLBaseBehaviour)
public:
    // The behaviour data, then a version 0 of its own.
    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

    virtual void Render(TGLAbstractWorldBuffer* /*sceneBuffer*/, TRenderContextInfo& /*rci*/) {}
};

// Rendered before its object.
class TGLObjectPreEffect : public TGLObjectEffect {
    KP_CLASS(TGLObjectPreEffect, TGLObjectEffect)
};

// Rendered after its object.
class TGLObjectPostEffect : public TGLObjectEffect {
    KP_CLASS(TGLObjectPostEffect, TGLObjectEffect)
};

// Queued on the buffer and rendered after the whole scene.
class TGLObjectAfterEffect : public TGLObjectEffect {
    KP_CLASS(TGLObjectAfterEffect, TGLObjectEffect)
};

class TGLBehaviours : public TXCollection {
    KP_CLASS(TGLBehaviours, TXCollection)
public:
    // The owner must be a scene object (assertion).
    explicit TGLBehaviours(TPersistent* owner);

    TClass ItemsClass() const override { return TGLBehaviour::StaticClass(); }
    // No effects.
    bool CanAdd(const TXCollectionItemClass& cls) const override;
    // "<owner path>.Behaviours", or the class name when the owner has no path.
    std::string GetNamePath() const override;

    void DoProgress(const TProgressTimes& progressTime);
};

class TGLObjectEffects : public TXCollection {
    KP_CLASS(TGLObjectEffects, TXCollection)
public:
    // The owner must be a scene object (assertion).
    explicit TGLObjectEffects(TPersistent* owner);

    TClass ItemsClass() const override { return TGLObjectEffect::StaticClass(); }
    // Effects only.
    bool CanAdd(const TXCollectionItemClass& cls) const override;
    // "<owner path>.Effects", or the class name when the owner has no path.
    std::string GetNamePath() const override;

    void DoProgress(const TProgressTimes& progressTime);
    // Every pre-effect in list order.
    void RenderPreEffects(TGLAbstractWorldBuffer* sceneBuffer, TRenderContextInfo& rci);
    // Every post-effect in list order; after-effects are queued on the buffer instead.
    void RenderPostEffects(TGLAbstractWorldBuffer* sceneBuffer, TRenderContextInfo& rci);
};
