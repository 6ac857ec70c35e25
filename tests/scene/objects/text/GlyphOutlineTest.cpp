#include "scene/objects/text/GlyphOutline.h"

#include "../../FakeGlyphProvider.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double CubicX(double t, double p0, double c1, double c2, double p3)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * p3;
}

// The largest distance from sampled points of the exact curve to the polyline.
double LargestDeviation(const TGlyphOutline& outline, const double (&c)[8])
{
    double worst = 0;
    const auto& p = outline.Points();
    for (int s = 0; s <= 1000; ++s) {
        const double t = s / 1000.0;
        const double x = CubicX(t, c[0], c[2], c[4], c[6]);
        const double y = CubicX(t, c[1], c[3], c[5], c[7]);
        double best = 1e9;
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            const double ax = p[i].X, ay = p[i].Y, bx = p[i + 1].X, by = p[i + 1].Y;
            const double dx = bx - ax, dy = by - ay;
            const double len2 = dx * dx + dy * dy;
            double k = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
            k = std::fmax(0, std::fmin(1, k));
            best = std::fmin(best, std::hypot(x - ax - k * dx, y - ay - k * dy));
        }
        worst = std::fmax(worst, best);
    }
    return worst;
}

TEST(GlyphOutline, ChordsStayWithinTheTolerance)
{
    // A quarter circle of radius 1 as a cubic.
    const double c[8] = {1, 0, 1, 0.5523, 0.5523, 1, 0, 1};
    for (float tolerance : {0.1f, 0.01f, 0.001f, 0.0001f}) {
        TGlyphOutline outline;
        outline.Clear(tolerance);
        outline.MoveTo(1, 0);
        outline.CubicTo(1, 0.5523f, 0.5523f, 1, 0, 1);
        EXPECT_LE(LargestDeviation(outline, c), tolerance * 1.01 + 1e-6) << tolerance;
        // The end point is exact.
        EXPECT_EQ(outline.Points().back().X, 0) << tolerance;
        EXPECT_EQ(outline.Points().back().Y, 1) << tolerance;
    }
}

TEST(GlyphOutline, FinerToleranceGivesMorePointsAndZeroMeansTheFinest)
{
    int previous = 0;
    for (float tolerance : {0.1f, 0.01f, 0.001f, 0.0f}) {
        TGlyphOutline outline;
        outline.Clear(tolerance);
        outline.MoveTo(1, 0);
        outline.CubicTo(1, 0.55f, 0.55f, 1, 0, 1);
        const int count = static_cast<int>(outline.Points().size());
        EXPECT_GT(count, previous) << "tolerance " << tolerance;
        previous = count;
    }
    TGlyphOutline outline;
    outline.Clear(0);
    EXPECT_GT(outline.Tolerance(), 0);
}

TEST(GlyphOutline, AStraightCubicIsOneChordAndAHugeCurveIsCapped)
{
    TGlyphOutline outline;
    outline.Clear(0.001f);
    outline.MoveTo(0, 0);
    outline.CubicTo(1, 0, 2, 0, 3, 0);
    EXPECT_EQ(outline.Points().size(), 2u);
    outline.Clear(0);
    outline.MoveTo(0, 0);
    outline.CubicTo(1e6f, 1e6f, -1e6f, 1e6f, 0, 0);
    EXPECT_LE(outline.Points().size(), 258u);
}

TEST(GlyphOutline, ContoursCloseWithoutRepeatingTheirStart)
{
    TGlyphOutline outline;
    outline.Clear(0.01f);
    outline.MoveTo(0, 0);
    outline.LineTo(1, 0);
    outline.LineTo(1, 1);
    outline.LineTo(0, 0); // back to the start
    // A new contour closes the first.
    outline.MoveTo(5, 5);
    outline.LineTo(6, 5);
    outline.LineTo(6, 5); // repeated point
    outline.LineTo(6, 6);
    outline.CloseContour();
    ASSERT_EQ(outline.ContourCount(), 2);
    EXPECT_EQ(outline.ContourStart(0), 0);
    EXPECT_EQ(outline.ContourEnd(0), 3);
    EXPECT_EQ(outline.ContourStart(1), 3);
    EXPECT_EQ(outline.ContourEnd(1), 6);
}

TEST(GlyphOutline, ContoursWithoutAreaAreDropped)
{
    TGlyphOutline outline;
    outline.Clear(0.01f);
    outline.MoveTo(0, 0); // a lone point
    outline.MoveTo(0, 0);
    outline.LineTo(1, 1); // a line
    outline.CloseContour();
    outline.MoveTo(2, 2);
    outline.LineTo(3, 2);
    outline.LineTo(3, 3);
    outline.CloseContour();
    ASSERT_EQ(outline.ContourCount(), 1);
    EXPECT_EQ(outline.Points().size(), 3u);
    EXPECT_EQ(outline.Points()[0].X, 2);
    // Closing twice changes nothing.
    outline.CloseContour();
    EXPECT_EQ(outline.ContourCount(), 1);
}

TEST(GlyphOutline, AreaSignFollowsTheDirectionOfTheOuterContour)
{
    EXPECT_DOUBLE_EQ(scenetest::FramedSquare(true).SignedArea2(), 6.0);
    EXPECT_DOUBLE_EQ(scenetest::FramedSquare(false).SignedArea2(), -6.0);
}

TEST(GlyphOutline, ClearForgetsContoursAndMetrics)
{
    TGlyphOutline outline;
    outline.Clear(0.01f);
    outline.MoveTo(0, 0);
    outline.LineTo(1, 0);
    outline.LineTo(1, 1);
    outline.CloseContour();
    outline.Metrics.CellIncX = 3;
    outline.NonZeroWinding = false;
    outline.Clear(0.5f);
    EXPECT_EQ(outline.ContourCount(), 0);
    EXPECT_TRUE(outline.Points().empty());
    EXPECT_EQ(outline.Metrics.CellIncX, 0);
    EXPECT_TRUE(outline.NonZeroWinding);
    EXPECT_EQ(outline.Tolerance(), 0.5f);
}

} // namespace
