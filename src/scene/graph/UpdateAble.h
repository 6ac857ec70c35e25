#pragma once
// The change-notification bases under every scene object, colour, texture and
// material. Changes flow upward: a value holder tells its owner, the owner tells its
// own owner, up to the scene, which redraws.

#include "platform/core/objects/Component.h"
#include "platform/core/objects/Delegate.h"

class TGLCoordinates;

// What every progress step hands to DoProgress.
struct TProgressTimes {
    double deltaTime;
    double newTime;
};

// A persistent value holder with an owner (not owned by it; may be nil).
class TGLUpdateAbleObject : public TPersistent {
    KP_CLASS(TGLUpdateAbleObject, TPersistent)
public:
    explicit TGLUpdateAbleObject(TPersistent* owner) : owner_(owner) {}

    TPersistent* Owner() const { return owner_; }
    TPersistent* GetOwner() const override { return owner_; }

    // With an owner: tells an update-able owner (object or component), then fires
    // OnNotifyChange with this object as sender. Without an owner nothing happens.
    virtual void NotifyChange(TObject* sender);

    TNotifyEvent OnNotifyChange;

private:
    TPersistent* owner_;
};

// Components that advance with the scene's clock.
class TGLCadenceAbleComponent : public TComponent {
    KP_CLASS(TGLCadenceAbleComponent, TComponent)
public:
    using TComponent::TComponent;
    virtual void DoProgress(const TProgressTimes& /*progressTime*/) {}
};

class TGLUpdateAbleComponent : public TGLCadenceAbleComponent {
    KP_CLASS(TGLUpdateAbleComponent, TGLCadenceAbleComponent)
public:
    using TGLCadenceAbleComponent::TGLCadenceAbleComponent;
    // Passes the change to an update-able owner component.
    virtual void NotifyChange(TObject* sender);
    // Whatever the component builds from its structure (a display list) must be
    // rebuilt. Scene objects act on it; here it does nothing.
    virtual void StructureChanged() {}
};

// Owners of coordinates: every owned TGLCoordinates reports each change here.
class TGLCoordinatesUpdateAbleComponent : public TGLUpdateAbleComponent {
    KP_CLASS(TGLCoordinatesUpdateAbleComponent, TGLUpdateAbleComponent)
public:
    using TGLUpdateAbleComponent::TGLUpdateAbleComponent;
    virtual void CoordinateChanged(TGLCoordinates* sender) = 0;
};
