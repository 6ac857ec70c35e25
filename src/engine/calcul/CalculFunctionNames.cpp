#include "engine/calcul/CalculFunctionNames.h"

#include <array>
#include <initializer_list>

namespace calc {

namespace {

struct NamedFunction {
    std::string_view name;
    int code;
};

constexpr NamedFunction kFunctions[] = {
    {"cos(", fnCos},
    {"sin(", fnSin},
    {"tg(", fnTg},
    {"ctg(", fnCtg},
    {"abs(", fnAbs},
    {"sign(", fnSign},
    {"sqrt(", fnSqrt},
    {"ln(", fnLn},
    {"exp(", fnExp},
    {"arcsin(", fnArcSin},
    {"arccos(", fnArcCos},
    {"arctg(", fnArcTg},
    {"arcctg(", fnArcCtg},
    {"sh(", fnSh},
    {"ch(", fnCh},
    {"th(", fnTh},
    {"cth(", fnCth},
    {"heaviside(", fnHeaviside},
    {"h(", fnHeaviside},
    {"existvar(", fnExistVar},
    {"freevar(", fnFreeVar},
    {"lastday(", fnLastDay},
    {"frac(", fnFrac},
    {"trunc(", fnTrunc},
    {"length(", fnLength},
    {"trimleft(", fnTrimLeft},
    {"trimright(", fnTrimRight},
    {"trim(", fnTrim},
    {"eval(", fnEval},
    {"char(", fnChar},
    {"ascii(", fnAscii},
    {"upper(", fnUpper},
    {"lower(", fnLower},
    {"not(", fnNot},
    {"weekday(", fnWeekday},
    {"month(", fnMonth},
    {"year(", fnYear},
    {"day(", fnDay},
    {"hour(", fnHour},
    {"minute(", fnMinute},
    {"sec(", fnSec},
    {"strtostamp(", fnStrToStamp},
    {"stamptodatestr(", fnStampToDateStr},
    {"stamptotimestr(", fnStampToTimeStr},
    {"stamptostr(", fnStampToStr},
    {"copy(", fnCopy},
    {"copyto(", fnCopyTo},
    {"pos(", fnPos},
    {"delete(", fnDelete},
    {"replace(", fnReplace},
    {"maxval(", fnMaxVal},
    {"minval(", fnMinVal},
    {"sumval(", fnSumVal},
    {"avgval(", fnAvgVal},
    {"iff(", fnIff},
    {"insert(", fnInsert},
    {"numbase(", fnNumBase},
    {"basenum(", fnBaseNum},
    {"string(", fnString},
    {"numeric(", fnNumeric},
    {"logic(", fnLogic},
};

constexpr std::array<Kind, 256> BuildKinds()
{
    std::array<Kind, 256> k{};
    auto mark = [&k](int from, int to, Kind kind) {
        for (int op = from; op <= to; ++op) {
            k[static_cast<std::size_t>(op)] = kind;
        }
    };
    mark(tkPlus, tkDivide, kindNumber);
    mark(tkNegate, tkNegate, kindNumber);
    mark(fnCos, fnLength, kindNumber); // includes "^"
    mark(fnAscii, fnAscii, kindNumber);
    mark(fnNot, fnStrToStamp, kindNumber);
    mark(fnPos, fnPos, kindNumber);
    mark(fnMaxVal, fnAvgVal, kindNumber);
    mark(fnBaseNum, fnBaseNum, kindNumber);
    mark(fnNumeric, fnLogic, kindNumber);
    mark(tkDiv, tkMod, kindNumber);
    mark(tkAnd, tkOr, kindNumber);
    mark(tkEqual, tkNotEqual, kindNumber);
    for (int op : std::initializer_list<int>{fnTrimLeft, fnTrimRight, fnTrim, fnChar, fnUpper, fnLower, fnStampToDateStr, fnStampToTimeStr,
                   fnStampToStr, fnCopy, fnCopyTo, fnReplace, fnIff, fnInsert, fnNumBase, fnString, tkConcat}) {
        k[static_cast<std::size_t>(op)] = kindString;
    }
    return k;
}

constexpr std::array<Kind, 256> kKinds = BuildKinds();

} // namespace

int FunctionCode(std::string_view lowerNameWithParen)
{
    for (const NamedFunction& f : kFunctions) {
        if (f.name == lowerNameWithParen) {
            return f.code;
        }
    }
    return 0;
}

Kind OperationKind(int op)
{
    if (op < 0 || op >= static_cast<int>(kKinds.size())) {
        return kindUnset;
    }
    return kKinds[static_cast<std::size_t>(op)];
}

} // namespace calc
