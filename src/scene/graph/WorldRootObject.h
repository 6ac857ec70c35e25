#pragma once
// The root of one of a scene's trees (objects, cameras). It is the scene's own: its
// owner must be the scene, and it carries the scene link its subtree inherits. Its
// children's absolute matrices do not include it.

#include "scene/graph/SceneObject.h"

class TGLWorldRootObject : public TGLBaseSceneObject {
    KP_CLASS(TGLWorldRootObject, TGLBaseSceneObject)
public:
    // The owner must be a scene (assertion).
    explicit TGLWorldRootObject(TComponent* owner);
};
