#pragma once
// A light of the scene: takes one of the scene's eight OpenGL light slots while it is
// in the scene's tree (the ninth light gets none and is never lit). Spot, omni and
// parallel styles; its position and spot direction follow its placement in the tree.

#include "scene/materials/Color.h"
#include "scene/graph/SceneObject.h"

enum TLightStyle { lsSpot, lsOmni, lsParallel };

class TGLLightSource : public TGLBaseSceneObject {
    KP_CLASS(TGLLightSource, TGLBaseSceneObject)
public:
    explicit TGLLightSource(TComponent* owner = nullptr);
    ~TGLLightSource() override;

    // GL_LIGHT0 + slot; 0 while the light holds no slot.
    GLenum LightID() const { return lightID_; }
    void SetLightID(GLenum value) { lightID_ = value; }

    TGLCoordinates& SpotDirection() { return *spotDirection_; }
    const TGLCoordinates& SpotDirection() const { return *spotDirection_; }
    // W is forced to 0 (a direction).
    void SetSpotDirection(const TGLCoordinates& value);
    float SpotExponent() const { return spotExponent_; }
    void SetSpotExponent(float value);
    float SpotCutOff() const { return spotCutOff_; }
    // Accepted within 0..90 or exactly 180; other values are ignored.
    void SetSpotCutOff(float value);
    float ConstAttenuation() const { return constAttenuation_; }
    void SetConstAttenuation(float value);
    float LinearAttenuation() const { return linearAttenuation_; }
    void SetLinearAttenuation(float value);
    float QuadraticAttenuation() const { return quadraticAttenuation_; }
    void SetQuadraticAttenuation(float value);
    bool Shining() const { return shining_; }
    void SetShining(bool value);
    TGLColor& Ambient() { return *ambient_; }
    TGLColor& Diffuse() { return *diffuse_; }
    TGLColor& Specular() { return *specular_; }
    const TGLColor& Ambient() const { return *ambient_; }
    const TGLColor& Diffuse() const { return *diffuse_; }
    const TGLColor& Specular() const { return *specular_; }
    void SetAmbient(const TGLColor& value);
    void SetDiffuse(const TGLColor& value);
    void SetSpecular(const TGLColor& value);
    TLightStyle LightStyle() const { return lightStyle_; }
    void SetLightStyle(TLightStyle value);

    // A light has no display list.
    GLuint GetHandle(TRenderContextInfo&) override { return 0; }
    bool RayCastIntersect(const TVector&, const TVector&, TVector* = nullptr, TVector* = nullptr) override
    {
        return false;
    }
    std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters&) override { return nullptr; }
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    void CoordinateChanged(TGLCoordinates* sender) override;

private:
    GLenum lightID_ = 0;
    std::unique_ptr<TGLCoordinates> spotDirection_;
    float spotExponent_ = 0;
    float spotCutOff_ = 180;
    float constAttenuation_ = 1;
    float linearAttenuation_ = 0;
    float quadraticAttenuation_ = 0;
    bool shining_ = true;
    std::unique_ptr<TGLColor> ambient_;
    std::unique_ptr<TGLColor> diffuse_;
    std::unique_ptr<TGLColor> specular_;
    TLightStyle lightStyle_ = lsSpot;
};
