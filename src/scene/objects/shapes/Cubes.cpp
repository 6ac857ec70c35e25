#include "scene/objects/shapes/Cubes.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/Filer.h"
#include "platform/core/files/Stream.h"
#include "scene/rendering/GLContext.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/VectorArithmetic.h"

#include <bit>
#include <cmath>

// ---- TGLDummyCube ----

TGLDummyCube::TGLDummyCube(TComponent* owner)
    : TGLCameraInvariantObject(owner), edgeColor_(std::make_unique<TGLColor>(this, ColorWhite)),
      groupList_(std::make_unique<TGLListHandle>())
{
    IncludeStyle(osNoDisplayList);
}

TGLDummyCube::~TGLDummyCube() = default;

void TGLDummyCube::SetCubeSize(float value)
{
    if (cubeSize_ != value) {
        cubeSize_ = value;
        StructureChanged();
    }
}

void TGLDummyCube::SetEdgeColor(const TGLColor& value)
{
    if (&value != edgeColor_.get()) {
        edgeColor_->Assign(&value);
        StructureChanged();
    }
}

void TGLDummyCube::SetVisibleAtRunTime(bool value)
{
    if (visibleAtRunTime_ != value) {
        visibleAtRunTime_ = value;
        StructureChanged();
    }
}

void TGLDummyCube::SetAmalgamate(bool value)
{
    if (amalgamate_ == value) {
        return;
    }
    amalgamate_ = value;
    if (value) {
        IncludeStyle(osResetStatesAfterRender);
    } else {
        groupList_->DestroyHandle();
        ExcludeStyle(osResetStatesAfterRender);
    }
    StructureChanged();
}

void TGLDummyCube::StructureChanged()
{
    if (amalgamate_) {
        groupList_->DestroyHandle();
    }
    TGLCameraInvariantObject::StructureChanged();
}

void TGLDummyCube::Assign(const TPersistent* source)
{
    if (const auto* cube = ObjectCast<TGLDummyCube>(source)) {
        cubeSize_ = cube->cubeSize_;
        visibleAtRunTime_ = cube->visibleAtRunTime_;
        edgeColor_->Initialize(cube->edgeColor_->Color());
        NotifyChange(this);
    }
    TGLCameraInvariantObject::Assign(source);
}

TVector TGLDummyCube::AbsoluteBarycenter() const
{
    if (Count() == 0) {
        return AbsolutePosition();
    }
    TVector sum{0, 0, 0, 0};
    for (int i = 0; i < Count(); ++i) {
        const TVector c = Children(i)->AbsoluteBarycenter();
        for (int k = 0; k < 4; ++k) {
            sum[k] += c[k];
        }
    }
    const float f = 1.0f / static_cast<float>(Count());
    return {sum.X * f, sum.Y * f, sum.Z * f, sum.W * f};
}

TVector TGLDummyCube::UnscaledHalfExtents() const
{
    const float h = std::fabs(cubeSize_) * 0.5f;
    return {h, h, h, 0};
}

void TGLDummyCube::BuildList(TRenderContextInfo& rci)
{
    if (Designing || visibleAtRunTime_) {
        RenderWireCube(rci, true, edgeColor_->Color(), cubeSize_);
    }
}

void TGLDummyCube::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (OnVisibilityDetermination && !OnVisibilityDetermination(this, rci)) {
        return;
    }
    if (!amalgamate_ || rci.amalgamating) {
        TGLCameraInvariantObject::DoRender(rci, renderSelf, renderChildren);
        return;
    }
    if (groupList_->Handle() == 0) {
        groupList_->AllocateHandle();
        if (groupList_->Handle() == 0) {
            const std::string message = std::string("Handle=0 for ") + ClassName();
            KP_ASSERT_MSG(false, message.c_str());
        }
        GL.glNewList(groupList_->Handle(), GL_COMPILE);
        rci.amalgamating = true;
        try {
            TGLCameraInvariantObject::DoRender(rci, renderSelf, renderChildren);
        } catch (...) {
            rci.amalgamating = false;
            GL.glEndList();
            throw;
        }
        rci.amalgamating = false;
        GL.glEndList();
    }
    GL.glCallList(groupList_->Handle());
}

// ---- TGLCube ----

namespace {
struct TFaceCorner {
    float s, t;
    float x, y, z; // signs of the half sizes
};
struct TCubeFace {
    TCubePart part;
    float nx, ny, nz; // times +1 outside, -1 inside
    TFaceCorner corners[4];
};
// Drawing order; every face counter-clockwise seen from outside.
constexpr TCubeFace CubeFaces[6] = {
    {cpFront, 0, 0, 1, {{1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}, {0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}}},
    {cpBack, 0, 0, -1, {{0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}, {1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}}},
    {cpLeft, -1, 0, 0, {{1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}, {0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}}},
    {cpRight, 1, 0, 0, {{0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}, {1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}}},
    {cpTop, 0, 1, 0, {{0, 1, -1, 1, -1}, {0, 0, -1, 1, 1}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, -1}}},
    {cpBottom, 0, -1, 0, {{0, 0, -1, -1, -1}, {1, 0, 1, -1, -1}, {1, 1, 1, -1, 1}, {0, 1, -1, -1, 1}}},
};

} // namespace

TGLCube::TGLCube(TComponent* owner) : TGLWorldObject(owner)
{
    IncludeStyle(osNoDisplayList);
}

void TGLCube::SetSize(float& field, float value)
{
    if (field != value) {
        field = value;
        StructureChanged();
    }
}

void TGLCube::SetCubeWidth(float value)
{
    SetSize(width_, value);
}

void TGLCube::SetCubeHeight(float value)
{
    SetSize(height_, value);
}

void TGLCube::SetCubeDepth(float value)
{
    SetSize(depth_, value);
}

void TGLCube::SetParts(TCubeParts value)
{
    if (parts_ != value) {
        parts_ = value;
        StructureChanged();
    }
}

void TGLCube::SetNormalDirection(TNormalDirection value)
{
    if (normalDirection_ != value) {
        normalDirection_ = value;
        StructureChanged();
    }
}

void TGLCube::DefineProperties(TFiler* filer)
{
    TGLWorldObject::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "CubeSize",
        [this](TStream& s) {
            width_ = ReadSingleLE(s);
            height_ = ReadSingleLE(s);
            depth_ = ReadSingleLE(s);
        },
        [this](TStream& s) {
            WriteSingleLE(s, width_);
            WriteSingleLE(s, height_);
            WriteSingleLE(s, depth_);
        },
        width_ != 1.0f || height_ != 1.0f || depth_ != 1.0f);
}

void TGLCube::Assign(const TPersistent* source)
{
    if (const auto* cube = ObjectCast<TGLCube>(source)) {
        width_ = cube->width_;
        height_ = cube->height_;
        depth_ = cube->depth_;
        parts_ = cube->parts_;
        normalDirection_ = cube->normalDirection_;
    }
    TGLWorldObject::Assign(source);
}

TVector TGLCube::UnscaledHalfExtents() const
{
    return {width_ * 0.5f, height_ * 0.5f, depth_ * 0.5f, 0};
}

void TGLCube::BuildList(TRenderContextInfo&)
{
    const float h[3] = {width_ * 0.5f, height_ * 0.5f, depth_ * 0.5f};
    const float n = normalDirection_ == ndOutside ? 1.0f : -1.0f;
    GL.glBegin(GL_QUADS);
    for (const TCubeFace& face : CubeFaces) {
        if ((parts_ & CubePartBit(face.part)) == 0) {
            continue;
        }
        GL.glNormal3f(face.nx * n, face.ny * n, face.nz * n);
        for (const TFaceCorner& c : face.corners) {
            TexCoordRouter.TexCoord2f(c.s, c.t);
            GL.glVertex3f(c.x * h[0], c.y * h[1], c.z * h[2]);
        }
    }
    GL.glEnd();
}

bool TGLCube::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                               TVector* intersectNormal)
{
    const TVector ls = AbsoluteToLocal(TVector{rayStart.X, rayStart.Y, rayStart.Z, 1});
    const TVector lv = AbsoluteToLocal(TVector{rayVector.X, rayVector.Y, rayVector.Z, 0});
    const double len = std::sqrt(double(lv.X) * lv.X + double(lv.Y) * lv.Y + double(lv.Z) * lv.Z);
    if (len == 0) {
        return false;
    }
    const double s[3] = {ls.X, ls.Y, ls.Z};
    const double d[3] = {lv.X / len, lv.Y / len, lv.Z / len};
    const double size[3] = {width_, height_, depth_};
    const double e[3] = {size[0] * 0.5001, size[1] * 0.5001, size[2] * 0.5001};
    for (int i = 0; i < 6; ++i) {
        const int axis = i % 3;
        const double sign = i < 3 ? 1.0 : -1.0; // p = sign along axis
        const double pd = sign * d[axis];
        if (pd <= 0) {
            continue;
        }
        const double t = -(sign * s[axis] + 0.5 * size[axis]) / pd;
        const double h[3] = {s[0] + t * d[0], s[1] + t * d[1], s[2] + t * d[2]};
        const double ahead = (h[0] - s[0]) * d[0] + (h[1] - s[1]) * d[1] + (h[2] - s[2]) * d[2];
        if (std::fabs(h[0]) <= e[0] && std::fabs(h[1]) <= e[1] && std::fabs(h[2]) <= e[2] && ahead > 0) {
            if (intersectPoint) {
                *intersectPoint = LocalToAbsolute(TVector{float(h[0]), float(h[1]), float(h[2]), 1});
            }
            if (intersectNormal) {
                TVector normal{0, 0, 0, 0};
                normal[axis] = float(-sign);
                *intersectNormal = LocalToAbsolute(normal);
            }
            return true;
        }
    }
    return false;
}

std::unique_ptr<TGLSilhouette> TGLCube::GenerateSilhouette(const TGLSilhouetteParameters& params)
{
    TConnectivity connectivity(true);
    const float h[3] = {width_ * 0.5f, height_ * 0.5f, depth_ * 0.5f};
    for (const TCubeFace& face : CubeFaces) {
        if ((parts_ & CubePartBit(face.part)) == 0) {
            continue;
        }
        TAffineVector p[4];
        for (int k = 0; k < 4; ++k) {
            p[k] = {face.corners[k].x * h[0], face.corners[k].y * h[1], face.corners[k].z * h[2]};
        }
        connectivity.AddQuad(p[0], p[1], p[2], p[3]);
    }
    TGLSilhouette* silhouette = nullptr;
    connectivity.CreateSilhouette(params, silhouette, false);
    return std::unique_ptr<TGLSilhouette>(silhouette);
}
