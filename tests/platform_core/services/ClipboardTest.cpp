#include "platform/core/services/Clipboard.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryClipboard, FormatsSetTogetherArePublishedOnClose)
{
    TMemoryClipboard clipboard;
    std::string bytes;
    EXPECT_FALSE(clipboard.SetData(ClipboardTextFormat, "x")) << "not open";
    {
        TClipboardOpener open(clipboard);
        ASSERT_TRUE(open.IsOpen());
        EXPECT_FALSE(clipboard.Open()) << "one opener at a time";
        EXPECT_TRUE(clipboard.SetData(ClipboardTextFormat, "one"));
        EXPECT_TRUE(clipboard.SetData("private", std::string("\0two", 4)));
        EXPECT_FALSE(clipboard.HasFormat(ClipboardTextFormat)) << "published on close";
    }
    EXPECT_TRUE(clipboard.HasFormat("private"));
    {
        TClipboardOpener open(clipboard);
        ASSERT_TRUE(clipboard.GetData("private", bytes));
        EXPECT_EQ(bytes, std::string("\0two", 4));
        // Emptying drops what was there; what is set after it stays.
        clipboard.Clear();
        clipboard.SetData(ClipboardTextFormat, "three");
    }
    EXPECT_FALSE(clipboard.HasFormat("private"));
    TClipboardOpener open(clipboard);
    ASSERT_TRUE(clipboard.GetData(ClipboardTextFormat, bytes));
    EXPECT_EQ(bytes, "three");
}

TEST(MemoryClipboard, ScriptedFailuresAndTheInstalledClipboard)
{
    TMemoryClipboard clipboard;
    clipboard.failOpen = true;
    EXPECT_FALSE(TClipboardOpener(clipboard).IsOpen());
    clipboard.failOpen = false;
    clipboard.failGetFormat = "a";
    {
        TClipboardOpener open(clipboard);
        EXPECT_TRUE(clipboard.SetData("a", "1"));
    }
    std::string bytes;
    TClipboardOpener open(clipboard);
    EXPECT_TRUE(clipboard.HasFormat("a"));
    EXPECT_FALSE(clipboard.GetData("a", bytes));

    IClipboard* builtIn = &Clipboard();
    {
        TClipboardScope scope(&clipboard);
        EXPECT_EQ(&Clipboard(), &clipboard);
    }
    EXPECT_EQ(&Clipboard(), builtIn);
}

} // namespace
