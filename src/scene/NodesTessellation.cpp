#include "scene/Nodes.h"

#include "platform/core/Assert.h"
#include "scene/TexCoordRouter.h"
#include "scene/base/CubicSpline.h"
#include "scene/base/OpenGLBinding.h"

#include <deque>
#include <memory>
#include <string>

namespace {

// Everything the callbacks need, handed to GLU as the polygon data.
struct TTessContext {
    // Vertices made by the tessellator (intersections) and spline samples. A deque
    // grows without moving what GLU already points at.
    std::deque<TAffineVector> buffer;
    GLenum error = 0;
};

void APIENTRY TessBegin(GLenum mode) { GL.glBegin(mode); }

void APIENTRY TessEnd() { GL.glEnd(); }

void APIENTRY TessVertex(void* data) { GL.glVertex3fv(static_cast<const GLfloat*>(data)); }

void APIENTRY TessTexturedVertex(void* data)
{
    const auto* xyz = static_cast<const GLfloat*>(data);
    if (TexCoordRouter.TexCoord2fv) {
        TexCoordRouter.TexCoord2fv(xyz);
    }
    GL.glVertex3fv(xyz);
}

// Exceptions must not unwind through GLU's C frames: remember the first error and
// report it after the polygon is finished.
void APIENTRY TessError(GLenum error, void* polygonData)
{
    auto* context = static_cast<TTessContext*>(polygonData);
    if (context->error == 0) {
        context->error = error;
    }
}

void APIENTRY TessCombine(GLdouble coords[3], void* /*vertexData*/[4], GLfloat /*weight*/[4], void** outData,
                          void* polygonData)
{
    auto* context = static_cast<TTessContext*>(polygonData);
    context->buffer.push_back(
        {static_cast<float>(coords[0]), static_cast<float>(coords[1]), static_cast<float>(coords[2])});
    *outData = &context->buffer.back();
}

template <class F>
_GLUfuncptr Callback(F* function)
{
    return reinterpret_cast<_GLUfuncptr>(function);
}

} // namespace

void TGLNodes::DrawTessellatedPolygon(bool textured, const TAffineVector* normal, bool invertOrder,
                                      int splineDivisions) const
{
    if (Count() <= 2) {
        return;
    }
    GLUtesselator* tess = GL.gluNewTess();
    KP_ASSERT_MSG(tess != nullptr, "Cannot create a GLU tessellator");
    // Deleted however we leave.
    const auto deleteTess = [](GLUtesselator* t) { GL.gluDeleteTess(t); };
    const std::unique_ptr<GLUtesselator, decltype(deleteTess)> tessGuard(tess, deleteTess);

    TTessContext context;
    GL.gluTessCallback(tess, GLU_TESS_BEGIN, Callback(&TessBegin));
    GL.gluTessCallback(tess, GLU_TESS_VERTEX, textured ? Callback(&TessTexturedVertex) : Callback(&TessVertex));
    GL.gluTessCallback(tess, GLU_TESS_END, Callback(&TessEnd));
    GL.gluTessCallback(tess, GLU_TESS_ERROR_DATA, Callback(&TessError));
    GL.gluTessCallback(tess, GLU_TESS_COMBINE_DATA, Callback(&TessCombine));

    if (normal) {
        GL.glNormal3fv(&normal->X);
        GL.gluTessNormal(tess, normal->X, normal->Y, normal->Z);
    }
    GL.gluTessBeginPolygon(tess, &context);
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

    if (context.error != 0) {
        const GLubyte* text = GL.gluErrorString ? GL.gluErrorString(context.error) : nullptr;
        const std::string message =
            std::to_string(context.error) + ": " + (text ? reinterpret_cast<const char*>(text) : "");
        KP_ASSERT_MSG(false, message.c_str());
    }
}
