#include "scene/objects/shapes/Sprite.h"

#include "scene/rendering/GLStateCache.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

TGLSprite::TGLSprite(TComponent* owner) : TGLWorldObject(owner)
{
    IncludeStyle(osNoDisplayList);
    IncludeStyle(osNeverCulled);
}

void TGLSprite::SetValue(float& field, float value)
{
    if (value != field) {
        field = value;
        NotifyChange(this);
    }
}

void TGLSprite::SetFlag(bool& field, bool value)
{
    field = value;
    NotifyChange(this);
}

void TGLSprite::SetWidth(float value)
{
    SetValue(width_, value);
}

void TGLSprite::SetHeight(float value)
{
    SetValue(height_, value);
}

void TGLSprite::SetRotation(float value)
{
    SetValue(rotation_, value);
}

void TGLSprite::SetAlphaChannel(float value)
{
    if (value != alphaChannel_) {
        SetValue(alphaChannel_, std::clamp(value, 0.0f, 1.0f));
    }
}

void TGLSprite::SetNoZWrite(bool value)
{
    SetFlag(noZWrite_, value);
}

void TGLSprite::SetMirrorU(bool value)
{
    SetFlag(mirrorU_, value);
}

void TGLSprite::SetMirrorV(bool value)
{
    SetFlag(mirrorV_, value);
}

void TGLSprite::Assign(const TPersistent* source)
{
    if (const auto* sprite = ObjectCast<TGLSprite>(source)) {
        width_ = sprite->width_;
        height_ = sprite->height_;
        rotation_ = sprite->rotation_;
        alphaChannel_ = sprite->alphaChannel_;
        noZWrite_ = sprite->noZWrite_;
    }
    TGLWorldObject::Assign(source);
}

TVector TGLSprite::UnscaledHalfExtents() const
{
    const float hw = std::fabs(width_) * 0.5f;
    return {hw, std::fabs(height_) * 0.5f, hw, 0};
}

namespace {

// The vector scaled to the given length; a null vector stays null.
TAffineVector ScaledTo(TAffineVector v, float length)
{
    const double norm = AffineVectorLength(v);
    if (norm == 0) {
        return v;
    }
    const double f = length / norm;
    return {static_cast<float>(v.X * f), static_cast<float>(v.Y * f), static_cast<float>(v.Z * f)};
}

} // namespace

void TGLSprite::BuildList(TRenderContextInfo& rci)
{
    if (alphaChannel_ != 1.0f && rci.GLStates) {
        rci.GLStates->SetMaterialAlpha(GL_FRONT, alphaChannel_);
    }
    if (noZWrite_) {
        GL.glDepthMask(GL_FALSE);
    }
    // The camera's right and up axes, in the object's frame, are the first two
    // columns of the model-view matrix.
    GLfloat m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    GL.glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const TAffineVector r = ScaledTo({m[0], m[4], m[8]}, width_ * 0.5f);
    const TAffineVector u = ScaledTo({m[1], m[5], m[9]}, height_ * 0.5f);

    float sa = 0, sb = 1, ta = 0, tb = 1;
    if (mirrorU_) {
        std::swap(sa, sb);
    }
    if (mirrorV_) {
        std::swap(ta, tb);
    }
    const bool turned = rotation_ != 0;
    if (turned) {
        GL.glPushMatrix();
        GL.glRotatef(rotation_, m[2], m[6], m[10]);
    }
    GL.glBegin(GL_QUADS);
    TexCoordRouter.TexCoord2f(sb, tb);
    GL.glVertex3f(r.X + u.X, r.Y + u.Y, r.Z + u.Z);
    TexCoordRouter.TexCoord2f(sa, tb);
    GL.glVertex3f(-r.X + u.X, -r.Y + u.Y, -r.Z + u.Z);
    TexCoordRouter.TexCoord2f(sa, ta);
    GL.glVertex3f(-r.X - u.X, -r.Y - u.Y, -r.Z - u.Z);
    TexCoordRouter.TexCoord2f(sb, ta);
    GL.glVertex3f(r.X - u.X, r.Y - u.Y, r.Z - u.Z);
    GL.glEnd();
    if (turned) {
        GL.glPopMatrix();
    }
    if (noZWrite_) {
        GL.glDepthMask(GL_TRUE);
    }
}
