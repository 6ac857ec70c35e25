#include "scene/objects/shapes/Sphere.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>
#include <cmath>

namespace {



void TexCoord(float s, float t)
{
    if (TexCoordRouter.TexCoord2f) {
        TexCoordRouter.TexCoord2f(s, t);
    }
}

// A point of the unit sphere; it is its own outward normal.
TAffineVector UnitSpherePoint(long double latitude, long double longitude)
{
    const long double c = std::cos(latitude);
    return {static_cast<float>(c * std::sin(longitude)), static_cast<float>(std::sin(latitude)),
            static_cast<float>(c * std::cos(longitude))};
}

} // namespace

void TGLSphere::SetRadius(float value)
{
    if (value != radius_) {
        radius_ = value;
        StructureChanged();
    }
}

void TGLSphere::SetSlices(int value)
{
    value = std::max(value, 1);
    if (value != slices_) {
        slices_ = value;
        StructureChanged();
    }
}

void TGLSphere::SetStacks(int value)
{
    value = std::max(value, 1);
    if (value != stacks_) {
        stacks_ = value;
        StructureChanged();
    }
}

void TGLSphere::SetTop(int value)
{
    value = std::clamp(value, -90, 90);
    if (value != top_) {
        top_ = static_cast<std::int8_t>(value);
        StructureChanged();
    }
}

void TGLSphere::SetBottom(int value)
{
    value = std::clamp(value, -90, 90);
    if (value != bottom_) {
        bottom_ = static_cast<std::int8_t>(value);
        StructureChanged();
    }
}

void TGLSphere::SetStart(int value)
{
    value = std::clamp(value, 0, 360);
    if (value != start_) {
        KP_ASSERT(value <= stop_);
        start_ = static_cast<std::uint16_t>(value);
        StructureChanged();
    }
}

void TGLSphere::SetStop(int value)
{
    value = std::clamp(value, 0, 360);
    if (value != stop_) {
        KP_ASSERT(value >= start_);
        stop_ = static_cast<std::uint16_t>(value);
        StructureChanged();
    }
}

void TGLSphere::SetTopCap(TCapType value)
{
    if (value != topCap_) {
        topCap_ = value;
        StructureChanged();
    }
}

void TGLSphere::SetBottomCap(TCapType value)
{
    if (value != bottomCap_) {
        bottomCap_ = value;
        StructureChanged();
    }
}

void TGLSphere::Assign(const TPersistent* source)
{
    if (const auto* sphere = ObjectCast<TGLSphere>(source)) {
        radius_ = sphere->radius_;
        slices_ = sphere->slices_;
        stacks_ = sphere->stacks_;
        bottom_ = sphere->bottom_;
        top_ = sphere->top_;
        start_ = sphere->start_;
        stop_ = sphere->stop_;
    }
    TGLQuadricObject::Assign(source);
}

TVector TGLSphere::UnscaledHalfExtents() const
{
    const float r = std::fabs(radius_);
    return {r, r, r, 0};
}

bool TGLSphere::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                                 TVector* intersectNormal)
{
    const TVector localStart = AbsoluteToLocal(rayStart);
    const TVector localVector = NormalizedVector(AbsoluteToLocal(rayVector));
    TVector i1{}, i2{};
    // A negative radius draws the same surface, mirrored.
    if (IntersectRaySphere(localStart, localVector, {0, 0, 0, 1}, std::fabs(radius_), i1, i2) <= 0) {
        return false;
    }
    if (intersectPoint) {
        *intersectPoint = LocalToAbsolute(i1);
    }
    if (intersectNormal) {
        *intersectNormal = LocalToAbsolute({i1.X, i1.Y, i1.Z, 0});
    }
    return true;
}

std::unique_ptr<TGLSilhouette> TGLSphere::GenerateSilhouette(const TGLSilhouetteParameters& params)
{
    const int n = std::max(stacks_, slices_);
    const TAffineVector& s = params.Position;
    TAffineVector u = AffineCrossProduct(s, XVector);
    if (AffineVectorLength(u) < 0.001) {
        u = AffineCrossProduct(s, YVector);
    }
    TAffineVector w = AffineCrossProduct(s, u);
    u = NormalizedAffineVector(u);
    w = NormalizedAffineVector(w);

    auto silhouette = std::make_unique<TGLSilhouette>();
    silhouette->Vertices.EnsureCapacity(n + 1);
    const double step = 2 * 3.14159265358979323846 / n;
    for (int i = 0; i < n; ++i) {
        const double a = i * step, c = std::cos(a), si = std::sin(a);
        silhouette->Vertices.Add(MakeVector(static_cast<float>(radius_ * (c * u.X + si * w.X)),
                                            static_cast<float>(radius_ * (c * u.Y + si * w.Y)),
                                            static_cast<float>(radius_ * (c * u.Z + si * w.Z)), 1));
        silhouette->Indices.Add(i);
        silhouette->Indices.Add((i + 1) % n);
        if (params.Capping) {
            silhouette->CapIndices.Add(n);
            silhouette->CapIndices.Add(i);
            silhouette->CapIndices.Add((i + 1) % n);
        }
    }
    if (params.Capping) {
        silhouette->Vertices.Add(MakeVector(0, 0, 0, 1));
    }
    return silhouette;
}

// A fan from the centre (or the edge's height) to the rim of the top or bottom edge;
// the bottom rim runs backwards so that both fans keep their outward winding.
void TGLSphere::DrawCap(bool top, long double latitude, long double step) const
{
    const TCapType cap = top ? topCap_ : bottomCap_;
    const float inward = NormalDirection() == ndInside ? -1.0f : 1.0f;
    const float axis = top ? 1.0f : -1.0f;
    const TAffineVector centreNormal{0, axis * inward, 0};
    const float sinLatitude = static_cast<float>(std::sin(latitude));
    GL.glBegin(GL_TRIANGLE_FAN);
    TexCoord(0.5f, 0.5f);
    GL.glNormal3fv(&centreNormal.X);
    GL.glVertex3f(0, cap == ctCenter ? 0 : sinLatitude, 0);
    const long double first = (top ? start_ : stop_) * DegToRadFactorExtended;
    for (int i = 0; i <= slices_; ++i) {
        const long double theta = top ? first + i * step : first - i * step;
        const TAffineVector v = UnitSpherePoint(latitude, theta);
        TexCoord(static_cast<float>(std::sin(theta) * 0.5 + 0.5), static_cast<float>(std::cos(theta) * 0.5 + 0.5));
        if (cap == ctFlat) {
            GL.glNormal3fv(&centreNormal.X);
        } else {
            // The part of the cap's axis perpendicular to the rim point.
            const float along = axis * v.Y;
            const TAffineVector n{-along * v.X, axis - along * v.Y, -along * v.Z};
            GL.glNormal3f(n.X * inward, n.Y * inward, n.Z * inward);
        }
        GL.glVertex3fv(&v.X);
    }
    GL.glEnd();
}

void TGLSphere::BuildList(TRenderContextInfo& rci)
{
    const long double T = top_ * DegToRadFactorExtended, B = bottom_ * DegToRadFactorExtended;
    const long double S = start_ * DegToRadFactorExtended, E = stop_ * DegToRadFactorExtended;
    const long double a1 = (E - S) / slices_;
    const long double a2 = (T - B) / stacks_;
    const bool inside = NormalDirection() == ndInside;

    GL.glPushAttrib(GL_POLYGON_BIT);
    if (inside && rci.GLStates) {
        rci.GLStates->InvertFrontFace();
    }
    GL.glPushMatrix();
    GL.glScalef(radius_, radius_, radius_);

    if (top_ < 90 && (topCap_ == ctCenter || topCap_ == ctFlat)) {
        DrawCap(true, T, a1);
    }

    const float invSlices = 1.0f / slices_;
    const float invStacks = 1.0f / stacks_;
    const float sign = inside ? -1.0f : 1.0f;
    for (int j = 0; j < stacks_; ++j) {
        const long double phi1 = T - j * a2, phi2 = phi1 - a2;
        const float t1 = 1 - j * invStacks, t2 = 1 - (j + 1) * invStacks;
        GL.glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= slices_; ++i) {
            const long double theta = S + i * a1;
            const float s = i * invSlices;
            const TAffineVector p1 = UnitSpherePoint(phi1, theta);
            const TAffineVector p2 = UnitSpherePoint(phi2, theta);
            TexCoord(s, t1);
            GL.glNormal3f(p1.X * sign, p1.Y * sign, p1.Z * sign);
            GL.glVertex3fv(&p1.X);
            TexCoord(s, t2);
            GL.glNormal3f(p2.X * sign, p2.Y * sign, p2.Z * sign);
            GL.glVertex3fv(&p2.X);
        }
        GL.glEnd();
    }

    if (bottom_ > -90 && (bottomCap_ == ctCenter || bottomCap_ == ctFlat)) {
        DrawCap(false, B, a1);
    }

    GL.glPopMatrix();
    if (inside && rci.GLStates) {
        rci.GLStates->InvertFrontFace();
    }
    GL.glPopAttrib();
}
