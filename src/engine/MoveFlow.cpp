// TMove: the statements of the language's flow: IF ... THEN, GOTO, GOSUB, RETURN,
// END, EXIT SHOPBOT, PAUSE, PRINT and INPUT.

#include "engine/EngineErrors.h"
#include "engine/LineText.h"
#include "engine/Move.h"
#include "engine/OperandText.h"
#include "platform/core/ScopeGuard.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <climits>
#include <cmath>

void SplitCommaList(std::string_view text, std::vector<std::string>& items, int n)
{
    items.clear();
    std::size_t from = 0;
    for (;;) {
        if (static_cast<int>(items.size()) > n) {
            return;
        }
        const std::size_t comma = text.find(',', from);
        if (comma == std::string_view::npos) {
            items.emplace_back(TrimView(text.substr(from)));
            return;
        }
        items.emplace_back(TrimView(text.substr(from, comma - from)));
        from = comma + 1;
    }
}

namespace {
// The text after the statement word at the start of `line`.
std::string_view AfterWord(std::string_view line, std::string_view word)
{
    const std::string_view text = TrimView(line);
    return StartsWithWord(text, word) ? text.substr(word.size()) : text;
}

std::string LineTag(int lineNumber)
{
    return " (line: " + IntToStr(lineNumber) + ")";
}

std::string WithoutChar(std::string_view text, char drop)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != drop) {
            out += c;
        }
    }
    return out;
}
} // namespace

bool TMove::IfConditionHolds(std::string_view text, std::string_view& statement)
{
    const std::string_view body = AfterWord(text, "IF");
    const std::size_t then = FindThenWord(body);
    if (then == std::string_view::npos) {
        FShell.Log("error", "IF without THEN" + LineTag(FLineNumber) + ": nothing was executed");
        return false;
    }
    std::string condition = ReplaceSysVars(TrimView(body.substr(0, then)));
    statement = TrimView(body.substr(then + 4));
    for (std::size_t p = condition.find("=="); p != std::string::npos; p = condition.find("==", p + 1)) {
        condition.erase(p, 1);
    }
    const std::string formula = UpperCase(WithoutChar(NormalizeAssignment(condition), '&'));
    std::string result;
    if (!Evaluate(formula, result)) {
        // Programs test machine state the preview does not have (%(25), input switches):
        // such a condition counts as false, and the log says why.
        FShell.Log("error", "Cannot evaluate the condition \"" + condition + "\"" + LineTag(FLineNumber) + ": "
                                + std::string(TrimView(FCalcul.ErrorText())) + "; the statement after THEN was skipped");
        return false;
    }
    if (TrimView(result).empty()) {
        return false;
    }
    int truth = 0;
    if (!TryStrToInt(result, truth)) {
        throw ERunError("The condition \"" + condition + "\"" + LineTag(FLineNumber) + " gives " + result
                        + ", not a whole number");
    }
    return truth == 1;
}

void TMove::EnterNestedIf(std::string_view previous, std::string_view current)
{
    // Both are parts of the line text: the previous one is copied before the line text
    // is cut down to the current one.
    FPrevLineText.assign(previous);
    const auto start = static_cast<std::size_t>(current.data() - FLineText.data());
    FLineText.resize(start + current.size());
    FLineText.erase(0, start);
    FPrevLineNumber = FLineNumber;
    FPrevCmdWord = FCmdWord; // "IF"
}

void TMove::DoIf(const TArrayofCmds&)
{
    FHandled = true;
    // "IF a THEN IF b THEN statement" is walked in a loop, not by one nested line per
    // THEN: a long chain would exhaust the stack. Each nested IF is a part of the line
    // text (tabs are already gone), and the texts and words the nested lines would
    // leave are written once, where the walk ends.
    const int ifIndex = FLineIndex;
    std::string_view previous;
    std::string_view current = FLineText;
    std::string_view statement;
    bool nested = false;
    bool holds = false;
    TArrayofCmds inner;
    try {
        while ((holds = IfConditionHolds(current, statement))) {
            if (!StartsWithWord(statement, "IF")) {
                PreprocessLine(statement, true, inner);
                if (DispatchWord(statement, inner[0]) != "IF") {
                    break;
                }
            }
            previous = current;
            current = statement;
            nested = true;
        }
    } catch (...) {
        if (nested) {
            EnterNestedIf(previous, current);
        }
        throw;
    }
    if (!holds) {
        if (nested) {
            EnterNestedIf(previous, current);
        }
        FStop = false;
        return;
    }
    // The statement after the last THEN runs as a nested line of its own.
    const std::string text(statement);
    if (nested) {
        EnterNestedIf(previous, current);
    }
    bool stop = false;
    {
        const TScopeGuard endNested([this, wasNested = FNested] { FNested = wasNested; });
        FNested = true;
        stop = ExecuteLine(nullptr, text, inner, ifIndex, nullptr, false);
    }
    FStatementRan = true;
    FHandled = true;
    FStop = stop;
}

int TMove::FindJumpTarget(std::string_view statementWord)
{
    const std::string_view label = TrimView(CutComment(AfterWord(FLineText, statementWord)));
    const int target = (FLines == nullptr || label.empty()) ? -1 : FLabels.Find(*FLines, label);
    if (target < 0) {
        throw ERunError("Cannot find the label \"" + std::string(label) + "\"" + LineTag(FLineNumber));
    }
    return target;
}

void TMove::JumpTo(int index)
{
    if (FNextLine != nullptr) {
        *FNextLine = index;
    }
}

void TMove::DoGosub(const TArrayofCmds&)
{
    FHandled = true;
    const int target = FindJumpTarget("GOSUB");
    if (FGosubStack.size() >= MaxGosubDepth) {
        throw ERunError("GOSUB calls nest too deep" + LineTag(FLineNumber));
    }
    FGosubStack.push_back(FLineIndex);
    KeepGosubUndo(-1);
    JumpTo(target);
}

void TMove::DoGoto(const TArrayofCmds&)
{
    FHandled = true;
    JumpTo(FindJumpTarget("GOTO"));
}

void TMove::DoReturn(const TArrayofCmds&)
{
    FHandled = true;
    if (FGosubStack.empty()) {
        return;
    }
    const int back = FGosubStack.back();
    FGosubStack.pop_back();
    KeepGosubUndo(back);
    JumpTo(back);
}

void TMove::DoEnd(const TArrayofCmds&)
{
    FHandled = true;
    FStop = true;
}

void TMove::DoExit(const TArrayofCmds&)
{
    // Left unhandled on purpose: the user is asked whether to go on.
}

void TMove::DoPause(const TArrayofCmds& cmds)
{
    FHandled = true;
    if (FShell.QuickViewRunning()) {
        return;
    }
    if (cmds.Failed(1)) {
        throw EArgumentFailed(cmds[1], cmds.ErrorOf(1));
    }
    // Only a whole number of seconds waits; any other argument shows the box.
    int seconds = 0;
    if (TryStrToInt(cmds[1], seconds)) {
        const double ms = std::max(0.0, static_cast<double>(seconds)) * 1000.0;
        FShell.Wait(ms >= INT_MAX ? INT_MAX : static_cast<int>(ms));
        return;
    }
    std::string text = "Continue?";
    const std::string_view prev = TrimView(FPrevLineText);
    if (!prev.empty() && (prev.front() == '\'' || FPrevLineText.compare(0, 4, "REM ") == 0)) {
        text = FPrevLineText;
        const std::size_t quote = text.find('\'');
        if (quote != std::string::npos) {
            text.erase(quote, 1);
        }
        const std::size_t rem = text.find("REM ");
        if (rem != std::string::npos) {
            text.erase(rem, 4);
        }
    }
    MessageDlg(text, TMsgDlgType::mtConfirmation, mbOK);
}

void TMove::DoPrint(const TArrayofCmds& cmds)
{
    FHandled = true;
    FShell.AddMessage(cmds[1]);
}

void TMove::DoInput(const TArrayofCmds&)
{
    FHandled = true;
    constexpr int MaxItems = 20; // 21 names or values at most
    const std::string_view line = FLineText;
    const std::size_t firstQuote = line.find('"');
    std::string_view prompt;
    std::string_view list;
    if (firstQuote == std::string_view::npos) {
        // No quoted prompt: the variables follow the statement word.
        list = AfterWord(line, "INPUT");
    } else {
        const std::size_t secondQuote = line.find('"', firstQuote + 1);
        const std::size_t lastQuote = line.rfind('"');
        prompt = line.substr(firstQuote + 1,
                             (secondQuote == std::string_view::npos ? line.size() : secondQuote) - firstQuote - 1);
        list = line.substr(lastQuote + 1);
    }
    std::vector<std::string> names;
    SplitCommaList(LowerCase(TrimView(CutComment(list))), names, MaxItems);

    const std::string answer = UpperCase(InputBox(FPartFiles.CurrentFileName(), std::string(prompt), ""));
    std::vector<std::string> values;
    SplitCommaList(answer, values, MaxItems);

    TCalculVariables& vars = FCalcul.GetVariables();
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (names[k].empty() || names[k][0] != '&') {
            continue;
        }
        const std::string name = WithoutChar(names[k], '&');
        std::string assignment = name + "=" + (k < values.size() ? values[k] : std::string());
        assignment = WithoutChar(assignment, ' ');
        vars.Reassign(vars.IndexOfName(name), NormalizeAssignment(assignment));
    }
}
