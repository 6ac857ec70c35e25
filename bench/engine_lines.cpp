// Lines per second through the preprocessor and the dispatcher, for two generated
// one-million-line programs: plain moves, and moves whose arguments are expressions.

#include "engine/EngineData.h"
#include "engine/Move.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

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

std::string Fixed4(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    return buf;
}

const TProgramLines& PlainMoves()
{
    static const TProgramLines lines = [] {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> xy(0.0, 96.0);
        std::uniform_real_distribution<double> z(-1.0, 0.0);
        TProgramLines out;
        out.reserve(ProgramLines);
        for (int i = 0; i < ProgramLines; ++i) {
            out.push_back("M3, " + Fixed4(xy(rng)) + ", " + Fixed4(xy(rng)) + ", " + Fixed4(z(rng)));
        }
        return out;
    }();
    return lines;
}

const TProgramLines& ExpressionMoves()
{
    static const TProgramLines lines = [] {
        std::mt19937 rng(11);
        std::uniform_int_distribution<int> small(1, 99);
        TProgramLines out;
        out.reserve(ProgramLines);
        out.push_back("&r = 2.5");
        out.push_back("&a = 0");
        while (static_cast<int>(out.size()) < ProgramLines) {
            out.push_back("M3, &r * " + std::to_string(small(rng)) + "/97 + 1, &a + " + std::to_string(small(rng) % 10)
                          + " * 0.5, -0.125");
        }
        return out;
    }();
    return lines;
}

void RunProgram(benchmark::State& state, const TProgramLines& lines)
{
    TEngineData data;
    TCalcul calcul;
    QuietShell shell;
    TMove move(data, calcul, shell);
    TArrayofCmds cmds;
    for (auto _ : state) {
        move.StartRun();
        move.Reset(); // moves now draw: start each pass without the last pass's paths
        move.PartFiles().Reset();
        const int n = static_cast<int>(lines.size());
        for (int i = 0; i < n; ++i) {
            const std::string& line = lines[static_cast<std::size_t>(i)];
            move.PreprocessLine(line, true, cmds);
            if (move.ExecuteLine(&lines, line, cmds, i, &i, false)) {
                break;
            }
        }
        benchmark::DoNotOptimize(cmds[1].data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

void BM_PlainMoveLines(benchmark::State& state)
{
    RunProgram(state, PlainMoves());
}

void BM_ExpressionMoveLines(benchmark::State& state)
{
    RunProgram(state, ExpressionMoves());
}

} // namespace

BENCHMARK(BM_PlainMoveLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpressionMoveLines)->Unit(benchmark::kMillisecond);
