// Drawing of the line objects and of the two marker shapes, in immediate mode into the
// object's display list.

#include "scene/objects/lines/Lines.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/base/CubicSpline.h"
#include "scene/base/Planes.h"
#include "scene/base/VectorArithmetic.h"

#include <vector>

namespace {
constexpr GLbitfield LineStyleAttribs = GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT;

void EnableAlphaBlending()
{
    GL.glEnable(GL_BLEND);
    GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The largest evaluator order the driver takes; 8 is the least OpenGL guarantees.
int MaxEvalOrder()
{
    GLint order = 0;
    GL.glGetIntegerv(GL_MAX_EVAL_ORDER, &order);
    return order > 0 ? order : 8;
}
} // namespace

// ---- Line style ----

void SetupLineStyle(const TLineStyle& style)
{
    GL.glPushAttrib(LineStyleAttribs);
    GL.glDisable(GL_LIGHTING);
    if (style.Pattern != 0xFFFF) {
        GL.glEnable(GL_LINE_STIPPLE);
        EnableAlphaBlending();
        GL.glLineStipple(1, style.Pattern);
    }
    if (style.AntiAliased) {
        GL.glEnable(GL_LINE_SMOOTH);
        EnableAlphaBlending();
    } else {
        GL.glDisable(GL_LINE_SMOOTH);
    }
    GL.glLineWidth(style.Width);
    if (style.Color.W == 1.0f) {
        GL.glColor3fv(&style.Color.X);
    } else {
        if (!style.AntiAliased) {
            EnableAlphaBlending();
        }
        GL.glColor4fv(&style.Color.X);
    }
}

void RestoreLineStyle()
{
    GL.glPopAttrib();
}

// ---- TGLLineBase ----

void TGLLineBase::SetupLineStyle(TRenderContextInfo&)
{
    ::SetupLineStyle(Style());
}

void TGLLineBase::RestoreLineStyle(TRenderContextInfo&)
{
    ::RestoreLineStyle();
}

// ---- TGLNodedLines ----

void TGLNodedLines::DrawNode(TRenderContextInfo& rci, float x, float y, float z, const TVector& color)
{
    GL.glPushMatrix();
    GL.glTranslatef(x, y, z);
    switch (nodesAspect_) {
    case lnaAxes: AxesBuildList(rci, 0xCCCC, nodeSize_ * 0.5f); break;
    case lnaCube: RenderWireCube(rci, false, color, nodeSize_); break;
    case lnaDodecahedron:
        if (rci.GLStates) {
            rci.GLStates->SetMaterialColors(GL_FRONT, ColorBlack, ColorGray20, color, ColorBlack, 0);
        }
        if (nodeSize_ != 1.0f) {
            GL.glPushMatrix();
            GL.glScalef(nodeSize_, nodeSize_, nodeSize_);
            RenderDodecahedron();
            GL.glPopMatrix();
        } else {
            RenderDodecahedron();
        }
        break;
    default: KP_ASSERT(false);
    }
    GL.glPopMatrix();
}

// ---- TGLLines ----

void TGLLines::BuildList(TRenderContextInfo& rci)
{
    const int count = NodeCount();
    if (count < 2) {
        return;
    }
    SetupLineStyle(rci);
    // Bezier curves hand every node to one evaluator; beyond the driver's order that
    // would draw nothing useful, so such a line is drawn as its plain strip.
    const bool bezier = splineMode_ == lsmBezierSpline && division_ >= 2 && count <= MaxEvalOrder();
    if (bezier) {
        std::vector<float> points(static_cast<std::size_t>(count) * 3);
        std::vector<float> colors(static_cast<std::size_t>(count) * 4);
        for (int i = 0; i < count; ++i) {
            const TAffineVector p = NodePoint(i);
            const TVector& c = NodeColorOf(i);
            for (int k = 0; k < 3; ++k) {
                points[static_cast<std::size_t>(i * 3 + k)] = p[k];
            }
            for (int k = 0; k < 4; ++k) {
                colors[static_cast<std::size_t>(i * 4 + k)] = c[k];
            }
        }
        GL.glPushAttrib(GL_EVAL_BIT);
        GL.glEnable(GL_MAP1_VERTEX_3);
        GL.glEnable(GL_MAP1_COLOR_4);
        GL.glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, count, points.data());
        GL.glMap1f(GL_MAP1_COLOR_4, 0, 1, 4, count, colors.data());
        const float f = 1.0f / static_cast<float>(division_);
        GL.glBegin(GL_LINE_STRIP);
        for (int i = 0; i <= division_; ++i) {
            GL.glEvalCoord1f(static_cast<float>(i) * f);
        }
        GL.glEnd();
        GL.glPopAttrib();
    } else if (splineMode_ == lsmNURBSCurve && division_ >= 2) {
        DrawNURBS();
    } else if (splineMode_ == lsmCubicSpline && division_ >= 2) {
        GL.glBegin(GL_LINE_STRIP);
        DrawCubicSpline();
        GL.glEnd();
    } else {
        const bool nodeColors = UseNodeColors();
        GL.glBegin(splineMode_ == lsmSegments ? GL_LINES : GL_LINE_STRIP);
        if (const TAffineVector* points = PointData(); points && !nodeColors) {
            // Bare points: the hot loop of a long tool path.
            for (int i = 0; i < count; ++i) {
                GL.glVertex3f(points[i].X, points[i].Y, points[i].Z);
            }
        } else {
            for (int i = 0; i < count; ++i) {
                if (nodeColors) {
                    GL.glColor4fv(&NodeColorOf(i).X);
                }
                const TAffineVector p = NodePoint(i);
                GL.glVertex3f(p.X, p.Y, p.Z);
            }
        }
        GL.glEnd();
    }
    RestoreLineStyle(rci);

    if (NodesAspect() == lnaInvisible) {
        return;
    }
    GL.glPushAttrib(GL_ENABLE_BIT);
    if (!rci.ignoreBlending) {
        EnableAlphaBlending();
    }
    GL.glDisable(GL_TEXTURE_2D);
    if (GLExt.ARB_texture_cube_map) {
        GL.glDisable(GL_TEXTURE_CUBE_MAP_ARB);
    }
    for (int i = 0; i < count; ++i) {
        const TAffineVector p = NodePoint(i);
        DrawNode(rci, p.X, p.Y, p.Z, NodeColorOf(i));
    }
    GL.glPopAttrib();
}

void TGLLines::DrawCubicSpline()
{
    const int count = NodeCount();
    std::vector<float> x(static_cast<std::size_t>(count)), y(x.size()), z(x.size());
    for (int i = 0; i < count; ++i) {
        const TAffineVector p = NodePoint(i);
        x[static_cast<std::size_t>(i)] = p.X;
        y[static_cast<std::size_t>(i)] = p.Y;
        z[static_cast<std::size_t>(i)] = p.Z;
    }
    const auto spline = std::make_unique<TCubicSpline>(x.data(), y.data(), z.data(), nullptr, count);
    const float f = 1.0f / static_cast<float>(division_);
    const bool nodeColors = UseNodeColors();
    const int last = (count - 1) * division_;
    for (int i = 0; i <= last; ++i) {
        float x = 0;
        float y = 0;
        float z = 0;
        spline->SplineXYZ(static_cast<float>(i) * f, x, y, z);
        if (nodeColors) {
            const int a = i / division_;
            if (a < count - 1) {
                const TVector c = LerpVectors(NodeColorOf(a), NodeColorOf(a + 1), static_cast<float>(i % division_) * f);
                GL.glColor4fv(&c.X);
            } else {
                GL.glColor4fv(&NodeColorOf(count - 1).X);
            }
        }
        GL.glVertex3f(x, y, z);
    }
}

void TGLLines::DrawNURBS()
{
    const TSingleList* knots = PartsIfAny() ? PartsIfAny()->Knots.get() : nullptr;
    if (NURBSOrder() <= 0 || !knots || knots->Count() < 1) {
        return;
    }
    const int count = NodeCount();
    std::vector<float> points(static_cast<std::size_t>(count) * 3);
    for (int i = 0; i < count; ++i) {
        const TAffineVector p = NodePoint(i);
        for (int k = 0; k < 3; ++k) {
            points[static_cast<std::size_t>(i * 3 + k)] = p[k];
        }
    }
    GLUnurbs* renderer = GL.gluNewNurbsRenderer();
    struct TRendererGuard {
        GLUnurbs* r;
        ~TRendererGuard() { GL.gluDeleteNurbsRenderer(r); }
    } guard{renderer};
    GL.gluNurbsProperty(renderer, GLU_SAMPLING_TOLERANCE, NURBSTolerance());
    GL.gluNurbsProperty(renderer, GLU_DISPLAY_MODE, GLU_FILL);
    GL.gluBeginCurve(renderer);
    GL.gluNurbsCurve(renderer, knots->Count(), const_cast<float*>(knots->List()), 3, points.data(), NURBSOrder(),
                     GL_MAP1_VERTEX_3);
    GL.gluEndCurve(renderer);
}

// ---- Marker shapes ----

void RenderWireCube(TRenderContextInfo& rci, bool dotted, const TVector& color, float size)
{
    const float p = 0.5f * size;
    const float m = -p;
    GL.glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    GL.glDisable(GL_LIGHTING);
    GL.glEnable(GL_LINE_SMOOTH);
    if (dotted) {
        GL.glEnable(GL_LINE_STIPPLE);
        EnableAlphaBlending();
        GL.glLineStipple(1, 0xCCCC);
    }
    GL.glLineWidth(1);
    if (rci.GLStates) {
        rci.GLStates->ResetMaterials();
    }
    GL.glColorMaterial(GL_FRONT, GL_EMISSION);
    GL.glEnable(GL_COLOR_MATERIAL);
    GL.glColor4fv(&color.X);
    GL.glBegin(GL_LINE_STRIP);
    GL.glVertex3f(p, m, m);
    GL.glVertex3f(p, p, m);
    GL.glVertex3f(p, p, p);
    GL.glVertex3f(p, m, p);
    GL.glVertex3f(p, m, m);
    GL.glVertex3f(m, m, m);
    GL.glVertex3f(m, m, p);
    GL.glVertex3f(m, p, p);
    GL.glVertex3f(m, p, m);
    GL.glVertex3f(p, p, m);
    GL.glEnd();
    GL.glBegin(GL_LINES);
    GL.glVertex3f(p, p, p);
    GL.glVertex3f(m, p, p);
    GL.glVertex3f(m, m, m);
    GL.glVertex3f(m, p, m);
    GL.glVertex3f(p, m, p);
    GL.glVertex3f(m, m, p);
    GL.glEnd();
    GL.glPopAttrib();
}

void RenderDodecahedron()
{
    constexpr float a = 0.3f;
    constexpr float b = 0.4854102f;
    constexpr float c = 0.1854102f;
    static const TAffineVector vertices[20] = {
        {-b, 0, c},  {-b, 0, -c}, {b, 0, -c},   {b, 0, c},    {c, -b, 0},  {-c, -b, 0}, {-c, b, 0},
        {c, b, 0},   {0, c, -b},  {0, -c, -b},  {0, -c, b},   {0, c, b},   {-a, -a, a}, {-a, -a, -a},
        {a, -a, -a}, {a, -a, a},  {-a, a, a},   {-a, a, -a},  {a, a, -a},  {a, a, a},
    };
    static const int faces[12][5] = {
        {0, 12, 10, 11, 16}, {1, 17, 8, 9, 13},  {2, 14, 9, 8, 18},  {3, 19, 11, 10, 15},
        {4, 14, 2, 3, 15},   {5, 12, 0, 1, 13},  {6, 17, 1, 0, 16},  {7, 19, 3, 2, 18},
        {8, 17, 6, 7, 18},   {9, 14, 4, 5, 13},  {10, 12, 5, 4, 15}, {11, 19, 7, 6, 16},
    };
    for (const auto& face : faces) {
        const TAffineVector n = PlaneNormalFromPoints(vertices[face[0]], vertices[face[1]], vertices[face[2]]);
        GL.glNormal3fv(&n.X);
        GL.glBegin(GL_TRIANGLE_FAN);
        for (int k : face) {
            GL.glVertex3fv(&vertices[k].X);
        }
        GL.glEnd();
    }
}
