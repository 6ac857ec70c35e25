// The headless runner reads program files the way the editor's buffer does, so a
// sub-file and a results run see the lines an editor page shows.

#include "EnginePathSupport.h"

#include "engine/EngineErrors.h"

#include "../support/FifoWatchdog.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ProgramRunnerLines, EveryLineBreakStyleEndsALine)
{
    const std::pair<std::string, TProgramLines> cases[] = {
        {"M2,1,1\rM2,2,2\r", {"M2,1,1", "M2,2,2"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // LF then CR: two breaks
        {"a\n\nb\n", {"a", "", "b"}},
        {"\n", {""}},
        {"x\r", {"x"}},
        {"", {}},
        // One leading byte-order mark is no part of line 1; any other is text.
        {"\xEF\xBB\xBFMX, 2\r\nMY, 3", {"MX, 2", "MY, 3"}},
        {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB\xBF\r\nx", {"", "x"}},
        {"\xEF\xBB\xBF\xEF\xBB\xBF" "a", {"\xEF\xBB\xBF" "a"}},
        {"a\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}},
        {"\xEF\xBB", {"\xEF\xBB"}},
    };
    TTempFolder folder("runner_lines");
    for (const auto& [text, expected] : cases) {
        folder.Write("part.sbp", text);
        TProgramLines lines{"left over"};
        ASSERT_TRUE(TProgramRunner::LoadLines(folder.Path("part.sbp"), lines));
        EXPECT_EQ(expected, lines) << text;
    }
}

TEST(ProgramRunnerLines, ASubFileWithCarriageReturnsRunsEveryLine)
{
    TTempFolder folder("runner_cr");
    folder.Write("sub.sbp", "M2,1,1\rM2,2,2\r");
    folder.Write("main.sbp", "FP, sub.sbp\r");
    TPathEngine e;
    EXPECT_EQ(ExpectedPath("0,0,0;1,1,0;2,2,0"), e.Runner.RunFileForResults(folder.Path("main.sbp")));
}

// A sub-file that is no regular file is not read (a pipe would wait for a writer, a
// device might never end): the run stops with the error that says what it is, as a
// missing one stops with its own.
TEST(ProgramRunnerLines, ASubFileThatIsNoRegularFileStopsTheRunSayingWhatItIs)
{
    TTempFolder folder("runner_pipe");
    const testsupport::TFifoWatchdog pipe(folder.Path("pipe.sbp"));
    ASSERT_TRUE(pipe.Made());
    ASSERT_EQ(::symlink("/dev/null", folder.Path("null.sbp").c_str()), 0);
    ASSERT_EQ(::mkdir(folder.Path("dir.sbp").c_str(), 0700), 0);
    const std::pair<const char*, std::string> cases[] = {
        {"pipe.sbp", "Not a regular file: \"" + folder.Path("pipe.sbp") + "\" is a named pipe."},
        {"null.sbp", "Not a regular file: \"" + folder.Path("null.sbp") + "\" is a character device."},
        {"dir.sbp", "Not a regular file: \"" + folder.Path("dir.sbp") + "\" is a directory."},
        {"missing.sbp", "Cannot find file: " + folder.Path("missing.sbp")},
    };
    for (const auto& [name, message] : cases) {
        folder.Write("main.sbp", "M2,1,1\r\nFP, " + std::string(name) + "\r\nM2,2,2\r\n");
        TPathEngine e;
        try {
            e.Runner.RunFileForResults(folder.Path("main.sbp"));
            ADD_FAILURE() << name << " ran";
        } catch (const ERunError& error) {
            EXPECT_EQ(error.Message(), message);
        }
        TProgramLines lines{"left over"};
        std::string error;
        EXPECT_FALSE(TProgramRunner::LoadLines(folder.Path(name), lines, &error));
        EXPECT_EQ(error, message);
    }
    EXPECT_FALSE(pipe.Fired()) << "the run waited on the pipe";
}

// A sub-file or a main file saved with a byte-order mark runs every line, as it does
// without one, and its lines keep their numbers.
TEST(ProgramRunnerLines, AByteOrderMarkChangesNothingARunSees)
{
    const std::string mark = "\xEF\xBB\xBF";
    const std::string expected = ExpectedPath("0,0,0;0,0,0;2,0,0;2,3,0");
    for (const bool subMark : {false, true}) {
        for (const bool mainMark : {false, true}) {
            TTempFolder folder("runner_bom");
            folder.Write("sub.sbp", (subMark ? mark : "") + "MX, 2\r\nMY, 3\r\n");
            folder.Write("main.sbp", (mainMark ? mark : "") + "M2, 0, 0\r\nFP, sub.sbp\r\n");
            TPathEngine e;
            EXPECT_EQ(expected, e.Runner.RunFileForResults(folder.Path("main.sbp"))) << subMark << mainMark;
        }
    }
    TTempFolder folder("runner_bom_error");
    folder.Write("main.sbp", mark + "MX, 1\nMX, &nothing\n");
    TPathEngine e;
    std::string error;
    try {
        e.Runner.RunFileForResults(folder.Path("main.sbp"));
    } catch (const ERunError& ex) {
        error = ex.Message();
    }
    EXPECT_NE(error.find("(line: 2)"), std::string::npos) << error;
}

} // namespace
