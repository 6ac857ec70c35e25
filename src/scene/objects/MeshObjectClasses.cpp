#include "scene/objects/MeshObjectClasses.h"

#include "platform/core/ClassRegistry.h"
#include "scene/objects/Actor.h"
#include "scene/objects/BaseMesh.h"
#include "scene/objects/SimpleMesh.h"
#include "scene/objects/SkeletonMeshObject.h"

void RegisterMeshObjectClasses()
{
    static const bool registered = [] {
        RegisterVectorFileFormat<TGLGLWMVectorFile>("glwm", "GLWorld Mesh");
        RegisterClass<TGLFreeForm>();
        RegisterClass<TGLActor>();
        RegisterClass<TSkeleton>();
        RegisterClass<TSkeletonFrame>();
        RegisterClass<TSkeletonBone>();
        RegisterClass<TSkeletonMeshObject>();
        RegisterClass<TMeshObject>();
        RegisterClass<TSkeletonFrameList>();
        RegisterClass<TMeshMorphTarget>();
        RegisterClass<TMorphableMeshObject>();
        RegisterClass(TFaceGroup::StaticClass(), nullptr); // abstract: known by name only
        RegisterClass<TFGVertexIndexList>();
        RegisterClass<TFGVertexNormalTexIndexList>();
        RegisterClass<TGLAnimationControler>();
        RegisterClass<TFGIndexTexCoordList>();
        RegisterClass<TSkeletonCollider>();
        RegisterClass<TSkeletonColliderList>();
        RegisterClass<TGLMesh>();
        return true;
    }();
    (void)registered;
}
