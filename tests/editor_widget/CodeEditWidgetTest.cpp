// The editor widget painted at a fixed size and read back pixel by pixel.
#include "editor/painting/CodeBookmarkGlyphs.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/core/graphics/SystemColors.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include <functional>
#include <memory>
#include <string>

namespace {

QColor Q(TColor color)
{
    const TColor c = ResolveSystemColor(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

class CodeEditWidgetGui : public ::testing::Test {
protected:
    TCodeEditWidget widget;
    TCodeEdit& editor = widget.Editor();
    QImage shot;

    void SetUp() override
    {
        widget.resize(760, 220);
        widget.show();
    }
    void Open(const QString& text) { editor.Lines().SetText(text); }
    // Through the viewport's own paint event.
    void Shoot() { shot = widget.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    int Left(int column) const { return editor.TextOffset() + (column - 1) * editor.CharWidth(); }
    int Top(int line) const { return (line - editor.TopLine()) * editor.LineHeight(); }
    int Count(int left, int top, int right, int bottom, const std::function<bool(QColor)>& is) const
    {
        int n = 0;
        for (int y = std::max(0, top); y < std::min(bottom, shot.height()); ++y) {
            for (int x = std::max(0, left); x < std::min(right, shot.width()); ++x) {
                n += is(shot.pixelColor(x, y)) ? 1 : 0;
            }
        }
        return n;
    }
    int CellCount(int column, int line, const std::function<bool(QColor)>& is) const
    {
        return Count(Left(column), Top(line), Left(column + 1), Top(line + 1), is);
    }
    static bool Dark(QColor c) { return c.red() + c.green() + c.blue() < 300; }
    // The cells of a row whose top pixel row shows the colour: the cell's background.
    std::string CellsOn(int line, int columns, QColor color) const
    {
        std::string out;
        for (int c = 1; c <= columns; ++c) {
            out += shot.pixelColor(Left(c) + editor.CharWidth() / 2, Top(line)) == color ? '#' : '.';
        }
        return out;
    }
};

TEST_F(CodeEditWidgetGui, TextInkStaysInTheCellsOfDrawnCharacters)
{
    editor.Font().SetColor(clRed);
    Open("M i\nW  x");
    Shoot();
    // Red ink, antialiased onto white: full red, equal and lower green and blue.
    const auto red = [](QColor c) { return c.red() == 255 && c.green() == c.blue() && c.green() < 160; };
    const char* rows[] = {"M i", "W  x"};
    for (int line = 1; line <= 2; ++line) {
        const std::string row = rows[line - 1];
        for (int c = 1; c <= 6; ++c) {
            const bool drawn = c <= static_cast<int>(row.size()) && row[static_cast<std::size_t>(c - 1)] != ' ';
            EXPECT_EQ(CellCount(c, line, red) > 0, drawn) << "line " << line << " cell " << c;
        }
    }
}

TEST_F(CodeEditWidgetGui, SelectionBackgroundCoversExactlyTheSelectedCells)
{
    struct TCase {
        TTextPoint anchor, end;
        TCodeSelectionMode mode;
        const char* row1;
        const char* row2;
    };
    const TCase cases[] = {
        {{3, 1}, {5, 2}, smNormal, "..########", "####......"},
        {{4, 2}, {2, 1}, smColumn, ".##.......", ".##......."},
        {{3, 1}, {5, 1}, smLine, "##########", ".........."},
    };
    Open("abcdefgh\nabcdefgh\nabc");
    const QColor selected = Q(clHighlight); // the system colour as the canvas resolves it
    for (const TCase& c : cases) {
        editor.SetSelectionMode(c.mode);
        editor.SetBlockBegin(c.anchor);
        editor.SetBlockEnd(c.end);
        Shoot();
        EXPECT_EQ(CellsOn(1, 10, selected), c.row1) << "mode " << c.mode;
        EXPECT_EQ(CellsOn(2, 10, selected), c.row2) << "mode " << c.mode;
        EXPECT_EQ(CellsOn(3, 10, selected), "..........") << "mode " << c.mode;
    }
}

TEST_F(CodeEditWidgetGui, GutterShowsRightAlignedNumbersAndBothEdgesShow)
{
    Open("a\nb\nc");
    editor.Gutter().SetShowLineNumbers(true);
    editor.Gutter().SetColor(RGB(200, 220, 240));
    Shoot();
    const int width = editor.GutterWidth();
    const int numbersEnd = width - editor.Gutter().RightOffset() - 2;
    for (int line = 1; line <= 3; ++line) {
        EXPECT_GT(Count(0, Top(line), numbersEnd, Top(line + 1), Dark), 0) << "number of line " << line;
        EXPECT_EQ(Count(numbersEnd, Top(line), width - 2, Top(line + 1), Dark), 0) << line;
    }
    EXPECT_EQ(shot.pixelColor(1, Top(2)), QColor(200, 220, 240));
    EXPECT_EQ(shot.pixelColor(1, Top(5) + 1), QColor(200, 220, 240)) << "below the last line";
    EXPECT_EQ(shot.pixelColor(width - 2, 3), Q(editor.Color()));
    EXPECT_EQ(shot.pixelColor(width - 1, 3), QColor(200, 220, 240));
    // The right edge: one column of its colour from top to bottom.
    const int edge = editor.TextOffset() + editor.RightEdge() * editor.CharWidth();
    for (int y : {0, shot.height() - 1}) {
        EXPECT_EQ(shot.pixelColor(edge, y), Q(editor.RightEdgeColor())) << y;
        EXPECT_EQ(shot.pixelColor(edge - 1, y), Q(editor.Color())) << y;
        EXPECT_EQ(shot.pixelColor(edge + 1, y), Q(editor.Color())) << y;
    }
}

TEST_F(CodeEditWidgetGui, SpecialLineSwapsItsColoursWhereSelected)
{
    Open("abcdef\nabcdef");
    editor.OnSpecialLineColors = [](TObject*, int line, bool& special, TColor& fg, TColor& bg) {
        special = line == 2;
        if (special) {
            fg = RGB(255, 255, 0);
            bg = RGB(128, 0, 0);
        }
    };
    editor.SetBlockBegin(TTextPoint{3, 2});
    editor.SetBlockEnd(TTextPoint{5, 2});
    Shoot();
    EXPECT_EQ(CellsOn(2, 8, QColor(128, 0, 0)), "##..####");
    EXPECT_EQ(CellsOn(2, 8, QColor(255, 255, 0)), "..##....") << "the selected part swaps the colours";
    EXPECT_GT(CellCount(3, 2, [](QColor c) { return c.red() > 100 && c.green() < 60; }), 6) << "maroon text";
    EXPECT_EQ(CellsOn(1, 8, Q(editor.Color())), "########");
}

TEST_F(CodeEditWidgetGui, HiddenSelectionWithoutFocusShowsNoSelectionColour)
{
    Open("abcdef");
    editor.SetBlockBegin(TTextPoint{2, 1});
    editor.SetBlockEnd(TTextPoint{5, 1});
    ASSERT_FALSE(widget.hasFocus());
    const auto selected = [](QColor c) { return c == Q(clHighlight); };
    editor.SetHideSelection(true);
    Shoot();
    EXPECT_EQ(Count(0, 0, shot.width(), shot.height(), selected), 0);
    editor.SetHideSelection(false);
    Shoot();
    EXPECT_GT(Count(0, 0, shot.width(), shot.height(), selected), 0);
}

TEST_F(CodeEditWidgetGui, BookmarkGlyphStandsAtTheLeftMargin)
{
    Open("a\nb");
    auto mark = std::make_unique<TCodeEditMark>(&editor);
    mark->SetLine(2);
    mark->SetImage(3);
    mark->SetBookmarkNumber(3);
    mark->SetInternalImage(true);
    mark->SetVisible(true);
    editor.Marks().Add(std::move(mark));
    Shoot();
    const auto ribbon = [](QColor c) { return c == QColor(0, 51, 102) || c == QColor(51, 119, 204); };
    const int margin = editor.BookMarkOptions().LeftMargin();
    EXPECT_GT(Count(margin, Top(2), margin + BookmarkGlyphWidth, Top(3), ribbon), 40);
    EXPECT_EQ(Count(0, Top(2), margin, Top(3), ribbon), 0);
    EXPECT_EQ(Count(margin + BookmarkGlyphWidth, 0, editor.GutterWidth(), shot.height(), ribbon), 0);
    EXPECT_EQ(Count(0, Top(1), editor.GutterWidth(), Top(2), ribbon), 0) << "only on its line";
}

TEST_F(CodeEditWidgetGui, ThinAndWideLettersTakeEqualCellsInAProportionalFont)
{
    editor.Font().SetName("DejaVu Sans");
    Open("iii\nMMM");
    Shoot();
    for (int line = 1; line <= 2; ++line) {
        for (int c = 1; c <= 3; ++c) {
            EXPECT_GT(CellCount(c, line, Dark), 0) << "line " << line << " cell " << c;
        }
        EXPECT_EQ(Count(Left(4), Top(line), shot.width(), Top(line + 1), Dark), 0) << "line " << line;
    }
}

} // namespace
