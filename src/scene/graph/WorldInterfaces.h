#pragma once
// What scene objects ask of the scene they belong to and of the buffer that is drawing
// them. The scene (TGLWorld) and its buffers (TGLWorldBuffer) implement these; objects
// only ever talk to them through here, so the object layer does not depend on how the
// scene renders a frame.

#include "scene/graph/UpdateAble.h"
#include "scene/base/VectorTypes.h"

#include <cstdint>

class TGLBaseSceneObject;
class TGLObjectEffect;
class TGLAbstractWorldBuffer;

class TGLAbstractWorld : public TGLUpdateAbleComponent {
    KP_CLASS(TGLAbstractWorld, TGLUpdateAbleComponent)
public:
    using TGLUpdateAbleComponent::TGLUpdateAbleComponent;

    // NotifyChange (inherited) relays a change of any object to every buffer.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;

    // The root of the object tree and of the camera tree.
    virtual TGLBaseSceneObject* ObjectRoot() const = 0;
    virtual TGLBaseSceneObject* CameraRoot() const = 0;

    // The object's light sources, and those of its whole subtree, take or leave the
    // scene's light slots.
    virtual void AddLights(TGLBaseSceneObject* object) = 0;
    virtual void RemoveLights(TGLBaseSceneObject* object) = 0;

    // The buffer being rendered; nullptr outside a frame.
    virtual TGLAbstractWorldBuffer* CurrentBuffer() const = 0;
    // Depth of view of the camera being rendered (the length of an object's axes).
    virtual float CurrentDepthOfView() const = 0;

    // The object being drawn, set by custom objects as they draw.
    TGLBaseSceneObject* CurrentObject() const { return currentObject_; }
    void SetCurrentObject(TGLBaseSceneObject* object) { currentObject_ = object; }

private:
    TGLBaseSceneObject* currentObject_ = nullptr;
};

class TGLAbstractWorldBuffer : public TGLUpdateAbleObject {
    KP_CLASS(TGLAbstractWorldBuffer, TGLUpdateAbleObject)
public:
    using TGLUpdateAbleObject::TGLUpdateAbleObject;

    // The buffer's depth-test render option.
    virtual bool DepthTest() const = 0;
    // The saved model-view matrix is pushed and replaced by the given one.
    virtual void PushModelViewMatrix(const TMatrix& matrix) = 0;
    virtual void PopModelViewMatrix() = 0;
    // Queues an effect to be rendered after the whole scene of this frame.
    virtual void QueueAfterEffect(TGLObjectEffect* effect) = 0;

    // A picture of the frame part of the way through an object's drawing, for an object
    // that draws what it drew before and more after it (TGLWorldBuffer says when it is
    // good): whether one may be kept in this frame, the one `owner` kept under `mark`
    // drawn back when it is good (true), and the frame as it stands kept for `owner`
    // under `mark` (what the owner's drawing had reached).
    virtual bool MayKeepPassPicture() const { return false; }
    virtual bool RestorePassPicture(const TGLBaseSceneObject& /*owner*/, std::uint64_t /*mark*/) { return false; }
    virtual void SavePassPicture(const TGLBaseSceneObject& /*owner*/, std::uint64_t /*mark*/) {}
};
