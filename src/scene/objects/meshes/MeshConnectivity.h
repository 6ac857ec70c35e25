#pragma once
// Triangle-edge connectivity for mesh silhouettes: one connectivity per mesh object,
// fed with the triangles of its face groups while sharing the mesh object's vertex
// list (never emptying it), and one per mesh that owns them and merges their
// silhouettes.

#include "scene/base/Silhouette.h"

#include <memory>
#include <vector>

class TGLBaseMesh;
class TMeshObject;

class TFaceGroupConnectivity : public TConnectivity {
    KP_CLASS(TFaceGroupConnectivity, TConnectivity)
public:
    explicit TFaceGroupConnectivity(bool precomputeFaceNormal) : TConnectivity(precomputeFaceNormal) {}
    TFaceGroupConnectivity(TMeshObject& meshObject, bool precomputeFaceNormal);

    TMeshObject* MeshObject() const { return meshObject_; }
    // Shares the mesh object's vertices and rebuilds the faces and edges from its
    // face groups, which must all be vertex-index lists (asserted).
    void SetMeshObject(TMeshObject& meshObject);
    void RebuildEdgeList();

private:
    TMeshObject* meshObject_ = nullptr;
};

class TGLBaseMeshConnectivity : public TBaseConnectivity {
    KP_CLASS(TGLBaseMeshConnectivity, TBaseConnectivity)
public:
    explicit TGLBaseMeshConnectivity(bool precomputeFaceNormal) : TBaseConnectivity(precomputeFaceNormal) {}
    // Face normals are precomputed unless the mesh is an actor.
    explicit TGLBaseMeshConnectivity(TGLBaseMesh& mesh);

    TGLBaseMesh* BaseMesh() const { return baseMesh_; }
    // One connectivity per mesh object, in order.
    void SetBaseMesh(TGLBaseMesh& mesh);
    // true: every per-object connectivity is cleared; false: they are freed.
    void Clear(bool saveFaceGroups);
    const std::vector<std::unique_ptr<TFaceGroupConnectivity>>& FaceGroupConnectivities() const
    {
        return faceGroupConnectivities_;
    }

    int EdgeCount() const override;
    int FaceCount() const override;
    // Every mesh object's part goes into the one silhouette.
    void CreateSilhouette(const TGLSilhouetteParameters& params, TGLSilhouette*& silhouette,
                          bool addToSilhouette) override;

private:
    TGLBaseMesh* baseMesh_ = nullptr;
    std::vector<std::unique_ptr<TFaceGroupConnectivity>> faceGroupConnectivities_;
};
