#include "platform/core/AtomicFileStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class AtomicFileStreamTest : public ::testing::Test {
protected:
    AtomicFileStreamTest()
        : folder(std::filesystem::temp_directory_path() /
                 ("kerfpad-atomic-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::create_directories(folder);
    }
    ~AtomicFileStreamTest() override { std::filesystem::remove_all(folder); }

    std::string Path(const char* name) const { return (folder / name).string(); }
    std::string Read(const char* name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t FileCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }

    std::filesystem::path folder;
};

TEST_F(AtomicFileStreamTest, TheTargetChangesOnlyOnCommit)
{
    std::ofstream(Path("data.bin")) << "old";
    ::chmod(Path("data.bin").c_str(), 0640);
    {
        TAtomicFileStream stream(Path("data.bin"));
        stream.WriteBuffer("new contents", 12);
        EXPECT_EQ(Read("data.bin"), "old");
        EXPECT_EQ(FileCount(), 2u);
        stream.Commit();
    }
    EXPECT_EQ(Read("data.bin"), "new contents");
    EXPECT_EQ(FileCount(), 1u);
    struct stat info {};
    ::stat(Path("data.bin").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u); // a replaced file keeps its permissions
}

TEST_F(AtomicFileStreamTest, AnAbandonedWriteLeavesNothingBehind)
{
    std::ofstream(Path("data.bin")) << "old";
    {
        TAtomicFileStream stream(Path("data.bin"));
        stream.WriteBuffer("half", 4);
    }
    {
        TAtomicFileStream stream(Path("fresh.bin"));
    }
    EXPECT_EQ(Read("data.bin"), "old");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(AtomicFileStreamTest, FailuresAreReportedAndCleanedUp)
{
    std::filesystem::create_directory(folder / "taken");
    TAtomicFileStream stream(Path("taken")); // a folder cannot be replaced by a file
    stream.WriteBuffer("x", 1);
    EXPECT_THROW(stream.Commit(), EWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken"));
    EXPECT_EQ(FileCount(), 1u);
    EXPECT_THROW(TAtomicFileStream(Path("no/such/folder/x")), EFCreateError);
}

} // namespace
