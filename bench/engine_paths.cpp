// A one-million-move program run to its path text: lines per second through the
// preprocessor, the dispatcher and the polylines, and the memory the run keeps per
// path node (nodes, polyline storage and the step-back history together).

#include "engine/EngineData.h"
#include "engine/ProgramRunner.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr int ProgramLines = 1000000;

class QuietShell : public IShellServices {
public:
    void Log(const std::string&, const std::string&) override {}
    void AddMessage(const std::string&) override {}
    void ShowVariables(const std::string&) override {}
    bool SuppressAllMessages() const override { return true; }
    bool QuickViewRunning() const override { return false; }
    void Wait(int) override {}
    void FreeClamps() override {}
};

const TProgramLines& PlainMoves()
{
    static const TProgramLines lines = [] {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> xy(0.0, 96.0);
        std::uniform_real_distribution<double> z(-1.0, 0.0);
        TProgramLines out;
        out.reserve(ProgramLines);
        char buf[80];
        for (int i = 0; i < ProgramLines; ++i) {
            std::snprintf(buf, sizeof buf, "M3, %.4f, %.4f, %.4f", xy(rng), xy(rng), z(rng));
            out.emplace_back(buf);
        }
        return out;
    }();
    return lines;
}

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
