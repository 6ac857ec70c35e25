#include "editor/highlighting/CodeHighlighterCpp.h"
#include "editor/highlighting/CodeHighlighterHashEntries.h"
#include "editor/highlighting/CodeHighlighterList.h"
#include "editor/highlighting/CodeHighlighterPas.h"
#include "editor/highlighting/CodeHighlighterSQL.h"
#include "editor/highlighting/CodeHighlighters.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "../LanguageHighlighterTestSupport.h"

#include <functional>
#include <memory>

namespace {

std::vector<QString> ChainOf(const TCodeHashEntryList& list, int hash)
{
    std::vector<QString> words;
    for (const TCodeHashEntry* e = list.Get(hash); e; e = e->Next()) {
        words.push_back(e->Keyword());
    }
    return words;
}

TEST(CodeHashEntryList, ChainsByLengthAndTheDuplicateError)
{
    TCodeHashEntryList list;
    EXPECT_EQ(list.Get(0), nullptr);
    for (const char* word : {"abcde", "abc", "vwxyz", "abcd"}) {
        list.Put(7, std::make_unique<TCodeHashEntry>(word, 1));
    }
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(ChainOf(list, 7), (std::vector<QString>{"abc", "abcd", "abcde", "vwxyz"}))
        << "the 4 goes between the 3 and the first 5; the 5s stay in the order added";
    EXPECT_EQ(list.Get(8), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);

    list.Put(3, std::make_unique<TCodeHashEntry>("SELECT", 6));
    try {
        list.Put(3, std::make_unique<TCodeHashEntry>("Select", 2));
        ADD_FAILURE() << "no duplicate error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Keyword \"SELECT\" already in list") << "names the word stored first";
    }
    EXPECT_EQ(ChainOf(list, 3), std::vector<QString>{"SELECT"});
    EXPECT_EQ(list.Get(3)->Kind(), 6);
    list.Put(3, std::make_unique<TCodeHashEntry>("SELECTS", 2));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(CodeHashEntryList, EnumerateKeywordsSplitsAtNonIdentifiers)
{
    TCodeCharSet identifiers;
    identifiers.IncludeRange(u'A', u'Z');
    identifiers.Include(u'@');
    std::vector<std::pair<QString, int>> words;
    const TCodeKeywordCallback collect = [&](QStringView w, int kind) { words.emplace_back(w.toString(), kind); };
    EnumerateKeywords(4, u",AB,,@@C D-E,", identifiers, collect);
    EXPECT_EQ(words, (std::vector<std::pair<QString, int>>{{"AB", 4}, {"@@C", 4}, {"D", 4}, {"E", 4}}));
    EnumerateKeywords(4, u"", identifiers, collect);
    EnumerateKeywords(4, u"X", identifiers, nullptr);
    EXPECT_EQ(words.size(), 4u);
}

struct TLanguage {
    const char* name;
    std::function<TCodeCustomHighlighter*()> make;
    const char* filter;
    std::vector<QString> attributes; // name order
    const char* other;               // attribute of a character that begins no token
};

class LanguageHighlighters : public ::testing::TestWithParam<TLanguage> {
protected:
    std::unique_ptr<TCodeCustomHighlighter> h{GetParam().make()};
    std::string Other(const std::string& text) const { return "[" + text + "]" + GetParam().other; }
};

TEST_P(LanguageHighlighters, DescribeThemselves)
{
    EXPECT_EQ(h->GetLanguageName(), GetParam().name);
    EXPECT_EQ(h->GetDefaultFilter(), GetParam().filter);
    std::vector<QString> names;
    for (int i = 0; i < h->GetAttribCount(); ++i) {
        names.push_back(h->GetAttribute(i)->Name());
    }
    EXPECT_EQ(names, GetParam().attributes);
    const char* defaults[] = {"Comment", "Identifier", "Reserved word", "String", "Space", "Symbol"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(h->GetDefaultAttribute(i)->Name(), defaults[i]);
    }
    EXPECT_EQ((h->GetCapabilities() & hcUserSettings) != 0, GetParam().name != std::string("SQL"))
        << "only the IDE colour import adds settings entries";
    EXPECT_EQ(h->GetDefaultAttribute(6), nullptr);
    EXPECT_EQ(h->GetDefaultAttribute(-1), nullptr);

    // The sample scans to the end of every line; the tile checks run inside.
    const QStringList sample = h->GetSampleSource().split(QLatin1Char('\n'));
    EXPECT_GT(sample.size(), 4);
    ScanLines(*h, std::vector<QString>(sample.begin(), sample.end()));
}

TEST_P(LanguageHighlighters, CommonOperations)
{
    const struct {
        QString line;
        std::string tokens;
    } cases[] = {
        {"", ""},
        {"a\r\nb\rc\nd", "[a]Identifier[\r\n]Space[b]Identifier[\r]Space[c]Identifier[\n]Space[d]Identifier"},
        {" \t\x01 x ", "[ \t\x01 ]Space[x]Identifier[ ]Space"},
        // A NUL is a character of the line, and the line goes on after it.
        {QString("x") + QChar(0) + "y", "[x]Identifier" + Other(std::string(1, '\0')) + "[y]Identifier"},
        {QString::fromUtf8("x\u00e9\U0001F600y"),
         "[x]Identifier" + Other("\u00e9") + Other("\U0001F600") + "[y]Identifier"},
        // Latin-1 letters and code units above 255 never belong to a word.
        {QString::fromUtf8("\u00e9t\u03a9"), Other("\u00e9") + "[t]Identifier" + Other("\u03a9")},
    };
    for (const auto& c : cases) {
        h->ResetRange();
        EXPECT_EQ(ScanOneLine(*h, c.line), c.tokens) << c.line.toStdString();
    }
    // A lone high surrogate at the end is one character, not half a pair.
    const QString broken = QString("x") + QChar(0xD83D);
    h->ResetRange();
    EXPECT_EQ(ScanOneLine(*h, broken), "[x]Identifier" + Other(QString(QChar(0xD83D)).toStdString()));
}

TEST_P(LanguageHighlighters, OutOfRangeStatesCountAsNeutral)
{
    for (int bad : {-1, 99}) {
        h->SetRange(bad);
        EXPECT_EQ(ScanOneLine(*h, "a"), "[a]Identifier");
        h->SetRange(bad);
        h->ResetRange();
        const int neutral = h->GetRange();
        h->SetRange(bad);
        EXPECT_EQ(h->GetRange(), neutral);
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, LanguageHighlighters,
    ::testing::Values(
        TLanguage{"SQL",
                  [] { return new TCodeSQLHighlighter; },
                  "SQL Files (*.sql)|*.sql",
                  {"Comment", "Data type", "Default packages", "Exception", "Function", "Identifier", "Number",
                   "Reserved word", "Reserved word (PL/SQL)", "Space", "SQL*Plus command", "String", "Symbol",
                   "Table name", "Variable"},
                  "Identifier"},
        TLanguage{"ObjectPascal",
                  [] { return new TCodePasHighlighter; },
                  "Pascal Files (*.pas,*.dpr,*.dpk,*.inc)|*.pas;*.dpr;*.dpk;*.inc",
                  {"Assembler", "Character", "Comment", "Float", "Hexadecimal", "Identifier", "Number",
                   "Preprocessor", "Reserved word", "Space", "String", "Symbol"},
                  "Symbol"},
        TLanguage{"C++",
                  [] { return new TCodeCppHighlighter; },
                  "C++ Files (*.c,*.cpp,*.h,*.hpp)|*.c;*.cpp;*.h;*.hpp",
                  {"Assembler", "Character", "Comment", "Float", "Hexadecimal", "Identifier", "Illegal char",
                   "Number", "Octal", "Preprocessor", "Reserved word", "Space", "String", "Symbol"},
                  "Illegal char"}),
    [](const auto& info) { return std::string(info.param.name == std::string("C++") ? "Cpp" : info.param.name); });

TEST(LanguageHighlighterRegistration, AddsTheThreeClassesOnceAfterTheRuleHighlighter)
{
    RegisterEditorHighlighters();
    RegisterEditorHighlighters();
    TCodeHighlighterList& list = GetHighlighterList();
    const int sql = list.IndexOf(TCodeSQLHighlighter::StaticClass());
    ASSERT_GE(sql, 0);
    EXPECT_EQ(list.IndexOf(TCodeRuleHighlighter::StaticClass()), sql - 1);
    EXPECT_EQ(list.IndexOf(TCodePasHighlighter::StaticClass()), sql + 1);
    EXPECT_EQ(list.IndexOf(TCodeCppHighlighter::StaticClass()), sql + 2);
    TComponent owner;
    EXPECT_TRUE(list.CreateHighlighter(sql + 2, &owner)->Is<TCodeCppHighlighter>());
}

} // namespace
