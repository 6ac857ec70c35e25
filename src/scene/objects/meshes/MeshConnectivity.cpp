#include "scene/objects/meshes/MeshConnectivity.h"

#include "platform/core/Assert.h"
#include "scene/objects/meshes/BaseMesh.h"

TFaceGroupConnectivity::TFaceGroupConnectivity(TMeshObject& meshObject, bool precomputeFaceNormal)
    : TConnectivity(precomputeFaceNormal)
{
    SetMeshObject(meshObject);
}

void TFaceGroupConnectivity::SetMeshObject(TMeshObject& meshObject)
{
    Clear();
    meshObject_ = &meshObject;
    ShareVertices(&meshObject.Vertices());
    RebuildEdgeList();
}

void TFaceGroupConnectivity::RebuildEdgeList()
{
    Clear();
    const TFaceGroups& groups = meshObject_->FaceGroups();
    for (int g = 0; g < groups.Count(); ++g) {
        const auto* group = ObjectCast<TFGVertexIndexList>(groups.Items(g));
        KP_ASSERT_MSG(group, "Method only works for descendants of TFGVertexIndexList.");
        const std::int32_t* idx = group->VertexIndices().List();
        VisitTrianglePositions(group->Mode(), group->VertexIndices().Count(),
                               [&](int a, int b, int c) { AddIndexedFace(idx[a], idx[b], idx[c]); });
    }
}

TGLBaseMeshConnectivity::TGLBaseMeshConnectivity(TGLBaseMesh& mesh) : TBaseConnectivity(!mesh.IsActor())
{
    SetBaseMesh(mesh);
}

void TGLBaseMeshConnectivity::SetBaseMesh(TGLBaseMesh& mesh)
{
    Clear(false);
    baseMesh_ = &mesh;
    precomputeFaceNormal_ = !mesh.IsActor();
    TMeshObjectList& objects = mesh.MeshObjects();
    for (int i = 0; i < objects.Count(); ++i) {
        faceGroupConnectivities_.push_back(
            std::make_unique<TFaceGroupConnectivity>(*objects.Items(i), precomputeFaceNormal_));
    }
}

void TGLBaseMeshConnectivity::Clear(bool saveFaceGroups)
{
    if (saveFaceGroups) {
        for (auto& connectivity : faceGroupConnectivities_) {
            connectivity->Clear();
        }
    } else {
        faceGroupConnectivities_.clear();
    }
}

int TGLBaseMeshConnectivity::EdgeCount() const
{
    int count = 0;
    for (const auto& connectivity : faceGroupConnectivities_) {
        count += connectivity->EdgeCount();
    }
    return count;
}

int TGLBaseMeshConnectivity::FaceCount() const
{
    int count = 0;
    for (const auto& connectivity : faceGroupConnectivities_) {
        count += connectivity->FaceCount();
    }
    return count;
}

void TGLBaseMeshConnectivity::CreateSilhouette(const TGLSilhouetteParameters& params, TGLSilhouette*& silhouette,
                                               bool addToSilhouette)
{
    if (!silhouette) {
        silhouette = new TGLSilhouette();
    } else if (!addToSilhouette) {
        silhouette->Flush();
    }
    for (auto& connectivity : faceGroupConnectivities_) {
        connectivity->CreateSilhouette(params, silhouette, true);
    }
}
