#pragma once
// The fixed-size float32 records of the 3D side: plain values, copied bytewise and
// stored in lists and files as raw bytes in member order.
//
// Vectors are row vectors multiplied on the left of matrices (v' = v * M), so
// M1 * M2 applies M1 first. Rows 0..2 of a matrix are the transformed X, Y, Z axes,
// row 3 the translation.

#include <cstdint>

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


static_assert(sizeof(TAffineVector) == 12, "affine vectors are stored with a stride of 12 bytes");
static_assert(sizeof(TVector) == 16, "vectors are stored with a stride of 16 bytes");
static_assert(sizeof(TTexPoint) == 8);
static_assert(sizeof(TQuaternion) == 16);
static_assert(sizeof(TMatrix) == 64);
