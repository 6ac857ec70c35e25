#include "scene/base/PolynomialSolvers.h"

#include "scene/base/ScalarMath.h"

#include <cmath>

namespace {
constexpr double Pi = 3.14159265358979323846;
} // namespace

bool IsNearZero(double x) { return std::fabs(x) <= 1e-40; }

double CubeRoot(double x)
{
    if (x > 0) {
        return Power(static_cast<float>(x), static_cast<float>(1.0 / 3.0));
    }
    if (x < 0) {
        return -static_cast<double>(Power(static_cast<float>(-x), static_cast<float>(1.0 / 3.0)));
    }
    return 0;
}

bool MinPositiveRoot(const TDoubleArray& roots, double& min)
{
    bool found = false;
    for (double r : roots) {
        if (r >= 0 && (!found || r < min)) {
            min = r;
            found = true;
        }
    }
    return found;
}

TDoubleArray SolveQuadratic(const double* c)
{
    if (IsNearZero(c[2])) {
        // A ray parallel to a cylinder's axis gives a linear (or empty) equation.
        if (IsNearZero(c[1])) {
            return {};
        }
        return {-c[0] / c[1]};
    }
    const double p = c[1] / (2 * c[2]);
    const double q = c[0] / c[2];
    const double d = p * p - q;
    if (IsNearZero(d)) {
        return {-p};
    }
    if (d > 0) {
        const double s = std::sqrt(d);
        return {s - p, -s - p};
    }
    return {};
}

TDoubleArray SolveCubic(const double* c)
{
    if (IsNearZero(c[3])) {
        return SolveQuadratic(c);
    }
    const double inv = 1 / c[3];
    const double a = c[2] * inv;
    const double b = c[1] * inv;
    const double cc = c[0] * inv;

    const double sqA = a * a;
    const double p = (b - sqA / 3) / 3;
    const double q = (2.0 / 27 * a * sqA - a * b / 3 + cc) / 2;
    const double cbP = p * p * p;
    const double d = q * q + cbP;

    TDoubleArray roots;
    if (IsNearZero(d)) {
        if (IsNearZero(q)) {
            roots = {0};
        } else {
            const double u = CubeRoot(-q);
            roots = {2 * u, -u};
        }
    } else if (d > 0) {
        const double s = std::sqrt(d);
        roots = {CubeRoot(s - q) - CubeRoot(s + q)};
    } else {
        const double s = static_cast<float>(InvSqrt(static_cast<float>(-cbP)));
        // The single-precision reciprocal can push the argument just past +-1.
        double arg = -q * s;
        if (arg > 1) {
            arg = 1;
        } else if (arg < -1) {
            arg = -1;
        }
        const double phi = std::acos(arg) / 3;
        const double t = 2 * std::sqrt(-p);
        roots = {t * std::cos(phi), -t * std::cos(phi + Pi / 3), -t * std::cos(phi - Pi / 3)};
    }
    const double shift = a / 3;
    for (double& r : roots) {
        r -= shift;
    }
    return roots;
}

namespace {

// Relative size of the rounding error left in a polished root and what is built on it.
constexpr double RoundingTolerance = 1e-9;

// The cubic solver's roots pass through single-precision steps; Newton steps in double
// bring one back to full precision. A step that does not bring the value closer to 0
// (near a double root) is not taken.
double PolishedCubicRoot(const double* c, double x)
{
    const auto value = [c](double t) { return ((c[3] * t + c[2]) * t + c[1]) * t + c[0]; };
    double f = value(x);
    for (int i = 0; i < 3 && f != 0; ++i) {
        const double slope = (3 * c[3] * x + 2 * c[2]) * x + c[1];
        const double next = x - f / slope;
        const double g = value(next);
        if (!(std::fabs(g) < std::fabs(f))) {
            break;
        }
        x = next;
        f = g;
    }
    return x;
}

} // namespace

TDoubleArray SolveQuartic(const double* c)
{
    if (IsNearZero(c[4])) {
        return SolveCubic(c);
    }
    const double inv = 1 / c[4];
    const double a = c[3] * inv;
    const double b = c[2] * inv;
    const double cc = c[1] * inv;
    const double dd = c[0] * inv;

    const double sqA = a * a;
    const double p = -3.0 / 8 * sqA + b;
    const double q = 1.0 / 8 * sqA * a - 0.5 * a * b + cc;
    const double r = -3.0 / 256 * sqA * sqA + 1.0 / 16 * sqA * b - 0.25 * a * cc + dd;

    TDoubleArray roots;
    if (IsNearZero(r)) {
        const double cubic[4] = {q, p, 0, 1};
        roots = SolveCubic(cubic);
        roots.push_back(0);
    } else {
        const double resolvent[4] = {0.5 * r * p - 0.125 * q * q, -r, -0.5 * p, 1};
        const TDoubleArray z3 = SolveCubic(resolvent);
        const double z = z3.empty() ? 0 : PolishedCubicRoot(resolvent, z3[0]);
        double u = z * z - r;
        double v = 2 * z - p;
        // Where the exact value is 0 (a quartic symmetric about its middle, such as a
        // ray through a torus's axis), rounding may leave either a little below it.
        if (IsNearZero(u) || (u < 0 && -u <= RoundingTolerance * (z * z + std::fabs(r)))) {
            u = 0;
        } else if (u > 0) {
            u = std::sqrt(u);
        } else {
            return {};
        }
        if (IsNearZero(v) || (v < 0 && -v <= RoundingTolerance * (std::fabs(2 * z) + std::fabs(p)))) {
            v = 0;
        } else if (v > 0) {
            v = std::sqrt(v);
        } else {
            return {};
        }
        const double first[3] = {z - u, q < 0 ? -v : v, 1};
        roots = SolveQuadratic(first);
        const double second[3] = {z + u, q < 0 ? v : -v, 1};
        for (double root : SolveQuadratic(second)) {
            roots.push_back(root);
        }
    }
    const double shift = a / 4;
    for (double& x : roots) {
        x -= shift;
    }
    return roots;
}
