// TMove: the file family. FP runs a sub-file to its end through the shell's run-file
// callback, with its own level of offset and scale on the part-file stack.

#include "engine/ArgumentNumbers.h"
#include "engine/EngineData.h"
#include "engine/EngineErrors.h"
#include "engine/LineText.h"
#include "engine/Move.h"
#include "platform/core/ScopeGuard.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <string_view>

namespace {
// "&name" and nothing else. Only such an argument is evaluated: a literal file name
// holds "-", "/" and "." and is never an expression.
bool IsVariableReference(std::string_view text)
{
    return text.size() >= 2 && text[0] == '&' && std::all_of(text.begin() + 1, text.end(), IsNameChar);
}
} // namespace

void TMove::DoFCommands(const TArrayofCmds& cmds)
{
    const char letter = FCmdWord.size() >= 2 ? FCmdWord[1] : '\0';
    if (letter == 'P') {
        CallFile(cmds);
    } else if (letter != '\0' && std::string_view("CEGS").find(letter) != std::string_view::npos) {
        LogNotApplicable(FCmdWord);
    }
    FHandled = true;
}

std::string TMove::SubFileArgument(const TArrayofCmds& cmds)
{
    const std::string& text = cmds[1];
    if (!IsVariableReference(text)) {
        return text;
    }
    // The variable's text, unquoted; an unknown one stops the run with the
    // evaluator's message, as a failed argument expression does.
    std::string value;
    if (!Evaluate(UpperCase(std::string_view(text).substr(1)), value)) {
        throw EArgumentFailed(text, FCalcul.ErrorText());
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

void TMove::CallFile(const TArrayofCmds& cmds)
{
    if (FPartFiles.Depth() > MaxFileDepth) {
        throw ERunError("Sub-files nested deeper than " + IntToStr(MaxFileDepth) + " levels (line: "
                        + IntToStr(FLineNumber) + ")");
    }
    for (int i = 1; i <= 9; ++i) {
        TEngineData::ParamToStr(cmds, i, ""); // arguments that failed to evaluate stop here
    }
    std::string args[10];
    float singles[10] = {};
    for (int i = 2; i <= 9; ++i) {
        // The scales and argument 7 are singles, the others whole numbers; a number
        // beyond its range stops the line before a level is pushed.
        const std::string& text = cmds[i];
        double number = 0.0;
        const bool isNumber = ReadArgument(i, [&] {
            return i <= 4 || i == 7 ? ReadSingleArgument(text, singles[i]) : ReadDoubleArgument(text, number);
        });
        args[i] = isNumber ? text : std::string(i <= 5 ? "1" : "0");
        if (!isNumber) {
            singles[i] = i <= 5 ? 1.0f : 0.0f;
        }
    }
    TFP level;
    level.FileName = FPartFiles.ResolveFileName(SubFileArgument(cmds));
    level.Scale = {singles[2], singles[3], singles[4], 0.0f};
    level.Arg5 = StrToInt(args[5]);
    const int offsetMode = StrToInt(args[6]);
    if (offsetMode == 1 || offsetMode == 2) {
        for (int k = 0; k < (offsetMode == 1 ? 3 : 2); ++k) {
            level.Offset[k] = FZero[k] + FPos[k];
        }
    }
    level.Arg7 = singles[7];
    level.Arg8 = StrToInt(args[8]);
    level.Arg9 = StrToInt(args[9]);

    FData.SetSysVarStr(60, level.FileName);
    for (int k = 0; k < 3; ++k) {
        FData.SetSysVarFloat(61 + k, level.Offset[k]);
        FData.SetSysVarStr(66 + k, args[2 + k]);
    }

    // The sub-file's lines run through this same object: keep what the calling line
    // still needs. The calling line is one line of its file: its record holds the
    // state from before the call (zero offsets included), so one step back undoes the
    // whole call, and the sub-file's lines leave the history and their undo records
    // with the level, however the call ends.
    SaveZeroOffsets();
    const TProgramLines* lines = FLines;
    int* nextLine = FNextLine;
    const std::string cmdWord = FCmdWord;
    const std::string lineText = FLineText;
    const int lineNumber = FLineNumber;
    const int lineIndex = FLineIndex;
    const TLineUndo lineStart = FLineStart;
    const std::int32_t lineZeroIndex = FLineZeroIndex;
    FPartFiles.PushLevel(level);
    FLevelStarts.push_back({FLineText, FCmdWord, FLineNumber});
    // The file's first line is kept under this line's place: a step back of it must
    // leave what this line changed before the call.
    FLevelUndoMarks.push_back(FCalcul.GetVariables().MarkUndo());
    FLeavesWordLines = nullptr;
    const TScopeGuard popLevel([this, zeroRecords = static_cast<std::size_t>(lineZeroIndex) + 1, nested = FNested] {
        FLevelStarts.pop_back();
        FLevelUndoMarks.pop_back();
        FPartFiles.PopLevel();
        TrimUndo(static_cast<std::size_t>(FPartFiles.HistoryCount()));
        // What the file's lines changed in the variables and the GOSUB stack is the FP
        // line's now.
        FCalcul.GetVariables().RetagUndoFrom(FPartFiles.HistoryCount());
        if (FZeroUndo.size() > zeroRecords) {
            FZeroUndo.resize(zeroRecords);
        }
        FNested = nested;
    });
    // A call from IF ... THEN runs its file's lines as lines of their own.
    FNested = false;
    FData.RunFile(level.FileName);
    // After an error the line bookkeeping stays the failing line's: the run stops
    // there, and only that line is taken back.
    FLines = lines;
    FNextLine = nextLine;
    FPrevCmdWord = FCmdWord;
    FCmdWord = cmdWord;
    FLineText = lineText;
    FLineNumber = lineNumber;
    FLineIndex = lineIndex;
    FLineStart = lineStart;
    FLineZeroIndex = lineZeroIndex;
    // END in the sub-file ended only the sub-file.
    FStop = false;
}
