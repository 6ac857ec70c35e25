// A results run answers with its path text, which can be as large as the preview
// itself: the preview's budget counts that text, so a runaway program stops before the
// two together pass it, and the text is written once into room of its exact size.

#include "EnginePathSupport.h"

#include "engine/PathText.h"
#include "engine/RunResults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

TEST(ResultsTextBudget, LineLengthIsWhatTheLineTakes)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f,       -0.0f,   -0.000004f, 0.000005f, 9.999995f, -9.999996f, 99999.99999f,
                            123456.789f, -96.5f, 1e10f,      4.5e10f,   4.6e10f,   -1e15f,     1e16f,
                            -3.4e38f,    1e-40f, inf,        -inf,      std::nanf("")};
    for (const float v : values) {
        std::string line;
        AppendPointLine(line, v, -v, 1.0f);
        EXPECT_EQ(line.size(), PointLineLength(v, -v, 1.0f)) << line;
    }
    // Around every power of ten, where the rounding adds a digit or not.
    for (double ten = 1e-6; ten < 1e17; ten *= 10) {
        for (const double d : {-0.000005, -0.0000049, 0.0, 0.0000049}) {
            const float base = static_cast<float>(ten + d);
            for (const float v : {std::nextafter(base, 0.0f), base, std::nextafter(base, inf)}) {
                std::string line;
                AppendPointLine(line, v, -v, 0.0f);
                EXPECT_EQ(line.size(), PointLineLength(v, -v, 0.0f)) << line;
            }
        }
    }
}

// The runaway programs of the memory benchmark and the preview's tests, as results
// runs under a small budget.
TEST(ResultsTextBudget, RunawayResultsRunsStopWithTheirTextInsideTheBudget)
{
    const struct {
        const char* Name;
        const char* Program;
    } cases[] = {
        {"circles far out", "M3, -12345, -12345, -1234\na:\nCC, 0.01\nGOTO a"},
        {"pocket loop",
         "loop:\nM2 %(1), SIN(2)*2, 1, 0, %(4)\nCG,-1,0.5-0.5,1,1,18.0017,O,0,100,3,34.0555,100,2\n"
         "IF 1 = 1 THEN GOTO loop"},
        {"drilling loop", "&x = 0\nloop:\n&x = &x + 0.5\nJ3, &x, 1, 0.5\nM3, &x, 1, -0.25\nM3, &x, 1, 0.5\nGOTO loop"},
    };
    constexpr std::size_t Budget = 3000000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TPathEngine e;
        e.Move.MaxPreviewBytes = Budget;
        e.Runner.MaxExecutedLines = 100000000; // far beyond the budget
        EXPECT_EQ("The preview holds more than 3 MB.", e.RunForResults(c.Program).Error);
        EXPECT_LE(e.Move.PreviewBytes(), Budget);
        const std::size_t counted = e.Move.CountedPathTextBytes();
        const std::string text = ResultsText(e.Move);
        EXPECT_EQ(counted, text.size());
        EXPECT_EQ(text.size(), text.capacity()) << "room for exactly the text";
        EXPECT_GT(text.size(), Budget / 20) << "the text is a good part of the budget";
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(e.Move.PathNodeCount()));

        // A run of the preview alone writes no text, so the same budget takes it further.
        TEngineHarness h;
        h.Move.MaxPreviewBytes = Budget;
        EXPECT_EQ("The preview holds more than 3 MB.", h.Run(c.Program).Error);
        EXPECT_EQ(0u, h.Move.CountedPathTextBytes());
        EXPECT_GT(h.Move.PathNodeCount(), e.Move.PathNodeCount() + e.Move.PathNodeCount() / 20);
    }
}

TEST(ResultsTextBudget, TheCountFollowsEveryNodeThatComesAndGoes)
{
    TPathEngine e;
    const auto textLength = [&] { return e.Move.PathTextLength("J") + e.Move.PathTextLength("m "); };
    e.Run("M2, 1, 1\nJ2, 3, 3\nCC, 1, , 1, 0, 2\nM2, -1000, 0\nZX\nM2, 2, 2.123456\nJY, 4");
    ASSERT_GT(e.Move.PathNodeCount(), 10u);
    EXPECT_EQ(textLength(), e.Move.CountedPathTextBytes());
    EXPECT_EQ(ResultsText(e.Move).size(), textLength());
    while (e.Runner.StepBack(e.Lines)) {
        EXPECT_EQ(textLength(), e.Move.CountedPathTextBytes());
    }
    EXPECT_EQ(0u, e.Move.CountedPathTextBytes());

    // A run that is no results run counts none; asking to count takes in what is drawn.
    e.Move.StartRun();
    e.Data.AddMoveNode(false, true, 1.5f, -2.25f, 3.0f);
    e.Data.AddJogNode(false, true, 10.0f, 20.0f, 30.0f);
    EXPECT_EQ(0u, e.Move.CountedPathTextBytes());
    e.Move.CountPathText();
    EXPECT_EQ(textLength(), e.Move.CountedPathTextBytes());
    EXPECT_GT(e.Move.CountedPathTextBytes(), 0u);
    e.Move.Reset();
    EXPECT_EQ(0u, e.Move.CountedPathTextBytes());
    EXPECT_EQ(0u, e.Move.PreviewBytes());
}

// Each kind's text alone also goes into room of exactly its size, counted in a results
// run and measured otherwise: regrown, a text of 600 MB took 1 GB of room.
TEST(ResultsTextBudget, EachKindsTextIsWrittenIntoRoomOfItsExactSize)
{
    const auto expectExactRoom = [](const TMove& move) {
        for (const char* kind : {"J", "m"}) {
            std::string text;
            move.GetPathText(kind, text);
            EXPECT_EQ(move.PathTextLength(kind), text.size()) << kind;
            // An empty text keeps the room a string has without any.
            EXPECT_EQ(std::max(text.size(), std::string().capacity()), text.capacity()) << kind;
        }
    };
    const std::string program = "M2, 1, 1\nJ2, 3, 3\nCC, 1, , 1, 0, 2\nM2, -1000, 0\nJ3, 1, 2, 3\nZX\n"
                                "M2, 2, 2.123456\nJY, 4\nCR, 2, 2, , , , , 3, 2";
    TPathEngine results;
    ASSERT_EQ("", results.RunForResults(program).Error);
    ASSERT_GT(results.CutCount(), 1);
    ASSERT_GT(results.JogCount(), 1);
    expectExactRoom(results.Move);
    while (results.Runner.StepBack(results.Lines)) {
        expectExactRoom(results.Move);
    }
    TEngineHarness plain;
    ASSERT_EQ("", plain.Run(program).Error);
    expectExactRoom(plain.Move);
}

} // namespace
