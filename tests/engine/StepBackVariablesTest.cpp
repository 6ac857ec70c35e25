// Step back puts the variables back as they were before the undone line: after any mix
// of steps back and steps forward the variables, and the path, are those a fresh run
// of the lines up to there leaves. A step back does not run its line's assignments or
// functions again (freevar would free a name twice, "&i = &i + 1" count twice), and the
// variables an earlier run left stay.

#include "EnginePathSupport.h"

#include "engine/calcul/Calcul.h"
#include "engine/calcul/CalculVariables.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

struct TState {
    std::string Variables;
    std::string Path;
    bool operator==(const TState&) const = default;
};

TState StateOf(TPathEngine& e)
{
    return {e.Calcul.GetVariablesText(), ResultsText(e.Move)};
}

// What a fresh results run of the program's first `count` lines leaves.
TState PrefixState(const TProgramLines& lines, std::size_t count)
{
    TPathEngine fresh;
    fresh.Shell.Suppress = true;
    fresh.Runner.RunLinesForResults(TProgramLines(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count)));
    return StateOf(fresh);
}

// Executes line `index` forward, as Step after a Step Back does.
void StepForward(TPathEngine& e, const TProgramLines& lines, int index)
{
    const std::string& line = lines[static_cast<std::size_t>(index)];
    TArrayofCmds cmds;
    e.Move.PreprocessLine(line, true, cmds);
    int next = index;
    e.Move.ExecuteLine(&lines, line, cmds, index, &next, false);
}

TEST(StepBackVariables, RandomStepsBackAndForwardLeaveWhatAFreshRunLeaves)
{
    const std::vector<std::string> names = {"a", "A", "b", "cnt", "s"};
    std::mt19937 rng(11);
    const auto below = [&](std::size_t n) { return static_cast<int>(rng() % n); };
    const auto name = [&] { return names[static_cast<std::size_t>(below(names.size()))]; };
    const auto number = [&] { return std::to_string(below(9)); };
    const std::vector<std::function<std::string()>> kinds = {
        [&] { return "&" + name() + " = " + number(); },
        [&] { return "&cnt = &cnt + 1"; },
        [&] { return "&" + name() + " = \"x\" | char(13) | char(10) | \"" + number() + "\""; },
        [&] { return "&e = freevar(\"" + name() + "\")"; },
        [&] { return "&e = existvar(\"" + name() + "\")"; },
        [&] { return std::string("SL"); },
        [&] { return "&d = y:=&cnt*2;y+1"; },
        [&] { return "IF &cnt > " + number() + " THEN &" + name() + " = " + number(); },
        [&] { return "IF &cnt < " + number() + " THEN M2, &cnt, 1"; },
        [&] { return "IF freevar(\"" + name() + "\") = 1 THEN M2, 3, 3"; },
        [&] { return "M2, " + number() + ", &cnt"; },
        [&] { return "J2, 1, " + number(); },
    };
    int checked = 0;
    for (int program = 0; program < 150; ++program) {
        TProgramLines lines;
        lines.push_back("&cnt = 0");
        for (int k = 2 + below(8); k > 0; --k) {
            lines.push_back(kinds[static_cast<std::size_t>(below(kinds.size()))]());
        }
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        SCOPED_TRACE("program " + std::to_string(program) + ":\n" + text);
        // Programs that stop at an error (a name SL cleared) are another test's.
        TPathEngine probe;
        probe.Shell.Suppress = true;
        if (!probe.RunForResults(text).Error.empty()) {
            continue;
        }
        ++checked;
        TPathEngine e;
        e.Shell.Suppress = true;
        e.Runner.RunLinesForResults(lines);
        int done = static_cast<int>(lines.size());
        for (int move = 0; move < 12; ++move) {
            if (below(3) != 0 && e.Runner.StepBack(lines)) {
                --done;
            } else if (done < static_cast<int>(lines.size())) {
                StepForward(e, lines, done);
                ++done;
            }
            ASSERT_EQ(StateOf(e), PrefixState(lines, static_cast<std::size_t>(done))) << "after " << done << " lines";
        }
    }
    EXPECT_GT(checked, 100);
}

// The variables of an earlier run stay when the new run's lines are stepped back, and
// the new run's history keeps nothing of the last one's.
TEST(StepBackVariables, AnEarlierRunsVariablesStay)
{
    TEngineHarness h;
    TProgramRunner runner(h.Move, h.Data, h.Calcul);
    ASSERT_EQ(h.Run("&p = 1\n&q = 2").Error, "");
    const std::string earlier = h.Calcul.GetVariablesText();
    h.Move.PartFiles().Reset();
    ASSERT_EQ(h.Run("&p = 5\n&q = freevar(\"p\")\n&r = 3").Error, "");
    for (int back = 0; back < 3; ++back) {
        ASSERT_TRUE(runner.StepBack(h.Lines));
    }
    EXPECT_FALSE(runner.StepBack(h.Lines));
    EXPECT_EQ(h.Calcul.GetVariablesText(), earlier);
}

// The record of changes kept for step back, under a bound small enough to be met: every
// tag from the reach on undoes to exactly the list it started with, whatever kind of
// change it made, and what the record counts is what it holds (0 once all is undone).
TEST(StepBackVariables, ABoundedRecordUndoesEveryTagFromItsReach)
{
    for (const std::size_t bound : {std::size_t{1} << 30, std::size_t{6000}}) {
        SCOPED_TRACE("bound " + std::to_string(bound));
        std::mt19937 rng(5);
        const auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        const auto text = [&] {
            // Short values stand in the change itself, long ones beside it.
            return std::string(static_cast<std::size_t>(below(3) == 0 ? 30 + below(300) : below(12)), 'x');
        };
        TCalculVariables v;
        v.MaxUndoBytes = bound;
        std::vector<std::string> before;
        for (int tag = 0; tag < 300; ++tag) {
            before.push_back(v.Text());
            v.SetUndoTag(tag);
            for (int change = below(4); change > 0; --change) {
                const std::string name = "n" + std::to_string(below(6));
                switch (below(v.Empty() ? 2 : 7)) {
                case 0: v.Reassign(v.IndexOfName(name), name + "=" + text()); break;
                case 1: v.Add(name + "=" + text()); break;
                case 2: v.Delete(below(v.Count())); break;
                case 3: v.SetStrings(below(v.Count()), name + "=" + text()); break;
                case 4: v.Insert(below(v.Count() + 1), name + "=" + text()); break;
                case 5: v.Reassign(below(v.Count()), name + "=" + text()); break;
                default: below(2) == 0 ? v.Clear() : v.SetText("p=1\r\nq=" + text()); break;
                }
                ASSERT_LE(v.UndoBytes(), bound);
            }
        }
        v.SetUndoTag(TCalculVariables::NoUndo);
        const std::int64_t reach = v.UndoReach();
        EXPECT_EQ(reach > 0, bound < 100000) << "only the small bound is met";
        for (std::int64_t tag = 299; tag >= reach; --tag) {
            v.UndoFrom(tag);
            ASSERT_EQ(v.Text(), before[static_cast<std::size_t>(tag)]) << "tag " << tag;
        }
        EXPECT_EQ(v.UndoBytes(), 0u);
        EXPECT_EQ(v.TextLength(), v.Text().size());
    }
}

// An assignment is kept as one change of a few words; a long value is moved into the
// record, not copied, and counted once.
TEST(StepBackVariables, AKeptAssignmentCostsAFewWords)
{
    TCalculVariables v;
    v.SetUndoTag(0);
    v.Add("i=0");
    const std::size_t added = v.UndoBytes();
    for (int i = 1; i <= 1000; ++i) {
        v.SetUndoTag(i);
        v.Reassign(v.IndexOfName("i"), "i=" + std::to_string(i));
    }
    EXPECT_LE(v.UndoBytes() - added, 1000 * 4 * sizeof(void*));
    const std::string long1(100000, 'a');
    v.Reassign(v.IndexOfName("i"), "i=" + long1);
    const std::size_t withLong = v.UndoBytes();
    v.Reassign(v.IndexOfName("i"), "i=b");
    EXPECT_GE(v.UndoBytes() - withLong, long1.size());
    EXPECT_LE(v.UndoBytes() - withLong, 2 * long1.size());
    v.UndoFrom(1000);
    EXPECT_EQ(v.Text(), "i=999\r\n");
}

// A run's record stays within its bound (the preview counting it once), and step back
// then reaches as far as the record does: each step back leaves what a fresh run of the
// lines before leaves, and the first line it cannot take back stops it, as the start of
// the history does.
TEST(StepBackVariables, StepBackStopsWhereTheBoundedRecordEnds)
{
    const TProgramLines lines = [] {
        TProgramLines out = {"&s = \"\"", "&n = 0"};
        for (int pass = 0; pass < 150; ++pass) {
            out.push_back("&s = &s | \"0123456789\"");
            out.push_back("&n = &n + 1");
            out.push_back("M2, &n, 1");
        }
        return out;
    }();
    TPathEngine e;
    e.Shell.Suppress = true;
    e.Calcul.GetVariables().MaxUndoBytes = 40000;
    e.Runner.RunLinesForResults(lines);
    const std::size_t kept = e.Calcul.GetVariables().UndoBytes();
    EXPECT_LE(kept, 40000u);
    std::size_t withoutRecord = 0;
    {
        TPathEngine plain;
        plain.Shell.Suppress = true;
        plain.Move.KeepStepBack(false);
        plain.Runner.RunLinesForResults(lines);
        withoutRecord = plain.Move.PreviewBytes();
        EXPECT_FALSE(plain.Runner.StepBack(lines)) << "nothing kept, nothing to step back";
    }
    EXPECT_EQ(e.Move.PreviewBytes(), withoutRecord + kept) << "the record counted once";
    std::size_t done = lines.size();
    while (e.Runner.StepBack(lines)) {
        --done;
        ASSERT_EQ(StateOf(e), PrefixState(lines, done)) << "after " << done << " lines";
    }
    EXPECT_GT(done, 2u) << "the bound was met";
    EXPECT_LT(done, lines.size() - 30) << "yet step back reached back a good way";
}

// With the record's own bound, step back reaches at least the last 100,000 lines of a
// program of numbers and short strings, and leaves there what a fresh run of the
// lines up to there leaves.
TEST(StepBackVariables, StepBackReachesTheLastHundredThousandLines)
{
    const TProgramLines lines = {"&i = 0", "&s = \"start\"", "L1:", "&i = &i + 1",
                                 "&s = \"pass \" | &i", "IF &i < 50000 THEN GOTO L1"};
    TPathEngine e;
    e.Runner.RunLinesForResults(lines);
    const int executed = e.Move.PartFiles().HistoryCount();
    for (int back = 0; back < 100000; ++back) {
        ASSERT_TRUE(e.Runner.StepBack(lines)) << back;
    }
    TPathEngine fresh;
    fresh.Runner.MaxExecutedLines = executed - 100000;
    fresh.Runner.RunLinesForResults(lines);
    EXPECT_EQ(e.Calcul.GetVariablesText(), fresh.Calcul.GetVariablesText());
}

} // namespace
