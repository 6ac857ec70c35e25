#pragma once
// A textured quad that always faces the camera: its corners are taken from the current
// model-view matrix at every frame, so it has no display list and is never culled.

#include "scene/graph/CustomSceneObject.h"

class TGLSprite : public TGLWorldObject {
    KP_CLASS(TGLSprite, TGLWorldObject)
public:
    explicit TGLSprite(TComponent* owner = nullptr);

    float Width() const { return width_; }
    float Height() const { return height_; }
    // Degrees about the view axis.
    float Rotation() const { return rotation_; }
    float AlphaChannel() const { return alphaChannel_; }
    bool NoZWrite() const { return noZWrite_; }
    bool MirrorU() const { return mirrorU_; }
    bool MirrorV() const { return mirrorV_; }
    // The sprite is drawn afresh every frame, so a change only asks for a redraw.
    void SetWidth(float value);
    void SetHeight(float value);
    void SetRotation(float value);
    // Clamped to 0..1.
    void SetAlphaChannel(float value);
    void SetNoZWrite(bool value);
    void SetMirrorU(bool value);
    void SetMirrorV(bool value);

    // From a sprite: Width, Height, Rotation, AlphaChannel and NoZWrite; then the
    // custom-object part.
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    void SetValue(float& field, float value);
    void SetFlag(bool& field, bool value);

    float width_ = 1.0f;
    float height_ = 1.0f;
    float rotation_ = 0;
    float alphaChannel_ = 1.0f;
    bool noZWrite_ = false;
    bool mirrorU_ = false;
    bool mirrorV_ = false;
};
