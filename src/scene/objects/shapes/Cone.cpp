#include "scene/objects/shapes/Cone.h"

#include <cmath>

void TGLCone::SetParts(TConeParts value)
{
    if (value != parts_) {
        parts_ = value;
        StructureChanged();
    }
}

void TGLCone::Assign(const TPersistent* source)
{
    if (const auto* cone = ObjectCast<TGLCone>(source)) {
        parts_ = cone->parts_;
    }
    TGLCylinderBase::Assign(source);
}

TVector TGLCone::UnscaledHalfExtents() const
{
    const float r = std::fabs(BottomRadius());
    return {r, Height() * 0.5f, r, 0};
}

void TGLCone::BuildList(TRenderContextInfo& /*rci*/)
{
    GL.glPushMatrix();
    const TGLUQuadricScope quadric;
    if (GLUquadric* q = quadric.Get()) {
        SetupQuadricParams(q);
        // GLU draws along +Z from z = 0; the cone stands on Y, centred.
        GL.glRotated(-90, 1, 0, 0);
        GL.glTranslatef(0, 0, -Height() * 0.5f);
        if (parts_ & coSides) {
            GL.gluCylinder(q, BottomRadius(), 0, Height(), Slices(), Stacks());
        }
        if (parts_ & coBottom) {
            ApplyInvertedOrientation(q);
            GL.gluDisk(q, 0, BottomRadius(), Slices(), Loops());
        }
    }
    GL.glPopMatrix();
}
