#include "scene/base/Silhouette.h"

#include "platform/core/Assert.h"
#include "scene/base/Planes.h"
#include "scene/base/VectorGeometry.h"

void TGLSilhouette::Flush()
{
    Vertices.Flush();
    Indices.Flush();
    CapIndices.Flush();
}

void TConnectivity::Clear()
{
    edgeVertices_.Clear();
    edgeFaces_.Clear();
    faceVisible_.Clear();
    faceVertexIndex_.Clear();
    faceNormal_.Clear();
    vertexMemory_.Clear();
    ownVertices_.Clear();
}

int TConnectivity::AddFace(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3)
{
    const int a = vertices_->IndexOfOrAdd(p1);
    const int b = vertices_->IndexOfOrAdd(p2);
    const int c = vertices_->IndexOfOrAdd(p3);
    return AddIndexedFace(a, b, c);
}

void TConnectivity::AddQuad(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3,
                            const TAffineVector& p4)
{
    const int i1 = vertices_->IndexOfOrAdd(p1);
    const int i2 = vertices_->IndexOfOrAdd(p2);
    const int i3 = vertices_->IndexOfOrAdd(p3);
    const int i4 = vertices_->IndexOfOrAdd(p4);
    AddIndexedFace(i1, i2, i3);
    AddIndexedFace(i3, i4, i1);
}

int TConnectivity::AddIndexedFace(int a, int b, int c)
{
    const int n = vertices_->Count();
    KP_ASSERT(a >= 0 && a < n && b >= 0 && b < n && c >= 0 && c < n);
    faceVertexIndex_.AddTriple(a, b, c);
    if (precomputeFaceNormal_) {
        faceNormal_.Add(PlaneNormalFromPoints((*vertices_)[a], (*vertices_)[b], (*vertices_)[c]));
    }
    const int face = faceVisible_.Add(0);
    AddIndexedEdge(a, b, face);
    AddIndexedEdge(b, c, face);
    AddIndexedEdge(c, a, face);
    return face;
}

int TConnectivity::AddIndexedEdge(int a, int b, int face)
{
    const std::int32_t* ev = edgeVertices_.List();
    const int edges = EdgeCount();
    for (int e = 0; e < edges; ++e) {
        const std::int32_t v0 = ev[2 * e];
        const std::int32_t v1 = ev[2 * e + 1];
        if ((v0 == a && v1 == b) || (v0 == b && v1 == a)) {
            edgeFaces_.Put(2 * e + 1, face);
            return e;
        }
    }
    edgeVertices_.AddPair(a, b);
    edgeFaces_.AddPair(face, -1);
    return edges;
}

int TConnectivity::ReuseOrFindVertexID(int vertex, TGLSilhouette& silhouette)
{
    if (vertex >= vertexMemory_.Count()) {
        const int old = vertexMemory_.Count();
        vertexMemory_.SetCount(vertex + 1);
        for (int i = old; i <= vertex; ++i) {
            vertexMemory_.Put(i, -1);
        }
    }
    const std::int32_t known = vertexMemory_.Get(vertex);
    if (known != -1) {
        return known;
    }
    const int index = silhouette.Vertices.AddAffine((*vertices_)[vertex], 1);
    vertexMemory_.Put(vertex, index);
    return index;
}

void TConnectivity::CreateSilhouette(const TGLSilhouetteParameters& params, TGLSilhouette*& silhouette,
                                     bool addToSilhouette)
{
    if (!silhouette) {
        silhouette = new TGLSilhouette();
    } else if (!addToSilhouette) {
        silhouette->Flush();
    }
    TGLSilhouette& out = *silhouette;
    vertexMemory_.Flush();

    const std::int32_t* fv = faceVertexIndex_.List();
    std::uint8_t* visible = faceVisible_.List();
    for (int f = 0; f < FaceCount(); ++f) {
        const int a = fv[3 * f];
        const int b = fv[3 * f + 1];
        const int c = fv[3 * f + 2];
        const TAffineVector normal = precomputeFaceNormal_
                                         ? faceNormal_[f]
                                         : PlaneNormalFromPoints((*vertices_)[a], (*vertices_)[b], (*vertices_)[c]);
        const bool faceVisible = DistanceAlongNormal(params.Position, (*vertices_)[a], normal) >= 0;
        visible[f] = faceVisible ? 1 : 0;
        if (!faceVisible && params.Capping) {
            const int ic = ReuseOrFindVertexID(c, out);
            const int ib = ReuseOrFindVertexID(b, out);
            const int ia = ReuseOrFindVertexID(a, out);
            out.CapIndices.AddTriple(ia, ib, ic);
        }
    }

    const std::int32_t* ev = edgeVertices_.List();
    const std::int32_t* ef = edgeFaces_.List();
    for (int e = 0; e < EdgeCount(); ++e) {
        const int a = ev[2 * e];
        const int b = ev[2 * e + 1];
        const int f0 = ef[2 * e];
        const int f1 = ef[2 * e + 1];
        if (f1 != -1 && visible[f0] == visible[f1]) {
            continue;
        }
        if (!visible[f0]) {
            const int ia = ReuseOrFindVertexID(a, out);
            const int ib = ReuseOrFindVertexID(b, out);
            out.Indices.AddPair(ia, ib);
        } else if (f1 != -1) {
            const int ia = ReuseOrFindVertexID(a, out);
            const int ib = ReuseOrFindVertexID(b, out);
            out.Indices.AddPair(ib, ia);
        }
    }
}
