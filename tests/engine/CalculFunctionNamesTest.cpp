#include "engine/calcul/CalculFunctionNames.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace calc;

TEST(CalculFunctionNames, OnlyCallsMapToCodes)
{
    // Every name is exercised through the evaluator; here only the forms that are no call.
    struct Case {
        const char* name;
        int code;
    } cases[] = {{"h(", 28}, {"sin", 0}, {"SIN(", 0} /* callers lower-case first */, {"sinus(", 0}, {"(", 0}};
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
