#include "engine/ProgramRunner.h"

#include "engine/EngineData.h"
#include "engine/EngineErrors.h"
#include "engine/RunResults.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/files/RegularFile.h"
#include "platform/core/text/StringUtils.h"

TProgramRunner::TProgramRunner(TMove& move, TEngineData& data, TCalcul& calcul)
    : FMove(move), FData(data), FCalcul(calcul)
{
    FHooks.BeforeLine = [this](int) {
        if (MaxExecutedLines > 0 && FExecuted >= MaxExecutedLines) {
            FCapped = true;
        }
        return !FCapped;
    };
    FHooks.AfterLine = [this](int index) {
        ++FExecuted;
        if (OnLineExecuted) {
            OnLineExecuted(index);
        }
        return true;
    };
    FData.SetOnRunFile([this](const std::string& name) { RunFile(name); });
}

TProgramRunner::~TProgramRunner()
{
    FData.SetOnRunFile(nullptr);
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
    // Counted first, so the list is not regrown as it fills: every LF ends a line, and
    // so does a CR that no LF follows.
    std::size_t breaks = 0;
    for (std::size_t k = 0; k < n; ++k) {
        breaks += text[k] == '\n' || (text[k] == '\r' && (k + 1 == n || text[k + 1] != '\n')) ? 1 : 0;
    }
    lines.reserve(breaks + 1);
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

bool TProgramRunner::LoadLines(const std::string& fileName, TProgramLines& lines, std::string* error)
{
    // Only a regular file is read (a named pipe would wait for a writer, a device might
    // never end), whole into one buffer, then split.
    TOpenedFile opened = OpenRegularFile(fileName, TFileAccess::Read);
    if (!opened.IsOpen()) {
        if (error != nullptr) {
            *error = opened.Missing() ? "Cannot find file: " + fileName : opened.Message(fileName);
        }
        return false;
    }
    std::string text;
    if (const int failure = opened.File.ReadToEnd(text); failure != 0) {
        if (error != nullptr) {
            *error = ReadErrorMessage(fileName, failure);
        }
        return false;
    }
    SplitLines(text, lines);
    return true;
}

void TProgramRunner::Run(const TProgramLines& lines)
{
    RunLines(FMove, lines, FHooks);
}

void TProgramRunner::RunFile(const std::string& fileName)
{
    TProgramLines lines;
    std::string error;
    if (!LoadLines(fileName, lines, &error)) {
        throw ERunError(error);
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
    // Undone from its record: nothing of the line is evaluated again.
    FMove.ExecuteLine(&lines, lines[static_cast<std::size_t>(index)], TArrayofCmds(), index, nullptr, true);
    return true;
}
