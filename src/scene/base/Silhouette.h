#pragma once
// The outline of a shape seen from a point: the edges where a face turned towards the
// point meets one turned away, plus optionally the faces turned away (caps); together
// they bound a shadow volume. TConnectivity records a triangle mesh with its shared
// edges and answers any number of silhouette requests.

#include "scene/base/ScalarLists.h"
#include "scene/base/VectorLists.h"

#include <cstdint>

enum class TGLSilhouetteStyle : std::uint8_t { ssFromPoint, ssFromDirection };

struct TGLSilhouetteParameters {
    TAffineVector Position;
    TAffineVector Direction;
    TGLSilhouetteStyle Style;
    bool Capping;
};

class TGLSilhouette : public TObject {
    KP_CLASS(TGLSilhouette, TObject)
public:
    // Points with W = 1.
    TVectorList Vertices;
    // Pairs of vertex indices, one pair per silhouette edge.
    TIntegerList Indices;
    // Triples of vertex indices, one per cap triangle.
    TIntegerList CapIndices;

    // Empties the lists, keeping their memory.
    void Flush();
};

class TBaseConnectivity : public TObject {
    KP_CLASS(TBaseConnectivity, TObject)
public:
    explicit TBaseConnectivity(bool precomputeFaceNormal) : precomputeFaceNormal_(precomputeFaceNormal) {}

    bool PrecomputeFaceNormal() const { return precomputeFaceNormal_; }
    virtual int EdgeCount() const { return 0; }
    virtual int FaceCount() const { return 0; }
    // With silhouette nullptr a new one is made and handed back (the caller owns it);
    // otherwise it is flushed first unless addToSilhouette.
    virtual void CreateSilhouette(const TGLSilhouetteParameters& /*params*/, TGLSilhouette*& /*silhouette*/,
                                  bool /*addToSilhouette*/)
    {
    }

protected:
    bool precomputeFaceNormal_;
};

class TConnectivity : public TBaseConnectivity {
    KP_CLASS(TConnectivity, TBaseConnectivity)
public:
    explicit TConnectivity(bool precomputeFaceNormal = false) : TBaseConnectivity(precomputeFaceNormal) {}
    ~TConnectivity() override { Clear(); }

    int EdgeCount() const override { return edgeVertices_.Count() / 2; }
    int FaceCount() const override { return faceVisible_.Count(); }
    int VertexCount() const { return vertices_->Count(); }
    const TAffineVectorList& Vertices() const { return *vertices_; }
    // False while the vertices are another object's list (ShareVertices).
    bool OwnsVertices() const { return vertices_ == &ownVertices_; }

    // Empties and releases every list; a shared vertex list is left as it is.
    virtual void Clear();

    // Positions are merged with bit-equal ones already present.
    int AddFace(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3);
    // The triangles (p1, p2, p3) and (p3, p4, p1).
    void AddQuad(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3,
                 const TAffineVector& p4);
    // Indices into the vertex list; returns the face index.
    int AddIndexedFace(int a, int b, int c);
    // Shares an existing edge (either direction) or records a new one; returns its index.
    int AddIndexedEdge(int a, int b, int face);

    void CreateSilhouette(const TGLSilhouetteParameters& params, TGLSilhouette*& silhouette,
                          bool addToSilhouette) override;

protected:
    // Faces index into `list` from now on (nullptr: the own list again); the list
    // must outlive this object or the next call.
    void ShareVertices(TAffineVectorList* list) { vertices_ = list ? list : &ownVertices_; }

private:
    int ReuseOrFindVertexID(int vertex, TGLSilhouette& silhouette);

    TIntegerList edgeVertices_;
    TIntegerList edgeFaces_;
    TByteList faceVisible_;
    TIntegerList faceVertexIndex_;
    TAffineVectorList faceNormal_;
    TIntegerList vertexMemory_;
    TAffineVectorList ownVertices_;
    TAffineVectorList* vertices_ = &ownVertices_;
};
