// The two tessellations of a multipolygon: contours to a clean outline (boundary only)
// and the outline to filled triangles. Each keeps everything its callbacks need in
// the polygon data it hands GLU, so nothing is shared between tessellations.

#include "scene/rendering/TessellatorCallbacks.h"
#include "scene/base/CubicSpline.h"
#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/MultiPolygon.h"
#include "scene/objects/shapes/VectorPool.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Polygon data with the pool that holds the vertices GLU is given and creates.
struct TPoolTessData : TTessPolygonData {
    explicit TPoolTessData(int entriesPerBlock) : pool(entriesPerBlock, sizeof(TAffineVector)) {}
    TVectorPool pool;
};

// The outline being built, loop by loop.
struct TOutlineTessData : TPoolTessData {
    TOutlineTessData(int entriesPerBlock, TPolygonList& list) : TPoolTessData(entriesPerBlock), outline(list) {}
    TPolygonList& outline;
};

template <class T>
T& DataOf(void* polygonData)
{
    return *static_cast<T*>(static_cast<TTessPolygonData*>(polygonData));
}

void APIENTRY PoolCombine(GLdouble coords[3], void* /*vertexData*/[4], GLfloat /*weight*/[4], void** outData,
                          void* polygonData)
{
    auto* v = static_cast<TAffineVector*>(DataOf<TPoolTessData>(polygonData).pool.GetNewVector());
    *v = {static_cast<float>(coords[0]), static_cast<float>(coords[1]), static_cast<float>(coords[2])};
    *outData = v;
}

void APIENTRY OutlineBegin(GLenum /*mode*/, void* polygonData)
{
    DataOf<TOutlineTessData>(polygonData).outline.Add();
}

void APIENTRY OutlineVertex(void* vertexData, void* polygonData)
{
    DataOf<TOutlineTessData>(polygonData).outline.Current()->Add(*static_cast<const TAffineVector*>(vertexData));
}

// The points a contour stands for: its nodes, or samples of the spline through them.
void ContourPoints(const TGLContour& contour, std::vector<TAffineVector>& points)
{
    const TGLNodes& nodes = contour.Nodes();
    const int k = contour.SplineMode() != lsmLines ? contour.Division() : 0;
    points.clear();
    if (k < 2) {
        points.reserve(static_cast<std::size_t>(nodes.Count()));
        for (int i = 0; i < nodes.Count(); ++i) {
            points.push_back(nodes[i]->GetAsAffineVector());
        }
        return;
    }
    const std::unique_ptr<TCubicSpline> spline = nodes.MakeSpline();
    const int last = (nodes.Count() - 1) * k;
    points.reserve(static_cast<std::size_t>(last + 1));
    for (int m = 0; m <= last; ++m) {
        points.push_back(spline->SplineAffineVector(static_cast<float>(m) / k));
    }
}

// Twice the signed area of the closed loop about the normal: positive when it runs
// counter-clockwise seen from the side the normal points to.
double SignedArea(const std::vector<TAffineVector>& points, const TAffineVector& normal)
{
    double x = 0, y = 0, z = 0;
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const TAffineVector& a = points[i];
        const TAffineVector& b = points[(i + 1) % n];
        x += double(a.Y) * b.Z - double(a.Z) * b.Y;
        y += double(a.Z) * b.X - double(a.X) * b.Z;
        z += double(a.X) * b.Y - double(a.Y) * b.X;
    }
    return x * normal.X + y * normal.Y + z * normal.Z;
}

void IssueVertex(GLUtesselator* tess, TVectorPool& pool, const TAffineVector& v)
{
    auto* entry = static_cast<TAffineVector*>(pool.GetNewVector());
    *entry = v;
    GLdouble coords[3];
    AffineVectorToDoubles(coords, v);
    GL.gluTessVertex(tess, coords, entry);
}

} // namespace

void TMultiPolygonBase::MakeOutline(TPolygonList& outline) const
{
    outline.FreeAndClear();
    const TGLContours& contours = Contours();
    if (contours.Count() == 0 || contours[0]->Nodes().Count() <= 2) {
        return;
    }
    int nodeCount = 0;
    for (int i = 0; i < contours.Count(); ++i) {
        nodeCount += contours[i]->Nodes().Count();
    }
    TOutlineTessData data(nodeCount, outline);
    const TGLUTessellatorScope scope;
    GLUtesselator* tess = scope.Get();
    scope.SetCallback(GLU_TESS_BEGIN_DATA, &OutlineBegin);
    scope.SetCallback(GLU_TESS_VERTEX_DATA, &OutlineVertex);
    scope.SetCallback(GLU_TESS_ERROR_DATA, &TessKeepFirstError);
    scope.SetCallback(GLU_TESS_COMBINE_DATA, &PoolCombine);
    GL.gluTessNormal(tess, Normal().X, Normal().Y, Normal().Z);
    GL.gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);
    GL.gluTessProperty(tess, GLU_TESS_BOUNDARY_ONLY, GL_TRUE);

    std::vector<TAffineVector> points;
    GL.gluTessBeginPolygon(tess, static_cast<TTessPolygonData*>(&data));
    for (int i = 0; i < contours.Count(); ++i) {
        ContourPoints(*contours[i], points);
        // Under the positive winding rule a hole must run against the outer boundary.
        const double area = SignedArea(points, Normal());
        if (i == 0 ? area < 0 : area >= 0) {
            std::reverse(points.begin(), points.end());
        }
        GL.gluTessBeginContour(tess);
        for (const TAffineVector& v : points) {
            IssueVertex(tess, data.pool, v);
        }
        GL.gluTessEndContour(tess);
    }
    GL.gluTessEndPolygon(tess);
    data.RaiseFirstError(" : ");
}

void TMultiPolygonBase::RenderTesselatedPolygon(bool textured, const TAffineVector* normal, bool invertNormals)
{
    const TPolygonList& outline = GetOutline();
    if (outline.Count() == 0 || outline.GetList(0)->Count() < 2) {
        return;
    }
    // The loops' own vertices are handed to GLU (they stay put while it runs); the
    // pool holds only the vertices GLU makes at crossings.
    TPoolTessData data(64);
    const TGLUTessellatorScope scope;
    GLUtesselator* tess = scope.Get();
    scope.SetCallback(GLU_TESS_BEGIN, &TessBegin);
    scope.SetCallback(GLU_TESS_VERTEX, textured ? &TessTexturedVertex : &TessVertex);
    scope.SetCallback(GLU_TESS_END, &TessEnd);
    scope.SetCallback(GLU_TESS_ERROR_DATA, &TessKeepFirstError);
    scope.SetCallback(GLU_TESS_COMBINE_DATA, &PoolCombine);
    if (normal) {
        GL.glNormal3fv(&normal->X);
        GL.gluTessNormal(tess, normal->X, normal->Y, normal->Z);
    }
    GL.gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);

    GL.gluTessBeginPolygon(tess, static_cast<TTessPolygonData*>(&data));
    for (int i = 0; i < outline.Count(); ++i) {
        TAffineVectorList& loop = *outline.GetList(i);
        const int n = loop.Count();
        GL.gluTessBeginContour(tess);
        for (int k = 0; k < n; ++k) {
            TAffineVector& v = loop[invertNormals ? n - 1 - k : k];
            GLdouble coords[3];
            AffineVectorToDoubles(coords, v);
            GL.gluTessVertex(tess, coords, &v);
        }
        GL.gluTessEndContour(tess);
    }
    GL.gluTessEndPolygon(tess);
    data.RaiseFirstError(" : ");
}
