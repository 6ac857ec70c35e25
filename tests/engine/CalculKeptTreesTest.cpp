// The evaluator keeps the parsed form of each formula and uses it again when the same
// text comes back. Every calculation of a long-lived calculator must give what a fresh
// calculator with the same variables gives: the result, the error text, the kind and
// the variables it leaves.

#include "CalculTestSupport.h"

#include "engine/calcul/CalculNumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// Runs `formula` on `kept` and on a fresh calculator holding the same variables.
void ExpectSameAsFresh(TCalcul& kept, const std::string& formula)
{
    TCalcul fresh;
    fresh.SetVariablesText(kept.GetVariablesText());
    const CalcOutcome expected = RunCalc(fresh, formula);
    const CalcOutcome got = RunCalc(kept, formula);
    EXPECT_EQ(got.ok, expected.ok) << formula << " -> " << got;
    EXPECT_EQ(got.result, expected.result) << formula;
    EXPECT_EQ(got.errorText, expected.errorText) << formula;
    EXPECT_EQ(got.kind, expected.kind) << formula;
    EXPECT_EQ(kept.GetVariablesText(), fresh.GetVariablesText()) << formula;
}

const char* const Formulas[] = {
    "R * 37/97 + 1",      "A + 3 * 0.5",       "1/3*3",             "-(X - 1.5) * 2 + R / 4",
    "X / 0 + 1",          "2 ^ 10 - 1",        "NAME | \"_\" | X",  "IFF(A > 2, 1, 0)",
    "maxval(X, R, 7)",    "sin(A) * R",        "S + 1",             "UNKNOWN * 2",
    "1e4000 * 1e4000 + 1", "ln(0) + 1",        "(1 + 2",            "1 +",
    "copy(\"abcdef\", 2, 3)", "X = 12.5",      "eval(\"R*2\") + 1", "-X",
    "Y:=R*2;Y+1",         "1.5.5 + 1",         "\"unclosed",        "2 ^ (X)",
};

const char* const Variables = "X=12.5\r\nR=3\r\nA=0.7853981634\r\nNAME=\"PART\"\r\nS=\"text\"\r\n";

TEST(CalculKeptTrees, EveryUseGivesWhatAFreshParseGives)
{
    TCalcul kept;
    kept.SetVariablesText(Variables);
    // Each formula three times, in turns, so the later uses find their kept trees.
    for (int round = 0; round < 3; ++round) {
        for (const char* formula : Formulas) {
            ExpectSameAsFresh(kept, formula);
        }
    }
}

TEST(CalculKeptTrees, ResultsFollowTheVariablesOfEachUse)
{
    TCalcul kept;
    kept.SetVariablesText("X=1\r\nR=2\r\n");
    const CalcOutcome first = RunCalc(kept, "X * R + 1");
    kept.SetVariablesText("X=10\r\nR=2.5\r\n");
    const CalcOutcome second = RunCalc(kept, "X * R + 1");
    kept.SetVariablesText("X=\"word\"\r\nR=2.5\r\n");
    const CalcOutcome third = RunCalc(kept, "X * R + 1");
    kept.SetVariablesText("R=2.5\r\n");
    const CalcOutcome fourth = RunCalc(kept, "X * R + 1");
    EXPECT_EQ(first.result, "3");
    EXPECT_EQ(second.result, "26");
    EXPECT_FALSE(third.ok);
    EXPECT_EQ(third.errorText, "Error, convert to numeric value:word");
    EXPECT_FALSE(fourth.ok);
    EXPECT_EQ(fourth.errorText, "Unknown variable:X");
}

// The kind of a kept tree's value comes from each use: a variable may hold a number
// one time and a string the next.
TEST(CalculKeptTrees, KindsFollowEachUse)
{
    TCalcul kept;
    for (const char* variables : {"X=1\r\n", "X=\"a\"\r\n", "X=\r\n", "X=2\r\n"}) {
        kept.SetVariablesText(variables);
        for (const char* formula : {"X", "X | \"\"", "IFF(1, X, 2)"}) {
            ExpectSameAsFresh(kept, formula);
        }
    }
}

// A formula that defines a name with ":=" changes the variables as it is parsed, so it
// is parsed afresh every time, and what it defined is there for the next formula.
TEST(CalculKeptTrees, DefinitionsAreParsedEveryTime)
{
    TCalcul kept;
    kept.SetVariablesText("R=3\r\n");
    for (const char* formula : {"Y:=R*2;Y+1", "Y + 1", "Y:=R*3;Y+1", "Y:=R*2;Y+1", "freevar(\"Y\")", "Y + 1"}) {
        ExpectSameAsFresh(kept, formula);
    }
}

// Past the number of formulas kept, the kept ones are dropped and keeping starts again;
// nothing of a dropped tree may leak into a later one.
TEST(CalculKeptTrees, ManyDistinctFormulasStayRight)
{
    TCalcul kept;
    kept.SetVariablesText(Variables);
    const int count = static_cast<int>(TCalcul::kMaxKeptFormulas) + 500;
    std::vector<std::string> formulas;
    for (int i = 0; i < count; ++i) {
        formulas.push_back("X * " + std::to_string(i) + " / 7 - R");
    }
    for (const std::string& formula : formulas) {
        RunCalc(kept, formula);
    }
    for (int i : {0, 1, count / 2, count - 1}) {
        ExpectSameAsFresh(kept, formulas[static_cast<std::size_t>(i)]);
    }
}

// Within a chain of arithmetic operators the values are not written as text: each is
// rounded to what its text would read back as. The rounding must match the writer and
// the reader exactly, bit for bit, at every magnitude and near every half.
TEST(CalculKeptTrees, ChainValuesAreTheirTextsReadBack)
{
    std::mt19937_64 rng(17);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<long double> values = {0.0L, -0.0L, 5e-13L, 4.999999999999999e-13L, -5e-13L, 1e6L, 999999.9999999995L,
                                       1e18L, 1e4000L, -2.5L, 1.0L / 3, 123456.7890123456789L};
    for (int i = 0; i < 20000; ++i) {
        const long double scale = std::pow(10.0L, static_cast<int>(rng() % 30) - 14);
        long double v = static_cast<long double>(unit(rng)) * scale;
        if (i % 3 == 0) {
            // Just beside a half of the last written decimal.
            v = (std::floor(v * 1e12L) + 0.5L) / 1e12L;
            v += (i % 2 ? 1 : -1) * v * 0x1p-62L * static_cast<long double>(rng() % 64);
        }
        values.push_back(i % 2 ? -v : v);
    }
    for (long double v : values) {
        std::string text;
        WriteCalcNumber(v, text);
        long double read = 0;
        ASSERT_TRUE(ReadCalcNumber(text, read)) << text;
        long double rounded = 0;
        ASSERT_TRUE(RoundCalcNumber(v, rounded)) << text;
        EXPECT_EQ(std::memcmp(&read, &rounded, 10), 0) << text;
    }
    long double ignored = 0;
    EXPECT_FALSE(RoundCalcNumber(std::numeric_limits<long double>::infinity(), ignored));
    EXPECT_FALSE(RoundCalcNumber(std::numeric_limits<long double>::quiet_NaN(), ignored));
}

} // namespace
