#include "editor/document/CodeEditSearch.h"
#include "../QtPrinters.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<int> All(TCodeEditSearch& search, const QString& text)
{
    search.FindAll(text);
    std::vector<int> out;
    for (int i = 0; i < search.ResultCount(); ++i) {
        out.push_back(search.Results(i));
    }
    return out;
}

TEST(CodeEditSearch, FindsEveryMatchWithoutOverlap)
{
    struct Case {
        QString pattern, text;
        bool sensitive, whole;
        std::vector<int> expected;
    } cases[] = {
        {"ab", "xabyab", false, false, {2, 5}},
        {"aa", "aaaa", false, false, {1, 3}},
        {"aa", "aaa", false, false, {1}},
        {"ab", "ab_ab ab", false, true, {7}},
        {"AB", "ab", false, false, {1}},
        {"AB", "ab", true, false, {}},
        {"ab", "AbaB", true, false, {}},
        {"abc", "ab", false, false, {}},
        {"x", "x", false, false, {1}},
        {"x", "axbxcx", false, false, {2, 4, 6}},
        {"M3", "M3,1,2 m3 'M3", false, false, {1, 8, 12}},
        {"M3", "M3,1,2 m3 'M3", true, false, {1, 12}},
        {"J2", "J2 J2x xJ2 (J2)", false, true, {1, 13}},
        {"abab", "abababab", false, false, {1, 5}},
        {"aab", "aaaab", false, false, {3}},
        {"cut", "CUT Cut cut", false, true, {1, 5, 9}},
    };
    for (const Case& c : cases) {
        TCodeEditSearch search;
        search.SetPattern(c.pattern);
        search.SetSensitive(c.sensitive);
        search.SetWhole(c.whole);
        EXPECT_EQ(All(search, c.text), c.expected) << c.pattern.toStdString() << " in " << c.text.toStdString();
        EXPECT_EQ(search.Count(), static_cast<int>(c.expected.size()));
    }
}

TEST(CodeEditSearch, EmptyPatternRaisesWhenTheSearchStarts)
{
    TCodeEditSearch search;
    EXPECT_EQ(search.Next(), 0);
    try {
        search.FindFirst("text");
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Pattern is empty");
    }
}

TEST(CodeEditSearch, FirstAndNextCountMatches)
{
    TCodeEditSearch search;
    search.SetPattern("ab");
    EXPECT_EQ(search.FindFirst("ab ab ab"), 1);
    EXPECT_EQ(search.Next(), 4);
    EXPECT_EQ(search.Count(), 2);
    search.SetPattern("ab"); // the same pattern: count reset, preparation kept
    EXPECT_EQ(search.Count(), 0);
    EXPECT_EQ(search.Next(), 7);
    EXPECT_EQ(search.Next(), 0);
    EXPECT_EQ(search.Next(), 0);
    EXPECT_EQ(search.Results(0), 0) << "no FindAll yet";
}

TEST(CodeEditSearch, FixResultsMovesResultsBeyondFirst)
{
    struct Case {
        int first, delta;
        std::vector<int> expected;
    } cases[] = {
        {3, 2, {1, 3, 7}},
        {3, 0, {1, 5, 9}},
        {9, 2, {1, 5, 9}},
        {0, -3, {4, 8, 12}},
    };
    for (const Case& c : cases) {
        TCodeEditSearch search;
        search.SetPattern("x");
        search.FindAll("x...x...x");
        search.FixResults(c.first, c.delta);
        std::vector<int> got;
        for (int i = 0; i < search.ResultCount(); ++i) {
            got.push_back(search.Results(i));
        }
        EXPECT_EQ(got, c.expected) << c.first << "," << c.delta;
    }
    TCodeEditSearch empty;
    empty.FixResults(0, 5);
    EXPECT_EQ(empty.ResultCount(), 0);
}

TEST(CodeEditSearch, EnginesKeepTheirOwnCaseSetting)
{
    TCodeEditSearch folding, exact;
    folding.SetPattern("Ab");
    exact.SetPattern("Ab");
    exact.SetSensitive(true);
    EXPECT_EQ(folding.FindAll("ab AB Ab"), 3);
    EXPECT_EQ(exact.FindAll("ab AB Ab"), 1);
    EXPECT_EQ(folding.FindAll("ab AB Ab"), 3) << "the other engine's setting did not leak";
    exact.SetSensitive(false);
    EXPECT_EQ(exact.FindAll("ab AB Ab"), 3);
}

TEST(CodeEditSearch, NonAsciiAndSharedSkipEntries)
{
    // U+0161 shares its low byte with "a": the skip table must stay safe for both.
    const QString text = QString::fromUtf16(u"\u0161a \u0160A a\u0161");
    TCodeEditSearch search;
    search.SetPattern(QString::fromUtf16(u"\u0161a"));
    EXPECT_EQ(All(search, text), (std::vector<int>{1, 4}));
    search.SetPattern(QString::fromUtf16(u"a\u0161"));
    EXPECT_EQ(All(search, text), std::vector<int>{7});

    // A letter outside the basic plane counts as a word character.
    const QString emojiLetter = QString::fromUcs4(U"\U0001D400"); // mathematical bold A
    search.SetPattern("x");
    search.SetWhole(true);
    EXPECT_EQ(All(search, emojiLetter + "x x"), std::vector<int>{5});
}

// The skip-table search agrees with the obvious scan on random texts.
TEST(CodeEditSearch, AgreesWithAPlainScan)
{
    std::mt19937 rng(7);
    const QString alphabet = "aAbB_ .";
    auto randomText = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i) {
            s += alphabet[static_cast<int>(rng() % alphabet.size())];
        }
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const QString pattern = randomText(1 + static_cast<int>(rng() % 4)).replace(' ', 'a').replace('.', 'b');
        const QString text = randomText(static_cast<int>(rng() % 30));
        const bool sensitive = rng() % 2;
        const bool whole = rng() % 2;
        std::vector<int> expected;
        const Qt::CaseSensitivity cs = sensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
        for (qsizetype at = 0; at + pattern.size() <= text.size();) {
            const bool match = QStringView(text).mid(at, pattern.size()).compare(pattern, cs) == 0;
            const qsizetype end = at + pattern.size();
            const bool wordOk = !whole || ((at == 0 || IsWordDelimiter(text[at - 1].unicode())) &&
                                           (end == text.size() || IsWordDelimiter(text[end].unicode())));
            if (match && wordOk) {
                expected.push_back(static_cast<int>(at + 1));
                at = end;
            } else {
                ++at;
            }
        }
        TCodeEditSearch search;
        search.SetPattern(pattern);
        search.SetSensitive(sensitive);
        search.SetWhole(whole);
        ASSERT_EQ(All(search, text), expected)
            << pattern.toStdString() << " in '" << text.toStdString() << "' s=" << sensitive << " w=" << whole;
    }
}

} // namespace
