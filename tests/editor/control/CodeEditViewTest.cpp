#include "../EditorSession.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QStringList Numbered(int count, const QString& prefix = QStringLiteral("line "))
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << prefix + QString::number(i);
    }
    return lines;
}

// 100 lines in a window of 30 (and 80 columns).
class CodeEditView : public ::testing::Test {
protected:
    CodeEditView()
    {
        s.host.clientHeight = 30 * 16;
        s.editor.ClientResized();
        s.host.Forget();
    }
    TEditorSession s{Numbered(100)};
};

TEST_F(CodeEditView, TopLineLimitsAndScrolling)
{
    std::vector<TCodeStatusChanges> fired;
    s.editor.OnStatusChange = [&fired](TObject*, TCodeStatusChanges c) { fired.push_back(c); };
    s.editor.SetTopLine(0);
    EXPECT_EQ(s.editor.TopLine(), 1);
    EXPECT_TRUE(fired.empty());
    s.editor.SetTopLine(95);
    EXPECT_EQ(s.editor.TopLine(), 71);
    EXPECT_TRUE(s.host.invalidated.size() == 1 && s.host.calls.empty()) << "a long way: repainted";
    EXPECT_EQ(fired, std::vector<TCodeStatusChanges>{scTopLine});
    s.editor.SetTopLine(68);
    EXPECT_TRUE(s.host.Called("scroll 0,48")) << "three lines: moved by pixels";
    s.editor.SetOptions(s.editor.Options().With(eoScrollPastEof));
    s.editor.SetTopLine(95);
    EXPECT_EQ(s.editor.TopLine(), 95);
    s.editor.SetTopLine(500);
    EXPECT_EQ(s.editor.TopLine(), 100);
}

TEST_F(CodeEditView, LeftColumnLimits)
{
    std::vector<TCodeStatusChanges> fired;
    s.editor.OnStatusChange = [&fired](TObject*, TCodeStatusChanges c) { fired.push_back(c); };
    s.editor.SetLeftChar(2000);
    EXPECT_EQ(s.editor.LeftChar(), 1024 - 80 + 1);
    EXPECT_EQ(s.editor.TextOffset(), 32 - 944 * 8);
    EXPECT_EQ(fired, std::vector<TCodeStatusChanges>{scLeftChar});
    s.editor.SetOptions(s.editor.Options().Without(eoScrollPastEol));
    EXPECT_EQ(s.editor.LeftChar(), 1) << "re-clamped to the longest line";
    s.editor.Lines().Add(QString(100, QLatin1Char('x')));
    s.editor.SetLeftChar(50);
    EXPECT_EQ(s.editor.LeftChar(), 21);
}

TEST_F(CodeEditView, KeepingTheCaretVisible)
{
    struct Case {
        int top;
        TTextPoint caret;
        bool middle;
        int expectedTop;
    };
    const Case cases[] = {
        {40, {1, 10}, false, 10}, {40, {1, 80}, false, 51}, {40, {1, 50}, false, 40},
        {40, {1, 10}, true, 1},   {40, {1, 39}, true, 25},  {40, {1, 69}, true, 55},
        {40, {1, 45}, true, 40},  {40, {1, 68}, true, 40},
    };
    for (const Case& c : cases) {
        s.editor.SetTopLine(c.top);
        s.editor.PlaceCaret(false, c.caret);
        s.editor.EnsureCursorPosVisibleEx(c.middle);
        EXPECT_EQ(s.editor.TopLine(), c.expectedTop) << c.caret.y << (c.middle ? " centred" : "");
    }
    s.editor.Lines().Put(44, QString(200, QLatin1Char('y')));
    s.editor.SetCaretXY({150, 45});
    EXPECT_EQ(s.editor.LeftChar(), 150 - 80 + 1);
    s.editor.SetCaretXY({3, 45});
    EXPECT_EQ(s.editor.LeftChar(), 3);
}

TEST_F(CodeEditView, PixelsAndTextPositions)
{
    s.editor.Lines().Put(1, QStringLiteral("\tab"));
    s.editor.Lines().Put(3, QString::fromUtf8("a\U0001F600b"));
    s.editor.SetTopLine(2);
    struct Case {
        int x, y;
        TTextPoint expected;
    };
    const Case cases[] = {
        {32, 0, {1, 2}},              // the left edge of column 1
        {32 + 3, 5, {1, 2}},          // left half: before the tab cell
        {32 + 4, 5, {1, 2}},          // inside the tab: the tab
        {32 + 8 * 8 + 4, 17, {10, 3}}, // the middle of cell 9 rounds up: behind it
        {32 + 8 * 8 + 4, 5, {3, 2}},   // the same cell is "a" after the tab: behind it
        {32, 30 * 16 + 50, {1, 31}},  // below the window: the last whole line
        {0, 16, {-3, 3}},             // in the gutter: columns below 1 for the caller to clamp
        {46, 37, {2, 4}},             // a surrogate pair's first cell: before the pair
        {50, 37, {4, 4}},             // its second cell: behind it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s.editor.PixelToTextPos(c.x, c.y), c.expected) << c.x << "," << c.y;
    }
    EXPECT_EQ(s.editor.TextPosToPixel({3, 2}), (TTextPoint{32 + 9 * 8, 0}));
    s.editor.ComputeCaret(32 + 8 * 8 + 4, 17);
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{10, 3}));
}

TEST_F(CodeEditView, GutterWidth)
{
    s.editor.SetGutterWidth(-5);
    EXPECT_EQ(s.editor.GutterWidth(), 0);
    EXPECT_EQ(s.editor.TextOffset(), 2);
    EXPECT_EQ(s.editor.CharsInWindow(), (s.host.clientWidth - 2) / 8);
    s.editor.Gutter().SetShowLineNumbers(true);
    EXPECT_EQ(s.editor.GutterWidth(), 16 + 2 + 4 * 8 + 2);
}

TEST_F(CodeEditView, ScrollCodesMoveTheViewAndPaintAtOnce)
{
    struct TCase {
        TScrollBarKind bar;
        TScrollCode code;
        int position;
        bool byOneLess;
        int expected;
    };
    // From line 10 and column 10; 71 is the last top line, 945 the last left column.
    const TCase cases[] = {
        {sbVertical, scLineUp, 0, false, 9},     {sbVertical, scPageUp, 0, false, 1},
        {sbVertical, scPageDown, 0, false, 40},  {sbVertical, scPageDown, 0, true, 39},
        {sbVertical, scPosition, 95, false, 71}, {sbVertical, scBottom, 0, false, 71},
        {sbVertical, scEndScroll, 0, false, 10}, {sbHorizontal, scLineDown, 0, false, 11},
        {sbHorizontal, scPageDown, 0, true, 89}, {sbHorizontal, scTrack, 500, false, 500},
        {sbHorizontal, scBottom, 0, false, 945}, {sbHorizontal, scTop, 0, false, 1},
    };
    for (const TCase& c : cases) {
        s.editor.SetOptions(s.editor.Options().Set(eoScrollByOneLess, c.byOneLess));
        s.editor.SetTopLine(10);
        s.editor.SetLeftChar(10);
        s.host.Forget();
        s.editor.Scroll(c.bar, c.code, c.position);
        const int at = c.bar == sbVertical ? s.editor.TopLine() : s.editor.LeftChar();
        EXPECT_EQ(at, c.expected) << "bar " << c.bar << " code " << int(c.code);
        EXPECT_EQ(s.host.calls.back(), "update");
        EXPECT_EQ(s.editor.ScrollInfo(c.bar).position, at);
    }
}

TEST_F(CodeEditView, TheHintFollowsTheThumbUntilTheScrollEnds)
{
    s.editor.Scroll(sbVertical, scTrack, 50); // the hint is 12 x 8 pixels wide, the client 672
    EXPECT_TRUE(s.host.Called("hint Top Line: 50 at 572,10"));
    s.editor.SetScrollHintFormat(shfTopToBottom);
    s.editor.SetOptions(s.editor.Options().With(eoScrollHintFollows));
    s.editor.Scroll(sbVertical, scPosition, 71);
    EXPECT_TRUE(s.host.Called("hint 71 - 100 at 604,344")) << "17 + round(446 * 71 / 100) + 10";
    s.editor.Scroll(sbVertical, scEndScroll);
    EXPECT_TRUE(s.host.Called("hide hint"));
    s.editor.SetOptions(s.editor.Options().Without(eoShowScrollHint));
    s.host.Forget();
    s.editor.Scroll(sbVertical, scTrack, 20);
    s.editor.Scroll(sbVertical, scEndScroll);
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"update", "update"}));
}

TEST_F(CodeEditView, BarUpdatesWaitForTheLockAndSkipHiddenBars)
{
    s.editor.SetScrollBars(TScrollStyle::ssHorizontal);
    const TScrollBarInfo vertical = s.editor.ScrollInfo(sbVertical);
    s.editor.Lines().Add(QString(300, QLatin1Char('x')));
    s.editor.SetOptions(s.editor.Options().Without(eoScrollPastEol));
    s.editor.IncPaintLock();
    s.editor.SetLeftChar(30);
    EXPECT_EQ(s.editor.ScrollInfo(sbHorizontal).position, 1) << "held by the lock";
    s.editor.DecPaintLock();
    EXPECT_EQ(s.editor.ScrollInfo(sbHorizontal), HorizontalScrollInfo(300, 1024, 80, 30, s.editor.Options()));
    EXPECT_EQ(s.editor.ScrollInfo(sbVertical), vertical) << "a hidden bar is not computed";
}

TEST(CodeEditMarks, ListsMoveAndTellTheirPlugins)
{
    struct TPluginLog : TCodeEditPlugin {
        std::string* log;
        explicit TPluginLog(std::string* l) : log(l) {}
        void AfterPaint(TCanvas&, const TRect&, int, int) override {}
        void LinesInserted(int first, int count) override { *log += "+" + std::to_string(first) + "," + std::to_string(count); }
        void LinesDeleted(int first, int count) override { *log += "-" + std::to_string(first) + "," + std::to_string(count); }
    };
    TEditorSession s(Numbered(20));
    std::string log;
    s.editor.AddPlugin(std::make_unique<TPluginLog>(&log));
    TCodeEditMark* marks[4];
    const int lines[4] = {5, 6, 7, 9};
    for (int i = 0; i < 4; ++i) {
        marks[i] = s.editor.Marks().Add(std::make_unique<TCodeEditMark>(&s.editor));
        marks[i]->SetLine(lines[i]);
    }
    s.editor.DoLinesDeleted(5, 3);
    EXPECT_EQ(log, "-5,3");
    EXPECT_EQ(marks[0]->Line(), 5);
    EXPECT_EQ(marks[1]->Line(), 5);
    EXPECT_EQ(marks[2]->Line(), 5);
    EXPECT_EQ(marks[3]->Line(), 6);
    s.editor.DoLinesInserted(6, 2);
    EXPECT_EQ(log, "-5,3+6,2");
    EXPECT_EQ(marks[0]->Line(), 5);
    EXPECT_EQ(marks[3]->Line(), 8);

    for (int i = 0; i < 17; ++i) {
        s.editor.Marks().Add(std::make_unique<TCodeEditMark>(&s.editor))->SetLine(12);
    }
    TCodeEditMarkList::TLineMarks onLine;
    s.editor.Marks().GetMarksForLine(12, onLine);
    EXPECT_EQ(onLine[15], s.editor.Marks().Items(4 + 15));
    s.editor.Marks().GetMarksForLine(5, onLine);
    EXPECT_EQ(onLine[2], marks[2]);
    EXPECT_EQ(onLine[3], nullptr);

    // A visible mark repaints its gutter line, old and new; a removed one forgets its editor.
    marks[3]->SetVisible(true);
    s.host.Forget();
    marks[3]->SetLine(2);
    ASSERT_EQ(s.host.invalidated.size(), 2u);
    EXPECT_EQ(s.host.invalidated[0], Rect(0, 7 * 16, 30, 8 * 16));
    EXPECT_EQ(s.host.invalidated[1], Rect(0, 16, 30, 2 * 16));
    std::unique_ptr<TCodeEditMark> removed = s.editor.Marks().Remove(marks[3]);
    EXPECT_EQ(removed->GetEdit(), nullptr);
    s.host.Forget();
    removed->SetLine(3);
    EXPECT_TRUE(s.host.invalidated.empty());
}

} // namespace
