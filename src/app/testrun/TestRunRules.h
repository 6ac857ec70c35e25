#pragma once
// The test runner's rules, without a window: which files of the test folder are tests,
// where each keeps its result file, how a result file is read and written, and the
// status texts with the colours their cells are painted in.

#include "platform/core/graphics/ColorValue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view TestWaiting = "waiting...";
inline constexpr std::string_view TestPassed = "Passed";
inline constexpr std::string_view TestFailed = "Failed";

// The names (no folder) of the files directly in `folder` whose name ends in ".sbp" in
// any case, sorted by name without regard to case; sub-folders are not searched. An
// unreadable or missing folder holds no tests.
std::vector<std::string> FindTestPrograms(const std::string& folder);

// The program's path with its ".sbp" suffix (any case) replaced by ".rst"; only the
// suffix, so a folder "jobs.sbp.d" keeps its name.
std::string ResultFileName(const std::string& programPath);

// The file's bytes exactly (no line-break translation); EFOpenError "Cannot open file
// "<name>". <reason>" when it cannot be opened.
std::string ReadResultFile(const std::string& fileName);
// Replaces the file with exactly `text`, atomically: a failed write keeps the old file.
void WriteResultFile(const std::string& fileName, const std::string& text);

// "Passed" when the run's text equals the file's bytes, else "Failed".
std::string_view CompareResults(std::string_view runText, std::string_view fileText);

// The fill of a status cell by its text, upper-cased: WAITING..., PASSED, FAILED; none
// for any other text (the grid paints the cell itself).
std::optional<TColor> StatusCellColor(std::string_view status);
inline constexpr TColor WaitingColor = 0xF0CAA6;
inline constexpr TColor PassedColor = 0x00FF00;
inline constexpr TColor FailedColor = 0x0000FF;
