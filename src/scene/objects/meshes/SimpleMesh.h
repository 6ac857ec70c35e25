#pragma once
// A light scene object that draws one vertex array with one primitive type from
// interleaved 48-byte records. Drawn without a display list it can keep its records
// in the driver's fast vertex memory (TVertexList::SetLocked).

#include "scene/graph/CustomSceneObject.h"
#include "scene/objects/meshes/VertexList.h"

#include <cstdint>
#include <memory>

enum TMeshMode : std::uint8_t { mmTriangleStrip, mmTriangleFan, mmTriangles, mmQuadStrip, mmQuads, mmPolygon };
// Which parts of the records are sent.
enum TVertexMode : std::uint8_t { vmV, vmVN, vmVNC, vmVNCT, vmVNT, vmVT };

class TGLMesh : public TGLWorldObject {
    KP_CLASS(TGLMesh, TGLWorldObject)
public:
    // Three vertices (1, 0, 0), (0, 1, 0), (0, 0, 1) with normal +Z: one triangle.
    explicit TGLMesh(TComponent* owner = nullptr);
    ~TGLMesh() override;

    // Every change rebuilds the display list.
    TVertexList& Vertices() { return *vertices_; }
    const TVertexList& Vertices() const { return *vertices_; }
    TMeshMode Mode() const { return mode_; }
    void SetMode(TMeshMode value);
    TVertexMode VertexMode() const { return vertexMode_; }
    void SetVertexMode(TVertexMode value);

    // From a mesh: the vertices and both modes, nothing else.
    void Assign(const TPersistent* source) override;
    // Colour material only when the colours are sent as such (vmVNC, vmVNCT); the
    // client array state is restored afterwards.
    void BuildList(TRenderContextInfo& rci) override;
    void NotifyChange(TObject* sender) override;

private:
    std::unique_ptr<TVertexList> vertices_;
    TMeshMode mode_ = mmTriangleStrip;
    TVertexMode vertexMode_ = vmVNCT;
};
