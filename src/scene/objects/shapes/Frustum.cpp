#include "scene/objects/shapes/Frustum.h"

#include "platform/core/objects/Filer.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

#include <cmath>

void TGLFrustrum::SetApexHeight(float value)
{
    if (!(value >= 0) || value == apexHeight_) {
        return;
    }
    apexHeight_ = value;
    if (height_ > value) {
        height_ = value;
    }
    StructureChanged();
}

void TGLFrustrum::SetHeight(float value)
{
    if (!(value >= 0) || value == height_) {
        return;
    }
    height_ = value;
    if (apexHeight_ < value) {
        apexHeight_ = value;
    }
    StructureChanged();
}

void TGLFrustrum::SetSize(float& field, float value)
{
    if (value >= 0) {
        StoreAndRebuild(*this, field, value);
    }
}

void TGLFrustrum::SetBaseDepth(float value)
{
    SetSize(baseDepth_, value);
}

void TGLFrustrum::SetBaseWidth(float value)
{
    SetSize(baseWidth_, value);
}

void TGLFrustrum::SetParts(TFrustrumParts value)
{
    StoreAndRebuild(*this, parts_, value);
}

void TGLFrustrum::SetNormalDirection(TNormalDirection value)
{
    StoreAndRebuild(*this, normalDirection_, value);
}

void TGLFrustrum::DefineProperties(TFiler* filer)
{
    TGLWorldObject::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "FrustrumSize",
        [this](TStream& s) {
            SetApexHeight(ReadSingleLE(s));
            SetBaseDepth(ReadSingleLE(s));
            SetBaseWidth(ReadSingleLE(s));
            SetHeight(ReadSingleLE(s));
        },
        [this](TStream& s) {
            WriteSingleLE(s, apexHeight_);
            WriteSingleLE(s, baseDepth_);
            WriteSingleLE(s, baseWidth_);
            WriteSingleLE(s, height_);
        },
        apexHeight_ != 1.0f || baseDepth_ != 1.0f || baseWidth_ != 1.0f || height_ != 0.5f);
}

void TGLFrustrum::Assign(const TPersistent* source)
{
    if (const auto* frustum = ObjectCast<TGLFrustrum>(source)) {
        apexHeight_ = frustum->apexHeight_;
        baseDepth_ = frustum->baseDepth_;
        baseWidth_ = frustum->baseWidth_;
        height_ = frustum->height_;
        parts_ = frustum->parts_;
        normalDirection_ = frustum->normalDirection_;
    }
    TGLWorldObject::Assign(source);
}

TVector TGLFrustrum::UnscaledHalfExtents() const
{
    return {baseWidth_ * 0.5f, height_ * 0.5f, baseDepth_ * 0.5f, 0};
}

namespace {

struct TFaceCorner {
    float s, t;
    bool top;     // on the top face's outline, else on the base's
    float sx, sz; // signs of the half sizes
};
struct TFrustumFace {
    TFrustrumPart part;
    TFaceCorner corners[4];
};
// Drawing order; every face counter-clockwise seen from outside.
constexpr TFrustumFace FrustumFaces[6] = {
    {fpFront, {{1, 1, true, 1, 1}, {0, 1, true, -1, 1}, {0, 0, false, -1, 1}, {1, 0, false, 1, 1}}},
    {fpBack, {{0, 1, true, 1, -1}, {0, 0, false, 1, -1}, {1, 0, false, -1, -1}, {1, 1, true, -1, -1}}},
    {fpLeft, {{1, 1, true, -1, 1}, {0, 1, true, -1, -1}, {0, 0, false, -1, -1}, {1, 0, false, -1, 1}}},
    {fpRight, {{0, 1, true, 1, 1}, {0, 0, false, 1, 1}, {1, 0, false, 1, -1}, {1, 1, true, 1, -1}}},
    {fpTop, {{0, 1, true, -1, -1}, {0, 0, true, -1, 1}, {1, 0, true, 1, 1}, {1, 1, true, 1, -1}}},
    {fpBottom, {{0, 0, false, -1, -1}, {1, 0, false, 1, -1}, {1, 1, false, 1, 1}, {0, 1, false, -1, 1}}},
};

// The lean of a side, arctan(rise / run); a flat frustum without run counts as 0.
float Lean(float rise, float run)
{
    return static_cast<float>(std::atan2(rise, run));
}

} // namespace

void TGLFrustrum::BuildList(TRenderContextInfo& /*rci*/)
{
    const float sign = normalDirection_ == ndInside ? -1.0f : 1.0f;
    const float hw = baseWidth_ * 0.5f, hd = baseDepth_ * 0.5f, H = height_;
    // With the apex at 0 the frustum is flat and its top is its base.
    const float shrink = apexHeight_ > 0 ? (apexHeight_ - height_) / apexHeight_ : 1.0f;
    const float tw = shrink * hw, td = shrink * hd;
    float sinA = 0, cosA = 1, sinB = 0, cosB = 1;
    if (parts_ & (fpFront | fpBack)) {
        const float a = Lean(apexHeight_, hd);
        sinA = std::sin(a);
        cosA = std::cos(a);
    }
    if (parts_ & (fpLeft | fpRight)) {
        const float b = Lean(apexHeight_, hw);
        sinB = std::sin(b);
        cosB = std::cos(b);
    }
    const TAffineVector normals[6] = {{0, cosA, sinA}, {0, cosA, -sinA}, {-sinB, cosB, 0},
                                      {sinB, cosB, 0},  {0, 1, 0},        {0, -1, 0}};

    GL.glBegin(GL_QUADS);
    for (int f = 0; f < 6; ++f) {
        const TFrustumFace& face = FrustumFaces[f];
        if (!(parts_ & face.part) || (face.part == fpTop && !(height_ < apexHeight_))) {
            continue;
        }
        GL.glNormal3f(sign * normals[f].X, sign * normals[f].Y, sign * normals[f].Z);
        for (const TFaceCorner& c : face.corners) {
            const GLfloat tex[2] = {c.s, c.t};
            TexCoordRouter.TexCoord2fv(tex);
            GL.glVertex3f(c.sx * (c.top ? tw : hw), c.top ? H : 0, c.sz * (c.top ? td : hd));
        }
    }
    GL.glEnd();
}
