#include "scene/objects/shapes/Torus.h"

#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/PolynomialSolvers.h"
#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

#include <algorithm>
#include <cmath>
#include <limits>

void TGLTorus::SetMajorRadius(float value)
{
    StoreAndRebuild(*this, majorRadius_, value);
}

void TGLTorus::SetMinorRadius(float value)
{
    StoreAndRebuild(*this, minorRadius_, value);
}

void TGLTorus::SetRings(std::uint32_t value)
{
    if (value != rings_) {
        rings_ = std::max<std::uint32_t>(value, 2);
        StructureChanged();
    }
}

void TGLTorus::SetSides(std::uint32_t value)
{
    if (value != sides_) {
        sides_ = std::max<std::uint32_t>(value, 3);
        StructureChanged();
    }
}

TVector TGLTorus::UnscaledHalfExtents() const
{
    const float r = std::fabs(majorRadius_) + std::fabs(minorRadius_);
    return {r, r, std::fabs(minorRadius_), 0};
}

void TGLTorus::BuildList(TRenderContextInfo& /*rci*/)
{
    constexpr float TwoPi = 6.2831853071795864769f;
    const float ringDelta = TwoPi / rings_, sideDelta = TwoPi / sides_;
    const float sStep = 1.0f / rings_, tStep = 1.0f / sides_;
    float theta = 0, cosTheta = 1, sinTheta = 0;
    for (std::uint32_t i = rings_; i-- > 0;) {
        const float theta1 = theta + ringDelta;
        float sinTheta1 = 0, cosTheta1 = 0;
        SinCos(theta1, sinTheta1, cosTheta1);
        GL.glBegin(GL_QUAD_STRIP);
        float phi = 0;
        for (std::uint32_t j = sides_ + 1; j-- > 0;) {
            phi += sideDelta;
            float sinPhi = 0, cosPhi = 0;
            SinCos(phi, sinPhi, cosPhi);
            const float dist = majorRadius_ + minorRadius_ * cosPhi;
            const float z = minorRadius_ * sinPhi;
            TexCoordRouter.TexCoord2f(i * sStep, j * tStep);
            GL.glNormal3f(cosTheta1 * cosPhi, -sinTheta1 * cosPhi, sinPhi);
            GL.glVertex3f(cosTheta1 * dist, -sinTheta1 * dist, z);
            TexCoordRouter.TexCoord2f((i + 1) * sStep, j * tStep);
            GL.glNormal3f(cosTheta * cosPhi, -sinTheta * cosPhi, sinPhi);
            GL.glVertex3f(cosTheta * dist, -sinTheta * dist, z);
        }
        GL.glEnd();
        theta = theta1;
        cosTheta = cosTheta1;
        sinTheta = sinTheta1;
    }
}

bool TGLTorus::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                                TVector* intersectNormal)
{
    const TVector p = AbsoluteToLocal(rayStart);
    const TVector d = NormalizedVector(AbsoluteToLocal(rayVector));
    const double R2 = double(majorRadius_) * majorRadius_;
    const double r2 = double(minorRadius_) * minorRadius_;
    const double px = p.X, py = p.Y, pz = p.Z, dz = d.Z;
    const double B = px * d.X + py * d.Y + pz * dz;
    const double C = px * px + py * py + pz * pz - (R2 + r2);
    const double c[5] = {C * C - 4 * R2 * (r2 - pz * pz), 4 * B * C + 8 * R2 * dz * pz, 4 * B * B + 2 * C + 4 * R2 * dz * dz,
                         4 * B, 1};
    double t = std::numeric_limits<double>::infinity();
    for (double root : SolveQuartic(c)) {
        if (root > 0 && root < t) {
            t = root;
        }
    }
    if (t == std::numeric_limits<double>::infinity()) {
        return false;
    }
    const TVector q = CombineVectors(p, d, 1, static_cast<float>(t));
    if (intersectPoint) {
        *intersectPoint = LocalToAbsolute(q);
    }
    if (intersectNormal) {
        // The nearest point of the centre circle; the small term keeps a hit on the
        // axis finite.
        const double f = majorRadius_ / (std::sqrt(double(q.X) * q.X + double(q.Y) * q.Y) + 1e-6);
        *intersectNormal = LocalToAbsolute(
            {static_cast<float>(q.X - q.X * f), static_cast<float>(q.Y - q.Y * f), q.Z, 0});
    }
    return true;
}
