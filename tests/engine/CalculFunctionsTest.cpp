#include "CalculTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(CalculFunctions, Trigonometry)
{
    ExpectResults({
        {"cos(0)", "1"},
        {"sin(0)", "0"},
        {"SIN(1)", "0.841470984808"}, // names ignore case
        {"tg(1)", "1.557407724655"},
        {"ctg(1)", "0.642092615934"},
        {"ctg(0)", "+Inf"},
        {"arcsin(1)", "1.570796326795"},
        {"arccos(1)", "0"},
        {"arcsin(2)", "Nan"},
        {"arccos(-2)", "Nan"},
        {"arctg(1)", "0.785398163397"},
        {"arcctg(1)", "0.785398163397"},
        {"arcctg(0)", "1.570796326795"},
        {"sin(x)*r", "2"},
    },
                  "x=1.5707963267948966\r\nr=2\r\n");
}

TEST(CalculFunctions, PowersLogarithmsAndHyperbolics)
{
    ExpectResults({
        {"sqrt(16)", "4"},
        {"sqrt(2)", "1.414213562373"},
        {"sqrt(-1)", "Nan"},
        {"ln(1)", "0"},
        {"ln(0)", "-Inf"},
        {"ln(-1)", "Nan"},
        {"exp(0)", "1"},
        {"exp(1)", "2.718281828459"},
        {"exp(100000)", "+Inf"},
        {"sh(0)", "0"},
        {"sh(1)", "1.175201193644"},
        {"ch(0)", "1"},
        {"th(1)", "0.761594155956"},
        {"cth(1)", "1.313035285499"},
        {"cth(0)", "+Inf"},
    });
}

TEST(CalculFunctions, SignsAndRounding)
{
    ExpectResults({
        {"abs(-2.5)", "2.5"},
        {"abs(3)", "3"},
        {"sign(0.00000002)", "1"},
        {"sign(0.000000005)", "0"},
        {"sign(-0.00000005)", "0"},   // the negative limit is 1e-7
        {"sign(-0.0000002)", "-1"},
        {"sign(0)", "0"},
        {"heaviside(0)", "1"},
        {"heaviside(-0.001)", "0"},
        {"h(5)", "1"},
        {"frac(2.75)", "0.75"},
        {"frac(-2.75)", "-0.75"},
        {"trunc(2.75)", "2"},
        {"trunc(-2.75)", "-2"},
        {"trunc(1e20)", "100000000000000000000"},
        {"not(0)", "1"},
        {"not(0.99)", "1"},
        {"not(1)", "0"},
        {"logic(0.99999995)", "1"},
        {"logic(0.5)", "0"},
        {"logic(3)", "1"},
        {"numeric(\" 1 234,5 \")", "1234.5"},
    });
}

TEST(CalculFunctions, StringFunctions)
{
    ExpectResults({
        {"length(\"abc\")", "3"},
        {"length(\"\")", "0"},
        {"length(\"h\xC3\xA9llo\")", "5"}, // characters, not bytes
        {"trimleft(\"  a \")", "\"a \""},
        {"trimright(\"  a \")", "\"  a\""},
        {"trim(\"  a \")", "\"a\""},
        {"upper(\"abc\xC3\xA9\")", "\"ABC\xC3\x89\""},
        {"lower(\"ABC\")", "\"abc\""},
        {"char(65)", "\"A\""},
        {"char(321)", "\"A\""}, // low 8 bits
        {"char(128)", "\"\xE2\x82\xAC\""},
        {"ascii(\"A\")", "65"},
        {"ascii(\"\xE2\x82\xAC\")", "128"},
        {"ascii(\"\")", ""}, // an empty value of number kind
        {"string(12)", "\"12\""},
        {"string(\"x\")", "\"x\""},
        {"existvar(\"a\")", "1"},
        {"existvar(\"A\")", "1"},
        {"existvar(\"b\")", "0"},
    },
                  "a=1\r\n");
}

TEST(CalculFunctions, FreeVarDeletesTheFirstLine)
{
    TCalcul calc;
    calc.SetVariablesText("a=1\r\nb=2\r\nA=3\r\n");
    EXPECT_EQ(RunCalc(calc, "freevar(\"a\")").result, "1");
    EXPECT_EQ(calc.GetVariablesText(), "b=2\r\nA=3\r\n");
    EXPECT_EQ(RunCalc(calc, "freevar(\"c\")").result, "0");
    // "1" < "x" is a text comparison; freevar( must delete one line, not two.
    calc.SetVariablesText("a=1\r\na=2\r\n");
    EXPECT_EQ(RunCalc(calc, "freevar(\"a\") < \"x\"").result, "1");
    EXPECT_EQ(calc.GetVariablesText(), "a=2\r\n");
}

TEST(CalculFunctions, CopyFamily)
{
    ExpectResults({
        {"copy(\"abcdef\",2,3)", "\"bcd\""},
        {"copy(\"abcdef\",4)", "\"def\""},
        {"copy(\"abcdef\",7)", "\"\""},
        {"copy(\"abcdef\",2,0)", "\"\""},
        {"copy(\"abcdef\",0,2)", "\"ab\""},
        {"copy(\"abcdef\",5,10)", "\"ef\""},
        {"copy(\"h\xC3\xA9llo\",2,2)", "\"\xC3\xA9l\""},
        {"copyto(\"abcdef\",2,4)", "\"bcd\""},
        {"copyto(\"abcdef\",4,2)", "\"\""},
        {"copyto(\"abcdef\",3)", "\"cdef\""},
        {"pos(\"cd\",\"abcdef\")", "3"}, // the node's number kind wins over the quotes
        {"pos(\"x\",\"abcdef\")", "0"},
        {"pos(\"\",\"abc\")", "0"},
        {"delete(\"abcdef\",2,3)", "\"aef\""},
        {"delete(\"abcdef\",3)", "\"ab\""},
        {"delete(\"abcdef\",9,1)", "\"abcdef\""},
        {"delete(\"abcdef\",2,0)", "\"abcdef\""},
        {"insert(\"abc\",\"X\",2)", "\"aXbc\""},
        {"insert(\"abc\",\"X\",99)", "\"abcX\""},
        {"insert(\"abc\",\"X\",-5)", "\"Xabc\""},
        {"insert(\"\",\"X\",5)", "\"X\""},
        {"copy(s,2,2)", "\"bc\""},
    },
                  "s=\"abcd\"\r\n");
}

TEST(CalculFunctions, Replace)
{
    ExpectResults({
        {"replace(\"aAbA\",\"a\",\"x\")", "\"xxbx\""},       // all, ignoring case by default
        {"replace(\"aAbA\",\"a\",\"x\",0)", "\"xAbA\""},     // only the first
        {"replace(\"aAbA\",\"a\",\"x\",1,0)", "\"xAbA\""},   // case-sensitive
        {"replace(\"aAbA\",\"A\",\"x\",1,0)", "\"axbx\""},
        {"replace(\"abc\",\"\",\"x\")", "\"abc\""},
        {"replace(\"abab\",\"ab\",\"\")", "\"\""},
        {"replace(\"x\xC3\xA9y\",\"\xC3\x89\",\"e\")", "\"xey\""},
    });
}

TEST(CalculFunctions, AggregatesTakeAnyNumberOfValues)
{
    ExpectResults({
        {"maxval(3,7,5)", "7"},
        {"minval(3,7,5)", "3"},
        {"sumval(1,2,3,4,5,6,7)", "28"},
        {"avgval(1,2)", "1.5"},
        {"maxval(4)", "4"},
        {"maxval(1,maxval(2,9),3)", "9"},
        {"sumval(1,sumval(2,sumval(3,4),5),6)", "21"},
        {"maxval(-1,-5)", "-1"},
        {"sumval(x,1)", "3.5"},
        // A parenthesised call inside an argument stays inside it (4, not 2).
        {"minval(9,(minval(8,9,2))+maxval(8,abs(4)),abs(4))", "4"},
    },
                  "x=2,5\r\n");
}

TEST(CalculFunctions, IffChoosesByTheIntegerCondition)
{
    ExpectResults({
        {"iff(1,2,3)", "\"2\""},
        {"iff(0.99999995,2,3)", "\"2\""},
        {"iff(2,2,3)", "\"3\""},
        {"iff(0,2,3)", "\"3\""},
        {"iff(a > 2, 1, 0)", "\"1\""},
        {"iff(1,\"yes\",\"no\")", "\"yes\""},
        {"iff(1,copy(\"abc\",2),3)", "\"bc\""},
    },
                  "a=3\r\n");
}

TEST(CalculFunctions, NumberBases)
{
    ExpectResults({
        {"numbase(255,16)", "\"FF\""},
        {"numbase(10,40)", "\"A\""},
        {"numbase(5,1)", "\"101\""},
        {"numbase(0,2)", "\"0\""},
        {"numbase(-10,2)", "\"-1010\""},
        {"basenum(\"ff\",16)", "255"},
        {"basenum(\"101\",2)", "5"},
        {"basenum(\"0\",16)", ""},
        {"basenum(\"G1\",16)", ""},
        {"basenum(19,10)", "19"},
    });
}

TEST(CalculFunctions, MultiArgumentErrors)
{
    ExpectErrors({
        {"copy(\"abc\")", "Not enough params"},
        {"copyto(\"abc\")", "Not enough params"},
        {"pos(\"a\")", "Not enough params"},
        {"delete(\"a\")", "Not enough params"},
        {"replace(\"a\",\"b\")", "Not enough params"},
        {"iff(1,2)", "Not enough params"},
        {"insert(\"a\",\"b\")", "Not enough params"},
        {"numbase(1)", "Not enough params"},
        {"basenum(\"1\")", "Not enough params"},
        {"maxval()", "Error, not enough params"},
        {"minval( )", "Error, not enough params"},
        {"sumval()", "Error, not enough params"},
        {"avgval()", "Error, not enough params"},
        {"copy()", "Not enough params"},
        {"iff()", "Not enough params"},
        {"sin()", "? operand "},
        {"copy(\"abc\",x)", "Error, convert to numeric value:x"},
        {"maxval(1,\"a\")", "Error, convert to numeric value:a"},
    },
                 "x=\"x\"\r\n");
}

TEST(CalculFunctions, ArgumentsBeyondTheFifthAreIgnored)
{
    TCalcul calc;
    EXPECT_EQ(RunCalc(calc, "copy(\"abcdef\",2,3,4,5,6,7)").result, "\"bcd\"");
    EXPECT_TRUE(calc.ArgStack().empty());
    // ... also inside another call, whose own arguments stay intact.
    EXPECT_EQ(RunCalc(calc, "sumval(1,iff(1,2,3,4,5,6,65),10)").result, "13");
    EXPECT_EQ(RunCalc(calc, "maxval(1,copy(\"5\",1,1,1,1,66,62))").result, "5");
}

TEST(CalculFunctions, CommaInsideSingleArgumentCallJoinsTheEnclosingCall)
{
    // The value after the "," joins sumval's arguments.
    const CalcOutcome o = RunCalc("sumval(1,abs(-2,3))");
    EXPECT_TRUE(o.ok) << o;
    EXPECT_EQ(o.result, "6");
}

TEST(CalculFunctions, EvalCalculatesATextOnACopyOfTheVariables)
{
    TCalcul calc;
    calc.SetVariablesText("f=\"2*x\"\r\nx=4\r\ng=\"[x+1]\"\r\n");
    EXPECT_EQ(RunCalc(calc, "eval(f)+1").result, "9");
    EXPECT_EQ(RunCalc(calc, "eval(g)").result, "5");
    EXPECT_EQ(RunCalc(calc, "eval(\"\"\"a\"\"|\"\"b\"\"\")").result, "\"ab\"");
    // A string result joins other text without its quotes, like a variable's value.
    EXPECT_EQ(RunCalc(calc, "eval(\"\"\"a\"\"\")|\"b\"").result, "\"ab\"");
    // A failing inner formula gives an empty value, not an error.
    const CalcOutcome bad = RunCalc(calc, "eval(\"nosuch\")|\"!\"");
    EXPECT_TRUE(bad.ok) << bad;
    EXPECT_EQ(bad.result, "\"!\"");
    // Definitions made inside are lost with the inner variables.
    EXPECT_EQ(RunCalc(calc, "eval(\"y:=1;y\")").result, "1");
    EXPECT_EQ(calc.GetVariables().IndexOfName("y"), -1);
    EXPECT_EQ(calc.GetVariables().IndexOfName("@@y"), -1);
}

TEST(CalculFunctions, SelfEvaluationStopsAtTheNestingLimit)
{
    TCalcul calc;
    calc.SetVariablesText("loop=\"eval(loop)\"\r\n");
    const CalcOutcome o = RunCalc(calc, "eval(loop)");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.errorText, "Invalid expression");
    EXPECT_EQ(o.result, "<untouched>");

    // Fewer levels than the limit calculate normally.
    std::string chain = "v0=1\r\n";
    for (int i = 1; i < 20; ++i) {
        chain += "v" + std::to_string(i) + "=\"eval(v" + std::to_string(i - 1) + ")+1\"\r\n";
    }
    calc.SetVariablesText(chain);
    EXPECT_EQ(RunCalc(calc, "eval(v19)").result, "20");

    // Each nested calculator recurses deeply; together they would exhaust the stack.
    std::string body = "eval(E)";
    for (int i = 0; i < 1500; ++i) {
        body += "+1";
    }
    calc.SetVariablesText("E=\"" + body + "\"\r\n");
    EXPECT_EQ(RunCalc(calc, "eval(E)").errorText, "Invalid expression");
}



} // namespace
