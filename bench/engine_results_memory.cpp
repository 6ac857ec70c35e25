// Results runs of runaway programs: the run stops at the preview's limit and the path
// text is then built from what it drew, as the test runner does with a run an error
// stopped (the pocket loop's also through GetPathText alone). Each reports the points
// drawn, what the preview held, the text's size and room, and the process's peak RSS,
// which must stay under about 2 GB; run one at a time (--benchmark_filter=
// ResultsCircleLoop and so on) to read a program's own peak.

#include "EngineBenchPrograms.h"
#include "engine/EngineErrors.h"
#include "engine/RunResults.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using enginebench::PeakRssMB;
using enginebench::TBenchEngine;

// How the text is taken from the stopped run: as the results runs take it, or kind by
// kind through GetPathText into texts of their own, as the plug-ins' path readers do.
using TTextOf = std::string (*)(const TMove&);

std::string WholeResultsText(const TMove& move) { return ResultsText(move); }

std::string CutPathText(const TMove& move)
{
    std::string text;
    move.GetPathText("M", text);
    return text;
}

void RunForResults(benchmark::State& state, const TProgramLines& lines, TTextOf textOf = WholeResultsText)
{
    TBenchEngine e;
    std::string stop;
    std::size_t textBytes = 0;
    std::size_t textRoom = 0;
    double previewMB = 0;
    for (auto _ : state) {
        std::string text;
        try {
            text = e.Runner.RunLinesForResults(lines);
            stop = "no stop";
        } catch (const ERunError& error) {
            stop = error.Message();
            previewMB = static_cast<double>(e.Move.PreviewBytes()) / 1e6;
            text = textOf(e.Move);
        }
        textBytes = text.size();
        textRoom = text.capacity();
    }
    state.counters["points_M"] = static_cast<double>(e.Move.PathNodeCount()) / 1e6;
    state.counters["preview_MB"] = previewMB;
    state.counters["text_MB"] = static_cast<double>(textBytes) / 1e6;
    state.counters["text_room_MB"] = static_cast<double>(textRoom) / 1e6;
    state.counters["peak_rss_MB"] = PeakRssMB();
    state.SetLabel(stop.substr(0, 60));
}

// One long polyline of tiny circles far from the origin: many points, long node texts.
void BM_ResultsCircleLoop(benchmark::State& state)
{
    RunForResults(state, {"M3, -12345, -12345, -1234", "a:", "CC, 0.01", "GOTO a"});
}

// Small pocket cuts, each a new polyline of a few hundred points.
const TProgramLines& PocketLoop()
{
    static const TProgramLines lines = {"loop:", "M2 %(1), SIN(2)*2, 1, 0, %(4)",
                                        "CG,-1,0.5-0.5,1,1,18.0017,O,0,100,3,34.0555,100,2",
                                        "IF 1 = 1 THEN GOTO loop"};
    return lines;
}

void BM_ResultsPocketLoop(benchmark::State& state) { RunForResults(state, PocketLoop()); }
void BM_CutTextPocketLoop(benchmark::State& state) { RunForResults(state, PocketLoop(), CutPathText); }

} // namespace

BENCHMARK(BM_ResultsCircleLoop)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ResultsPocketLoop)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_CutTextPocketLoop)->Unit(benchmark::kSecond)->Iterations(1);
