// The print engine on a 58,000-line part program (about 1,000 pages), highlighted in
// colour with Wrap on: paginating it, drawing every page on a canvas that draws
// nothing, and printing it into a PDF through QPrinter.

#include "../tests/support/PartProgramRules.h"
#include "../tests/support/QtGuiForTests.h"
#include "editor/printing/CodeEditPrint.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtPrinter.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QPrinter>
#include <QStandardPaths>

#include <memory>

namespace {

constexpr int LineCount = 58000;

// Measures as the Qt canvas measured once; draws nothing.
class TNullCanvas : public TCanvas {
public:
    explicit TNullCanvas(TCanvas& measured) : metrics_(measured.TextMetrics()) {}
    TTextMetrics TextMetrics() override { return metrics_; }
    int TextWidth(std::u16string_view text) override
    {
        return static_cast<int>(text.size()) * metrics_.averageCharWidth;
    }
    int CharAdvance(char32_t) override { return metrics_.averageCharWidth; }
    void ExtTextOut(int, int, TTextOutOptions, const TRect*, std::u16string_view text, const int*) override
    {
        benchmark::DoNotOptimize(text.data());
    }
    void FillRect(const TRect&, TColor) override {}
    using TCanvas::FillRect;
    void Rectangle(const TRect&) override {}
    void Line(int, int, int, int) override {}
    void Polyline(std::span<const TPoint>) override {}
    void DrawImage(int, int, const TBitmap&, const TRect&) override {}
    void IntersectClipRect(const TRect&) override {}
    void ExcludeClipRect(const TRect&) override {}
    TRect ClipBox() const override { return Rect(0, 0, 100000, 100000); }
    void SetMapping(const TCanvasMapping& mapping) override { mapping_ = mapping; }
    TCanvasMapping Mapping() const override { return mapping_; }

protected:
    void SaveDevice() override {}
    void RestoreDevice() override {}

private:
    TTextMetrics metrics_;
    TCanvasMapping mapping_;
};

struct TBenchJob {
    TBenchJob()
    {
        testsupport::EnsureQtGui();
        InstallQtMeasuringCanvas();
        BuildPartProgramRules(highlighter);
        QStringList lines;
        lines.reserve(LineCount);
        for (int i = 0; i < LineCount; ++i) {
            switch (i % 4) {
            case 0: lines << QStringLiteral("MS,%1,1.5").arg(i % 7 + 1); break;
            case 1: lines << QStringLiteral("M3,%1.125,%2.5,-0.25 ' cut pass").arg(i % 1000).arg(i % 733); break;
            case 2: lines << QStringLiteral("J2,%1,%2").arg(i % 48).arg(i % 96); break;
            default: lines << QStringLiteral("IF &depth < %1 THEN GOTO pass").arg(i % 9); break;
            }
        }
        TFont font;
        font.SetName("DejaVu Sans Mono");
        font.SetSize(10);
        engine.SetFont(font);
        engine.SetHighlighter(&highlighter);
        engine.Colors = true;
        engine.SetLineNumbers(true);
        engine.Title = QStringLiteral("bench.sbp");
        engine.Header().Add("$TITLE$", nullptr, taLeftJustify, 1);
        engine.Header().Add("$PAGENUM$ / $PAGECOUNT$", nullptr, taRightJustify, 1);
        engine.SetLines(lines);
        measuring = TQtCanvas::CreateMeasuring(96);
    }
    TCodeRuleHighlighter highlighter;
    TCodeEditPrint engine;
    std::unique_ptr<TQtCanvas> measuring;
};

TBenchJob& Job()
{
    static TBenchJob job;
    return job;
}

void BM_PaginateHighlightedWrapped(benchmark::State& state)
{
    TBenchJob& job = Job();
    for (auto _ : state) {
        job.engine.SetHighlighter(&job.highlighter); // the range scan too
        job.engine.UpdatePages(*job.measuring);
    }
    state.counters["pages"] = job.engine.PageCount();
}
BENCHMARK(BM_PaginateHighlightedWrapped)->Unit(benchmark::kMillisecond);

void BM_EveryPageOnANullCanvas(benchmark::State& state)
{
    TBenchJob& job = Job();
    job.engine.UpdatePages(*job.measuring);
    TNullCanvas canvas(*job.measuring);
    const int pages = job.engine.PageCount();
    for (auto _ : state) {
        for (int page = 1; page <= pages; ++page) {
            job.engine.PrintToCanvas(canvas, page);
        }
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_EveryPageOnANullCanvas)->Unit(benchmark::kMillisecond);

void BM_PrintToPdf(benchmark::State& state)
{
    TBenchJob& job = Job();
    const QString file = QStandardPaths::writableLocation(QStandardPaths::TempLocation) + "/kerfpad-bench-print.pdf";
    QPrinter device(QPrinter::HighResolution);
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setResolution(300);
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setOutputFileName(file);
    TQtPrinter printer(device);
    TPrinterScope scope(&printer);
    for (auto _ : state) {
        job.engine.Print();
    }
    state.counters["pages"] = job.engine.PageCount();
    state.counters["MB"] = double(QFileInfo(file).size()) / (1024.0 * 1024.0);
    QFile::remove(file);
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
