#include "scene/objects/lines/SegmentClip.h"

#include <cmath>

namespace {

// a x b - c x d, to within a unit or two of its last place whatever the products'
// sizes (the error of c x d, taken back by the fused multiply-add, is added again).
double DifferenceOfProducts(double a, double b, double c, double d)
{
    const double cd = c * d;
    const double error = std::fma(-c, d, cd);
    return std::fma(a, b, -cd) + error;
}

double Dot(const TPoint3d& u, const TPoint3d& v)
{
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
}

double Side(const TClipPlane& plane, const TPoint3d& p)
{
    return Dot(plane.Normal, p) + plane.Offset;
}

// Where the line through a and b crosses the plane, which it does not run along:
// (a (n.b + d) - b (n.a + d)) / n.(b - a), its coordinate k
// (sum over j of n_j (a_k b_j - a_j b_k) + d (a_k - b_k)) / n.(b - a).
TPoint3d Crossing(const TPoint3d& a, const TPoint3d& b, const TClipPlane& plane, double across)
{
    TPoint3d point{};
    for (int k = 0; k < 3; ++k) {
        double sum = plane.Offset * (a[k] - b[k]);
        for (int j = 0; j < 3; ++j) {
            if (j != k) {
                sum += plane.Normal[j] * DifferenceOfProducts(a[k], b[j], a[j], b[k]);
            }
        }
        point[k] = sum / across;
    }
    return point;
}

bool Finite(const TPoint3d& p)
{
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

} // namespace

bool ClipSegment(const TPoint3d& a, const TPoint3d& b, const TClipPlane* planes, int count, TClippedSegment& clipped)
{
    if (!Finite(a) || !Finite(b)) {
        return false;
    }
    // Plane by plane, an end outside it moves to where the line crosses it.
    clipped = {a, b, true, true};
    const TPoint3d span{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    for (int i = 0; i < count; ++i) {
        const TClipPlane& plane = planes[i];
        const bool fromOut = Side(plane, clipped.From) < 0;
        const bool toOut = Side(plane, clipped.To) < 0;
        if (fromOut && toOut) {
            return false;
        }
        if (!fromOut && !toOut) {
            continue;
        }
        const double across = Dot(plane.Normal, span);
        if (across == 0) {
            return false; // along the plane: one end out means both
        }
        if (fromOut) {
            clipped.From = Crossing(a, b, plane, across);
            clipped.FromKept = false;
        } else {
            clipped.To = Crossing(a, b, plane, across);
            clipped.ToKept = false;
        }
    }
    return true;
}
