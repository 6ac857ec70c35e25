#pragma once
// One homogeneous vector with a style: the type of every position, direction, up and
// scale of the scene. A point keeps W = 1, a vector W = 0, an unknown style keeps W as
// given. Every setter notifies; Assign, SetVectorQuiet and reading the stream
// property do not, so bulk loads and internal recomputation cause no redraw cascade.

#include "platform/core/files/Stream.h"
#include "scene/graph/UpdateAble.h"
#include "scene/base/VectorTypes.h"

enum class TGLCoordinatesStyle : std::uint8_t { csPoint, csVector, csUnknown };

class TGLCoordinates : public TGLUpdateAbleObject {
    KP_CLASS(TGLCoordinates, TGLUpdateAbleObject)
public:
    explicit TGLCoordinates(TPersistent* owner)
        : TGLCoordinates(owner, TVector{0, 0, 0, 0}, TGLCoordinatesStyle::csUnknown) {}
    TGLCoordinates(TPersistent* owner, const TVector& value, TGLCoordinatesStyle style)
        : TGLUpdateAbleObject(owner), coords_(value), style_(style) {}

    TGLCoordinatesStyle Style() const { return style_; }

    float X() const { return coords_.X; }
    float Y() const { return coords_.Y; }
    float Z() const { return coords_.Z; }
    float W() const { return coords_.W; }
    void SetX(float v) { SetCoordinate(0, v); }
    void SetY(float v) { SetCoordinate(1, v); }
    void SetZ(float v) { SetCoordinate(2, v); }
    // Index 0 X, 1 Y, 2 Z, 3 W; always notifies.
    void SetCoordinate(int index, float value);

    const TVector& AsVector() const { return coords_; }
    // W forced to 1 for a point and 0 for a vector.
    void SetAsVector(const TVector& v);
    TAffineVector GetAsAffineVector() const { return {coords_.X, coords_.Y, coords_.Z}; }
    // W := 1 for a point, 0 otherwise.
    void SetAsAffineVector(const TAffineVector& v);
    // (x, y, z, 0) and (x, y, z, w): not for points (assertion).
    void SetVector(float x, float y, float z);
    void SetVector(float x, float y, float z, float w);
    // (x, y, z, 1): not for vectors (assertion).
    void SetPoint(float x, float y, float z);
    void SetVectorQuiet(const TVector& v) { coords_ = v; }

    void Translate(const TAffineVector& v);
    void Translate(const TVector& v) { Translate(TAffineVector{v.X, v.Y, v.Z}); }
    // About the axis by the angle in radians.
    void Rotate(const TAffineVector& axis, float angle);
    // X, Y, Z normalised and W := 0.
    void Normalize();
    float VectorLength() const;
    // Bit-equal on all four components (0 and -0 differ).
    bool Equals(const TVector& v) const;
    const TVector* VectorPointer() const { return &coords_; }
    float* AsAddress() { return &coords_.X; }

    // From coordinates: the four components, without notification.
    void Assign(const TPersistent* source) override;
    // "Coordinates": 16 bytes, X, Y, Z, W as little-endian float32, always written.
    void DefineProperties(TFiler* filer) override;
    // An owner that keeps coordinates hears CoordinateChanged and nothing else.
    void NotifyChange(TObject* sender) override;

private:
    TVector coords_;
    TGLCoordinatesStyle style_;
};

// Coordinates whose W is a published value of its own.
class TGLCoordinates4 : public TGLCoordinates {
    KP_CLASS(TGLCoordinates4, TGLCoordinates)
public:
    using TGLCoordinates::TGLCoordinates;
    void SetW(float v) { SetCoordinate(3, v); }
};

// Writes and reads floats, and vectors as four of them, as little-endian float32,
// whatever the host order.
void WriteSingleLE(TStream& stream, float value);
float ReadSingleLE(TStream& stream);
void WriteVectorLE(TStream& stream, const TVector& v);
TVector ReadVectorLE(TStream& stream);
