#include "scene/materials/Color.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/Filer.h"
#include "platform/core/graphics/SystemColors.h"
#include "scene/graph/Coordinates.h"

#include <cmath>

TVector ColorToVector(TColor color, float alpha)
{
    const TColor value = ResolveSystemColor(color);
    constexpr long double inv255 = 0.00392156862745098L;
    return {static_cast<float>((value & 255) * inv255), static_cast<float>(((value >> 8) & 255) * inv255),
            static_cast<float>(((value >> 16) & 255) * inv255), alpha};
}

namespace {

// Half to even like the default rounding mode, and held to a byte instead of wrapping.
int ColorByte(float component)
{
    const float scaled = 255 * component;
    if (!(scaled > 0)) {
        return 0; // negatives and NaN
    }
    if (scaled >= 255) {
        return 255;
    }
    return static_cast<int>(std::nearbyint(scaled));
}

} // namespace

TColor VectorToColor(const TVector& color)
{
    return RGB(static_cast<std::uint8_t>(ColorByte(color.X)), static_cast<std::uint8_t>(ColorByte(color.Y)),
               static_cast<std::uint8_t>(ColorByte(color.Z)));
}

TGLColor::TGLColor(TPersistent* owner, const TVector& color, TNotifyEvent changeEvent)
    : TGLUpdateAbleObject(owner), color_(color)
{
    OnNotifyChange = changeEvent;
}

void TGLColor::SetColor(const TVector& color)
{
    color_ = color;
    NotifyChange(this);
}

void TGLColor::SetColorComponent(int index, float value)
{
    KP_ASSERT(index >= 0 && index <= 3);
    if (color_[index] != value) {
        color_[index] = value;
        NotifyChange(this);
    }
}

void TGLColor::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLColor>(source)) {
        color_ = other->color_;
        NotifyChange(this);
    } else {
        TGLUpdateAbleObject::Assign(source);
    }
}

void TGLColor::DefineProperties(TFiler* filer)
{
    TGLUpdateAbleObject::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Color", [this](TStream& s) { color_ = ReadVectorLE(s); }, [this](TStream& s) { WriteVectorLE(s, color_); },
        true);
}

void TGLColor::NotifyChange(TObject* sender)
{
    if (auto* owner = ObjectCast<TGLUpdateAbleComponent>(Owner())) {
        owner->StructureChanged();
    }
    TGLUpdateAbleObject::NotifyChange(sender);
}
