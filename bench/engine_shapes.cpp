// Cutting shapes to path text: one large rectangular pocket (thousands of rings) and
// ten thousand circles, each run from a fresh reset to the jog and cut path text.

#include "EngineBenchPrograms.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using enginebench::TBenchEngine;

void RunForPath(benchmark::State& state, const TProgramLines& lines)
{
    TBenchEngine e;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string path = e.Runner.RunLinesForResults(lines);
        bytes = path.size();
        benchmark::DoNotOptimize(path.data());
    }
    state.counters["path bytes"] = static_cast<double>(bytes);
}

void BM_RectanglePocket(benchmark::State& state)
{
    // A 0.25 bit with the default 10 % overlap: a stepover of 0.225, 2223 rings.
    const TProgramLines lines = {"VC, 0.25", "CR, 1000, 1000, , 1, 4, 0, 1, 3"};
    RunForPath(state, lines);
}
BENCHMARK(BM_RectanglePocket)->Unit(benchmark::kMillisecond);

void BM_TenThousandCircles(benchmark::State& state)
{
    TProgramLines lines;
    lines.reserve(20000);
    for (int i = 0; i < 10000; ++i) {
        lines.push_back("J2, " + std::to_string(i % 100 * 3) + ", " + std::to_string(i / 100 * 3));
        lines.push_back("CC, 2");
    }
    RunForPath(state, lines);
}
BENCHMARK(BM_TenThousandCircles)->Unit(benchmark::kMillisecond);

} // namespace
