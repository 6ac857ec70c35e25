// Evaluation of TCalcul's parse tree: operators, variables and inline definitions.
// Functions are in CalculFunctions.cpp.

#include "engine/calcul/Calcul.h"
#include "engine/calcul/CalculFunctionNames.h"
#include "engine/calcul/CalculNumberText.h"
#include "engine/calcul/FileMask.h"

#include "platform/core/StringUtils.h"

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

} // namespace

void TCalcul::Evaluate(int index, std::string& out)
{
    out.clear();
    if (FError) {
        return;
    }
    if (index <= 0 || index > FNodeCount) {
        SetError("Invalid formula (..)");
        return;
    }
    if (FEvalDepth >= kMaxEvalDepth) {
        SetError("Invalid expression");
        return;
    }
    if (StackExhausted()) {
        FRunaway = true; // reported by every enclosing calculation too
        SetError("Invalid expression");
        return;
    }
    ++FEvalDepth;
    TCalculNode& node = FNodes[static_cast<std::size_t>(index)];
    const Kind kind = OperationKind(node.Op);
    if (kind != kindUnset) {
        node.Kind = kind;
    }
    switch (node.Op) {
    case tkNumber:
    case tkString: out = node.Text; break;
    case tkName: EvaluateVariable(node, out); break;
    default:
        if ((node.Op >= 11 && node.Op <= 72 && node.Op != tkPower) || (node.Op >= fnString && node.Op <= fnLogic)) {
            EvaluateFunction(node, out);
        } else {
            EvaluateOperator(node, out);
        }
        break;
    }
    --FEvalDepth;
}

void TCalcul::EvaluateOperator(TCalculNode& node, std::string& out)
{
    std::string left;
    std::string right;
    switch (node.Op) {
    case tkPlus:
    case tkMinus:
    case tkTimes: {
        Evaluate(node.Left, left);
        Evaluate(node.Right, right);
        if (FError) {
            return;
        }
        const long double a = TextToNumber(left);
        const long double b = TextToNumber(right);
        const long double v = node.Op == tkPlus ? a + b : node.Op == tkMinus ? a - b : a * b;
        WriteCalcNumber(v, out);
        break;
    }
    case tkDivide: {
        Evaluate(node.Right, right);
        const long double b = FError ? 0 : TextToNumber(right);
        if (FError) {
            return;
        }
        if (std::fabs(b) < 1e-8L) {
            out = "0";
            return;
        }
        Evaluate(node.Left, left);
        if (FError) {
            return;
        }
        WriteCalcNumber(TextToNumber(left) / b, out);
        break;
    }
    case tkNegate:
        Evaluate(node.Left, left);
        if (FError) {
            return;
        }
        WriteCalcNumber(-TextToNumber(left), out);
        break;
    case tkPower: {
        if (node.Right == 0) {
            SetError("Invalid formula (..)");
            return;
        }
        Evaluate(node.Left, left);
        Evaluate(node.Right, right);
        if (FError) {
            return;
        }
        const long double base = TextToNumber(left);
        const long double exponent = TextToNumber(right);
        WriteCalcNumber(Power(base, exponent), out);
        break;
    }
    case tkDiv: {
        Evaluate(node.Right, right);
        const int b = NumberToInt(right);
        if (FError) {
            return;
        }
        if (b == 0) {
            out = "0";
            return;
        }
        Evaluate(node.Left, left);
        const int a = NumberToInt(left);
        if (FError) {
            return;
        }
        // 64-bit so that the most negative integer divided by -1 cannot overflow.
        WriteCalcNumber(static_cast<long double>(static_cast<std::int64_t>(a) / b), out);
        break;
    }
    case tkMod: {
        Evaluate(node.Left, left);
        Evaluate(node.Right, right);
        const int a = NumberToInt(left);
        const int b = NumberToInt(right);
        if (FError) {
            return;
        }
        if (b == 0) {
            SetError("invalid formule");
            return;
        }
        WriteCalcNumber(static_cast<long double>(static_cast<std::int64_t>(a) % b), out);
        break;
    }
    case tkConcat:
        Evaluate(node.Right, right);
        Evaluate(node.Left, left);
        if (FError) {
            return;
        }
        out.reserve(left.size() + right.size());
        out.assign(left).append(right);
        break;
    case tkAnd:
    case tkOr: {
        Evaluate(node.Left, left);
        const long double a = FError ? 0 : TextToNumber(left);
        if (FError) {
            return;
        }
        bool truth = false;
        if (node.Op == tkAnd ? a >= 1 : a < 1) {
            Evaluate(node.Right, right);
            const long double b = FError ? 0 : TextToNumber(right);
            if (FError) {
                return;
            }
            truth = b >= 1;
        } else {
            truth = node.Op == tkOr;
        }
        out = truth ? "1" : "0";
        break;
    }
    case tkEqual:
    case tkNotEqual:
        Evaluate(node.Left, left);
        Evaluate(node.Right, right);
        if (FError) {
            return;
        }
        out = ((left == right) == (node.Op == tkEqual)) ? "1" : "0";
        break;
    case tkLess:
    case tkLessEqual:
    case tkGreater:
    case tkGreaterEqual: EvaluateComparison(node, out); break;
    case tkLike:
    case tkWildcard: {
        Evaluate(node.Right, right);
        Evaluate(node.Left, left);
        if (FError) {
            return;
        }
        if (node.Op == tkLike) {
            for (char& c : right) {
                if (c == '%') {
                    c = '*';
                } else if (c == '_') {
                    c = '?';
                }
            }
        }
        out = MatchesMask(left, right) ? "1" : "0";
        break;
    }
    case tkSemicolon:
        Evaluate(node.Left, left);
        Evaluate(node.Right, out);
        break;
    case tkComma:
        Evaluate(node.Right, right);
        if (FError) {
            return;
        }
        PushArgument(right);
        Evaluate(node.Left, out);
        break;
    default: SetError("Internal error oper code " + std::to_string(node.Op)); break;
    }
}

// "<", "<=", ">", ">=": numbers when both sides are numbers, else texts. The operands
// are evaluated once: evaluating them again after a failed conversion would give the
// same texts (or the same error), except that side effects such as freevar( would
// happen twice, and nested comparisons would cost twice per level.
void TCalcul::EvaluateComparison(TCalculNode& node, std::string& out)
{
    std::string left;
    std::string right;
    Evaluate(node.Left, left);
    Evaluate(node.Right, right);
    if (FError) {
        return;
    }
    long double a = 0;
    long double b = 0;
    int order = 0;
    if (ReadCalcNumber(left, a) && ReadCalcNumber(right, b)) {
        order = a < b ? -1 : (a > b ? 1 : 0);
    } else {
        order = CollateText(left, right);
    }
    bool truth = false;
    switch (node.Op) {
    case tkLess: truth = order < 0; break;
    case tkLessEqual: truth = order <= 0; break;
    case tkGreater: truth = order > 0; break;
    default: truth = order >= 0; break;
    }
    out = truth ? "1" : "0";
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
    const int line = FVariables.IndexOfName(name);
    if (line < 0) {
        SetError("Unknown variable:" + name);
        return;
    }
    const std::string& text = FVariables.Strings(line);
    if (text.rfind("@@", 0) == 0) {
        EvaluateDefinition(node, line, out);
        return;
    }
    std::string_view value = FVariables.ValueFromIndex(line);
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
