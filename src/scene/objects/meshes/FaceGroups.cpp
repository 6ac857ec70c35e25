#include "scene/objects/meshes/FaceGroups.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/materials/Texture.h"
#include "scene/objects/meshes/MeshObjects.h"
#include "scene/objects/meshes/MeshStrips.h"

#include <algorithm>
#include <string>

namespace {

// Items a triangle extraction of n indices yields.
int ExtractedItemCount(TFaceGroupMeshMode mode, int n)
{
    switch (mode) {
    case fgmmTriangles:
    case fgmmFlatTriangles:
        return (n / 3) * 3;
    case fgmmTriangleStrip:
    case fgmmTriangleFan:
        return std::max(n - 2, 0) * 3;
    case fgmmQuads:
        return (n / 4) * 6;
    }
    KP_ASSERT(false);
    return 0;
}

// The first index outside 0 .. limit - 1, as a fault text; empty when all are inside.
std::string IndexOutside(const TIntegerList& indices, int limit, const char* what)
{
    const std::int32_t* items = indices.List();
    for (int i = 0; i < indices.Count(); ++i) {
        if (items[i] < 0 || items[i] >= limit) {
            return std::string(what) + " index " + std::to_string(items[i]) + " outside a list of " +
                   std::to_string(limit);
        }
    }
    return {};
}

} // namespace

GLenum FaceGroupPrimitive(TFaceGroupMeshMode mode)
{
    static constexpr GLenum primitives[FaceGroupMeshModeCount] = {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLES,
                                                                  GL_TRIANGLE_FAN, GL_QUADS};
    KP_ASSERT(mode < FaceGroupMeshModeCount);
    return primitives[mode];
}

// ---- TFaceGroup ----

TFaceGroup::TFaceGroup(TFaceGroups* owner)
{
    if (owner) {
        owner->AddItem(this);
    }
}

TFaceGroup::~TFaceGroup()
{
    if (owner_) {
        owner_->Remove(this);
    }
}

TMeshObject* TFaceGroup::MeshObject() const { return owner_ ? owner_->Owner() : nullptr; }

void TFaceGroup::PrepareMaterialLibraryCache(const TGLMaterialLibrary* library)
{
    materialCache_ = !materialName_.empty() && library ? LibMaterialByName(library, materialName_) : nullptr;
}

void TFaceGroup::AttachLightmap(TRenderContextInfo& rci)
{
    if (!GLExt.ARB_multitexture || rci.ignoreMaterials || !rci.lightmapLibrary) {
        return;
    }
    TMeshObject* mesh = MeshObject();
    if (mesh->LastLightMapIndex() == lightMapIndex_) {
        return;
    }
    mesh->SetLastLightMapIndex(lightMapIndex_);
    const TGLLibMaterials& maps = *rci.lightmapLibrary->Materials();
    if (lightMapIndex_ >= 0 && lightMapIndex_ < maps.Count()) {
        SetupLightmapTexture(*maps.Items(lightMapIndex_)->Material()->Texture(), rci);
        mesh->EnableLightMapArray(rci);
    } else {
        mesh->DisableLightMapArray(rci);
    }
}

void TFaceGroup::SetupLightmapTexture(TGLTexture& texture, TRenderContextInfo& rci)
{
    KP_ASSERT(texture.Image()->NativeTextureTarget() == GL_TEXTURE_2D);
    GL.glActiveTextureARB(GL_TEXTURE1_ARB);
    if (rci.GLStates) {
        rci.GLStates->SetTextureBinding(1, GL_TEXTURE_2D, texture.Handle());
    } else {
        GL.glBindTexture(GL_TEXTURE_2D, texture.Handle());
    }
    GL.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    GL.glActiveTextureARB(GL_TEXTURE0_ARB);
}

void TFaceGroup::VisitTriangles(const TTriangleVisitor& visit) const
{
    TAffineVectorList list;
    AddToTriangles(list, nullptr, nullptr);
    const TAffineVector* p = list.List();
    for (int i = 0; i + 2 < list.Count(); i += 3) {
        visit(p[i], p[i + 1], p[i + 2]);
    }
}

// ---- TFGVertexIndexList ----

void TFGVertexIndexList::BuildList(TRenderContextInfo& rci)
{
    if (vertexIndices_.Count() == 0) {
        return;
    }
    TMeshObject* mesh = MeshObject();
    mesh->DeclareArraysToOpenGL(rci, false);
    AttachLightmap(rci);
    GL.glDrawElements(FaceGroupPrimitive(mode_), vertexIndices_.Count(), GL_UNSIGNED_INT, vertexIndices_.List());
}

int TFGVertexIndexList::TriangleCount() const { return ExtractedItemCount(mode_, vertexIndices_.Count()) / 3; }

void TFGVertexIndexList::AddToList(const TAffineVectorList& source, TAffineVectorList* destination,
                                   const TIntegerList& indices) const
{
    const int n = indices.Count();
    if (!destination || n < 3) {
        return;
    }
    const int items = ExtractedItemCount(mode_, n);
    if (source.Count() == 0) {
        destination->AddZeroItems(items);
        return;
    }
    if (mode_ == fgmmTriangleStrip) {
        ConvertIndexedStripToList(source, indices, *destination);
        return;
    }
    const int first = AppendUnfilled(*destination, items);
    TAffineVector* out = destination->List() + first;
    const TAffineVector* points = source.List();
    const std::int32_t* index = indices.List();
    VisitTrianglePositions(mode_, n, [&](int a, int b, int c) {
        *out++ = points[index[a]];
        *out++ = points[index[b]];
        *out++ = points[index[c]];
    });
}

void TFGVertexIndexList::AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords,
                                        TAffineVectorList* normals) const
{
    const TMeshObject& mesh = *MeshObject();
    AddToList(mesh.Vertices(), &list, vertexIndices_);
    AddToList(mesh.TexCoords(), texCoords, vertexIndices_);
    AddToList(mesh.Normals(), normals, vertexIndices_);
}

void TFGVertexIndexList::VisitTriangles(const TTriangleVisitor& visit) const
{
    const TAffineVector* points = MeshObject()->Vertices().List();
    const std::int32_t* index = vertexIndices_.List();
    VisitTrianglePositions(mode_, vertexIndices_.Count(),
                           [&](int a, int b, int c) { visit(points[index[a]], points[index[b]], points[index[c]]); });
}

std::string TFGVertexIndexList::IndexFault(const TMeshObject& mesh) const
{
    return IndexOutside(vertexIndices_, mesh.Vertices().Count(), "vertex");
}

// ---- TFGVertexNormalTexIndexList ----

void TFGVertexNormalTexIndexList::BuildList(TRenderContextInfo& /*rci*/)
{
    const int n = VertexIndices().Count();
    KP_ASSERT(normalIndices_.Count() == 0 || normalIndices_.Count() >= n);
    KP_ASSERT(texCoordIndices_.Count() == 0 || texCoordIndices_.Count() >= n);
    const TMeshObject& mesh = *MeshObject();
    const TAffineVector* vertices = mesh.Vertices().List();
    const TAffineVector* normals = mesh.Normals().Count() > 0 ? mesh.Normals().List() : nullptr;
    const TAffineVector* texCoords = mesh.TexCoords().Count() > 0 ? mesh.TexCoords().List() : nullptr;
    const std::int32_t* v = VertexIndices().List();
    const std::int32_t* nIndex = normalIndices_.Count() > 0 ? normalIndices_.List() : v;
    const std::int32_t* tIndex = texCoordIndices_.Count() > 0 ? texCoordIndices_.List() : v;
    auto send = [&](int i) {
        if (normals) {
            GL.glNormal3fv(&normals[nIndex[i]].X);
        }
        if (texCoords) {
            TexCoordRouter.TexCoord2fv(&texCoords[tIndex[i]].X);
        }
        GL.glVertex3fv(&vertices[v[i]].X);
    };
    if (Mode() == fgmmQuads) {
        GL.glBegin(GL_TRIANGLES);
        VisitTrianglePositions(fgmmQuads, n, [&](int a, int b, int c) { send(a), send(b), send(c); });
    } else {
        GL.glBegin(FaceGroupPrimitive(Mode()));
        for (int i = 0; i < n; ++i) {
            send(i);
        }
    }
    GL.glEnd();
}

void TFGVertexNormalTexIndexList::AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords,
                                                 TAffineVectorList* normals) const
{
    const TMeshObject& mesh = *MeshObject();
    AddToList(mesh.Vertices(), &list, VertexIndices());
    AddToList(mesh.TexCoords(), texCoords, texCoordIndices_.Count() > 0 ? texCoordIndices_ : VertexIndices());
    AddToList(mesh.Normals(), normals, normalIndices_.Count() > 0 ? normalIndices_ : VertexIndices());
}

std::string TFGVertexNormalTexIndexList::IndexFault(const TMeshObject& mesh) const
{
    std::string fault = TFGVertexIndexList::IndexFault(mesh);
    const int n = VertexIndices().Count();
    if (fault.empty() && normalIndices_.Count() > 0 && normalIndices_.Count() < n) {
        fault = "fewer normal indices than vertex indices";
    }
    if (fault.empty() && texCoordIndices_.Count() > 0 && texCoordIndices_.Count() < n) {
        fault = "fewer texture-coordinate indices than vertex indices";
    }
    if (fault.empty() && mesh.Normals().Count() > 0) {
        fault = IndexOutside(normalIndices_.Count() > 0 ? normalIndices_ : VertexIndices(), mesh.Normals().Count(),
                             "normal");
    }
    if (fault.empty() && mesh.TexCoords().Count() > 0) {
        fault = IndexOutside(texCoordIndices_.Count() > 0 ? texCoordIndices_ : VertexIndices(),
                             mesh.TexCoords().Count(), "texture-coordinate");
    }
    return fault;
}

// ---- TFGIndexTexCoordList ----

void TFGIndexTexCoordList::BuildList(TRenderContextInfo& /*rci*/)
{
    const int n = VertexIndices().Count();
    KP_ASSERT(texCoords_.Count() == n);
    const TMeshObject& mesh = *MeshObject();
    const int vertexCount = mesh.Vertices().Count();
    const TAffineVector* vertices = mesh.Vertices().List();
    const TAffineVector* normals = mesh.Normals().Count() == vertexCount ? mesh.Normals().List() : nullptr;
    const TVector* colors = mesh.Colors().Count() == vertexCount ? mesh.Colors().List() : nullptr;
    const std::int32_t* index = VertexIndices().List();
    const TAffineVector* texCoords = texCoords_.List();
    GL.glBegin(FaceGroupPrimitive(Mode()));
    for (int i = 0; i < n; ++i) {
        const std::int32_t v = index[i];
        TexCoordRouter.TexCoord2fv(&texCoords[i].X);
        if (colors) {
            GL.glColor4fv(&colors[v].X);
        }
        if (normals) {
            GL.glNormal3fv(&normals[v].X);
        }
        GL.glVertex3fv(&vertices[v].X);
    }
    GL.glEnd();
}

void TFGIndexTexCoordList::AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords,
                                          TAffineVectorList* normals) const
{
    const TMeshObject& mesh = *MeshObject();
    AddToList(mesh.Vertices(), &list, VertexIndices());
    AddToList(mesh.Normals(), normals, VertexIndices());
    const int n = VertexIndices().Count();
    if (!texCoords || n < 3) {
        return;
    }
    if (Mode() == fgmmTriangleStrip) {
        ConvertStripToList(texCoords_, *texCoords);
        return;
    }
    const int first = AppendUnfilled(*texCoords, ExtractedItemCount(Mode(), n));
    TAffineVector* out = texCoords->List() + first;
    const TAffineVector* items = texCoords_.List();
    VisitTrianglePositions(Mode(), n, [&](int a, int b, int c) {
        *out++ = items[a];
        *out++ = items[b];
        *out++ = items[c];
    });
}

std::string TFGIndexTexCoordList::IndexFault(const TMeshObject& mesh) const
{
    std::string fault = TFGVertexIndexList::IndexFault(mesh);
    if (fault.empty() && texCoords_.Count() != VertexIndices().Count()) {
        fault = std::to_string(texCoords_.Count()) + " texture coordinates for " +
                std::to_string(VertexIndices().Count()) + " indices";
    }
    return fault;
}

// ---- TFaceGroups ----

void TFaceGroups::PrepareMaterialLibraryCache(const TGLMaterialLibrary* library)
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->PrepareMaterialLibraryCache(library);
    }
}

void TFaceGroups::DropMaterialLibraryCache()
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->DropMaterialLibraryCache();
    }
}

void TFaceGroups::AddToTriangles(TAffineVectorList& list, TAffineVectorList* texCoords,
                                 TAffineVectorList* normals) const
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->AddToTriangles(list, texCoords, normals);
    }
}

void TFaceGroups::VisitTriangles(const TTriangleVisitor& visit) const
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->VisitTriangles(visit);
    }
}

// ---- Streams ----

void TFaceGroup::WriteToFiler(TVirtualWriter& writer) const
{
    TPersistentObject::WriteToFiler(writer);
    const bool withLightMap = lightMapIndex_ >= 0;
    writer.WriteInteger(withLightMap ? 1 : 0);
    writer.WriteString(materialName_);
    if (withLightMap) {
        writer.WriteInteger(lightMapIndex_);
    }
}

void TFaceGroup::ReadFromFiler(TVirtualReader& reader)
{
    TPersistentObject::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version < 0 || version > 1) {
        RaiseFilerException(version);
    }
    materialName_ = reader.ReadString();
    lightMapIndex_ = version == 1 ? reader.ReadInteger() : -1;
}

void TFGVertexIndexList::WriteToFiler(TVirtualWriter& writer) const
{
    TFaceGroup::WriteToFiler(writer);
    writer.WriteInteger(0);
    vertexIndices_.WriteToFiler(writer);
    writer.WriteInteger(mode_);
}

void TFGVertexIndexList::ReadFromFiler(TVirtualReader& reader)
{
    TFaceGroup::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
    vertexIndices_.ReadFromFiler(reader);
    const int mode = reader.ReadInteger();
    if (mode < 0 || mode >= FaceGroupMeshModeCount) {
        throw EInvalidVectorFile("face group has the unknown mode " + std::to_string(mode));
    }
    mode_ = static_cast<TFaceGroupMeshMode>(mode);
}

void TFGVertexNormalTexIndexList::WriteToFiler(TVirtualWriter& writer) const
{
    TFGVertexIndexList::WriteToFiler(writer);
    writer.WriteInteger(0);
    normalIndices_.WriteToFiler(writer);
    texCoordIndices_.WriteToFiler(writer);
}

void TFGVertexNormalTexIndexList::ReadFromFiler(TVirtualReader& reader)
{
    TFGVertexIndexList::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
    normalIndices_.ReadFromFiler(reader);
    texCoordIndices_.ReadFromFiler(reader);
}

void TFGIndexTexCoordList::WriteToFiler(TVirtualWriter& writer) const
{
    TFGVertexIndexList::WriteToFiler(writer);
    writer.WriteInteger(0);
    texCoords_.WriteToFiler(writer);
}

void TFGIndexTexCoordList::ReadFromFiler(TVirtualReader& reader)
{
    TFGVertexIndexList::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
    texCoords_.ReadFromFiler(reader);
}
