#include "engine/ProgramRunner.h"

#include "engine/EngineData.h"
#include "engine/EngineErrors.h"
#include "engine/RunResults.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/StringUtils.h"

#include <fstream>
#include <sstream>

TProgramRunner::TProgramRunner(TMove& move, TEngineData& data, TCalcul& calcul)
    : FMove(move), FData(data), FCalcul(calcul)
{
    FHooks.BeforeLine = [this](int) {
        if (MaxExecutedLines > 0 && FExecuted >= MaxExecutedLines) {
            FCapped = true;
        }
        return !FCapped;
    };
    FHooks.AfterLine = [this](int) {
        ++FExecuted;
        return true;
    };
    FData.SetOnRunFile([this](const std::string& name) { RunFile(name); });
    FData.SetOnRunFileResults(
        [this](const std::string& name, std::string& results) { results = RunFileForResults(name); });
}

TProgramRunner::~TProgramRunner()
{
    FData.SetOnRunFile(nullptr);
    FData.SetOnRunFileResults(nullptr);
}

void TProgramRunner::SplitLines(std::string_view text, TProgramLines& lines)
{
    lines.clear();
    // Many editors begin a UTF-8 file with a byte-order mark; left on line 1 it would
    // hide that line's command word, and the line would do nothing without an error.
    // Only the text's first mark is one: a mark further on is a character of the text.
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(ByteOrderMark)) {
        text.remove_prefix(ByteOrderMark.size());
    }
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const std::size_t start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n') {
            ++i;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (i < n && text[i] == '\r') {
            ++i;
        }
        if (i < n && text[i] == '\n') {
            ++i;
        }
    }
}

bool TProgramRunner::LoadLines(const std::string& fileName, TProgramLines& lines)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    SplitLines(text.view(), lines);
    return true;
}

void TProgramRunner::Run(const TProgramLines& lines)
{
    RunLines(FMove, lines, FHooks);
}

void TProgramRunner::RunFile(const std::string& fileName)
{
    TProgramLines lines;
    if (!LoadLines(fileName, lines)) {
        throw ERunError("Cannot find file: " + fileName);
    }
    Run(lines);
}

void TProgramRunner::ResetForResults(const std::string& fileName)
{
    ::ResetForResults(FMove, FCalcul, fileName);
    FExecuted = 0;
    FCapped = false;
}

std::string TProgramRunner::RunFileForResults(const std::string& fileName)
{
    ResetForResults(fileName);
    RunFile(fileName);
    return ResultsText(FMove);
}

std::string TProgramRunner::RunLinesForResults(const TProgramLines& lines, const std::string& fileName)
{
    ResetForResults(fileName);
    Run(lines);
    return ResultsText(FMove);
}

bool TProgramRunner::StepBack(const TProgramLines& lines)
{
    const int index = FMove.PartFiles().GetPrevLineNumForStepBack();
    if (index < 0 || index >= static_cast<int>(lines.size())) {
        return false;
    }
    const std::string& line = lines[static_cast<std::size_t>(index)];
    TArrayofCmds cmds;
    FMove.PreprocessLine(line, true, cmds);
    FMove.ExecuteLine(&lines, line, cmds, index, nullptr, true);
    return true;
}
