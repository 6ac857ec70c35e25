// The function library of TCalcul: single-argument functions, the multi-argument
// call protocol on the argument stack, and eval(.

#include "engine/calcul/Calcul.h"
#include "engine/calcul/CalculNumberText.h"
#include "engine/calcul/CalculText.h"
#include "engine/calcul/DateStamp.h"
#include "engine/calcul/NumberBase.h"

#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

using namespace calc;

namespace {

constexpr std::string_view kCallMarker = "[!!!]";

std::string IntText(long long v) { return std::to_string(v); }

// The fewest arguments each multi-argument function needs (codes 60..72).
int RequiredArguments(int code)
{
    switch (code) {
    case fnReplace:
    case fnIff:
    case fnInsert: return 3;
    default: return 2;
    }
}

long double Hyperbolic(int code, long double x)
{
    const long double ep = std::exp(x);
    const long double em = std::exp(-x);
    switch (code) {
    case fnSh: return (ep - em) / 2;
    case fnCh: return (ep + em) / 2;
    case fnTh: return (ep - em) / (ep + em);
    default: return (ep + em) / (ep - em);
    }
}

} // namespace

void TCalcul::EvaluateFunction(TCalculNode& node, std::string& out)
{
    if (IsMultiArgFunction(node.Op)) {
        EvaluateMultiArgFunction(node, out);
        return;
    }
    std::string arg;
    Evaluate(node.Left, arg);
    if (FError) {
        return;
    }
    const int code = node.Op;
    switch (code) {
    case fnCos:
    case fnSin:
    case fnTg:
    case fnCtg:
    case fnAbs:
    case fnSqrt:
    case fnLn:
    case fnExp:
    case fnArcSin:
    case fnArcCos:
    case fnArcTg:
    case fnArcCtg:
    case fnSh:
    case fnCh:
    case fnTh:
    case fnCth:
    case fnFrac:
    case fnTrunc: {
        const long double x = TextToNumber(arg);
        if (FError) {
            return;
        }
        long double v = 0;
        switch (code) {
        case fnCos: v = std::cos(x); break;
        case fnSin: v = std::sin(x); break;
        case fnTg: v = std::tan(x); break;
        case fnCtg: v = 1 / std::tan(x); break;
        case fnAbs: v = std::fabs(x); break;
        case fnSqrt: v = std::sqrt(x); break;
        case fnLn: v = std::log(x); break;
        case fnExp: v = std::exp(x); break;
        case fnArcSin: v = std::asin(x); break;
        case fnArcCos: v = std::acos(x); break;
        case fnArcTg: v = std::atan(x); break;
        case fnArcCtg: v = std::numbers::pi_v<long double> / 2 - std::atan(x); break;
        case fnFrac: v = x - std::trunc(x); break;
        case fnTrunc: v = std::trunc(x); break;
        default: v = Hyperbolic(code, x); break;
        }
        WriteCalcNumber(v, out);
        return;
    }
    case fnSign: {
        const long double x = TextToNumber(arg);
        out = x < -1e-7L ? "-1" : (x > 1e-8L ? "1" : "0");
        return;
    }
    case fnHeaviside: out = TextToNumber(arg) < 0 ? "0" : "1"; return;
    case fnNot: out = TextToNumber(arg) < 1 ? "1" : "0"; return;
    case fnLogic: out = NumberToInt(arg) >= 1 ? "1" : "0"; return;
    case fnExistVar: out = FVariables.IndexOfName(arg) >= 0 ? "1" : "0"; return;
    case fnFreeVar: {
        const int line = FVariables.IndexOfName(arg);
        if (line >= 0) {
            FVariables.Delete(line);
        }
        out = line >= 0 ? "1" : "0";
        return;
    }
    case fnLastDay: {
        const int n = NumberToInt(arg);
        if (!FError) {
            out = IntText(LastDayOfMonth(n));
        }
        return;
    }
    case fnLength: out = IntText(static_cast<long long>(CharCount(arg))); return;
    case fnTrimLeft: out = TrimLeft(arg); return;
    case fnTrimRight: out = TrimRight(arg); return;
    case fnTrim: out = Trim(arg); return;
    case fnEval: {
        std::string formula = Trim(arg);
        if (formula.size() >= 2 && formula.front() == '[' && formula.back() == ']') {
            formula = Trim(std::string_view(formula).substr(1, formula.size() - 2));
        }
        Kind kind = kindUnset;
        CalculateNested(formula, out, kind);
        if (!FError) {
            node.Kind = kind;
        }
        return;
    }
    case fnChar: {
        const int n = NumberToInt(arg);
        if (!FError) {
            AppendChar(out, CharOfCode(static_cast<unsigned>(n) & 0xFFU));
        }
        return;
    }
    case fnAscii:
        if (!arg.empty()) {
            std::size_t pos = 0;
            out = IntText(CodeOfChar(DecodeChar(arg, pos)));
        }
        return;
    case fnUpper: out = UpperText(arg); return;
    case fnLower: out = LowerText(arg); return;
    case fnWeekday:
    case fnMonth:
    case fnYear:
    case fnDay:
    case fnHour:
    case fnMinute:
    case fnSec: {
        const TDateTimeParts p = DecodeStamp(StrToStamp(arg));
        int v = 0;
        switch (code) {
        case fnWeekday: v = p.DayOfWeek; break;
        case fnMonth: v = p.Month; break;
        case fnYear: v = p.Year; break;
        case fnDay: v = p.Day; break;
        case fnHour: v = p.Hour; break;
        case fnMinute: v = p.Minute; break;
        default: v = p.Second; break;
        }
        out = IntText(v);
        return;
    }
    case fnStrToStamp: WriteCalcNumber(StrToStamp(arg), out); return;
    case fnStampToDateStr:
    case fnStampToTimeStr:
    case fnStampToStr: {
        const double stamp = static_cast<double>(TextToNumber(arg));
        if (FError) {
            return;
        }
        out = code == fnStampToDateStr ? StampToDateStr(stamp)
            : code == fnStampToTimeStr ? StampToTimeStr(stamp)
                                       : StampToStr(stamp);
        return;
    }
    case fnString: out.swap(arg); return;
    case fnNumeric: {
        std::string cleaned;
        cleaned.reserve(arg.size());
        for (char c : arg) {
            if (c != ' ') {
                cleaned += c == ',' ? '.' : c;
            }
        }
        const long double v = TextToNumber(cleaned);
        if (!FError) {
            WriteCalcNumber(v, out);
        }
        return;
    }
    default: SetError("Internal error oper code " + std::to_string(code)); return;
    }
}

// A multi-argument call pushes its code and a marker, lets the "," chain of its
// argument list insert the arguments below them (first argument nearest the top),
// then takes its arguments back off the stack.
void TCalcul::EvaluateMultiArgFunction(TCalculNode& node, std::string& out)
{
    FArgStack.push_back(std::to_string(node.Op));
    FArgStack.emplace_back(kCallMarker);
    if (node.Left != 0) {
        std::string first;
        Evaluate(node.Left, first);
        if (FError) {
            return;
        }
        PushArgument(first);
        if (FError) {
            return;
        }
    }
    if (FArgStack.size() < 2 || FArgStack.back() != kCallMarker) {
        SetError("Internal error, function with params");
        return;
    }
    const std::string& codeText = FArgStack[FArgStack.size() - 2];
    int code = 0;
    for (char c : codeText) {
        code = c >= '0' && c <= '9' && code < 1000 ? code * 10 + (c - '0') : 1000;
    }
    if (!IsMultiArgFunction(code)) {
        SetError("Internal error, function with params");
        return;
    }
    FArgStack.resize(FArgStack.size() - 2);
    if (code >= fnMaxVal && code <= fnAvgVal) {
        EvaluateAggregate(code, out);
        return;
    }
    std::array<std::string, 5> args;
    int count = 0;
    while (count < 5 && !FArgStack.empty() && FArgStack.back() != kCallMarker) {
        args[static_cast<std::size_t>(count++)] = Trim(FArgStack.back());
        FArgStack.pop_back();
    }
    // Arguments beyond the fifth are ignored. They are dropped too: left on the stack
    // they would be taken for the enclosing call's code and arguments.
    while (!FArgStack.empty() && FArgStack.back() != kCallMarker) {
        FArgStack.pop_back();
    }
    if (count < RequiredArguments(code)) {
        SetError("Not enough params");
        return;
    }
    ApplyMultiArgFunction(code, args.data(), count, out);
}

void TCalcul::EvaluateAggregate(int code, std::string& out)
{
    double best = 0;
    double sum = 0;
    int count = 0;
    while (!FArgStack.empty() && FArgStack.back() != kCallMarker) {
        const double v = static_cast<double>(TextToNumber(FArgStack.back()));
        FArgStack.pop_back();
        if (count == 0 || (code == fnMaxVal && v > best) || (code == fnMinVal && v < best)) {
            best = v;
        }
        sum += v;
        ++count;
    }
    if (count == 0) {
        SetError("Error, not enough params");
        return;
    }
    if (FError) {
        return;
    }
    switch (code) {
    case fnMaxVal:
    case fnMinVal: WriteCalcNumber(best, out); break;
    case fnSumVal: WriteCalcNumber(sum, out); break;
    default: WriteCalcNumber(sum / count, out); break;
    }
}

void TCalcul::ApplyMultiArgFunction(int code, const std::string* args, int count, std::string& out)
{
    const std::string& s = args[0];
    const long long length = static_cast<long long>(CharCount(s));
    auto intArg = [&](int i, long long fallback) -> long long {
        return i < count ? static_cast<long long>(NumberToInt(args[i])) : fallback;
    };
    switch (code) {
    case fnCopy: {
        const long long index = intArg(1, 0);
        const long long n = intArg(2, length);
        if (FError || index > length || n <= 0) {
            return;
        }
        out = CopyChars(s, index, n);
        return;
    }
    case fnCopyTo: {
        const long long from = intArg(1, 0);
        const long long to = intArg(2, length);
        if (FError || from > length || to < from) {
            return;
        }
        out = CopyChars(s, from, to - from + 1);
        return;
    }
    case fnPos: out = IntText(PosChars(args[0], args[1])); return;
    case fnDelete: {
        const long long index = intArg(1, 0);
        const long long n = intArg(2, length);
        if (FError) {
            return;
        }
        if (index >= 1 && index <= length && n > 0) {
            const std::size_t begin = ByteOffset(s, static_cast<std::size_t>(index - 1));
            const std::size_t end = begin + ByteOffset(std::string_view(s).substr(begin), static_cast<std::size_t>(n));
            out.assign(s, 0, begin);
            out.append(s, end, std::string::npos);
        } else {
            out = s;
        }
        return;
    }
    case fnReplace: {
        const long long all = intArg(3, 1);
        const long long ignoreCase = intArg(4, 1);
        if (!FError) {
            out = ReplaceText(s, args[1], args[2], all == 1, ignoreCase == 1);
        }
        return;
    }
    case fnIff: {
        const long long condition = intArg(0, 0);
        if (!FError) {
            out = condition == 1 ? args[1] : args[2];
        }
        return;
    }
    case fnInsert: {
        const std::string& sub = args[1];
        long long index = intArg(2, 1);
        if (FError) {
            return;
        }
        if (s.empty()) {
            out = sub;
            return;
        }
        index = std::clamp(index, 1LL, length + 1);
        const std::size_t at = ByteOffset(s, static_cast<std::size_t>(index - 1));
        out.assign(s, 0, at);
        out.append(sub).append(s, at, std::string::npos);
        return;
    }
    case fnNumBase:
    case fnBaseNum: {
        const int base = static_cast<int>(std::clamp(intArg(1, 10), 2LL, 16LL));
        if (code == fnNumBase) {
            const long long n = intArg(0, 0);
            if (!FError) {
                out = NumToBase(n, base);
            }
            return;
        }
        if (FError) {
            return;
        }
        const long long v = BaseToNum(UpperCase(s), base);
        if (v > 0) {
            out = IntText(v);
        }
        return;
    }
    default: SetError("Internal error, function with params"); return;
    }
}
