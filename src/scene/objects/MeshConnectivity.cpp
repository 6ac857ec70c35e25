#include "scene/objects/MeshConnectivity.h"

#include "platform/core/Assert.h"
#include "scene/objects/BaseMesh.h"

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
        const int n = group->VertexIndices().Count();
        switch (group->Mode()) {
        case fgmmTriangles:
        case fgmmFlatTriangles:
            for (int t = 0; t < n / 3; ++t) {
                AddIndexedFace(idx[3 * t], idx[3 * t + 1], idx[3 * t + 2]);
            }
            break;
        case fgmmTriangleStrip:
            for (int i = 0; i + 2 < n; ++i) {
                if ((i & 1) == 0) {
                    AddIndexedFace(idx[i], idx[i + 1], idx[i + 2]);
                } else {
                    AddIndexedFace(idx[i + 2], idx[i + 1], idx[i]);
                }
            }
            break;
        case fgmmTriangleFan:
            for (int i = 2; i < n; ++i) {
                AddIndexedFace(idx[0], idx[i - 1], idx[i]);
            }
            break;
        case fgmmQuads:
            for (int q = 0; q + 3 < n; q += 4) {
                AddIndexedFace(idx[q], idx[q + 1], idx[q + 2]);
                AddIndexedFace(idx[q], idx[q + 2], idx[q + 3]);
            }
            break;
        }
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
