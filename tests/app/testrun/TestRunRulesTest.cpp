// The test runner's and the quick view's rules without a window: which files are tests,
// result names, byte-exact comparison, status colours, Run All and Create Result File
// with a stand-in run, the file masks and one quick view at a time.

#include "app/testrun/QuickViewRules.h"
#include "app/testrun/TestRunRules.h"
#include "app/testrun/TestSuite.h"

#include "platform/core/files/Stream.h"

#include "../../support/ScriptedDialogs.h"
#include "../../support/TempFolderTest.h"

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

namespace {

class TestRunFolder : public testsupport::TTempFolderTest {
protected:
    TestRunFolder()
    {
        Hooks.RunForResults = [this](const std::string& path) -> std::optional<std::string> {
            Runs.push_back(std::filesystem::path(path).filename().string());
            if (NotStarted.contains(Runs.back())) {
                return std::nullopt;
            }
            return RunTexts[Runs.back()];
        };
        Hooks.Stopped = [this] { return StopAfter == static_cast<int>(Runs.size()); };
        Hooks.Log = [this](const std::string& tag, const std::string& text) { LogLines.push_back(tag + ": " + text); };
    }
    ~TestRunFolder() override { EXPECT_TRUE(Dialogs.AllAnswered()); }

    std::vector<std::string> Statuses() const
    {
        std::vector<std::string> statuses;
        for (const TTestRow& row : Suite.Rows()) {
            statuses.push_back(row.Status);
        }
        return statuses;
    }

    TScriptedDialogs Dialogs;
    TDialogResponderScope DialogScope{&Dialogs};
    TTestSuite Suite;
    TTestRunHooks Hooks;
    std::map<std::string, std::string> RunTexts;
    std::set<std::string> NotStarted; // programs whose run cannot start
    std::vector<std::string> Runs, LogLines;
    int StopAfter = -1;
};

TEST_F(TestRunFolder, TestsAreTheProgramsDirectlyInTheFolderSortedByName)
{
    for (const char* name : {"b.sbp", "A.SBP", "c.Sbp", "notes.txt", "d.sbp.bak", "d.rst"}) {
        WriteText(name, "M2,1,1\r\n");
    }
    std::filesystem::create_directories(folder / "sub");
    std::filesystem::create_directories(folder / "dir.sbp");
    WriteText("sub/inner.sbp", "M2,1,1\r\n");
    EXPECT_EQ(FindTestPrograms(folder.string()), (std::vector<std::string>{"A.SBP", "b.sbp", "c.Sbp"}));
    EXPECT_TRUE(FindTestPrograms(Path("missing")).empty());
}

TEST(TestRunRules, ResultNamesComparisonAndColours)
{
    for (const auto& [program, result] : std::map<std::string, std::string>{
             {"/t/x.sbp", "/t/x.rst"}, {"/t/jobs.sbp.d/x.sbp", "/t/jobs.sbp.d/x.rst"}, {"/t/X.SBP", "/t/X.rst"}}) {
        EXPECT_EQ(ResultFileName(program), result);
    }
    const std::string nodes = "0.00000,0.00000,0.00000\r\n1.00000,1.00000,0.00000\r\n";
    EXPECT_EQ(CompareResults(nodes, nodes), "Passed");
    EXPECT_EQ(CompareResults("", ""), "Passed");
    EXPECT_EQ(CompareResults(nodes, nodes + "\r\n"), "Failed");
    EXPECT_EQ(CompareResults(nodes, "0.00000,0.00000,0.00000\n1.00000,1.00000,0.00000\n"), "Failed");

    for (const auto& [text, colour] : std::map<std::string, std::optional<TColor>>{
             {"WAITING...", 0xF0CAA6}, {"waiting...", 0xF0CAA6}, {"passed", 0x00FF00}, {"Failed", 0x0000FF},
             {"", std::nullopt}, {"Pass", std::nullopt}}) {
        EXPECT_EQ(StatusCellColor(text), colour) << text;
    }
    EXPECT_EQ(GetRValue(FailedColor), 255) << "red is the low byte";
}

TEST_F(TestRunFolder, CreateResultFileWritesExactlyTheRunsTextOnYesOnly)
{
    WriteText("a.sbp", "M2,1,1\r\n");
    WriteText("a.rst", "old\r\n");
    // Bytes a text mode would translate or stop at.
    static const char bytes[] = "0.00000,0.00000,0.00000\r\n\n\r\x1A\0end";
    const std::string text(bytes, sizeof bytes - 1);
    RunTexts["a.sbp"] = text;
    Suite.Fill(folder.string());
    for (const TModalResult answer : {TModalResult::mrNo, TModalResult::mrCancel}) {
        Dialogs.ExpectMessage("Overwrite current result file?", answer);
        EXPECT_FALSE(Suite.CreateResultFile(0, Hooks));
    }
    EXPECT_EQ(ReadText("a.rst"), "old\r\n");
    EXPECT_TRUE(Runs.empty());
    Dialogs.ExpectMessage("Overwrite current result file?", TModalResult::mrYes);
    EXPECT_TRUE(Suite.CreateResultFile(0, Hooks));
    EXPECT_EQ(ReadText("a.rst"), text);
    EXPECT_EQ(ReadResultFile(Path("a.rst")), text);
    EXPECT_EQ(Statuses(), std::vector<std::string>{"waiting..."}) << "the status stays";
    EXPECT_EQ(Dialogs.Shown[2].Buttons, mbYes | mbNo | mbCancel);

    StopAfter = 2; // a run the user stopped is no result
    RunTexts["a.sbp"] = "cut short";
    Dialogs.ExpectMessage("Overwrite current result file?", TModalResult::mrYes);
    EXPECT_FALSE(Suite.CreateResultFile(0, Hooks));
    EXPECT_EQ(ReadText("a.rst"), text);
    EXPECT_FALSE(Suite.CreateResultFile(1, Hooks)) << "no such row: nothing is asked";

    StopAfter = -1; // a program that could not be run leaves the old result
    NotStarted.insert("a.sbp");
    Dialogs.ExpectMessage("Overwrite current result file?", TModalResult::mrYes);
    EXPECT_FALSE(Suite.CreateResultFile(0, Hooks));
    EXPECT_EQ(ReadText("a.rst"), text);
}

// Every row a run reached ends "Passed" or "Failed": a run that could not start fails
// without its result file being read, a stopped run fails and ends Run All there.
TEST_F(TestRunFolder, StoppedOrUnstartedRunsFailTheirRows)
{
    for (const char* name : {"a", "b", "c", "d"}) {
        WriteText(std::string(name) + ".sbp", "M2,1,1\r\n");
        RunTexts[std::string(name) + ".sbp"] = "same\r\n";
        WriteText(std::string(name) + ".rst", "same\r\n");
    }
    std::filesystem::remove(folder / "b.rst");
    NotStarted.insert("b.sbp");
    StopAfter = 3;
    Suite.Fill(folder.string());
    Suite.RunAll(Hooks);
    EXPECT_EQ(Runs, (std::vector<std::string>{"a.sbp", "b.sbp", "c.sbp"}));
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Passed", "Failed", "Failed", "waiting..."}));
    EXPECT_TRUE(LogLines.empty()) << "the missing result of a program that never ran is not read";
}

TEST_F(TestRunFolder, RunAllGoesOnPastUnreadableResultFilesAndListsThemInOneBox)
{
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        WriteText(std::string(name) + ".sbp", "M2,1,1\r\n");
        RunTexts[std::string(name) + ".sbp"] = std::string(name) + "\r\n";
    }
    WriteText("a.rst", "a\r\n");
    WriteText("c.rst", "c\n");
    std::filesystem::create_directories(folder / "d.rst");
    WriteText("e.rst", "e\r\n");
    const std::string missing = "Cannot open file \"" + Path("b.rst") + "\". No such file or directory";
    const std::string isFolder = "Not a regular file: \"" + Path("d.rst") + "\" is a directory.";
    Dialogs.ExpectMessage(missing + "\n" + isFolder, TModalResult::mrOk);
    Suite.Fill(folder.string());
    Suite.RunAll(Hooks);
    EXPECT_EQ(Runs, (std::vector<std::string>{"a.sbp", "b.sbp", "c.sbp", "d.sbp", "e.sbp"}));
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Passed", "Failed", "Failed", "Failed", "Passed"}));
    EXPECT_EQ(LogLines, (std::vector<std::string>{"error: " + missing, "error: " + isFolder}));
}

TEST(QuickViewRules, MasksSplitTrimAndMatchInEitherCase)
{
    EXPECT_EQ(ParseFileMasks(" *.sbp ; ;*.TXT ;"), (std::vector<std::string>{"*.sbp", "*.TXT"}));
    EXPECT_TRUE(ParseFileMasks(" ; ").empty());
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"PART.SBP", "*.sbp", true}, {"part.sbp.bak", "*.sbp", false}, {"a.sbp", "?.sbp", true},
        {"ab.sbp", "?.sbp", false},  {"noext", "*.*", false},          {"job12.sbp", "job*2*.s?p", true},
        {"aaab", "*a*b", true},      {"aaac", "*a*b", false},          {"", "*", true},
    };
    for (const auto& [name, mask, matches] : cases) {
        EXPECT_EQ(MatchesFileMask(name, mask), matches) << name << " " << mask;
    }
    EXPECT_TRUE(MatchesFileMasks("c.txt", {"*.sbp", "*.txt"}));
    EXPECT_TRUE(MatchesFileMasks("c.nc", {})) << "no mask lists every file";
}

TEST(QuickViewRules, ASelectionDuringAQuickViewRunsAfterItNeverInside)
{
    TQuickViewQueue queue;
    std::vector<std::string> runs;
    int depth = 0, deepest = 0, stops = 0;
    const TQuickViewQueue::TStop stop = [&] { ++stops; };
    TQuickViewQueue::TRun run = [&](const std::string& name) {
        deepest = std::max(deepest, ++depth);
        runs.push_back(name);
        if (name == "a") {
            queue.Select("b", run, stop);
            queue.Select("c", run, stop);
        }
        --depth;
    };
    queue.Select("a", run, stop);
    EXPECT_EQ(runs, (std::vector<std::string>{"a", "c"})) << "the last selection runs next";
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(deepest, 1);

    // A failing run leaves the queue ready for the next selection.
    const TQuickViewQueue::TRun failing = [&](const std::string& name) {
        queue.Select("later", run, stop);
        throw std::runtime_error(name);
    };
    EXPECT_THROW(queue.Select("x", failing, stop), std::runtime_error);
    EXPECT_FALSE(queue.Running());
    queue.Select("y", run, stop);
    EXPECT_EQ(runs.back(), "y");
}

} // namespace
