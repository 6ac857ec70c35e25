#include "platform/core/files/FolderLookup.h"
#include "platform/core/text/StringUtils.h"

#include "../../support/TempFolderTest.h"

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

TEST_F(FolderLookup, EveryComponentOfAPathMayDifferInCase)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder / "Jobs/Sub");
    fs::create_directories(folder / "parts");
    fs::create_directories(folder / "JOBS/SUB");
    fs::create_directories(folder / "jobs");
    WriteText("Jobs/Sub/part.sbp", "a");
    WriteText("parts/sub.sbp", "b");
    WriteText("JOBS/SUB/Other.sbp", "c");
    WriteText("jobs/Other.sbp", "d");
    WriteText("JOBS/file.sbp", "e");
    WriteText("Jobs/FILE.sbp", "f");
    const std::string upper = UpperCase(folder.string());
    const struct {
        fs::path Base;
        fs::path Name;
        fs::path Expected; // empty: not found
    } cases[] = {
        // Spellings are tried as written, then in byte order (JOBS before Jobs); the
        // first through which the file exists wins.
        {folder, "jobs/sub/part.sbp", folder / "Jobs/Sub/part.sbp"},
        {folder, "jobs/sub/other.sbp", folder / "JOBS/SUB/Other.sbp"},
        {folder, "jobs/file.sbp", folder / "JOBS/file.sbp"},
        {folder, "PARTS/SUB.sbp", folder / "parts/sub.sbp"},
        {folder, "Jobs/Sub/PART.SBP", folder / "Jobs/Sub/part.sbp"},
        // The name as written wins over every other spelling.
        {folder, "jobs/Other.sbp", folder / "jobs/Other.sbp"},
        {folder, "Jobs/FILE.sbp", folder / "Jobs/FILE.sbp"},
        {folder, "./parts/../Parts/Sub.sbp", folder / "./parts/../parts/sub.sbp"},
        // Absolute names from the root, whatever the base, the temporary folder upper-cased too.
        {"/nowhere", upper + "/PARTS/SUB.SBP", folder / "parts/sub.sbp"},
        {fs::path(), folder / "jobs/SUB/part.sbp", folder / "Jobs/Sub/part.sbp"},
        {folder, "jobs/sub", {}},          // a folder is no file
        {folder, "jobs/sub/", {}},         // nor is a name that ends in a separator
        {folder, "jobs/part.sbp", {}},
        {folder, "parts/sub.sbp/x", {}},
        {folder, "missing/sub.sbp", {}},
    };
    for (const auto& c : cases) {
        fs::path found;
        EXPECT_EQ(!c.Expected.empty(), FindPathIgnoringCase(c.Base, c.Name, found)) << c.Name;
        if (!c.Expected.empty()) {
            EXPECT_EQ(c.Expected.lexically_normal(), found.lexically_normal()) << c.Name;
            EXPECT_TRUE(fs::equivalent(c.Expected, found)) << c.Name;
        }
    }
}

TEST_F(FolderLookup, ARelativeNameWithoutABaseStaysRelative)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder / "Parts");
    WriteText("Parts/Door.sbp", "a");
    const fs::path current = fs::current_path();
    fs::current_path(folder);
    fs::path found;
    const bool ok = FindPathIgnoringCase(fs::path(), "PARTS/DOOR.SBP", found);
    fs::current_path(current);
    ASSERT_TRUE(ok);
    EXPECT_EQ(fs::path("Parts/Door.sbp"), found);
}

} // namespace
