#include "scene/graph/WorldRootObject.h"

#include "platform/core/Assert.h"
#include "scene/graph/WorldInterfaces.h"

TGLWorldRootObject::TGLWorldRootObject(TComponent* owner) : TGLBaseSceneObject(owner)
{
    auto* scene = ObjectCast<TGLAbstractWorld>(owner);
    KP_ASSERT(scene != nullptr);
    IncludeStyle(osNoDisplayList);
    SetScene(scene);
}
