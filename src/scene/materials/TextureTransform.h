#pragma once
// The texture matrix of a texture offset and scale, shared by library materials and
// the items of a multi-texture list.

#include "scene/graph/Coordinates.h"
#include "scene/base/MatrixMath.h"

inline constexpr TVector DefaultTextureOffset{0, 0, 0, 0};
inline constexpr TVector DefaultTextureScale{1, 1, 1, 0};

// Writes the scale-then-translate matrix and returns false, or returns true (and leaves
// `matrix` alone) when offset and scale are at their defaults, so no matrix is needed.
inline bool ComputeTextureMatrix(const TGLCoordinates& offset, const TGLCoordinates& scale, TMatrix& matrix)
{
    if (offset.Equals(DefaultTextureOffset) && scale.Equals(DefaultTextureScale)) {
        return true;
    }
    matrix = MakeScaleTranslationMatrix(scale.GetAsAffineVector(), offset.GetAsAffineVector());
    return false;
}
