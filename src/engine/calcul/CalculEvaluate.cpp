// Evaluation of TCalcul's parse tree: operators, variables and inline definitions.
// Functions are in CalculFunctions.cpp.

#include "engine/calcul/Calcul.h"
#include "engine/calcul/CalculFunctionNames.h"
#include "engine/calcul/CalculNumberText.h"
#include "engine/calcul/FileMask.h"

#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace calc;

namespace {

// Whole exponents are applied by multiplication (square and multiply), so negative
// bases work; others go through the logarithm, which has no value for a negative base.
long double Power(long double base, long double exponent)
{
    if (exponent == 0) {
        return 1;
    }
    if (base == 0 && exponent > 0) {
        return 0;
    }
    if (std::trunc(exponent) == exponent && std::fabs(exponent) < 9.2e18L) {
        std::uint64_t n = static_cast<std::uint64_t>(std::fabs(exponent));
        long double result = 1;
        long double factor = base;
        while (n != 0) {
            if (n & 1U) {
                result *= factor;
            }
            n >>= 1;
            if (n != 0) {
                factor *= factor;
            }
        }
        return exponent < 0 ? 1 / result : result;
    }
    if (base < 0) {
        return std::numeric_limits<long double>::quiet_NaN();
    }
    return std::pow(base, exponent);
}

// Case-sensitive text order in the manner of a locale collation: letters compare
// alphabetically first (a < B < c), and only equal texts differ by case (lower first).
int CollateText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char ca = LowCaseChar(a[i]);
        const char cb = LowCaseChar(b[i]);
        if (ca != cb) {
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb) ? -1 : 1;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            // Same letter, different case: the lower-case one sorts first.
            return a[i] > b[i] ? -1 : 1;
        }
    }
    return 0;
}

bool IsNameStart(char c) { return (c >= 'A' && c <= 'z') || c == '\''; }

// "<", "<=", ">", ">=": numbers when both sides are numbers, else texts. The operands
// are evaluated once: evaluating them again after a failed conversion would give the
// same texts (or the same error), except that side effects such as freevar( would
// happen twice, and nested comparisons would cost twice per level.
bool CompareOperands(int op, const std::string& left, const std::string& right)
{
    long double a = 0;
    long double b = 0;
    int order = 0;
    if (ReadCalcNumber(left, a) && ReadCalcNumber(right, b)) {
        order = a < b ? -1 : (a > b ? 1 : 0);
    } else {
        order = CollateText(left, right);
    }
    switch (op) {
    case tkLess: return order < 0;
    case tkLessEqual: return order <= 0;
    case tkGreater: return order > 0;
    default: return order >= 0;
    }
}

} // namespace

bool TCalcul::EnterNode(int index)
{
    if (FError) {
        return false;
    }
    if (index <= 0 || index > FNodeCount) {
        SetError("Invalid formula (..)");
        return false;
    }
    if (FEvalDepth >= kMaxEvalDepth) {
        SetError("Invalid expression");
        return false;
    }
    if (StackExhausted()) {
        FRunaway = true; // reported by every enclosing calculation too
        SetError("Invalid expression");
        return false;
    }
    ++FEvalDepth;
    TCalculNode& node = FNodes[static_cast<std::size_t>(index)];
    if (node.OpKind != kindUnset) {
        node.Kind = node.OpKind;
    }
    return true;
}

void TCalcul::Evaluate(int index, std::string& out)
{
    out.clear();
    if (!EnterNode(index)) {
        return;
    }
    TCalculNode& node = FNodes[static_cast<std::size_t>(index)];
    switch (node.Op) {
    case tkNumber:
    case tkString: out = node.Text; break;
    case tkName: EvaluateVariable(node, out); break;
    default:
        if ((node.Op >= 11 && node.Op <= 72 && node.Op != tkPower) || (node.Op >= fnString && node.Op <= fnLogic)) {
            EvaluateFunction(node, out);
        } else if (node.NumericChain || node.Op == tkNegate) {
            TCalcNumber value;
            if (node.NumericChain) {
                EvaluateNumericChain(index, value);
            } else {
                EvaluateNegation(node, value);
            }
            if (!FError) {
                // Only the result of the whole chain is written.
                WriteCalcNumber(value.Value, out);
            }
        } else if (IsBinaryOperator(node.Op)) {
            EvaluateChain(index, out);
        } else {
            EvaluateOperator(node, out);
        }
        break;
    }
    --FEvalDepth;
}

// A chain of binary operators (1+2+3+..., a*b/c, the arguments of a call) is a tree
// that leans to the left as deep as the chain is long. It is walked down its left
// edge and back up in a loop, so only parentheses and calls nest the evaluation.
// Each operator keeps its own operand order: "/", "div", the vertical bar, "like",
// "wildcard" and "," take their right operand before their left one (and "/" and
// "div" skip the left one after a zero divisor); the others go left to right.
void TCalcul::EvaluateChain(int top, std::string& out)
{
    const std::size_t base = FChain.size();
    std::string value;
    int index = top;
    for (;;) {
        TCalculNode& node = FNodes[static_cast<std::size_t>(index)];
        if (index != top && node.OpKind != kindUnset) {
            node.Kind = node.OpKind;
        }
        std::string right;
        if (BeforeLeftOperand(node, right, value)) {
            // The value is known without the left operand (or an error stopped it).
            break;
        }
        FChain.push_back({index, std::move(right)});
        const int left = node.Left;
        if (left <= 0 || left > FNodeCount || !IsBinaryOperator(FNodes[static_cast<std::size_t>(left)].Op)) {
            Evaluate(left, value);
            break;
        }
        index = left;
    }
    for (std::size_t i = FChain.size(); i-- > base && !FError;) {
        // Moved out: evaluating a right operand may grow the chain list meanwhile.
        const int node = FChain[i].Node;
        const std::string right = std::move(FChain[i].Right);
        ApplyOperator(FNodes[static_cast<std::size_t>(node)], value, right);
    }
    FChain.resize(base);
    if (!FError) {
        out.swap(value);
    }
}

bool TCalcul::BeforeLeftOperand(TCalculNode& node, std::string& right, std::string& value)
{
    switch (node.Op) {
    case tkDivide: {
        Evaluate(node.Right, right);
        const long double b = FError ? 0 : TextToNumber(right);
        if (FError) {
            return true;
        }
        if (std::fabs(b) < 1e-8L) {
            value = "0";
            return true;
        }
        return false;
    }
    case tkDiv: {
        Evaluate(node.Right, right);
        const int b = NumberToInt(right);
        if (FError) {
            return true;
        }
        if (b == 0) {
            value = "0";
            return true;
        }
        return false;
    }
    case tkPower:
        if (node.Right == 0) {
            SetError("Invalid formula (..)");
            return true;
        }
        return false;
    case tkConcat:
    case tkLike:
    case tkWildcard:
        Evaluate(node.Right, right);
        return FError;
    case tkComma:
        Evaluate(node.Right, right);
        if (!FError) {
            PushArgument(right);
        }
        return FError;
    default: return false;
    }
}

// `value` holds the left operand's value and receives the node's; `right` is the right
// operand's value for the operators that took it first.
void TCalcul::ApplyOperator(TCalculNode& node, std::string& value, const std::string& right)
{
    const std::string& left = value;
    std::string taken;
    switch (node.Op) {
    case tkPlus:
    case tkMinus:
    case tkTimes: {
        Evaluate(node.Right, taken);
        if (FError) {
            return;
        }
        const long double a = TextToNumber(left);
        const long double b = TextToNumber(taken);
        WriteCalcNumber(node.Op == tkPlus ? a + b : node.Op == tkMinus ? a - b : a * b, value);
        break;
    }
    case tkDivide: WriteCalcNumber(TextToNumber(left) / TextToNumber(right), value); break;
    case tkPower: {
        Evaluate(node.Right, taken);
        if (FError) {
            return;
        }
        const long double base = TextToNumber(left);
        WriteCalcNumber(Power(base, TextToNumber(taken)), value);
        break;
    }
    case tkDiv: {
        const int b = NumberToInt(right);
        const int a = NumberToInt(left);
        if (FError) {
            return;
        }
        // 64-bit so that the most negative integer divided by -1 cannot overflow.
        WriteCalcNumber(static_cast<long double>(static_cast<std::int64_t>(a) / b), value);
        break;
    }
    case tkMod: {
        Evaluate(node.Right, taken);
        const int a = NumberToInt(left);
        const int b = NumberToInt(taken);
        if (FError) {
            return;
        }
        if (b == 0) {
            SetError("invalid formule");
            return;
        }
        WriteCalcNumber(static_cast<long double>(static_cast<std::int64_t>(a) % b), value);
        break;
    }
    case tkConcat: value += right; break;
    case tkAnd:
    case tkOr: {
        const long double a = TextToNumber(left);
        if (FError) {
            return;
        }
        bool truth = node.Op == tkOr;
        if (node.Op == tkAnd ? a >= 1 : a < 1) {
            Evaluate(node.Right, taken);
            const long double b = FError ? 0 : TextToNumber(taken);
            if (FError) {
                return;
            }
            truth = b >= 1;
        }
        value = truth ? "1" : "0";
        break;
    }
    case tkEqual:
    case tkNotEqual:
        Evaluate(node.Right, taken);
        if (FError) {
            return;
        }
        value = ((left == taken) == (node.Op == tkEqual)) ? "1" : "0";
        break;
    case tkLess:
    case tkLessEqual:
    case tkGreater:
    case tkGreaterEqual:
        Evaluate(node.Right, taken);
        if (FError) {
            return;
        }
        value = CompareOperands(node.Op, left, taken) ? "1" : "0";
        break;
    case tkLike:
    case tkWildcard: {
        std::string mask = right;
        if (node.Op == tkLike) {
            for (char& c : mask) {
                if (c == '%') {
                    c = '*';
                } else if (c == '_') {
                    c = '?';
                }
            }
        }
        value = MatchesMask(left, mask) ? "1" : "0";
        break;
    }
    case tkSemicolon: Evaluate(node.Right, value); break;
    case tkComma: break; // the left operand's value
    default: break;
    }
}

// The numeric chain goes exactly as EvaluateChain: the same operands in the same order,
// the same errors. An operator's result is read by the next one as the number its
// text would read back as (RoundCalcNumber), so no text is written in between.
void TCalcul::EvaluateNumericChain(int top, TCalcNumber& out)
{
    const std::size_t base = FNumberChain.size();
    TCalcNumber value;
    int index = top;
    for (;;) {
        TCalculNode& node = FNodes[static_cast<std::size_t>(index)];
        if (index != top) {
            node.Kind = kindNumber;
        }
        TCalcNumber right;
        if (NumberBeforeLeftOperand(node, right, value)) {
            break;
        }
        FNumberChain.push_back({index, right});
        const int left = node.Left;
        if (left <= 0 || left > FNodeCount || !IsBinaryOperator(FNodes[static_cast<std::size_t>(left)].Op)) {
            EvaluateNumber(left, value);
            break;
        }
        index = left;
    }
    for (std::size_t i = FNumberChain.size(); i-- > base && !FError;) {
        const int node = FNumberChain[i].Node;
        TCalcNumber right = FNumberChain[i].Right;
        ApplyNumberOperator(FNodes[static_cast<std::size_t>(node)], value, right);
    }
    FNumberChain.resize(base);
    if (!FError) {
        out = value;
    }
}

bool TCalcul::NumberBeforeLeftOperand(TCalculNode& node, TCalcNumber& right, TCalcNumber& value)
{
    switch (node.Op) {
    case tkDivide: {
        EvaluateNumber(node.Right, right);
        const long double b = FError ? 0 : TakeNumber(right);
        if (FError) {
            return true;
        }
        if (std::fabs(b) < 1e-8L) {
            SetRaw(value, 0);
            return true;
        }
        return false;
    }
    case tkPower:
        if (node.Right == 0) {
            SetError("Invalid formula (..)");
            return true;
        }
        return false;
    default: return false;
    }
}

void TCalcul::ApplyNumberOperator(TCalculNode& node, TCalcNumber& value, TCalcNumber& right)
{
    TCalcNumber taken;
    switch (node.Op) {
    case tkPlus:
    case tkMinus:
    case tkTimes: {
        EvaluateNumber(node.Right, taken);
        if (FError) {
            return;
        }
        const long double a = TakeNumber(value);
        const long double b = TakeNumber(taken);
        SetRaw(value, node.Op == tkPlus ? a + b : node.Op == tkMinus ? a - b : a * b);
        break;
    }
    case tkDivide: {
        const long double a = TakeNumber(value);
        SetRaw(value, a / TakeNumber(right));
        break;
    }
    case tkPower: {
        EvaluateNumber(node.Right, taken);
        if (FError) {
            return;
        }
        const long double base = TakeNumber(value);
        SetRaw(value, Power(base, TakeNumber(taken)));
        break;
    }
    default: break;
    }
}

void TCalcul::EvaluateNegation(TCalculNode& node, TCalcNumber& out)
{
    TCalcNumber operand;
    EvaluateNumber(node.Left, operand);
    if (FError) {
        return;
    }
    SetRaw(out, -TakeNumber(operand));
}

void TCalcul::EvaluateNumber(int index, TCalcNumber& out)
{
    out.Value = 0;
    out.State = TCalcNumber::Read;
    if (index > 0 && index <= FNodeCount) {
        const TCalculNode& peek = FNodes[static_cast<std::size_t>(index)];
        const int op = peek.Op;
        if (peek.NumericChain || op == tkNegate || op == tkNumber || op == tkName) {
            if (!EnterNode(index)) {
                return;
            }
            TCalculNode& node = FNodes[static_cast<std::size_t>(index)];
            if (node.NumericChain) {
                EvaluateNumericChain(index, out);
            } else if (op == tkNegate) {
                EvaluateNegation(node, out);
            } else if (op == tkNumber) {
                if (node.LiteralOk) {
                    out.Value = node.Literal;
                } else {
                    std::string text = node.Text;
                    SetBad(out, text);
                }
            } else {
                // A variable evaluates nothing else, so one scratch text serves.
                EvaluateVariable(node, FOperandText);
                if (!FError && !ReadCalcNumber(FOperandText, out.Value)) {
                    SetBad(out, FOperandText);
                }
            }
            --FEvalDepth;
            return;
        }
    }
    // Any other operand gives its text, read now; a text that reads as no number fails
    // only when the operator takes it, as it would have.
    std::string text;
    Evaluate(index, text);
    if (!FError && !ReadCalcNumber(text, out.Value)) {
        SetBad(out, text);
    }
}

void TCalcul::SetBad(TCalcNumber& operand, std::string& text)
{
    operand.State = TCalcNumber::Bad;
    operand.BadText = static_cast<int>(FBadTexts.size());
    FBadTexts.push_back(std::move(text));
}

long double TCalcul::TakeNumber(TCalcNumber& operand)
{
    if (operand.State == TCalcNumber::Raw) {
        long double rounded = 0;
        if (RoundCalcNumber(operand.Value, rounded)) {
            operand.Value = rounded;
            operand.State = TCalcNumber::Read;
        } else {
            std::string text;
            WriteCalcNumber(operand.Value, text);
            SetBad(operand, text);
        }
    }
    if (operand.State == TCalcNumber::Bad) {
        return TextToNumber(FBadTexts[static_cast<std::size_t>(operand.BadText)]);
    }
    return operand.Value;
}

void TCalcul::SetRaw(TCalcNumber& operand, long double value)
{
    operand.Value = value;
    operand.State = TCalcNumber::Raw;
}

void TCalcul::EvaluateOperator(TCalculNode& node, std::string& out)
{
    if (node.Op != tkNegate) {
        SetError("Internal error oper code " + std::to_string(node.Op));
        return;
    }
    std::string operand;
    Evaluate(node.Left, operand);
    if (FError) {
        return;
    }
    WriteCalcNumber(-TextToNumber(operand), out);
}

// Inserts a call argument below the call's code and marker on the argument stack.
void TCalcul::PushArgument(const std::string& value)
{
    if (FArgStack.size() < 2) {
        // A "," outside any multi-argument call.
        SetError("invalid formule");
        return;
    }
    FArgStack.insert(FArgStack.end() - 2, value);
}

void TCalcul::EvaluateVariable(TCalculNode& node, std::string& out)
{
    const std::string& name = node.Text;
    if (!name.empty() && !IsNameStart(name[0]) && name.rfind("@@", 0) != 0) {
        SetError("Unknown variable:" + name + ", invalid character in name");
        return;
    }
    const std::string* line = FVariables.LineOfName(name);
    if (line == nullptr) {
        SetError("Unknown variable:" + name);
        return;
    }
    if (line->rfind("@@", 0) == 0) {
        EvaluateDefinition(node, FVariables.IndexOfName(name), out);
        return;
    }
    std::string_view value = TCalculVariables::ValueOf(*line);
    while (!value.empty() && value.front() == ' ') {
        value.remove_prefix(1);
    }
    if (!value.empty() && value.front() == '"') {
        value.remove_prefix(1);
        if (!value.empty() && value.back() == '"') {
            value.remove_suffix(1);
        }
        node.Kind = kindString;
    } else {
        node.Kind = value.empty() ? kindString : kindNumber;
    }
    out.assign(value);
}

// "@@name=[expression]" made by name:=expression: calculated on first use, then kept
// as an ordinary "name=value" line.
void TCalcul::EvaluateDefinition(TCalculNode& node, int line, std::string& out)
{
    const std::string text = FVariables.Strings(line);
    const std::size_t eq = std::min(text.find('='), text.size());
    const std::string name = text.substr(2, eq - 2);
    std::string_view expression = std::string_view(text).substr(std::min(eq + 1, text.size()));
    if (expression.size() >= 2 && expression.front() == '[' && expression.back() == ']') {
        expression = expression.substr(1, expression.size() - 2);
    }
    const std::string formula = Trim(expression);
    Kind kind = kindUnset;
    CalculateNested(formula, out, kind);
    if (FError) {
        return;
    }
    node.Kind = kind;
    // The line keeps the value as a caller sees it (a string in double quotes), so it
    // reads back the same through an ordinary variable lookup.
    std::string stored = out;
    ResultText(stored, kind);
    FVariables.Delete(line);
    FVariables.SetValue(name, stored);
}
