// Registers the scene object classes of this library, so that an object can be made
// by its class name (copying a subtree, reading a stream).

#include "platform/core/objects/ClassRegistry.h"
#include "scene/graph/CustomSceneObject.h"
#include "scene/graph/DirectOpenGL.h"
#include "scene/graph/ProxyObject.h"

void RegisterSceneObjectClasses()
{
    static const bool registered = [] {
        RegisterClass<TGLBaseSceneObject>();
        RegisterClass<TGLCustomSceneObject>();
        RegisterClass<TGLWorldObject>();
        RegisterClass<TGLImmaterialSceneObject>();
        RegisterClass<TGLCameraInvariantObject>();
        RegisterClass<TGLDirectOpenGL>();
        RegisterClass<TGLRenderPoint>();
        RegisterClass<TGLProxyObject>();
        return true;
    }();
    (void)registered;
}
