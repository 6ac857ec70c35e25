#include "scene/objects/meshes/MeshObjects.h"

#include "platform/core/Assert.h"
#include "scene/objects/meshes/MeshStrips.h"

#include <algorithm>

// ---- TBaseMeshObject ----

void TBaseMeshObject::Clear()
{
    normals_.Clear();
    vertices_.Clear();
}

void TBaseMeshObject::ContributeToBarycenter(TAffineVector& sum, int& count) const
{
    const TAffineVector s = vertices_.Sum();
    sum = {sum.X + s.X, sum.Y + s.Y, sum.Z + s.Z};
    count += vertices_.Count();
}

void TBaseMeshObject::Translate(const TAffineVector& delta) { vertices_.Translate(delta); }

std::unique_ptr<TAffineVectorList> TBaseMeshObject::ExtractTriangles(TAffineVectorList* /*texCoords*/,
                                                                     TAffineVectorList* normals) const
{
    auto result = std::make_unique<TAffineVectorList>();
    if (vertices_.Count() % 3 == 0) {
        result->Assign(&vertices_);
        if (normals) {
            normals->Assign(&normals_);
        }
    }
    return result;
}

// ---- TMeshObject ----

TMeshObject::TMeshObject() : faceGroups_(std::make_unique<TFaceGroups>(this)) {}

TMeshObject::TMeshObject(TMeshObjectList* owner) : TMeshObject()
{
    if (owner) {
        owner->AddItem(this);
    }
}

TMeshObject::~TMeshObject()
{
    if (owner_) {
        owner_->Remove(this);
    }
}

TVectorList& TMeshObject::TexCoordsEx(int index)
{
    KP_ASSERT(index >= 0);
    while (static_cast<int>(texCoordsEx_.size()) <= index) {
        texCoordsEx_.push_back(std::make_unique<TVectorList>());
    }
    return *texCoordsEx_[static_cast<std::size_t>(index)];
}

void TMeshObject::SetTexCoordSetIndexA(int value)
{
    KP_ASSERT(value >= 0);
    texCoordSetIndexA_ = value;
}

void TMeshObject::SetTexCoordSetIndexB(int value)
{
    KP_ASSERT(value >= 0);
    texCoordSetIndexB_ = value;
}

void TMeshObject::Clear()
{
    TBaseMeshObject::Clear();
    faceGroups_->Clear();
    colors_.Clear();
    texCoords_.Clear();
    lightMapTexCoords_.Clear();
    for (auto& list : texCoordsEx_) {
        list->Clear();
    }
}

std::unique_ptr<TAffineVectorList> TMeshObject::ExtractTriangles(TAffineVectorList* texCoords,
                                                                 TAffineVectorList* normals) const
{
    switch (mode_) {
    case momTriangles: {
        auto result = TBaseMeshObject::ExtractTriangles(texCoords, normals);
        if (texCoords && Vertices().Count() % 3 == 0) {
            texCoords->Assign(&texCoords_);
        }
        return result;
    }
    case momTriangleStrip: {
        auto result = std::make_unique<TAffineVectorList>();
        ConvertStripToList(Vertices(), *result);
        if (texCoords) {
            ConvertStripToList(texCoords_, *texCoords);
        }
        if (normals) {
            ConvertStripToList(Normals(), *normals);
        }
        return result;
    }
    case momFaceGroups: {
        auto result = std::make_unique<TAffineVectorList>();
        faceGroups_->AddToTriangles(*result, texCoords, normals);
        return result;
    }
    }
    KP_ASSERT(false);
    return nullptr;
}

void TMeshObject::VisitTriangles(const TTriangleVisitor& visit) const
{
    const TAffineVector* p = Vertices().List();
    const int n = Vertices().Count();
    auto corners = [&](int a, int b, int c) { visit(p[a], p[b], p[c]); };
    switch (mode_) {
    case momTriangles:
        if (n % 3 == 0) {
            VisitTrianglePositions(fgmmTriangles, n, corners);
        }
        return;
    case momTriangleStrip:
        VisitTrianglePositions(fgmmTriangleStrip, n, corners);
        return;
    case momFaceGroups:
        faceGroups_->VisitTriangles(visit);
        return;
    }
    KP_ASSERT(false);
}

int TMeshObject::TriangleCount() const
{
    switch (mode_) {
    case momTriangles:
        return Vertices().Count() / 3;
    case momTriangleStrip:
        return std::max(Vertices().Count() - 2, 0);
    case momFaceGroups: {
        int count = 0;
        for (int i = 0; i < faceGroups_->Count(); ++i) {
            count += faceGroups_->Items(i)->TriangleCount();
        }
        return count;
    }
    }
    KP_ASSERT(false);
    return 0;
}

void TMeshObject::GetExtents(TAffineVector& min, TAffineVector& max) const { Vertices().GetBounds(min, max); }

bool TMeshObject::PointInObject(const TAffineVector& point) const
{
    TAffineVector min{};
    TAffineVector max{};
    GetExtents(min, max);
    return point.X >= min.X && point.Y >= min.Y && point.Z >= min.Z && point.X <= max.X && point.Y <= max.Y &&
           point.Z <= max.Z;
}

void TMeshObject::Prepare()
{
    for (int i = 0; i < faceGroups_->Count(); ++i) {
        faceGroups_->Items(i)->Prepare();
    }
}

void TMeshObject::PrepareMaterialLibraryCache(const TGLMaterialLibrary* library)
{
    faceGroups_->PrepareMaterialLibraryCache(library);
}

void TMeshObject::DropMaterialLibraryCache() { faceGroups_->DropMaterialLibraryCache(); }

// ---- TMeshObjectList ----

void TMeshObjectList::PrepareBuildList(TRenderContextInfo& rci)
{
    for (int i = 0; i < Count(); ++i) {
        if (TMeshObject* mesh = Items(i); mesh->Visible()) {
            mesh->PrepareBuildList(rci);
        }
    }
}

void TMeshObjectList::BuildList(TRenderContextInfo& rci)
{
    for (int i = 0; i < Count(); ++i) {
        if (TMeshObject* mesh = Items(i); mesh->Visible()) {
            mesh->BuildList(rci);
        }
    }
}

void TMeshObjectList::Prepare()
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->Prepare();
    }
}

void TMeshObjectList::PrepareMaterialLibraryCache(const TGLMaterialLibrary* library)
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->PrepareMaterialLibraryCache(library);
    }
}

void TMeshObjectList::DropMaterialLibraryCache()
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->DropMaterialLibraryCache();
    }
}

void TMeshObjectList::MorphTo(int index)
{
    for (int i = 0; i < Count(); ++i) {
        if (auto* morphable = ObjectCast<TMorphableMeshObject>(Items(i))) {
            morphable->MorphTo(index);
        }
    }
}

void TMeshObjectList::Lerp(int index1, int index2, float factor)
{
    for (int i = 0; i < Count(); ++i) {
        if (auto* morphable = ObjectCast<TMorphableMeshObject>(Items(i))) {
            morphable->Lerp(index1, index2, factor);
        }
    }
}

int TMeshObjectList::MorphTargetCount() const
{
    int count = -1;
    for (int i = 0; i < Count(); ++i) {
        if (const auto* morphable = ObjectCast<TMorphableMeshObject>(Items(i))) {
            const int n = morphable->MorphTargets().Count();
            count = count < 0 ? n : std::min(count, n);
        }
    }
    return std::max(count, 0);
}

void TMeshObjectList::Clear()
{
    DropMaterialLibraryCache();
    TMeshItemList::Clear();
}

void TMeshObjectList::GetExtents(TAffineVector& min, TAffineVector& max) const
{
    min = {1e30f, 1e30f, 1e30f};
    max = {-1e30f, -1e30f, -1e30f};
    for (int i = 0; i < Count(); ++i) {
        TAffineVector objMin{};
        TAffineVector objMax{};
        Items(i)->GetExtents(objMin, objMax);
        for (int k = 0; k < 3; ++k) {
            min[k] = std::min(min[k], objMin[k]);
            max[k] = std::max(max[k], objMax[k]);
        }
    }
}

void TMeshObjectList::Translate(const TAffineVector& delta)
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->Translate(delta);
    }
}

std::unique_ptr<TAffineVectorList> TMeshObjectList::ExtractTriangles(TAffineVectorList* texCoords,
                                                                     TAffineVectorList* normals) const
{
    auto result = std::make_unique<TAffineVectorList>();
    TAffineVectorList objTexCoords;
    TAffineVectorList objNormals;
    for (int i = 0; i < Count(); ++i) {
        std::unique_ptr<TAffineVectorList> triangles =
            Items(i)->ExtractTriangles(texCoords ? &objTexCoords : nullptr, normals ? &objNormals : nullptr);
        if (result->Count() == 0) {
            result = std::move(triangles); // the usual single mesh object: no second copy
        } else {
            result->AddList(triangles.get());
        }
        if (texCoords) {
            texCoords->AddList(&objTexCoords);
            objTexCoords.Flush();
        }
        if (normals) {
            normals->AddList(&objNormals);
            objNormals.Flush();
        }
    }
    return result;
}

void TMeshObjectList::VisitTriangles(const TTriangleVisitor& visit) const
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->VisitTriangles(visit);
    }
}

int TMeshObjectList::TriangleCount() const
{
    int count = 0;
    for (int i = 0; i < Count(); ++i) {
        count += Items(i)->TriangleCount();
    }
    return count;
}

// ---- Morph targets ----

TMeshMorphTarget::TMeshMorphTarget(TMeshMorphTargetList* owner)
{
    if (owner) {
        owner->AddItem(this);
    }
}

TMeshMorphTarget::~TMeshMorphTarget()
{
    if (owner_) {
        owner_->Remove(this);
    }
}

void TMeshMorphTargetList::Translate(const TAffineVector& delta)
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->Translate(delta);
    }
}

TMorphableMeshObject::TMorphableMeshObject() : morphTargets_(std::make_unique<TMeshMorphTargetList>(this)) {}

TMorphableMeshObject::TMorphableMeshObject(TMeshObjectList* owner) : TMorphableMeshObject()
{
    if (owner) {
        owner->AddItem(this);
    }
}

void TMorphableMeshObject::MorphTo(int index)
{
    if (index == 0 && morphTargets_->Count() == 0) {
        return;
    }
    KP_ASSERT(index >= 0 && index < morphTargets_->Count());
    const TMeshMorphTarget& target = *morphTargets_->Items(index);
    if (target.Vertices().Count() > 0) {
        SetVertices(target.Vertices());
    }
    if (target.Normals().Count() > 0) {
        SetNormals(target.Normals());
    }
}

void TMorphableMeshObject::Lerp(int index1, int index2, float factor)
{
    KP_ASSERT(index1 >= 0 && index1 < morphTargets_->Count());
    KP_ASSERT(index2 >= 0 && index2 < morphTargets_->Count());
    if (factor == 0) {
        MorphTo(index1);
        return;
    }
    if (factor == 1) {
        MorphTo(index2);
        return;
    }
    const TMeshMorphTarget& first = *morphTargets_->Items(index1);
    const TMeshMorphTarget& second = *morphTargets_->Items(index2);
    if (first.Vertices().Count() > 0) {
        Vertices().Lerp(first.Vertices(), second.Vertices(), factor);
    }
    if (first.Normals().Count() > 0) {
        Normals().Lerp(first.Normals(), second.Normals(), factor);
        Normals().Normalize();
    }
}

void TMorphableMeshObject::Clear()
{
    TMeshObject::Clear();
    morphTargets_->Clear();
}

void TMorphableMeshObject::Translate(const TAffineVector& delta)
{
    TMeshObject::Translate(delta);
    morphTargets_->Translate(delta);
}
