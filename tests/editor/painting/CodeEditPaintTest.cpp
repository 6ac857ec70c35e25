// Painting of the editor model on a recording canvas with 8 x 16 cells (ascent 13): the
// default gutter is 30 pixels wide, so column 1 starts at x 32.
#include "../../support/RecordingCanvas.h"
#include "../../support/RunHighlighter.h"
#include "../EditorSession.h"
#include "editor/painting/CodeBookmarkGlyphs.h"
#include "editor/painting/CodeImageList.h"
#include "platform/core/graphics/SystemColors.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using testsupport::TCanvasCall;
using testsupport::TRecordingCanvas;
using testsupport::TRecordingCanvasSource;
using testsupport::TRunHighlighter;

namespace {

constexpr int kText = 32;
constexpr int kAscent = 13;
const TColor kSelected = ResolveSystemColor(clHighlight);

class CodeEditPaint : public ::testing::Test {
protected:
    TRecordingCanvasSource source;
    TMeasuringCanvasScope scope{&source};
    std::unique_ptr<TEditorSession> session;

    TCustomCodeEdit& Open(const char* lines)
    {
        InstallCodeEditInternalImages();
        session = std::make_unique<TEditorSession>(LinesOf(lines));
        return session->editor;
    }
    TRecordingCanvas Paint(TRect clip = TRect{0, 0, 672, 320})
    {
        TRecordingCanvas canvas;
        canvas.IntersectClipRect(clip);
        canvas.calls.clear();
        session->editor.Paint(canvas);
        return canvas;
    }
    // The text calls of a row in the text area.
    static std::vector<TCanvasCall> Row(const TRecordingCanvas& canvas, int row)
    {
        std::vector<TCanvasCall> out;
        for (const TCanvasCall& c : canvas.Texts()) {
            if (c.y == (row - 1) * 16 + kAscent && c.rect.Left >= kText) {
                out.push_back(c);
            }
        }
        return out;
    }
    static std::vector<std::string> RowTexts(const TRecordingCanvas& canvas, int row)
    {
        std::vector<std::string> texts;
        for (const TCanvasCall& c : Row(canvas, row)) {
            texts.push_back(c.Utf8Text());
        }
        return texts;
    }
    // Each text call of a row as "[text] foreground/background", * for a styled font.
    static std::vector<std::string> RowLooks(const TRecordingCanvas& canvas, int row)
    {
        const std::map<TColor, std::string> names = {
            {clBlack, "black"}, {clWhite, "white"}, {clMaroon, "maroon"}, {clBlue, "blue"}};
        std::vector<std::string> looks;
        for (const TCanvasCall& c : Row(canvas, row)) {
            looks.push_back("[" + c.Utf8Text() + "] " + names.at(c.textColor) + "/" + names.at(c.backgroundColor) +
                            (c.font.style != 0 ? "*" : ""));
        }
        return looks;
    }
    // Lines from x `left` on, as "x:top-bottom colour".
    static std::string LinesDrawn(const TRecordingCanvas& canvas, int left)
    {
        const std::map<TColor, std::string> names = {{clSilver, "silver"}, {clWindow, "window"}, {clBtnFace, "gutter"}};
        std::string out;
        for (const TCanvasCall& c : canvas.Lines()) {
            if (c.x >= left) {
                out += std::to_string(c.x) + ":" + std::to_string(c.y) + "-" + std::to_string(c.y2) + " " +
                       names.at(c.pen.color) + " ";
            }
        }
        return out;
    }
    // Columns drawn on the selection colour, as "first-end" (end exclusive).
    static std::string SelectedColumns(const TRecordingCanvas& canvas, int row)
    {
        std::string out;
        for (const TCanvasCall& c : Row(canvas, row)) {
            if (c.backgroundColor == kSelected) {
                out += (out.empty() ? "" : " ") + std::to_string((c.rect.Left - kText) / 8 + 1) + "-" +
                       std::to_string((c.rect.Right - kText) / 8 + 1);
            }
        }
        return out;
    }
};

TEST_F(CodeEditPaint, OnlyTheLinesAndColumnsOfTheClipArePainted)
{
    Open("0123456789abcdef|ghijklmnopqrstuv|wxyz|last");
    // Columns 5.. and rows 2..3 (the painter rounds the last line and column up).
    const TRecordingCanvas canvas = Paint(TRect{kText + 4 * 8, 16, kText + 10 * 8, 48});
    EXPECT_TRUE(RowTexts(canvas, 1).empty());
    EXPECT_EQ(RowTexts(canvas, 2), std::vector<std::string>{"klmnopqrstu"});
    EXPECT_EQ(Row(canvas, 2)[0].x, kText + 4 * 8);
    EXPECT_EQ(RowTexts(canvas, 3), std::vector<std::string>{""}) << "an opaque fill of the short row";
    EXPECT_EQ(RowTexts(canvas, 4), std::vector<std::string>{""});
    for (const TCanvasCall& fill : canvas.Fills()) {
        EXPECT_GE(fill.rect.Left, 30) << "no gutter in this clip";
    }
}

struct TRunCase {
    const char* line;
    std::vector<std::string> runs;
    const char* why;
};

TEST_F(CodeEditPaint, TokensThatLookAlikeShareOneTextCall)
{
    const TRunCase cases[] = {
        // The last call fills the rest of the row.
        {"ab  cd", {"ab", "  cd", ""}, "blanks join what follows, not the coloured text before them"},
        {"ab12cd", {"ab", "12", "cd", ""}, "another background"},
        {"ab  ,;", {"ab", "  ,;", ""}, "blanks take the style of the text that joins them"},
        {"ab__  cd", {"ab", "__", "  cd", ""}, "underlined blanks keep their own run"},
        {"", {""}, "an empty line is one fill"},
    };
    for (const TRunCase& c : cases) {
        TCustomCodeEdit& editor = Open(c.line);
        TRunHighlighter highlighter(5, [](const QString& line, int i) {
            return line[i] == QLatin1Char('_') ? 4 : TRunHighlighter::ByCharacter(line, i);
        });
        highlighter.Class(1).SetBackground(clYellow);
        highlighter.Class(3).SetStyle(fsBold);
        highlighter.Class(3).SetForeground(clRed);
        highlighter.Class(4).SetStyle(fsUnderline);
        highlighter.Class(0).SetForeground(clBlue);
        editor.SetHighlighter(&highlighter);
        EXPECT_EQ(RowTexts(Paint(), 1), c.runs) << c.why;
        editor.SetHighlighter(nullptr);
    }
}

TEST_F(CodeEditPaint, SelectionCoversItsColumnsInEveryMode)
{
    struct TCase {
        const char* lines;
        TTextPoint anchor, end;
        TCodeSelectionMode mode;
        std::vector<std::string> rows;
    };
    const TCase cases[] = {
        {"abcdefgh|abcdefgh|abcdefgh", {3, 1}, {5, 3}, smNormal, {"3-82", "1-82", "1-5"}},
        {"abcdefgh|abcdefgh|abcdefgh", {5, 3}, {3, 1}, smNormal, {"3-82", "1-82", "1-5"}},
        {"abcdefgh|ab|abcdefgh", {5, 1}, {3, 3}, smColumn, {"3-5", "3-5", "3-5"}},
        {"abcdefgh|abcdefgh|abcdefgh", {3, 1}, {5, 2}, smLine, {"1-82", "1-82", ""}},
        // Columns count cells: 'a' after a tab stands in cell 9.
        {"\tab|x", {2, 1}, {3, 1}, smNormal, {"9-10", ""}},
        {"\tab|\tab", {2, 1}, {3, 2}, smColumn, {"9-10", "9-10"}},
    };
    for (const TCase& c : cases) {
        Open(c.lines);
        session->Select(c.anchor, c.end, c.mode);
        const TRecordingCanvas canvas = Paint();
        for (std::size_t row = 0; row < c.rows.size(); ++row) {
            EXPECT_EQ(SelectedColumns(canvas, static_cast<int>(row) + 1), c.rows[row])
                << c.lines << " mode " << c.mode << " row " << row + 1;
        }
    }
}

TEST_F(CodeEditPaint, SpecialLinesSwapTheirColoursWhereSelected)
{
    TCustomCodeEdit& editor = Open("ab cd|ab cd");
    editor.OnSpecialLineColors = [](TObject*, int line, bool& special, TColor& fg, TColor& bg) {
        if (line == 1) {
            special = true;
            fg = clWhite;
            bg = clMaroon;
        }
    };
    TRunHighlighter highlighter(4, TRunHighlighter::ByCharacter);
    highlighter.Class(0).SetForeground(clBlue);
    highlighter.Class(0).SetStyle(fsItalic);
    editor.SetHighlighter(&highlighter);
    session->Select({4, 1}, {6, 1});

    // The owner's colours join the blank to "cd"; the italic "ab" keeps a run of its own
    // but not its style; the selected "cd" swaps the colours; the fill.
    EXPECT_EQ(RowLooks(Paint(), 1), (std::vector<std::string>{"[ab] white/maroon", "[ ] white/maroon",
                                                              "[cd] maroon/white", "[] white/maroon"}));
    EXPECT_EQ(RowLooks(Paint(), 2)[0], "[ab] blue/white*") << "an ordinary line keeps its tokens";

    editor.SetOptions(editor.Options().With(eoSpecialLineDefaultFg));
    session->Select({1, 1}, {1, 1});
    EXPECT_EQ(RowLooks(Paint(), 1)[0], "[ab] blue/maroon") << "the highlighter's text on the special background";
    editor.SetHighlighter(nullptr);
}

TEST_F(CodeEditPaint, SpecialCharactersShowBlanksTabsAndLogicalLineEnds)
{
    TCustomCodeEdit& editor = Open("a b|\tx|abcd efgh ijkl");
    editor.SetOptions(editor.Options().With(eoShowSpecialChars));
    editor.SetTabWidth(4);
    TRecordingCanvas canvas = Paint();
    EXPECT_EQ(RowTexts(canvas, 1), std::vector<std::string>{"a\u00B7b\u00B6"});
    EXPECT_EQ(RowTexts(canvas, 2), std::vector<std::string>{"\u00BB   x\u00B6"});

    session->host.clientWidth = kText + 10 * 8; // wrap at ten columns
    editor.ClientResized();
    editor.SetWordWrap(true);
    canvas = Paint();
    EXPECT_EQ(RowTexts(canvas, 3), std::vector<std::string>{"abcd\u00B7efgh\u00B7"}) << "no mark inside a line";
    EXPECT_EQ(RowTexts(canvas, 4), std::vector<std::string>{"ijkl\u00B6"});
}

TEST_F(CodeEditPaint, GutterNumbersAreRightAlignedAndCountLogicalLinesUnderWrap)
{
    TCustomCodeEdit& editor = Open("");
    editor.Lines().Clear();
    editor.Gutter().SetShowLineNumbers(true);
    editor.Gutter().SetDigitCount(2);
    const int width = editor.GutterWidth(); // 16 + 2 + 2 * 8 + 2
    EXPECT_EQ(width, 36);
    const auto numbers = [&](TRecordingCanvas canvas) {
        std::map<int, std::string> out;
        for (const TCanvasCall& c : canvas.Texts()) {
            if (c.rect.Right <= width - 2 && !c.Utf8Text().empty() && c.Utf8Text() != "  ") {
                out[(c.y - kAscent) / 16 + 1] = c.Utf8Text();
                EXPECT_EQ(c.TextRight(), width - 2 - 2) << "ends at gutter width - RightOffset - 2";
            }
        }
        return out;
    };
    EXPECT_EQ(numbers(Paint()), (std::map<int, std::string>{{1, " 1"}})) << "an empty buffer shows line 1";

    editor.Lines().SetText("aaaa bbbb cccc dddd eeee\nshort\nx");
    session->host.clientWidth = width + 2 + 10 * 8;
    editor.ClientResized();
    editor.SetWordWrap(true); // rows: 3 of the first line, then "short", then "x"
    EXPECT_EQ(numbers(Paint()), (std::map<int, std::string>{{1, " 1"}, {4, " 2"}, {5, " 3"}}));
    EXPECT_EQ(numbers(Paint(TRect{0, 16, width, 320})), (std::map<int, std::string>{{4, " 2"}, {5, " 3"}}))
        << "a repaint from a continuation row still counts logical lines";

    EXPECT_EQ(LinesDrawn(Paint(TRect{0, 0, width, 32}), 0), "34:0-32 window 35:0-32 gutter ");
}

TEST_F(CodeEditPaint, MarksDrawInTwoPassesAtTheirOffsets)
{
    TCustomCodeEdit& editor = Open("a|b|c");
    TCodeImageList images(nullptr, 10, 10);
    TBitmap picture;
    picture.SetSize(10, 10);
    for (int i = 0; i < 4; ++i) {
        images.Add(picture);
    }
    auto place = [&](int line, int image, int bookmark, bool internal) {
        auto mark = std::make_unique<TCodeEditMark>(&editor);
        mark->SetLine(line);
        mark->SetImage(image);
        mark->SetBookmarkNumber(bookmark);
        mark->SetInternalImage(internal);
        mark->SetVisible(true);
        editor.Marks().Add(std::move(mark));
    };
    place(1, 3, -1, false); // a plain mark, listed first
    place(1, 1, 1, false);  // a bookmark
    place(1, 9, -1, false); // no such image
    place(2, 2, 2, true);   // a built-in glyph
    place(2, 5, 5, true);   // a second glyph on a row already used
    editor.BookMarkOptions().SetBookmarkImages(&images);
    const auto drawn = [&] {
        std::string out;
        for (const TCanvasCall& c : Paint().Images()) {
            out += std::to_string(c.x) + "," + std::to_string(c.y) + " " + (c.rect.Width() == 10 ? "list " : "glyph ");
        }
        return out;
    };
    // Bookmarks first: the bookmark at the margin, the glyph of bookmark 2 (11 x 14,
    // centred in the 16-pixel row), then the plain mark one Xoffset further.
    EXPECT_EQ(drawn(), "2,0 list 2,17 glyph 14,0 list ");
    editor.BookMarkOptions().SetDrawBookmarksFirst(false);
    EXPECT_EQ(drawn(), "2,0 list 14,0 list 2,17 glyph ");
    editor.BookMarkOptions().SetBookmarkImages(nullptr);
}

TEST_F(CodeEditPaint, ThePaintEndsWithPluginsOnPaintTransientAndCaret)
{
    TCustomCodeEdit& editor = Open("abc");
    std::vector<std::string> order;
    struct TPlugin : TCodeEditPlugin {
        std::vector<std::string>& order;
        explicit TPlugin(std::vector<std::string>& o) : order(o) {}
        void AfterPaint(TCanvas&, const TRect& clip, int first, int last) override
        {
            order.push_back("plugin " + std::to_string(clip.Bottom) + " " + std::to_string(first) + "-" +
                            std::to_string(last));
        }
        void LinesInserted(int, int) override {}
        void LinesDeleted(int, int) override {}
    };
    editor.AddPlugin(std::make_unique<TPlugin>(order));
    editor.OnPaint = [&](TObject*, TCanvas&) { order.push_back("paint"); };
    editor.OnPaintTransient = [&](TObject*, TTransientType t) { order.push_back(t == ttAfter ? "after" : "before"); };
    session->host.clientWidth = 800; // wide enough for the right edge at column 80
    editor.ClientResized();
    session->host.Forget();
    const TRecordingCanvas canvas = Paint(TRect{0, 0, 800, 320});
    EXPECT_EQ(order, (std::vector<std::string>{"plugin 320 1-1", "paint", "after"}));
    EXPECT_EQ(session->host.caretUpdates, 1);

    // The right edge at column 80 runs through the row and on to the clip's bottom.
    EXPECT_EQ(LinesDrawn(canvas, kText), "672:0-17 silver 672:16-320 silver ");
}

TEST_F(CodeEditPaint, AHighlighterWhiteSpaceBackgroundIsTheTextBackground)
{
    TCustomCodeEdit& editor = Open("a");
    TRunHighlighter highlighter(5, TRunHighlighter::ByCharacter);
    editor.SetHighlighter(&highlighter);
    EXPECT_EQ(editor.PaintBackgroundColor(), editor.Color()) << "clNone sets nothing";
    highlighter.Class(4).SetBackground(clNavy);
    EXPECT_EQ(Paint().Fills().back().color, clNavy) << "below the last line";
    editor.SetHighlighter(nullptr);
}

// The gutter's logical numbers come from a row index kept across paints: after every kind
// of edit under soft wrap (typing that rewraps, breaks and joins, deleted lines, rows
// exchanged, wrap switched off and on) a paint near the caret shows what counting from
// the top shows.
TEST_F(CodeEditPaint, GutterNumbersUnderWrapFollowEveryEdit)
{
    std::mt19937 random(40);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    QStringList lines;
    for (int i = 0; i < 1500; ++i) {
        QString line;
        for (int words = pick(9); words > 0; --words) {
            line += QString(1 + pick(6), QLatin1Char('a' + pick(26))) + QLatin1Char(' ');
        }
        lines << line;
    }
    TCustomCodeEdit& editor = Open("");
    editor.Lines().SetText(lines.join(QLatin1Char('\n')));
    editor.Gutter().SetShowLineNumbers(true);
    editor.Gutter().SetDigitCount(4);
    const int width = editor.GutterWidth();
    session->host.clientWidth = width + 2 + 20 * 8;
    editor.ClientResized();
    editor.SetWordWrap(true);
    ASSERT_GT(editor.LineCount(), 2000) << "rows of several blocks of the index";

    const auto check = [&](const std::string& step) {
        editor.SetTopLine(std::max(1, editor.CaretY() - 10));
        const int top = editor.TopLine();
        std::map<int, std::string> painted;
        for (const TCanvasCall& c : Paint(TRect{0, 0, width, 320}).Texts()) {
            const QString text = QString::fromStdString(c.Utf8Text()).trimmed();
            if (c.rect.Right <= width - 2 && !text.isEmpty()) {
                painted[top + (c.y - kAscent) / 16] = text.toStdString();
            }
        }
        std::map<int, std::string> counted;
        int heads = 0;
        for (int row = 1; row <= top + 20 && row <= editor.LineCount(); ++row) { // 20 rows and the next
            if (!editor.Lines().IsContinuationLine(row - 1)) {
                ++heads;
                if (row >= top) {
                    counted[row] = std::to_string(heads);
                }
            }
        }
        ASSERT_EQ(painted, counted) << step;
    };
    check("wrapped");
    for (int step = 0; step < 300; ++step) {
        const int row = 1 + pick(editor.LineCount());
        editor.SetCaretXY(TTextPoint{1 + pick(static_cast<int>(editor.LineAt(row).size()) + 1), row});
        switch (pick(7)) {
        case 0: session->Type("more words, "); break;
        case 1: session->Press("Enter"); break;
        case 2: session->Press({"BkSp", "BkSp", "BkSp"}); break;
        case 3: session->Press({"Del", "Del"}); break;
        case 4: session->Press("Ctrl+Y"); break;
        case 5:
            // A change that names no row: two rows trade places, pieces and heads alike.
            editor.Lines().Exchange(row - 1, pick(editor.LineCount()));
            break;
        default:
            if (pick(10) == 0) {
                editor.SetWordWrap(false);
                check("unwrapped at step " + std::to_string(step));
                editor.SetWordWrap(true);
            } else {
                session->Type("x");
            }
        }
        check("step " + std::to_string(step));
    }
}

TEST_F(CodeEditPaint, APieceNeverStartsOnTheSecondHalfOfAPair)
{
    TCustomCodeEdit& editor = Open("a\U0001D400bc");
    editor.SetLeftChar(3); // the pair's second half is the first visible column
    const std::vector<TCanvasCall> row = Row(Paint(), 1);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].Utf8Text(), "\U0001D400bc");
    EXPECT_EQ(row[0].x, kText - 8) << "the glyph starts in the pair's first cell";
    EXPECT_EQ(row[0].rect.Left, kText) << "but the text area is not left";
}

} // namespace
