#include "scene/objects/lines/LineView.h"

#include "scene/base/OpenGLBinding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using TAxes = std::array<TPoint3d, 3>;

TAxes Linear(const TMatrix& m)
{
    TAxes axes{};
    for (int r = 0; r < 3; ++r) {
        axes[r] = {m.V[r].X, m.V[r].Y, m.V[r].Z};
    }
    return axes;
}

TPoint3d Translation(const TMatrix& m)
{
    return {m.V[3].X, m.V[3].Y, m.V[3].Z};
}

// The row vector v times m.
TPoint3d Times(const TPoint3d& v, const TAxes& m)
{
    TPoint3d r{};
    for (int c = 0; c < 3; ++c) {
        r[c] = v[0] * m[0][c] + v[1] * m[1][c] + v[2] * m[2][c];
    }
    return r;
}

TPoint3d Plus(const TPoint3d& a, const TPoint3d& b)
{
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

TPoint3d Minus(const TPoint3d& a, const TPoint3d& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

bool Finite(const TPoint3d& p)
{
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// False for a matrix that does not invert.
bool Invert(const TAxes& m, TAxes& inverse)
{
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (det == 0 || !std::isfinite(det)) {
        return false;
    }
    inverse[0] = {c00 / det, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det,
                  (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det};
    inverse[1] = {c01 / det, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det,
                  (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det};
    inverse[2] = {c02 / det, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det,
                  (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det};
    return Finite(inverse[0]) && Finite(inverse[1]) && Finite(inverse[2]);
}

double Length(const TPoint3d& v)
{
    return std::hypot(v[0], v[1], v[2]);
}

} // namespace

TLineView::TLineView(const TMatrix& local, const TMatrix& view, const TMatrix& projection)
{
    Build(local, view, projection);
}

TLineView::TLineView(const TMatrix& local, const TRenderContextInfo& rci)
{
    if (!rci.modelViewMatrix) {
        return;
    }
    TMatrix projection{};
    GL.glGetFloatv(GL_PROJECTION_MATRIX, &projection.V[0].X);
    Build(local, *rci.modelViewMatrix, projection);
}

void TLineView::Build(const TMatrix& local, const TMatrix& view, const TMatrix& projection)
{
    // How near the camera sees (or how wide, looking parallel), in eye units.
    const TMatrix& p = projection;
    double nearest = 0;
    if (p.V[2].W == -1 && p.V[3].W == 0) {
        nearest = double(p.V[3].Z) / (double(p.V[2].Z) - 1);
    } else if (p.V[2].W == 0 && p.V[3].W == 1) {
        nearest = std::min(1 / std::abs(double(p.V[0].X)), 1 / std::abs(double(p.V[1].Y)));
    }
    if (!(nearest > 0) || !std::isfinite(nearest)) {
        return;
    }
    const TAxes objectAxes = Linear(local);
    const TAxes viewAxes = Linear(view);
    const TPoint3d objectOrigin = Translation(local);
    const TPoint3d viewOrigin = Translation(view);
    TAxes objectInverse{};
    TAxes viewInverse{};
    if (!Invert(objectAxes, objectInverse) || !Invert(viewAxes, viewInverse)) {
        return;
    }
    // The eye in the world (where the view puts the origin of eye coordinates), then in
    // the object's coordinates: in two steps, as the scene composes its matrices.
    const TPoint3d eyeInWorld = Times(TPoint3d{-viewOrigin[0], -viewOrigin[1], -viewOrigin[2]}, viewInverse);
    FCamera = Times(Minus(eyeInWorld, objectOrigin), objectInverse);
    for (int r = 0; r < 3; ++r) {
        FAxes[r] = Times(objectAxes[r], viewAxes);
    }
    const double unit = std::max({Length(FAxes[0]), Length(FAxes[1]), Length(FAxes[2])});
    FNear = nearest / unit;
    if (!Finite(FCamera) || !(FNear > 0) || !std::isfinite(FNear)) {
        return;
    }
    const double cameraReach = std::max({std::abs(FCamera[0]), std::abs(FCamera[1]), std::abs(FCamera[2])});
    if (cameraReach <= DetailReach * FNear) {
        FDirectReach = DetailReach * FNear;
        FReference = {0, 0, 0};
    } else {
        // The camera far from the origin: a point near it drawn through the object's
        // matrix has no precision left for the view's detail.
        FDirectReach = 0;
        // (Within single precision's range: a view of paths from -3E38 to 3E38 has its
        // camera beyond it.)
        for (int k = 0; k < 3; ++k) {
            const double most = std::numeric_limits<float>::max();
            FReference[k] = static_cast<float>(std::clamp(FCamera[k], -most, most));
        }
    }
    FEyeReference = Plus(Times(Plus(Times(FReference, objectAxes), objectOrigin), viewAxes), viewOrigin);
    // The frustum: -w <= x, y, z <= w of the clip coordinates, as planes of the object's
    // coordinates relative to the reference.
    for (int c = 0; c < 3; ++c) {
        for (const double sign : {1.0, -1.0}) {
            double g[4];
            for (int r = 0; r < 4; ++r) {
                g[r] = double(p.V[r].W) + sign * double(p.V[r][c]);
            }
            TClipPlane plane;
            for (int k = 0; k < 3; ++k) {
                plane.Normal[k] = FAxes[k][0] * g[0] + FAxes[k][1] * g[1] + FAxes[k][2] * g[2];
            }
            plane.Offset = FEyeReference[0] * g[0] + FEyeReference[1] * g[1] + FEyeReference[2] * g[2] + g[3];
            const double length = Length(plane.Normal);
            if (!std::isfinite(length) || !std::isfinite(plane.Offset)) {
                return;
            }
            if (length == 0) {
                // A far plane that single precision put at infinity.
                if (plane.Offset < 0) {
                    return;
                }
                continue;
            }
            for (double& n : plane.Normal) {
                n /= length;
            }
            plane.Offset /= length;
            FPlanes[FPlaneCount++] = plane;
        }
    }
    FValid = Finite(FEyeReference);
}

bool TLineView::Direct(const TAffineVector& low, const TAffineVector& high) const
{
    if (!FValid) {
        return true;
    }
    // The nearest and the farthest the points may lie from the camera, on any axis:
    // OpenGL's error grows with the farthest (and with the origin's distance, which
    // its matrix adds), the detail shown with the nearest.
    double nearest = 0;
    double farthest = std::max({std::abs(FCamera[0]), std::abs(FCamera[1]), std::abs(FCamera[2])});
    const float lows[3] = {low.X, low.Y, low.Z};
    const float highs[3] = {high.X, high.Y, high.Z};
    for (int k = 0; k < 3; ++k) {
        const double below = double(lows[k]) - FCamera[k];
        const double above = FCamera[k] - double(highs[k]);
        nearest = std::max({nearest, below, above});
        farthest = std::max({farthest, std::abs(below), std::abs(double(highs[k]) - FCamera[k])});
    }
    return farthest <= DetailReach * std::max(nearest, FNear);
}

bool TLineView::Direct(const TAffineVector& p) const
{
    if (!FValid) {
        return true;
    }
    return std::abs(double(p.X) - FCamera[0]) <= FDirectReach && std::abs(double(p.Y) - FCamera[1]) <= FDirectReach &&
           std::abs(double(p.Z) - FCamera[2]) <= FDirectReach;
}

TAffineVector TLineView::Eye(const TPoint3d& relative) const
{
    TPoint3d e = FEyeReference;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            e[c] += relative[r] * FAxes[r][c];
        }
    }
    return {static_cast<float>(e[0]), static_cast<float>(e[1]), static_cast<float>(e[2])};
}

bool TLineView::ClipToEye(const TAffineVector& a, const TAffineVector& b, TAffineVector& eyeFrom,
                          TAffineVector& eyeTo, bool& fromKept, bool& toKept) const
{
    const TPoint3d from = Minus({a.X, a.Y, a.Z}, FReference);
    const TPoint3d to = Minus({b.X, b.Y, b.Z}, FReference);
    TClippedSegment clipped;
    if (!ClipSegment(from, to, FPlanes, FPlaneCount, clipped)) {
        return false;
    }
    eyeFrom = Eye(clipped.From);
    eyeTo = Eye(clipped.To);
    fromKept = clipped.FromKept;
    toKept = clipped.ToKept;
    return true;
}
