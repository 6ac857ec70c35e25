#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"
#include "../HighlighterTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A line state that braces carry across lines: the state at a line's start is the
// depth of the braces opened before it. Each line is one token; the scans are counted.
class TBraceHighlighter : public TWordHighlighter {
public:
    int scanned = 0;
    int weight = 1; // a "rule": what one brace adds

    bool GetEol() const override { return eol_; }
    int GetRange() const override { return depth_; }
    void SetRange(int range) override { depth_ = std::max(0, range); }
    void ResetRange() override { depth_ = 0; }
    void SetLine(const QString& text, int) override { line_ = text, eol_ = false, ++scanned; }
    void Next() override { depth_ = Advance(depth_, line_, weight), eol_ = true; }
    static int Advance(int depth, const QString& line, int weight)
    {
        for (const QChar c : line) {
            depth = c == QLatin1Char('{') ? depth + weight : c == QLatin1Char('}') ? std::max(0, depth - weight) : depth;
        }
        return depth;
    }

private:
    QString line_;
    int depth_ = 0;
    bool eol_ = true;
};

// The lines whose stored state is not the depth the lines above them leave.
std::vector<int> WrongStates(const TCodeEditStringList& lines, int weight)
{
    std::vector<int> wrong;
    for (int i = 0, depth = 0; i < lines.Count(); depth = TBraceHighlighter::Advance(depth, lines.Get(i++), weight)) {
        if (lines.GetRange(i) != depth) {
            wrong.push_back(i);
        }
    }
    return wrong;
}

TEST(CodeEditBufferEvents, EveryEditLeavesTheLineStatesOfAFullScan)
{
    std::mt19937 random(7);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    TBraceHighlighter highlighter;
    TEditorSession s({"a{", "b", "c}", "d", "{e", "f"});
    s.editor.SetHighlighter(&highlighter);
    ASSERT_EQ(WrongStates(s.editor.Lines(), 1), std::vector<int>());
    for (int step = 0; step < 400; ++step) {
        const int y = pick(1, s.editor.LineCount());
        s.editor.SetCaretAndSelection({pick(1, static_cast<int>(s.editor.LineAt(y).size()) + 1), y}, {1, y}, {1, y});
        static const char* const steps[] = {"'{", "'}", "'x", "BkSp", "Del", "Enter", "Ctrl+Y", "Ctrl+Z",
                                            "clipn={~q~}} Ctrl+V", "clipl={~q~}} Ctrl+V"};
        if (pick(0, 10) == 0) {
            s.editor.Lines().Insert(y - 1, "}{");
        } else {
            RunScript(s, steps[pick(0, 9)]);
        }
        ASSERT_EQ(WrongStates(s.editor.Lines(), 1), std::vector<int>()) << step << ": " << s.Text().toStdString();
    }
}

TEST(CodeEditBufferEvents, AnEditScansOnlyAsFarAsTheStatesChange)
{
    TBraceHighlighter highlighter;
    QStringList lines;
    for (int i = 0; i < 1000; ++i) {
        lines << QStringLiteral("line");
    }
    TEditorSession s(lines);
    s.editor.SetHighlighter(&highlighter);
    s.editor.SetCaretXY({2, 500});
    highlighter.scanned = 0;
    s.Type("x");
    EXPECT_LE(highlighter.scanned, 2);
    s.host.Forget();
    highlighter.scanned = 0;
    s.Type("{");
    EXPECT_EQ(highlighter.scanned, 501) << "the line and every line after it";
    ASSERT_FALSE(s.host.invalidated.empty());
    EXPECT_GE(s.host.invalidated.back().Bottom, s.host.clientHeight) << "the rest of the window repaints";
}

TEST(CodeEditBufferEvents, AHighlighterChangeRescansAndAFreedOneIsForgotten)
{
    auto highlighter = std::make_unique<TBraceHighlighter>();
    TEditorSession s({"{", "{", "x"});
    s.editor.SetHighlighter(highlighter.get());
    highlighter->weight = 2;
    highlighter->NotifyChange();
    EXPECT_EQ(WrongStates(s.editor.Lines(), 2), std::vector<int>());
    TEditorSession other({"x"});
    other.editor.SetHighlighter(highlighter.get());
    other.editor.SetHighlighter(nullptr);
    highlighter->scanned = 0;
    highlighter->NotifyChange();
    EXPECT_EQ(highlighter->scanned, 3) << "only the editor that still uses it";
    highlighter.reset();
    EXPECT_EQ(s.editor.Highlighter(), nullptr);
    RunScript(s, "@1,3 Enter BkSp '{");
    EXPECT_EQ(s.Text(), "{|{|{x");
}

TEST(CodeEditBufferEvents, AutoSizeGrowsMaxLeftCharWithinItsLimit)
{
    TEditorSession s({"x"});
    s.editor.SetOptions(s.editor.Options().With(eoAutoSizeMaxLeftChar));
    s.editor.Lines().Add(QString(2000, QLatin1Char('a')));
    EXPECT_EQ(s.editor.MaxLeftChar(), 2001);
    s.editor.Lines().Put(0, QString(2000, QLatin1Char('b')));
    EXPECT_EQ(s.editor.MaxLeftChar(), 2002);
    s.editor.Lines().Insert(0, QString(40000, QLatin1Char('c')));
    EXPECT_EQ(s.editor.MaxLeftChar(), 32767) << "held to the setter's limit";

    s.editor.SetMaxLeftChar(0);
    EXPECT_EQ(s.editor.MaxLeftChar(), 1);
    s.editor.SetOptions(s.editor.Options().Without(eoAutoSizeMaxLeftChar));
    s.editor.Lines().Add(QString(2000, QLatin1Char('a')));
    EXPECT_EQ(s.editor.MaxLeftChar(), 1);
}

// The cells of a text with its tabs expanded, computed apart from the buffer's cache.
int Cells(const QString& text, int tabWidth)
{
    int cells = 0;
    for (const QChar c : text) {
        cells = c == QLatin1Char('\t') ? (cells / tabWidth + 1) * tabWidth : cells + 1;
    }
    return cells;
}

TEST(CodeEditBufferEvents, LongestLineStaysExactThroughEdits)
{
    std::mt19937 random(3);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    TCodeEditStringList lines;
    for (int i = 0; i < 20; ++i) {
        lines.Add(QString(pick(0, 30), QLatin1Char('x')));
    }
    for (int step = 0; step < 500; ++step) {
        const int index = pick(0, lines.Count() - 1);
        const QString text = QString(pick(0, 40), QLatin1Char('y')) + (pick(0, 3) == 0 ? "\tz" : "");
        switch (pick(0, 6)) {
        case 0: lines.Put(index, text); break;
        case 1: lines.Insert(index, text); break;
        case 2: lines.DeleteLines(index, std::min(pick(1, 3), lines.Count() - 1)); break;
        case 3: lines.InsertBlankLines(index, 2); break;
        case 4: lines.SetWrapWidth(pick(5, 30)); lines.SetWrapMode(!lines.WrapMode()); break;
        case 5: lines.Exchange(index, pick(0, lines.Count() - 1)); break;
        default: lines.SetTabWidth(pick(1, 8)); break;
        }
        int longest = 0;
        for (int i = 0; i < lines.Count(); ++i) {
            longest = std::max(longest, Cells(lines.Get(i), lines.TabWidth()));
        }
        ASSERT_EQ(lines.GetLengthOfLongestLine(), longest) << "step " << step;
    }
}

} // namespace
