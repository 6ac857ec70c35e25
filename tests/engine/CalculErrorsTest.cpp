#include "CalculTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(CalculErrors, EveryMessageAsTheUserSeesIt)
{
    ExpectErrors({
        {"", "? operand "},
        {"   ", "? operand "},
        {"1+", "? operand "},
        {"2*-3", "? operand "}, // "-" after an operator is no literal
        {"7 mod -2", "? operand "},
        {"*2", "? operand "},
        {"()", "? operand "},
        {"(1+2", "Invalid formula (..)"},
        {"1+2)", "Invalid formula (..)"},
        {"((1)", "Invalid formula (..)"},
        {"3,5", "Invalid formula (..)"}, // a comma outside any call
        {"1 2", "Invalid expression"},
        {"1 \"a\"", "Invalid expression"},
        {"1 x", "Invalid expression"},
        {"2^-1", "Invalid values"},
        {"2^", "Invalid values"},
        {"2^sin(1)", "Invalid values"},
        {"2^(1+1)", "invalid formule"}, // a parenthesised exponent is one token
        {"(-8)^(1/3)", "invalid formule"},
        {"sin 1", "Invalid expression"}, // "sin" without "(" is a name followed by a number
        {"^2", "invalid formule"},       // "^" where an operand belongs needs a "("
        {"^(2)", "Invalid formula (..)"}, // and then has no exponent
        {"7 mod 0", "invalid formule"},
        {"1.", "Wrong number in 1."},
        {"2*1.+3", "Wrong number in 2*1.+3"},
        {"1e", "Wrong number in 1e"},
        {"1e+", "Wrong number in 1e+"},
        {"\"abc", "String value end error"},
        {"\"a\"\"", "String value end error"},
        {"foo(1)", "Invalid function foo(...)"},
        {"Sinus(1)", "Invalid function Sinus(...)"},
        {"nosuch", "Unknown variable:nosuch"},
        {"1+NoSuch*2", "Unknown variable:NoSuch"},
        {"'+1", "Unknown variable:"}, // a quote yields an empty name
        {"'x", "Invalid expression"}, // ... and the text after it is read on
        {"'", "invalid formule"},
        {"\"a\"+1", "Error, convert to numeric value:a"},
        {"\"x\" | 1+1", "Error, convert to numeric value:x1"}, // ("x"|1)+1
        {"s*2", "Error, convert to numeric value: 1 2"},
        {"sqrt(-1)+1", "Error, convert to numeric value:Nan"},
        {"sin(1,2)", "invalid formule"}, // a "," with no multi-argument call open
    },
                 "s=\" 1 2\"\r\n");
}

TEST(CalculErrors, CharactersThatStartNoTokenEndTheExpression)
{
    // The rest of the text is not read: "1 & 2" is 1, "#" alone is a missing operand.
    const CalcOutcome amp = RunCalc("1 & 2");
    EXPECT_TRUE(amp.ok) << amp;
    EXPECT_EQ(amp.result, "1");
    EXPECT_EQ(RunCalc("#").errorText, "? operand ");
    EXPECT_EQ(RunCalc("3 ? 4").result, "3");
}

TEST(CalculErrors, FirstErrorIsKeptAndResultUntouched)
{
    TCalcul calc;
    CalcOutcome o = RunCalc(calc, "a + b");
    EXPECT_EQ(o.errorText, "Unknown variable:a"); // b's error does not overwrite it
    EXPECT_TRUE(calc.Error());

    // The next calculation starts clean.
    o = RunCalc(calc, "1+1");
    EXPECT_TRUE(o.ok);
    EXPECT_FALSE(calc.Error());
    EXPECT_EQ(calc.ErrorText(), "");
    EXPECT_EQ(o.result, "2");

    // A failed calculation leaves whatever the caller held.
    std::string held = "previous";
    calc.Formula = "1+";
    EXPECT_FALSE(calc.Calculate(held));
    EXPECT_EQ(held, "previous");
}

TEST(CalculErrors, ResultKindAfterFailureFollowsTheQuotes)
{
    TCalcul calc;
    EXPECT_EQ(calc.ResultKind(), 0);
    RunCalc(calc, "\"a\" + 1");
    EXPECT_EQ(calc.ResultKind(), 2);
    RunCalc(calc, "nosuch");
    EXPECT_EQ(calc.ResultKind(), 1);
}

TEST(CalculErrors, FormulaLosesTrailingBlanksAndSemicolons)
{
    TCalcul calc;
    const CalcOutcome o = RunCalc(calc, "1+1; ;  ");
    EXPECT_EQ(o.result, "2");
    EXPECT_EQ(calc.Formula, "1+1");
}

TEST(CalculErrors, NestingLimitsGiveErrorsInsteadOfOverruns)
{
    // Parentheses nested beyond the parser's limit.
    std::string deep(TCalcul::kMaxParenDepth + 1, '(');
    deep += "1";
    deep += std::string(TCalcul::kMaxParenDepth + 1, ')');
    EXPECT_EQ(RunCalc(deep).errorText, "Invalid expression");

    // Within the limit the same shape calculates.
    std::string fine(100, '(');
    fine += "2" + std::string(100, ')');
    EXPECT_EQ(RunCalc(fine).result, "2");

}

TEST(CalculErrors, MultiArgumentCallsNestedBeyondOneHundredLevels)
{
    auto nested = [](int levels) {
        std::string f;
        for (int i = 0; i < levels; ++i) {
            f += "maxval(1,";
        }
        f += "2";
        f += std::string(static_cast<std::size_t>(levels), ')');
        return f;
    };
    EXPECT_EQ(RunCalc(nested(101)).errorText, "Invalid expression");
    const CalcOutcome ok = RunCalc(nested(20));
    EXPECT_TRUE(ok.ok) << ok;
    EXPECT_EQ(ok.result, "2");
}

} // namespace
