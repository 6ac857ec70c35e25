#include "scene/graph/LightSource.h"

#include "scene/graph/World.h"

TGLLightSource::TGLLightSource(TComponent* owner)
    : TGLBaseSceneObject(owner),
      spotDirection_(std::make_unique<TGLCoordinates>(this, TVector{0, 0, -1, 0}, TGLCoordinatesStyle::csVector)),
      ambient_(std::make_unique<TGLColor>(this)),
      diffuse_(std::make_unique<TGLColor>(this, ColorWhite)),
      specular_(std::make_unique<TGLColor>(this))
{
}

TGLLightSource::~TGLLightSource()
{
    // Its slot must not outlive it: the scene positions every slotted light each frame.
    if (auto* scene = ObjectCast<TGLWorld>(Scene())) {
        scene->RemoveLight(this);
    }
}

void TGLLightSource::CoordinateChanged(TGLCoordinates* sender)
{
    if (sender == spotDirection_.get()) {
        TransformationChanged();
        return;
    }
    TGLBaseSceneObject::CoordinateChanged(sender);
}

void TGLLightSource::SetSpotDirection(const TGLCoordinates& value)
{
    const TVector& v = value.AsVector();
    spotDirection_->SetVectorQuiet({v.X, v.Y, v.Z, 0});
    NotifyChange(this);
}

void TGLLightSource::SetSpotExponent(float value)
{
    if (spotExponent_ != value) {
        spotExponent_ = value;
        NotifyChange(this);
    }
}

void TGLLightSource::SetSpotCutOff(float value)
{
    if (spotCutOff_ != value && ((value >= 0 && value <= 90) || value == 180)) {
        spotCutOff_ = value;
        NotifyChange(this);
    }
}

void TGLLightSource::SetConstAttenuation(float value)
{
    if (constAttenuation_ != value) {
        constAttenuation_ = value;
        NotifyChange(this);
    }
}

void TGLLightSource::SetLinearAttenuation(float value)
{
    if (linearAttenuation_ != value) {
        linearAttenuation_ = value;
        NotifyChange(this);
    }
}

void TGLLightSource::SetQuadraticAttenuation(float value)
{
    if (quadraticAttenuation_ != value) {
        quadraticAttenuation_ = value;
        NotifyChange(this);
    }
}

void TGLLightSource::SetShining(bool value)
{
    if (shining_ != value) {
        shining_ = value;
        NotifyChange(this);
    }
}

void TGLLightSource::SetAmbient(const TGLColor& value)
{
    ambient_->Initialize(value.Color());
    NotifyChange(this);
}

void TGLLightSource::SetDiffuse(const TGLColor& value)
{
    diffuse_->Initialize(value.Color());
    NotifyChange(this);
}

void TGLLightSource::SetSpecular(const TGLColor& value)
{
    specular_->Initialize(value.Color());
    NotifyChange(this);
}

void TGLLightSource::SetLightStyle(TLightStyle value)
{
    if (lightStyle_ != value) {
        lightStyle_ = value;
        NotifyChange(this);
    }
}

void TGLLightSource::DoRender(TRenderContextInfo& rci, bool /*renderSelf*/, bool renderChildren)
{
    if (renderChildren && Count() > 0) {
        RenderChildren(0, Count() - 1, rci);
    }
}
