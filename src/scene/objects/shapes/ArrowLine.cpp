#include "scene/objects/shapes/ArrowLine.h"

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
        outlined_ = arrow->outlined_;
    }
    TGLCylinderBase::Assign(source);
}

void TGLArrowLine::DrawSide(GLUquadric* quadric, float baseRadius, float topRadius, float height) const
{
    GL.gluCylinder(quadric, baseRadius, topRadius, height, Slices(), Stacks());
    if (outlined_) {
        GL.gluQuadricDrawStyle(quadric, GLU_SILHOUETTE);
        GL.gluCylinder(quadric, baseRadius, topRadius, height, Slices(), Stacks());
        GL.gluQuadricDrawStyle(quadric, GLU_FILL);
    }
}

void TGLArrowLine::BuildList(TRenderContextInfo& /*rci*/)
{
    static constexpr float headFactors[] = {0, 0.5f, 1.0f};
    const float f = headFactors[headStackingStyle_];
    const float height = Height();
    float length = height;
    float start = -height * 0.5f;
    const bool line = (parts_ & alLine) != 0;

    const TGLUQuadricScope quadric;
    GLUquadric* q = quadric.Get();
    if (!q) {
        return;
    }
    SetupQuadricParams(q);

    if (parts_ & alTopArrow) {
        length -= topArrowHeadHeight_ * f;
        GL.glPushMatrix();
        GL.glTranslatef(0, 0, height * 0.5f - topArrowHeadHeight_ * f);
        DrawSide(q, topArrowHeadRadius_, 0, topArrowHeadHeight_);
        // The head's base: a ring around the shaft, or a full disk without one.
        ApplyInvertedOrientation(q);
        GL.gluDisk(q, line ? topRadius_ : 0, topArrowHeadRadius_, Slices(), Loops());
        GL.glPopMatrix();
    }
    if (parts_ & alBottomArrow) {
        length -= bottomArrowHeadHeight_ * f;
        start += bottomArrowHeadHeight_ * f;
        GL.glPushMatrix();
        GL.glRotatef(180, 1, 0, 0);
        GL.glTranslatef(0, 0, height * 0.5f - bottomArrowHeadHeight_ * f);
        ApplyOrientation(q);
        DrawSide(q, bottomArrowHeadRadius_, 0, bottomArrowHeadHeight_);
        ApplyInvertedOrientation(q);
        GL.gluDisk(q, line ? BottomRadius() : 0, bottomArrowHeadRadius_, Slices(), Loops());
        GL.glPopMatrix();
    }
    if (length > 0 && line) {
        GL.glPushMatrix();
        GL.glTranslatef(0, 0, start);
        ApplyOrientation(q);
        DrawSide(q, BottomRadius(), topRadius_, length);
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
    }
}
