#pragma once
// A face group is one material's share of a mesh object in face-group mode: it indexes
// the mesh object's vertex, normal, texture-coordinate and colour lists, names the
// library material to draw it with and optionally a light map. Three layouts: one
// index list for every attribute (drawn with glDrawElements over the mesh object's
// arrays), separate vertex/normal/texture indices, and vertex indices with texture
// coordinates stored per index (both in immediate mode). Face groups also hand out
// their triangles as plain lists for ray casts, octrees and connectivity; quads are
// split into (0, 1, 2) and (0, 2, 3).

#include "platform/core/Assert.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/base/OpenGLBinding.h"
#include "scene/base/PersistentObject.h"
#include "scene/base/ScalarLists.h"
#include "scene/base/VectorLists.h"
#include "scene/objects/meshes/MeshItemList.h"

#include <cstdint>
#include <functional>
#include <string>

class TFaceGroups;
class TGLLibMaterial;
class TGLMaterialLibrary;
class TGLTexture;
class TMeshObject;

// Receives one triangle at a time, in the order and winding of ExtractTriangles.
using TTriangleVisitor = std::function<void(const TAffineVector&, const TAffineVector&, const TAffineVector&)>;

class TFaceGroup : public TPersistentObject {
    KP_CLASS(TFaceGroup, TPersistentObject)
public:
    TFaceGroup() = default;
    // Added to the list.
    explicit TFaceGroup(TFaceGroups* owner);
    // Leaves its list.
    ~TFaceGroup() override;

    TFaceGroups* Owner() const { return owner_; }
    void SetOwner(TFaceGroups* owner) { owner_ = owner; }
    // The mesh object of the owning list; nullptr outside one.
    TMeshObject* MeshObject() const;

    const std::string& MaterialName() const { return materialName_; }
    void SetMaterialName(const std::string& value) { materialName_ = value; }
    // The library material resolved from the name; nullptr until prepared.
    TGLLibMaterial* MaterialCache() const { return materialCache_; }
    // -1: no light map.
    int LightMapIndex() const { return lightMapIndex_; }
    void SetLightMapIndex(int value) { lightMapIndex_ = value; }
    // Marks the group drawn in one grouped pass.
    int RenderTag() const { return renderTag_; }
    void SetRenderTag(int value) { renderTag_ = value; }

    void PrepareMaterialLibraryCache(const TGLMaterialLibrary* library);
    void DropMaterialLibraryCache() { materialCache_ = nullptr; }

    virtual void BuildList(TRenderContextInfo& rci) = 0;
    // Appends three points (texture coordinates, normals) per triangle to the lists
    // given; nothing here.
    virtual void AddToTriangles(TAffineVectorList& /*list*/, TAffineVectorList* /*texCoords*/,
                                TAffineVectorList* /*normals*/) const
    {
    }
    // The triangles AddToTriangles would append, without building a list (a ray cast
    // over a million triangles must not allocate and touch tens of megabytes).
    virtual void VisitTriangles(const TTriangleVisitor& visit) const;
    virtual int TriangleCount() const { return 0; }
    virtual void Reverse() {}
    virtual void Prepare() {}
    // What is wrong with the group's indices for its mesh object; empty when nothing.
    virtual std::string IndexFault(const TMeshObject& /*mesh*/) const { return {}; }

    // Version 1 (with the light-map index) only when there is a light map.
    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

protected:
    // Switches the light map on unit 1 when the group's index differs from the one in
    // force. An index beyond the light-map library draws without a light map.
    void AttachLightmap(TRenderContextInfo& rci);
    static void SetupLightmapTexture(TGLTexture& texture, TRenderContextInfo& rci);

private:
    TFaceGroups* owner_ = nullptr;
    std::string materialName_;
    TGLLibMaterial* materialCache_ = nullptr;
    int lightMapIndex_ = -1;
    int renderTag_ = 0;
};

enum TFaceGroupMeshMode : std::uint8_t {
    fgmmTriangles,
    fgmmTriangleStrip,
    fgmmFlatTriangles, // drawn and converted like fgmmTriangles
    fgmmTriangleFan,
    fgmmQuads,
};
constexpr int FaceGroupMeshModeCount = fgmmQuads + 1;

// The OpenGL primitive of a mode.
GLenum FaceGroupPrimitive(TFaceGroupMeshMode mode);

// Calls visit(a, b, c) with the index positions of each triangle that n indices make
// in the mode, in the winding OpenGL draws them with: even strip positions keep it,
// odd ones reverse it; quads give (0, 1, 2) and (0, 2, 3); leftover indices are ignored.
template <class Visit>
void VisitTrianglePositions(TFaceGroupMeshMode mode, int n, Visit visit)
{
    switch (mode) {
    case fgmmTriangles:
    case fgmmFlatTriangles:
        for (int i = 0; i + 2 < n; i += 3) {
            visit(i, i + 1, i + 2);
        }
        return;
    case fgmmTriangleStrip:
        for (int i = 0; i + 2 < n; ++i) {
            if ((i & 1) == 0) {
                visit(i, i + 1, i + 2);
            } else {
                visit(i + 2, i + 1, i);
            }
        }
        return;
    case fgmmTriangleFan:
        for (int i = 2; i < n; ++i) {
            visit(0, i - 1, i);
        }
        return;
    case fgmmQuads:
        for (int q = 0; q + 3 < n; q += 4) {
            visit(q, q + 1, q + 2);
            visit(q, q + 2, q + 3);
        }
        return;
    }
    KP_ASSERT(false);
}

class TFGVertexIndexList : public TFaceGroup {
    KP_CLASS(TFGVertexIndexList, TFaceGroup)
    KP_PERSISTENT_INSTANCE(TFGVertexIndexList)
public:
    TFGVertexIndexList() = default;
    explicit TFGVertexIndexList(TFaceGroups* owner) : TFaceGroup(owner) {}

    TIntegerList& VertexIndices() { return vertexIndices_; }
    const TIntegerList& VertexIndices() const { return vertexIndices_; }
    TFaceGroupMeshMode Mode() const { return mode_; }
    void SetMode(TFaceGroupMeshMode value) { mode_ = value; }

    void BuildList(TRenderContextInfo& rci) override;
    void AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords,
                        TAffineVectorList* normals) const override;
    void VisitTriangles(const TTriangleVisitor& visit) const override;
    // Triangles, flat: n / 3; strip, fan: n - 2; quads: 2 per whole quad.
    int TriangleCount() const override;
    void Reverse() override { vertexIndices_.Reverse(); }
    std::string IndexFault(const TMeshObject& mesh) const override;

    // Appends source[indices] as independent triangles (three items each) by Mode.
    // Nothing without a destination or with fewer than 3 indices; an empty source
    // appends as many zero items, so lists of one extraction keep the same length.
    void AddToList(const TAffineVectorList& source, TAffineVectorList* destination,
                   const TIntegerList& indices) const;

    void WriteToFiler(TVirtualWriter& writer) const override;
    // A mode out of range raises EInvalidVectorFile.
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TIntegerList vertexIndices_;
    TFaceGroupMeshMode mode_ = fgmmTriangles;
};

class TFGVertexNormalTexIndexList : public TFGVertexIndexList {
    KP_CLASS(TFGVertexNormalTexIndexList, TFGVertexIndexList)
    KP_PERSISTENT_INSTANCE(TFGVertexNormalTexIndexList)
public:
    TFGVertexNormalTexIndexList() = default;
    explicit TFGVertexNormalTexIndexList(TFaceGroups* owner) : TFGVertexIndexList(owner) {}

    // Empty stands for VertexIndices.
    TIntegerList& NormalIndices() { return normalIndices_; }
    const TIntegerList& NormalIndices() const { return normalIndices_; }
    TIntegerList& TexCoordIndices() { return texCoordIndices_; }
    const TIntegerList& TexCoordIndices() const { return texCoordIndices_; }

    // Normals only when the mesh object has any; quads drawn as two triangles each.
    void BuildList(TRenderContextInfo& rci) override;
    void AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords,
                        TAffineVectorList* normals) const override;
    std::string IndexFault(const TMeshObject& mesh) const override;

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TIntegerList normalIndices_;
    TIntegerList texCoordIndices_;
};

class TFGIndexTexCoordList : public TFGVertexIndexList {
    KP_CLASS(TFGIndexTexCoordList, TFGVertexIndexList)
    KP_PERSISTENT_INSTANCE(TFGIndexTexCoordList)
public:
    TFGIndexTexCoordList() = default;
    explicit TFGIndexTexCoordList(TFaceGroups* owner) : TFGVertexIndexList(owner) {}

    // One item per index; only X and Y are drawn.
    TAffineVectorList& TexCoords() { return texCoords_; }
    const TAffineVectorList& TexCoords() const { return texCoords_; }

    void BuildList(TRenderContextInfo& rci) override;
    void AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords,
                        TAffineVectorList* normals) const override;
    std::string IndexFault(const TMeshObject& mesh) const override;

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TAffineVectorList texCoords_;
};

class TFaceGroups : public TMeshItemList<TFaceGroup, TFaceGroups> {
    KP_CLASS(TFaceGroups, TPersistentObjectList)
    KP_PERSISTENT_INSTANCE(TFaceGroups)
public:
    TFaceGroups() = default;
    explicit TFaceGroups(TMeshObject* owner) : owner_(owner) {}

    TMeshObject* Owner() const { return owner_; }

    void PrepareMaterialLibraryCache(const TGLMaterialLibrary* library);
    void DropMaterialLibraryCache();
    void AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords, TAffineVectorList* normals) const;
    void VisitTriangles(const TTriangleVisitor& visit) const;

private:
    TMeshObject* owner_ = nullptr;
};
