// The text buffer on a ShopBot-sized program: one million lines, about 30 MB.

#include "EditorBenchProgram.h"
#include "editor/CodeEditStringList.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

namespace {

void BM_LoadMillionLines(benchmark::State& state)
{
    const QByteArray& bytes = Program();
    for (auto _ : state) {
        TCodeEditStringList list;
        list.LoadFromBytes(bytes);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_LoadMillionLines)->Unit(benchmark::kMillisecond);

void BM_SaveMillionLines(benchmark::State& state)
{
    TCodeEditStringList list;
    list.LoadFromBytes(Program());
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.SaveToBytes().size());
    }
}
BENCHMARK(BM_SaveMillionLines)->Unit(benchmark::kMillisecond);

// Typing in the middle: insert a line and delete it again. Should cost the same for a
// short program and a long one.
void BM_InsertDeleteMiddle(benchmark::State& state)
{
    TCodeEditStringList list;
    for (int i = 0; i < state.range(0); ++i) {
        list.Add("M3,1.125,2.5,-0.25");
    }
    const int middle = static_cast<int>(state.range(0) / 2);
    const QString line = "J2,0,0";
    for (auto _ : state) {
        list.Insert(middle, line);
        list.Delete(middle);
    }
}
BENCHMARK(BM_InsertDeleteMiddle)->Arg(100)->Arg(1000000);

void BM_LongestLineMillionLines(benchmark::State& state)
{
    TCodeEditStringList list;
    list.LoadFromBytes(Program());
    for (auto _ : state) {
        list.SetTabWidth(list.TabWidth() == 8 ? 4 : 8); // forces a full rescan
        benchmark::DoNotOptimize(list.GetLengthOfLongestLine());
    }
}
BENCHMARK(BM_LongestLineMillionLines)->Unit(benchmark::kMillisecond);

} // namespace

#include "editor/CodeEditSearch.h"

namespace {

// Searching the whole program line by line, as search-and-replace does.
void BM_SearchMillionLines(benchmark::State& state)
{
    TCodeEditStringList list;
    list.LoadFromBytes(Program());
    TCodeEditSearch search;
    search.SetPattern("pass");
    search.SetWhole(state.range(0) != 0);
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < list.Count(); ++i) {
            found += search.FindAll(list.Get(i));
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_SearchMillionLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
