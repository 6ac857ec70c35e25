// The scroll bars' values, the thumb's scaling and the hint beside it, as plain functions.
#include "editor/CodeEditScrollInfo.h"

#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr TCodeEditorOptions None{};

std::string Describe(const TScrollBarInfo& i)
{
    return std::to_string(i.minimum) + ".." + std::to_string(i.maximum) + " page " + std::to_string(i.page) + " at " +
           std::to_string(i.position) + " arrows " + (i.firstArrowEnabled ? "+" : "-") +
           (i.secondArrowEnabled ? "+" : "-") + (i.disableNoScroll ? "" : " hides");
}

TEST(CodeEditScrollInfo, VerticalBar)
{
    struct TCase {
        int lines, window, top;
        TCodeEditorOptions options;
        const char* bar;
    };
    const TCase cases[] = {
        {100, 30, 1, None, "1..100 page 30 at 1 arrows ++"},
        {100, 30, 1, {eoScrollPastEof}, "1..129 page 30 at 1 arrows ++"},
        {20, 30, 1, None, "1..20 page 30 at 1 arrows --"},
        {0, 30, 1, None, "1..1 page 30 at 1 arrows --"},
        {1, 30, 1, {eoHideShowScrollbars}, "1..2 page 30 at 1 arrows -- hides"},
        {100, 30, 1, {eoDisableScrollArrows}, "1..100 page 30 at 1 arrows -+"},
        {100, 30, 40, {eoDisableScrollArrows}, "1..100 page 30 at 40 arrows ++"},
        {100, 30, 71, {eoDisableScrollArrows}, "1..100 page 30 at 71 arrows +-"},
        // Past 32767 lines the bar counts 0..32767 and its page shrinks with the buffer.
        {32767, 30, 1, None, "1..32767 page 30 at 1 arrows ++"},
        {40000, 30, 1, None, "0..32767 page 25 at 1 arrows ++"},
        {40000, 30, 20000, None, "0..32767 page 25 at 16384 arrows ++"},
        {1000000, 40, 900000, None, "0..32767 page 1 at 29490 arrows ++"},
        {32760, 30, 1, {eoScrollPastEof}, "0..32767 page 30 at 1 arrows ++"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Describe(VerticalScrollInfo(c.lines, c.window, c.top, c.options)), c.bar)
            << c.lines << " lines from " << c.top;
    }
}

TEST(CodeEditScrollInfo, HorizontalBar)
{
    struct TCase {
        int longest, maxLeft, chars, left;
        TCodeEditorOptions options;
        const char* bar;
    };
    const TCase cases[] = {
        {50, 1024, 80, 1, {eoScrollPastEol}, "1..1024 page 80 at 1 arrows ++"},
        {50, 1024, 80, 1, None, "1..50 page 80 at 1 arrows --"},
        {200, 1024, 80, 1, None, "1..200 page 80 at 1 arrows ++"},
        {200, 1024, 80, 1, {eoDisableScrollArrows}, "1..200 page 80 at 1 arrows -+"},
        {200, 1024, 80, 100, {eoDisableScrollArrows}, "1..200 page 80 at 100 arrows ++"},
        {200, 1024, 80, 121, {eoDisableScrollArrows}, "1..200 page 80 at 121 arrows +-"},
        {0, 1024, 80, 1, {eoHideShowScrollbars}, "1..2 page 80 at 1 arrows -- hides"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Describe(HorizontalScrollInfo(c.longest, c.maxLeft, c.chars, c.left, c.options)), c.bar)
            << c.longest << " columns from " << c.left;
    }
}

// Thumb positions give back the line the bar showed there, scaled or not, also where
// eoScrollPastEof alone takes the bar past 32767 steps.
TEST(CodeEditScrollInfo, ThumbPositionsComeBackToTheirLines)
{
    EXPECT_EQ(ThumbToTopLine(16384, 100000, 30, None), 50016);
    EXPECT_EQ(ThumbToTopLine(16384, 32767, 30, None), 16384);
    struct TCase {
        int lines, window;
        TCodeEditorOptions options;
    };
    for (const TCase& c : {TCase{100, 30, None}, TCase{32767, 30, None}, TCase{32768, 30, None},
                           TCase{32760, 30, {eoScrollPastEof}}, TCase{40000, 30, {eoScrollPastEof}},
                           TCase{1000000, 40, None}}) {
        const int step = (c.lines + c.window) / ScrollBarMaxRange + 1;
        for (int top : {1, c.lines / 3, c.lines / 2, c.lines - c.window}) {
            const int position = VerticalScrollInfo(c.lines, c.window, top, c.options).position;
            EXPECT_LE(std::abs(ThumbToTopLine(position, c.lines, c.window, c.options) - top), step + c.window)
                << c.lines << " lines, top " << top;
        }
    }
    EXPECT_EQ(ThumbToTopLine(16384, 32760, 30, {eoScrollPastEof}), 16395) << "scaled as the bar is";
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
    g.rangeMaximum = 100;
    for (const auto& [track, y] : {std::pair{0, 27}, std::pair{50, 250}, std::pair{100, 473}}) {
        g.trackPosition = track;
        EXPECT_EQ(ScrollHintPlace(g), (TTextPoint{580, y})) << track;
    }
    g.rangeMaximum = 0;
    EXPECT_EQ(ScrollHintPlace(g).y, 27) << "an empty range puts it at the top";
}

} // namespace
