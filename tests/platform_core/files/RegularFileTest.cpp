// The one opening of files a user names and the descriptor it gives: what is no regular
// file is refused by every access, nothing waits, reading takes a file whole whatever
// size the system says it has, and a descriptor has one owner.

#include "platform/core/files/RegularFile.h"
#include "platform/core/files/Stream.h"

#include "../../support/FifoWatchdog.h"
#include "../../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::TFifoWatchdog;

class RegularFiles : public testsupport::TTempFolderTest {
protected:
    RegularFiles()
    {
        WriteText("plain.sbp", "M2,1,1\r\n");
        std::filesystem::create_directory(folder / "dir.sbp");
        Link("/dev/null", "null.sbp");
        Link("plain.sbp", "to-plain.sbp");
        Link("pipe.sbp", "to-pipe.sbp");
        Link("dir.sbp", "to-dir.sbp");
        Link("nowhere.sbp", "dangling.sbp");
    }
    void Link(const std::string& target, const std::string& name) const
    {
        std::filesystem::create_symlink(target, folder / name);
    }
    bool IsFifo(const std::string& name) const
    {
        struct stat info {};
        return ::lstat(Path(name).c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    }

    TFifoWatchdog Pipe{Path("pipe.sbp")};
};

TEST_F(RegularFiles, OnlyARegularFileOpensAndEveryOtherNameSaysWhatItIs)
{
    ASSERT_TRUE(Pipe.Made());
    const struct {
        const char* Name;
        const char* Kind; // "" for a regular file or a name that cannot be looked at
        bool Missing;
    } cases[] = {
        {"plain.sbp", "", false},           {"to-plain.sbp", "", false},
        {"pipe.sbp", "named pipe", false},  {"to-pipe.sbp", "named pipe", false},
        {"null.sbp", "character device", false},
        {"dir.sbp", "directory", false},    {"to-dir.sbp", "directory", false},
        {"missing.sbp", "", true},          {"dangling.sbp", "", true},
        {"plain.sbp/x.sbp", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string name = Path(c.Name);
        EXPECT_EQ(NonRegularFileKind(name), c.Kind);
        for (const TFileAccess access : {TFileAccess::Read, TFileAccess::Write, TFileAccess::ReadWrite}) {
            const TOpenedFile opened = OpenRegularFile(name, access);
            EXPECT_EQ(opened.IsOpen(), !*c.Kind && !c.Missing);
            EXPECT_EQ(opened.Kind, c.Kind);
            EXPECT_EQ(opened.Missing(), c.Missing);
        }
        if (*c.Kind) {
            const std::string refusal = "Not a regular file: \"" + name + "\" is a " + c.Kind + ".";
            EXPECT_EQ(OpenRegularFile(name, TFileAccess::Read).Message(name), refusal);
            // The streams say the same, reading and creating.
            try {
                TFileStream stream(name, fmOpenRead);
                ADD_FAILURE() << "opened";
            } catch (const EFOpenError& e) {
                EXPECT_EQ(e.Message(), refusal);
            }
            try {
                TFileStream stream(name, fmCreate);
                ADD_FAILURE() << "created";
            } catch (const EFCreateError& e) {
                EXPECT_EQ(e.Message(), refusal);
            }
        }
    }
    EXPECT_EQ(OpenRegularFile(Path("missing.sbp"), TFileAccess::Read).Message(Path("missing.sbp")),
              "Cannot open file \"" + Path("missing.sbp") + "\". No such file or directory");
    EXPECT_TRUE(IsFifo("pipe.sbp"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "null.sbp"));
    EXPECT_FALSE(Pipe.Fired()) << "something waited on the pipe";
}

TEST_F(RegularFiles, CreatingMakesOrEmptiesOnlyARegularFile)
{
    ASSERT_TRUE(Pipe.Made());
    for (const char* name : {"pipe.sbp", "to-pipe.sbp", "null.sbp", "dir.sbp"}) {
        const TOpenedFile opened = OpenRegularFile(Path(name), TFileAccess::Create);
        EXPECT_FALSE(opened.IsOpen()) << name;
        EXPECT_FALSE(opened.Kind.empty()) << name;
    }
    EXPECT_TRUE(IsFifo("pipe.sbp"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.sbp"));
    // A regular file is emptied, a missing one made, also at the end of a link.
    for (const char* name : {"plain.sbp", "new.sbp", "dangling.sbp"}) {
        TOpenedFile opened = OpenRegularFile(Path(name), TFileAccess::Create);
        ASSERT_TRUE(opened.IsOpen()) << name;
        int error = 0;
        EXPECT_EQ(opened.File.Write("ab", 2, error), 2);
    }
    EXPECT_EQ(ReadText("plain.sbp"), "ab");
    EXPECT_EQ(ReadText("nowhere.sbp"), "ab");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "dangling.sbp"));
    EXPECT_EQ(OpenRegularFile(Path("no/such.sbp"), TFileAccess::Create).Message(Path("no/such.sbp")),
              "Cannot create file \"" + Path("no/such.sbp") + "\". No such file or directory");
    EXPECT_FALSE(Pipe.Fired());
}

// A pipe whose writer never writes reads as a kernel log does that stat calls a regular
// file: there is data, or there will be, but no end.
TEST_F(RegularFiles, AReadThatWouldWaitIsAnErrorAndGivesNothing)
{
    ASSERT_TRUE(Pipe.Made());
    for (const std::string data : {"", "some data first\n"}) {
        const int writer = ::open(Path("pipe.sbp").c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(writer, 0);
        ASSERT_EQ(::write(writer, data.data(), data.size()), static_cast<ssize_t>(data.size()));
        TFileDescriptor reader(::open(Path("pipe.sbp").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        std::string bytes = "left over";
        EXPECT_EQ(reader.ReadToEnd(bytes), EAGAIN) << data;
        EXPECT_EQ(bytes, "");
        ::close(writer);
    }
    EXPECT_EQ(ReadErrorMessage("/x/kmsg.sbp", EAGAIN),
              "Error reading file \"/x/kmsg.sbp\". Reading it would wait for data that may never come.");
    EXPECT_FALSE(Pipe.Fired());
}

// The kernel's log is such a file; only root may open it.
TEST_F(RegularFiles, TheKernelLogOpensButItsReadFailsInsteadOfWaiting)
{
    Link("/proc/kmsg", "kmsg.sbp");
    EXPECT_EQ(NonRegularFileKind(Path("kmsg.sbp")), "") << "stat calls it a regular file";
    TOpenedFile opened = OpenRegularFile(Path("kmsg.sbp"), TFileAccess::Read);
    if (!opened.IsOpen()) {
        GTEST_SKIP() << opened.Message(Path("kmsg.sbp"));
    }
    const testsupport::THangGuard guard("reading /proc/kmsg");
    std::string bytes;
    EXPECT_EQ(opened.File.ReadToEnd(bytes), EAGAIN);
    EXPECT_EQ(bytes, "");
}

TEST_F(RegularFiles, ReadToEndTakesTheWholeFileFromThePositionWhateverItsSize)
{
    for (const std::size_t size : {0, 1, 16383, 16384, 16385, 200000}) {
        std::string text(size, 'x');
        for (std::size_t i = 0; i < size; ++i) {
            text[i] = static_cast<char>('a' + i % 26);
        }
        WriteText("sized.bin", text);
        TOpenedFile opened = OpenRegularFile(Path("sized.bin"), TFileAccess::Read);
        ASSERT_TRUE(opened.IsOpen());
        std::string bytes;
        EXPECT_EQ(opened.File.ReadToEnd(bytes), 0);
        EXPECT_EQ(bytes, text) << size;
        if (size > 5) {
            EXPECT_EQ(opened.File.Seek(5, SEEK_SET), 5);
            EXPECT_EQ(opened.File.ReadToEnd(bytes), 0);
            EXPECT_EQ(bytes, text.substr(5)) << size;
        }
    }
    // The system says 0 for this one.
    TOpenedFile status = OpenRegularFile("/proc/self/status", TFileAccess::Read);
    ASSERT_TRUE(status.IsOpen());
    EXPECT_EQ(status.File.Size(), 0);
    std::string bytes;
    EXPECT_EQ(status.File.ReadToEnd(bytes), 0);
    EXPECT_NE(bytes.find("\nPid:"), std::string::npos) << bytes;
}

bool IsOpenDescriptor(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(FileDescriptor, HasOneOwnerThatClosesIt)
{
    const int first = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    const int second = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    {
        TFileDescriptor a(first);
        TFileDescriptor b(std::move(a));
        EXPECT_FALSE(a.IsOpen());
        EXPECT_TRUE(b.IsOpen());
        EXPECT_TRUE(a.Close()) << "nothing to close";
        EXPECT_TRUE(IsOpenDescriptor(first)) << "the moved-from closed nothing";
        TFileDescriptor c(second);
        c = std::move(b);
        EXPECT_FALSE(IsOpenDescriptor(second)) << "assigning closes what was held";
        EXPECT_TRUE(IsOpenDescriptor(first));
        TFileDescriptor& same = c;
        c = std::move(same);
        EXPECT_TRUE(c.IsOpen()) << "a move onto itself keeps it";
    }
    EXPECT_FALSE(IsOpenDescriptor(first)) << "the last owner closed it";
}

} // namespace
