#include "platform/core/Exceptions.h"
#include "platform/core/files/Stream.h"

#include "../../support/FifoWatchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() /
            (std::string("kerfpad_stream_") + std::to_string(::getpid()) + "_" + name)).string();
}

// The same behaviour is expected of every in-memory stream.
class MemoryStreams : public ::testing::TestWithParam<int> {
protected:
    std::unique_ptr<TStream> Make()
    {
        if (GetParam() == 0) {
            return std::make_unique<TMemoryStream>();
        }
        return std::make_unique<TStringStream>();
    }
};

} // namespace

TEST_P(MemoryStreams, WriteSeekReadAndPartialReadAtTheEnd)
{
    auto s = Make();
    EXPECT_EQ(s->Write("abcdef", 6), 6);
    EXPECT_EQ(s->Position(), 6);
    EXPECT_EQ(s->Size(), 6);
    s->SetPosition(2);
    char buf[8] = {};
    EXPECT_EQ(s->Read(buf, 8), 4);
    EXPECT_EQ(std::string(buf, 4), "cdef");
    EXPECT_EQ(s->Read(buf, 1), 0);
    EXPECT_EQ(s->Seek(-2, TSeekOrigin::soEnd), 4);
    EXPECT_EQ(s->Seek(1, TSeekOrigin::soCurrent), 5);
    EXPECT_THROW(s->Seek(-1, TSeekOrigin::soBeginning), EStreamError);
}

TEST_P(MemoryStreams, ReadBufferPastTheEndRaisesAReadError)
{
    auto s = Make();
    s->WriteBuffer("xy", 2);
    s->SetPosition(0);
    char buf[3];
    try {
        s->ReadBuffer(buf, 3);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

TEST_P(MemoryStreams, WritingPastTheEndAfterSeekGrowsWithZeros)
{
    auto s = Make();
    s->Seek(3, TSeekOrigin::soBeginning);
    s->WriteBuffer("z", 1);
    EXPECT_EQ(s->Size(), 4);
    s->SetPosition(0);
    char buf[4];
    s->ReadBuffer(buf, 4);
    EXPECT_EQ(std::string(buf, 4), std::string("\0\0\0z", 4));
    s->SetSize(2);
    EXPECT_EQ(s->Position(), 2);
    EXPECT_EQ(s->Size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MemoryStreams, ::testing::Values(0, 1));

TEST(StringStream, DataStringHoldsEverythingWritten)
{
    TStringStream s("head");
    s.SetPosition(4);
    s.WriteString("-tail");
    EXPECT_EQ(s.DataString(), "head-tail");
    s.SetPosition(0);
    EXPECT_EQ(s.ReadString(4), "head");
    EXPECT_EQ(s.ReadString(100), "-tail");
}

TEST(StreamCopy, CopyFromWithZeroCopiesTheWholeSourceFromItsStart)
{
    TStringStream source("0123456789");
    source.SetPosition(7);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(source, 0), 10);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(dest.Memory()), 10), "0123456789");
    source.SetPosition(2);
    TStringStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(part.DataString(), "234");
    EXPECT_THROW(part.CopyFrom(source, 100), EReadError);
}

TEST(FileStream, CreateWriteReopenAndRead)
{
    const std::string path = TempPath("a.bin");
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("hello", 5);
        EXPECT_EQ(f.Size(), 5);
    }
    {
        TFileStream f(path, fmOpenRead | fmShareDenyWrite);
        char buf[5];
        f.ReadBuffer(buf, 5);
        EXPECT_EQ(std::string(buf, 5), "hello");
        EXPECT_THROW(f.ReadBuffer(buf, 1), EReadError);
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError) << "opened for reading only";
    }
    {
        TFileStream f(path, fmOpenReadWrite);
        f.Seek(0, TSeekOrigin::soEnd);
        f.WriteBuffer("!", 1);
        f.SetSize(3);
        EXPECT_EQ(f.Size(), 3);
    }
    {
        TFileStream f(path, fmCreate);
        EXPECT_EQ(f.Size(), 0) << "create truncates";
    }
    std::remove(path.c_str());
}

TEST(FileStream, MissingFilesAndBadFoldersNameTheFile)
{
    const std::string missing = TempPath("missing.bin");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.what();
    }
    try {
        TFileStream f("/nonexistent-folder/x.bin", fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"/nonexistent-folder/x.bin\". ", 0), 0u);
    }
    EXPECT_THROW(TFileStream(std::filesystem::temp_directory_path().string(), fmOpenRead), EFOpenError);
    // A named pipe is refused, not opened: reading it would wait for a writer.
    const std::string pipe = TempPath("pipe.sbp");
    {
        const testsupport::TFifoWatchdog watchdog(pipe);
        ASSERT_TRUE(watchdog.Made());
        EXPECT_THROW(TFileStream(pipe, fmOpenRead), EFOpenError);
        EXPECT_FALSE(watchdog.Fired());
    }
    std::remove(pipe.c_str());
}

TEST(MemoryStream, SavesToAndLoadsFromFile)
{
    const std::string path = TempPath("m.bin");
    TMemoryStream m;
    m.WriteBuffer("\x01\x02\x03", 3);
    m.SaveToFile(path);
    TMemoryStream back;
    back.WriteBuffer("old content", 11);
    back.LoadFromFile(path);
    EXPECT_EQ(back.Size(), 3);
    EXPECT_EQ(back.Position(), 0);
    EXPECT_EQ(back.Memory()[2], 3);
    std::remove(path.c_str());
}
