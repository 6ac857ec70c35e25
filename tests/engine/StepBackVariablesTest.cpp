// Step back puts the variables back as they were before the undone line: after any mix
// of steps back and steps forward the variables, and the path, are those a fresh run
// of the lines up to there leaves. A step back does not run its line's assignments or
// functions again (freevar would free a name twice, "&i = &i + 1" count twice), and the
// variables an earlier run left stay.

#include "EnginePathSupport.h"

#include "engine/calcul/Calcul.h"

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

} // namespace
