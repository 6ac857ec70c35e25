#include "scene/base/VectorArrays.h"

#include "scene/base/VectorArithmetic.h"
#include "scene/base/VectorProducts.h"

void AddVectorToAffineArray(const TAffineVector* source, const TAffineVector& delta, int count,
                            TAffineVector* result)
{
    const TAffineVector d = delta;  // delta may live in the result array
    for (int i = 0; i < count; ++i)
        result[i] = AddAffineVectors(source[i], d);
}

void LerpAffineVectorArrays(const TAffineVector* a, const TAffineVector* b, int count, TAffineVector* result,
                            float t)
{
    for (int i = 0; i < count; ++i)
        result[i] = LerpAffineVectors(a[i], b[i], t);
}

void LerpVectorArrays(const TVector* a, const TVector* b, int count, TVector* result, float t)
{
    for (int i = 0; i < count; ++i)
        result[i] = LerpVectors(a[i], b[i], t);
}

void NormalizeAffineVectorArray(TAffineVector* vectors, int count)
{
    for (int i = 0; i < count; ++i)
        NormalizeAffineVector(vectors[i]);
}

void ScaleFloats(float* values, int count, float f)
{
    for (int i = 0; i < count; ++i)
        values[i] *= f;
}
