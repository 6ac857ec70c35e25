#include "platform/core/files/AtomicFileStream.h"

#include "../../support/FifoWatchdog.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

using testsupport::TFifoWatchdog;

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
    static mode_t Kind(const std::string& path)
    {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
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
    EXPECT_THROW(TAtomicFileStream(Path("no/such/folder/x")), EFCreateError);
    // The target turns into a pipe while the data is written: the rename would put a
    // regular file in its place.
    std::ofstream(Path("data.bin")) << "old";
    TAtomicFileStream stream(Path("data.bin"));
    stream.WriteBuffer("new", 3);
    std::filesystem::remove(folder / "data.bin");
    const TFifoWatchdog pipe(Path("data.bin"));
    ASSERT_TRUE(pipe.Made());
    try {
        stream.Commit();
        ADD_FAILURE() << "committed";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Not a regular file: \"" + Path("data.bin") + "\" is a named pipe.");
    }
    EXPECT_EQ(Kind(Path("data.bin")), S_IFIFO);
    EXPECT_EQ(FileCount(), 1u) << "no temporary file left";
    EXPECT_FALSE(pipe.Fired());
}

// A device node, a pipe or a folder, by its own name or through a link, is refused
// before anything is written, and stays what it was: a rename over it would put a
// regular file in its place.
TEST_F(AtomicFileStreamTest, ATargetThatIsNoRegularFileIsRefusedAndStaysAsItWas)
{
    const TFifoWatchdog pipe(Path("pipe"));
    ASSERT_TRUE(pipe.Made());
    std::filesystem::create_directory(folder / "taken");
    std::filesystem::create_symlink("pipe", folder / "to-pipe");
    // A device node of the test's own, never a link to the system's: a broken refusal
    // would replace what the link leads to. Making one takes root.
    const bool node = ::mknod(Path("node").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (node) {
        std::filesystem::create_symlink("node", folder / "to-node");
    }
    struct TCase {
        const char* Name;
        const char* Kind;
        mode_t Type; // of the name itself, which must not change
    };
    std::vector<TCase> cases = {
        {"pipe", "named pipe", S_IFIFO}, {"to-pipe", "named pipe", S_IFLNK}, {"taken", "directory", S_IFDIR}};
    if (node) {
        cases.push_back({"node", "character device", S_IFCHR});
        cases.push_back({"to-node", "character device", S_IFLNK});
    }
    const std::size_t files = FileCount();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            TAtomicFileStream stream(Path(c.Name));
            ADD_FAILURE() << "made";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), "Not a regular file: \"" + Path(c.Name) + "\" is a " + c.Kind + ".");
        }
        EXPECT_EQ(Kind(Path(c.Name)), c.Type);
        EXPECT_EQ(FileCount(), files) << "no temporary file left";
    }
    if (node) {
        struct stat info {};
        ::lstat(Path("node").c_str(), &info);
        EXPECT_EQ(info.st_rdev, makedev(1, 3));
    }
    EXPECT_FALSE(pipe.Fired());
}

// Saving through a link changes the file at the end of its links, which keeps its
// permissions; every link stays a link.
TEST_F(AtomicFileStreamTest, ALinkStaysALinkAndTheFileItLeadsToChanges)
{
    std::filesystem::create_directory(folder / "real");
    std::ofstream(Path("real/data.bin")) << "old";
    ::chmod(Path("real/data.bin").c_str(), 0640);
    std::filesystem::create_symlink("real/data.bin", folder / "link");
    std::filesystem::create_symlink(folder / "link", folder / "link-to-link");
    std::filesystem::create_symlink("gone.bin", folder / "real" / "dangling");
    for (const char* name : {"link", "link-to-link"}) {
        TAtomicFileStream stream(Path(name));
        EXPECT_EQ(stream.TargetName(), Path("real/data.bin"));
        stream.WriteBuffer(name, static_cast<std::int64_t>(std::strlen(name)));
        stream.Commit();
        EXPECT_EQ(Read("real/data.bin"), name);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link-to-link"));
    struct stat info {};
    ::stat(Path("real/data.bin").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // A dangling link makes the file it names, beside itself.
    {
        TAtomicFileStream stream(Path("real/dangling"));
        stream.WriteBuffer("made", 4);
        stream.Commit();
    }
    EXPECT_EQ(Read("real/gone.bin"), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "real" / "dangling"));
    EXPECT_EQ(FileCount(), 3u);
    // Links that lead round in a circle lead nowhere.
    std::filesystem::create_symlink("b", folder / "a");
    std::filesystem::create_symlink("a", folder / "b");
    EXPECT_THROW(TAtomicFileStream(Path("a")), EFCreateError);
}

TEST_F(AtomicFileStreamTest, AFileThatMayNotBeWrittenIsNotReplaced)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
    std::ofstream(Path("data.bin")) << "old";
    ::chmod(Path("data.bin").c_str(), 0444);
    EXPECT_THROW(TAtomicFileStream(Path("data.bin")), EFCreateError);
    EXPECT_EQ(Read("data.bin"), "old");
}

// The temporary name is "." + the target's name + ".XXXXXX" while that fits the
// folder's longest name; past it the target's part is cut, never inside a character.
TEST(AtomicTemporaryName, FitsTheLongestNameAFolderTakes)
{
    const std::string euro = "\xE2\x82\xAC"; // three bytes
    struct TCase {
        std::string Target;
        std::size_t Longest;
        std::string Pattern;
    };
    const std::vector<TCase> cases = {
        {"part.sbp", 255, ".part.sbp.XXXXXX"},
        {std::string(247, 'a'), 255, "." + std::string(247, 'a') + ".XXXXXX"},
        {std::string(248, 'a'), 255, "." + std::string(247, 'a') + ".XXXXXX"},
        {std::string(255, 'a'), 255, "." + std::string(247, 'a') + ".XXXXXX"},
        // 246 bytes, then a character that would end one byte past the room.
        {std::string(246, 'a') + euro + "b", 255, "." + std::string(246, 'a') + ".XXXXXX"},
        {std::string(244, 'a') + euro + "b", 255, "." + std::string(244, 'a') + euro + ".XXXXXX"},
        {euro + euro, 12, "." + euro + ".XXXXXX"},
        {euro, 10, "..XXXXXX"},
        {"abc", 8, "..XXXXXX"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Target.size());
        const std::string pattern = TemporaryFileNamePattern(c.Target, c.Longest);
        EXPECT_EQ(pattern, c.Pattern);
        EXPECT_LE(pattern.size(), std::max<std::size_t>(c.Longest, 8));
    }
}

} // namespace
