// The buffer's count of line lengths: the longest as lines of the table's lengths and
// far longer ones come and go, and a removal of a length never counted.
#include "editor/document/CodeLineLengthCounts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodeLineLengthCounts, TheLongestFollowsAddsAndRemovals)
{
    struct TStep {
        char op; // '+' add, '-' remove
        int length;
        bool removed; // for '-': the length was counted
        int longest;
    };
    const TStep steps[] = {
        {'+', 30, true, 30},
        {'+', 30, true, 30},
        {'-', 30, true, 30},           // one line of 30 is left
        {'+', 10000000, true, 10000000}, // a line of ten million columns
        {'+', 5000, true, 10000000},
        {'+', 4095, true, 10000000},
        {'-', 10000000, true, 5000},   // down to the next long one
        {'-', 5000, true, 4095},       // into the table, at its top
        {'-', 4095, true, 30},
        {'-', 31, false, 30},          // never counted
        {'-', 70000, false, 30},
        {'-', -1, false, 30},
        {'-', 30, true, 0},
        {'-', 0, false, 0},
        {'+', 0, true, 0},
        {'+', 4096, true, 4096},
        {'+', 4096, true, 4096},
        {'-', 4096, true, 4096},
        {'-', 4096, true, 0},
    };
    TLineLengthCounts counts;
    int n = 0;
    for (const TStep& s : steps) {
        ++n;
        if (s.op == '+') {
            counts.Add(s.length);
        } else {
            EXPECT_EQ(counts.Remove(s.length), s.removed) << "step " << n;
        }
        EXPECT_EQ(counts.Longest(), s.longest) << "step " << n;
    }
    counts.Add(12);
    counts.Clear();
    EXPECT_EQ(counts.Longest(), 0);
    EXPECT_FALSE(counts.Remove(12)) << "cleared";
}

} // namespace
