#include "CalculTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(CalculOperators, ArithmeticAndPrecedence)
{
    ExpectResults({
        {"0", "0"},
        {"1+2*3", "7"},
        {"(1+2)*3", "9"},
        {"10/4", "2.5"},
        {"7/0", "0"},
        {"7/0.000000001", "0"},      // a divisor below 1e-8 counts as zero
        {"1/0.00000002", "50000000"}, // just above the limit divides
        {"10-2-3", "5"},             // left-associative
        {"64/4/2", "8"},
        {"2*3/4", "1.5"},
        {"1/3", "0.333333333333"},
        {"2/3", "0.666666666667"},
        {"1/3*3", "0.999999999999"}, // every node's value is its 12-decimal text
        {"0.1+0.2", "0.3"},
        {"12345.1+0.2", "12345.3"},
        {"-0.125", "-0.125"},
        {"1e3+1", "1001"},
        {"2.5E-1*4", "1"},
        {"  3  *  4 ", "12"},
    });
}

TEST(CalculOperators, NegationAndUnaryPlus)
{
    ExpectResults({
        {"-2^2", "4"},      // -2 is one literal at the start of the text
        {"(-2^2)", "4"},    // and after "("
        {"3-2^2", "-1"},    // but a subtraction after an operand
        {"-3*2", "-6"},
        {"-(3)*2", "-6"},   // the negation covers the whole term
        {"1--1", "2"},
        {"1-+1", "0"},
        {"+5", "5"},
        {"2*(-3)", "-6"},
        {"-1-1", "-2"},
        {"-x*y", "-6"},
    },
                  "x=2\r\ny=3\r\n");
}

TEST(CalculOperators, PowerIsLeftAssociativeWithSingleTokenExponents)
{
    ExpectResults({
        {"2^0.5", "1.414213562373"},
        {"2^3^2", "64"}, // (2^3)^2
        {"2^(3)", "8"},
        {"2^(-1)", "0.5"}, // "-1" after "(" is one literal
        {"10^(-2)", "0.01"},
        {"(-2)^3", "-8"},
        {"5^0", "1"},
        {"0^0", "1"},
        {"0^3", "0"},
        {"2^10", "1024"},
        {"4^0.5", "2"},
        {"(-4)^0.5", "Nan"},
        {"2^x", "8"},
        {"2^(x)", "8"},
    },
                  "x=3\r\n");
}

TEST(CalculOperators, IntegerDivisionAndModulo)
{
    ExpectResults({
        {"7 div 2", "3"},
        {"-7 div 2", "-3"},
        {"7 div 0", "0"},
        {"7 DIV 2", "3"},
        {"7 mod 2", "1"},
        {"-7 mod 2", "-1"}, // the remainder takes the sign of the left operand
        {"2.9999999 div 1", "3"}, // the 1e-7 nudge before truncation
        {"7.9 div 2", "3"},
        {"1+7 mod 4", "4"},
        {"7 mod (-2)", "1"},
    });
}

TEST(CalculOperators, ComparisonsShareTheLevelOfTimes)
{
    ExpectResults({
        {"1+2=3", "1"},   // 1 + (2=3)
        {"1=1.0", "0"},   // "=" compares texts
        {"1=1", "1"},
        {"2<>3", "1"},
        {"2<>2", "0"},
        {"1<2", "1"},
        {"2<1", "0"},
        {"1<=1", "1"},
        {"2>=3", "0"},
        {"3>2", "1"},
        {"1 < 2 and 2 < 3", "1"},
        {"1.0<=1", "1"},  // numbers compare as numbers
        {"10>9", "1"},
        {"\"abc\" < \"abd\"", "1"},
        {"\"abd\" < \"abc\"", "0"},
        {"\"10\" > \"9\"", "1"},  // number texts still compare as numbers
        {"\"a\" < \"B\"", "1"},   // text order is alphabetical first
        {"\"a\" < \"A\"", "1"},   // then lower case before upper case
        {"\"A\" <= \"A\"", "1"},
        {"\"x\"=\"x\"", "1"},
        {"\"x\"=\"X\"", "0"},
    });
}

TEST(CalculOperators, LogicTreatsOneAndAboveAsTrue)
{
    ExpectResults({
        {"1 and 1", "1"},
        {"1 and 0", "0"},
        {"0.999 and 1", "0"},
        {"2 and 5", "1"},
        {"0 or 1", "1"},
        {"0 or 0.5", "0"},
        {"1 or 0", "1"},
        {"0 and nosuch", "0"}, // the right operand is not evaluated
        {"1 or nosuch", "1"},
        {"1 AND 1", "1"},
    });
}

TEST(CalculOperators, ConcatenationAndStringResults)
{
    ExpectResults({
        {"\"ab\" | \"cd\"", "\"abcd\""},
        {"\"ab\" || \"cd\"", "\"abcd\""},
        {"\"5\"", "\"5\""},
        {"5", "5"},
        {"\"a\"\"b\"", "\"a\"b\""}, // already starts and ends with a quote: not wrapped again
        {"\"\"", "\"\""},
        {"1|2", "\"12\""},
    });
}

TEST(CalculOperators, LikeAndWildcard)
{
    ExpectResults({
        {"\"Hello\" like \"h%\"", "\"1\""}, // the formula holds a quote: the result kind is string
        {"\"Hello\" like \"h_llo\"", "\"1\""},
        {"\"Hello\" like \"h_lo\"", "\"0\""},
        {"\"Hello\" wildcard \"H*O\"", "\"1\""},
        {"\"Hello\" wildcard \"h%\"", "\"0\""},
        {"\"b7\" wildcard \"[a-c]?\"", "\"1\""},
        {"\"d7\" wildcard \"[a-c]?\"", "\"0\""},
        {"x like y", "1"},
    },
                  "x=\"abc\"\r\ny=\"A%\"\r\n");
}

TEST(CalculOperators, SemicolonKeepsTheRightValue)
{
    ExpectResults({
        {"1;2", "2"},
        {"1+1;;", "2"}, // trailing ";" and blanks are stripped first
        {"1+1; ;", "2"},
    });
}

// Chains of one precedence far longer than any nesting limit: the tree leans left as
// deep as the chain is long, and every operator keeps its operand order in it.
TEST(CalculOperators, LongChainsEvaluate)
{
    const auto chain = [](const std::string& first, const std::string& step, int count) {
        std::string f = first;
        for (int i = 0; i < count; ++i) {
            f += step;
        }
        return f;
    };
    const struct {
        std::string Formula;
        const char* Result;
    } cases[] = {
        {chain("1", "+1", 99999), "100000"},
        {chain("0", "-1", 100000), "-100000"},
        {chain("2", "*1", 100000), "2"},
        {chain("1", "^1", 50000), "1"},
        {chain("(1+1)", "*(2-1)", 50000), "2"},
        {chain("1", "=1", 50000), "1"},
        {chain("1", " and 1", 50000), "1"},
        // "/" takes its divisor first: a zero divisor settles the quotient before the
        // unknown name on the far left is ever read.
        {chain("nothing/0", "/2", 50000), "0"},
        {chain("nothing div 0", " div 2", 50000), "0"},
        {chain("\"a\"", "|\"b\"", 3), "\"abbb\""},
        {"maxval(" + chain("1", ",2", 20000) + ")", "2"},
        {chain("1", ";2", 50000), "2"},
    };
    for (const auto& c : cases) {
        const CalcOutcome o = RunCalc(c.Formula);
        EXPECT_TRUE(o.ok) << c.Formula.substr(0, 40) << " -> " << o;
        EXPECT_EQ(o.result, c.Result) << c.Formula.substr(0, 40);
    }
    // An error deep in a chain is still the first error.
    EXPECT_EQ(RunCalc(chain("1", "+1", 50000) + "+nothing" + chain("", "+1", 50000)).errorText,
              "Unknown variable:nothing");
    EXPECT_EQ(RunCalc(chain("nothing", "+1", 50000)).errorText, "Unknown variable:nothing");
}

} // namespace
