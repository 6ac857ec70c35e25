// TMove: construction and the dispatcher that executes one parsed line.

#include "engine/Move.h"

#include "engine/EngineData.h"
#include "engine/EngineErrors.h"
#include "engine/Keywords.h"
#include "engine/LineText.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>

TMove::TMove(TEngineData& data, TCalcul& calcul, IShellServices& shell, TGLBaseSceneObject* linesParent,
             TGLBaseSceneObject* clampsParent, TCollisionManager* collisionManager)
    : FData(data), FCalcul(calcul), FShell(shell), FLinesParent(linesParent), FClampsParent(clampsParent),
      FCollisionManager(collisionManager)
{
    FData.SetSysVarInt(21, 0);
    FData.SetSysVarFloat(-1, 0.05f);
    // The slots are the simulator's own: served by direct calls, not function objects.
    FData.SetOnGetPosition(nullptr);
    FData.SetOnGetAB(nullptr);
    FData.SetOnGetLastHeading(nullptr);
    FData.SetOnAddMoveNode(nullptr);
    FData.SetOnAddJogNode(nullptr);
    FData.SetMotionSlots(this);
    FData.SetSysVarChanges(this);
    FPartFiles.SetStepBackFloor([this] { return StepBackFloor(); });
}

TMove::~TMove()
{
    // The data module outlives the simulator: leave no handler pointing at it.
    FData.SetOnGetPosition(nullptr);
    FData.SetOnGetAB(nullptr);
    FData.SetOnGetLastHeading(nullptr);
    FData.SetOnAddMoveNode(nullptr);
    FData.SetOnAddJogNode(nullptr);
    FData.SetMotionSlots(nullptr);
    FData.SetSysVarChanges(nullptr);
    FreePolylines();
}

void TMove::StartRun()
{
    FGosubStack.clear();
    FRunStart = {FLineText, FCmdWord, FLineNumber};
    FLeavesWordLines = nullptr;
    FCountPathText = false;
    FPathTextBytes[0] = 0;
    FPathTextBytes[1] = 0;
}

void TMove::CountPathText()
{
    FPathTextBytes[0] = PathTextLength("M");
    FPathTextBytes[1] = PathTextLength("J");
    FCountPathText = true;
}

std::string_view TMove::DispatchWord(std::string_view lineText, const std::string& parsedWord)
{
    const std::string_view text = TrimView(lineText);
    if (text.empty()) {
        return parsedWord;
    }
    const char first = UpCaseChar(text[0]);
    if (first != 'I' && first != 'G' && first != 'E' && first != 'R') {
        return parsedWord;
    }
    static constexpr std::string_view prefixes[] = {"INPUT", "IF", "GOSUB", "GOTO", "END", "RETURN", "EXIT SHOPBOT"};
    std::string_view word = parsedWord;
    for (auto prefix : prefixes) {
        if (StartsWithWord(text, prefix)) {
            word = prefix;
        }
    }
    return word;
}

bool TMove::ExecuteLine(const TProgramLines* lines, std::string_view lineText, const TArrayofCmds& cmds,
                        int lineIndex, int* nextLine, bool steppingBack)
{
    FStop = false;

    FPrevLineNumber = FLineNumber;
    FLineNumber = steppingBack ? lineIndex : lineIndex + 1;
    FLineIndex = lineIndex;
    FPrevLineText.swap(FLineText);
    FLineText.assign(lineText);
    if (FLineText.find('\t') != std::string::npos) {
        FLineText.erase(std::remove(FLineText.begin(), FLineText.end(), '\t'), FLineText.end());
    }
    if (lines != nullptr) {
        FLines = lines;
    }
    if (nextLine != nullptr) {
        FNextLine = nextLine;
    }
    if (steppingBack) {
        UndoLine();
        return false;
    }

    // Only a run that may step back keeps the line's changes, under its place in the
    // history (a nested statement's under its IF line's).
    TCalculVariables& variables = FCalcul.GetVariables();
    const bool tagged = FKeepStepBack;
    const TScopeGuard lineEnds([&variables, tagged, tag = variables.UndoTag()] {
        if (tagged) {
            variables.SetUndoTag(tag);
        }
    });
    if (tagged) {
        variables.SetUndoTag(LineUndoTag());
    }
    if (!FNested) {
        BeginLineRecord();
    }

    const std::string_view word = DispatchWord(FLineText, cmds[0]);
    bool toMotionFamily = false;
    try {
        const bool isLabel = !word.empty() && word.back() == ':' && IsLabelLine(FLineText);
        if (!TrimView(word).empty() && !isLabel) {
            FHandled = false;
            // Copied, not swapped: both are short words, which swap moves byte by byte.
            FPrevCmdWord.assign(FCmdWord);
            FCmdWord.assign(word);
            DispatchFamilies(cmds, toMotionFamily);
            DispatchStatements(cmds);
            AskAboutUnhandled();
        }
    } catch (...) {
        FailLine(toMotionFamily, lineIndex);
    }
    // Motion lines record themselves when they add their path node.
    if (!toMotionFamily && !FNested) {
        RecordLine(lineIndex);
    }
    return FStop;
}

void TMove::BeginLineRecord()
{
    FStatementRan = false;
    // The history grows with every executed line, drawn or not.
    CheckPreviewBytes(0);
    FLineStart = {FPos.X, FPos.Y, FPos.Z, FPos.W, FA, FB, FTool.X, FTool.Y, FTool.Z, 0, 0, 0, 0, FNewPolyline, -1};
    FLineStart.CutCount = static_cast<std::uint32_t>(FCutLines.size());
    FLineStart.JogCount = static_cast<std::uint32_t>(FJogLines.size());
    FLineStart.CutNodes = FCutLines.empty() ? 0u : static_cast<std::uint32_t>(LastNodeCount(FCutLines));
    FLineStart.JogNodes = FJogLines.empty() ? 0u : static_cast<std::uint32_t>(LastNodeCount(FJogLines));
    FLineZeroIndex = -1;
}

void TMove::FailLine(bool toMotionFamily, int lineIndex)
{
    // A motion line that failed added no node, and so no record of its own.
    const bool record = !toMotionFamily && !FNested;
    try {
        throw;
    } catch (const EArgumentFailed& e) {
        if (record) {
            RecordLine(lineIndex);
        }
        std::string message = "Cannot evaluate the expression \"" + e.Expression() + "\" (line: "
            + IntToStr(FLineNumber) + ")";
        const std::string reason(TrimView(e.Reason()));
        if (!reason.empty()) {
            message += ": " + reason;
        }
        throw ERunError(message);
    } catch (const ENumberRange& e) {
        TakeBackLine();
        if (record) {
            RecordLine(lineIndex);
        }
        ThrowValueRange(e.Argument());
    } catch (const EValueRange&) {
        TakeBackLine();
        if (record) {
            RecordLine(lineIndex);
        }
        throw;
    } catch (...) {
        if (record) {
            RecordLine(lineIndex);
        }
        throw;
    }
}

void TMove::DispatchFamilies(const TArrayofCmds& cmds, bool& toMotionFamily)
{
    const char family = FCmdWord[0];
    // An assignment (FPX = 1) is never a command, whatever letter its name begins with.
    if (FCmdWord.find('=') != std::string::npos) {
        return;
    }
    switch (family) {
    case 'M':
        toMotionFamily = true;
        DoMCommands(cmds);
        break;
    case 'J':
        toMotionFamily = true;
        DoJCommands(cmds);
        break;
    case 'Z': DoZCommands(cmds); break;
    case 'V': DoVCommands(cmds); break;
    case 'S': DoSCommands(cmds); break;
    case 'C': DoCCommands(cmds); break;
    case 'F': DoFCommands(cmds); break;
    case 'H': DoHCommands(cmds); break;
    case 'R': DoRCommands(cmds); break;
    case 'T': DoTCommands(cmds); break;
    case 'U': DoUCommands(cmds); break;
    default: break;
    }
}

void TMove::DispatchStatements(const TArrayofCmds& cmds)
{
    const std::string& w = FCmdWord;
    // Most words are commands, not statements: rule them out by their first letter.
    switch (w[0]) {
    case 'P': case 'I': case 'G': case 'E': case 'R': case '[': break;
    default: return;
    }
    using THandler = void (TMove::*)(const TArrayofCmds&);
    struct TStatement {
        std::string_view Word;
        THandler Run;
    };
    static constexpr TStatement Statements[] = {
        {"PAUSE", &TMove::DoPause}, {"INPUT", &TMove::DoInput},   {"IF", &TMove::DoIf},
        {"GOSUB", &TMove::DoGosub}, {"GOTO", &TMove::DoGoto},     {"END", &TMove::DoEnd},
        {"RETURN", &TMove::DoReturn}, {"PRINT", &TMove::DoPrint}, {"EXIT SHOPBOT", &TMove::DoExit},
    };
    for (const TStatement& statement : Statements) {
        if (statement.Word == w) {
            (this->*statement.Run)(cmds);
            if (statement.Run == &TMove::DoIf) {
                // The statement after THEN was dispatched on its own; nothing more here.
                return;
            }
            break;
        }
    }

    if (w.find('[') == std::string::npos) {
        return;
    }
    std::string word;
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (w[i] == '\'') {
            continue;
        }
        if (w.compare(i, 3, "REM") == 0) {
            i += 2;
            continue;
        }
        word += w[i];
    }
    if (word == FData.ClampKeyword()) {
        // The clamp list names the field at fault; the line is known here.
        try {
            DoClamp(cmds);
        } catch (const EConvertError& e) {
            throw EConvertError(e.Message() + " (line: " + IntToStr(FLineNumber) + ")");
        }
    }
}

void TMove::AskAboutUnhandled()
{
    if (FHandled || !IsCommandKeyword(FCmdWord)) {
        return;
    }
    if (FShell.SuppressAllMessages() || FShell.QuickViewRunning()) {
        return;
    }
    const std::string text = "Command: \"" + UpperCase(FCmdWord) + "\" (line: " + IntToStr(FLineNumber)
        + ") has not been implemented yet.  Continue?";
    if (MessageDlg(text, TMsgDlgType::mtWarning, mbYes | mbNo) != TModalResult::mrYes) {
        FStop = true;
    }
}

void TMove::LogNotApplicable(std::string_view word)
{
    std::string text = "\"";
    text.append(word.substr(0, 2));
    text += "\" command in not applicable for Kerfpad.";
    FShell.Log("info", text);
}
