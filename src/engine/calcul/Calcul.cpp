#include "engine/calcul/Calcul.h"

#include "engine/calcul/CalculNumberText.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

using namespace calc;

TCalcul::TCalcul() : TCalcul(0) {}

TCalcul::TCalcul(int nestLevel) : FNodes(1), FNestLevel(nestLevel) {}

void TCalcul::SetError(std::string_view message)
{
    if (FError) {
        return;
    }
    FError = true;
    if (message.empty()) {
        FErrorText = "invalid formule";
    } else {
        FErrorText.assign(message);
    }
}

void TCalcul::ClearError()
{
    FError = false;
    FErrorText.clear();
}

long double TCalcul::TextToNumber(std::string_view text)
{
    long double value = 0;
    if (!ReadCalcNumber(text, value)) {
        if (!FError) {
            std::string message = "Error, convert to numeric value:";
            message.append(text);
            SetError(message);
        }
        return 0;
    }
    return value;
}

int TCalcul::NumberToInt(std::string_view text)
{
    if (FError) {
        return 0;
    }
    long double v = TextToNumber(text);
    if (v > 0) {
        v += 1e-7L;
    } else if (v < 0) {
        v -= 1e-7L;
    }
    v = std::trunc(v);
    // Outside the 32-bit range (NaN included) the value is the one out-of-range
    // integer, by explicit code rather than an undefined conversion.
    if (!(v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(v);
}

std::string TCalcul::NumberToText(long double value) { return CalcNumberToText(value); }

namespace {

bool IsQuoted(std::string_view value)
{
    std::size_t b = 0;
    std::size_t e = value.size();
    while (b < e && static_cast<unsigned char>(value[b]) <= ' ') {
        ++b;
    }
    while (e > b && static_cast<unsigned char>(value[e - 1]) <= ' ') {
        --e;
    }
    return e > b && value[b] == '"' && value[e - 1] == '"';
}

} // namespace

bool TCalcul::CalculateValue(std::string& value, Kind& kind)
{
    if (FNestLevel == 0) {
        FStackBase = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    }
    FArgStack.clear();
    FBadTexts.clear();
    FResultKind = Formula.find('"') != std::string::npos ? kindString : kindNumber;
    while (!Formula.empty() && (Formula.back() == ' ' || Formula.back() == ';')) {
        Formula.pop_back();
    }
    ClearError();
    FEvalDepth = 0;
    FRunaway = false;
    try {
        PrepareTree();
        if (!FError) {
            if (FRoot == 0) {
                SetError("Invalid formula (..)");
            } else {
                Evaluate(FRoot, value);
            }
        }
    } catch (...) {
        // A failure anywhere below (a date beyond the calendar, say) fails the
        // calculation, never the caller.
        SetError("invalid formule");
    }
    if (FError) {
        return false;
    }
    FResultKind = FNodes[static_cast<std::size_t>(FRoot)].Kind;
    kind = static_cast<Kind>(FResultKind);
    return true;
}

void TCalcul::ResultText(std::string& value, Kind kind)
{
    if (kind == kindString && !IsQuoted(value)) {
        value.insert(value.begin(), '"');
        value += '"';
    }
}

bool TCalcul::Calculate(std::string& result)
{
    Kind kind = kindUnset;
    if (!CalculateValue(FValue, kind)) {
        return false;
    }
    ResultText(FValue, kind);
    result.assign(FValue);
    return true;
}

bool TCalcul::CalculateNested(std::string_view formula, std::string& value, Kind& kind)
{
    value.clear();
    if (FNestLevel + 1 >= kMaxNestedCalculators) {
        FRunaway = true;
        SetError("Invalid expression");
        return false;
    }
    TCalcul inner(FNestLevel + 1);
    inner.FStackBase = FStackBase;
    inner.FVariables = FVariables;
    inner.Formula.assign(formula);
    const bool ok = inner.CalculateValue(value, kind);
    kind = static_cast<Kind>(inner.FResultKind);
    if (inner.FRunaway) {
        // Runaway self-evaluation is reported to the outermost calculation.
        FRunaway = true;
        SetError("Invalid expression");
        return false;
    }
    if (!ok) {
        value.clear();
    }
    return ok;
}
