#include "scene/graph/FogEnvironment.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLContext.h"
#include "scene/graph/WorldBuffer.h"

#include <GL/glext.h>

namespace {
// Process-wide: the driver's mode before we changed it.
GLint gDefaultFogDistanceMode = 0;
} // namespace

GLint DefaultFogDistanceMode()
{
    return gDefaultFogDistanceMode;
}

void ResetDefaultFogDistanceMode()
{
    gDefaultFogDistanceMode = 0;
}

TGLFogEnvironment::TGLFogEnvironment(TGLWorldBuffer* owner)
    : TGLUpdateAbleObject(owner), buffer_(owner), fogColor_(std::make_unique<TGLColor>(this, ColorBlack))
{
    KP_ASSERT(owner != nullptr);
}

TGLFogEnvironment::~TGLFogEnvironment() = default;

void TGLFogEnvironment::SetFogColor(const TGLColor* value)
{
    if (value) {
        fogColor_->Initialize(value->Color());
        NotifyChange(this);
    }
}

void TGLFogEnvironment::SetFogStart(float value)
{
    if (fogStart_ != value) {
        fogStart_ = value;
        NotifyChange(this);
    }
}

void TGLFogEnvironment::SetFogEnd(float value)
{
    if (fogEnd_ != value) {
        fogEnd_ = value;
        NotifyChange(this);
    }
}

void TGLFogEnvironment::SetFogMode(TFogMode value)
{
    if (fogMode_ != value) {
        fogMode_ = value;
        NotifyChange(this);
    }
}

void TGLFogEnvironment::SetFogDistance(TFogDistance value)
{
    if (fogDistance_ != value) {
        fogDistance_ = value;
        NotifyChange(this);
    }
}

void TGLFogEnvironment::Assign(const TPersistent* source)
{
    if (const auto* fog = ObjectCast<TGLFogEnvironment>(source)) {
        fogColor_->Initialize(fog->fogColor_->Color());
        fogStart_ = fog->fogStart_;
        fogEnd_ = fog->fogEnd_;
        fogMode_ = fog->fogMode_;
        fogDistance_ = fog->fogDistance_;
        NotifyChange(this);
        return;
    }
    TGLUpdateAbleObject::Assign(source);
}

bool TGLFogEnvironment::IsAtDefaultValues() const
{
    const TVector& c = fogColor_->Color();
    return c.X == ColorBlack.X && c.Y == ColorBlack.Y && c.Z == ColorBlack.Z && c.W == ColorBlack.W &&
           fogStart_ == 10 && fogEnd_ == 1000 && fogMode_ == fmLinear && fogDistance_ == fdDefault;
}

void TGLFogEnvironment::ApplyFog()
{
    TGLContext* context = buffer_->RenderingContext();
    if (context == nullptr) {
        return;
    }
    const bool activate = !context->Active();
    if (activate) {
        context->Activate();
    }
    // The activation is undone also when an assertion leaves early.
    struct TDeactivate {
        TGLContext* context;
        bool active;
        ~TDeactivate()
        {
            if (active) {
                context->Deactivate();
            }
        }
    } deactivate{context, activate};

    switch (fogMode_) {
    case fmLinear:
        GL.glFogi(GL_FOG_MODE, GL_LINEAR);
        break;
    case fmExp:
        GL.glFogi(GL_FOG_MODE, GL_EXP);
        GL.glFogf(GL_FOG_DENSITY, fogColor_->Alpha());
        break;
    case fmExp2:
        GL.glFogi(GL_FOG_MODE, GL_EXP2);
        GL.glFogf(GL_FOG_DENSITY, fogColor_->Alpha());
        break;
    }
    GL.glFogfv(GL_FOG_COLOR, fogColor_->GetAsAddress());
    GL.glFogf(GL_FOG_START, fogStart_);
    GL.glFogf(GL_FOG_END, fogEnd_);
    if (GLExt.NV_fog_distance) {
        switch (fogDistance_) {
        case fdDefault:
            if (gDefaultFogDistanceMode != 0) {
                GL.glFogi(GL_FOG_DISTANCE_MODE_NV, gDefaultFogDistanceMode);
            } else {
                GL.glGetIntegerv(GL_FOG_DISTANCE_MODE_NV, &gDefaultFogDistanceMode);
            }
            break;
        case fdEyeRadial:
            GL.glFogi(GL_FOG_DISTANCE_MODE_NV, GL_EYE_RADIAL_NV);
            break;
        case fdEyePlane:
            GL.glFogi(GL_FOG_DISTANCE_MODE_NV, GL_EYE_PLANE);
            break;
        default:
            KP_ASSERT(false);
        }
    }
}
