#include "CalculTestSupport.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(CalculVariables, ValuesReadAsNumbersOrStrings)
{
    const char* vars = "x=3,5\r\nName=\"abc\"\r\nhalf=\"ab\r\nempty=\r\nspaced=   4\r\nX=99\r\n";
    struct Case {
        const char* formula;
        const char* result;
        int kind;
    } cases[] = {
        {"x*2", "7", 1},          // "," reads as "."
        {"X", "3,5", 1},          // the first line of a name wins, whatever the case
        {"name", "\"abc\"", 2},   // quotes come off when read, back on for the caller
        {"NAME|\"d\"", "\"abcd\"", 2},
        {"half", "\"ab\"", 2},    // a missing closing quote is tolerated
        {"empty", "\"\"", 2},     // an empty value is a string
        {"spaced+1", "5", 1},     // leading blanks dropped
    };
    for (const auto& c : cases) {
        const CalcOutcome o = RunCalc(c.formula, vars);
        EXPECT_TRUE(o.ok) << c.formula << " -> " << o;
        EXPECT_EQ(o.result, c.result) << c.formula;
        EXPECT_EQ(o.kind, c.kind) << c.formula;
    }
}

TEST(CalculVariables, InlineDefinitions)
{
    struct Case {
        const char* vars;
        const char* formula;
        bool ok;
        const char* result;
        const char* after; // the variables text afterwards
    } cases[] = {
        {"", "x:=2*3;x+1", true, "7", "x=6\r\n"},                            // becomes a plain line
        {"a=1\r\nx=5\r\nb=2\r\n", "x:=a+b;x*10", true, "30", "a=1\r\nx=3\r\nb=2\r\n"}, // replaces in place
        {"", "t:=\"a;b\";t", true, "\"a;b\"", "t=\"a;b\"\r\n"},         // ";" inside quotes
        {"", "x :=2", false, "<untouched>", ""},                            // a blank before ":=": no definition
        {"", "x:=nosuch+1;x|\"!\"", true, "\"!\"", "x=\r\n"},            // an inner error leaves an empty value
    };
    for (const Case& c : cases) {
        TCalcul calc;
        calc.SetVariablesText(c.vars);
        const CalcOutcome o = RunCalc(calc, c.formula);
        EXPECT_EQ(o.ok, c.ok) << c.formula << " -> " << o;
        EXPECT_EQ(o.result, c.result) << c.formula;
        EXPECT_EQ(calc.GetVariablesText(), c.after) << c.formula;
    }
}

TEST(CalculVariables, DefinitionOfAStringKeepsItQuoted)
{
    TCalcul calc;
    const CalcOutcome o = RunCalc(calc, "s:=\"ab\"|\"c\";s|\"d\"");
    EXPECT_EQ(o.result, "\"abcd\"");
    EXPECT_EQ(calc.GetVariables().Values("s"), "\"abc\"");
    // Read back as an ordinary variable it gives the same value.
    EXPECT_EQ(RunCalc(calc, "s|\"d\"").result, "\"abcd\"");
}

TEST(CalculVariables, UnusedDefinitionStaysAsWritten)
{
    TCalcul calc;
    // The right operand of "and" is not evaluated when the left is false.
    EXPECT_EQ(RunCalc(calc, "0 and y:=1+1").result, "0");
    EXPECT_EQ(calc.GetVariablesText(), "@@y=[1+1]\r\n");
    // Only the definition token itself calculates it; the bare name does not find it.
    EXPECT_EQ(RunCalc(calc, "y*2").errorText, "Unknown variable:y");
    EXPECT_EQ(calc.GetVariablesText(), "@@y=[1+1]\r\n");
}

TEST(CalculVariables, ListOperations)
{
    TCalculVariables v;
    v.SetText("a=1\nB=two=2\r\nc\r\n");
    ASSERT_EQ(v.Count(), 3);
    EXPECT_EQ(v.IndexOfName("b"), 1);
    EXPECT_EQ(v.ValueFromIndex(1), "two=2"); // the value runs from the first "="
    EXPECT_EQ(v.Names(1), "B");
    EXPECT_EQ(v.IndexOfName("c"), 2);
    EXPECT_EQ(v.IndexOfName("two"), -1);
    EXPECT_EQ(v.IndexOfName("a=1"), -1);
    v.SetValue("A", "5");
    EXPECT_EQ(v.Strings(0), "A=5");
    v.SetValue("d", "7");
    EXPECT_EQ(v.Text(), "A=5\r\nB=two=2\r\nc\r\nd=7\r\n");
    v.Delete(2);
    EXPECT_EQ(v.Count(), 3);
    EXPECT_THROW(v.Delete(3), EListError);
    EXPECT_THROW(v.Strings(-1), EListError);
    v.SetText("");
    EXPECT_TRUE(v.Empty());
}


TEST(CalculVariables, RepeatedFormulaSeesCurrentVariables)
{
    TCalcul calc;
    calc.SetVariablesText("x=1\r\n");
    EXPECT_EQ(RunCalc(calc, "x+1").result, "2");
    calc.GetVariables().SetValue("x", "5");
    EXPECT_EQ(RunCalc(calc, "x+1").result, "6");
    calc.GetVariables().SetValue("x", "\"ab\"");
    const CalcOutcome text = RunCalc(calc, "x");
    EXPECT_EQ(text.result, "\"ab\"");
    EXPECT_EQ(text.kind, 2);
    calc.GetVariables().SetValue("x", "3");
    const CalcOutcome number = RunCalc(calc, "x");
    EXPECT_EQ(number.result, "3");
    EXPECT_EQ(number.kind, 1);
    calc.GetVariables().Clear();
    EXPECT_EQ(RunCalc(calc, "x+1").errorText, "Unknown variable:x");
    // A repeated definition defines again.
    calc.SetVariablesText("n=1\r\n");
    EXPECT_EQ(RunCalc(calc, "y:=n*2;y").result, "2");
    calc.GetVariables().SetValue("n", "4");
    EXPECT_EQ(RunCalc(calc, "y:=n*2;y").result, "8");
    EXPECT_EQ(calc.GetVariablesText(), "n=4\r\ny=8\r\n");
}

} // namespace
