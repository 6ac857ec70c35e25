#include "app/testrun/TestRunRules.h"

#include "platform/core/files/AtomicFileStream.h"
#include "platform/core/files/Stream.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <filesystem>

namespace {
constexpr std::string_view ProgramSuffix = ".sbp";

bool HasProgramSuffix(std::string_view name)
{
    return name.size() >= ProgramSuffix.size() && SameText(name.substr(name.size() - ProgramSuffix.size()), ProgramSuffix);
}
} // namespace

std::vector<std::string> FindTestPrograms(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code kindError;
        if (HasProgramSuffix(name) && it->is_regular_file(kindError)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int order = CompareText(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

std::string ResultFileName(const std::string& programPath)
{
    if (!HasProgramSuffix(programPath)) {
        return programPath + ".rst";
    }
    return programPath.substr(0, programPath.size() - ProgramSuffix.size()) + ".rst";
}

std::string ReadResultFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    std::string text(static_cast<std::size_t>(file.Size()), '\0');
    file.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    return text;
}

void WriteResultFile(const std::string& fileName, const std::string& text)
{
    TAtomicFileStream file(fileName);
    file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    file.Commit();
}

std::string_view CompareResults(std::string_view runText, std::string_view fileText)
{
    return runText == fileText ? TestPassed : TestFailed;
}

std::optional<TColor> StatusCellColor(std::string_view status)
{
    const std::string text = UpperCase(status);
    if (text == "WAITING...") {
        return WaitingColor;
    }
    if (text == "PASSED") {
        return PassedColor;
    }
    if (text == "FAILED") {
        return FailedColor;
    }
    return std::nullopt;
}
