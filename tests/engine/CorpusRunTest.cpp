// Real part programs run through the line loop with every dialog answered: a run may
// end with a run error (these programs use machine features a preview cannot follow),
// but only ever with one that names its line, and never with anything else.

#include "EngineTestSupport.h"

#include "engine/EngineErrors.h"
#include "engine/LineLoop.h"
#include "engine/ProgramRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(CorpusRun, ProgramsRunOrStopWithALineNumberedError)
{
    const auto files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << KERFPAD_CORPUS;
    }
    for (const auto& path : files) {
        TProgramLines lines;
        ASSERT_TRUE(TProgramRunner::LoadLines(path.string(), lines)) << path;
        TEngineData data;
        TCalcul calcul;
        TFakeShell shell;
        shell.QuickView = true;
        TAnswerEverything answers;
        TDialogResponderScope scope(&answers);
        TMove move(data, calcul, shell);
        move.StartRun();
        int executed = 0;
        TLineLoopHooks hooks;
        hooks.AfterLine = [&](int) { return ++executed < 100000; }; // loops waiting on machine inputs
        try {
            RunLines(move, lines, hooks);
        } catch (const ERunError& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("(line: ")) << path << ": " << e.what();
        } catch (const std::exception& e) {
            ADD_FAILURE() << path << ": " << e.what();
        }
        EXPECT_GT(executed, 0) << path;
        // Every line of the program parses for the editor without touching anything.
        for (const auto& l : lines) {
            move.PreprocessLine(l, false);
        }
    }
}

TEST(CorpusRun, ExampleLoopRunsToItsEnd)
{
    TEngineHarness h;
    const TRunOutcome out = h.Run("&pos = 0\n\nmyloop:\n  MX,&pos\n  MY,1\n  MY,0\n  &pos = &pos+1\n"
                                  "  IF &pos < 4 THEN GOTO myloop\nEND");
    EXPECT_EQ("", out.Error);
    EXPECT_TRUE(out.Stopped);
    EXPECT_EQ("4", h.Var("pos"));
    EXPECT_EQ(3 + 4 * 5 + 1, static_cast<int>(out.Trace.size()));
}

} // namespace
