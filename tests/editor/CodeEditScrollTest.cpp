// The scroll bars' values and codes, and the hint beside the thumb.
#include "EditorSession.h"

#include "editor/CodeEditScrollInfo.h"

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

QStringList Lines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << QStringLiteral("line %1").arg(i);
    }
    return lines;
}

// 100 lines in a window of 30 lines and 80 columns.
class CodeEditScroll : public ::testing::Test {
protected:
    CodeEditScroll()
    {
        s.host.clientHeight = 30 * 16;
        s.editor.ClientResized();
        s.host.Forget();
    }
    TEditorSession s{Lines(100)};
};

TEST_F(CodeEditScroll, CodesMoveTheView)
{
    struct TCase {
        TScrollBarKind bar;
        TScrollCode code;
        int position;
        bool byOneLess;
        int expected;
    };
    const TCase cases[] = {
        {sbVertical, scLineUp, 0, false, 9},      {sbVertical, scLineDown, 0, false, 11},
        {sbVertical, scPageUp, 0, false, 1},      {sbVertical, scPageDown, 0, false, 40},
        {sbVertical, scPageDown, 0, true, 39},    {sbVertical, scPageUp, 0, true, 1},
        {sbVertical, scTrack, 50, false, 50},     {sbVertical, scPosition, 95, false, 71},
        {sbVertical, scTop, 0, false, 1},         {sbVertical, scBottom, 0, false, 71},
        {sbVertical, scEndScroll, 0, false, 10},  {sbHorizontal, scLineUp, 0, false, 9},
        {sbHorizontal, scPageDown, 0, false, 90}, {sbHorizontal, scPageDown, 0, true, 89},
        {sbHorizontal, scPageUp, 0, false, 1},    {sbHorizontal, scTrack, 500, false, 500},
        {sbHorizontal, scBottom, 0, false, 945},  {sbHorizontal, scTop, 0, false, 1},
    };
    for (const TCase& c : cases) {
        s.editor.SetOptions(s.editor.Options().Set(eoScrollByOneLess, c.byOneLess));
        s.editor.SetTopLine(10);
        s.editor.SetLeftChar(10);
        s.host.Forget();
        s.editor.Scroll(c.bar, c.code, c.position);
        const int at = c.bar == sbVertical ? s.editor.TopLine() : s.editor.LeftChar();
        EXPECT_EQ(at, c.expected) << "bar " << c.bar << " code " << int(c.code);
        EXPECT_EQ(s.host.calls.back(), "update") << "painted at once";
        EXPECT_EQ(s.editor.ScrollInfo(c.bar).position, c.bar == sbVertical ? s.editor.TopLine() : s.editor.LeftChar());
    }
}

TEST_F(CodeEditScroll, TheHintFollowsTheThumbUntilTheScrollEnds)
{
    // 12 characters of 8 pixels: 96 wide; the client is 672 wide.
    s.editor.Scroll(sbVertical, scTrack, 50);
    EXPECT_TRUE(s.host.Called("hint Top Line: 50 at 572,10"));
    s.editor.SetScrollHintFormat(shfTopToBottom);
    s.editor.SetOptions(s.editor.Options().With(eoScrollHintFollows));
    s.host.Forget();
    s.editor.Scroll(sbVertical, scPosition, 71);
    // y = 17 + round((480 - 34) * 71 / 100) + 10
    EXPECT_TRUE(s.host.Called("hint 71 - 100 at 604,344"));
    s.editor.Scroll(sbVertical, scEndScroll);
    EXPECT_TRUE(s.host.Called("hide hint"));
    s.editor.SetOptions(s.editor.Options().Without(eoShowScrollHint));
    s.host.Forget();
    s.editor.Scroll(sbVertical, scTrack, 20);
    s.editor.Scroll(sbVertical, scEndScroll);
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"update", "update"}));
}

TEST(CodeEditScrollLong, TheThumbScalesOnAHundredThousandLines)
{
    TEditorSession s(Lines(100000));
    s.host.clientHeight = 30 * 16;
    s.editor.ClientResized();
    EXPECT_EQ(s.editor.ScrollInfo(sbVertical).maximum, ScrollBarMaxRange);
    s.editor.Scroll(sbVertical, scTrack, 16384);
    EXPECT_EQ(s.editor.TopLine(), 50016);
    EXPECT_EQ(s.editor.ScrollInfo(sbVertical).position, 16389) << "the bar shows the scaled line";
}

TEST(CodeEditScrollLong, UpdatesWaitForTheLockAndSkipHiddenBars)
{
    TEditorSession s(Lines(50));
    s.editor.SetScrollBars(TScrollStyle::ssHorizontal);
    const TScrollBarInfo vertical = s.editor.ScrollInfo(sbVertical);
    s.editor.Lines().Add(QString(300, QLatin1Char('x')));
    s.editor.SetOptions(s.editor.Options().Without(eoScrollPastEol));
    s.editor.IncPaintLock();
    s.editor.SetLeftChar(30);
    EXPECT_EQ(s.editor.ScrollInfo(sbHorizontal).position, 1) << "held by the lock";
    s.editor.DecPaintLock();
    EXPECT_EQ(Describe(s.editor.ScrollInfo(sbHorizontal)), "1..300 page 80 at 30 arrows ++");
    EXPECT_EQ(s.editor.ScrollInfo(sbVertical), vertical) << "a hidden bar is not computed";
}

} // namespace
