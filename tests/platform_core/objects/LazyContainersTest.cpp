#include "platform/core/objects/LazyContainers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(LazyContainers, ListBehavesAsAVectorAndLetsGoWhenEmpty)
{
    TLazyList<int> list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), list.end());
    list.erase(list.begin(), list.end()); // nothing to erase
    list.insert(list.begin(), 2);
    list.insert(list.begin(), 1);
    list.push_back(4);
    list.insert(list.end() - 1, 3);
    EXPECT_EQ(std::vector<int>(list), (std::vector<int>{1, 2, 3, 4}));
    list.erase(std::remove(list.begin(), list.end(), 2), list.end());
    list.erase(std::find(list.begin(), list.end(), 4));
    const TLazyList<int> copy = list;
    EXPECT_EQ(std::vector<int>(copy), (std::vector<int>{1, 3}));
    list.pop_back();
    list.erase(list.begin());
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(copy.size(), 2u) << "copies are independent";
}

TEST(LazyContainers, StringReadsAsTheTextItHolds)
{
    TLazyString name;
    EXPECT_TRUE(name.str().empty());
    name = std::string("Bit");
    const std::string& text = name;
    EXPECT_EQ(text, "Bit");
    TLazyString copy = name;
    name = std::string();
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(std::string_view(copy), "Bit");
}

} // namespace
