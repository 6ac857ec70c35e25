#pragma once
// Kernels over contiguous runs of vectors (a pointer and a count), so that the typed
// lists can process a whole list in one call. A count of 0 (or less) does nothing.
// Results are the same as the single-vector routines item by item; the result array
// may be one of the sources.

#include "scene/base/VectorTypes.h"

// result[i] := source[i] + delta.
void AddVectorToAffineArray(const TAffineVector* source, const TAffineVector& delta, int count,
                            TAffineVector* result);

// result[i] := a[i] + (b[i] - a[i]) * t.
void LerpAffineVectorArrays(const TAffineVector* a, const TAffineVector* b, int count, TAffineVector* result,
                            float t);
void LerpVectorArrays(const TVector* a, const TVector* b, int count, TVector* result, float t);

// Normalises count affine vectors in place (zero vectors stay zero).
void NormalizeAffineVectorArray(TAffineVector* vectors, int count);

// Multiplies count consecutive floats by f.
void ScaleFloats(float* values, int count, float f);
