#include "editor/control/CodeEdit.h"
#include "editor/printing/CodeEditPrint.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "../QtPrinters.h"
#include "../RecordingPrinter.h"
#include "../../support/PartProgramRules.h"
#include "../../support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

using testsupport::TCanvasCall;
using testsupport::TRecordingCanvas;
using testsupport::TRecordingMetrics;

// Characters 24 pixels wide and 50 high: the default margins of an A4 sheet at 300 dpi
// hold 83 columns (1992 pixels of 2009) and 58 lines (from 245 to 3162).
TRecordingMetrics Metrics()
{
    TRecordingMetrics m;
    m.charWidth = m.boldCharWidth = 24;
    m.metrics = {50, 40, 10, 0, 0, 24, 24, 0};
    return m;
}

struct TRow {
    std::string text;
    int x;
    int top; // the row's top: the baseline less the ascent
    bool operator==(const TRow&) const = default;
};

void PrintTo(const TRow& row, std::ostream* os) { *os << '"' << row.text << "\" at " << row.x << ',' << row.top; }

QStringList Numbered(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << QStringLiteral("line %1").arg(i);
    }
    return lines;
}

class CodeEditPrint : public ::testing::Test {
protected:
    CodeEditPrint() : canvas(Metrics()) { BuildPartProgramRules(highlighter); }

    void Layout(const QStringList& lines)
    {
        engine.SetLines(lines);
        engine.UpdatePages(canvas);
    }
    std::vector<TCanvasCall> PageCalls(int page)
    {
        canvas.calls.clear();
        engine.PrintToCanvas(canvas, page);
        return canvas.Texts();
    }
    std::vector<TRow> Rows(int page)
    {
        std::vector<TRow> rows;
        for (const TCanvasCall& call : PageCalls(page)) {
            rows.push_back({call.Utf8Text(), call.x, call.y - 40});
        }
        return rows;
    }

    TRecordingCanvas canvas;
    TCodeEditPrint engine;
    TCodeRuleHighlighter highlighter;
};

TEST_F(CodeEditPrint, DefaultMarginsHold83ColumnsAnd58LinesAPage)
{
    engine.Highlight = false;
    Layout(Numbered(120));
    EXPECT_EQ(engine.MaxColumns(), 83);
    EXPECT_EQ(engine.MaxWidth(), 1992);
    EXPECT_EQ(engine.PageCount(), 3);
    const std::vector<TRow> second = Rows(2);
    ASSERT_EQ(second.size(), 58u);
    EXPECT_EQ(second.front(), (TRow{"line 59", 230, 245}));
    EXPECT_EQ(second.back(), (TRow{"line 116", 230, 245 + 57 * 50}));
    EXPECT_EQ(Rows(3).size(), 4u);
    EXPECT_TRUE(Rows(4).empty()) << "a missing page draws nothing";
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(CodeEditPrint, EmptyTextIsOnePageWithHeaderAndFooter)
{
    engine.PageOffset = 2;
    engine.Header().Add("top $PAGENUM$ of $PAGECOUNT$", nullptr, taLeftJustify, 1);
    engine.Footer().Add("foot", nullptr, taLeftJustify, 1);
    Layout({});
    EXPECT_EQ(engine.PageCount(), 1);
    const std::vector<TRow> rows = Rows(1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "top 3 of 1") << "the page offset shifts the number shown";
    EXPECT_EQ(rows[1].text, "foot");
}

TEST_F(CodeEditPrint, LongLinesWrapAtBreaksOrAreCutEveryMaxColumns)
{
    engine.Highlight = false;
    const QString fits(83, QLatin1Char('W'));
    const QString words = QString(60, QLatin1Char('a')) + QStringLiteral(" ") + QString(40, QLatin1Char('b'));
    const QString solid(200, QLatin1Char('x'));
    Layout({fits, words, solid});
    const std::vector<TRow> rows = Rows(1);
    const std::vector<TRow> expected = {
        {fits.toStdString(), 230, 245},
        {QString(60, QLatin1Char('a')).toStdString() + " ", 230, 295},
        {QString(40, QLatin1Char('b')).toStdString(), 230, 345},
        {QString(83, QLatin1Char('x')).toStdString(), 230, 395},
        {QString(83, QLatin1Char('x')).toStdString(), 230, 445},
        {QString(34, QLatin1Char('x')).toStdString(), 230, 495},
    };
    EXPECT_EQ(rows, expected);

    engine.SetWrap(false);
    engine.UpdatePages(canvas);
    EXPECT_EQ(Rows(1).back(), (TRow{QString(83, QLatin1Char('x')).toStdString(), 230, 345}));
    engine.Highlight = true;
    engine.SetHighlighter(&highlighter);
    engine.UpdatePages(canvas);
    EXPECT_EQ(Rows(1).back().text, solid.toStdString()) << "highlighted tokens run past the margin";
    Layout({QString(1500, QLatin1Char('q'))});
    EXPECT_EQ(PageCalls(1)[0].advances, std::vector<int>(1500, 24)) << "the advance array grows";
}

TEST_F(CodeEditPrint, MarginsWithoutRoomStillPrintOneCharacterARow)
{
    engine.Highlight = false;
    engine.Margins().SetLeft(150);
    engine.Margins().SetRight(100);
    Layout({"M3,1"});
    EXPECT_EQ(engine.MaxColumns(), 1);
    EXPECT_EQ(Rows(1).size(), 4u);
}

TEST_F(CodeEditPrint, MirroredPagesFillAndPrintWithinTheirOwnMargins)
{
    engine.Highlight = false;
    engine.Margins().SetGutter(10);
    engine.Margins().SetMirrorMargins(true);
    Layout(Numbered(60));
    EXPECT_EQ(Rows(2).at(0).x, 112);
    EXPECT_EQ(canvas.Fills().at(0).rect, Rect(112, 245, 2003, 3162));
}

TEST_F(CodeEditPrint, PageBreaksFallBetweenTheRowsOfAWrappedLine)
{
    engine.Highlight = false;
    QStringList lines = Numbered(57);
    lines << QString(83 * 3, QLatin1Char('z'));
    lines << QStringLiteral("after");
    Layout(lines);
    EXPECT_EQ(engine.PageCount(), 2);
    const std::vector<TRow> first = Rows(1);
    ASSERT_EQ(first.size(), 58u);
    EXPECT_EQ(first.back().top + 50, 3145) << "no row below the bottom margin";
    const std::vector<TRow> second = Rows(2);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0], (TRow{QString(83, QLatin1Char('z')).toStdString(), 230, 245}));
    EXPECT_EQ(second[2], (TRow{"after", 230, 345}));
}

TEST_F(CodeEditPrint, HighlightedTokensTakeStyleColoursAndSplitAtRowEnds)
{
    engine.SetHighlighter(&highlighter);
    engine.Colors = true;
    engine.Font().SetColor(clMaroon);
    highlighter.RootRange()->DefaultAttri().SetBackground(clYellow);
    // No break after the blank within 83 columns: the line is cut at 83 and 166.
    Layout({QStringLiteral("MS ") + QString(200, QLatin1Char('y'))});
    const std::vector<TCanvasCall> calls = PageCalls(1);
    ASSERT_GE(calls.size(), 4u);
    const auto look = [](const TCanvasCall& c) {
        return std::tuple(c.text.size(), c.x, c.y - 40, c.textColor, c.backgroundColor, int(c.options), c.font.style);
    };
    // "MS" on the page's own background (clNone), the word in the font colour (clNone) on
    // yellow, split where the row is cut: its first piece ends the row at 83 columns.
    EXPECT_EQ(look(calls[0]), std::tuple(2u, 230, 245, clBlue, clWhite, 0, TFont::fsBold));
    EXPECT_EQ(look(calls[2]), std::tuple(80u, 230 + 3 * 24, 245, clMaroon, clYellow, int(etoOpaque), 0));
    EXPECT_EQ(look(calls[3]), std::tuple(83u, 230, 295, clMaroon, clYellow, int(etoOpaque), 0));
    EXPECT_EQ(calls[0].advances, std::vector<int>(2, 24));
}

TEST_F(CodeEditPrint, ThePrintedLineStartsInTheRangeStateScannedOnce)
{
    struct TCountingHighlighter : TCodeRuleHighlighter {
        void SetLine(const QString& text, int lineNumber) override
        {
            ++lines;
            TCodeRuleHighlighter::SetLine(text, lineNumber);
        }
        int lines = 0;
    } counting;
    BuildPartProgramRules(counting);
    auto block = std::make_unique<TCodeRange>("{", "}");
    block->DefaultAttri().SetForeground(clTeal);
    counting.RootRange()->AddRange(std::move(block));
    engine.SetHighlighter(&counting);
    engine.Colors = true;
    Layout({"M3 {", "J2", "} MS"});
    engine.UpdatePages(canvas);
    EXPECT_EQ(counting.lines, 2) << "one scan per text";
    const std::vector<TCanvasCall> calls = PageCalls(1);
    const auto j2 = std::find_if(calls.begin(), calls.end(), [](const auto& c) { return c.Utf8Text() == "J2"; });
    ASSERT_NE(j2, calls.end());
    EXPECT_EQ(j2->textColor, clTeal) << "the second line starts inside the block";
}

TEST_F(CodeEditPrint, LineNumbersWidenTheMarginOrStandInIt)
{
    engine.Highlight = false;
    engine.SetLineNumbers(true);
    engine.LineOffset = 98;
    Layout({"a", "b"});
    // The highest number, "99: ", takes four characters off the text.
    EXPECT_EQ(engine.MaxColumns(), 79);
    EXPECT_EQ(Rows(1), (std::vector<TRow>{{"99: ", 230, 245}, {"a", 326, 245}, {"100: ", 206, 295}, {"b", 326, 295}}));
    engine.SetLineNumbersInMargin(true);
    engine.UpdatePages(canvas);
    EXPECT_EQ(Rows(1)[0], (TRow{"99: ", 230 - 96, 245}));
}

TEST_F(CodeEditPrint, SelectedOnlyPrintsTheSelectionByMode)
{
    engine.Highlight = false;
    engine.SetSelectedOnly(true);
    const QStringList lines = {"0123456789", "abcdefghij", "ABCDEFGHIJ", "klmnopqrst"};
    struct Case {
        TCodeSelectionMode mode;
        std::vector<std::string> printed;
    } cases[] = {
        {smNormal, {"3456789", "abcdefghij", "ABCDE"}},
        {smLine, {"0123456789", "abcdefghij", "ABCDEFGHIJ"}},
        {smColumn, {"34", "de", "DE"}},
    };
    for (const Case& c : cases) {
        engine.SetSelection(true, {4, 1}, {6, 3}, c.mode);
        Layout(lines);
        std::vector<std::string> printed;
        for (const TRow& row : Rows(1)) {
            printed.push_back(row.text);
        }
        EXPECT_EQ(printed, c.printed) << int(c.mode);
    }
}

TEST_F(CodeEditPrint, PagesBeforeTheSelectionKeepHeaderAndFooter)
{
    engine.Highlight = false;
    engine.SetSelectedOnly(true);
    engine.Header().Add("head", nullptr, taLeftJustify, 1);
    engine.SetSelection(true, {1, 60}, {1, 61}, smLine);
    Layout(Numbered(70));
    std::vector<std::string> first;
    for (const TRow& row : Rows(1)) {
        first.push_back(row.text);
    }
    EXPECT_EQ(first, std::vector<std::string>{"head"});
    const std::vector<TRow> second = Rows(2);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[1], (TRow{"line 60", 230, 245}));
}

TEST_F(CodeEditPrint, EveryLayoutChangeMakesThePageCountStale)
{
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"Wrap", [&] { engine.SetWrap(false); }},
        {"LineNumbers", [&] { engine.SetLineNumbers(true); }},
        {"LineNumbersInMargin", [&] { engine.SetLineNumbersInMargin(true); }},
        {"Margins", [&] { engine.Margins().SetLeft(30); }},
        {"MirrorMargins", [&] { engine.Margins().SetMirrorMargins(true); }},
        {"Header", [&] { engine.Header().Add("x", nullptr, taCenter, 1); }},
        {"Footer frame", [&] { engine.Footer().SetFrameTypes(ftBox); }},
        {"TabWidth", [&] { engine.SetTabWidth(4); }},
        {"Font", [&] { engine.Font().SetSize(20); }},
        {"Highlighter", [&] { engine.SetHighlighter(nullptr); }},
    };
    for (const auto& [name, change] : changes) {
        engine.UpdatePages(canvas);
        EXPECT_TRUE(engine.PagesCounted()) << name;
        change();
        EXPECT_FALSE(engine.PagesCounted()) << name;
    }
}

TEST_F(CodeEditPrint, LoadFromEditorTakesTextSelectionAndDisplayColumns)
{
    TCodeEdit editor;
    editor.SetTabWidth(4);
    editor.SetHighlighter(&highlighter);
    editor.Lines().SetText("\tM3,1\nJ2,\t5\nEND");
    editor.SetSelectionMode(smNormal);
    editor.SetBlockBegin({2, 1}); // after the tab: display column 5
    editor.SetBlockEnd({4, 2});
    engine.LoadFromEditor(editor);
    EXPECT_EQ(engine.Highlighter(), &highlighter);
    EXPECT_EQ(engine.TabWidth(), 4);
    EXPECT_EQ(engine.Lines().ToStringList(), (QStringList{"    M3,1", "J2, 5", "END"}));
    EXPECT_TRUE(engine.SelectionAvailable());
    EXPECT_EQ(engine.BlockBegin(), (TTextPoint{5, 1}));
    EXPECT_EQ(engine.BlockEnd(), (TTextPoint{4, 2}));
    EXPECT_EQ(engine.Font().Name(), "Courier New");
}

class CodeEditPrintJob : public CodeEditPrint {
protected:
    CodeEditPrintJob() : printer(Metrics())
    {
        engine.Highlight = false;
        engine.OnPrintStatus = [this](TObject*, TCodePrintStatus status, int page, bool& abort) {
            static const char* const names[] = {"status begin ", "status page ", "status end "};
            printer.job.push_back(names[status] + std::to_string(page));
            abort = page == abortOnPage;
        };
        engine.SetLines(Numbered(100));
        engine.Title = QStringLiteral("job.sbp");
    }
    TRecordingPrinter printer;
    TPrinterScope scope{&printer};
    testsupport::TRecordingCanvasSource source{Metrics()};
    TMeasuringCanvasScope measuring{&source};
    int abortOnPage = 0;
};

TEST_F(CodeEditPrintJob, CopiesRepeatTheRangeWithANewPageBetweenEachPair)
{
    std::vector<int> linesPrinted;
    engine.OnPrintLine = [&](TObject*, int line, int page) {
        if (line == 59) {
            linesPrinted.push_back(page);
        }
    };
    engine.Copies = 3;
    engine.Print();
    EXPECT_EQ(printer.job, (std::vector<std::string>{
                               "begin job.sbp", "status begin 1", "status page 1", "page", "status page 2", "page",
                               "status page 1", "page", "status page 2", "page", "status page 1", "page",
                               "status page 2", "status end 2", "end"}));
    EXPECT_EQ(linesPrinted, (std::vector<int>{2, 2, 2}));
}

TEST_F(CodeEditPrintJob, RangesAreClampedAndAnEmptyRangeStartsNoJob)
{
    engine.DocTitle = QStringLiteral("listing");
    engine.PrintRange(2, 9);
    EXPECT_EQ(printer.job, (std::vector<std::string>{"begin listing", "status begin 2", "status page 2",
                                                     "status end 2", "end"}));
    printer.job.clear();
    engine.PrintRange(3, -1);
    engine.SetSelectedOnly(true); // and no selection
    engine.Print();
    EXPECT_TRUE(printer.job.empty());
}

TEST_F(CodeEditPrintJob, AbortDiscardsTheJobWithoutItsEndEvent)
{
    abortOnPage = 2;
    engine.Print();
    EXPECT_EQ(printer.job, (std::vector<std::string>{"begin job.sbp", "status begin 1", "status page 1", "page",
                                                     "status page 2", "abort"}));
    printer.job.clear();
    printer.failBegin = true;
    EXPECT_THROW(engine.Print(), EPrinter);
    EXPECT_TRUE(printer.job.empty());
}

TEST_F(CodeEditPrintJob, PageCountPaginatesOnAMeasuringCanvasOnce)
{
    EXPECT_EQ(engine.PageCount(), 2);
    EXPECT_EQ(engine.PageCount(), 2);
    EXPECT_EQ(source.created, 1);
    TMeasuringCanvasScope none(nullptr);
    engine.SetWrap(false);
    EXPECT_EQ(engine.PageCount(), 0);
    engine.Print(); // counts on the printer's canvas then
    EXPECT_EQ(std::count(printer.job.begin(), printer.job.end(), "status page 2"), 1);
    EXPECT_EQ(printer.job.back(), "end");
}

} // namespace
