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

// The points a drawing need not look at again: pushes keep them, pops lower them to what
// is left, an assignment or a clear starts again; three points or fewer keep no count.
TEST(LinePoints, UnchangedCountsThePointsThatStayedSinceTheMark)
{
    const struct {
        const char* Steps; // digits: push that many, p: pop, m: mark, a: assign, c: clear
        std::uint32_t Unchanged;
    } cases[] = {
        {"9", 0},          {"9m", 9},          {"9m5", 9},         {"9mpp", 7},
        {"9mpp3", 7},      {"9mppm3", 7},     {"9m6p", 9},        {"9m55m", 19},
        {"9mpppppp", 0},   {"9mppppp1", 4},    {"9ma", 0},         {"9mc5", 0},
        {"3m", 0},         {"9m9999pm", 44},   {"9m9999ppppp", 9},
    };
    for (const auto& c : cases) {
        TLinePoints points;
        TLinePoints other;
        for (int i = 0; i < 9; ++i) {
            other.Push({float(i), 0, 0});
        }
        for (const char* s = c.Steps; *s; ++s) {
            switch (*s) {
            case 'p': points.PopBack(); break;
            case 'm': points.MarkUnchanged(); break;
            case 'a': points.Assign(other); break;
            case 'c': points.Clear(); break;
            default:
                for (int i = 0; i < *s - '0'; ++i) {
                    points.Push({float(points.Count()), 1, 2});
                }
            }
        }
        EXPECT_EQ(points.Unchanged(), c.Unchanged) << c.Steps;
        EXPECT_LE(points.Unchanged(), points.Count()) << c.Steps;
    }
}

} // namespace
