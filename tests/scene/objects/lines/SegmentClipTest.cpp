// Segments clipped to planes in double precision land where the line crosses them, also
// when their ends lie at single precision's limit; and a view's frustum, seen from a
// camera at 1E20, keeps the part of a path that runs past it.

#include "scene/objects/lines/LineView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

const float Far = 3e38f;

void ExpectAt(const TPoint3d& actual, const TPoint3d& expected, const char* what, const char* end)
{
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(actual[k], expected[k], 1e-9) << what << ", " << end << ", axis " << k;
    }
}

TEST(SegmentClip, CrossingsLieOnTheLineWhereverItsEndsAre)
{
    // The box from -10 to 10, and a plane through its middle for some cases.
    std::vector<TClipPlane> box;
    for (int k = 0; k < 3; ++k) {
        TClipPlane low, high;
        low.Normal[k] = 1;
        low.Offset = 10;
        high.Normal[k] = -1;
        high.Offset = 10;
        box.push_back(low);
        box.push_back(high);
    }
    std::vector<TClipPlane> halfBox = box;
    // x >= y
    halfBox.push_back({{1 / std::sqrt(2.0), -1 / std::sqrt(2.0), 0}, 0});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct TClipped {
        TPoint3d from, to;
        bool fromKept, toKept;
    };
    const struct {
        const char* what;
        TPoint3d a, b;
        std::optional<TClipped> clipped;
        const std::vector<TClipPlane>* planes = nullptr;
    } cases[] = {
        {"inside", {-1, -2, 0}, {3, 4, 5}, TClipped{{-1, -2, 0}, {3, 4, 5}, true, true}},
        {"out of one face", {0, 0, 0}, {20, 0, 0}, TClipped{{0, 0, 0}, {10, 0, 0}, true, false}},
        {"from -3E38 to 3E38 through the origin", {-Far, -Far, 0}, {Far, Far, 0},
         TClipped{{-10, -10, 0}, {10, 10, 0}, false, false}},
        // The part inside is 1E-34 of the segment.
        {"from -3E38 to the origin", {-Far, -Far, 0}, {0, 0, 0}, TClipped{{-10, -10, 0}, {0, 0, 0}, false, true}},
        {"two up for one across, from 1.7E38 away", {-0x1p126, -0x1p127, 0}, {0x1p126, 0x1p127, 0},
         TClipped{{-5, -10, 0}, {5, 10, 0}, false, false}},
        {"beside the origin, from -3E38 to 3E38", {-Far, 5, -7}, {Far, 5, -7},
         TClipped{{-10, 5, -7}, {10, 5, -7}, false, false}},
        {"from -3E38 to 3E38, past the box", {-Far, 11, 0}, {Far, 11, 0}, std::nullopt},
        {"across, past a corner", {0, 25, 0}, {25, 0, 0}, std::nullopt},
        {"along a face, outside", {11, -5, 0}, {11, 5, 0}, std::nullopt},
        {"an end that is no number", {0, 0, 0}, {nan, 0, 0}, std::nullopt},
        {"a tilted plane too", {-Far, 0, 0}, {Far, 0, 0}, TClipped{{0, 0, 0}, {10, 0, 0}, false, false}, &halfBox},
        {"wholly behind the tilted plane", {-5, 1, 0}, {-1, 2, 0}, std::nullopt, &halfBox},
    };
    for (const auto& c : cases) {
        const std::vector<TClipPlane>& planes = c.planes ? *c.planes : box;
        TClippedSegment clipped;
        const bool inside = ClipSegment(c.a, c.b, planes.data(), int(planes.size()), clipped);
        ASSERT_EQ(inside, c.clipped.has_value()) << c.what;
        if (c.clipped) {
            ExpectAt(clipped.From, c.clipped->from, c.what, "from");
            ExpectAt(clipped.To, c.clipped->to, c.what, "to");
            EXPECT_EQ(clipped.FromKept, c.clipped->fromKept) << c.what;
            EXPECT_EQ(clipped.ToKept, c.clipped->toKept) << c.what;
        }
    }
}

// A row-vector translation, as the scene's matrices are.
TMatrix Translation(float x, float y, float z)
{
    TMatrix m = IdentityMatrix;
    m.V[3] = {x, y, z, 1};
    return m;
}

// glFrustum(-1, 1, -1, 1, 1, 1000) as a row-vector matrix: 90 degrees across.
TMatrix Frustum()
{
    const double n = 1, f = 1000;
    TMatrix m{};
    m.V[0].X = 1;
    m.V[1].Y = 1;
    m.V[2].Z = float(-(f + n) / (f - n));
    m.V[2].W = -1;
    m.V[3].Z = float(-2 * f * n / (f - n));
    return m;
}

TEST(LineView, DrawsNearPointsDirectlyAndClipsTheRestToTheFrustum)
{
    // The camera 50 above the origin, looking down.
    const TMatrix view = Translation(0, 0, -50);
    const TLineView table(IdentityMatrix, view, Frustum());
    ASSERT_TRUE(table.Valid());
    EXPECT_TRUE(table.Direct({0, 0, 0}, {96, 48, -1})) << "a table's paths";
    EXPECT_FALSE(table.Direct({0, 0, 0}, {1e10f, 0, 0})) << "a cut to 1E10";
    EXPECT_TRUE(table.Direct(TAffineVector{96, 48, 0}));
    EXPECT_FALSE(table.Direct(TAffineVector{1e10f, 0, 0}));
    TAffineVector from{}, to{};
    bool fromKept = false, toKept = false;
    ASSERT_TRUE(table.ClipToEye({0, 0, 0}, {1e10f, 0, 0}, from, to, fromKept, toKept));
    EXPECT_TRUE(fromKept);
    EXPECT_FALSE(toKept);
    EXPECT_NEAR(from.Z, -50, 1e-4);
    // Where the cut leaves the view: on its side, 45 degrees out at 50 below.
    EXPECT_NEAR(to.X, 50, 1e-3);
    EXPECT_NEAR(to.Y, 0, 1e-4);
    EXPECT_NEAR(to.Z, -50, 1e-4);
    EXPECT_FALSE(table.ClipToEye({0, 0, 60}, {1e10f, 0, 60}, from, to, fromKept, toKept)) << "behind the camera";

    // The object moved so that its point at 1E20 lies under the camera, as the
    // follow-bit view moves the table: the cut from the origin to that point ends in
    // the middle of the view, along the diagonal.
    const float b = 1e20f;
    const TLineView bit(Translation(-b, -b, 0), view, Frustum());
    ASSERT_TRUE(bit.Valid());
    EXPECT_FALSE(bit.Direct(TAffineVector{b, b, 0})) << "nothing near the camera has the matrix's precision";
    ASSERT_TRUE(bit.ClipToEye({0, 0, 0}, {b, b, 0}, from, to, fromKept, toKept));
    EXPECT_FALSE(fromKept);
    EXPECT_TRUE(toKept);
    EXPECT_NEAR(to.X, 0, 1e-4);
    EXPECT_NEAR(to.Y, 0, 1e-4);
    EXPECT_NEAR(to.Z, -50, 1e-4);
    EXPECT_NEAR(from.X, from.Y, 1e-3) << "on the diagonal";
    EXPECT_LT(from.X, -1);

    EXPECT_FALSE(TLineView(IdentityMatrix, view, TMatrix{}).Valid()) << "no projection";
    EXPECT_TRUE(TLineView(IdentityMatrix, view, TMatrix{}).Direct({0, 0, 0}, {Far, 0, 0}));
}

// A segment is drawn as it is exactly where a box holding just its ends is, so one whose
// run of points passes as a whole passes on its own too, and is drawn the same way
// whether its run is drawn whole or segment by segment.
TEST(LineView, ASegmentPassesWhereTheBoundsOfItsEndsPass)
{
    const TMatrix view = Translation(0, 0, -50);
    const float b = 1e20f;
    const TLineView table(IdentityMatrix, view, Frustum());
    const TLineView bit(Translation(-b, -b, 0), view, Frustum());
    const struct {
        const char* what;
        const TLineView& view;
        TAffineVector a, b;
        bool direct;
    } cases[] = {
        {"on the table", table, {0, 0, 0}, {96, 48, -1}, true},
        {"from the table to 1E10", table, {96, 48, 0}, {1e10f, 0, 0}, false},
        {"short, 3,000 away", table, {3000, 0, 0}, {3001, 1, 0}, true},
        {"short, 1E10 away", table, {1e10f, 0, 0}, {1e10f, 1e6f, 0}, true},
        {"from 3,000 to 1E10", table, {3000, 0, 0}, {1e10f, 0, 0}, false},
        {"from -3E38 to 3E38", table, {-Far, -Far, 0}, {Far, Far, 0}, false},
        {"on the table, seen from the bit at 1E20", bit, {0, 0, 0}, {96, 48, 0}, true},
        {"beside the bit at 1E20", bit, {b, b, 0}, {b, b, 1}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.view.DirectSegment(c.a, c.b), c.direct) << c.what;
        EXPECT_EQ(c.view.DirectSegment(c.b, c.a), c.direct) << c.what << ", the other way";
        const TAffineVector low{std::min(c.a.X, c.b.X), std::min(c.a.Y, c.b.Y), std::min(c.a.Z, c.b.Z)};
        const TAffineVector high{std::max(c.a.X, c.b.X), std::max(c.a.Y, c.b.Y), std::max(c.a.Z, c.b.Z)};
        EXPECT_EQ(c.view.Direct(low, high), c.direct) << c.what << ", as bounds";
    }
    // Every segment of a serpentine 3,000 away whose bounds pass.
    const TAffineVector low{2990, -5, 0}, high{3010, 5, 0};
    ASSERT_TRUE(table.Direct(low, high));
    for (int i = 0; i + 1 < 200; ++i) {
        const auto at = [](int k) { return TAffineVector{2990 + float(k % 20), -5 + float(k / 20), 0}; };
        EXPECT_TRUE(table.DirectSegment(at(i), at(i + 1))) << "segment " << i;
    }
}

} // namespace
