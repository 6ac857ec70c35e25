#pragma once
// The fixed-size float32 records of the 3D side and the constants built from them:
// plain values, copied bytewise and stored in lists and files as raw bytes in member
// order.
//
// Vectors are row vectors multiplied on the left of matrices (v' = v * M), so
// M1 * M2 applies M1 first. Rows 0..2 of a matrix are the transformed X, Y, Z axes,
// row 3 the translation. Angles are in radians unless a routine says degrees.

#include <bit>
#include <cstdint>

// The 80-bit x87 "extended" of the routines that say so.
using TExtended = long double;

struct TAffineVector {
    float X, Y, Z;

    float& operator[](int i) { return i == 0 ? X : (i == 1 ? Y : Z); }
    float operator[](int i) const { return i == 0 ? X : (i == 1 ? Y : Z); }
};

struct TVector {
    float X, Y, Z, W;

    float& operator[](int i) { return i == 0 ? X : (i == 1 ? Y : (i == 2 ? Z : W)); }
    float operator[](int i) const { return i == 0 ? X : (i == 1 ? Y : (i == 2 ? Z : W)); }
};

// A plane (a, b, c, d): a*x + b*y + c*z + d, positive on the side the normal points to.
using THmgPlane = TVector;

struct TTexPoint {
    float S, T;
};

// X, Y, Z the imaginary part, W the real part; laid out as a TVector.
struct TQuaternion {
    float X, Y, Z, W;
};

struct TMatrix {
    TVector V[4];

    TVector& operator[](int row) { return V[row]; }
    const TVector& operator[](int row) const { return V[row]; }
};

// Six planes with unit normals pointing inwards: a point is inside when it is on the
// positive side of all six.
struct TFrustum {
    THmgPlane Left, Top, Right, Bottom, Near, Far;
};

// What DecomposeMatrix finds in a matrix; the rotations are in radians.
struct TMatrixDecomposition {
    float ScaleX, ScaleY, ScaleZ;
    float ShearXY, ShearXZ, ShearYZ;
    float RotateX, RotateY, RotateZ;
    float TranslateX, TranslateY, TranslateZ;
    float PerspectiveX, PerspectiveY, PerspectiveZ, PerspectiveW;
};

static_assert(sizeof(TAffineVector) == 12, "affine vectors are stored with a stride of 12 bytes");
static_assert(sizeof(TVector) == 16, "vectors are stored with a stride of 16 bytes");
static_assert(sizeof(TTexPoint) == 8);
static_assert(sizeof(TQuaternion) == 16);
static_assert(sizeof(TMatrix) == 64);
static_assert(sizeof(TFrustum) == 96);
static_assert(sizeof(TMatrixDecomposition) == 64);

// ---- Constants -------------------------------------------------------------------

inline constexpr TAffineVector XVector{1, 0, 0};
inline constexpr TAffineVector YVector{0, 1, 0};
inline constexpr TAffineVector ZVector{0, 0, 1};
inline constexpr TAffineVector XYZVector{1, 1, 1};
inline constexpr TAffineVector NullVector{0, 0, 0};

inline constexpr TVector XHmgVector{1, 0, 0, 0};
inline constexpr TVector YHmgVector{0, 1, 0, 0};
inline constexpr TVector ZHmgVector{0, 0, 1, 0};
inline constexpr TVector XYZHmgVector{1, 1, 1, 0};
inline constexpr TVector XYZWHmgVector{1, 1, 1, 1};
inline constexpr TVector NullHmgVector{0, 0, 0, 0};
inline constexpr TVector OriginPoint{0, 0, 0, 1};

inline constexpr TMatrix IdentityMatrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
inline constexpr TMatrix ZeroMatrix{{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}};

inline constexpr TQuaternion IdentityQuaternion{0, 0, 0, 1};

// Near-zero threshold of quaternion normalisation, slerp, the ray tests and the
// Euler gimbal test.
inline constexpr float Epsilon = 1e-30f;
// Singular threshold of matrix inversion: a denormal, 9.99994610111476e-41.
inline constexpr float Epsilon2 = std::bit_cast<float>(std::uint32_t{0x000116C2});

// pi/180 and 180/pi rounded to float32, and to the 64-bit mantissa of extended.
inline constexpr float DegToRadFactor = 0.01745329238474369f;
inline constexpr float RadToDegFactor = 57.295780181884766f;
inline constexpr TExtended DegToRadFactorExtended = 0.0174532925199432957692369076848861271L;
inline constexpr TExtended RadToDegFactorExtended = 57.2957795130823208767981548141051703L;

inline constexpr float WholeTurnDegrees = 360.0f;
// The float32 reciprocal of 360 (slightly above 1/360; WrapDegrees180 depends on it).
inline constexpr float InvWholeTurnDegrees = 0.0027777778450399637f;
inline constexpr float HalfTurnDegrees = 180.0f;

// The x87 control word for truncating conversions: round toward zero, 64-bit
// precision, all exceptions masked. Our conversions truncate without touching the
// control word; the value stays for code that saves and restores one.
inline constexpr std::uint16_t TruncatingControlWord = 0x1F3F;

// No packed-float (3DNow!) path exists on this platform, so the plain path is the
// only one and this stays false.
inline constexpr bool Has3DNow = false;
