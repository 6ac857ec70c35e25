#include "scene/graph/Coordinates.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/Filer.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/VectorGeometry.h"

#include <bit>
#include <cmath>
#include <cstring>

void WriteSingleLE(TStream& stream, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(bits >> 16),
                                   std::uint8_t(bits >> 24)};
    stream.WriteBuffer(bytes, sizeof bytes);
}

float ReadSingleLE(TStream& stream)
{
    std::uint8_t b[4];
    stream.ReadBuffer(b, sizeof b);
    return std::bit_cast<float>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                                std::uint32_t(b[3]) << 24);
}

void WriteVectorLE(TStream& stream, const TVector& v)
{
    WriteSingleLE(stream, v.X);
    WriteSingleLE(stream, v.Y);
    WriteSingleLE(stream, v.Z);
    WriteSingleLE(stream, v.W);
}

TVector ReadVectorLE(TStream& stream)
{
    TVector v;
    v.X = ReadSingleLE(stream);
    v.Y = ReadSingleLE(stream);
    v.Z = ReadSingleLE(stream);
    v.W = ReadSingleLE(stream);
    return v;
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
