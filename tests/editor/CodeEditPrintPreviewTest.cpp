#include "editor/CodeEditPrint.h"
#include "editor/CodeEditPrintPreview.h"
#include "HighlighterTestSupport.h"
#include "QtPrinters.h"
#include "../support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <string>
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

TEST_F(CodeEditPrintPreview, SheetSizesFollowTheScaleMode)
{
    struct Case {
        TCodePreviewScale mode;
        int width, height;
        std::vector<int> sizes; // page, virtual size, virtual offset
    } cases[] = {
        {pscUserScaled, 400, 300, {794, 1122, 820, 1148, 12, 12}},
        {pscWholePage, 1000, 500, {335, 474, 361, 500, 331, 12}}, // centred across
        {pscWholePage, 300, 1000, {274, 387, 300, 413, 12, 305}}, // centred down
        {pscPageWidth, 500, 300, {474, 670, 500, 696, 12, 12}},
        {pscWholePage, 10, 10, {1, 1, 27, 27, 12, 12}}, // never smaller than a pixel
    };
    for (const Case& c : cases) {
        Attach(c.mode, c.width, c.height);
        EXPECT_EQ(Sizes(), c.sizes) << int(c.mode) << ' ' << c.width << 'x' << c.height;
    }
    preview.SetScalePercent(50);
    EXPECT_EQ(preview.PageSize(), (TPoint{397, 561}));
    host.width = 400;
    host.height = 300;
    preview.SetCodeEditPrint(nullptr);
    preview.SetScaleMode(pscWholePage);
    EXPECT_EQ(preview.PageSize(), (TPoint{194, 274})) << "141 : 100 without an engine";
}

TEST_F(CodeEditPrintPreview, ScrollBarRangesPerMode)
{
    Attach(pscUserScaled, 400, 300);
    EXPECT_EQ(preview.HorzScrollBar(), (TPreviewScrollBar{true, 0, 820, 400, 0}));
    EXPECT_EQ(preview.VertScrollBar(), (TPreviewScrollBar{true, 0, 1148, 300, 0}));
    Attach(pscPageWidth, 500, 300);
    EXPECT_FALSE(preview.HorzScrollBar().Visible);
    EXPECT_EQ(preview.VertScrollBar(), (TPreviewScrollBar{true, 0, 696, 300, 0}));
    Attach(pscWholePage, 500, 300);
    EXPECT_FALSE(preview.HorzScrollBar().Visible);
    EXPECT_EQ(preview.VertScrollBar(), (TPreviewScrollBar{true, 1, 3, 1, 1}));
    Attach(pscUserScaled, 600, 2000);
    EXPECT_TRUE(preview.HorzScrollBar().Enabled());
    EXPECT_FALSE(preview.VertScrollBar().Enabled()) << "the client shows the whole height";
}

TEST_F(CodeEditPrintPreview, ScrollMessagesMoveThePixelsOrRepaint)
{
    Attach(pscUserScaled, 400, 300);
    struct Step {
        bool vertical;
        TScrollCode code;
        int thumb;
        int x, y;
        const char* effect;
    } steps[] = {
        {true, TScrollCode::LineDown, 0, 0, -30, "scroll 0,-30"},
        {true, TScrollCode::PageDown, 0, 0, -180, "scroll 0,-150"},
        {true, TScrollCode::ThumbTrack, 500, 0, -500, "invalidate"},
        {true, TScrollCode::Bottom, 0, 0, -848, "invalidate"},
        {true, TScrollCode::LineUp, 0, 0, -818, "scroll 0,30"},
        {true, TScrollCode::Top, 0, 0, 0, "invalidate"},
        {false, TScrollCode::PageDown, 0, -200, 0, "scroll -200,0"},
        {false, TScrollCode::Bottom, 0, -420, 0, "invalidate"},
        {false, TScrollCode::LineDown, 0, -420, 0, ""},
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
        TScrollCode code;
        int thumb;
        int page;
        const char* hint;
    } steps[] = {
        {TScrollCode::LineUp, 0, 1, "none"},      {TScrollCode::PageDown, 0, 2, "none"},
        {TScrollCode::ThumbTrack, 3, 3, "Page: 3"}, {TScrollCode::EndScroll, 0, 3, ""},
        {TScrollCode::LineDown, 0, 3, ""},        {TScrollCode::Top, 0, 1, ""},
        {TScrollCode::Bottom, 0, 3, ""},
    };
    for (const Step& s : steps) {
        preview.VerticalScroll(s.code, s.thumb);
        EXPECT_EQ(preview.PageNumber(), s.page) << int(s.code);
        EXPECT_EQ(preview.VertScrollBar().Position, s.page);
        EXPECT_EQ(preview.ScrollPosition().Y, 1 - s.page);
        EXPECT_EQ(host.hint, QString::fromLatin1(s.hint));
    }
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 3, 3, 1, 3}));
    preview.HorizontalScroll(TScrollCode::PageDown, 0);
    EXPECT_EQ(preview.ScrollPosition().X, 0);
}

TEST_F(CodeEditPrintPreview, WheelNotchesAddUpToOneScrollOf120Pixels)
{
    Attach(pscUserScaled, 400, 300);
    preview.ScrollVertTo(-300);
    host.log.clear();
    preview.MouseWheel(40);
    preview.MouseWheel(40);
    EXPECT_TRUE(host.log.empty());
    preview.MouseWheel(40);
    EXPECT_EQ(preview.ScrollPosition().Y, -180);
    preview.MouseWheel(-250);
    EXPECT_EQ(preview.ScrollPosition().Y, -420);
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
    TEventCounter scaleChanges;
    preview.OnScaleChange = scaleChanges.Event();
    Attach(pscWholePage, 400, 300);
    engine->SetWrap(false);
    preview.UpdatePreview();
    EXPECT_TRUE(engine->PagesCounted());
    EXPECT_EQ(preview.ScaleMode(), pscWholePage);
    EXPECT_EQ(preview.ScalePercent(), 100);
    EXPECT_EQ(pages, std::vector<int>{1});
    preview.SetScalePercent(200);
    const int before = scaleChanges.count;
    preview.UpdatePreview();
    EXPECT_EQ(preview.ScalePercent(), 200);
    EXPECT_EQ(preview.ScaleMode(), pscUserScaled);
    preview.SetScalePercent(200);
    EXPECT_GT(scaleChanges.count, before);
}

TEST_F(CodeEditPrintPreview, PaintDrawsSheetShadowAndThePrintersPageMapped)
{
    Attach(pscUserScaled, 400, 300);
    preview.NextPage();
    TMappedCanvas canvas;
    preview.Paint(canvas, Rect(0, 0, 400, 300));
    const TRect sheet = Rect(12, 12, 806, 1134);
    ASSERT_GE(canvas.calls.size(), 7u);
    EXPECT_EQ(canvas.calls[1].kind, TCanvasCall::ExcludeClip);
    EXPECT_EQ(canvas.calls[1].rect, Rect(12, 12, 807, 1135));
    EXPECT_EQ(canvas.calls[2].color, clAppWorkSpace);
    const std::vector<TCanvasCall> shadows = canvas.Calls(TCanvasCall::Polyline);
    ASSERT_EQ(shadows.size(), 2u);
    EXPECT_EQ(shadows[1].points, (std::vector<TPoint>{{14, 1135}, {807, 1135}, {807, 13}}));
    const std::vector<TCanvasCall> rectangles = canvas.Calls(TCanvasCall::Rectangle);
    ASSERT_EQ(rectangles.size(), 1u);
    EXPECT_EQ(rectangles[0].rect, sheet);
    EXPECT_EQ(rectangles[0].brush.color, clWhite);
    EXPECT_EQ(canvas.Calls(TCanvasCall::IntersectClip)[0].rect, Rect(0, 0, 2358, 3407));

    TRecordingCanvas printer;
    engine->PrintToCanvas(printer, 2);
    const std::vector<TCanvasCall> printed = printer.Texts();
    const std::vector<TCanvasCall> shown = canvas.Texts();
    ASSERT_EQ(shown.size(), printed.size());
    ASSERT_FALSE(shown.empty());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, printed[i].text);
        EXPECT_EQ(std::pair(shown[i].x, shown[i].y), std::pair(printed[i].x, printed[i].y));
    }
    const TCanvasMapping mapping = canvas.mappings[0];
    EXPECT_EQ(mapping.windowExtent, (TPoint{2481, 3507}));
    EXPECT_EQ(mapping.viewportExtent, (TPoint{794, 1122}));
    EXPECT_EQ(mapping.viewportOrigin, (TPoint{12 + 21, 12 + 16}));
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
