// A one-million-move program run to its path text: lines per second through the
// preprocessor, the dispatcher and the polylines, and the memory the run keeps per
// path node (nodes, polyline storage and the step-back history together).

#include "engine/EngineData.h"
#include "engine/ProgramRunner.h"
#include "EngineBenchPrograms.h"
#include "engine/calcul/Calcul.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <string>

namespace {

using namespace enginebench;

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

void BM_PlainMovesToPathText(benchmark::State& state)
{
    const TProgramLines& lines = PlainMoves();
    TEngineData data;
    TCalcul calcul;
    QuietShell shell;
    TMove move(data, calcul, shell);
    TProgramRunner runner(move, data, calcul);
    double bytesPerNode = 0;
    std::size_t textBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        move.Reset();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        const std::string text = runner.RunLinesForResults(lines);
        state.PauseTiming();
        textBytes = text.size();
        const int nodes = ProgramLines + 1; // one polyline: its start and a node per move
        // The first pass counts everything; later ones reuse some capacity.
        bytesPerNode =
            std::max(bytesPerNode, static_cast<double>(HeapInUse() - before - text.capacity()) / nodes);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.counters["bytes_per_node"] = bytesPerNode;
    state.counters["text_MB"] = static_cast<double>(textBytes) / 1e6;
}

} // namespace

BENCHMARK(BM_PlainMovesToPathText)->Unit(benchmark::kMillisecond)->Iterations(3);
