// From a part file on disk to path text, for the generated one-million-line programs
// (plain moves, moves with expression arguments, drilling), with the two halves timed
// apart: reading and splitting the file into lines, and running the lines to their
// path text. Each pass of the run starts from a simulator emptied outside the timed
// region (freeing a million-node path is the last pass's cost, not this one's).
//   BM_Load*File:        the file read and split into lines (items: lines).
//   BM_*FileToPathText:  the loaded lines run to path text (items: lines); load_ms is
//                        the load of this repetition and with_load_lines_per_s the rate
//                        from the file on disk, load included.

#include "EngineBenchPrograms.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using namespace enginebench;

void LoadFile(benchmark::State& state, const std::string& path)
{
    TProgramLines lines;
    for (auto _ : state) {
        if (!TProgramRunner::LoadLines(path, lines)) {
            state.SkipWithError("cannot read the program file");
            return;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

void FileToPathText(benchmark::State& state, const std::string& path)
{
    TProgramLines lines;
    const auto start = std::chrono::steady_clock::now();
    if (!TProgramRunner::LoadLines(path, lines)) {
        state.SkipWithError("cannot read the program file");
        return;
    }
    const double loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    TBenchEngine e;
    std::size_t textBytes = 0;
    double runSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        e.Move.Reset();
        state.ResumeTiming();
        const auto runStart = std::chrono::steady_clock::now();
        const std::string text = e.Runner.RunLinesForResults(lines);
        runSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart).count();
        textBytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    const auto n = static_cast<double>(lines.size());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.counters["load_ms"] = loadSeconds * 1e3;
    state.counters["with_load_lines_per_s"] = n / (runSeconds / static_cast<double>(state.iterations()) + loadSeconds);
    state.counters["text_MB"] = static_cast<double>(textBytes) / 1e6;
}

void BM_LoadPlainMovesFile(benchmark::State& state) { LoadFile(state, PlainMovesFile()); }
void BM_LoadExpressionMovesFile(benchmark::State& state) { LoadFile(state, ExpressionMovesFile()); }
void BM_PlainMovesFileToPathText(benchmark::State& state) { FileToPathText(state, PlainMovesFile()); }
void BM_ExpressionMovesFileToPathText(benchmark::State& state) { FileToPathText(state, ExpressionMovesFile()); }
void BM_DrillingFileToPathText(benchmark::State& state) { FileToPathText(state, DrillingFile()); }

} // namespace

BENCHMARK(BM_LoadPlainMovesFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadExpressionMovesFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMovesFileToPathText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpressionMovesFileToPathText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrillingFileToPathText)->Unit(benchmark::kMillisecond);
