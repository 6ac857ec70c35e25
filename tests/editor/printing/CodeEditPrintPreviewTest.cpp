#include "editor/printing/CodeEditPrint.h"
#include "editor/printing/CodeEditPrintPreview.h"
#include "../QtPrinters.h"
#include "../../support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using testsupport::TCanvasCall;
using testsupport::TRecordingCanvas;

class TFakePreviewHost : public ICodePreviewHost {
public:
    int ClientWidth() const override { return width; }
    int ClientHeight() const override { return height; }
    int ScreenPixelsPerInchX() const override { return 96; }
    int ScreenPixelsPerInchY() const override { return 96; }
    TCanvas& MeasuringCanvas() override { return measuring; }
    void Invalidate() override { log.push_back("invalidate"); }
    void ScrollContents(int dx, int dy) override
    {
        log.push_back("scroll " + std::to_string(dx) + "," + std::to_string(dy));
    }
    void ScrollBarsChanged() override {}
    void ShowScrollHint(const QString& text) override { hint = text; }
    void BorderChanged() override { log.push_back("border"); }

    int width = 400;
    int height = 300;
    TRecordingCanvas measuring;
    std::vector<std::string> log;
    QString hint = "none";
};

// Remembers the mapping each text was drawn under.
class TMappedCanvas : public TRecordingCanvas {
public:
    void ExtTextOut(int x, int y, TTextOutOptions options, const TRect* rect, std::u16string_view text,
                    const int* advances) override
    {
        mappings.push_back(Mapping());
        TRecordingCanvas::ExtTextOut(x, y, options, rect, text, advances);
    }
    std::vector<TCanvasMapping> mappings;
};

class CodeEditPrintPreview : public ::testing::Test {
protected:
    CodeEditPrintPreview()
    {
        engine = new TCodeEditPrint;
        QStringList lines;
        for (int i = 0; i < 400; ++i) { // three pages of 171 lines 17 pixels high
            lines << QStringLiteral("line %1").arg(i);
        }
        engine->SetLines(lines);
        engine->UpdatePages(host.measuring);
        preview.OnPreviewPage = [this](TObject*, int page) { pages.push_back(page); };
        preview.SetHost(&host);
    }
    ~CodeEditPrintPreview() override { delete engine; }

    void Attach(TCodePreviewScale mode, int width, int height)
    {
        host.width = width;
        host.height = height;
        preview.SetCodeEditPrint(engine);
        preview.SetScaleMode(mode);
        preview.Resized();
        host.log.clear();
        pages.clear();
    }
    std::vector<int> Sizes() const
    {
        return {preview.PageSize().X,      preview.PageSize().Y,      preview.VirtualSize().X,
                preview.VirtualSize().Y,   preview.VirtualOffset().X, preview.VirtualOffset().Y};
    }

    TFakePreviewHost host;
    TCodeEditPrint* engine;
    TCodeEditPrintPreview preview;
    std::vector<int> pages;
};

TEST_F(CodeEditPrintPreview, SheetSizesAndScrollBarsFollowTheScaleMode)
{
    struct Case {
        TCodePreviewScale mode;
        int width, height;
        std::vector<int> sizes; // page, virtual size, virtual offset
        TPreviewScrollBar horizontal, vertical;
    } cases[] = {
        {pscUserScaled, 400, 300, {794, 1122, 820, 1148, 12, 12}, {true, 0, 820, 400, 0}, {true, 0, 1148, 300, 0}},
        {pscWholePage, 1000, 500, {335, 474, 361, 500, 331, 12}, {}, {true, 1, 3, 1, 1}}, // centred across
        {pscWholePage, 300, 1000, {274, 387, 300, 413, 12, 305}, {}, {true, 1, 3, 1, 1}}, // centred down
        {pscPageWidth, 500, 300, {474, 670, 500, 696, 12, 12}, {}, {true, 0, 696, 300, 0}},
        {pscWholePage, 10, 10, {1, 1, 27, 27, 12, 12}, {}, {true, 1, 3, 1, 1}}, // never below a pixel
    };
    for (const Case& c : cases) {
        Attach(c.mode, c.width, c.height);
        EXPECT_EQ(Sizes(), c.sizes) << int(c.mode) << ' ' << c.width << 'x' << c.height;
        EXPECT_EQ(preview.HorzScrollBar(), c.horizontal);
        EXPECT_EQ(preview.VertScrollBar(), c.vertical);
    }
    Attach(pscUserScaled, 600, 2000);
    EXPECT_FALSE(preview.VertScrollBar().Enabled()) << "the client shows the whole height";
    preview.SetScalePercent(50);
    EXPECT_EQ(preview.PageSize(), (TPoint{397, 561}));
    host.height = 300;
    preview.SetCodeEditPrint(nullptr);
    preview.SetScaleMode(pscWholePage);
    EXPECT_EQ(preview.PageSize(), (TPoint{194, 274})) << "141 : 100 without an engine";
}

TEST_F(CodeEditPrintPreview, ScrollMessagesMoveThePixelsOrRepaint)
{
    Attach(pscUserScaled, 400, 300);
    struct Step {
        bool vertical;
        TPreviewScrollCode code;
        int thumb;
        int x, y;
        const char* effect;
    } steps[] = {
        {true, TPreviewScrollCode::LineDown, 0, 0, -30, "scroll 0,-30"},
        {true, TPreviewScrollCode::PageDown, 0, 0, -180, "scroll 0,-150"},
        {true, TPreviewScrollCode::ThumbTrack, 500, 0, -500, "invalidate"},
        {true, TPreviewScrollCode::Bottom, 0, 0, -848, "invalidate"},
        {true, TPreviewScrollCode::LineUp, 0, 0, -818, "scroll 0,30"},
        {true, TPreviewScrollCode::Top, 0, 0, 0, "invalidate"},
        {false, TPreviewScrollCode::PageDown, 0, -200, 0, "scroll -200,0"},
        {false, TPreviewScrollCode::Bottom, 0, -420, 0, "invalidate"},
        {false, TPreviewScrollCode::LineDown, 0, -420, 0, ""},
    };
    for (const Step& s : steps) {
        host.log.clear();
        if (s.vertical) {
            preview.VerticalScroll(s.code, s.thumb);
        } else {
            preview.HorizontalScroll(s.code, s.thumb);
        }
        EXPECT_EQ(preview.ScrollPosition(), (TPoint{s.x, s.y})) << int(s.code);
        EXPECT_EQ(host.log, s.effect[0] ? std::vector<std::string>{s.effect} : std::vector<std::string>{});
    }
    EXPECT_EQ(preview.HorzScrollBar().Position, 420);
    EXPECT_EQ(preview.VertScrollBar().Position, 0);
}

TEST_F(CodeEditPrintPreview, WholePageScrollingTurnsPagesAndShowsTheHint)
{
    Attach(pscWholePage, 400, 300);
    struct Step {
        TPreviewScrollCode code;
        int thumb;
        int page;
        const char* hint;
    } steps[] = {
        {TPreviewScrollCode::LineUp, 0, 1, "none"},      {TPreviewScrollCode::PageDown, 0, 2, "none"},
        {TPreviewScrollCode::ThumbTrack, 3, 3, "Page: 3"}, {TPreviewScrollCode::EndScroll, 0, 3, ""},
        {TPreviewScrollCode::LineDown, 0, 3, ""},        {TPreviewScrollCode::Top, 0, 1, ""},
        {TPreviewScrollCode::Bottom, 0, 3, ""},
    };
    for (const Step& s : steps) {
        preview.VerticalScroll(s.code, s.thumb);
        EXPECT_EQ(preview.PageNumber(), s.page) << int(s.code);
        EXPECT_EQ(preview.VertScrollBar().Position, s.page);
        EXPECT_EQ(preview.ScrollPosition().Y, 1 - s.page);
        EXPECT_EQ(host.hint, QString::fromLatin1(s.hint));
    }
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 3, 3, 1, 3}));
    preview.HorizontalScroll(TPreviewScrollCode::PageDown, 0);
    EXPECT_EQ(preview.ScrollPosition().X, 0);
}

TEST_F(CodeEditPrintPreview, WheelNotchesAddUpToOneScrollOf120Pixels)
{
    Attach(pscUserScaled, 400, 300);
    preview.ScrollVertTo(-300);
    for (int delta : {40, 40, 40, -250}) {
        preview.MouseWheel(delta);
    }
    EXPECT_EQ(host.log, (std::vector<std::string>{"invalidate", "scroll 0,120", "scroll 0,-120", "scroll 0,-120"}));
    preview.MouseWheel(-110);
    EXPECT_EQ(preview.ScrollPosition().Y, -540) << "the 10 left over count";
}

TEST_F(CodeEditPrintPreview, NavigationStaysWithinThePages)
{
    Attach(pscUserScaled, 400, 300);
    preview.PreviousPage();
    preview.LastPage();
    preview.NextPage();
    preview.FirstPage();
    EXPECT_EQ(pages, (std::vector<int>{1, 3, 3, 1}));
    EXPECT_EQ(host.log.size(), 4u);
    preview.SetCodeEditPrint(nullptr);
    preview.NextPage();
    preview.NextPage();
    EXPECT_EQ(preview.PageNumber(), 3) << "without an engine the number counts on";
}

TEST_F(CodeEditPrintPreview, UpdatePreviewPaginatesAndKeepsTheMode)
{
    Attach(pscWholePage, 400, 300);
    engine->SetWrap(false);
    preview.UpdatePreview();
    EXPECT_TRUE(engine->PagesCounted());
    EXPECT_EQ(preview.ScaleMode(), pscWholePage);
    EXPECT_EQ(preview.ScalePercent(), 100);
    EXPECT_EQ(pages, std::vector<int>{1});
    preview.SetScalePercent(200);
    preview.UpdatePreview();
    EXPECT_EQ(preview.ScalePercent(), 200);
    EXPECT_EQ(preview.ScaleMode(), pscUserScaled);
}

TEST_F(CodeEditPrintPreview, PaintDrawsSheetShadowAndThePrintersPageMapped)
{
    Attach(pscUserScaled, 400, 300);
    preview.NextPage();
    TMappedCanvas canvas;
    preview.Paint(canvas, Rect(0, 0, 400, 300));
    ASSERT_GE(canvas.calls.size(), 7u);
    EXPECT_EQ(canvas.calls[1].kind, TCanvasCall::ExcludeClip);
    EXPECT_EQ(canvas.calls[1].rect, Rect(12, 12, 807, 1135));
    EXPECT_EQ(canvas.calls[2].color, clAppWorkSpace);
    const std::vector<TCanvasCall> shadows = canvas.Calls(TCanvasCall::Polyline);
    ASSERT_EQ(shadows.size(), 2u);
    EXPECT_EQ(shadows[1].points, (std::vector<TPoint>{{14, 1135}, {807, 1135}, {807, 13}}));
    const TCanvasCall sheet = canvas.Calls(TCanvasCall::Rectangle).at(0);
    EXPECT_EQ(std::pair(sheet.rect, sheet.brush.color), std::pair(Rect(12, 12, 806, 1134), clWhite));
    EXPECT_EQ(canvas.Calls(TCanvasCall::IntersectClip)[0].rect, Rect(0, 0, 2358, 3407));

    // The printer's own runs, in printer pixels, mapped onto the sheet past the offsets.
    TRecordingCanvas printer;
    engine->PrintToCanvas(printer, 2);
    const auto runs = [](const std::vector<TCanvasCall>& calls) {
        std::vector<std::tuple<std::string, int, int>> out;
        for (const TCanvasCall& c : calls) {
            out.emplace_back(c.Utf8Text(), c.x, c.y);
        }
        return out;
    };
    EXPECT_EQ(runs(canvas.Texts()), runs(printer.Texts()));
    EXPECT_FALSE(printer.Texts().empty());
    EXPECT_EQ(canvas.mappings[0], (TCanvasMapping{{0, 0}, {2481, 3507}, {12 + 21, 12 + 16}, {794, 1122}}));
    EXPECT_EQ(canvas.Mapping(), TCanvasMapping{});
    EXPECT_EQ(canvas.SaveDepth(), 0);
}

TEST_F(CodeEditPrintPreview, AFreedEngineLeavesTheSmallSheet)
{
    Attach(pscWholePage, 400, 300);
    delete engine;
    engine = nullptr;
    EXPECT_EQ(preview.CodeEditPrint(), nullptr);
    TRecordingCanvas canvas;
    preview.Paint(canvas, Rect(0, 0, 400, 300));
    EXPECT_EQ(canvas.Calls(TCanvasCall::Rectangle)[0].rect, Rect(12, 12, 55, 42));
    EXPECT_TRUE(canvas.Texts().empty());
    canvas.calls.clear();
    preview.Paint(canvas, Rect(5, 5, 5, 9));
    EXPECT_TRUE(canvas.calls.empty()) << "nothing without a clip area";
}

} // namespace
