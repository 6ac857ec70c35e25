// Every real program of the corpus runs through the headless runner to its path text,
// sub-files included, with every dialog answered. A run may end with one of the
// engine's errors (a missing sub-file, a machine feature the preview cannot follow)
// or at the cap on executed lines (programs waiting on machine inputs), never with
// anything else.

#include "EnginePathSupport.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(CorpusPaths, EveryProgramRunsToItsPathText)
{
    const auto files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << KERFPAD_CORPUS;
    }
    int withPaths = 0;
    for (const auto& path : files) {
        TPathEngine e;
        TAnswerEverything answers;
        TDialogResponderScope scope(&answers);
        e.Shell.QuickView = true;
        e.Runner.MaxExecutedLines = 200000;
        std::string text;
        try {
            text = e.Runner.RunFileForResults(path.string());
        } catch (const Exception& ex) {
            EXPECT_FALSE(ex.Message().empty()) << path;
        }
        EXPECT_GT(e.Runner.ExecutedLines(), 0) << path;
        EXPECT_LE(e.Runner.ExecutedLines(), e.Runner.MaxExecutedLines) << path;
        withPaths += text.empty() ? 0 : 1;
    }
    EXPECT_GT(withPaths, 0) << "some program draws a path";
}

} // namespace
