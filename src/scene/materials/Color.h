#pragma once
// The RGBA colour object of the 3D side (material, light, fog and line colours) and the
// conversions between the platform's 24-bit colour value and a colour vector
// (red, green, blue, alpha as float32, nominally 0..1).

#include "platform/core/graphics/ColorValue.h"
#include "scene/graph/UpdateAble.h"
#include "scene/base/VectorTypes.h"

inline constexpr TVector ColorTransparent{0, 0, 0, 0};
inline constexpr TVector ColorBlack{0, 0, 0, 1};
inline constexpr TVector ColorGray20{0.2f, 0.2f, 0.2f, 1};
inline constexpr TVector ColorGray80{0.8f, 0.8f, 0.8f, 1};
inline constexpr TVector ColorWhite{1, 1, 1, 1};
inline constexpr TVector ColorMagenta{1, 0, 1, 1};
inline constexpr TVector ColorRed{1, 0, 0, 1};
inline constexpr TVector ColorBlue{0, 0, 1, 1};

// A system colour is resolved first; each byte / 255, alpha as given.
TVector ColorToVector(TColor color, float alpha = 1);
// Each component * 255 rounded half to even and clamped to 0..255; alpha ignored.
TColor VectorToColor(const TVector& color);

class TGLColor : public TGLUpdateAbleObject {
    KP_CLASS(TGLColor, TGLUpdateAbleObject)
public:
    // Black (0, 0, 0, 1).
    explicit TGLColor(TPersistent* owner) : TGLColor(owner, ColorBlack, nullptr) {}
    TGLColor(TPersistent* owner, const TVector& color, TNotifyEvent changeEvent = nullptr);

    const TVector& Color() const { return color_; }
    // Stores without notifying.
    void Initialize(const TVector& color) { color_ = color; }
    // Always notifies, even when nothing changed.
    void SetColor(const TVector& color);
    // Notifies only when the component really changes.
    void SetColorComponent(int index, float value);

    float Red() const { return color_.X; }
    float Green() const { return color_.Y; }
    float Blue() const { return color_.Z; }
    float Alpha() const { return color_.W; }
    void SetRed(float v) { SetColorComponent(0, v); }
    void SetGreen(float v) { SetColorComponent(1, v); }
    void SetBlue(float v) { SetColorComponent(2, v); }
    void SetAlpha(float v) { SetColorComponent(3, v); }

    // The platform value of red, green and blue.
    TColor AsWinColor() const { return VectorToColor(color_); }
    void SetAsWinColor(TColor color) { SetColor(ColorToVector(color, color_.W)); }

    // Four floats for glColor4fv, glMaterialfv, glLightfv.
    const float* GetAsAddress() const { return &color_.X; }

    // From a colour: the four components, then a notification.
    void Assign(const TPersistent* source) override;
    // "Color": 16 bytes, red, green, blue, alpha as little-endian float32, always written.
    void DefineProperties(TFiler* filer) override;
    // An owner component first rebuilds its structure, then the usual notification.
    void NotifyChange(TObject* sender) override;

private:
    TVector color_;
};
