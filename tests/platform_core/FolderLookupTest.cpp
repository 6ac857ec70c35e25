#include "platform/core/FolderLookup.h"

#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

namespace {

class FolderLookup : public testsupport::TTempFolderTest {};

TEST_F(FolderLookup, FindsAnyCaseAndPrefersTheExactName)
{
    WriteText("Tips.INI", "a");
    WriteText("SUB.sbp", "b");
    WriteText("sub.sbp", "c");
    std::filesystem::create_directory(folder / "commands.ini");
    std::filesystem::path found;
    ASSERT_TRUE(FindInFolder(folder, "tips.ini", found));
    EXPECT_EQ(found, folder / "Tips.INI");
    ASSERT_TRUE(FindInFolder(folder, "sub.sbp", found));
    EXPECT_EQ(found, folder / "sub.sbp");
    EXPECT_FALSE(FindInFolder(folder, "commands.ini", found)) << "a folder is no file";
    EXPECT_FALSE(FindInFolder(folder / "missing", "tips.ini", found));
}

} // namespace
