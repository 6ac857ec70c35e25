#include "../../support/RecordingCanvas.h"
#include "editor/painting/CodeTextDrawer.h"
#include "platform/core/graphics/SystemColors.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using testsupport::TCanvasCall;
using testsupport::TRecordingCanvas;
using testsupport::TRecordingCanvasSource;
using testsupport::TRecordingMetrics;

namespace {

TRecordingMetrics BoldIsWider()
{
    TRecordingMetrics m;
    m.charWidth = 8;
    m.boldCharWidth = 9;
    m.metrics.averageCharWidth = 7;
    m.metrics.maxCharWidth = 12;
    return m;
}

class CodeTextDrawer : public ::testing::Test {
protected:
    TRecordingCanvasSource source{BoldIsWider()};
    TMeasuringCanvasScope scope{&source};
    TCodeEditFont courier{"Courier New", 10, 0};
    TRecordingCanvas canvas;
};

TEST_F(CodeTextDrawer, EditorsWithEqualFontsShareOneRecordUntilTheLastGoes)
{
    TheFontsInfoManager& manager = GetFontsInfoManager();
    const int before = manager.Count();
    auto first = std::make_unique<TheTextDrawer>(fsBold, &courier);
    TCodeEditFont italic{"Courier New", 10, fsItalic | fsUnderline};
    auto second = std::make_unique<TheTextDrawer>(fsBold, &italic);
    TheSharedFontsInfo* shared = first->FontStock().FontsInfo();
    EXPECT_EQ(second->FontStock().FontsInfo(), shared) << "italic and underline do not make another font";
    EXPECT_EQ(shared->refCount, 2);
    EXPECT_EQ(manager.Count(), before + 1);

    TCodeEditFont bold{"Courier New", 10, fsBold};
    TheTextDrawer third(fsBold, &bold);
    EXPECT_NE(third.FontStock().FontsInfo(), shared) << "bold is another weight";

    first.reset();
    EXPECT_EQ(shared->refCount, 1);
    EXPECT_EQ(second->FontStock().FontsInfo(), shared);
    second.reset();
    EXPECT_EQ(manager.Count(), before + 1);
}

TEST_F(CodeTextDrawer, TheGridIsTheBoldAdvanceEvenForPlainText)
{
    TheTextDrawer drawer(fsBold, &courier);
    EXPECT_EQ(MeasureFont(drawer, courier), (TCodeEditFontMetrics{9, 16, 7, 12})) << "the model's metrics";
    drawer.BeginDrawing(canvas);
    drawer.SetStyle(0);
    drawer.ExtTextOut(4, 32, etoOpaque, TRect{4, 32, 40, 48}, u"iMi");
    drawer.EndDrawing();
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].font, (TCanvasFont{"Courier New", 13, 0}));
    EXPECT_EQ(texts[0].advances, (std::vector<int>{9, 9, 9}));
    EXPECT_EQ(texts[0].y, 32 + 13) << "the cell's top plus the ascent is the baseline";

    TheTextDrawer plainGrid(0, &courier);
    EXPECT_EQ(plainGrid.GetCharWidth(), 8);
    plainGrid.SetBaseStyle(fsBold);
    EXPECT_EQ(plainGrid.GetCharWidth(), 9);
}

TEST_F(CodeTextDrawer, CharExtraWidensEveryCell)
{
    TheTextDrawer drawer(fsBold, &courier);
    drawer.BeginDrawing(canvas);
    drawer.ExtTextOut(0, 0, 0, TRect{}, u"ab");
    drawer.SetCharExtra(2);
    EXPECT_EQ(drawer.GetCharWidth(), 11);
    drawer.ExtTextOut(0, 0, 0, TRect{}, u"ab");
    drawer.TextOut(0, 0, u"ab");
    drawer.EndDrawing();
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].TextRight(), 18);
    EXPECT_EQ(texts[1].TextRight(), 22);
    EXPECT_EQ(texts[2].advances, (std::vector<int>{10, 10})) << "the font's own advance plus the spacing";
}

TEST_F(CodeTextDrawer, AdvanceArrayGrowsToTheNextMultipleOf64)
{
    TheTextDrawer drawer(fsBold, &courier);
    drawer.BeginDrawing(canvas);
    const std::pair<int, int> steps[] = {{1, 64}, {64, 64}, {65, 128}, {10, 128}, {128, 128}, {200, 256}};
    for (auto [length, capacity] : steps) {
        drawer.ExtTextOut(0, 0, 0, TRect{}, std::u16string(static_cast<std::size_t>(length), u'x'));
        EXPECT_EQ(drawer.AdvanceCapacity(), capacity) << length;
    }
    drawer.EndDrawing();
}

TEST_F(CodeTextDrawer, NestedDrawingSavesOnceAndSettersApplyAtOnce)
{
    TheTextDrawer drawer(fsBold, &courier);
    drawer.SetForeColor(clHighlightText);
    drawer.BeginDrawing(canvas);
    drawer.BeginDrawing(canvas);
    EXPECT_EQ(canvas.TextColor(), ResolveSystemColor(clHighlightText)) << "system colours resolved";
    drawer.SetBackColor(clRed);
    drawer.SetStyle(fsItalic);
    EXPECT_EQ(canvas.BackgroundColor(), clRed);
    EXPECT_EQ(canvas.Font().style, fsItalic);
    drawer.EndDrawing();
    drawer.EndDrawing();
    EXPECT_EQ(canvas.Calls(TCanvasCall::Save).size(), 1u);
    EXPECT_EQ(canvas.Calls(TCanvasCall::Restore).size(), 1u);
    EXPECT_NE(canvas.BackgroundColor(), clRed) << "the canvas state comes back";
}

TEST_F(CodeTextDrawer, FontHandlesAreDroppedWhenTheLastLockGoes)
{
    TheTextDrawer first(fsBold, &courier);
    TheTextDrawer second(fsBold, &courier);
    TheSharedFontsInfo* shared = first.FontStock().FontsInfo();
    EXPECT_EQ(shared->lockCount, 2);
    const int canvases = source.created;
    first.ReleaseTemporaryResources();
    EXPECT_TRUE(shared->fontsData[fsBold].created) << "the second stock still holds them";
    second.ReleaseTemporaryResources();
    EXPECT_EQ(shared->lockCount, 0);
    EXPECT_FALSE(shared->fontsData[fsBold].created);
    first.SetStyle(fsBold);
    EXPECT_TRUE(shared->fontsData[fsBold].created);
    EXPECT_EQ(source.created, canvases + 1) << "made and measured again";
    second.SetStyle(fsBold);
    EXPECT_EQ(source.created, canvases + 1) << "shared, not measured twice";
}

TEST_F(CodeTextDrawer, MisuseRaisesWithTheSourceUnit)
{
    try {
        TheTextDrawer drawer(fsBold, nullptr);
        ADD_FAILURE();
    } catch (const EheTextDrawerException& e) {
        EXPECT_STREQ(e.what(), "SetBaseFont: 'Value' must be specified.");
    }
    TheTextDrawer drawer(fsBold, &courier);
    EXPECT_THROW(drawer.FontStock().SetBaseFont(nullptr), EheFontStockException);

    TRecordingCanvas other;
    TheSharedFontsInfo* locked = GetFontsInfoManager().GetFontsInfo(courier, TCanvasFont{"Locked", 5, 0});
    GetFontsInfoManager().LockFontsInfo(locked);
    const std::pair<std::function<void()>, std::string> misuses[] = {
        {[&] { drawer.EndDrawing(); }, "Assertion failure"},
        {[&] { drawer.SetStyle(17); }, "Assertion failure"},
        {[&] { drawer.BeginDrawing(canvas), drawer.BeginDrawing(other); }, "Assertion failure"},
        {[&] { GetFontsInfoManager().ReleaseFontsInfo(locked); }, "Call DeactivateFontsInfo before calling this."},
    };
    for (const auto& [call, text] : misuses) {
        try {
            call();
            ADD_FAILURE() << text;
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(std::string(e.what()).rfind(text + " (CodeTextDrawer.cpp, line ", 0), 0u) << e.what();
        }
    }
    drawer.EndDrawing();
    GetFontsInfoManager().UnlockFontsInfo(locked);
    GetFontsInfoManager().ReleaseFontsInfo(locked);
}

TEST(CodeTextDrawerWithoutCanvas, SaysThatNoMeasuringCanvasIsInstalled)
{
    TCodeEditFont font;
    EXPECT_THROW(TheTextDrawer(fsBold, &font), EheFontStockException);
}

} // namespace
