#include "EditorSession.h"
#include "QtPrinters.h"
#include "editor/CodeCustomHighlighter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A line state that braces carry across lines: the state at a line's start is the
// depth of the braces opened before it. Each line is one token; the scans are counted.
class TBraceHighlighter : public TCodeCustomHighlighter {
    KP_CLASS(TBraceHighlighter, TCodeCustomHighlighter)
public:
    int scanned = 0;
    int weight = 1; // a "rule": what one brace adds

    TCodeHighlighterAttributes* GetDefaultAttribute(int) const override { return nullptr; }
    bool GetEol() const override { return eol_; }
    int GetRange() const override { return depth_; }
    void SetRange(int range) override { depth_ = std::max(0, range); }
    void ResetRange() override { depth_ = 0; }
    QStringView GetToken() const override { return line_; }
    TCodeHighlighterAttributes* GetTokenAttribute() const override { return nullptr; }
    int GetTokenKind() const override { return 0; }
    int GetTokenPos() const override { return 0; }
    void SetLine(const QString& text, int) override
    {
        line_ = text;
        eol_ = false;
        ++scanned;
    }
    void Next() override
    {
        depth_ = Advance(depth_, line_, weight);
        eol_ = true;
    }
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

// The state every line must hold: the depth after the lines above it.
std::vector<int> ExpectedStates(const TCodeEditStringList& lines, int weight)
{
    std::vector<int> states;
    int depth = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        states.push_back(depth);
        depth = TBraceHighlighter::Advance(depth, lines.Get(i), weight);
    }
    return states;
}
std::vector<int> StoredStates(const TCodeEditStringList& lines)
{
    std::vector<int> states;
    for (int i = 0; i < lines.Count(); ++i) {
        states.push_back(lines.GetRange(i));
    }
    return states;
}

TEST(CodeEditBufferEvents, EveryEditLeavesTheLineStatesOfAFullScan)
{
    std::mt19937 random(7);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    TBraceHighlighter highlighter;
    TEditorSession s({"a{", "b", "c}", "d", "{e", "f"});
    s.editor.SetHighlighter(&highlighter);
    ASSERT_EQ(StoredStates(s.editor.Lines()), ExpectedStates(s.editor.Lines(), 1));
    for (int step = 0; step < 400; ++step) {
        const int y = pick(1, s.editor.LineCount());
        s.editor.SetCaretAndSelection({pick(1, static_cast<int>(s.editor.LineAt(y).size()) + 1), y}, {1, y}, {1, y});
        switch (pick(0, 7)) {
        case 0: s.Type(QString(QLatin1Char("{}x"[pick(0, 2)]))); break;
        case 1: s.Press("BkSp"); break;
        case 2: s.Press("Del"); break;
        case 3: s.Press("Enter"); break;
        case 4: s.Press("Ctrl+Y"); break;
        case 5:
            s.ClipboardBlock(static_cast<TCodeSelectionMode>(pick(0, 1)), "{\r\nq\r\n}}");
            s.Press("Ctrl+V");
            break;
        case 6: s.Press("Ctrl+Z"); break;
        default: s.editor.Lines().Insert(y - 1, "}{"); break;
        }
        ASSERT_EQ(StoredStates(s.editor.Lines()), ExpectedStates(s.editor.Lines(), 1))
            << "step " << step << ": " << s.Text().toStdString();
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
    EXPECT_EQ(StoredStates(s.editor.Lines()), ExpectedStates(s.editor.Lines(), 2));
    highlighter.reset();
    EXPECT_EQ(s.editor.Highlighter(), nullptr);
    s.editor.SetCaretXY({1, 3});
    s.Press({"Enter", "BkSp"});
    s.Type("{");
    EXPECT_EQ(s.Text(), "{|{|{x");
}

TEST(CodeEditBufferEvents, DetachedEditorsAreNoLongerTold)
{
    TBraceHighlighter highlighter;
    TEditorSession s({"{", "x"});
    s.editor.SetHighlighter(&highlighter);
    s.editor.SetHighlighter(nullptr);
    highlighter.scanned = 0;
    highlighter.NotifyChange();
    EXPECT_EQ(highlighter.scanned, 0);
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

    TEditorSession fixed({"x"});
    fixed.editor.Lines().Add(QString(2000, QLatin1Char('a')));
    EXPECT_EQ(fixed.editor.MaxLeftChar(), 1024);
}

TEST(CodeEditBufferEvents, ClearingTheBufferResetsTheView)
{
    TEditorSession s({"abc", "def"});
    s.Type("x");
    s.editor.SetCaretXY({2, 2});
    s.editor.Lines().Clear();
    EXPECT_FALSE(s.editor.CanUndo());
    EXPECT_EQ(s.State(), "caret 1,1");
    EXPECT_EQ(s.editor.TopLine(), 1);
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
        case 2:
            if (lines.Count() > 1) {
                lines.Delete(index);
            }
            break;
        case 3: lines.InsertBlankLines(index, 2); break;
        case 4: lines.DeleteLines(index, std::min(2, lines.Count() - 1)); break;
        case 5: lines.SetWrapWidth(pick(5, 30)); lines.SetWrapMode(!lines.WrapMode()); break;
        default: lines.SetTabWidth(pick(1, 8)); break;
        }
        int longest = 0;
        for (int i = 0; i < lines.Count(); ++i) {
            longest = std::max(longest, static_cast<int>(lines.GetExpandedString(i).size()));
        }
        ASSERT_EQ(lines.GetLengthOfLongestLine(), longest) << "step " << step;
    }
}

} // namespace
