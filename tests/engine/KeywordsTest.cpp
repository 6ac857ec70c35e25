#include "engine/EngineData.h"
#include "engine/Keywords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(Keywords, TableHas140DistinctWordsInOrder)
{
    std::set<std::string> seen(CommandKeywords.begin(), CommandKeywords.end());
    EXPECT_EQ(140u, seen.size());
    EXPECT_EQ("For", CommandKeywords.front());
    EXPECT_EQ("Exit Shopbot", CommandKeywords[7]);
    EXPECT_EQ("Warning Off", CommandKeywords[27]);
    EXPECT_EQ("UC", CommandKeywords.back());
}

TEST(Keywords, DataModuleCopiesTheTableOneBased)
{
    TEngineData data;
    EXPECT_EQ("For", data.Keyword(1));
    EXPECT_EQ("Goto", data.Keyword(3));
    EXPECT_EQ("UC", data.Keyword(140));
    EXPECT_EQ("[CLAMP]", data.ClampKeyword());
}

class KnownWords : public ::testing::TestWithParam<const char*> {};
TEST_P(KnownWords, AreKeywords)
{
    EXPECT_TRUE(IsCommandKeyword(GetParam()));
}
INSTANTIATE_TEST_SUITE_P(Table, KnownWords,
                         ::testing::Values("OPEN", "open", "Exit Shopbot", "EXIT SHOPBOT", "WARNING OFF", "M3", "m3",
                                           "[CLAMP]", "[clamp]", "ARCCOSH", "UC", "FOR", "CS", "VK"));

class UnknownWords : public ::testing::TestWithParam<const char*> {};
TEST_P(UnknownWords, AreNotKeywords)
{
    EXPECT_FALSE(IsCommandKeyword(GetParam()));
}
INSTANTIATE_TEST_SUITE_P(Table, UnknownWords,
                         ::testing::Values("FOO", "", "EXIT", "SHOPBOT", "EXITSHOPBOT", "M", "M33", "OPENX",
                                           "[CLAMP", "WARNING", "MOVE", "UZ"));

} // namespace
