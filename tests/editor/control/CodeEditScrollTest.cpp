// The scroll bars' values, the thumb's scaling and the hint beside it, as plain functions.
#include "editor/control/CodeEditScrollInfo.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

constexpr TCodeEditorOptions None{};

std::string Describe(const TScrollBarInfo& i)
{
    return std::to_string(i.minimum) + ".." + std::to_string(i.maximum) + " page " + std::to_string(i.page) + " at " +
           std::to_string(i.position) + " arrows " + (i.firstArrowEnabled ? "+" : "-") +
           (i.secondArrowEnabled ? "+" : "-") + (i.disableNoScroll ? "" : " hides");
}

TEST(CodeEditScrollInfo, Bars)
{
    struct TCase {
        bool vertical;
        int length, window, first;
        TCodeEditorOptions options;
        const char* bar;
    };
    // Vertical: lines, lines in the window, top line. Horizontal: the longest line,
    // columns in the window, left column (MaxLeftChar 1024).
    const TCase cases[] = {
        {true, 100, 30, 1, None, "1..100 page 30 at 1 arrows ++"},
        {true, 100, 30, 1, {eoScrollPastEof}, "1..129 page 30 at 1 arrows ++"},
        {true, 20, 30, 1, None, "1..20 page 30 at 1 arrows --"},
        {true, 1, 30, 1, {eoHideShowScrollbars}, "1..2 page 30 at 1 arrows -- hides"},
        {true, 100, 30, 1, {eoDisableScrollArrows}, "1..100 page 30 at 1 arrows -+"},
        {true, 100, 30, 71, {eoDisableScrollArrows}, "1..100 page 30 at 71 arrows +-"},
        {true, 32767, 30, 1, None, "1..32767 page 30 at 1 arrows ++"},
        {true, 40000, 30, 20000, None, "0..32767 page 25 at 16384 arrows ++"},
        {true, 1000000, 40, 900000, None, "0..32767 page 1 at 29490 arrows ++"},
        {false, 50, 80, 1, {eoScrollPastEol}, "1..1024 page 80 at 1 arrows ++"},
        {false, 50, 80, 1, None, "1..50 page 80 at 1 arrows --"},
        {false, 200, 80, 1, {eoDisableScrollArrows}, "1..200 page 80 at 1 arrows -+"},
        {false, 200, 80, 121, {eoDisableScrollArrows}, "1..200 page 80 at 121 arrows +-"},
        {false, 0, 80, 1, {eoHideShowScrollbars}, "1..2 page 80 at 1 arrows -- hides"},
    };
    for (const TCase& c : cases) {
        const TScrollBarInfo info = c.vertical ? VerticalScrollInfo(c.length, c.window, c.first, c.options)
                                               : HorizontalScrollInfo(c.length, 1024, c.window, c.first, c.options);
        EXPECT_EQ(Describe(info), c.bar) << c.vertical << " " << c.length << " from " << c.first;
    }
}

// A line longer than MaxLeftChar widens the bar to its end; past 32767 columns the bar
// is scaled as the vertical one is, its arrows still those of the columns.
TEST(CodeEditScrollInfo, LinesLongerThanMaxLeftChar)
{
    struct TCase {
        int longest, first;
        TCodeEditorOptions options;
        const char* bar;
        int thumb, leftChar; // a thumb position and the left column it stands for
    };
    const TCase cases[] = {
        {200, 1, {eoScrollPastEol}, "1..256 page 80 at 1 arrows ++", 100, 100},
        {1000, 1, {eoScrollPastEol}, "1..1001 page 80 at 1 arrows ++", 922, 922},
        {1000, 922, {eoScrollPastEol, eoDisableScrollArrows}, "1..1001 page 80 at 922 arrows +-", 1, 1},
        {1000, 1, None, "1..1000 page 80 at 1 arrows ++", 500, 500},
        {32766, 1, {eoScrollPastEol}, "1..32767 page 80 at 1 arrows ++", 32767, 32767},
        {40008, 1, {eoScrollPastEol}, "0..32767 page 66 at 1 arrows ++", 16384, 20005},
        {40008, 39930, {eoScrollPastEol}, "0..32767 page 66 at 32702 arrows ++", 32767, 40009},
        {1000000, 500000, None, "0..32767 page 3 at 16384 arrows ++", 16384, 500015},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Describe(HorizontalScrollInfo(c.longest, 256, 80, c.first, c.options)), c.bar) << c.longest;
        EXPECT_EQ(ThumbToLeftChar(c.thumb, c.longest, 256, c.options), c.leftChar) << c.longest;
    }
}

TEST(CodeEditScrollInfo, TheThumbIsReadThroughTheBarsScale)
{
    EXPECT_EQ(ThumbToTopLine(16384, 100000, 30, None), 50016);
    EXPECT_EQ(ThumbToTopLine(16384, 32767, 30, None), 16384);
    // eoScrollPastEof alone takes this buffer past 32767 steps: the thumb is scaled too.
    ASSERT_EQ(VerticalScrollInfo(32760, 30, 16395, {eoScrollPastEof}).position, 16384);
    EXPECT_EQ(ThumbToTopLine(16384, 32760, 30, {eoScrollPastEof}), 16395);
}

TEST(CodeEditScrollInfo, HintTextAndPlace)
{
    EXPECT_EQ(ScrollHintText(shfTopLineOnly, 12, 30, 100), QStringLiteral("Top Line: 12"));
    EXPECT_EQ(ScrollHintText(shfTopToBottom, 1, 30, 100), QStringLiteral("1 - 31"));
    EXPECT_EQ(ScrollHintText(shfTopToBottom, 90, 30, 100), QStringLiteral("90 - 100"));
    TScrollHintGeometry g{680, 480, 96, 20};
    EXPECT_EQ(ScrollHintPlace(g), (TTextPoint{580, 10}));
    g.follows = true;
    g.arrowHeight = 17;
    for (const auto& [track, maximum, y] : {std::tuple{0, 100, 27}, std::tuple{50, 100, 250},
                                            std::tuple{100, 100, 473}, std::tuple{5, 0, 27}}) {
        g.trackPosition = track;
        g.rangeMaximum = maximum;
        EXPECT_EQ(ScrollHintPlace(g), (TTextPoint{580, y})) << track;
    }
}

} // namespace
