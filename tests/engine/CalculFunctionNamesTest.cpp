#include "engine/calcul/CalculFunctionNames.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace calc;

TEST(CalculFunctionNames, NamesMapToTheirCodes)
{
    struct Case {
        const char* name;
        int code;
    } cases[] = {
        {"cos(", 11},        {"sin(", 12},      {"tg(", 13},          {"ctg(", 14},       {"abs(", 15},
        {"sign(", 16},       {"sqrt(", 17},     {"ln(", 18},          {"exp(", 19},       {"arcsin(", 20},
        {"arccos(", 21},     {"arctg(", 22},    {"arcctg(", 23},      {"sh(", 24},        {"ch(", 25},
        {"th(", 26},         {"cth(", 27},      {"heaviside(", 28},   {"h(", 28},         {"existvar(", 29},
        {"freevar(", 30},    {"lastday(", 32},  {"frac(", 33},        {"trunc(", 34},     {"length(", 35},
        {"trimleft(", 38},   {"trimright(", 39}, {"trim(", 41},       {"eval(", 42},      {"char(", 43},
        {"ascii(", 44},      {"upper(", 45},    {"lower(", 46},       {"not(", 47},       {"weekday(", 48},
        {"month(", 49},      {"year(", 50},     {"day(", 51},         {"hour(", 52},      {"minute(", 53},
        {"sec(", 54},        {"strtostamp(", 55}, {"stamptodatestr(", 56}, {"stamptotimestr(", 57},
        {"stamptostr(", 58}, {"copy(", 60},     {"copyto(", 61},      {"pos(", 62},       {"delete(", 63},
        {"replace(", 64},    {"maxval(", 65},   {"minval(", 66},      {"sumval(", 67},    {"avgval(", 68},
        {"iff(", 69},        {"insert(", 70},   {"numbase(", 71},     {"basenum(", 72},   {"string(", 196},
        {"numeric(", 197},   {"logic(", 198},   {"sin", 0},           {"SIN(", 0}, // callers lower-case first
        {"sinus(", 0},       {"(", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FunctionCode(c.name), c.code) << c.name;
    }
}

TEST(CalculFunctionNames, KindsOfOperations)
{
    const std::set<int> numbers = {3,  4,  5,  6,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                                   25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 44, 47, 48, 49, 50, 51, 52, 53,
                                   54, 55, 62, 65, 66, 67, 68, 72, 197, 198, 200, 201, 210, 211, 220, 221, 222,
                                   223, 224, 225};
    const std::set<int> strings = {38, 39, 41, 43, 45, 46, 56, 57, 58, 60, 61, 64, 69, 70, 71, 196, 202};
    for (int op = -1; op < 300; ++op) {
        const Kind expected = numbers.count(op) ? kindNumber : strings.count(op) ? kindString : kindUnset;
        EXPECT_EQ(OperationKind(op), expected) << op;
    }
}

} // namespace
