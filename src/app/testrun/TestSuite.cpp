#include "app/testrun/TestSuite.h"

#include "app/testrun/TestRunRules.h"

#include "platform/core/services/DialogService.h"
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
        const std::optional<std::string> results = hooks.RunForResults(program);
        // A run cut short drew only part of its path: it fails, as does one that never ran.
        const bool stopped = hooks.Stopped && hooks.Stopped();
        std::string_view status = TestFailed;
        if (results && !stopped) {
            try {
                status = CompareResults(*results, ReadResultFile(ResultFileName(program)));
            } catch (const EStreamError& e) {
                // One unreadable file must not hide what the others say.
                if (hooks.Log) {
                    hooks.Log("error", e.what());
                }
                unreadable += unreadable.empty() ? "" : "\n";
                unreadable += e.what();
            }
        }
        FRows[static_cast<std::size_t>(row)].Status = status;
        if (hooks.RowChanged) {
            hooks.RowChanged(row);
        }
        if (stopped) {
            break;
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
    const std::optional<std::string> results = hooks.RunForResults(program);
    // A run that never started, or that Stop cut short, is no result to keep.
    if (!results || (hooks.Stopped && hooks.Stopped())) {
        return false;
    }
    WriteResultFile(ResultFileName(program), *results);
    return true;
}
