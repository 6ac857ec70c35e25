#include "scene/objects/text/GlyphLists.h"

#include "scene/rendering/TessellatorCallbacks.h"
#include "scene/base/VectorTypes.h"

#include <cmath>
#include <deque>
#include <memory>
#include <vector>

namespace {

struct TFaceTessContext : TTessPolygonData {
    // Vertices GLU makes where contours cross; a deque keeps them in place.
    std::deque<TAffineVector> combined;
    float z = 0;
};

void APIENTRY FaceCombine(GLdouble coords[3], void* /*vertexData*/[4], GLfloat /*weight*/[4], void** outData,
                          void* polygonData)
{
    auto* context = static_cast<TFaceTessContext*>(static_cast<TTessPolygonData*>(polygonData));
    context->combined.push_back({static_cast<float>(coords[0]), static_cast<float>(coords[1]), context->z});
    *outData = &context->combined.back();
}

// One flat face of the glyph at height z, seen from +Z (facing 1) or -Z (facing -1).
bool DrawFace(GLUtesselator* tess, const TGlyphOutline& outline, float z, float facing,
              std::vector<TAffineVector>& vertices)
{
    const std::vector<TGlyphPoint>& points = outline.Points();
    vertices.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        vertices[i] = {points[i].X, points[i].Y, z};
    }
    TFaceTessContext context;
    context.z = z;
    GL.gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                       outline.NonZeroWinding ? GLU_TESS_WINDING_NONZERO : GLU_TESS_WINDING_ODD);
    // With the normal given, GLU emits triangles counter-clockwise seen from it.
    GL.gluTessNormal(tess, 0, 0, facing);
    GL.glNormal3f(0, 0, facing);
    GL.gluTessBeginPolygon(tess, static_cast<TTessPolygonData*>(&context));
    for (int c = 0; c < outline.ContourCount(); ++c) {
        GL.gluTessBeginContour(tess);
        for (int i = outline.ContourStart(c); i < outline.ContourEnd(c); ++i) {
            GLdouble coords[3] = {vertices[i].X, vertices[i].Y, z};
            GL.gluTessVertex(tess, coords, &vertices[i]);
        }
        GL.gluTessEndContour(tess);
    }
    GL.gluTessEndPolygon(tess);
    return context.error == 0;
}

// The walls from z = 0 back to z = -extrusion, one flat quad per edge, each facing
// away from the filled side of its edge.
void DrawSides(const TGlyphOutline& outline, float extrusion)
{
    const std::vector<TGlyphPoint>& points = outline.Points();
    // Which side of its edges the ink lies on follows from the sign of the total area.
    const bool inkOnLeft = outline.SignedArea2() >= 0;
    const float back = -extrusion;
    GL.glBegin(GL_QUADS);
    for (int c = 0; c < outline.ContourCount(); ++c) {
        const int start = outline.ContourStart(c), end = outline.ContourEnd(c);
        for (int i = start; i < end; ++i) {
            const TGlyphPoint& p = points[i];
            const TGlyphPoint& q = points[i + 1 < end ? i + 1 : start];
            const double dx = double(q.X) - p.X, dy = double(q.Y) - p.Y;
            const double length = std::hypot(dx, dy);
            if (length == 0) {
                continue;
            }
            // Outward is right of the edge when the ink is on its left.
            const float nx = static_cast<float>((inkOnLeft ? dy : -dy) / length);
            const float ny = static_cast<float>((inkOnLeft ? -dx : dx) / length);
            GL.glNormal3f(nx, ny, 0);
            if (inkOnLeft) {
                GL.glVertex3f(p.X, p.Y, 0);
                GL.glVertex3f(p.X, p.Y, back);
                GL.glVertex3f(q.X, q.Y, back);
                GL.glVertex3f(q.X, q.Y, 0);
            } else {
                GL.glVertex3f(p.X, p.Y, 0);
                GL.glVertex3f(q.X, q.Y, 0);
                GL.glVertex3f(q.X, q.Y, back);
                GL.glVertex3f(p.X, p.Y, back);
            }
        }
    }
    GL.glEnd();
}

struct TTessDeleter {
    void operator()(GLUtesselator* tess) const { GL.gluDeleteTess(tess); }
};

bool DrawGlyphSolidWith(GLUtesselator* tess, const TGlyphOutline& outline, float extrusion,
                        std::vector<TAffineVector>& vertices)
{
    if (outline.ContourCount() == 0) {
        return true;
    }
    if (!DrawFace(tess, outline, 0, 1, vertices)) {
        return false;
    }
    if (extrusion > 0) {
        if (!DrawFace(tess, outline, -extrusion, -1, vertices)) {
            return false;
        }
        DrawSides(outline, extrusion);
    }
    return true;
}

std::unique_ptr<GLUtesselator, TTessDeleter> NewFaceTessellator()
{
    std::unique_ptr<GLUtesselator, TTessDeleter> tess(GL.gluNewTess());
    if (tess) {
        GL.gluTessCallback(tess.get(), GLU_TESS_BEGIN, TessCallback(&TessBegin));
        GL.gluTessCallback(tess.get(), GLU_TESS_VERTEX, TessCallback(&TessVertex));
        GL.gluTessCallback(tess.get(), GLU_TESS_END, TessCallback(&TessEnd));
        GL.gluTessCallback(tess.get(), GLU_TESS_ERROR_DATA, TessCallback(&TessKeepFirstError));
        GL.gluTessCallback(tess.get(), GLU_TESS_COMBINE_DATA, TessCallback(&FaceCombine));
    }
    return tess;
}

} // namespace

bool DrawGlyphSolid(const TGlyphOutline& outline, float extrusion)
{
    const auto tess = NewFaceTessellator();
    if (!tess) {
        return false;
    }
    std::vector<TAffineVector> vertices;
    return DrawGlyphSolidWith(tess.get(), outline, extrusion, vertices);
}

bool BuildGlyphOutlineLists(TGlyphOutlineProvider& provider, const std::string& fontName, TFontStyles style,
                            int first, int count, GLuint listBase, float deviation, float extrusion,
                            TGlyphMetricsFloat* metrics)
{
    if (count <= 0 || listBase == 0 || !provider.SelectFont(fontName, style)) {
        return false;
    }
    // Made with the first glyph that has ink: blanks need none.
    std::unique_ptr<GLUtesselator, TTessDeleter> tess;
    TGlyphOutline outline;
    std::vector<TAffineVector> vertices;
    for (int k = 0; k < count; ++k) {
        outline.Clear(deviation);
        if (!provider.GetGlyph(static_cast<char32_t>(first + k), outline)) {
            return false;
        }
        outline.CloseContour();
        metrics[k] = outline.Metrics;
        if (outline.ContourCount() > 0 && !tess) {
            tess = NewFaceTessellator();
            if (!tess) {
                return false;
            }
        }
        GL.glNewList(listBase + k, GL_COMPILE);
        const bool drawn = DrawGlyphSolidWith(tess.get(), outline, extrusion, vertices);
        GL.glTranslatef(outline.Metrics.CellIncX, outline.Metrics.CellIncY, 0);
        GL.glEndList();
        if (!drawn) {
            return false;
        }
    }
    return true;
}
