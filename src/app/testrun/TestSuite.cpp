#include "app/testrun/TestSuite.h"

#include "app/testrun/TestRunRules.h"

#include "platform/core/DialogService.h"
#include "platform/core/Exceptions.h"

#include <filesystem>

void TTestSuite::Fill(const std::string& folder)
{
    FFolder = folder;
    FRows.clear();
    for (std::string& name : FindTestPrograms(folder)) {
        FRows.push_back({std::move(name), std::string(TestWaiting)});
    }
}

std::string TTestSuite::ProgramPath(int row) const
{
    return (std::filesystem::path(FFolder) / FRows.at(static_cast<std::size_t>(row)).Name).string();
}

void TTestSuite::RunAll(const TTestRunHooks& hooks)
{
    // The statuses shown are this run's: a row it does not reach says "waiting...".
    for (int row = 0; row < Count(); ++row) {
        FRows[static_cast<std::size_t>(row)].Status = TestWaiting;
        if (hooks.RowChanged) {
            hooks.RowChanged(row);
        }
    }
    std::string unreadable;
    for (int row = 0; row < Count(); ++row) {
        const std::string program = ProgramPath(row);
        const std::string results = hooks.RunForResults(program);
        if (hooks.Stopped && hooks.Stopped()) {
            break;
        }
        std::string_view status = TestFailed;
        try {
            status = CompareResults(results, ReadResultFile(ResultFileName(program)));
        } catch (const EStreamError& e) {
            // One unreadable file must not hide what the others say.
            if (hooks.Log) {
                hooks.Log("error", e.what());
            }
            unreadable += unreadable.empty() ? "" : "\n";
            unreadable += e.what();
        }
        FRows[static_cast<std::size_t>(row)].Status = status;
        if (hooks.RowChanged) {
            hooks.RowChanged(row);
        }
    }
    if (!unreadable.empty()) {
        ShowErrorBox(unreadable);
    }
}

bool TTestSuite::CreateResultFile(int row, const TTestRunHooks& hooks)
{
    if (row < 0 || row >= Count()) {
        return false;
    }
    if (MessageDlg("Overwrite current result file?", TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel)
        != TModalResult::mrYes) {
        return false;
    }
    const std::string program = ProgramPath(row);
    const std::string results = hooks.RunForResults(program);
    // A stopped run's path is cut short: it is no result to keep.
    if (hooks.Stopped && hooks.Stopped()) {
        return false;
    }
    WriteResultFile(ResultFileName(program), results);
    return true;
}
