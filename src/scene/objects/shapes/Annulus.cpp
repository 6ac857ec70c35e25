#include "scene/objects/shapes/Annulus.h"

#include "scene/base/PolynomialSolvers.h"
#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

#include <algorithm>
#include <cmath>
#include <limits>

void TGLAnnulus::SetBottomInnerRadius(float value)
{
    StoreAndRebuild(*this, bottomInnerRadius_, value);
}

void TGLAnnulus::SetTopInnerRadius(float value)
{
    StoreAndRebuild(*this, topInnerRadius_, value);
}

void TGLAnnulus::SetTopRadius(float value)
{
    StoreAndRebuild(*this, topRadius_, value);
}

void TGLAnnulus::SetParts(TAnnulusParts value)
{
    StoreAndRebuild(*this, parts_, value);
}

void TGLAnnulus::Assign(const TPersistent* source)
{
    if (const auto* annulus = ObjectCast<TGLAnnulus>(source)) {
        parts_ = annulus->parts_;
        topRadius_ = annulus->topRadius_;
        topInnerRadius_ = annulus->topInnerRadius_;
        bottomInnerRadius_ = annulus->bottomInnerRadius_;
    }
    TGLCylinderBase::Assign(source);
}

TVector TGLAnnulus::UnscaledHalfExtents() const
{
    const float r = std::max(std::fabs(BottomRadius()), std::fabs(topRadius_));
    return {r, Height() * 0.5f, r, 0};
}

void TGLAnnulus::BuildList(TRenderContextInfo& /*rci*/)
{
    GL.glPushMatrix();
    const TGLUQuadricScope quadric;
    if (GLUquadric* q = quadric.Get()) {
        SetupQuadricParams(q);
        GL.glRotatef(-90, 1, 0, 0);
        GL.glTranslatef(0, 0, -Height() * 0.5f);
        if (parts_ & anOuterSides) {
            GL.gluCylinder(q, BottomRadius(), topRadius_, Height(), Slices(), Stacks());
        }
        if (parts_ & anTop) {
            GL.glPushMatrix();
            GL.glTranslatef(0, 0, Height());
            GL.gluDisk(q, topInnerRadius_, topRadius_, Slices(), Loops());
            GL.glPopMatrix();
        }
        if (parts_ & (anBottom | anInnerSides)) {
            // Both face the axis or downwards: the other way round.
            ApplyInvertedOrientation(q);
            if (parts_ & anBottom) {
                GL.gluDisk(q, bottomInnerRadius_, BottomRadius(), Slices(), Loops());
            }
            if (parts_ & anInnerSides) {
                GL.gluCylinder(q, bottomInnerRadius_, topInnerRadius_, Height(), Slices(), Stacks());
            }
        }
    }
    GL.glPopMatrix();
}

bool TGLAnnulus::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                                  TVector* intersectNormal)
{
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    const TVector p = AbsoluteToLocal(rayStart);
    const TVector d = AbsoluteToLocal(rayVector);
    const float h = Height() * 0.5f;
    const double inner2 = double(topInnerRadius_) * topInnerRadius_;
    const double outer2 = double(topRadius_) * topRadius_;
    bool hit = false, firstCapHit = false;
    double lower = -Infinity, upper = Infinity;

    const auto report = [&](const TVector& point, const TVector& normal) {
        hit = true;
        if (intersectPoint) {
            *intersectPoint = LocalToAbsolute(point);
        }
        if (intersectNormal) {
            *intersectNormal = LocalToAbsolute(normal);
        }
    };
    // A hit on the ring of the cap at the given height, at ray parameter t.
    const auto capHit = [&](float plane, double t) {
        const double x = p.X + t * d.X, z = p.Z + t * d.Z;
        const double r2 = x * x + z * z;
        if (r2 < inner2 || r2 > outer2) {
            return false;
        }
        report({static_cast<float>(x), plane, static_cast<float>(z), 1}, {0, plane > 0 ? 1.0f : -1.0f, 0, 0});
        return true;
    };

    if (d.Y == 0) {
        if (p.Y > h || p.Y < -h) {
            return false;
        }
    } else {
        // A ray going down meets the top first.
        const bool downwards = d.Y < 0;
        const float firstPlane = downwards ? h : -h, secondPlane = -firstPlane;
        const bool firstPart = (parts_ & (downwards ? anTop : anBottom)) != 0;
        const bool secondPart = (parts_ & (downwards ? anBottom : anTop)) != 0;
        const double inv = 1.0 / d.Y;
        const double t1 = (firstPlane - double(p.Y)) * inv;
        if (t1 > 0 && firstPart) {
            firstCapHit = capHit(firstPlane, t1);
        }
        lower = upper = t1;
        const double t2 = (secondPlane - double(p.Y)) * inv;
        if (t2 > 0 && secondPart && (t2 < t1 || !firstCapHit)) {
            capHit(secondPlane, t2);
        }
        lower = std::min(lower, t2);
        upper = std::max(upper, t2);
    }
    if (firstCapHit) {
        return true;
    }

    // Side candidates: the roots on the outer tube, then on the inner one. A ray along
    // the axis never meets a side.
    double candidates[4] = {-1, -1, -1, -1};
    const double a = double(d.X) * d.X + double(d.Z) * d.Z;
    if (a > 0) {
        const double b = 2 * (double(p.X) * d.X + double(p.Z) * d.Z);
        const double pp = double(p.X) * p.X + double(p.Z) * p.Z;
        const auto tube = [&](double r2, double* out) {
            const double c[3] = {pp - r2, b, a};
            const TDoubleArray roots = SolveQuadratic(c);
            for (std::size_t i = 0; i < roots.size() && i < 2; ++i) {
                if (roots[i] > lower && roots[i] < upper) {
                    out[i] = roots[i];
                }
            }
        };
        if (parts_ & anOuterSides) {
            tube(outer2, candidates);
        }
        if (parts_ & anInnerSides) {
            tube(inner2, candidates + 2);
        }
    }
    double t = 0;
    if (MinPositiveRoot(TDoubleArray(std::begin(candidates), std::end(candidates)), t) && t >= lower && t < upper) {
        const TVector local = CombineVectors(p, d, 1, static_cast<float>(t));
        report(local, {local.X, 0, local.Z, 0});
    }
    return hit;
}
