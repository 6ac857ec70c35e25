// Step back puts the variables back as they were before the undone line: after any mix
// of steps back and steps forward the variables, and the path, are those a fresh run
// of the lines up to there leaves. A step back does not run its line's assignments or
// functions again (freevar would free a name twice, "&i = &i + 1" count twice), and the
// variables an earlier run left stay.

#include "EnginePathSupport.h"

#include "engine/calcul/Calcul.h"
#include "engine/calcul/CalculVariables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct TState {
    std::string Variables;
    std::string Path;
    bool operator==(const TState&) const = default;
};

// A text of tens of MiB is shown by its start and its length.
std::ostream& operator<<(std::ostream& out, const TState& s)
{
    const auto shown = [](const std::string& text) {
        return text.size() <= 2000 ? text : text.substr(0, 2000) + "... (" + std::to_string(text.size()) + " characters)";
    };
    return out << "variables:\n" << shown(s.Variables) << "\npath:\n" << shown(s.Path);
}

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
    std::vector<std::function<std::string()>> kinds = {
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
    // IF ... THEN with any of those statements (twice as often as the rest), its condition
    // holding, not holding, or failing on a number after an operator; a jog to where the
    // tool is, after which a move may go on with the cut path; and a text that doubles,
    // so that a small bound is met.
    const std::vector<std::string> conditions = {"1 = 1", "&cnt < 9", "1 = 0", "&cnt > -1", "&cnt < .5"};
    const std::size_t plainKinds = kinds.size();
    const auto ifKind = [&] {
        return "IF " + conditions[static_cast<std::size_t>(below(conditions.size()))] + " THEN "
            + kinds[static_cast<std::size_t>(below(plainKinds))]();
    };
    kinds.push_back(ifKind);
    kinds.push_back(ifKind);
    kinds.push_back([&] { return std::string("J2, %(1), %(2)"); });
    const std::string doubling = "&s = &s | &s | \"y\"";
    kinds.push_back([&] { return doubling; });
    // And an IF right after a move and a jog in place, a move after it.
    kinds.push_back([&] { return "M2, " + number() + ", 1\nJ2, %(1), %(2)\n" + ifKind() + "\nM2, 1, 2"; });
    int checked = 0;
    for (int program = 0; program < 600; ++program) {
        TProgramLines lines;
        lines.push_back("&cnt = 0");
        lines.push_back("&s = \"x\"");
        for (int k = 2 + below(8); k > 0; --k) {
            // A kind may give several lines.
            const std::string kind = kinds[static_cast<std::size_t>(below(kinds.size()))]();
            for (std::size_t from = 0, end = 0; from <= kind.size(); from = end + 1) {
                end = std::min(kind.find('\n', from), kind.size());
                lines.push_back(kind.substr(from, end - from));
            }
        }
        // Once, a text of tens of MiB that two doublings take to the record's bound of
        // 65 MiB and past it.
        const bool large = program == 299;
        if (large) {
            lines[1] = "&s = \"" + std::string(std::size_t{24} << 20, 'x') + "\"";
            std::erase(lines, doubling);
            lines.insert(lines.end(), 2, doubling);
        }
        std::string text;
        std::string shown;
        for (const std::string& line : lines) {
            text += line + "\n";
            shown += line.substr(0, 80) + "\n";
        }
        SCOPED_TRACE("program " + std::to_string(program) + ":\n" + shown);
        // Programs that stop at an error (a name SL cleared) are another test's.
        TPathEngine probe;
        probe.Shell.Suppress = true;
        if (!probe.RunForResults(text).Error.empty()) {
            continue;
        }
        ++checked;
        TPathEngine e;
        e.Shell.Suppress = true;
        // A record of a few hundred bytes is soon full.
        TCalculVariables& variables = e.Calcul.GetVariables();
        if (below(3) == 0 && !large) {
            variables.MaxUndoBytes = static_cast<std::size_t>(100 + below(600));
        }
        e.Runner.RunLinesForResults(lines);
        int done = static_cast<int>(lines.size());
        // Each prefix's fresh run once.
        std::map<int, TState> prefixes;
        const auto prefix = [&](int count) -> const TState& {
            auto known = prefixes.find(count);
            if (known == prefixes.end()) {
                known = prefixes.emplace(count, PrefixState(lines, static_cast<std::size_t>(count))).first;
            }
            return known->second;
        };
        for (int move = 0; move < 12; ++move) {
            const std::size_t logged = e.Shell.LogLines.size();
            const std::size_t printed = e.Shell.Messages.size();
            const std::size_t kept = variables.UndoBytes();
            if (below(3) != 0 && e.Runner.StepBack(lines)) {
                --done;
                // Nothing of the line ran again: nothing logged, printed or kept.
                EXPECT_EQ(e.Shell.LogLines.size(), logged);
                EXPECT_EQ(e.Shell.Messages.size(), printed);
                EXPECT_LE(variables.UndoBytes(), kept);
            } else if (done < static_cast<int>(lines.size())) {
                StepForward(e, lines, done);
                ++done;
            }
            ASSERT_EQ(StateOf(e), prefix(done)) << "after " << done << " lines";
        }
    }
    EXPECT_GT(checked, 400);
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

// The record's own bound holds the last 100,000 lines of the most changes a statement
// makes, an INPUT of 21 names, with short values: step back reaches every one of them
// (a MiB less would not).
TEST(StepBackVariables, TheBoundHoldsAHundredThousandInputsOfTwentyOneNames)
{
    std::string input = "INPUT \"v\" &v1";
    for (int k = 2; k <= 21; ++k) {
        input += ", &v" + std::to_string(k);
    }
    const TProgramLines lines(100000, input);
    for (const std::size_t bound :
         {TCalculVariables::DefaultMaxUndoBytes, TCalculVariables::DefaultMaxUndoBytes - (std::size_t{1} << 20)}) {
        SCOPED_TRACE("bound " + std::to_string(bound));
        TPathEngine e;
        TAnswerEverything answers;
        TDialogResponderScope scope(&answers);
        e.Calcul.GetVariables().MaxUndoBytes = bound;
        e.Runner.RunLinesForResults(lines);
        EXPECT_LE(e.Calcul.GetVariables().UndoBytes(), bound);
        if (bound != TCalculVariables::DefaultMaxUndoBytes) {
            EXPECT_GT(e.Calcul.GetVariables().UndoReach(), 0) << "the first lines went";
            continue;
        }
        EXPECT_EQ(e.Calcul.GetVariables().UndoReach(), 0);
        for (int back = 0; back < 100000; ++back) {
            ASSERT_TRUE(e.Runner.StepBack(lines)) << back;
        }
        EXPECT_EQ(e.Calcul.GetVariablesText(), "");
    }
}

// A step back evaluates nothing: where the line's own changes were let go to keep the
// record within its bound it is refused, and everywhere else it leaves exactly what a
// fresh run of the lines before leaves. Each line here keeps more than the one before,
// so the bound lets go of everything kept before the line, and at last of the line's
// own change too.
TEST(StepBackVariables, AStepBackAtTheBoundTakesBackTheLineOrNothing)
{
    TProgramLines lines = {"&s = \"x\"", "&i = 0"};
    for (int pass = 0; pass < 15; ++pass) {
        lines.push_back("&s = &s | &s");
        lines.push_back("&i = &i + 1");
    }
    lines.push_back("M2, &i, 1");
    for (const std::size_t bound : {std::size_t{3000}, std::size_t{20000}, std::size_t{1} << 20}) {
        SCOPED_TRACE("bound " + std::to_string(bound));
        TPathEngine e;
        e.Calcul.GetVariables().MaxUndoBytes = bound;
        e.Runner.RunLinesForResults(lines);
        std::size_t done = lines.size();
        for (int round = 0; round < 2; ++round) {
            while (e.Runner.StepBack(lines)) {
                --done;
                ASSERT_EQ(StateOf(e), PrefixState(lines, done)) << "after " << done << " lines";
                ASSERT_LE(e.Calcul.GetVariables().UndoBytes(), bound);
            }
            // Refused where the record ends, and again, the state as it was.
            EXPECT_FALSE(e.Runner.StepBack(lines));
            EXPECT_EQ(StateOf(e), PrefixState(lines, done));
            EXPECT_EQ(done > 2, bound < (std::size_t{1} << 20)) << "the bound was met, or never";
            // On again to the end: the same way back.
            for (std::size_t index = done; index < lines.size(); ++index) {
                StepForward(e, lines, static_cast<int>(index));
            }
            done = lines.size();
        }
    }
}

// The GOSUB stack's changes are kept in the same record as the variables', within the
// same bound: a run of calls and returns without a variable holds the record to it, and
// step back reaches as far back as the record does, the stack as a fresh run left it.
TEST(StepBackVariables, TheGosubStacksChangesCountInTheRecordsBound)
{
    TProgramLines lines;
    for (int call = 0; call < 300; ++call) {
        lines.push_back("GOSUB S" + std::to_string(call % 3));
    }
    lines.push_back("END");
    for (int sub = 0; sub < 3; ++sub) {
        lines.push_back("S" + std::to_string(sub) + ":");
        lines.push_back(sub == 1 ? "GOSUB S2" : "RETURN");
        if (sub == 1) {
            lines.push_back("RETURN");
        }
    }
    constexpr std::size_t Bound = 4000;
    TPathEngine e;
    e.Calcul.GetVariables().MaxUndoBytes = Bound;
    e.Runner.RunLinesForResults(lines);
    const int executed = e.Move.PartFiles().HistoryCount();
    EXPECT_GT(e.Calcul.GetVariables().UndoBytes(), Bound / 2);
    EXPECT_LE(e.Calcul.GetVariables().UndoBytes(), Bound);
    int back = 0;
    while (e.Runner.StepBack(lines)) {
        ++back;
        TPathEngine fresh;
        fresh.Runner.MaxExecutedLines = executed - back;
        fresh.Runner.RunLinesForResults(lines);
        ASSERT_EQ(e.Move.GosubStack(), fresh.Move.GosubStack()) << back << " lines back";
    }
    EXPECT_GT(back, 20);
    EXPECT_LT(back, executed / 2) << "the bound held the stack's changes too";
}

} // namespace
