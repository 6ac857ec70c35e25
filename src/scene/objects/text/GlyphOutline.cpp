#include "scene/objects/text/GlyphOutline.h"

#include <algorithm>
#include <cmath>

namespace {

TGlyphOutlineProvider* installedProvider = nullptr;

// Beyond this a curve gains nothing visible and only costs vertices.
constexpr int MaxCurveSegments = 256;

} // namespace

void SetGlyphOutlineProvider(TGlyphOutlineProvider* provider)
{
    installedProvider = provider;
}

TGlyphOutlineProvider* GlyphOutlineProvider()
{
    return installedProvider;
}

void TGlyphOutline::Clear(float tolerance)
{
    points_.clear();
    contourEnds_.clear();
    contourStart_ = 0;
    open_ = false;
    // A tolerance of 0 would ask for endless subdivision; one design unit of a
    // 2048-unit font is finer than any screen shows.
    tolerance_ = tolerance > 0 ? tolerance : 1.0f / 2048;
    Metrics = {};
    NonZeroWinding = true;
}

void TGlyphOutline::AddPoint(float x, float y)
{
    const int count = static_cast<int>(points_.size());
    if (count > contourStart_ && points_.back().X == x && points_.back().Y == y) {
        return; // a zero-length edge gives the sides no normal
    }
    points_.push_back({x, y});
}

void TGlyphOutline::MoveTo(float x, float y)
{
    if (open_) {
        CloseContour();
    }
    open_ = true;
    contourStart_ = static_cast<int>(points_.size());
    points_.push_back({x, y});
}

void TGlyphOutline::LineTo(float x, float y)
{
    if (!open_) {
        MoveTo(x, y);
        return;
    }
    AddPoint(x, y);
}

void TGlyphOutline::CubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y)
{
    if (!open_) {
        MoveTo(c1x, c1y);
    }
    const TGlyphPoint p0 = points_.back();
    // The second differences bound how far the curve bends away from its chords:
    // with n equal steps the error is at most 3/4 * d / n^2.
    const double d1x = double(p0.X) - 2.0 * c1x + c2x, d1y = double(p0.Y) - 2.0 * c1y + c2y;
    const double d2x = double(c1x) - 2.0 * c2x + x, d2y = double(c1y) - 2.0 * c2y + y;
    const double d = std::max(std::hypot(d1x, d1y), std::hypot(d2x, d2y));
    const double wanted = std::ceil(std::sqrt(0.75 * d / tolerance_));
    const int steps = static_cast<int>(std::clamp(wanted, 1.0, double(MaxCurveSegments)));
    for (int i = 1; i < steps; ++i) {
        const double t = double(i) / steps, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
        AddPoint(static_cast<float>(a * p0.X + b * c1x + c * c2x + e * x),
                 static_cast<float>(a * p0.Y + b * c1y + c * c2y + e * y));
    }
    AddPoint(x, y);
}

void TGlyphOutline::CloseContour()
{
    if (!open_) {
        return;
    }
    open_ = false;
    const int end = static_cast<int>(points_.size());
    if (end - contourStart_ > 1) {
        const TGlyphPoint first = points_[contourStart_];
        if (points_.back().X == first.X && points_.back().Y == first.Y) {
            points_.pop_back();
        }
    }
    if (static_cast<int>(points_.size()) - contourStart_ < 3) {
        points_.resize(contourStart_);
        return;
    }
    contourEnds_.push_back(static_cast<int>(points_.size()));
}

double TGlyphOutline::SignedArea2() const
{
    double sum = 0;
    for (int c = 0; c < ContourCount(); ++c) {
        const int start = ContourStart(c), end = ContourEnd(c);
        for (int i = start; i < end; ++i) {
            const TGlyphPoint& p = points_[i];
            const TGlyphPoint& q = points_[i + 1 < end ? i + 1 : start];
            sum += double(p.X) * q.Y - double(q.X) * p.Y;
        }
    }
    return sum;
}
