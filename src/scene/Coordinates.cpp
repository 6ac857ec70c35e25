#include "scene/Coordinates.h"

#include "platform/core/Assert.h"
#include "platform/core/Filer.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/VectorGeometry.h"

#include <bit>
#include <cmath>
#include <cstring>

void WriteVectorLE(TStream& stream, const TVector& v)
{
    std::uint8_t bytes[16];
    const float parts[4] = {v.X, v.Y, v.Z, v.W};
    for (int i = 0; i < 4; ++i) {
        const auto bits = std::bit_cast<std::uint32_t>(parts[i]);
        for (int b = 0; b < 4; ++b) {
            bytes[4 * i + b] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    }
    stream.WriteBuffer(bytes, sizeof bytes);
}

TVector ReadVectorLE(TStream& stream)
{
    std::uint8_t bytes[16];
    stream.ReadBuffer(bytes, sizeof bytes);
    float parts[4];
    for (int i = 0; i < 4; ++i) {
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b) {
            bits = (bits << 8) | bytes[4 * i + b];
        }
        parts[i] = std::bit_cast<float>(bits);
    }
    return {parts[0], parts[1], parts[2], parts[3]};
}

void TGLCoordinates::SetCoordinate(int index, float value)
{
    KP_ASSERT(index >= 0 && index <= 3);
    coords_[index] = value;
    NotifyChange(this);
}

void TGLCoordinates::SetAsVector(const TVector& v)
{
    coords_ = v;
    if (style_ == TGLCoordinatesStyle::csPoint) {
        coords_.W = 1;
    } else if (style_ == TGLCoordinatesStyle::csVector) {
        coords_.W = 0;
    }
    NotifyChange(this);
}

void TGLCoordinates::SetAsAffineVector(const TAffineVector& v)
{
    coords_ = {v.X, v.Y, v.Z, style_ == TGLCoordinatesStyle::csPoint ? 1.0f : 0.0f};
    NotifyChange(this);
}

void TGLCoordinates::SetVector(float x, float y, float z)
{
    KP_ASSERT(style_ != TGLCoordinatesStyle::csPoint);
    coords_ = {x, y, z, 0};
    NotifyChange(this);
}

void TGLCoordinates::SetVector(float x, float y, float z, float w)
{
    KP_ASSERT(style_ != TGLCoordinatesStyle::csPoint);
    coords_ = {x, y, z, w};
    NotifyChange(this);
}

void TGLCoordinates::SetPoint(float x, float y, float z)
{
    KP_ASSERT(style_ != TGLCoordinatesStyle::csVector);
    coords_ = {x, y, z, 1};
    NotifyChange(this);
}

void TGLCoordinates::Translate(const TAffineVector& v)
{
    coords_.X += v.X;
    coords_.Y += v.Y;
    coords_.Z += v.Z;
    NotifyChange(this);
}

void TGLCoordinates::Rotate(const TAffineVector& axis, float angle)
{
    const TAffineVector r = RotateVectorAroundAxis(GetAsAffineVector(), axis, angle);
    coords_.X = r.X;
    coords_.Y = r.Y;
    coords_.Z = r.Z;
    NotifyChange(this);
}

void TGLCoordinates::Normalize()
{
    const TAffineVector n = NormalizedAffineVector(GetAsAffineVector());
    coords_ = {n.X, n.Y, n.Z, 0};
    NotifyChange(this);
}

float TGLCoordinates::VectorLength() const { return static_cast<float>(AffineVectorLength(GetAsAffineVector())); }

bool TGLCoordinates::Equals(const TVector& v) const { return std::memcmp(&coords_, &v, sizeof(TVector)) == 0; }

void TGLCoordinates::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLCoordinates>(source)) {
        coords_ = other->coords_;
    } else {
        TGLUpdateAbleObject::Assign(source);
    }
}

void TGLCoordinates::DefineProperties(TFiler* filer)
{
    TGLUpdateAbleObject::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Coordinates", [this](TStream& s) { coords_ = ReadVectorLE(s); },
        [this](TStream& s) { WriteVectorLE(s, coords_); }, true);
}

void TGLCoordinates::NotifyChange(TObject* sender)
{
    if (auto* owner = ObjectCast<TGLCoordinatesUpdateAbleComponent>(Owner())) {
        owner->CoordinateChanged(this);
    } else {
        TGLUpdateAbleObject::NotifyChange(sender);
    }
}
