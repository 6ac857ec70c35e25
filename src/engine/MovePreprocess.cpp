// TMove: turning one program line into a TArrayofCmds.

#include "engine/EngineData.h"
#include "engine/LineText.h"
#include "engine/Move.h"
#include "engine/OperandText.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/text/StringUtils.h"

#include <array>
#include <charconv>
#include <exception>

namespace {
constexpr auto npos = std::string_view::npos;

// A field into its element, whose storage is kept from line to line (never a part of
// the element itself): cheaper than assign, which takes its general path every time.
void CopyText(std::string& to, std::string_view text)
{
    to.clear();
    to.append(text.data(), text.size());
}

std::size_t FindOutsideQuotes(std::string_view text, char wanted)
{
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && text[i] == wanted) {
            return i;
        }
    }
    return npos;
}

void AppendWithout(std::string& out, std::string_view text, std::string_view drop)
{
    // A value may be millions of characters long: looked up in a table, and appended
    // in runs between the dropped characters.
    std::array<bool, 256> dropped{};
    for (char c : drop) {
        dropped[static_cast<unsigned char>(c)] = true;
    }
    out.reserve(out.size() + text.size());
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (dropped[static_cast<unsigned char>(text[i])]) {
            out.append(text, from, i - from);
            from = i + 1;
        }
    }
    out.append(text, from);
}

void UpperInPlace(std::string& text)
{
    for (char& c : text) {
        c = UpCaseChar(c);
    }
}

bool ParseDecimalInt(std::string_view text, int& value)
{
    if (text.empty()) {
        return false;
    }
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+') {
        ++begin;
    }
    auto res = std::from_chars(begin, end, value);
    return res.ec == std::errc() && res.ptr == end && begin != end;
}

// ".5" and "-.5" read as 0.5 and -0.5 in an assigned value, as they do in arguments.
void RepairLeadingPoints(std::string& value)
{
    for (std::size_t i = 0; i + 1 < value.size(); ++i) {
        const bool digitNext = value[i + 1] >= '0' && value[i + 1] <= '9';
        if (value[i] == '.' && digitNext && (i == 0 || !IsNameChar(value[i - 1]))) {
            value.insert(i, 1, '0');
            ++i;
        }
    }
}

// Statement lines are read from their own text by their handlers, so their arguments
// are never evaluated; neither is a label.
bool ArgumentsAreExpressions(const std::string& word)
{
    if (word.empty()) {
        return true;
    }
    if (word.back() == ':') {
        return false;
    }
    switch (word[0]) {
    case 'I': return !(StartsWithWord(word, "IF") || StartsWithWord(word, "INPUT"));
    case 'G': return !(StartsWithWord(word, "GOTO") || StartsWithWord(word, "GOSUB"));
    default: return true;
    }
}

// File names hold "-" and "/": the file of FP and the name of a clamp are never
// expressions.
bool FirstArgumentIsName(const std::string& word)
{
    return word.size() >= 2 && ((word[0] == 'F' && word[1] == 'P') || (word[0] == '[' && word == "[CLAMP]"));
}
} // namespace

bool TMove::Evaluate(std::string_view formula, std::string& result)
{
    FCalcul.Formula.assign(formula);
    return FCalcul.Calculate(result);
}

TArrayofCmds TMove::PreprocessLine(std::string_view line, bool execute)
{
    TArrayofCmds cmds;
    PreprocessLine(line, execute, cmds);
    return cmds;
}

namespace {
// What a line holds, found in one pass, so the steps that cannot apply are skipped.
enum : unsigned char {
    lfComment = 1,  // "'" or an "R" that may begin REM
    lfPercent = 2,  // may hold "%(n)"
    lfEquals = 4,   // may be an assignment
    lfRepair = 8,   // "-.", ",." or " ." needs a number repair
};

struct TLineFlagTable {
    unsigned char Flags[256] = {};
    constexpr TLineFlagTable()
    {
        Flags[static_cast<unsigned char>('\'')] = lfComment;
        Flags[static_cast<unsigned char>('R')] = lfComment;
        Flags[static_cast<unsigned char>('%')] = lfPercent;
        Flags[static_cast<unsigned char>('=')] = lfEquals;
    }
};
constexpr TLineFlagTable LineFlagTable;

// A point that begins a number after "-", "," or a blank: ".5" means 0.5. A point
// followed by anything but a digit ("./part.sbp") is left alone.
bool NeedsLeadingZero(std::string_view text, std::size_t point)
{
    if (point == 0 || point + 1 >= text.size() || text[point + 1] < '0' || text[point + 1] > '9') {
        return false;
    }
    const char prev = text[point - 1];
    return prev == '-' || prev == ',' || prev == ' ';
}

unsigned ScanLineFlags(std::string_view text)
{
    unsigned flags = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        flags |= LineFlagTable.Flags[static_cast<unsigned char>(c)];
        if (c == '.' && NeedsLeadingZero(text, i)) {
            flags |= lfRepair;
        }
    }
    return flags;
}
} // namespace

void TMove::PreprocessLine(std::string_view line, bool execute, TArrayofCmds& cmds)
{
    cmds.Clear();
    // What the line's assignments and arguments change in the variables is kept for a
    // step back, which preprocesses nothing.
    TCalculVariables& variables = FCalcul.GetVariables();
    const bool tagged = execute && FKeepStepBack;
    const TScopeGuard outerTag([&variables, tagged, tag = variables.UndoTag()] {
        if (tagged) {
            variables.SetUndoTag(tag);
        }
    });
    if (tagged) {
        variables.SetUndoTag(LineUndoTag());
    }
    try {
        std::string_view work = TrimView(line);
        const unsigned flags = ScanLineFlags(work);
        if (flags & lfComment) {
            work = TrimView(CutComment(work));
        }
        if ((flags & lfPercent) && work.find("%(") != npos) {
            FWork = ReplaceSysVars(work);
            work = FWork;
        }

        if (execute && StartsWithWord(work, "PRINT")) {
            PreparePrint(work, cmds);
            return;
        }

        if (execute && (flags & lfEquals) && !StartsWithWord(work, "IF")) {
            const std::size_t eq = FindOutsideQuotes(work, '=');
            if (eq != npos) {
                // An assignment ends here: it is stored, not dispatched as a command.
                StoreAssignment(work, eq);
                return;
            }
        }

        if (flags & lfRepair) {
            if (work.data() != FWork.data()) {
                FWork.assign(work);
            }
            if (RepairNumbers(FWork)) {
                work = FWork;
            }
        }
        const int used = SplitFields(work, cmds);
        UpperInPlace(cmds[0]);
        if (execute) {
            EvaluateArguments(cmds, used);
        }
    } catch (const std::exception&) {
        // A line that cannot be prepared is treated as an empty line.
        cmds.Clear();
    }
}

std::string TMove::CommandWordOf(std::string_view line)
{
    TArrayofCmds cmds;
    PreprocessLine(line, false, cmds);
    // Executed, a PRINT keeps its word and an assignment is stored and leaves none.
    std::string_view work = TrimView(line);
    const unsigned flags = ScanLineFlags(work);
    if (flags & lfComment) {
        work = TrimView(CutComment(work));
    }
    if (!StartsWithWord(work, "PRINT") && (flags & lfEquals) && !StartsWithWord(work, "IF")
        && FindOutsideQuotes(work, '=') != npos) {
        return {};
    }
    return cmds[0];
}

void TMove::PreparePrint(std::string_view line, TArrayofCmds& cmds)
{
    const std::string replaced = ReplaceUserVars(line);
    FScratch.clear();
    AppendWithout(FScratch, replaced, "\";");
    cmds[0] = "PRINT";
    cmds[1] = TrimView(std::string_view(FScratch).substr(std::min<std::size_t>(5, FScratch.size())));
}

void TMove::StoreAssignment(std::string_view line, std::size_t eq)
{
    std::string name;
    AppendWithout(name, line.substr(0, eq), "& \t");
    if (name.empty()) {
        return;
    }
    const std::string_view rhs = line.substr(eq + 1);
    std::string value;
    if (IsArithmeticOperator(line)) {
        AppendWithout(value, rhs, "& \t");
        RepairLeadingPoints(value);
        // A failed evaluation stores the right-hand side as written.
        Evaluate(UpperCase(value), value);
    } else {
        AppendWithout(value, rhs, " \t");
        RepairLeadingPoints(value);
    }
    std::string assignment = name;
    assignment += '=';
    AppendWithout(assignment, value, " \t");

    TCalculVariables& vars = FCalcul.GetVariables();
    vars.Reassign(vars.IndexOfName(name), NormalizeAssignment(assignment));
}

bool TMove::RepairNumbers(std::string& line)
{
    bool needed = false;
    for (std::size_t i = 0; i < line.size() && !needed; ++i) {
        needed = line[i] == '.' && NeedsLeadingZero(line, i);
    }
    if (!needed) {
        return false;
    }
    std::string out;
    out.reserve(line.size() + 8);
    char lastNonBlank = '\0';
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const bool numberNext = i + 1 < line.size() && line[i + 1] == '.' && NeedsLeadingZero(line, i + 1);
        if (numberNext && (c == '-' || c == ',')) {
            out += c;
            out += '0';
        } else if (numberNext && c == ' ') {
            // A blank before a point separates an argument, unless a comma already does.
            out += lastNonBlank == ',' ? " 0" : ", 0";
        } else {
            out += c;
        }
        if (c != ' ') {
            lastNonBlank = c;
        }
    }
    line.swap(out);
    return true;
}

int TMove::SplitFields(std::string_view line, TArrayofCmds& cmds)
{
    // One pass over the line: each field ends at the next comma.
    int k = 1;
    std::size_t from = 0;
    const std::size_t n = line.size();
    for (;;) {
        std::size_t comma = from;
        while (comma < n && line[comma] != ',') {
            ++comma;
        }
        std::string_view field = TrimView(line.substr(from, comma - from));
        if (k == 1) {
            std::size_t blank = 0;
            while (blank < field.size() && field[blank] != ' ' && field[blank] != '\t') {
                ++blank;
            }
            if (blank < field.size()) {
                CopyText(cmds[0], TrimView(field.substr(0, blank)));
                k = 2;
                field = TrimView(field.substr(blank));
            }
        }
        if (comma == n) {
            // The last field: stored when something is left (always for the first).
            if (k == 1 || !field.empty()) {
                CopyText(cmds[k - 1], field);
                return k;
            }
            return k - 1;
        }
        CopyText(cmds[k - 1], field);
        from = comma + 1;
        ++k;
        if (k > TArrayofCmds::Count) {
            return TArrayofCmds::Count; // surplus fields are dropped
        }
    }
}

void TMove::EvaluateArguments(TArrayofCmds& cmds, int used)
{
    if (!ArgumentsAreExpressions(cmds[0])) {
        return;
    }
    const int first = FirstArgumentIsName(cmds[0]) ? 2 : 1;
    for (int i = first; i < used; ++i) {
        std::string& item = cmds[i];
        if (item.empty() || !HasArithmeticChar(item)) {
            continue;
        }
        // A signed number needs no evaluator; it is only written as the evaluator would.
        if (SignedNumberAsEvaluated(item)) {
            continue;
        }
        // The formula is the argument upper-cased without its "&"s, written straight
        // into the evaluator's formula.
        std::string& formula = FCalcul.Formula;
        formula.resize(item.size());
        std::size_t n = 0;
        for (char c : item) {
            if (c != '&') {
                formula[n++] = UpCaseChar(c);
            }
        }
        formula.resize(n);
        if (n == 0) {
            item.clear();
            continue;
        }
        // A failed calculation leaves the item as written.
        if (!FCalcul.Calculate(item)) {
            cmds.MarkFailed(i, FCalcul.ErrorText());
        }
    }
}

std::string TMove::ReplaceSysVars(std::string_view line) const
{
    if (TrimView(line).empty()) {
        return std::string(line);
    }
    // First the tokens up to the first malformed one; later tokens stay as written.
    std::vector<std::string_view> tokens;
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = line.find("%(", from);
        if (open == npos) {
            break;
        }
        const std::size_t close = line.find(')', open + 2);
        if (close == npos) {
            break;
        }
        const std::string_view inner = line.substr(open + 2, close - open - 2);
        int n = 0;
        if (!ParseDecimalInt(inner, n)) {
            break;
        }
        tokens.push_back(inner);
        from = close + 1;
    }
    if (tokens.empty()) {
        return std::string(line);
    }
    // Then every occurrence of those tokens, in one pass: a substituted value is never
    // searched again.
    std::string out;
    out.reserve(line.size() + 16);
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t open = line.find("%(", i);
        if (open == npos) {
            out.append(line.substr(i));
            break;
        }
        out.append(line.substr(i, open - i));
        const std::size_t close = line.find(')', open + 2);
        if (close != npos) {
            const std::string_view inner = line.substr(open + 2, close - open - 2);
            bool known = false;
            for (auto token : tokens) {
                known = known || token == inner;
            }
            int n = 0;
            if (known && ParseDecimalInt(inner, n)) {
                out += FData.GetSysVarText(n);
                i = close + 1;
                continue;
            }
        }
        out.append("%(");
        i = open + 2;
    }
    return out;
}

std::string TMove::ReplaceUserVars(std::string_view line)
{
    if (TrimView(line).empty()) {
        return std::string(line);
    }
    std::string out;
    out.reserve(line.size() + 16);
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c != '&') {
            out += c;
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < line.size() && IsNameChar(line[end])) {
            ++end;
        }
        const std::string_view name = line.substr(i + 1, end - i - 1);
        std::string value;
        if (!name.empty() && Evaluate(UpperCase(name), value)) {
            out += value;
        } else {
            // Unknown names print as written rather than as some other variable's value.
            out.append(line.substr(i, end - i));
        }
        i = end;
    }
    return out;
}
