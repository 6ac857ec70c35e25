// A full repaint of the editor widget at 1280 x 1024 through its own paint path (the
// viewport's paint event into an image): a part program whose colours change among four
// every five characters, so a row of 160 columns is 32 text runs; with nothing selected
// and with half the screen selected. Then scrolling a shown widget on a million-line
// program under the part-program highlighter: a page down near the top and near the end,
// a thumb drag to the middle and a one-line wheel step, each with the repaint it causes
// (the window's pending paint run at once). Last, a full repaint under soft wrap near the
// top and near the end. A binary of its own: it needs a QApplication.

#include "../tests/support/PartProgramRules.h"
#include "../tests/support/RunHighlighter.h"
#include "EditorBenchProgram.h"
#include "QtBenchMain.h"
#include "editor/widget/CodeEditWidget.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <memory>

namespace {

QString Program(int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i) {
        QString line = QStringLiteral("M3,%1.125,%2.5,-0.25").arg(i % 1000).arg(i % 733);
        while (line.size() < 150) {
            line += QStringLiteral(" J2,%1.5,%2.25").arg(i % 97).arg(line.size());
        }
        text += line + QStringLiteral(" ' cut pass\n");
    }
    return text;
}

struct TPaintBench {
    TPaintBench()
        : highlighter(4, [](const QString&, int i) { return (i / 5) % 4; }), image(1280, 1024, QImage::Format_RGB32)
    {
        const TColor colours[] = {clBlue, clMaroon, clGreen, clPurple};
        for (int i = 0; i < 4; ++i) {
            highlighter.Class(i).SetForeground(colours[i]);
        }
        widget.resize(1280, 1024);
        widget.Editor().SetHighlighter(&highlighter);
        widget.Editor().Gutter().SetShowLineNumbers(true);
        widget.Editor().Lines().SetText(Program(5000));
        widget.viewport()->render(&image); // fonts made and measured
    }
    ~TPaintBench() { widget.Editor().SetHighlighter(nullptr); }

    void Run(benchmark::State& state)
    {
        for (auto _ : state) {
            widget.viewport()->render(&image);
        }
        state.counters["rows"] = widget.Editor().LinesInWindow();
        state.counters["columns"] = widget.Editor().CharsInWindow();
    }

    testsupport::TRunHighlighter highlighter;
    TCodeEditWidget widget;
    QImage image;
};

// Made on first use and freed before the QApplication goes (a widget outliving it crashes).
std::unique_ptr<TPaintBench> gPaint;

TPaintBench& Bench()
{
    if (!gPaint) {
        gPaint = std::make_unique<TPaintBench>();
    }
    return *gPaint;
}

void BM_FullRepaint(benchmark::State& state)
{
    TPaintBench& b = Bench();
    b.widget.Editor().SetBlockBegin(TTextPoint{1, 1});
    b.widget.Editor().SetBlockEnd(TTextPoint{1, 1});
    b.Run(state);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_FullRepaintHalfSelected(benchmark::State& state)
{
    TPaintBench& b = Bench();
    TCodeEdit& editor = b.widget.Editor();
    editor.SetBlockBegin(TTextPoint{20, 1});
    editor.SetBlockEnd(TTextPoint{40, editor.LinesInWindow() / 2});
    b.Run(state);
    editor.SetBlockEnd(editor.SelectionAnchor());
}
BENCHMARK(BM_FullRepaintHalfSelected)->Unit(benchmark::kMillisecond);

// A widget on the screen (offscreen platform) with a million-line program.
struct TScrollBench {
    TScrollBench()
    {
        BuildPartProgramRules(highlighter);
        TCodeEdit& editor = widget.Editor();
        editor.SetHighlighter(&highlighter);
        editor.Gutter().SetShowLineNumbers(true);
        editor.Lines().SetText(QString::fromUtf8(::Program()));
        editor.OnPaint = [this](TObject*, TCanvas&) { ++paints; };
        widget.resize(1280, 1024);
        widget.show();
        QCoreApplication::processEvents(); // mapped and exposed
        widget.UpdateWindow();
    }
    ~TScrollBench() { widget.Editor().SetHighlighter(nullptr); }

    // Each step from `top`, timed with its repaint; going back is not timed.
    template <class Step>
    void Run(benchmark::State& state, int top, Step step)
    {
        TCodeEdit& editor = widget.Editor();
        int timedPaints = 0;
        for (auto _ : state) {
            state.PauseTiming();
            editor.SetTopLine(top);
            widget.UpdateWindow();
            state.ResumeTiming();
            const int before = paints;
            step(editor);
            timedPaints += paints - before;
        }
        // Proof that each step painted: paint events per step.
        state.counters["paints"] = benchmark::Counter(timedPaints, benchmark::Counter::kAvgIterations);
        state.counters["lines"] = editor.LineCount();
        state.counters["top"] = editor.TopLine();
    }

    TCodeRuleHighlighter highlighter;
    TCodeEditWidget widget;
    int paints = 0;
};

std::unique_ptr<TScrollBench> gScroll;

TScrollBench& Scrolling()
{
    if (!gScroll) {
        gScroll = std::make_unique<TScrollBench>();
    }
    return *gScroll;
}

void BM_PageDown(benchmark::State& state)
{
    Scrolling().Run(state, static_cast<int>(state.range(0)),
                    [](TCodeEdit& editor) { editor.Scroll(sbVertical, scPageDown); });
}
BENCHMARK(BM_PageDown)->Arg(10)->Arg(900000)->Unit(benchmark::kMillisecond);

void BM_ThumbDragToTheMiddle(benchmark::State& state)
{
    Scrolling().Run(state, 1, [](TCodeEdit& editor) {
        editor.Scroll(sbVertical, scTrack, ScrollBarMaxRange / 2);
        editor.Scroll(sbVertical, scEndScroll);
    });
}
BENCHMARK(BM_ThumbDragToTheMiddle)->Unit(benchmark::kMillisecond);

// The wheel scrolls the window by pixels and paints the line that came in.
void BM_WheelOneLine(benchmark::State& state)
{
    TScrollBench& b = Scrolling();
    QApplication::setWheelScrollLines(1);
    b.Run(state, 500000, [&b](TCodeEdit& editor) {
        editor.MouseWheel(-120, ssNone);
        b.widget.UpdateWindow();
    });
}
BENCHMARK(BM_WheelOneLine)->Unit(benchmark::kMillisecond);

// Soft wrap on a million-line program whose every fourth line takes two rows: a full
// repaint near the end must cost what one near the top does (the gutter's logical
// numbers come from the row index, not from counting rows from the top).
struct TWrappedBench {
    TWrappedBench() : image(1280, 1024, QImage::Format_RGB32)
    {
        BuildPartProgramRules(highlighter);
        QString text;
        text.reserve(60 * 1000 * 1000);
        for (int i = 0; i < 1000000; ++i) {
            text += QStringLiteral("M3,%1.125,%2.5,-0.25 ' cut pass").arg(i % 1000).arg(i % 733);
            if (i % 4 == 0) {
                text += QStringLiteral(" and a note long enough to take a second row at this width,"
                                       " with its tool, its feed and its depth written out in words, then the passes left");
            }
            text += QLatin1Char('\n');
        }
        TCodeEdit& editor = widget.Editor();
        widget.resize(1280, 1024);
        editor.SetHighlighter(&highlighter);
        editor.Gutter().SetShowLineNumbers(true);
        editor.Lines().SetText(text);
        widget.viewport()->render(&image); // fonts made and measured: the wrap takes the real width
        editor.SetWordWrap(true);
        widget.viewport()->render(&image);
    }
    ~TWrappedBench() { widget.Editor().SetHighlighter(nullptr); }

    TCodeRuleHighlighter highlighter;
    TCodeEditWidget widget;
    QImage image;
};

std::unique_ptr<TWrappedBench> gWrapped;

TWrappedBench& Wrapped()
{
    if (!gWrapped) {
        gWrapped = std::make_unique<TWrappedBench>();
    }
    return *gWrapped;
}

void BM_FullRepaintWrapped(benchmark::State& state)
{
    TWrappedBench& b = Wrapped();
    TCodeEdit& editor = b.widget.Editor();
    editor.SetTopLine(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        b.widget.viewport()->render(&b.image);
    }
    state.counters["rows"] = editor.LineCount();
    state.counters["columns"] = editor.CharsInWindow();
    state.counters["top"] = editor.TopLine();
}
BENCHMARK(BM_FullRepaintWrapped)->Arg(10)->Arg(900000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, [] {
        gWrapped.reset();
        gScroll.reset();
        gPaint.reset();
    });
}
