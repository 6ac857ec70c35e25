#include "scene/objects/lines/LinePoints.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void ExpectPoints(const TLinePoints& points, const std::vector<TAffineVector>& expected)
{
    ASSERT_EQ(points.Count(), expected.size());
    for (std::uint32_t i = 0; i < points.Count(); ++i) {
        EXPECT_EQ(points[i].X, expected[i].X) << i;
        EXPECT_EQ(points[i].Y, expected[i].Y) << i;
        EXPECT_EQ(points[i].Z, expected[i].Z) << i;
    }
}

// Across the inline room of three points, both ways, and through several regrowths.
TEST(LinePoints, GrowAndShrinkAcrossTheInlineRoom)
{
    TLinePoints points;
    std::vector<TAffineVector> expected;
    for (int i = 0; i < 70; ++i) {
        const TAffineVector p{float(i), -float(i), 0.5f * float(i)};
        points.Push(p);
        expected.push_back(p);
        ExpectPoints(points, expected);
    }
    EXPECT_EQ(points.Data() + 69, &points[69]) << "side by side";
    while (!expected.empty()) {
        points.PopBack();
        expected.pop_back();
        ExpectPoints(points, expected);
    }
    points.PopBack();
    EXPECT_EQ(points.Count(), 0u);

    TLinePoints copy;
    copy.Push({9, 9, 9});
    for (int n : {2, 3, 4, 12}) {
        points.Clear();
        expected.clear();
        for (int i = 0; i < n; ++i) {
            points.Push({float(i), 1, 2});
            expected.push_back({float(i), 1, 2});
        }
        copy.Assign(points);
        ExpectPoints(copy, expected);
    }
}

} // namespace
