#pragma once
// The test runner's rows and its two commands without a window: Run All compares each
// program's run with its result file, Create Result File records one program's run as
// its new result file. The window supplies the run and hears of each changed row.

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TTestRow {
    std::string Name; // the program's file name, no folder
    std::string Status;
};

struct TTestRunHooks {
    // Runs the program from a clean state; the path text it leaves, or none when the
    // program could not be run at all (the run reported why).
    std::function<std::optional<std::string>(const std::string& programPath)> RunForResults;
    // Whether the user stopped the run that just returned (Stop, or leaving the
    // program): its row fails and no later row runs.
    std::function<bool()> Stopped;
    // A row's status changed (the window repaints it at once).
    std::function<void(int row)> RowChanged;
    std::function<void(const std::string& tag, const std::string& text)> Log;
};

class TTestSuite {
public:
    // The tests of `folder`, each "waiting...".
    void Fill(const std::string& folder);

    const std::string& Folder() const { return FFolder; }
    const std::vector<TTestRow>& Rows() const { return FRows; }
    int Count() const { return static_cast<int>(FRows.size()); }
    std::string ProgramPath(int row) const;

    // Every row "waiting...", then every row in order: "Passed" when the run's text
    // equals its result file's bytes, else "Failed"; a run that was stopped or could not
    // start fails without a look at the file, and a stopped one ends Run All. A result
    // file that cannot be read fails its row, is logged, and after the last row one
    // error box lists every such file with its reason.
    void RunAll(const TTestRunHooks& hooks);
    // Asks "Overwrite current result file?" (Yes, No, Cancel); on Yes runs the row and
    // writes its text as the result file. The status stays. False when nothing was
    // written: no such row, not Yes, or the run was stopped or could not start.
    bool CreateResultFile(int row, const TTestRunHooks& hooks);

private:
    std::string FFolder;
    std::vector<TTestRow> FRows;
};
