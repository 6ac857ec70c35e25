#pragma once
// Token codes of the expression language. A parse-tree node carries the code of the
// token it was built from as its operation, so these double as operation codes.

namespace calc {

enum Token : int {
    tkEnd = 0, // end of text, or a character that starts no token
    tkOpen = 1,
    tkClose = 2,
    tkPlus = 3,
    tkMinus = 4,
    tkTimes = 5,
    tkDivide = 6,
    tkNumber = 7,
    tkString = 8,
    tkName = 9,
    tkNegate = 10, // node only, never read as a token
    tkPower = 31,
    tkDiv = 200,
    tkMod = 201,
    tkConcat = 202,
    tkAnd = 210,
    tkOr = 211,
    tkEqual = 220,
    tkLess = 221,
    tkLessEqual = 222,
    tkGreater = 223,
    tkGreaterEqual = 224,
    tkNotEqual = 225,
    tkLike = 230,
    tkWildcard = 231,
    tkComma = 250,
    tkSemicolon = 251,
};

// Function codes: single-argument functions lie in 11..58 and 196..198, the
// multi-argument ones in 60..72.
enum Function : int {
    fnCos = 11,
    fnSin = 12,
    fnTg = 13,
    fnCtg = 14,
    fnAbs = 15,
    fnSign = 16,
    fnSqrt = 17,
    fnLn = 18,
    fnExp = 19,
    fnArcSin = 20,
    fnArcCos = 21,
    fnArcTg = 22,
    fnArcCtg = 23,
    fnSh = 24,
    fnCh = 25,
    fnTh = 26,
    fnCth = 27,
    fnHeaviside = 28,
    fnExistVar = 29,
    fnFreeVar = 30,
    fnLastDay = 32,
    fnFrac = 33,
    fnTrunc = 34,
    fnLength = 35,
    fnTrimLeft = 38,
    fnTrimRight = 39,
    fnTrim = 41,
    fnEval = 42,
    fnChar = 43,
    fnAscii = 44,
    fnUpper = 45,
    fnLower = 46,
    fnNot = 47,
    fnWeekday = 48,
    fnMonth = 49,
    fnYear = 50,
    fnDay = 51,
    fnHour = 52,
    fnMinute = 53,
    fnSec = 54,
    fnStrToStamp = 55,
    fnStampToDateStr = 56,
    fnStampToTimeStr = 57,
    fnStampToStr = 58,
    fnCopy = 60,
    fnCopyTo = 61,
    fnPos = 62,
    fnDelete = 63,
    fnReplace = 64,
    fnMaxVal = 65,
    fnMinVal = 66,
    fnSumVal = 67,
    fnAvgVal = 68,
    fnIff = 69,
    fnInsert = 70,
    fnNumBase = 71,
    fnBaseNum = 72,
    fnString = 196,
    fnNumeric = 197,
    fnLogic = 198,
};

constexpr bool IsMultiArgFunction(int code) { return code >= fnCopy && code <= fnBaseNum; }

// The operators that join a left and a right operand into a chain.
constexpr bool IsBinaryOperator(int op)
{
    switch (op) {
    case tkPlus:
    case tkMinus:
    case tkTimes:
    case tkDivide:
    case tkPower:
    case tkDiv:
    case tkMod:
    case tkConcat:
    case tkAnd:
    case tkOr:
    case tkEqual:
    case tkLess:
    case tkLessEqual:
    case tkGreater:
    case tkGreaterEqual:
    case tkNotEqual:
    case tkLike:
    case tkWildcard:
    case tkComma:
    case tkSemicolon: return true;
    default: return false;
    }
}

// The binary operators that take numbers and give a number.
constexpr bool IsNumberOperator(int op)
{
    return op == tkPlus || op == tkMinus || op == tkTimes || op == tkDivide || op == tkPower;
}

// What a node's value is, deciding only whether a final result is quoted.
enum Kind : unsigned char { kindUnset = 0, kindNumber = 1, kindString = 2 };

} // namespace calc
