#include "scene/WorldRootObject.h"

#include "platform/core/Assert.h"
#include "scene/WorldInterfaces.h"

TGLWorldRootObject::TGLWorldRootObject(TComponent* owner) : TGLBaseSceneObject(owner)
{
    auto* scene = ObjectCast<TGLAbstractWorld>(owner);
    KP_ASSERT(scene != nullptr);
    IncludeStyle(osNoDisplayList);
    SetScene(scene);
}
