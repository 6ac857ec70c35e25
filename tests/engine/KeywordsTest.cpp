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

TEST(Keywords, KnownAndUnknownWords)
{
    for (const char* word : {"OPEN", "open", "Exit Shopbot", "EXIT SHOPBOT", "WARNING OFF", "M3", "m3", "[CLAMP]",
                             "[clamp]", "ARCCOSH", "UC", "FOR", "CS", "VK"}) {
        EXPECT_TRUE(IsCommandKeyword(word)) << word;
    }
    for (const char* word : {"FOO", "", "EXIT", "SHOPBOT", "EXITSHOPBOT", "M", "M33", "OPENX", "[CLAMP", "WARNING",
                             "MOVE", "UZ"}) {
        EXPECT_FALSE(IsCommandKeyword(word)) << word;
    }
}

} // namespace
