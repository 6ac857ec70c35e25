// Step back puts back what a line wrote beside the tool, the path and the variables:
// every system variable a setting or value command (or an FP call) wrote, the VB
// values, and the clamp boxes the line made. Each step back leaves what a fresh run
// leaves at the same place, also after IF ... THEN and inside sub-files, and the lines
// stepped on from there run under the settings the fresh run has.

#include "EnginePathSupport.h"

#include "../support/EngineStateText.h"

#include "engine/LineText.h"
#include "engine/calcul/CalculVariables.h"
#include "platform/core/text/StringUtils.h"
#include "scene/objects/collision/Collision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

struct TFullState {
    std::string Path;
    std::string Variables;
    std::string Settings;
    std::vector<int> Gosub;
    // X, Y, Z, W, A, B, then their zero offsets.
    std::vector<float> Position;
    bool operator==(const TFullState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TFullState& s)
{
    out << "path:\n" << s.Path << "variables:\n" << s.Variables << "settings:\n" << s.Settings << "gosub:";
    for (const int line : s.Gosub) {
        out << " " << line;
    }
    out << "\nposition, A, B, then zero offsets:";
    for (const float v : s.Position) {
        out << " " << v;
    }
    return out;
}

TFullState StateOf(TPathEngine& e)
{
    TFullState s;
    s.Path = ResultsText(e.Move);
    s.Variables = e.Calcul.GetVariablesText();
    s.Settings = enginestate::SettingsText(e.Move, e.Data.SysVars);
    s.Gosub = e.Move.GosubStack();
    TVector pos;
    e.Move.GetPosition(pos);
    float a = 0;
    float b = 0;
    e.Move.GetAB(a, b);
    const TVector zero = e.Move.ZeroOffset();
    float zeroA = 0;
    float zeroB = 0;
    e.Move.GetZeroAB(zeroA, zeroB);
    s.Position = {pos.X, pos.Y, pos.Z, pos.W, a, b, zero.X, zero.Y, zero.Z, zero.W, zeroA, zeroB};
    return s;
}

using TPlaces = std::map<std::vector<int>, TFullState>;

// The state of a fresh run of `file` at every place it passes (the main file's
// executed-line history) from `fromCount` lines on, before its first line included;
// the run stops after `maxLines` executed lines (0: none). False when it ended with an
// error.
bool FreshPlaces(const std::string& file, int maxLines, std::size_t fromCount, TPlaces& places)
{
    TPathEngine fresh;
    TAnswerEverything answers;
    TDialogResponderScope scope(&answers);
    fresh.Shell.Suppress = true;
    fresh.Runner.MaxExecutedLines = maxLines;
    if (fromCount == 0) {
        places[{}] = StateOf(fresh);
    }
    fresh.Runner.OnLineExecuted = [&](int) {
        const std::vector<int>& history = fresh.Move.PartFiles().History();
        if (fresh.Move.PartFiles().Depth() == 1 && history.size() >= fromCount) {
            places[history] = StateOf(fresh);
        }
    };
    return fresh.RunFileForResults(file).Error.empty();
}

// Steps back from the end of a run of `file`, `most` lines or to its start, each step
// back leaving the fresh run's state of that place. With `again`, the lines stepped
// back are stepped on once more, one by one, as Step after Step Back runs them, and
// stepped back again. Returns the lines stepped back, -1 when the run ends with an
// error.
int CompareStepBacks(const std::string& file, int maxLines, int most, bool again)
{
    TPathEngine e;
    TAnswerEverything answers;
    TDialogResponderScope scope(&answers);
    e.Shell.Suppress = true;
    e.Runner.MaxExecutedLines = maxLines;
    if (!e.RunFileForResults(file).Error.empty()) {
        return -1;
    }
    const std::size_t count = e.Move.PartFiles().History().size();
    TPlaces places;
    if (!FreshPlaces(file, maxLines, count - std::min(count, static_cast<std::size_t>(most)), places)) {
        return -1;
    }
    TProgramLines lines;
    if (!TProgramRunner::LoadLines(file, lines)) {
        ADD_FAILURE() << "cannot read " << file;
        return -1;
    }
    const auto expectPlace = [&](const char* when) {
        const auto place = places.find(e.Move.PartFiles().History());
        if (place == places.end()) {
            ADD_FAILURE() << when << ": no fresh run passes this place (" << e.Move.PartFiles().History().size()
                          << " lines)";
            return false;
        }
        const TFullState now = StateOf(e);
        EXPECT_EQ(now, place->second) << when << ", " << e.Move.PartFiles().History().size() << " lines";
        return now == place->second;
    };
    if (!expectPlace("at the end")) {
        return 0;
    }
    int back = 0;
    for (int round = 0; round < (again ? 2 : 1); ++round) {
        std::vector<int> popped;
        while (static_cast<int>(popped.size()) < most && !e.Move.PartFiles().History().empty()) {
            const int index = e.Move.PartFiles().History().back();
            if (!e.Runner.StepBack(lines)) {
                break;
            }
            popped.push_back(index);
            if (!expectPlace("stepped back")) {
                return back;
            }
        }
        EXPECT_EQ(popped.size(), std::min(count, static_cast<std::size_t>(most))) << "every line within reach";
        back = std::max(back, static_cast<int>(popped.size()));
        if (round == 1 || !again) {
            break;
        }
        for (auto line = popped.rbegin(); line != popped.rend(); ++line) {
            TArrayofCmds cmds;
            const std::string& text = lines[static_cast<std::size_t>(*line)];
            e.Move.PreprocessLine(text, true, cmds);
            int next = *line;
            e.Move.ExecuteLine(&lines, text, cmds, *line, &next, false);
            if (!expectPlace("stepped on")) {
                return back;
            }
        }
    }
    return back;
}

struct TSettingsCase {
    const char* What;
    std::string Main;
    std::string Sub = {};
    std::string Inner = {};
};

// Every command that writes a system variable, its values read back and acted on.
TEST(StepBackSettings, EachStepBackLeavesWhatAFreshRunLeavesThere)
{
    const std::string longName(60, 'k');
    const TSettingsCase cases[] = {
        {"SR and SA", "M2, 2, 2\nSR\nM2, 1, 1\nSA\nM2, 5, 5\nSR\nMX, 1"},
        {"MS read back", "MS, 2, 1\n&b = %(71)\nMS, 5, 1\nM2, &b, 1\nMS, 3, 1, 2, 700\n&c = %(75)"},
        {"JS and VS", "JS, 4, 2\nJ2, 1, 1\nJS, 6, 3, 2, 100\n&j = %(76) + %(80)\nVS, 1, 2, 3, 4, 5, 6, 7, 8\n"
                      "&v = %(71) + %(80)\nVS, 2\nM2, &v, &j"},
        {"VC: MH goes to the safe height, shapes use the tool", "VC, 0.5, , , 2, cutter, 20, 3\nMH\n"
                                                              "VC, 0.25, , , 4\nMH\nVC, 0.75\nCR, 4, 4, T, 1, 2"},
        {"VU: a circle's arc step", "VU, 1, 2, 3, 4, 0.5, , , , 9\nCC, 2\nVU\nCC, 2\n&u = %(31) + %(35)"},
        {"VB and its own copy", "VB, 0.2, 5, 2, 0.7, 3, 4, 1.5\nM2, 1, 1\nVB\nM2, 2, 2\nVB, 0.2, 5, 2, 0.7, 3, 4, 1.5"},
        {"VL and SF", "VL, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11\nSF, 3\nM2, %(12), %(-2)\nVL\nSF\nM2, %(20), %(-2)"},
        {"VA's offsets and its %(6) to %(10)", "M2, 1, 1\nVA, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10\nM2, 1, 1\n"
                                               "VA, 0, 0, 0, 0, 0, 1\nM2, 2, 2"},
        {"a cutter name longer than a change holds", "VC, 0.5, , , , " + longName + "\nVC, 0.5, , , , x\nVC"},
        {"the statement after THEN",
         "&a = 1\nIF &a = 1 THEN SR\nIF 1 = 1 THEN MS, 7, 7\nMX, 1\nIF 1 = 1 THEN [CLAMP] K, 1, 1, 0, 1, 1, 1\n"
         "IF 1 = 0 THEN SA\nIF 1 = 1 THEN VB, 3"},
        {"clamps", "M2, 1, 1\n[CLAMP] C1, 10, 5, 0, 4, 4, 4\nM2, 2, 2\nM2, 3, 1\n[CLAMP] C1, 1, 1, 1, 1, 1, 1\n"
                   "[CLAMP] C2, 2, 2, 2, 2, 2, 2"},
        {"a GOSUB loop of relative moves", "&n = 0\nGOSUB S\nGOSUB S\nSA\nM2, 0, 0\nEND\nS:\nSR\n&n = &n + 1\n"
                                           "MS, &n, 1\nMX, 1\nRETURN"},
        {"FP's %(60) to %(68) and a sub-file's settings, nested",
         "M2, 1, 1\nFP, sub, 2, 2, 1, 1, 1\nMS, %(71) + 1\nFP, inner\nIF 1 = 1 THEN FP, sub, 3, 3, 3",
         "SR\nMS, 4, 4\n[CLAMP] S, 0, 0, 0, 1, 1, 1\nVC, 0.3, , , , in sub\nFP, inner\nMX, 1",
         "JS, 9\nSA\nVB, 1, 2\n[CLAMP] I, 3, 3, 3, 1, 1, 1\nM2, 5, 5"},
    };
    for (const TSettingsCase& c : cases) {
        SCOPED_TRACE(c.What);
        TTempFolder folder{"stepsettings"};
        folder.Write("main.sbp", c.Main);
        folder.Write("sub.sbp", c.Sub);
        folder.Write("inner.sbp", c.Inner);
        EXPECT_GE(CompareStepBacks(folder.Path("main.sbp"), 0, 1000, true), static_cast<int>(ToLines(c.Main).size()));
    }
}

// A setting keeps what it replaced only when it changed something: a million moves, or
// a million times the same speed, keep nothing. The numbers a line changes share the
// record's changes of 32 bytes, three to one; a text takes one.
TEST(StepBackSettings, ASettingKeepsOnlyWhatItChanged)
{
    struct TCase {
        const char* First;
        const char* Changed; // the first line's values changed: `kept` bytes
        std::size_t Kept;
    };
    const TCase cases[] = {
        {"SR", "SA", 32},
        {"MS, 2, 1", "MS, 3, 2, 2, 10", 64},
        {"JS, 2, 1", "JS, 3, 2, 2, 10", 64},
        {"VS, 1, 2, 3, 4, 5, 6, 7, 8", "VS", 128},
        {"VL, 1, 2, 3, 4, 5, 6, 7, 9, 9, 10, 11", "VL", 128},
        {"VU, 1, 2, 3, 4, 0.1, , , , 5", "VU", 64},
        {"VC, 0.5, , , 2, name, 3, 4", "VC", 96},
        {"SF, 2", "SF, 3", 32},
        {"VA, 0, 0, 0, 0, 0, 1, 2", "VA, 0, 0, 0, 0, 0, 3, 4, 5", 32},
        {"M2, 1, 1", "M2, 2, 2", 0},
        // %(42), and the VB values kept beside their change: about a change more.
        {"VB, 1", "VB, 1, 3", 128},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.First);
        const auto keptBy = [](const std::string& program) {
            TPathEngine e;
            e.Run(program);
            return e.Calcul.GetVariables().UndoBytes();
        };
        const std::size_t first = keptBy(c.First);
        std::string again = c.First;
        for (int k = 0; k < 1000; ++k) {
            again += std::string("\n") + c.First;
        }
        EXPECT_EQ(keptBy(again), first) << "the same values again";
        const std::size_t changed = keptBy(std::string(c.First) + "\n" + c.Changed) - first;
        // The preview counts what is kept, once.
        TPathEngine keeping;
        keeping.Run(std::string(c.First) + "\n" + c.Changed);
        TPathEngine plain;
        plain.Move.KeepStepBack(false);
        plain.Run(std::string(c.First) + "\n" + c.Changed);
        EXPECT_EQ(keeping.Move.PreviewBytes(), plain.Move.PreviewBytes() + first + changed);
        if (c.First[1] == 'B') {
            EXPECT_GT(changed, 64u);
            EXPECT_LE(changed, c.Kept);
        } else {
            EXPECT_EQ(changed, c.Kept);
        }
    }
}

// The first line of a sub-file is kept under its FP line's place: stepping it back
// takes back what that line did, and leaves what the FP line wrote before the call
// (%(60) to %(68), the offsets of the second call in a change with room to spare) and
// the variables it found.
TEST(StepBackSettings, StepBackInsideASubFileLeavesWhatItsCallWrote)
{
    for (const char* first : {"MS, &v", "&w = &v", "VC, &v, , , , other"}) {
        SCOPED_TRACE(first);
        TTempFolder folder{"stepinside"};
        TPathEngine e;
        folder.Write("sub.sbp", std::string(first) + "\nSR\n[CLAMP] S, 0, 0, 0, 1, 1, 1");
        folder.Write("main.sbp", "&v = 1\nFP, sub, 2, 3, 4, , 1\n&v = 2\nM2, 1, 1\nFP, sub, 2, 3, 4, , 1");
        TProgramLines sub;
        ASSERT_TRUE(TProgramRunner::LoadLines(folder.Path("sub.sbp"), sub));
        int calls = 0;
        e.Data.SetOnRunFile([&](const std::string& name) {
            SCOPED_TRACE("call " + std::to_string(++calls));
            const std::string atStart = enginestate::SettingsText(e.Move, e.Data.SysVars) + e.Calcul.GetVariablesText();
            EXPECT_NE(atStart.find("%(66) set int 0 float 0 (00000000) str \"2\""), std::string::npos);
            e.Runner.RunFile(name);
            int back = 0;
            while (e.Runner.StepBack(sub)) {
                ++back;
            }
            EXPECT_EQ(back, 3);
            EXPECT_EQ(enginestate::SettingsText(e.Move, e.Data.SysVars) + e.Calcul.GetVariablesText(), atStart);
            e.Runner.RunFile(name);
        });
        e.Runner.RunFileForResults(folder.Path("main.sbp"));
        EXPECT_EQ(calls, 2);
    }
}

// Stepping back a clamp line takes its box out of the scene and the collision
// manager and frees it; the line run again makes one box, not a second.
TEST(StepBackSettings, AClampStepBackFreesItsBox)
{
    TPathEngine e;
    TGLBaseSceneObject clampsParent;
    TCollisionManager manager;
    e.Move.SetClampsParent(&clampsParent);
    e.Move.SetCollisionManager(&manager);
    const std::string program = "[CLAMP] A, 0, 0, 0, 1, 1, 1\nIF 1 = 1 THEN [CLAMP] B, 5, 5, 0, 1, 1, 1\nM2, 1, 1";
    e.Run(program);
    ASSERT_EQ(clampsParent.Count(), 2);
    const TProgramLines lines = ToLines(program);
    struct TAfter {
        int Backs;
        int Boxes;
        const char* Last;
    };
    for (const TAfter after : {TAfter{1, 2, "B"}, TAfter{2, 1, "A"}, TAfter{3, 0, ""}}) {
        SCOPED_TRACE(after.Backs);
        while (e.Move.PartFiles().HistoryCount() > 3 - after.Backs) {
            ASSERT_TRUE(e.Runner.StepBack(lines));
        }
        EXPECT_EQ(clampsParent.Count(), after.Boxes);
        ASSERT_EQ(e.Move.Clamps().Count(), after.Boxes);
        EXPECT_EQ(after.Boxes == 0 ? std::string() : e.Move.Clamps()[after.Boxes - 1].Cube->Hint(), after.Last);
    }
    // The bit where B stood meets nothing now.
    TGLBaseSceneObject bit;
    bit.Position().SetPoint(5, 5, 0);
    auto* collision = CreateXCollectionItem<TGLBCollision>(&bit.Behaviours());
    collision->BoundingMode = cbmCube;
    collision->SetManager(&manager);
    int hits = 0;
    manager.OnCollision = [&](TObject*, TGLBaseSceneObject*, TGLBaseSceneObject*) { ++hits; };
    manager.CheckCollisions();
    EXPECT_EQ(hits, 0);
    // On again: one box of each name.
    for (int index = 0; index < 2; ++index) {
        TArrayofCmds cmds;
        e.Move.PreprocessLine(lines[static_cast<std::size_t>(index)], true, cmds);
        int next = index;
        e.Move.ExecuteLine(&lines, lines[static_cast<std::size_t>(index)], cmds, index, &next, false);
    }
    EXPECT_EQ(enginestate::ClampsText(e.Move.Clamps()),
              "[A] at 0 (00000000), 0 (00000000), 0 (00000000) size 1 (3f800000), 1 (3f800000), 1 (3f800000)\n"
              "[B] at 5 (40a00000), 5 (40a00000), 0 (00000000) size 1 (3f800000), 1 (3f800000), 1 (3f800000)\n");
    manager.CheckCollisions();
    EXPECT_EQ(hits, 1);
    e.Move.Clamps().Free();
}

// Our test programs and the real programs of the corpus, stepped back from their end
// (or from where a run of them stops), leave at every place what a fresh run leaves:
// relative moves, drilling, GOSUB loops and profile macros set speeds, modes and tools
// between their moves.
TEST(StepBackSettings, RealProgramsStepBackToWhatAFreshRunLeaves)
{
    std::vector<std::filesystem::path> files = CorpusFiles();
    const std::filesystem::path testRuns = std::filesystem::path(KERFPAD_TEST_DATA) / ".." / ".." / "data" / "TestRuns";
    for (const auto& entry : std::filesystem::directory_iterator(testRuns)) {
        if (entry.path().extension() == ".sbp") {
            files.push_back(entry.path());
        }
    }
    int compared = 0;
    int withSettings = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const int back = CompareStepBacks(file.string(), 3000, 250, false);
        if (HasFailure()) {
            return;
        }
        compared += back > 0 ? 1 : 0;
        TProgramLines lines;
        ASSERT_TRUE(TProgramRunner::LoadLines(file.string(), lines));
        withSettings += std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            const std::string word = UpperCase(TrimView(line).substr(0, 2));
            return word == "SR" || word == "MS" || word == "JS" || word == "VC" || word == "VS" || word == "VU";
        }) ? 1 : 0;
    }
    EXPECT_GE(compared, 20);
    EXPECT_GE(withSettings, 5);
}

} // namespace
