#include "scene/graph/Nodes.h"

#include "scene/rendering/TessellatorCallbacks.h"
#include "scene/base/CubicSpline.h"
#include "scene/base/OpenGLBinding.h"

#include <deque>
#include <memory>

namespace {

// Everything the callbacks need, handed to GLU as the polygon data.
struct TTessContext : TTessPolygonData {
    // Vertices made by the tessellator (intersections) and spline samples. A deque
    // grows without moving what GLU already points at.
    std::deque<TAffineVector> buffer;
};

void APIENTRY TessCombine(GLdouble coords[3], void* /*vertexData*/[4], GLfloat /*weight*/[4], void** outData,
                          void* polygonData)
{
    auto* context = static_cast<TTessContext*>(static_cast<TTessPolygonData*>(polygonData));
    context->buffer.push_back(
        {static_cast<float>(coords[0]), static_cast<float>(coords[1]), static_cast<float>(coords[2])});
    *outData = &context->buffer.back();
}

} // namespace

void TGLNodes::DrawTessellatedPolygon(bool textured, const TAffineVector* normal, bool invertOrder,
                                      int splineDivisions) const
{
    if (Count() <= 2) {
        return;
    }
    const TGLUTessellatorScope scope;
    GLUtesselator* tess = scope.Get();
    TTessContext context;
    scope.SetCallback(GLU_TESS_BEGIN, &TessBegin);
    scope.SetCallback(GLU_TESS_VERTEX, textured ? &TessTexturedVertex : &TessVertex);
    scope.SetCallback(GLU_TESS_END, &TessEnd);
    scope.SetCallback(GLU_TESS_ERROR_DATA, &TessKeepFirstError);
    scope.SetCallback(GLU_TESS_COMBINE_DATA, &TessCombine);

    if (normal) {
        GL.glNormal3fv(&normal->X);
        GL.gluTessNormal(tess, normal->X, normal->Y, normal->Z);
    }
    GL.gluTessBeginPolygon(tess, static_cast<TTessPolygonData*>(&context));
    GL.gluTessBeginContour(tess);
    if (splineDivisions > 1) {
        const std::unique_ptr<TCubicSpline> spline = MakeSpline();
        const int last = (Count() - 1) * splineDivisions;
        for (int k = 0; k <= last; ++k) {
            const int i = invertOrder ? last - k : k;
            context.buffer.push_back(spline->SplineAffineVector(static_cast<float>(i) / splineDivisions));
            TAffineVector& v = context.buffer.back();
            GLdouble coords[3] = {v.X, v.Y, v.Z};
            GL.gluTessVertex(tess, coords, &v);
        }
    } else {
        for (int k = 0; k < Count(); ++k) {
            const TGLNode* node = Items(invertOrder ? Count() - 1 - k : k);
            const TVector& v = node->AsVector();
            GLdouble coords[3] = {v.X, v.Y, v.Z};
            GL.gluTessVertex(tess, coords, const_cast<TVector*>(&v));
        }
    }
    GL.gluTessEndContour(tess);
    GL.gluTessEndPolygon(tess);

    context.RaiseFirstError(": ");
}
