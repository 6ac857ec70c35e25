#pragma once
// Runs one formula through a fresh evaluator and reports what a caller would see.

#include "engine/calcul/Calcul.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

struct CalcOutcome {
    bool ok = false;
    std::string result;    // the caller's result text ("<untouched>" when not written)
    std::string errorText; // empty on success
    int kind = 0;
};

inline std::ostream& operator<<(std::ostream& os, const CalcOutcome& o)
{
    return os << (o.ok ? "ok " : "failed ") << '[' << o.result << "] error [" << o.errorText << "] kind " << o.kind;
}

inline CalcOutcome RunCalc(TCalcul& calc, const std::string& formula)
{
    CalcOutcome o;
    o.result = "<untouched>";
    calc.Formula = formula;
    o.ok = calc.Calculate(o.result);
    o.errorText = calc.ErrorText();
    o.kind = calc.ResultKind();
    return o;
}

inline CalcOutcome RunCalc(const std::string& formula, const std::string& variables = {})
{
    TCalcul calc;
    calc.SetVariablesText(variables);
    return RunCalc(calc, formula);
}

// A formula and the result text it must give.
struct CalcCase {
    const char* formula;
    const char* result;
};

// Every formula must succeed with its result.
inline void ExpectResults(std::initializer_list<CalcCase> cases, const std::string& variables = {})
{
    for (const CalcCase& c : cases) {
        const CalcOutcome o = RunCalc(c.formula, variables);
        EXPECT_TRUE(o.ok) << c.formula << " -> " << o;
        EXPECT_EQ(o.result, c.result) << c.formula << " -> " << o;
    }
}

// A formula and the error text it must fail with.
struct CalcErrorCase {
    const char* formula;
    const char* error;
};

// Every formula must fail with its error text and leave the caller's result untouched.
inline void ExpectErrors(std::initializer_list<CalcErrorCase> cases, const std::string& variables = {})
{
    for (const CalcErrorCase& c : cases) {
        const CalcOutcome o = RunCalc(c.formula, variables);
        EXPECT_FALSE(o.ok) << c.formula;
        EXPECT_EQ(o.errorText, c.error) << c.formula << " -> " << o;
        EXPECT_EQ(o.result, "<untouched>") << c.formula;
    }
}

// The first line whose text before its first "=" equals `name`, ASCII case ignored,
// found by reading every line: what a lookup of the variables must answer.
inline int SearchLines(const std::vector<std::string>& lines, std::string_view name)
{
    const auto sameLetter = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view lineName = std::string_view(lines[i]).substr(0, lines[i].find('='));
        if (lineName.size() == name.size() && std::equal(lineName.begin(), lineName.end(), name.begin(), sameLetter)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
