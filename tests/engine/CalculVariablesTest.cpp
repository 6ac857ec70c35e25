#include "CalculTestSupport.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

// Names that differ in case only, a name that is a prefix of another, names with bytes
// beyond ASCII (whose case counts), the empty name and a definition's name.
const std::vector<std::string> PoolNames = {"a",  "A",        "ab",       "aB", "b",   "x1",
                                            "X1", "\xC3\xA9", "\xC3\x89", "",   "@@y", "@@Y"};

// Every operation of the list, at random, beside a plain vector of the lines: after
// each, the list holds the same lines, and every name is found where a search of the
// lines finds it. A copy shares the lines until one side changes.
TEST(CalculVariables, NameLookupAgreesWithASearchAfterEveryOperation)
{
    std::mt19937 rng(1);
    const auto below = [&](std::size_t n) { return static_cast<int>(rng() % n); };
    const auto randomName = [&] { return PoolNames[static_cast<std::size_t>(below(PoolNames.size()))]; };
    const auto randomLine = [&] {
        switch (below(5)) {
        case 0: return randomName(); // no "=": the whole line is the name
        case 1: return randomName() + "=" + std::to_string(below(9)) + "=" + randomName(); // "=" in the value
        default: return randomName() + "=" + std::to_string(below(100));
        }
    };
    std::vector<std::string> probes = PoolNames;
    probes.insert(probes.end(), {"a=1", "abc", "x", "@@", "=", "A "});

    TCalculVariables v;
    std::vector<std::string> model;
    std::size_t longest = 0;
    for (int step = 0; step < 4000; ++step) {
        const int count = static_cast<int>(model.size());
        // Lists grow to hundreds of lines and shrink again.
        const bool grow = (step / 1000) % 2 == 0;
        int op = below(10);
        if (!grow && op >= 7) {
            op = 1;
        }
        std::string what;
        if (op == 0 && count > 0) {
            const int i = below(static_cast<std::size_t>(count));
            std::string line = randomLine();
            what = "SetStrings " + std::to_string(i) + " " + line;
            v.SetStrings(i, line);
            model[static_cast<std::size_t>(i)] = line;
        } else if (op <= 2 && count > 0) {
            const int i = below(static_cast<std::size_t>(count));
            what = "Delete " + std::to_string(i);
            v.Delete(i);
            model.erase(model.begin() + i);
        } else if (op == 3) {
            const std::string name = randomName();
            what = "SetValue " + name;
            if (name.find('=') == std::string::npos) {
                v.SetValue(name, "v" + std::to_string(step));
                const int i = SearchLines(model, name);
                if (i < 0) {
                    model.push_back(name + "=v" + std::to_string(step));
                } else {
                    model[static_cast<std::size_t>(i)] = name + "=v" + std::to_string(step);
                }
            }
        } else if (op == 4 && below(300) == 0) {
            what = "Clear";
            v.Clear();
            model.clear();
        } else if (op == 4 && below(100) == 0) {
            what = "SetText";
            std::string text;
            model.clear();
            for (int k = below(30); k > 0; --k) {
                model.push_back(randomLine());
                text += model.back() + (k % 3 == 0 ? "\n" : "\r\n");
            }
            v.SetText(text);
        } else if (op == 5) {
            // A copy changed on its own leaves the list as it was, and back.
            what = "copy";
            TCalculVariables copy(v);
            copy.Add(randomLine());
            if (count > 0) {
                copy.Delete(0);
            }
            ASSERT_EQ(v.Count(), count);
            if (below(4) == 0) {
                v = copy;
                model.push_back(copy.Strings(copy.Count() - 1));
                if (count > 0) {
                    model.erase(model.begin());
                }
            }
        } else if (op == 6) {
            const int i = below(static_cast<std::size_t>(count) + 1);
            std::string line = randomLine();
            what = "Insert " + std::to_string(i) + " " + line;
            v.Insert(i, line);
            model.insert(model.begin() + i, line);
        } else {
            std::string line = randomLine();
            what = "Add " + line;
            v.Add(line);
            model.push_back(line);
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        ASSERT_EQ(v.Count(), static_cast<int>(model.size()));
        longest = std::max(longest, model.size());
        for (const std::string& name : probes) {
            const int expected = SearchLines(model, name);
            ASSERT_EQ(v.IndexOfName(name), expected) << "name [" << name << "]";
            const std::string* line = v.LineOfName(name);
            ASSERT_EQ(line == nullptr ? -1 : 0, expected < 0 ? -1 : 0);
            if (line != nullptr) {
                EXPECT_EQ(*line, model[static_cast<std::size_t>(expected)]);
            }
        }
        if (step % 50 == 0 || model.size() < 20) {
            std::string text;
            for (const std::string& line : model) {
                text += line + "\r\n";
            }
            ASSERT_EQ(v.Text(), text);
            ASSERT_EQ(v.TextLength(), text.size());
            for (int i = 0; i < v.Count(); ++i) {
                ASSERT_EQ(v.Strings(i), model[static_cast<std::size_t>(i)]);
            }
        }
    }
    EXPECT_GT(longest, 300u) << "the walk reached deep lists";
}

// A program that frees hundreds of names beside a few live ones: the name index drops
// its freed entries together now and then, and must keep every live one. The freed
// names are the live ones' neighbours: extensions, case variants, names freed and
// assigned again.
TEST(CalculVariables, FreeingManyNamesKeepsTheLiveOnesFound)
{
    TCalculVariables v;
    std::vector<std::string> model;
    const auto add = [&](const std::string& line) {
        v.Add(line);
        model.push_back(line);
    };
    const auto freeName = [&](const std::string& name) {
        const int i = v.IndexOfName(name);
        ASSERT_EQ(i, SearchLines(model, name)) << name;
        ASSERT_GE(i, 0) << name;
        v.Delete(i);
        model.erase(model.begin() + i);
    };
    std::vector<std::string> probes;
    for (int n = 0; n < 12; ++n) {
        const std::string live = "v" + std::to_string(n);
        add(live + "=" + std::to_string(n));
        probes.insert(probes.end(), {live, "V" + std::to_string(n)});
    }
    for (int n = 0; n < 400; ++n) {
        // v3 beside v30..v39 and v300..v399, in either case; every fourth freed name
        // comes back and goes again later.
        const std::string name = (n % 2 == 0 ? "v" : "V") + std::to_string(n % 12) + std::to_string(n);
        add(name + "=x");
        probes.push_back(name);
        if (n % 3 == 0) {
            add("V" + std::to_string(n % 12) + "=shadowed"); // a second line of a live name
        }
        freeName(name);
        if (n % 4 == 0 && n >= 8) {
            const std::string again = (n % 8 == 0 ? "v" : "V") + std::to_string((n - 8) % 12) + std::to_string(n - 8);
            add(again + "=again");
            freeName(again);
        }
        ASSERT_FALSE(HasFatalFailure()) << "at freed name " << n;
    }
    for (const std::string& name : probes) {
        ASSERT_EQ(v.IndexOfName(name), SearchLines(model, name)) << name;
    }
    // Every live line can still be freed and reassigned by its name.
    for (int n = 0; n < 12; ++n) {
        const std::string name = n % 2 == 0 ? "V" + std::to_string(n) : "v" + std::to_string(n);
        freeName(name);
        v.SetValue(name, "new");
        if (const int i = SearchLines(model, name); i >= 0) {
            model[static_cast<std::size_t>(i)] = name + "=new";
        } else {
            model.push_back(name + "=new");
        }
        ASSERT_EQ(v.Text().size(), v.TextLength());
    }
    for (const std::string& name : probes) {
        ASSERT_EQ(v.IndexOfName(name), SearchLines(model, name)) << name;
    }
    EXPECT_EQ(v.Count(), static_cast<int>(model.size()));
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
