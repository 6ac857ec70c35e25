#pragma once
// The data model under every mesh scene object: a mesh is a list of mesh objects, each
// with its own vertex, normal, texture-coordinate and colour lists and, in face-group
// mode, face groups that index into them. Morphable mesh objects add whole alternative
// vertex and normal sets (morph targets) and interpolate between them. Everything here
// streams itself field by field; the field orders are those of the "glwm" file.
//
// Drawing is OpenGL 1.x: vertex arrays declared once per mesh object and build,
// immediate mode for the plain modes, the face groups for the indexed mode.

#include "platform/core/Exceptions.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/base/PersistentObject.h"
#include "scene/base/ScalarLists.h"
#include "scene/base/VectorLists.h"
#include "scene/objects/meshes/FaceGroups.h"
#include "scene/objects/meshes/MeshItemList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGLBaseMesh;
class TGLMaterialLibrary;
class TMeshObjectList;
class TMeshMorphTargetList;

// A mesh file that cannot be read, or a file name no format is registered for.
class EInvalidVectorFile : public Exception {
    using Exception::Exception;
};

enum TMeshObjectMode : std::uint8_t { momTriangles, momTriangleStrip, momFaceGroups };
constexpr int MeshObjectModeCount = momFaceGroups + 1;

enum TMeshObjectRenderingOption : std::uint8_t { moroGroupByMaterial };
using TMeshObjectRenderingOptions = std::uint8_t; // bit n for option n

class TBaseMeshObject : public TPersistentObject {
    KP_CLASS(TBaseMeshObject, TPersistentObject)
    KP_PERSISTENT_INSTANCE(TBaseMeshObject)
public:
    TBaseMeshObject() = default;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& value) { name_ = value; }
    TAffineVectorList& Vertices() { return vertices_; }
    const TAffineVectorList& Vertices() const { return vertices_; }
    // Copies the list into the own one.
    void SetVertices(const TAffineVectorList& value) { vertices_.Assign(&value); }
    TAffineVectorList& Normals() { return normals_; }
    const TAffineVectorList& Normals() const { return normals_; }
    void SetNormals(const TAffineVectorList& value) { normals_.Assign(&value); }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }

    virtual void Clear();
    void ContributeToBarycenter(TAffineVector& sum, int& count) const;
    virtual void Translate(const TAffineVector& delta);
    // A new list of triangles (three points each): a copy of the vertices when their
    // count is a multiple of 3 (normals, when asked, receive a copy of Normals), else
    // empty with nothing else touched.
    virtual std::unique_ptr<TAffineVectorList> ExtractTriangles(TAffineVectorList* texCoords = nullptr,
                                                                TAffineVectorList* normals = nullptr) const;

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    std::string name_;
    TAffineVectorList vertices_;
    TAffineVectorList normals_;
    bool visible_ = true;
};

class TMeshObject : public TBaseMeshObject {
    KP_CLASS(TMeshObject, TBaseMeshObject)
    KP_PERSISTENT_INSTANCE(TMeshObject)
public:
    TMeshObject();
    // Added to the list.
    explicit TMeshObject(TMeshObjectList* owner);
    // Leaves its list.
    ~TMeshObject() override;

    TMeshObjectList* Owner() const { return owner_; }
    // Set by the list; does not add or remove.
    void SetOwner(TMeshObjectList* owner) { owner_ = owner; }

    // One item per vertex; only X and Y are drawn.
    TAffineVectorList& TexCoords() { return texCoords_; }
    const TAffineVectorList& TexCoords() const { return texCoords_; }
    // Texture unit 1.
    TTexPointList& LightMapTexCoords() { return lightMapTexCoords_; }
    const TTexPointList& LightMapTexCoords() const { return lightMapTexCoords_; }
    // RGBA per vertex.
    TVectorList& Colors() { return colors_; }
    const TVectorList& Colors() const { return colors_; }
    TFaceGroups& FaceGroups() { return *faceGroups_; }
    const TFaceGroups& FaceGroups() const { return *faceGroups_; }
    TMeshObjectMode Mode() const { return mode_; }
    void SetMode(TMeshObjectMode value) { mode_ = value; }
    TMeshObjectRenderingOptions RenderingOptions() const { return renderingOptions_; }
    void SetRenderingOptions(TMeshObjectRenderingOptions value) { renderingOptions_ = value; }

    // Extra per-vertex texture coordinates for units 0, 1, 2, ...; asking for list k
    // creates every missing list up to k, empty.
    TVectorList& TexCoordsEx(int index);
    int TexCoordsExCount() const { return static_cast<int>(texCoordsEx_.size()); }
    // Streamed only; both must be >= 0 (asserted).
    int TexCoordSetIndexA() const { return texCoordSetIndexA_; }
    void SetTexCoordSetIndexA(int value);
    int TexCoordSetIndexB() const { return texCoordSetIndexB_; }
    void SetTexCoordSetIndexB(int value);

    void Clear() override;
    std::unique_ptr<TAffineVectorList> ExtractTriangles(TAffineVectorList* texCoords = nullptr,
                                                        TAffineVectorList* normals = nullptr) const override;
    // The triangles of ExtractTriangles one at a time, without building a list.
    virtual void VisitTriangles(const TTriangleVisitor& visit) const;
    virtual int TriangleCount() const;
    // The box of the vertices; infinities when there are none.
    virtual void GetExtents(TAffineVector& min, TAffineVector& max) const;
    // Inside the box of GetExtents, bounds included.
    virtual bool PointInObject(const TAffineVector& point) const;
    virtual void Prepare();
    void PrepareMaterialLibraryCache(const TGLMaterialLibrary* library);
    void DropMaterialLibraryCache();

    // Only in face-group mode with a material library in rci: prepares the library
    // materials the face groups use.
    virtual void PrepareBuildList(TRenderContextInfo& rci);
    virtual void BuildList(TRenderContextInfo& rci);

    // Called by the face groups while drawing. Declared arrays stay declared until
    // DisableOpenGLArrays; an attribute list shorter than the vertex list stays off.
    void DeclareArraysToOpenGL(TRenderContextInfo& rci, bool evenIfAlreadyDeclared);
    void DisableOpenGLArrays(TRenderContextInfo& rci);
    void EnableLightMapArray(TRenderContextInfo& rci);
    void DisableLightMapArray(TRenderContextInfo& rci);
    // The light map in force on unit 1 during a build; -1 after each declaration.
    int LastLightMapIndex() const { return lastLightMapIndex_; }
    void SetLastLightMapIndex(int value) { lastLightMapIndex_ = value; }

    void WriteToFiler(TVirtualWriter& writer) const override;
    // Versions 0 to 2. Options of a size other than 1, a mode out of range and face
    // group indices outside the lists they index raise EInvalidVectorFile.
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    // Which client arrays a declaration switched on, so that disabling mirrors it.
    enum TArrayBit : std::uint32_t {
        abVertex = 1,
        abNormal = 2,
        abColor = 4,
        abTexCoord = 8,
        abLightMap = 16,
        abLocked = 32,
        abExtraFirst = 64, // extra list k: abExtraFirst << k
    };
    // Used for drawing when the list covers every vertex.
    bool CoversVertices(int count) const { return count > 0 && count >= Vertices().Count(); }
    void BuildImmediate(TRenderContextInfo& rci, bool perVertexColor);
    void BuildFaceGroups(TRenderContextInfo& rci);
    void CheckFaceGroupIndices() const;

    TMeshObjectList* owner_ = nullptr;
    TAffineVectorList texCoords_;
    TTexPointList lightMapTexCoords_;
    TVectorList colors_;
    std::unique_ptr<TFaceGroups> faceGroups_;
    TMeshObjectMode mode_ = momTriangles;
    TMeshObjectRenderingOptions renderingOptions_ = 0;
    std::vector<std::unique_ptr<TVectorList>> texCoordsEx_;
    int texCoordSetIndexA_ = 2;
    int texCoordSetIndexB_ = 1;

    // Render-time state of one BuildList.
    bool arraysDeclared_ = false;
    bool lightMapArrayEnabled_ = false;
    int lastLightMapIndex_ = -1;
    std::uint32_t texUnitsMask_ = 0;
    std::uint32_t enabledArrays_ = 0;
};

class TMeshObjectList : public TMeshItemList<TMeshObject, TMeshObjectList> {
    KP_CLASS(TMeshObjectList, TPersistentObjectList)
    KP_PERSISTENT_INSTANCE(TMeshObjectList)
public:
    TMeshObjectList() = default;
    explicit TMeshObjectList(TGLBaseMesh* owner) : owner_(owner) {}

    TGLBaseMesh* Owner() const { return owner_; }
    void SetOwner(TGLBaseMesh* owner) { owner_ = owner; }

    // The visible mesh objects, in order.
    void PrepareBuildList(TRenderContextInfo& rci);
    void BuildList(TRenderContextInfo& rci);
    void Prepare();
    void PrepareMaterialLibraryCache(const TGLMaterialLibrary* library);
    void DropMaterialLibraryCache();
    // For the morphable mesh objects.
    void MorphTo(int index);
    void Lerp(int index1, int index2, float factor);
    // The smallest target count among the morphable mesh objects; 0 without any.
    int MorphTargetCount() const;
    // Drops the material cache, then frees the mesh objects.
    void Clear();
    // From (1e30, 1e30, 1e30) and (-1e30, -1e30, -1e30), which an empty list returns.
    void GetExtents(TAffineVector& min, TAffineVector& max) const;
    void Translate(const TAffineVector& delta);
    // Every mesh object's triangles in list order; the optional lists receive the
    // concatenated texture coordinates and normals.
    std::unique_ptr<TAffineVectorList> ExtractTriangles(TAffineVectorList* texCoords = nullptr,
                                                        TAffineVectorList* normals = nullptr) const;
    void VisitTriangles(const TTriangleVisitor& visit) const;
    int TriangleCount() const;

    // Then every skeleton mesh object makes its bone-space copies.
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TGLBaseMesh* owner_ = nullptr;
};

class TMeshMorphTarget : public TBaseMeshObject {
    KP_CLASS(TMeshMorphTarget, TBaseMeshObject)
    KP_PERSISTENT_INSTANCE(TMeshMorphTarget)
public:
    TMeshMorphTarget() = default;
    explicit TMeshMorphTarget(TMeshMorphTargetList* owner);
    ~TMeshMorphTarget() override;

    TMeshMorphTargetList* Owner() const { return owner_; }
    void SetOwner(TMeshMorphTargetList* owner) { owner_ = owner; }

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    TMeshMorphTargetList* owner_ = nullptr;
};

class TMorphableMeshObject;

class TMeshMorphTargetList : public TMeshItemList<TMeshMorphTarget, TMeshMorphTargetList> {
    KP_CLASS(TMeshMorphTargetList, TPersistentObjectList)
    KP_PERSISTENT_INSTANCE(TMeshMorphTargetList)
public:
    TMeshMorphTargetList() = default;
    explicit TMeshMorphTargetList(TMorphableMeshObject* owner) : owner_(owner) {}

    TMorphableMeshObject* Owner() const { return owner_; }
    void Translate(const TAffineVector& delta);

private:
    TMorphableMeshObject* owner_ = nullptr;
};

class TMorphableMeshObject : public TMeshObject {
    KP_CLASS(TMorphableMeshObject, TMeshObject)
    KP_PERSISTENT_INSTANCE(TMorphableMeshObject)
public:
    TMorphableMeshObject();
    explicit TMorphableMeshObject(TMeshObjectList* owner);

    TMeshMorphTargetList& MorphTargets() { return *morphTargets_; }
    const TMeshMorphTargetList& MorphTargets() const { return *morphTargets_; }

    // Copies the target's vertices and normals (those it has). Index 0 without targets
    // does nothing; otherwise the index must be below the target count (asserted).
    void MorphTo(int index);
    // Factor 0 and 1 copy a target; in between the vertices and normals are
    // interpolated, the normals renormalised.
    void Lerp(int index1, int index2, float factor);

    void Clear() override;
    void Translate(const TAffineVector& delta) override;
    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

private:
    std::unique_ptr<TMeshMorphTargetList> morphTargets_;
};
