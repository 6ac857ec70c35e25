#include "scene/objects/meshes/MeshObjectClasses.h"

#include "platform/core/objects/ClassRegistry.h"
#include "scene/objects/meshes/Actor.h"
#include "scene/objects/meshes/BaseMesh.h"
#include "scene/objects/meshes/SimpleMesh.h"
#include "scene/objects/meshes/SkeletonMeshObject.h"

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
