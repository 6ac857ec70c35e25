#include "../../support/RunHighlighter.h"
#include "../EditorSession.h"
#include "../HighlighterTestSupport.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(CodeEditWords, WordPositionsWithoutAHighlighter)
{
    struct Case {
        const char* lines;
        TTextPoint caret;
        TTextPoint next, prev, start, end;
    };
    const Case cases[] = {
        {"abc.def(g)|x", {1, 1}, {5, 1}, {1, 1}, {1, 1}, {4, 1}},
        {"abc.def(g)|x", {5, 1}, {9, 1}, {1, 1}, {5, 1}, {8, 1}},
        {"abc.def(g)|x", {9, 1}, {11, 1}, {5, 1}, {9, 1}, {10, 1}},
        {"abc.def(g)|  x", {10, 1}, {3, 2}, {9, 1}, {9, 1}, {10, 1}},
        {"ab|cd|ef", {1, 3}, {3, 3}, {3, 2}, {1, 3}, {3, 3}},
        {"ab|cd", {3, 2}, {3, 2}, {1, 2}, {1, 2}, {3, 2}},
        {"  ab|", {2, 1}, {3, 1}, {1, 1}, {2, 1}, {2, 1}},
        // Codes above 255 are word characters.
        {"\u03a9mega x", {1, 1}, {7, 1}, {1, 1}, {1, 1}, {6, 1}},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf(c.lines));
        s.editor.SetCaretXY(c.caret);
        EXPECT_EQ(s.editor.NextWordPos(), c.next) << c.lines << " @" << c.caret.x << "," << c.caret.y;
        EXPECT_EQ(s.editor.PrevWordPos(), c.prev) << c.lines << " @" << c.caret.x << "," << c.caret.y;
        EXPECT_EQ(s.editor.WordStartPos(), c.start) << c.lines << " @" << c.caret.x << "," << c.caret.y;
        EXPECT_EQ(s.editor.WordEndPos(), c.end) << c.lines << " @" << c.caret.x << "," << c.caret.y;
    }
    TEditorSession s(LinesOf("abc.def(g)"));
    s.editor.SetCaretXY({6, 1});
    EXPECT_EQ(s.editor.GetWordAtCursor(), QStringLiteral("def"));
    EXPECT_EQ(s.editor.WordAtPos({9, 1}), QStringLiteral("g"));
    EXPECT_EQ(s.editor.WordAtPos({1, 5}), QString());
}

TEST(CodeEditWords, HighlighterDecidesTheWordCharacters)
{
    TEditorSession s(LinesOf("abc.def x"));
    TWordHighlighter highlighter;
    TCodeCharSet breaks;
    breaks.Include(u'x');
    highlighter.StoreCharSet(breaks);
    s.editor.SetHighlighter(&highlighter);
    s.editor.SetCaretXY({1, 1});
    EXPECT_EQ(s.editor.NextWordPos(), (TTextPoint{10, 1})) << "the dot is a word character, x is not";
    EXPECT_EQ(s.editor.WordEndPos(), (TTextPoint{8, 1}));
}

// Moves through keys, as a user makes them.
TEST(CodeEditWords, CaretMovesUnderTheOptions)
{
    struct Case {
        const char* name;
        TCodeEditorOptions options;
        TTextPoint caret;
        std::vector<const char*> keys;
        const char* state;
    };
    const TCodeEditorOptions defaults = CodeEditDefaultOptions;
    const TCodeEditorOptions noPastEol = defaults.Without(eoScrollPastEol);
    const Case cases[] = {
        {"right past the end, scroll past eol", defaults, {3, 1}, {"Right"}, "caret 4,1"},
        {"right at the end wraps", noPastEol, {3, 1}, {"Right"}, "caret 1,2"},
        {"left at column 1 wraps", noPastEol, {1, 2}, {"Left"}, "caret 3,1"},
        {"left at column 1, scroll past eol", defaults, {1, 2}, {"Left"}, "caret 1,2"},
        {"down to a shorter line and on", noPastEol, {6, 2}, {"Down", "Down"}, "caret 3,4"},
        {"keep caret x", noPastEol.With(eoKeepCaretX), {6, 2}, {"Down", "Down"}, "caret 6,4"},
        {"up at the top", defaults, {2, 1}, {"Up"}, "caret 2,1"},
        {"select a word back", defaults, {7, 2}, {"Ctrl+Shift+Left"}, "caret 1,2 sel 7,2-1,2 normal"},
        {"select down then collapse", noPastEol, {2, 1}, {"Shift+Down", "Shift+Right", "Right"}, "caret 4,2"},
        {"editor bottom", defaults, {2, 1}, {"Ctrl+Shift+End"}, "caret 7,4 sel 2,1-7,4 normal"},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf("ab|cdefgh|xy|uvwxyz"));
        s.editor.SetOptions(c.options);
        s.editor.SetCaretXY(c.caret);
        for (const char* key : c.keys) {
            s.Press(key);
        }
        EXPECT_EQ(s.State(), c.state) << c.name;
    }
}

TEST(CodeEditWords, SelectingMovesAddGroupBreaksWithGroupUndo)
{
    TEditorSession s(LinesOf("abc"));
    s.editor.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, QString(), smNormal);
    s.Press("Shift+Right");
    EXPECT_EQ(s.editor.UndoList().GetLastChangeReason(), crGroupBreak);
    TEditorSession plain(LinesOf("abc"));
    plain.editor.SetOptions(plain.editor.Options().Without(eoGroupUndo));
    plain.editor.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, QString(), smNormal);
    plain.Press("Shift+Right");
    EXPECT_EQ(plain.editor.UndoList().GetLastChangeReason(), crInsert);
}

TEST(CodeEditWords, CaseChanges)
{
    struct Case {
        TCodeEditorCommand command;
        bool select;
        const char* after;
        const char* state;
    };
    // Caret inside "mIxed"; the selection, where asked, covers "Other Word".
    const Case cases[] = {
        {ecUpperCase, true, "MIXED Other Word", "caret 3,1"},
        {ecLowerCase, false, "mixed Other Word", "caret 3,1"},
        {ecTitleCase, false, "Mixed Other Word", "caret 3,1"},
        {ecToggleCase, true, "mIxed oTHER wORD", "caret 3,1 sel 7,1-17,1 normal"},
        {ecToggleCase, false, "mIXed Other Word", "caret 3,1"},
    };
    for (const Case& c : cases) {
        TEditorSession s(LinesOf("mIxed Other Word"));
        if (c.select) {
            s.Select({7, 1}, {17, 1});
        }
        s.editor.SetCaretXY({3, 1});
        s.editor.DispatchCommand(c.command, QChar(), {});
        EXPECT_EQ(s.Text(), QString::fromUtf8(c.after)) << c.command;
        EXPECT_EQ(s.State(), c.state) << c.command;
    }
    TEditorSession s(LinesOf("\u00e9t\u00e9"));
    s.editor.DispatchCommand(ecUpperCase, QChar(), {});
    EXPECT_EQ(s.Text(), QString::fromUtf8("\u00c9T\u00c9")) << "the locale's case mapping";
    s.editor.SetReadOnly(true);
    s.editor.DispatchCommand(ecLowerCase, QChar(), {});
    EXPECT_EQ(s.Text(), QString::fromUtf8("\u00c9T\u00c9"));
}

// Tokens: "..." strings, # comments to the line's end, every other character alone.
class TQuoteHighlighter : public testsupport::TTokenHighlighter {
public:
    TQuoteHighlighter()
    {
        for (const char* name : {"Comment", "Other", "String"}) {
            AddAttribute(std::make_unique<TCodeHighlighterAttributes>(QString::fromLatin1(name)));
        }
    }
    TCodeHighlighterAttributes* GetDefaultAttribute(int index) const override
    {
        return index == 0 ? GetAttribute(0) : index == 3 ? GetAttribute(2) : nullptr;
    }
    TCodeHighlighterAttributes* GetTokenAttribute() const override { return GetAttribute(GetTokenKind()); }

protected:
    qsizetype Scan(const QString& line, qsizetype start, int& kind) const override
    {
        kind = 1;
        if (line[start] == QLatin1Char('#')) {
            kind = 0;
            return line.size();
        }
        if (line[start] == QLatin1Char('"')) {
            kind = 2;
            const qsizetype close = line.indexOf(QLatin1Char('"'), start + 1);
            return close < 0 ? line.size() : close + 1;
        }
        return start + 1;
    }
};

TEST(CodeEditWords, BracketsMatchPastStringsAndComments)
{
    struct Case {
        TTextPoint at;
        TTextPoint partner;
    };
    // Line 1: f(a, ")", b # )   line 2: [x]) <   line 3: ((
    const Case cases[] = {
        {{2, 1}, {4, 2}}, {{4, 2}, {2, 1}}, {{1, 2}, {3, 2}}, {{3, 2}, {1, 2}},
        {{6, 2}, {0, 0}}, {{1, 3}, {0, 0}}, {{1, 1}, {0, 0}},
    };
    TEditorSession s(LinesOf("f(a, \")\", b # )|[x]) <|(("));
    TQuoteHighlighter highlighter;
    s.editor.SetHighlighter(&highlighter);
    for (const Case& c : cases) {
        EXPECT_EQ(s.editor.FindMatchingBracket(c.at, false), c.partner) << c.at.x << "," << c.at.y;
    }
    s.editor.SetHighlighter(nullptr);
    EXPECT_EQ(s.editor.FindMatchingBracket({2, 1}, false), (TTextPoint{7, 1})) << "without one every bracket counts";

    // The point's own line is read, wherever the caret stands; physical asks display columns.
    TEditorSession tabs(LinesOf("x|\t(y)"));
    tabs.editor.SetCaretXY({1, 1});
    EXPECT_EQ(tabs.editor.FindMatchingBracket({2, 2}, false), (TTextPoint{4, 2}));
    EXPECT_EQ(tabs.editor.FindMatchingBracket({2, 2}, true), (TTextPoint{11, 2}));
    tabs.editor.SetCaretXY({4, 2});
    tabs.editor.DispatchCommand(ecMatchBracket, QChar(), {});
    EXPECT_EQ(tabs.State(), "caret 2,2");
}

TEST(CodeEditWords, TokenAtAPosition)
{
    TEditorSession s(LinesOf("ab \"c d\" #e"));
    QString token;
    int kind = -1;
    int start = 0;
    TCodeHighlighterAttributes* attribute = nullptr;
    EXPECT_FALSE(s.editor.TokenAtPosition({5, 1}, token, kind, start, attribute)) << "no highlighter";
    TQuoteHighlighter highlighter;
    s.editor.SetHighlighter(&highlighter);
    ASSERT_TRUE(s.editor.TokenAtPosition({6, 1}, token, kind, start, attribute));
    EXPECT_EQ(token, QStringLiteral("\"c d\""));
    EXPECT_EQ(start, 4);
    EXPECT_EQ(attribute->Name(), QStringLiteral("String"));
    ASSERT_TRUE(s.editor.TokenAtPosition({11, 1}, token, kind, start, attribute));
    EXPECT_EQ(kind, 0);
    EXPECT_FALSE(s.editor.TokenAtPosition({12, 1}, token, kind, start, attribute)) << "behind the text";
    EXPECT_FALSE(s.editor.TokenAtPosition({1, 2}, token, kind, start, attribute));
}

TEST(CodeEditWords, AFreedHighlighterIsDropped)
{
    TEditorSession s(LinesOf("a(b)"));
    {
        TQuoteHighlighter highlighter;
        s.editor.SetHighlighter(&highlighter);
    }
    EXPECT_EQ(s.editor.Highlighter(), nullptr);
    EXPECT_EQ(s.editor.FindMatchingBracket({2, 1}, false), (TTextPoint{4, 1}));
}

} // namespace
