#include "scene/objects/shapes/ArrowLine.h"

#include "scene/graph/RenderContextInfo.h"

#include <cmath>

TGLArrowLine::TGLArrowLine(TComponent* owner) : TGLCylinderBase(owner)
{
    SetBottomRadius(0.1f);
}

void TGLArrowLine::SetFloat(float& field, float value)
{
    if (value != field) {
        field = value;
        StructureChanged();
    }
}

void TGLArrowLine::SetTopRadius(float value) { SetFloat(topRadius_, value); }
void TGLArrowLine::SetTopArrowHeadHeight(float value) { SetFloat(topArrowHeadHeight_, value); }
void TGLArrowLine::SetTopArrowHeadRadius(float value) { SetFloat(topArrowHeadRadius_, value); }
void TGLArrowLine::SetBottomArrowHeadHeight(float value) { SetFloat(bottomArrowHeadHeight_, value); }
void TGLArrowLine::SetBottomArrowHeadRadius(float value) { SetFloat(bottomArrowHeadRadius_, value); }

void TGLArrowLine::SetHeadStackingStyle(TArrowHeadStackingStyle value)
{
    if (value != headStackingStyle_) {
        headStackingStyle_ = value;
        StructureChanged();
    }
}

void TGLArrowLine::SetParts(TArrowLineParts value)
{
    if (value != parts_) {
        parts_ = value;
        StructureChanged();
    }
}

void TGLArrowLine::SetOutlined(bool value)
{
    if (value != outlined_) {
        outlined_ = value;
        // The outline faces the camera, so it is drawn anew for every frame.
        if (value) {
            IncludeStyle(osNoDisplayList);
        } else {
            ExcludeStyle(osNoDisplayList);
        }
        StructureChanged();
    }
}

void TGLArrowLine::Assign(const TPersistent* source)
{
    if (const auto* arrow = ObjectCast<TGLArrowLine>(source)) {
        parts_ = arrow->parts_;
        topRadius_ = arrow->topRadius_;
        topArrowHeadHeight_ = arrow->topArrowHeadHeight_;
        topArrowHeadRadius_ = arrow->topArrowHeadRadius_;
        bottomArrowHeadHeight_ = arrow->bottomArrowHeadHeight_;
        bottomArrowHeadRadius_ = arrow->bottomArrowHeadRadius_;
        headStackingStyle_ = arrow->headStackingStyle_;
        SetOutlined(arrow->outlined_);
    }
    TGLCylinderBase::Assign(source);
}

bool TGLArrowLine::FacingSide(const TRenderContextInfo& rci, TAffineVector& side) const
{
    // The camera's place in the arrow's frame, from the absolute matrix in double: its
    // inverse overflows once a fit scales the view far down.
    const TMatrix& m = AbsoluteMatrixRef();
    const double to[3] = {double(rci.cameraPosition.X) - m[3].X, double(rci.cameraPosition.Y) - m[3].Y,
                          double(rci.cameraPosition.Z) - m[3].Z};
    double local[2];
    for (int axis = 0; axis < 2; ++axis) {
        const TVector& a = m[axis];
        const double length2 = double(a.X) * a.X + double(a.Y) * a.Y + double(a.Z) * a.Z;
        local[axis] = (to[0] * a.X + to[1] * a.Y + to[2] * a.Z) / length2;
    }
    const double length = std::hypot(local[0], local[1]);
    if (!(length > 0) || !std::isfinite(length)) {
        return false; // seen along its axis: a dot, which the faces show
    }
    side = {float(local[0] / length), float(local[1] / length), 0};
    return true;
}

void TGLArrowLine::DrawOutline(const TAffineVector& side, float bottom, float bottomRadius, float top,
                               float topRadius) const
{
    if (bottom == top) {
        return;
    }
    const float facing = NormalDirection() == ndInside ? -1 : 1;
    GL.glNormal3f(side.X * facing, side.Y * facing, 0);
    GL.glBegin(GL_LINES);
    GL.glVertex3f(side.X * bottomRadius, side.Y * bottomRadius, bottom);
    GL.glVertex3f(side.X * topRadius, side.Y * topRadius, top);
    GL.glEnd();
}

void TGLArrowLine::BuildList(TRenderContextInfo& rci)
{
    static constexpr float headFactors[] = {0, 0.5f, 1.0f};
    const float f = headFactors[headStackingStyle_];
    const float height = Height();
    float length = height;
    float start = -height * 0.5f;
    const bool line = (parts_ & alLine) != 0;
    // On the side nearest the camera, which lies over the middle of the shaft in the
    // view and in front of the faces, the outline shows the colour of that side: along
    // the facets' edges it drew pixels of its own beside the faces, lit as the edges on
    // the silhouette are, at right angles to the view (black under the preview's
    // lights, which shine along a top view).
    TAffineVector side;
    const bool outline = outlined_ && FacingSide(rci, side);

    const TGLUQuadricScope quadric;
    GLUquadric* q = quadric.Get();
    if (!q) {
        return;
    }
    SetupQuadricParams(q);

    if (parts_ & alTopArrow) {
        length -= topArrowHeadHeight_ * f;
        const float base = height * 0.5f - topArrowHeadHeight_ * f;
        GL.glPushMatrix();
        GL.glTranslatef(0, 0, base);
        GL.gluCylinder(q, topArrowHeadRadius_, 0, topArrowHeadHeight_, Slices(), Stacks());
        // The head's base: a ring around the shaft, or a full disk without one.
        ApplyInvertedOrientation(q);
        GL.gluDisk(q, line ? topRadius_ : 0, topArrowHeadRadius_, Slices(), Loops());
        GL.glPopMatrix();
        if (outline) {
            DrawOutline(side, base, topArrowHeadRadius_, base + topArrowHeadHeight_, 0);
        }
    }
    if (parts_ & alBottomArrow) {
        length -= bottomArrowHeadHeight_ * f;
        start += bottomArrowHeadHeight_ * f;
        const float base = height * 0.5f - bottomArrowHeadHeight_ * f;
        GL.glPushMatrix();
        GL.glRotatef(180, 1, 0, 0);
        GL.glTranslatef(0, 0, base);
        ApplyOrientation(q);
        GL.gluCylinder(q, bottomArrowHeadRadius_, 0, bottomArrowHeadHeight_, Slices(), Stacks());
        ApplyInvertedOrientation(q);
        GL.gluDisk(q, line ? BottomRadius() : 0, bottomArrowHeadRadius_, Slices(), Loops());
        GL.glPopMatrix();
        if (outline) {
            DrawOutline(side, -base, bottomArrowHeadRadius_, -base - bottomArrowHeadHeight_, 0);
        }
    }
    if (length > 0 && line) {
        GL.glPushMatrix();
        GL.glTranslatef(0, 0, start);
        ApplyOrientation(q);
        GL.gluCylinder(q, BottomRadius(), topRadius_, length, Slices(), Stacks());
        if (!(parts_ & alTopArrow)) {
            GL.glPushMatrix();
            GL.glTranslatef(0, 0, length);
            GL.gluDisk(q, 0, topRadius_, Slices(), Loops());
            GL.glPopMatrix();
        }
        if (!(parts_ & alBottomArrow)) {
            ApplyInvertedOrientation(q);
            GL.gluDisk(q, 0, BottomRadius(), Slices(), Loops());
        }
        GL.glPopMatrix();
        if (outline) {
            DrawOutline(side, start, BottomRadius(), start + length, topRadius_);
        }
    }
}
