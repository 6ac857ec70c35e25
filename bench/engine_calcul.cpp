// Expressions per second through TCalcul, as the line preprocessor hands them over:
// upper-cased, "&" removed, so variables are looked up by name in the variables list.

#include "engine/calcul/Calcul.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A typical program's variables: a few dozen, the ones used here near the end.
void FillVariables(TCalcul& calc)
{
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "V" + std::to_string(i) + "=" + std::to_string(i * 1.5) + "\r\n";
    }
    text += "X=12.5\r\nR=3\r\nA=0.7853981634\r\nNAME=\"PART\"\r\n";
    calc.SetVariablesText(text);
}

void Evaluate(benchmark::State& state, const char* formula)
{
    TCalcul calc;
    FillVariables(calc);
    std::string result;
    for (auto _ : state) {
        calc.Formula = formula;
        calc.Calculate(result);
        benchmark::DoNotOptimize(result);
    }
    if (calc.Error()) {
        state.SkipWithError(calc.ErrorText().c_str());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_CalculAddConstant(benchmark::State& state) { Evaluate(state, "X + 0.25"); }
void BM_CalculTimesSine(benchmark::State& state) { Evaluate(state, "R * SIN(A)"); }
void BM_CalculIff(benchmark::State& state) { Evaluate(state, "IFF(A > 2, 1, 0)"); }
void BM_CalculLiteralNegative(benchmark::State& state) { Evaluate(state, "-0.25"); }
void BM_CalculLongerArgument(benchmark::State& state) { Evaluate(state, "(X - 1.5) * 2 + R / 4 - V3"); }
void BM_CalculConcat(benchmark::State& state) { Evaluate(state, "NAME | \"_\" | X"); }

BENCHMARK(BM_CalculAddConstant);
BENCHMARK(BM_CalculTimesSine);
BENCHMARK(BM_CalculIff);
BENCHMARK(BM_CalculLiteralNegative);
BENCHMARK(BM_CalculLongerArgument);
BENCHMARK(BM_CalculConcat);

} // namespace
