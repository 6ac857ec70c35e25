// Scanning with the fixed-language highlighters as painting and printing do: every
// token of every line, the line state carried from one line to the next.

#include "editor/highlighting/CodeHighlighterCpp.h"
#include "editor/highlighting/CodeHighlighterPas.h"
#include "editor/highlighting/CodeHighlighterSQL.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<TCodeCustomHighlighter> MakeHighlighter(int language)
{
    switch (language) {
    case 0:
        return std::make_unique<TCodeSQLHighlighter>();
    case 1:
        return std::make_unique<TCodePasHighlighter>();
    default:
        return std::make_unique<TCodeCppHighlighter>();
    }
}

// The highlighter's own sample, repeated to 100,000 lines.
void BM_ScanEveryToken(benchmark::State& state)
{
    const auto h = MakeHighlighter(static_cast<int>(state.range(0)));
    const QStringList sample = h->GetSampleSource().split(QLatin1Char('\n'));
    std::vector<QString> lines;
    for (int i = 0; i < 100000; ++i) {
        lines.push_back(sample[i % sample.size()]);
    }
    for (auto _ : state) {
        h->ResetRange();
        int tokens = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            h->SetRange(h->GetRange());
            h->SetLine(lines[i], static_cast<int>(i));
            for (; !h->GetEol(); h->Next()) {
                benchmark::DoNotOptimize(h->GetTokenAttribute());
                ++tokens;
            }
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.SetLabel(h->GetLanguageName().toStdString());
}
BENCHMARK(BM_ScanEveryToken)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Rebuilding the hash list, as every dialect or table-name change does.
void BM_SQLDialectRebuild(benchmark::State& state)
{
    TCodeSQLHighlighter h;
    for (auto _ : state) {
        h.SetSQLDialect(sqlOracle);
        h.SetSQLDialect(sqlSybase);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_SQLDialectRebuild)->Unit(benchmark::kMicrosecond);

} // namespace
