#include "scene/objects/MeshObjectClasses.h"

#include "platform/core/ClassRegistry.h"
#include "scene/objects/BaseMesh.h"

void RegisterMeshObjectClasses()
{
    static const bool registered = [] {
        RegisterVectorFileFormat<TGLGLWMVectorFile>("glwm", "GLWorld Mesh");
        RegisterClass<TGLFreeForm>();
        RegisterClass<TMeshObject>();
        RegisterClass<TMeshMorphTarget>();
        RegisterClass<TMorphableMeshObject>();
        RegisterClass(TFaceGroup::StaticClass(), nullptr); // abstract: known by name only
        RegisterClass<TFGVertexIndexList>();
        RegisterClass<TFGVertexNormalTexIndexList>();
        RegisterClass<TFGIndexTexCoordList>();
        return true;
    }();
    (void)registered;
}
