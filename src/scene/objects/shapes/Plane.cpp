#include "scene/objects/shapes/Plane.h"

#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

#include <algorithm>
#include <cmath>

TGLPlane::TGLPlane(TComponent* owner) : TGLWorldObject(owner)
{
    IncludeStyle(osNoDisplayList);
}

void TGLPlane::SetWidth(float value)
{
    StoreAndRebuild(*this, width_, value);
}

void TGLPlane::SetHeight(float value)
{
    StoreAndRebuild(*this, height_, value);
}

void TGLPlane::SetXOffset(float value)
{
    StoreAndRebuild(*this, xOffset_, value);
}

void TGLPlane::SetYOffset(float value)
{
    StoreAndRebuild(*this, yOffset_, value);
}

void TGLPlane::SetXScope(float value)
{
    StoreAndRebuild(*this, xScope_, std::min(value, 1.0f));
}

void TGLPlane::SetYScope(float value)
{
    StoreAndRebuild(*this, yScope_, std::min(value, 1.0f));
}

void TGLPlane::SetXTiles(std::uint32_t value)
{
    StoreAndRebuild(*this, xTiles_, std::max<std::uint32_t>(value, 1));
}

void TGLPlane::SetYTiles(std::uint32_t value)
{
    StoreAndRebuild(*this, yTiles_, std::max<std::uint32_t>(value, 1));
}

void TGLPlane::SetStyle(TPlaneStyles value)
{
    StoreAndRebuild(*this, style_, value);
}

void TGLPlane::Assign(const TPersistent* source)
{
    if (const auto* plane = ObjectCast<TGLPlane>(source)) {
        width_ = plane->width_;
        height_ = plane->height_;
    }
    TGLWorldObject::Assign(source);
}

TVector TGLPlane::UnscaledHalfExtents() const
{
    return {std::fabs(width_) * 0.5f, std::fabs(height_) * 0.5f, 0, 0};
}

bool TGLPlane::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                                TVector* intersectNormal)
{
    const TVector s = AbsoluteToLocal(rayStart);
    const TVector v = AbsoluteToLocal(rayVector);
    const bool fromFront = s.Z >= 0;
    // Only a ray that runs towards z = 0 can meet the plane.
    if (fromFront ? !(v.Z < 0) : !(v.Z > 0)) {
        return false;
    }
    const double t = double(s.Z) / v.Z;
    const double x = s.X - t * v.X, y = s.Y - t * v.Y;
    if (std::fabs(x) > std::fabs(width_) * 0.5 || std::fabs(y) > std::fabs(height_) * 0.5) {
        return false;
    }
    if (intersectPoint) {
        *intersectPoint = LocalToAbsolute({static_cast<float>(x), static_cast<float>(y), 0, 1});
    }
    if (intersectNormal) {
        const TVector direction = AbsoluteDirection();
        *intersectNormal = fromFront ? direction : NegatedVector(direction);
    }
    return true;
}

std::unique_ptr<TGLSilhouette> TGLPlane::GenerateSilhouette(const TGLSilhouetteParameters& params)
{
    const float hw = width_ * 0.5f, hh = height_ * 0.5f;
    auto silhouette = std::make_unique<TGLSilhouette>();
    silhouette->Vertices.AddPointXYZ(hw, hh, 0);
    silhouette->Vertices.AddPointXYZ(hw, -hh, 0);
    silhouette->Vertices.AddPointXYZ(-hw, -hh, 0);
    silhouette->Vertices.AddPointXYZ(-hw, hh, 0);
    for (int i = 0; i < 4; ++i) {
        silhouette->Indices.Add(i);
        silhouette->Indices.Add((i + 1) % 4);
    }
    if (params.Capping) {
        for (int i : {0, 1, 2, 2, 3, 0}) {
            silhouette->CapIndices.Add(i);
        }
    }
    return silhouette;
}

void TGLPlane::BuildList(TRenderContextInfo& /*rci*/)
{
    const float hw = width_ * 0.5f, hh = height_ * 0.5f;
    GL.glNormal3f(0, 0, 1);
    float s0 = 0, t0 = 0, s1 = xScope_, t1 = yScope_;
    if (style_ & psTileTexture) {
        s0 = xOffset_;
        s1 = xTiles_ * xScope_ + xOffset_;
        t0 = yOffset_;
        t1 = yTiles_ * yScope_ + yOffset_;
    }
    if (noZWrite_) {
        GL.glDepthMask(GL_FALSE);
    }
    if (style_ & psSingleQuad) {
        GL.glBegin(GL_QUADS);
        TexCoordRouter.TexCoord2f(s1, t1);
        GL.glVertex2f(hw, hh);
        TexCoordRouter.TexCoord2f(s0, t1);
        GL.glVertex2f(-hw, hh);
        TexCoordRouter.TexCoord2f(s0, t0);
        GL.glVertex2f(-hw, -hh);
        TexCoordRouter.TexCoord2f(s1, t0);
        GL.glVertex2f(hw, -hh);
        GL.glEnd();
    } else {
        const float ds = (s1 - s0) / xTiles_, dt = (t1 - t0) / yTiles_;
        const float dx = width_ / xTiles_, dy = height_ / yTiles_;
        for (std::uint32_t y = 0; y < yTiles_; ++y) {
            GL.glBegin(GL_TRIANGLE_STRIP);
            for (std::uint32_t x = 0; x <= xTiles_; ++x) {
                TexCoordRouter.TexCoord2f(s0 + x * ds, t0 + (y + 1) * dt);
                GL.glVertex2f(x * dx - hw, (y + 1) * dy - hh);
                TexCoordRouter.TexCoord2f(s0 + x * ds, t0 + y * dt);
                GL.glVertex2f(x * dx - hw, y * dy - hh);
            }
            GL.glEnd();
        }
    }
    if (noZWrite_) {
        GL.glDepthMask(GL_TRUE);
    }
}
