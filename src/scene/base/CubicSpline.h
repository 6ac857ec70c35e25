#pragma once
// A natural-end cubic spline through a row of points: the curve passes through point i
// at t = i, so the useful range of t is [0, count - 1]; outside it the first or last
// segment is extrapolated. Line objects drawn as splines sample it.

#include "scene/base/VectorTypes.h"

#include <array>
#include <vector>

// One entry per segment: (c3, c2, c1, c0) of c3 t^3 + c2 t^2 + c1 t + c0 in the global t.
using TCubicSplineMatrix = std::vector<std::array<float, 4>>;

// The coefficients through values[0..n-1]; empty for fewer than two points.
TCubicSplineMatrix BuildSplineMatrix(const float* values, int n);
// Solves the spline's tridiagonal system for the slopes; x receives n entries.
void SolveSplineSystem(const float* r, int n, float* x);

class TCubicSpline {
public:
    // Any array may be nullptr (its coordinate then evaluates to 0). With fewer than
    // two points every coordinate evaluates to 0.
    TCubicSpline(const float* x, const float* y, const float* z, const float* w, int count);

    int Count() const { return count_; }
    float EvaluateCoordinate(const TCubicSplineMatrix& matrix, float t) const;
    void SplineXYZ(float t, float& x, float& y, float& z) const;
    void SplineXYZW(float t, float& x, float& y, float& z, float& w) const;
    TAffineVector SplineAffineVector(float t) const;
    TVector SplineVector(float t) const;

private:
    TCubicSplineMatrix mx_, my_, mz_, mw_;
    int count_;
};
