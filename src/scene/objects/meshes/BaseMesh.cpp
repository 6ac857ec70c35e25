#include "scene/objects/meshes/BaseMesh.h"

#include "platform/core/Assert.h"
#include "platform/core/files/AtomicFileStream.h"
#include "platform/core/ScopeGuard.h"
#include "scene/materials/DataFile.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/graph/WorldInterfaces.h"
#include "scene/base/GeometryTests.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/VectorArithmetic.h"
#include "scene/base/VectorProducts.h"
#include "scene/objects/meshes/MeshConnectivity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Keeps the scene from repainting while a mesh is being replaced.
class TSceneUpdateGuard {
public:
    explicit TSceneUpdateGuard(TGLAbstractWorld* scene) : scene_(scene)
    {
        if (scene_) {
            scene_->BeginUpdate();
        }
    }
    ~TSceneUpdateGuard()
    {
        if (scene_) {
            scene_->EndUpdate();
        }
    }
    TSceneUpdateGuard(const TSceneUpdateGuard&) = delete;
    TSceneUpdateGuard& operator=(const TSceneUpdateGuard&) = delete;

private:
    TGLAbstractWorld* scene_;
};

} // namespace

TGLBaseMesh::TGLBaseMesh(TComponent* owner)
    : TGLWorldObject(owner), meshObjects_(std::make_unique<TMeshObjectList>(this)),
      skeleton_(std::make_unique<TSkeleton>(this)),
      autoScaling_(std::make_unique<TGLCoordinates>(this, TVector{1, 1, 1, 1}, TGLCoordinatesStyle::csPoint))
{
    IncludeStyle(osResetStatesAfterRender);
}

TGLBaseMesh::~TGLBaseMesh()
{
    // The mesh objects point into library materials; drop that before anything goes.
    meshObjects_->DropMaterialLibraryCache();
}

// ---- Properties ----

void TGLBaseMesh::SetNormalsOrientation(TMeshNormalsOrientation value)
{
    KP_ASSERT(value == mnoDefault || value == mnoInvert);
    if (normalsOrientation_ != value) {
        normalsOrientation_ = value;
        StructureChanged();
    }
}

void TGLBaseMesh::SetLibrary(TGLMaterialLibrary*& field, TGLMaterialLibrary* value, bool dropCache)
{
    if (field == value) {
        return;
    }
    if (dropCache) {
        DropMaterialLibraryCache();
    }
    if (field) {
        DestroyHandle();
        // One library may serve as both; keep hearing of it while the other link holds.
        if (materialLibrary_ != lightmapLibrary_) {
            field->RemoveFreeNotification(this);
        }
    }
    field = value;
    if (value) {
        value->FreeNotification(this);
    }
    StructureChanged();
}

void TGLBaseMesh::SetMaterialLibrary(TGLMaterialLibrary* value) { SetLibrary(materialLibrary_, value, true); }

void TGLBaseMesh::SetLightmapLibrary(TGLMaterialLibrary* value) { SetLibrary(lightmapLibrary_, value, false); }

void TGLBaseMesh::SetUseMeshMaterials(bool value)
{
    if (useMeshMaterials_ == value) {
        return;
    }
    useMeshMaterials_ = value;
    if (!value) {
        DropMaterialLibraryCache();
    }
    StructureChanged();
}

void TGLBaseMesh::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component &&
        (component == materialLibrary_ || component == lightmapLibrary_)) {
        // The library is half destroyed: forget it without calling into it.
        if (component == materialLibrary_) {
            DropMaterialLibraryCache();
            materialLibrary_ = nullptr;
        }
        if (component == lightmapLibrary_) {
            lightmapLibrary_ = nullptr;
        }
        TGLWorldObject::DestroyHandle();
        StructureChanged();
    }
    TGLWorldObject::Notification(component, operation);
}

void TGLBaseMesh::DestroyHandle()
{
    if (materialLibrary_) {
        materialLibrary_->DestroyHandles();
    }
    if (lightmapLibrary_) {
        lightmapLibrary_->DestroyHandles();
    }
    TGLWorldObject::DestroyHandle();
}

void TGLBaseMesh::StructureChanged()
{
    halfExtents_.X = -1;
    DropMaterialLibraryCache();
    meshObjects_->Prepare();
    TGLWorldObject::StructureChanged();
}

void TGLBaseMesh::PrepareMaterialLibraryCache()
{
    if (materialCachePrepared_) {
        DropMaterialLibraryCache();
    }
    meshObjects_->PrepareMaterialLibraryCache(materialLibrary_);
    materialCachePrepared_ = true;
}

void TGLBaseMesh::DropMaterialLibraryCache()
{
    if (materialCachePrepared_) {
        materialCachePrepared_ = false;
        meshObjects_->DropMaterialLibraryCache();
    }
}

// ---- Files ----

std::unique_ptr<TVectorFile> TGLBaseMesh::MakeVectorFile(const std::string& fileName)
{
    const TVectorFileFormat& format = GetVectorFileFormats().FindFromFileName(fileName);
    std::unique_ptr<TVectorFile> file(format.Create(this));
    file->SetResourceName(fileName);
    PrepareVectorFile(*file);
    return file;
}

void TGLBaseMesh::PrepareVectorFile(TVectorFile& file) { file.SetNormalsOrientation(normalsOrientation_); }

void TGLBaseMesh::ReadMesh(const std::string& fileName, TStream& stream, TAddMode mode)
{
    std::unique_ptr<TVectorFile> file = MakeVectorFile(fileName);
    // The format reads into this mesh's list: hand it a new one and keep the old one
    // aside until the whole file is in.
    std::unique_ptr<TMeshObjectList> previous = std::exchange(meshObjects_, std::make_unique<TMeshObjectList>(this));
    // A replacing load starts from an empty skeleton, which the skinned mesh objects
    // read meet while they prepare their bone-space copies.
    std::unique_ptr<TSkeleton> previousSkeleton;
    if (mode == TAddMode::Replace) {
        previousSkeleton = std::exchange(skeleton_, std::make_unique<TSkeleton>(this));
    }
    {
        TSceneUpdateGuard guard(Scene());
        try {
            file->LoadFromStream(stream);
        } catch (...) {
            meshObjects_ = std::move(previous);
            if (previousSkeleton) {
                skeleton_ = std::move(previousSkeleton);
            }
            throw;
        }
    }
    previous->DropMaterialLibraryCache();
    materialCachePrepared_ = false;
    if (mode == TAddMode::Append) {
        for (int i = 0; i < meshObjects_->Count(); ++i) {
            previous->AddItem(meshObjects_->Items(i));
        }
        meshObjects_->TPersistentObjectList::Clear(); // the items now belong to the old list
        meshObjects_ = std::move(previous);
    }
    lastLoadedFileName_ = fileName;
}

std::unique_ptr<TStream> TGLBaseMesh::OpenMeshFile(const std::string& fileName)
{
    GetVectorFileFormats().FindFromFileName(fileName); // an unknown format fails before the file is opened
    return CreateFileStream(fileName, fmOpenRead | fmShareDenyWrite);
}

void TGLBaseMesh::LoadFromFile(const std::string& fileName)
{
    if (fileName.empty()) {
        lastLoadedFileName_.clear();
        return;
    }
    LoadFromStream(fileName, *OpenMeshFile(fileName));
}

void TGLBaseMesh::LoadFromStream(const std::string& fileName, TStream& stream)
{
    if (fileName.empty()) {
        return;
    }
    ReadMesh(fileName, stream, TAddMode::Replace);
    PerformAutoScaling();
    PerformAutoCentering();
    PrepareMesh();
}

void TGLBaseMesh::AddDataFromFile(const std::string& fileName)
{
    if (fileName.empty()) {
        return;
    }
    AddDataFromStream(fileName, *OpenMeshFile(fileName));
}

void TGLBaseMesh::AddDataFromStream(const std::string& fileName, TStream& stream)
{
    if (fileName.empty()) {
        return;
    }
    ReadMesh(fileName, stream, TAddMode::Append);
    PrepareMesh();
}

void TGLBaseMesh::SaveToFile(const std::string& fileName)
{
    if (fileName.empty()) {
        return;
    }
    TAtomicFileStream stream(fileName);
    SaveToStream(fileName, stream);
    stream.Commit();
}

void TGLBaseMesh::SaveToStream(const std::string& fileName, TStream& stream)
{
    if (fileName.empty()) {
        return;
    }
    MakeVectorFile(fileName)->SaveToStream(stream);
}

void TGLBaseMesh::PrepareMesh() { StructureChanged(); }

// ---- Geometry ----

void TGLBaseMesh::GetExtents(TAffineVector& min, TAffineVector& max) const
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    min = {inf, inf, inf};
    max = {-inf, -inf, -inf};
    for (int i = 0; i < meshObjects_->Count(); ++i) {
        TAffineVector objMin{};
        TAffineVector objMax{};
        meshObjects_->Items(i)->GetExtents(objMin, objMax);
        for (int k = 0; k < 3; ++k) {
            min[k] = std::min(min[k], objMin[k]);
            max[k] = std::max(max[k], objMax[k]);
        }
    }
}

TAffineVector TGLBaseMesh::GetBarycenter() const
{
    TAffineVector sum{0, 0, 0};
    int count = 0;
    for (int i = 0; i < meshObjects_->Count(); ++i) {
        meshObjects_->Items(i)->ContributeToBarycenter(sum, count);
    }
    return count > 0 ? ScaledAffineVector(sum, 1.0f / static_cast<float>(count)) : TAffineVector{0, 0, 0};
}

void TGLBaseMesh::PerformAutoCentering()
{
    TAffineVector delta{0, 0, 0};
    if (autoCentering_ & (1u << macUseBarycenter)) {
        delta = NegatedAffineVector(GetBarycenter());
    } else {
        TAffineVector min{};
        TAffineVector max{};
        GetExtents(min, max);
        for (int axis = 0; axis < 3; ++axis) {
            if (autoCentering_ & (1u << (macCenterX + axis))) {
                delta[axis] = -(min[axis] + max[axis]) / 2;
            }
        }
    }
    if (!IsNullVector(delta)) {
        meshObjects_->Translate(delta);
    }
}

void TGLBaseMesh::PerformAutoScaling()
{
    const TAffineVector scale = autoScaling_->GetAsAffineVector();
    if (scale.X == 1 && scale.Y == 1 && scale.Z == 1) {
        return;
    }
    for (int i = 0; i < meshObjects_->Count(); ++i) {
        meshObjects_->Items(i)->Vertices().ScaleVector(scale);
    }
}

TVector TGLBaseMesh::UnscaledHalfExtents() const
{
    if (halfExtents_.X < 0) {
        TAffineVector min{};
        TAffineVector max{};
        GetExtents(min, max);
        for (int axis = 0; axis < 3; ++axis) {
            halfExtents_[axis] = std::max(std::fabs(min[axis]), std::fabs(max[axis]));
        }
        halfExtents_.W = 0;
    }
    return halfExtents_;
}

bool TGLBaseMesh::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                                   TVector* intersectNormal)
{
    const TVector start = AbsoluteToLocal(TVector{rayStart.X, rayStart.Y, rayStart.Z, 1});
    const TVector direction = AbsoluteToLocal(TVector{rayVector.X, rayVector.Y, rayVector.Z, 0});
    double best = -1;
    TVector bestPoint{};
    TVector bestNormal{};
    meshObjects_->VisitTriangles([&](const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3) {
        TVector hit{};
        TVector normal{};
        if (!IntersectRayTriangle(start, direction, p1, p2, p3, &hit, &normal)) {
            return;
        }
        const double d = SquaredAffineDistance(start, hit);
        if (d < best || best < 0) {
            best = d;
            bestPoint = hit;
            bestNormal = normal;
        }
    });
    if (best < 0) {
        return false;
    }
    if (intersectPoint) {
        bestPoint.W = 1;
        *intersectPoint = LocalToAbsolute(bestPoint);
    }
    if (intersectNormal) {
        bestNormal.W = 0;
        *intersectNormal = LocalToAbsolute(bestNormal);
        if (normalsOrientation_ == mnoInvert) {
            *intersectNormal = NegatedVector(*intersectNormal);
            intersectNormal->W = 0;
        }
    }
    return true;
}

std::unique_ptr<TGLSilhouette> TGLBaseMesh::GenerateSilhouette(const TGLSilhouetteParameters& params)
{
    TGLSilhouette* silhouette = nullptr;
    if (connectivity_) {
        connectivity_->CreateSilhouette(params, silhouette, true);
    } else {
        TGLBaseMeshConnectivity connectivity(*this);
        connectivity.CreateSilhouette(params, silhouette, true);
    }
    return std::unique_ptr<TGLSilhouette>(silhouette);
}

// ---- Drawing ----

void TGLBaseMesh::PrepareBuildList(TRenderContextInfo& rci)
{
    meshObjects_->PrepareBuildList(rci);
    if (lightmapLibrary_) {
        lightmapLibrary_->Materials()->PrepareBuildList();
    }
}

void TGLBaseMesh::BuildList(TRenderContextInfo& rci) { meshObjects_->BuildList(rci); }

void TGLBaseMesh::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    // The light map owns unit 1 while the mesh draws.
    struct TSecondUnitGuard {
        bool active;
        ~TSecondUnitGuard()
        {
            if (active) {
                AllowSecondTexUnit();
            }
        }
    } secondUnit{lightmapLibrary_ != nullptr};
    if (secondUnit.active) {
        ForbidSecondTexUnit();
    }
    if (renderSelf) {
        const bool invert = normalsOrientation_ == mnoInvert && rci.GLStates;
        struct TFrontFaceGuard {
            TGLStateCache* states;
            ~TFrontFaceGuard()
            {
                if (states) {
                    states->InvertFrontFace();
                }
            }
        } frontFace{invert ? rci.GLStates : nullptr};
        if (invert) {
            rci.GLStates->InvertFrontFace();
        }
        MarkCurrentObject(rci);
        if (rci.ignoreMaterials) {
            DrawSelf(rci);
        } else {
            TGLMaterialLibrary* library = useMeshMaterials_ ? materialLibrary_ : nullptr;
            if (library && !materialCachePrepared_) {
                PrepareMaterialLibraryCache();
            }
            const auto materials = SetForScope(rci.materialLibrary, library);
            const auto lightMaps = SetForScope(rci.lightmapLibrary, lightmapLibrary_);
            if (rci.amalgamating || (!HasValidDisplayList() && !HasStyle(osNoDisplayList))) {
                PrepareBuildList(rci);
            }
            DrawWithMaterial(rci);
        }
    }
    if (renderChildren && Count() > 0) {
        RenderChildren(0, Count() - 1, rci);
    }
}

void TGLBaseMesh::Assign(const TPersistent* source)
{
    if (const auto* mesh = ObjectCast<TGLBaseMesh>(source); mesh && mesh != this) {
        normalsOrientation_ = mesh->normalsOrientation_;
        SetMaterialLibrary(mesh->materialLibrary_);
        SetLightmapLibrary(mesh->lightmapLibrary_);
        useMeshMaterials_ = mesh->useMeshMaterials_;
        autoCentering_ = mesh->autoCentering_;
        autoScaling_->Assign(mesh->autoScaling_.get());
        DropMaterialLibraryCache();
        skeleton_->Clear();
        skeleton_->Assign(mesh->skeleton_.get());
        skeleton_->RootBones().PrepareGlobalMatrices();
        // After the skeleton: the skinned mesh objects make their bone-space copies
        // from its bones as they are read.
        meshObjects_->Assign(mesh->meshObjects_.get());
        halfExtents_ = mesh->halfExtents_;
    }
    TGLWorldObject::Assign(source);
}

// ---- Free form ----

TGLFreeForm::TGLFreeForm(TComponent* owner) : TGLBaseMesh(owner) { SetUseMeshMaterials(true); }

TGLFreeForm::~TGLFreeForm() = default;

void TGLFreeForm::BuildOctree(int depth)
{
    if (!octree_) {
        octree_ = std::make_unique<TOctree>();
    }
    TAffineVector min{};
    TAffineVector max{};
    GetExtents(min, max);
    const std::unique_ptr<TAffineVectorList> triangles = MeshObjects().ExtractTriangles();
    octree_->DisposeTree();
    octree_->InitializeTree(min, max, *triangles, depth);
}

bool TGLFreeForm::OctreeTriangleIntersect(const TAffineVector& point1, const TAffineVector& point2,
                                          const TAffineVector& point3)
{
    KP_ASSERT_MSG(octree_, "Octree must have been prepared and setup before use.");
    return octree_->TriangleIntersect(AbsoluteToLocal(point1), AbsoluteToLocal(point2), AbsoluteToLocal(point3));
}

bool TGLFreeForm::OctreeAABBIntersect(const TAABB& aabb, const TMatrix& objMatrix, const TMatrix& invObjMatrix,
                                      TAffineVectorList* triangles)
{
    KP_ASSERT_MSG(octree_, "Octree must have been prepared and setup before use.");
    const TMatrix objToSelf = MultiplyMatrices(objMatrix, InvAbsoluteMatrixRef());
    const TMatrix selfToObj = MultiplyMatrices(AbsoluteMatrixRef(), invObjMatrix);
    return octree_->AABBIntersect(aabb, objToSelf, selfToObj, triangles);
}

void TGLFreeForm::PrepareMesh()
{
    TGLBaseMesh::PrepareMesh();
    // Collisions must never test triangles that are gone.
    if (octree_ && octree_->RootNode()) {
        BuildOctree(octree_->MaxOlevel());
    }
}
