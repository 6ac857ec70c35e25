#include "scene/base/CubicSpline.h"

#include "platform/core/Assert.h"
#include "scene/base/Rounding.h"

#include <cmath>

void SolveSplineSystem(const float* r, int n, float* x)
{
    KP_ASSERT(r != nullptr && n >= 2);
    KP_ASSERT(x != nullptr);
    std::vector<float> l(static_cast<std::size_t>(n));
    std::vector<float> s(static_cast<std::size_t>(n));
    std::vector<float> y(static_cast<std::size_t>(n));
    l[0] = 1.4142135f;
    s[0] = 0.70710677f;
    for (int i = 1; i < n - 1; ++i) {
        l[i] = std::sqrt(4 - s[i - 1] * s[i - 1]);
        s[i] = 1 / l[i];
    }
    l[n - 1] = std::sqrt(2 - s[n - 2] * s[n - 2]);
    y[0] = r[0] / l[0];
    for (int i = 1; i < n; ++i) {
        y[i] = (r[i] - y[i - 1] * s[i - 1]) / l[i];
    }
    x[n - 1] = y[n - 1] / l[n - 1];
    for (int i = n - 2; i >= 0; --i) {
        x[i] = (y[i] - x[i + 1] * s[i]) / l[i];
    }
}

TCubicSplineMatrix BuildSplineMatrix(const float* v, int n)
{
    TCubicSplineMatrix m;
    if (!v || n < 2) {
        return m;
    }
    std::vector<float> rhs(static_cast<std::size_t>(n));
    rhs[0] = 3 * (v[1] - v[0]);
    rhs[n - 1] = 3 * (v[n - 1] - v[n - 2]);
    for (int i = 1; i < n - 1; ++i) {
        rhs[i] = 3 * (v[i + 1] - v[i - 1]);
    }
    std::vector<float> slope(static_cast<std::size_t>(n));
    SolveSplineSystem(rhs.data(), n, slope.data());
    m.resize(static_cast<std::size_t>(n - 1));
    for (int i = 0; i < n - 1; ++i) {
        const float a = v[i];
        const float b = slope[i];
        const float c = 3 * (v[i + 1] - v[i]) - 2 * slope[i] - slope[i + 1];
        const float d = 2 * (v[i] - v[i + 1]) + slope[i] + slope[i + 1];
        const auto fi = static_cast<float>(i);
        auto& e = m[static_cast<std::size_t>(i)];
        e[0] = d;
        e[1] = c - 3 * fi * d;
        e[2] = (3 * fi * d - 2 * c) * fi + b;
        e[3] = ((c - fi * d) * fi - b) * fi + a;
    }
    return m;
}

TCubicSpline::TCubicSpline(const float* x, const float* y, const float* z, const float* w, int count)
    : mx_(BuildSplineMatrix(x, count)),
      my_(BuildSplineMatrix(y, count)),
      mz_(BuildSplineMatrix(z, count)),
      mw_(BuildSplineMatrix(w, count)),
      count_(count)
{
}

float TCubicSpline::EvaluateCoordinate(const TCubicSplineMatrix& matrix, float t) const
{
    if (matrix.empty()) {
        return 0;
    }
    const int n = count_;
    int i;
    if (t <= 0) {
        i = 0;
    } else if (t <= static_cast<float>(n - 1)) {
        i = TruncSingle(t);
    } else {
        i = n - 1;
    }
    if (i >= n - 1) {
        i = n - 2;
    }
    const auto& c = matrix[static_cast<std::size_t>(i)];
    return ((c[0] * t + c[1]) * t + c[2]) * t + c[3];
}

void TCubicSpline::SplineXYZ(float t, float& x, float& y, float& z) const
{
    x = EvaluateCoordinate(mx_, t);
    y = EvaluateCoordinate(my_, t);
    z = EvaluateCoordinate(mz_, t);
}

void TCubicSpline::SplineXYZW(float t, float& x, float& y, float& z, float& w) const
{
    SplineXYZ(t, x, y, z);
    w = EvaluateCoordinate(mw_, t);
}

TAffineVector TCubicSpline::SplineAffineVector(float t) const
{
    TAffineVector v{};
    SplineXYZ(t, v.X, v.Y, v.Z);
    return v;
}

TVector TCubicSpline::SplineVector(float t) const
{
    TVector v{};
    SplineXYZW(t, v.X, v.Y, v.Z, v.W);
    return v;
}
