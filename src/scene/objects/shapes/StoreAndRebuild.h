#pragma once
// The setter rule of the shapes: a value that differs from the stored one (exact
// comparison, also for floats) is stored and the object's drawing rebuilt.

#include "scene/graph/SceneObject.h"

template <class T>
void StoreAndRebuild(TGLBaseSceneObject& object, T& field, T value)
{
    if (value != field) {
        field = value;
        object.StructureChanged();
    }
}
