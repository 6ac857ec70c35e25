#include "scene/objects/shapes/Cylinder.h"

#include "scene/base/PolynomialSolvers.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

void TGLCylinder::SetTopRadius(float value)
{
    if (value != topRadius_) {
        topRadius_ = value;
        StructureChanged();
    }
}

void TGLCylinder::SetParts(TCylinderParts value)
{
    if (value != parts_) {
        parts_ = value;
        StructureChanged();
    }
}

void TGLCylinder::SetAlignment(TCylinderAlignment value)
{
    if (value != alignment_) {
        alignment_ = value;
        StructureChanged();
    }
}

void TGLCylinder::Assign(const TPersistent* source)
{
    if (const auto* cylinder = ObjectCast<TGLCylinder>(source)) {
        parts_ = cylinder->parts_;
        topRadius_ = cylinder->topRadius_;
    }
    TGLCylinderBase::Assign(source);
}

TVector TGLCylinder::UnscaledHalfExtents() const
{
    const float r = std::max(std::fabs(BottomRadius()), std::fabs(topRadius_));
    return {r, Height() * 0.5f, r, 0};
}

void TGLCylinder::BuildList(TRenderContextInfo& /*rci*/)
{
    GL.glPushMatrix();
    const TGLUQuadricScope quadric;
    if (GLUquadric* q = quadric.Get()) {
        SetupQuadricParams(q);
        GL.glRotatef(-90, 1, 0, 0);
        switch (alignment_) {
        case caTop:
            GL.glTranslatef(0, 0, -Height());
            break;
        case caBottom:
            break;
        case caCenter:
            GL.glTranslatef(0, 0, -Height() * 0.5f);
            break;
        }
        if (parts_ & cySides) {
            GL.gluCylinder(q, BottomRadius(), topRadius_, Height(), Slices(), Stacks());
        }
        if (parts_ & cyTop) {
            GL.glPushMatrix();
            GL.glTranslatef(0, 0, Height());
            GL.gluDisk(q, 0, topRadius_, Slices(), Loops());
            GL.glPopMatrix();
        }
        if (parts_ & cyBottom) {
            ApplyInvertedOrientation(q);
            GL.gluDisk(q, 0, BottomRadius(), Slices(), Loops());
        }
    }
    GL.glPopMatrix();
}

bool TGLCylinder::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                                   TVector* intersectNormal)
{
    const TVector p = AbsoluteToLocal(rayStart);
    const TVector d = AbsoluteToLocal(rayVector);
    float top = 0, bottom = 0;
    switch (alignment_) {
    case caTop:
        top = 0;
        bottom = -Height();
        break;
    case caBottom:
        top = Height();
        bottom = 0;
        break;
    case caCenter:
        top = Height() * 0.5f;
        bottom = -top;
        break;
    }
    const double r2 = double(topRadius_) * topRadius_;
    // The ray parameter of the nearest hit so far; hits farther away are not reported.
    double best = std::numeric_limits<double>::infinity();
    TVector hitPoint{}, hitNormal{};
    double lower = -std::numeric_limits<double>::infinity();
    double upper = std::numeric_limits<double>::infinity();

    if (d.Y == 0) {
        if (p.Y > top || p.Y < bottom) {
            return false;
        }
    } else {
        const double inv = 1.0 / d.Y;
        const auto capHit = [&](float height, double t, float normalY) {
            const double x = p.X + t * d.X, z = p.Z + t * d.Z;
            if (x * x + z * z > r2) {
                return;
            }
            best = t;
            hitPoint = LocalToAbsolute({static_cast<float>(x), height, static_cast<float>(z), 1});
            hitNormal = LocalToAbsolute({0, normalY, 0, 0});
        };
        const double tTop = (top - double(p.Y)) * inv;
        if (tTop > 0 && (parts_ & cyTop)) {
            capHit(top, tTop, 1);
        }
        lower = upper = tTop;
        const double tBottom = (bottom - double(p.Y)) * inv;
        // A bottom cap behind a top cap that was hit is hidden by it.
        if (tBottom > 0 && (parts_ & cyBottom) && tBottom < best) {
            capHit(bottom, tBottom, -1);
        }
        lower = std::min(lower, tBottom);
        upper = std::max(upper, tBottom);
    }

    // A ray along the axis never meets the side: it can only enter through a cap.
    const double a = double(d.X) * d.X + double(d.Z) * d.Z;
    if ((parts_ & cySides) && a > 0) {
        const double c[3] = {double(p.X) * p.X + double(p.Z) * p.Z - r2, 2 * (double(p.X) * d.X + double(p.Z) * d.Z),
                             a};
        double t = 0;
        if (MinPositiveRoot(SolveQuadratic(c), t) && t >= lower && t < upper && t < best) {
            best = t;
            const TVector local = CombineVectors(p, d, 1, static_cast<float>(t));
            hitPoint = LocalToAbsolute(local);
            hitNormal = LocalToAbsolute({local.X, 0, local.Z, 0});
        }
    }
    if (best == std::numeric_limits<double>::infinity()) {
        return false;
    }
    if (intersectPoint) {
        *intersectPoint = hitPoint;
    }
    if (intersectNormal) {
        *intersectNormal = hitNormal;
    }
    return true;
}
