#include "scene/objects/meshes/SimpleMesh.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/base/OpenGLBinding.h"

namespace {

constexpr GLsizei RecordStride = sizeof(TVertexData);

GLenum Primitive(TMeshMode mode)
{
    switch (mode) {
    case mmTriangleStrip:
        return GL_TRIANGLE_STRIP;
    case mmTriangleFan:
        return GL_TRIANGLE_FAN;
    case mmTriangles:
        return GL_TRIANGLES;
    case mmQuadStrip:
        return GL_QUAD_STRIP;
    case mmQuads:
        return GL_QUADS;
    case mmPolygon:
        return GL_POLYGON;
    }
    KP_ASSERT(false);
    return GL_TRIANGLES;
}

} // namespace

TGLMesh::TGLMesh(TComponent* owner) : TGLWorldObject(owner), vertices_(std::make_unique<TVertexList>(this))
{
    const TAffineVector normal{0, 0, 1};
    const TVector color{0, 0, 0, 0};
    const TTexPoint texPoint{0, 0};
    vertices_->AddVertex({1, 0, 0}, normal, color, texPoint);
    vertices_->AddVertex({0, 1, 0}, normal, color, texPoint);
    vertices_->AddVertex({0, 0, 1}, normal, color, texPoint);
}

TGLMesh::~TGLMesh() = default;

void TGLMesh::NotifyChange(TObject* sender)
{
    if (vertices_ && sender == vertices_.get()) {
        StructureChanged();
        return;
    }
    TGLWorldObject::NotifyChange(sender);
}

void TGLMesh::SetMode(TMeshMode value)
{
    if (mode_ != value) {
        mode_ = value;
        StructureChanged();
    }
}

void TGLMesh::SetVertexMode(TVertexMode value)
{
    if (vertexMode_ != value) {
        vertexMode_ = value;
        StructureChanged();
    }
}

void TGLMesh::Assign(const TPersistent* source)
{
    if (const auto* mesh = ObjectCast<TGLMesh>(source)) {
        if (mesh != this) {
            vertices_->Assign(mesh->vertices_.get());
            mode_ = mesh->mode_;
            vertexMode_ = mesh->vertexMode_;
            StructureChanged();
        }
        return;
    }
    TGLWorldObject::Assign(source);
}

void TGLMesh::BuildList(TRenderContextInfo& rci)
{
    TVertexList& list = *vertices_;
    if (list.Count() == 0) {
        return;
    }
    const bool direct = HasStyle(osNoDisplayList);
    if (direct) {
        list.EnterLockSection();
    }
    GL.glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_CURRENT_BIT);
    // glInterleavedArrays switches client arrays on outside any display list; leaving
    // them on would point later draws at these records.
    GL.glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    switch (vertexMode_) {
    case vmV:
        GL.glInterleavedArrays(GL_V3F, RecordStride, list.FirstVertex());
        break;
    case vmVN:
        GL.glInterleavedArrays(GL_N3F_V3F, RecordStride, list.FirstNormal());
        break;
    case vmVNC:
        GL.glInterleavedArrays(GL_C4F_N3F_V3F, RecordStride, list.FirstColor());
        break;
    case vmVNCT:
    case vmVNT:
        GL.glInterleavedArrays(GL_T2F_C4F_N3F_V3F, 0, list.Values());
        break;
    case vmVT:
        // No interleaved format matches texture points and positions 48 bytes apart.
        GL.glDisableClientState(GL_NORMAL_ARRAY);
        GL.glDisableClientState(GL_COLOR_ARRAY);
        GL.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        GL.glTexCoordPointer(2, GL_FLOAT, RecordStride, list.FirstTexPoint());
        GL.glEnableClientState(GL_VERTEX_ARRAY);
        GL.glVertexPointer(3, GL_FLOAT, RecordStride, list.FirstVertex());
        break;
    default:
        KP_ASSERT_MSG(false, "Interleaved Array format not supported yet. Sorry.");
    }
    if (vertexMode_ == vmVNC || vertexMode_ == vmVNCT) {
        GL.glEnable(GL_COLOR_MATERIAL);
        GL.glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        if (rci.GLStates) {
            rci.GLStates->ResetMaterials();
        }
    }
    GL.glDrawArrays(Primitive(mode_), 0, list.Count());
    GL.glPopClientAttrib();
    GL.glPopAttrib();
    if (direct) {
        list.LeaveLockSection();
    }
}
