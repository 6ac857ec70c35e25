#include "scene/objects/collision/TriTriIntersect.h"

#include <cmath>
#include <utility>

namespace {

constexpr double Epsilon = 1e-6;

struct Vec {
    double x, y, z;
    double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
};

Vec ToVec(const TAffineVector& v) { return {v.X, v.Y, v.Z}; }
Vec Sub(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Signed distances of the three points to the plane (n, d), near-zero ones snapped to 0.
void Distances(const Vec& n, double d, const Vec (&p)[3], double (&out)[3])
{
    for (int i = 0; i < 3; ++i) {
        out[i] = Dot(n, p[i]) + d;
        if (std::fabs(out[i]) < Epsilon) {
            out[i] = 0;
        }
    }
}

// The interval where the triangle with projections vv and distances dd crosses the
// other plane; false when the triangle lies in that plane.
bool Interval(const double (&vv)[3], const double (&dd)[3], double& lo, double& hi)
{
    auto isect = [&](int a, int b, int c) {
        lo = vv[a] + (vv[b] - vv[a]) * dd[a] / (dd[a] - dd[b]);
        hi = vv[a] + (vv[c] - vv[a]) * dd[a] / (dd[a] - dd[c]);
    };
    if (dd[0] * dd[1] > 0) {
        isect(2, 0, 1); // 0 and 1 on one side, 2 alone on the other
    } else if (dd[0] * dd[2] > 0) {
        isect(1, 0, 2);
    } else if (dd[1] * dd[2] > 0 || dd[0] != 0) {
        isect(0, 1, 2);
    } else if (dd[1] != 0) {
        isect(1, 0, 2);
    } else if (dd[2] != 0) {
        isect(2, 0, 1);
    } else {
        return false;
    }
    if (lo > hi) {
        std::swap(lo, hi);
    }
    return true;
}

// 2D segment (v0, v1) against segment (u0, u1) in the projection axes i0, i1.
bool EdgeEdge(const Vec& v0, const Vec& v1, const Vec& u0, const Vec& u1, int i0, int i1)
{
    const double ax = v1[i0] - v0[i0];
    const double ay = v1[i1] - v0[i1];
    const double bx = u0[i0] - u1[i0];
    const double by = u0[i1] - u1[i1];
    const double cx = v0[i0] - u0[i0];
    const double cy = v0[i1] - u0[i1];
    const double f = ay * bx - ax * by;
    const double d = by * cx - bx * cy;
    if ((f > 0 && d >= 0 && d <= f) || (f < 0 && d <= 0 && d >= f)) {
        const double e = ax * cy - ay * cx;
        if (f > 0) {
            return e >= 0 && e <= f;
        }
        return e <= 0 && e >= f;
    }
    return false;
}

bool PointInTriangle(const Vec& p, const Vec (&u)[3], int i0, int i1)
{
    double d[3];
    for (int k = 0; k < 3; ++k) {
        const Vec& a = u[k];
        const Vec& b = u[(k + 1) % 3];
        const double ea = b[i1] - a[i1];
        const double eb = -(b[i0] - a[i0]);
        const double ec = -ea * a[i0] - eb * a[i1];
        d[k] = ea * p[i0] + eb * p[i1] + ec;
    }
    return d[0] * d[1] > 0 && d[0] * d[2] > 0;
}

bool CoplanarTriTri(const Vec& n, const Vec (&v)[3], const Vec (&u)[3])
{
    // Project onto the plane that drops the normal's largest axis.
    const double ax = std::fabs(n.x);
    const double ay = std::fabs(n.y);
    const double az = std::fabs(n.z);
    int i0 = 0;
    int i1 = 1;
    if (ax > ay) {
        if (ax > az) {
            i0 = 1;
            i1 = 2;
        }
    } else if (!(az > ay)) {
        i1 = 2;
    }
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            if (EdgeEdge(v[a], v[(a + 1) % 3], u[b], u[(b + 1) % 3], i0, i1)) {
                return true;
            }
        }
    }
    return PointInTriangle(v[0], u, i0, i1) || PointInTriangle(u[0], v, i0, i1);
}

} // namespace

bool TriTriIntersect(const TAffineVector& v0, const TAffineVector& v1, const TAffineVector& v2,
                     const TAffineVector& u0, const TAffineVector& u1, const TAffineVector& u2)
{
    const Vec v[3] = {ToVec(v0), ToVec(v1), ToVec(v2)};
    const Vec u[3] = {ToVec(u0), ToVec(u1), ToVec(u2)};

    const Vec n1 = Cross(Sub(v[1], v[0]), Sub(v[2], v[0]));
    double du[3];
    Distances(n1, -Dot(n1, v[0]), u, du);
    if (du[0] * du[1] > 0 && du[0] * du[2] > 0) {
        return false;
    }
    const Vec n2 = Cross(Sub(u[1], u[0]), Sub(u[2], u[0]));
    double dv[3];
    Distances(n2, -Dot(n2, u[0]), v, dv);
    if (dv[0] * dv[1] > 0 && dv[0] * dv[2] > 0) {
        return false;
    }

    // Project onto the largest axis of the line where the planes meet; ties go to the
    // later axis.
    const Vec dir = Cross(n1, n2);
    int axis = 0;
    double largest = std::fabs(dir.x);
    if (std::fabs(dir.y) >= largest) {
        largest = std::fabs(dir.y);
        axis = 1;
    }
    if (std::fabs(dir.z) >= largest) {
        axis = 2;
    }
    const double vp[3] = {v[0][axis], v[1][axis], v[2][axis]};
    const double up[3] = {u[0][axis], u[1][axis], u[2][axis]};

    double lo1 = 0;
    double hi1 = 0;
    if (!Interval(vp, dv, lo1, hi1)) {
        return CoplanarTriTri(n1, v, u);
    }
    double lo2 = 0;
    double hi2 = 0;
    if (!Interval(up, du, lo2, hi2)) {
        return CoplanarTriTri(n1, v, u);
    }
    return hi1 >= lo2 && hi2 >= lo1;
}
