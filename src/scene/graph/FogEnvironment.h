#pragma once
// The fog settings of one scene buffer. It belongs to its buffer (the only owner it
// accepts) and applies itself in the buffer's context.

#include "scene/materials/Color.h"
#include "scene/graph/UpdateAble.h"
#include "scene/base/OpenGLBinding.h"

#include <memory>

class TGLWorldBuffer;

enum TFogMode { fmLinear, fmExp, fmExp2 };
enum TFogDistance { fdDefault, fdEyeRadial, fdEyePlane };

class TGLFogEnvironment : public TGLUpdateAbleObject {
    KP_CLASS(TGLFogEnvironment, TGLUpdateAbleObject)
public:
    explicit TGLFogEnvironment(TGLWorldBuffer* owner);
    ~TGLFogEnvironment() override;

    TGLWorldBuffer* Buffer() const { return buffer_; }

    TGLColor& FogColor() { return *fogColor_; }
    const TGLColor& FogColor() const { return *fogColor_; }
    void SetFogColor(const TGLColor* value);
    float FogStart() const { return fogStart_; }
    void SetFogStart(float value);
    float FogEnd() const { return fogEnd_; }
    void SetFogEnd(float value);
    TFogMode FogMode() const { return fogMode_; }
    void SetFogMode(TFogMode value);
    TFogDistance FogDistance() const { return fogDistance_; }
    void SetFogDistance(TFogDistance value);

    // From another fog environment: colour, start, end, mode and distance.
    void Assign(const TPersistent* source) override;
    bool IsAtDefaultValues() const;
    // Sets OpenGL's fog state in the buffer's context; nothing without one.
    void ApplyFog();

private:
    TGLWorldBuffer* buffer_;
    std::unique_ptr<TGLColor> fogColor_;
    float fogStart_ = 10;
    float fogEnd_ = 1000;
    TFogMode fogMode_ = fmLinear;
    TFogDistance fogDistance_ = fdDefault;
};

// The fog-distance mode OpenGL had before the first fdEyeRadial or fdEyePlane, or 0
// while unknown; forgotten with ResetDefaultFogDistanceMode.
GLint DefaultFogDistanceMode();
void ResetDefaultFogDistanceMode();
