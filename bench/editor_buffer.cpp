// The text buffer on a ShopBot-sized program: one million lines, about 30 MB.

#include "EditorBenchProgram.h"
#include "editor/document/CodeEditStringList.h"

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

// One line of `units` UTF-16 units: moves run together, as a program joined into a single
// line would be.
QString LongLine(qsizetype units)
{
    const QString move = "M3,1.125,2.5,-0.25 ";
    QString line;
    line.reserve(units);
    while (line.size() + move.size() <= units) {
        line += move;
    }
    return line;
}

// Wrapping one 50 MB line at width 80 (soft wrap turned on); must stay linear.
void BM_WrapLongLine(benchmark::State& state)
{
    const QString line = LongLine(50 * 1000 * 1000);
    TCodeEditStringList list;
    list.Add(line);
    for (auto _ : state) {
        list.SetWrapMode(true);
        state.PauseTiming();
        benchmark::DoNotOptimize(list.Count());
        list.SetWrapMode(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WrapLongLine)->Unit(benchmark::kMillisecond);

// A keystroke in the middle of a wrapped 4 MB line: the piece is changed and the whole
// line cut again, as the control does after typing.
void BM_KeystrokeInWrappedLine(benchmark::State& state)
{
    TCodeEditStringList list;
    list.SetWrapMode(true);
    list.Add(LongLine(4 * 1000 * 1000));
    const int middle = list.Count() / 2;
    bool insert = true;
    for (auto _ : state) {
        QString piece = list.Get(middle);
        if (insert) {
            piece.insert(3, QLatin1Char('7'));
        } else {
            piece.remove(3, 1);
        }
        insert = !insert;
        list.Put(middle, piece);
        benchmark::DoNotOptimize(list.RewrapLine(middle));
    }
}
BENCHMARK(BM_KeystrokeInWrappedLine)->Unit(benchmark::kMillisecond);

} // namespace

#include "editor/document/CodeEditSearch.h"

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
