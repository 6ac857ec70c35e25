#pragma once
// The scene objects that own a mesh model: TGLBaseMesh holds a list of mesh objects,
// a skeleton, links to a material library and a light-map library, and loads and saves through the
// vector-file registry with automatic scaling and centring after a load. TGLFreeForm is
// the static mesh, with an octree for triangle and box intersection tests.
//
// A load or add reads into a new list that replaces (or joins) the old one only when
// the whole file was read: a failed load leaves the mesh as it was. A load starts from
// an empty skeleton (files hold none). Saving is atomic.

#include "scene/graph/CustomSceneObject.h"
#include "scene/objects/meshes/MeshObjects.h"
#include "scene/objects/meshes/Octree.h"
#include "scene/objects/meshes/Skeleton.h"
#include "scene/objects/meshes/VectorFile.h"

#include <cstdint>
#include <memory>
#include <string>

class TGLMaterialLibrary;
class TStream;

enum TMeshAutoCentering : std::uint8_t { macCenterX, macCenterY, macCenterZ, macUseBarycenter };
using TMeshAutoCenterings = std::uint8_t; // bit n for value n

class TGLBaseMesh : public TGLWorldObject {
    KP_CLASS(TGLBaseMesh, TGLWorldObject)
public:
    explicit TGLBaseMesh(TComponent* owner = nullptr);
    ~TGLBaseMesh() override;

    TMeshObjectList& MeshObjects() { return *meshObjects_; }
    const TMeshObjectList& MeshObjects() const { return *meshObjects_; }
    TSkeleton& Skeleton() { return *skeleton_; }
    const TSkeleton& Skeleton() const { return *skeleton_; }

    TMeshNormalsOrientation NormalsOrientation() const { return normalsOrientation_; }
    void SetNormalsOrientation(TMeshNormalsOrientation value);
    TGLMaterialLibrary* MaterialLibrary() const { return materialLibrary_; }
    void SetMaterialLibrary(TGLMaterialLibrary* value);
    TGLMaterialLibrary* LightmapLibrary() const { return lightmapLibrary_; }
    void SetLightmapLibrary(TGLMaterialLibrary* value);
    bool UseMeshMaterials() const { return useMeshMaterials_; }
    void SetUseMeshMaterials(bool value);
    TMeshAutoCenterings AutoCentering() const { return autoCentering_; }
    void SetAutoCentering(TMeshAutoCenterings value) { autoCentering_ = value; }
    // Applied to the vertices after a load; (1, 1, 1) leaves them alone.
    TGLCoordinates& AutoScaling() { return *autoScaling_; }
    const TGLCoordinates& AutoScaling() const { return *autoScaling_; }
    // The file of the last successful load; empty after loading from a bare stream.
    const std::string& LastLoadedFileName() const { return lastLoadedFileName_; }

    // Used for silhouettes when set; owned. Otherwise each silhouette builds a
    // temporary connectivity.
    TBaseConnectivity* Connectivity() const { return connectivity_.get(); }
    void SetConnectivity(std::unique_ptr<TBaseConnectivity> value) { connectivity_ = std::move(value); }
    // Animated meshes answer true; their face normals must not be precomputed.
    virtual bool IsActor() const { return false; }

    // An empty file name makes every load, add and save do nothing. The format is
    // chosen by the extension (EInvalidVectorFile when none is registered).
    virtual void LoadFromFile(const std::string& fileName);
    virtual void LoadFromStream(const std::string& fileName, TStream& stream);
    virtual void SaveToFile(const std::string& fileName);
    virtual void SaveToStream(const std::string& fileName, TStream& stream);
    // As loading, but the file's mesh objects join the existing ones, unscaled and
    // uncentred.
    virtual void AddDataFromFile(const std::string& fileName);
    virtual void AddDataFromStream(const std::string& fileName, TStream& stream);

    // After every load and add.
    virtual void PrepareMesh();
    virtual void PrepareBuildList(TRenderContextInfo& rci);
    virtual void PrepareVectorFile(TVectorFile& file);
    virtual void PerformAutoCentering();
    virtual void PerformAutoScaling();

    // The union of the mesh objects' boxes, from +infinity / -infinity.
    void GetExtents(TAffineVector& min, TAffineVector& max) const;
    // The mean of all vertices; zero without any.
    TAffineVector GetBarycenter() const;
    void PrepareMaterialLibraryCache();
    void DropMaterialLibraryCache();

    // From a mesh: orientation, library links, cached half extents, mesh materials,
    // auto-centring and auto-scaling, a copy of the skeleton (posed) and then of the
    // mesh objects.
    void Assign(const TPersistent* source) override;
    // Per axis the larger of |min| and |max|: the box is taken symmetric about the
    // local origin. Cached until the next structure change.
    TVector UnscaledHalfExtents() const override;
    // The nearest hit over every triangle of the mesh (those ExtractTriangles gives).
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters& params) override;
    void BuildList(TRenderContextInfo& rci) override;
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    void DestroyHandle() override;
    void StructureChanged() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    enum class TAddMode { Replace, Append };
    void ReadMesh(const std::string& fileName, TStream& stream, TAddMode mode);
    std::unique_ptr<TVectorFile> MakeVectorFile(const std::string& fileName);
    static std::unique_ptr<TStream> OpenMeshFile(const std::string& fileName);
    void SetLibrary(TGLMaterialLibrary*& field, TGLMaterialLibrary* value, bool dropCache);

    std::unique_ptr<TMeshObjectList> meshObjects_;
    std::unique_ptr<TSkeleton> skeleton_;
    std::unique_ptr<TGLCoordinates> autoScaling_;
    std::unique_ptr<TBaseConnectivity> connectivity_;
    TGLMaterialLibrary* materialLibrary_ = nullptr;
    TGLMaterialLibrary* lightmapLibrary_ = nullptr;
    TMeshNormalsOrientation normalsOrientation_ = mnoDefault;
    TMeshAutoCenterings autoCentering_ = 0;
    bool useMeshMaterials_ = true;
    bool materialCachePrepared_ = false;
    // X below 0: not computed.
    mutable TVector halfExtents_{-1, -1, -1, 0};
    std::string lastLoadedFileName_;
};

class TGLFreeForm : public TGLBaseMesh {
    KP_CLASS(TGLFreeForm, TGLBaseMesh)
public:
    explicit TGLFreeForm(TComponent* owner = nullptr);
    ~TGLFreeForm() override;

    // Nil until BuildOctree.
    TOctree* Octree() const { return octree_.get(); }
    // Over every triangle of the mesh at this moment; the collision tests use depth 3.
    // A later load or add rebuilds it at the same depth.
    void BuildOctree(int depth = 3);
    // The points are absolute. Both queries assert that the octree was built.
    bool OctreeTriangleIntersect(const TAffineVector& point1, const TAffineVector& point2,
                                 const TAffineVector& point3);
    // The box is in another object's space, given by its absolute matrix and inverse;
    // hit triangles are appended to the list in that space.
    bool OctreeAABBIntersect(const TAABB& aabb, const TMatrix& objMatrix, const TMatrix& invObjMatrix,
                             TAffineVectorList* triangles = nullptr);

    void PrepareMesh() override;

private:
    std::unique_ptr<TOctree> octree_;
};
