#pragma once
// Closed-form real roots of polynomials of degree 2, 3 and 4, for the ray casts of the
// round objects: each ray cast writes its surface equation as a polynomial in the ray
// parameter and takes the smallest non-negative root.
//
// Coefficients come constant term first: c[0] + c[1] x + c[2] x^2 (+ c[3] x^3 ...).
// Roots are not sorted, and a multiple root may appear once.

#include <vector>

using TDoubleArray = std::vector<double>;

// |x| <= 1e-40.
bool IsNearZero(double x);

// Cube root through the single-precision power, with the sign of x.
double CubeRoot(double x);

// The smallest root >= 0; false when there is none.
bool MinPositiveRoot(const TDoubleArray& roots, double& min);

// A zero leading coefficient falls back to the equation of lower degree.
TDoubleArray SolveQuadratic(const double* c);
TDoubleArray SolveCubic(const double* c);
TDoubleArray SolveQuartic(const double* c);
