// TMove: the undo side of the executed-line history. Step back puts back the state
// from before the stepped-back line instead of running it again, so no zero command
// is applied twice and the tool returns to where it was.
//
// A run of a million moves must not keep a full state record per line, so each line
// gets a 32-bit code. Most lines are one of two cases whose state before can be read
// off the polylines themselves: a line that changed nothing, and a move or jog at the
// main level that appended one node, or started one two-node polyline, from where the
// tool was, and whose position before is the tool's place minus the zero offsets
// (checked bit for bit when recorded). Every other line stores its full record.
//
// What a line changes beside the tool and the paths (the variables, the GOSUB stack,
// the system variables it writes, the clamp boxes it makes, the VB values) is kept in
// the variables' record under the line's place in the history, and only when it
// changed: a million moves keep nothing there, a million settings of the same speed
// nothing either.

#include "engine/EngineData.h"
#include "engine/LineText.h"
#include "engine/Move.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"
#include "scene/objects/lines/Lines.h"

#include <cstring>
#include <limits>

namespace {
constexpr std::uint32_t FullRecord = 0x80000000u; // low bits: index of the full record
constexpr std::uint32_t StatementRanBit = 0x40000000u; // beside any code: an IF's statement ran
constexpr std::uint32_t FullIndexBits = ~(FullRecord | StatementRanBit);
constexpr std::uint32_t Unchanged = 0x08u;
constexpr std::uint32_t JogBit = 0x01u;
constexpr std::uint32_t NewLineBit = 0x02u;
constexpr std::uint32_t FlagBeforeBit = 0x04u;

// What the engine keeps in the variables' record beside the variables, told apart by
// its first byte; a change of the GOSUB stack keeps no bytes.
constexpr char NumberMark = 'N'; // system variables' numbers: per variable its index, flags, value before
constexpr char TextMark = 'T';   // a system variable's text (the number is its index): flags, text before
constexpr char ClampMark = 'C';  // a clamp box: its index in the list
constexpr char VBMark = 'B';     // the VB values before
// The flags byte: the field a setter wrote, and whether the record was set before.
constexpr char SetFlag = 0x10;
// One number kept: index, flags, four bytes of value; the changes holding numbers carry
// this value, unlike any other.
constexpr std::size_t NumberBytes = 6;
constexpr std::int32_t NumbersValue = std::numeric_limits<std::int32_t>::min();

bool SameVector(const TAffineVector& v, float x, float y, float z)
{
    return v.X == x && v.Y == y && v.Z == z;
}
} // namespace

std::uint32_t TMove::UndoCode(bool motion)
{
    const TLineUndo& s = FLineStart;
    const bool sameAB = FA == s.A && FB == s.B && FLineZeroIndex < 0;
    const auto cuts = static_cast<std::uint32_t>(FCutLines.size());
    const auto jogs = static_cast<std::uint32_t>(FJogLines.size());
    const auto cutNodes = static_cast<std::uint32_t>(LastNodeCount(FCutLines));
    const auto jogNodes = static_cast<std::uint32_t>(LastNodeCount(FJogLines));
    if (!motion) {
        if (sameAB && FPos.X == s.X && FPos.Y == s.Y && FPos.Z == s.Z && FPos.W == s.W && FTool.X == s.ToolX
            && FTool.Y == s.ToolY && FTool.Z == s.ToolZ && cuts == s.CutCount && jogs == s.JogCount
            && cutNodes == s.CutNodes && jogNodes == s.JogNodes && FNewPolyline == s.NewPolyline) {
            return Unchanged;
        }
        return FullRecord;
    }
    if (!sameAB || s.W != 0.0f || FPartFiles.Depth() != 1) {
        return FullRecord;
    }
    const TFP& level = FPartFiles.Current();
    if (level.Offset.X != 0 || level.Offset.Y != 0 || level.Offset.Z != 0 || level.Scale.X != 1
        || level.Scale.Y != 1 || level.Scale.Z != 1) {
        return FullRecord;
    }
    // Which kind grew, and how.
    bool jog = false;
    if (cuts == s.CutCount && cutNodes == s.CutNodes) {
        jog = true;
        if (jogs == s.JogCount ? jogNodes != s.JogNodes + 1 : jogs != s.JogCount + 1 || jogNodes != 2) {
            return FullRecord;
        }
    } else if (jogs != s.JogCount || jogNodes != s.JogNodes
               || (cuts == s.CutCount ? cutNodes != s.CutNodes + 1 : cuts != s.CutCount + 1 || cutNodes != 2)) {
        return FullRecord;
    }
    const bool newLine = jog ? jogs != s.JogCount : cuts != s.CutCount;
    const TGLLines* line = (jog ? FJogLines : FCutLines).back();
    const TAffineVector before = line->NodePoint(newLine ? 0 : line->NodeCount() - 2);
    if (!SameVector(before, s.ToolX, s.ToolY, s.ToolZ)) {
        return FullRecord;
    }
    // The position before must come back exactly from the tool's place.
    if (before.X - FZero.X != s.X || before.Y - FZero.Y != s.Y || before.Z - FZero.Z != s.Z) {
        return FullRecord;
    }
    return (jog ? JogBit : 0u) | (newLine ? NewLineBit : 0u) | (s.NewPolyline ? FlagBeforeBit : 0u);
}

std::int64_t TMove::LineUndoTag()
{
    if (!FKeepStepBack) {
        return TCalculVariables::NoUndo;
    }
    if (FPartFiles.Resets() != FHistoryResets) {
        FHistoryResets = FPartFiles.Resets();
        FCalcul.GetVariables().ForgetUndo();
    }
    return FPartFiles.HistoryCount();
}

void TMove::KeepStepBack(bool keep)
{
    FKeepStepBack = keep;
    if (!keep) {
        FCalcul.GetVariables().ForgetUndo();
    }
}

void TMove::KeepGosubUndo(std::int32_t popped)
{
    // One record for both, so that its bound and its reach hold for the stack too.
    FCalcul.GetVariables().KeepUndoValue(popped);
}

void TMove::SysVarChanging(int n, TSysVarField field, const TSystemVar& before)
{
    TCalculVariables& variables = FCalcul.GetVariables();
    if (variables.UndoTag() == TCalculVariables::NoUndo) {
        return;
    }
    // The field and the set flag are all a setter changes: putting them back puts back
    // the whole record.
    const char flags = static_cast<char>(static_cast<int>(field) | (before.IsSet ? SetFlag : 0));
    if (field == TSysVarField::Str) {
        variables.KeepUndoValue(n, std::string{TextMark, flags} + before.StrValue);
        return;
    }
    // Numbers: three to a change of the record, as a line sets several at once.
    char bytes[1 + NumberBytes] = {NumberMark, static_cast<char>(n), flags};
    std::memcpy(bytes + 3, field == TSysVarField::Int ? static_cast<const void*>(&before.IntValue)
                                                      : static_cast<const void*>(&before.FloatValue),
                NumberBytes - 2);
    if (!variables.JoinUndoValue(NumbersValue, std::string_view(bytes + 1, NumberBytes))) {
        variables.KeepUndoValue(NumbersValue, std::string_view(bytes, sizeof bytes));
    }
}

void TMove::RestoreSysVar(int n, char flags, std::string_view before)
{
    TSystemVar entry = FData.SysVars.Entry(n);
    entry.IsSet = (flags & SetFlag) != 0;
    switch (static_cast<TSysVarField>(flags & ~SetFlag)) {
    case TSysVarField::Int: std::memcpy(&entry.IntValue, before.data(), sizeof entry.IntValue); break;
    case TSysVarField::Float: std::memcpy(&entry.FloatValue, before.data(), sizeof entry.FloatValue); break;
    case TSysVarField::Str: entry.StrValue.assign(before); break;
    }
    FData.SysVars.Put(n, std::move(entry));
}

void TMove::KeepClampUndo(int index)
{
    const char mark = ClampMark;
    FCalcul.GetVariables().KeepUndoValue(index, std::string_view(&mark, 1));
}

void TMove::KeepVBUndo()
{
    char bytes[1 + sizeof(TVBValues)] = {VBMark};
    std::memcpy(bytes + 1, &FVB, sizeof FVB);
    FCalcul.GetVariables().KeepUndoValue(0, std::string_view(bytes, sizeof bytes));
}

void TMove::UndoKeptValue(std::int32_t value, std::string_view bytes)
{
    if (bytes.empty()) {
        // The GOSUB stack: the index RETURN popped comes back, a GOSUB's push goes.
        if (value >= 0) {
            FGosubStack.push_back(value);
        } else if (!FGosubStack.empty()) {
            FGosubStack.pop_back();
        }
        return;
    }
    switch (bytes[0]) {
    case NumberMark:
        // The last one written goes back first.
        for (std::size_t end = bytes.size(); end > NumberBytes; end -= NumberBytes) {
            const std::size_t at = end - NumberBytes;
            RestoreSysVar(static_cast<signed char>(bytes[at]), bytes[at + 1], bytes.substr(at + 2, 4));
        }
        break;
    case TextMark: RestoreSysVar(value, bytes[1], bytes.substr(2)); break;
    case ClampMark: FClamps.Truncate(value); break;
    case VBMark: std::memcpy(&FVB, bytes.data() + 1, sizeof FVB); break;
    default: break;
    }
}

void TMove::UndoLineEffects()
{
    const std::int64_t tag = LineUndoTag();
    if (tag == TCalculVariables::NoUndo) {
        return; // nothing was kept
    }
    // Inside a sub-file, what its FP line kept before the call stays.
    FCalcul.GetVariables().UndoFrom(
        tag, [this](std::int32_t value, std::string_view bytes) { UndoKeptValue(value, bytes); },
        FLevelUndoMarks.empty() ? 0 : FLevelUndoMarks.back());
}

void TMove::UndoLine()
{
    // Nothing of the line is evaluated or run again (its condition, its assignments,
    // freevar( in them): what it changed is in its record, and a line whose record
    // was let go to keep within the bound is never taken off the history.
    UndoLineEffects();
    StepBack();
    RestoreLineBookkeeping();
}

void TMove::TrimUndo(std::size_t count)
{
    while (FUndo.size() > count) {
        const std::uint32_t code = FUndo.back();
        FUndo.pop_back();
        if (code & FullRecord) {
            FFullUndo.resize(code & FullIndexBits);
        }
    }
}

void TMove::RecordLine(int lineIndex)
{
    const auto count = static_cast<std::size_t>(FPartFiles.HistoryCount());
    // The shell may have reset or popped the history on its own: keep the two in step.
    TrimUndo(count);
    FUndo.resize(count, Unchanged);
    std::uint32_t code = UndoCode(FCmdWord[0] == 'M' || FCmdWord[0] == 'J');
    if (code == FullRecord) {
        code |= static_cast<std::uint32_t>(FFullUndo.size());
        FFullUndo.push_back(FLineStart);
        FFullUndo.back().ZeroIndex = FLineZeroIndex;
    }
    FUndo.push_back(FStatementRan ? code | StatementRanBit : code);
    FPartFiles.AddToLinesAndNodesArray(lineIndex);
}

std::size_t TMove::StepBackFloor() const
{
    // Step back reaches as far back as what was kept for the variables; without it,
    // nowhere.
    return FKeepStepBack ? static_cast<std::size_t>(FCalcul.GetVariables().UndoReach()) : FPartFiles.History().size();
}

void TMove::StepBack()
{
    const auto count = static_cast<std::size_t>(FPartFiles.HistoryCount());
    if (FUndo.size() <= count) {
        FShell.Log("error", "Error stepping backwards, current line: " + IntToStr(FLineNumber));
        return;
    }
    TrimUndo(count + 1);
    const std::uint32_t code = FUndo.back() & ~StatementRanBit;
    FUndo.pop_back();
    if (code == Unchanged) {
        return;
    }
    // The bit goes back along the path.
    Moving = true;
    if ((code & FullRecord) == 0) {
        TGLLinesArray& lines = (code & JogBit) ? FJogLines : FCutLines;
        TGLLines* line = lines.back();
        const TAffineVector before = line->NodePoint((code & NewLineBit) ? 0 : line->NodeCount() - 2);
        if (code & NewLineBit) {
            DeletePolyline(lines);
        } else {
            DeleteLastNode(lines);
        }
        FTool = {before.X, before.Y, before.Z};
        FPos = {before.X - FZero.X, before.Y - FZero.Y, before.Z - FZero.Z, 0.0f};
        FNewPolyline = (code & FlagBeforeBit) != 0;
        return;
    }
    const std::size_t index = code & FullIndexBits;
    const TLineUndo u = FFullUndo[index];
    FFullUndo.resize(index);
    RestoreLineState(u);
    if (u.ZeroIndex >= 0 && static_cast<std::size_t>(u.ZeroIndex) < FZeroUndo.size()) {
        const TZeroUndo& z = FZeroUndo[static_cast<std::size_t>(u.ZeroIndex)];
        FZero = z.Zero;
        FZeroA = z.A;
        FZeroB = z.B;
        FZeroUndo.resize(static_cast<std::size_t>(u.ZeroIndex));
    }
}

TMove::TLineLeft TMove::LineLeft(int index, bool statementRan)
{
    TLineLeft left;
    left.LineNumber = index + 1;
    if (FLines == nullptr || index < 0 || static_cast<std::size_t>(index) >= FLines->size()) {
        return left;
    }
    left.Text = (*FLines)[static_cast<std::size_t>(index)];
    std::erase(left.Text, '\t');
    if (statementRan) {
        // The statement after the last THEN of the chain, as DoIf walks it.
        std::string_view current = left.Text;
        for (;;) {
            std::string_view body = TrimView(current);
            if (StartsWithWord(body, "IF")) {
                body.remove_prefix(2);
            }
            const std::size_t then = FindThenWord(body);
            if (then == std::string_view::npos) {
                break;
            }
            const std::string_view statement = TrimView(body.substr(then + 4));
            current = statement;
            if (!StartsWithWord(statement, "IF") && DispatchWord(statement, CommandWordOf(statement)) != "IF") {
                break;
            }
        }
        left.Text = std::string(current);
    }
    std::string word = CommandWordOf(left.Text);
    const std::string_view dispatched = DispatchWord(left.Text, word);
    const bool isLabel = !dispatched.empty() && dispatched.back() == ':' && IsLabelLine(left.Text);
    if (!TrimView(dispatched).empty() && !isLabel) {
        left.Word = std::string(dispatched);
    } else if (statementRan) {
        // A statement that leaves no word (an assignment, a label) leaves the IF's.
        left.Word = "IF";
    }
    return left;
}

bool TMove::LeavesWord(int index)
{
    if (FLeavesWordLines != FLines || FLines == nullptr || FLeavesWord.size() != FLines->size()) {
        FLeavesWordLines = FLines;
        FLeavesWord.assign(FLines != nullptr ? FLines->size() : 0, 0);
    }
    if (index < 0 || static_cast<std::size_t>(index) >= FLeavesWord.size()) {
        return !LineLeft(index, false).Word.empty();
    }
    std::uint8_t& known = FLeavesWord[static_cast<std::size_t>(index)];
    if (known == 0) {
        known = LineLeft(index, false).Word.empty() ? 2 : 1;
    }
    return known == 1;
}

void TMove::RestoreLineBookkeeping()
{
    // The fresh run's values before the undone line are those after the line before
    // it; its word is the last one a line of the level left.
    const std::vector<int>& history = FPartFiles.History();
    const std::size_t floor = FPartFiles.LevelFloor();
    const TLineLeft& start = FLevelStarts.empty() ? FRunStart : FLevelStarts.back();
    bool textFound = false;
    for (std::size_t k = history.size(); k > floor;) {
        --k;
        const bool ran = k < FUndo.size() && (FUndo[k] & StatementRanBit) != 0;
        // Past the first, a line matters only for its word (a run of assignments has none).
        if (textFound && !ran && !LeavesWord(history[k])) {
            continue;
        }
        TLineLeft left = LineLeft(history[k], ran);
        if (!textFound) {
            FLineText = std::move(left.Text);
            FLineNumber = left.LineNumber;
            textFound = true;
        }
        if (!left.Word.empty()) {
            FCmdWord = std::move(left.Word);
            return;
        }
    }
    if (!textFound) {
        FLineText = start.Text;
        FLineNumber = start.LineNumber;
    }
    FCmdWord = start.Word;
}

void TMove::TakeBackLine()
{
    // Only moves, jogs and shapes fail so, and none of them changes the zero offsets.
    RestoreLineState(FLineStart);
}

void TMove::RestoreLineState(const TLineUndo& u)
{
    TruncatePolylines(FCutLines, u.CutCount, u.CutNodes);
    TruncatePolylines(FJogLines, u.JogCount, u.JogNodes);
    FPos = {u.X, u.Y, u.Z, u.W};
    FA = u.A;
    FB = u.B;
    FTool = {u.ToolX, u.ToolY, u.ToolZ};
    FNewPolyline = u.NewPolyline;
}

void TMove::SaveZeroOffsets()
{
    if (FLineZeroIndex < 0) {
        FLineZeroIndex = static_cast<std::int32_t>(FZeroUndo.size());
        FZeroUndo.push_back({FZero, FZeroA, FZeroB});
    }
}
