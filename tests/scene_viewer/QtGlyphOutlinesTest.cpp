#include "scene/viewer/QtGlyphOutlines.h"

#include "../support/QtGuiForTests.h"

#include <gtest/gtest.h>

namespace {

class QtGlyphOutlines : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::EnsureQtGui();
        ASSERT_TRUE(provider.SelectFont("Arial", 0));
    }

    TGlyphOutline Glyph(char32_t c)
    {
        TGlyphOutline outline;
        outline.Clear(0.001f);
        EXPECT_TRUE(provider.GetGlyph(c, outline));
        return outline;
    }

    TQtGlyphOutlineProvider provider;
};

struct TGlyphCase {
    char32_t code;
    int contours;    // at least
    bool descends;   // below the base line
};

class QtGlyphShapes : public QtGlyphOutlines, public ::testing::WithParamInterface<TGlyphCase> {};

TEST_P(QtGlyphShapes, OutlinesAreInEmWithYUp)
{
    const TGlyphCase& c = GetParam();
    const TGlyphOutline g = Glyph(c.code);
    EXPECT_GE(g.ContourCount(), c.contours);
    const TGlyphMetricsFloat& m = g.Metrics;
    // An em-sized font: letters are a fraction of an em high and wide.
    EXPECT_GT(m.OriginY, 0.4f);
    EXPECT_LT(m.OriginY, 1.0f);
    EXPECT_GT(m.CellIncX, 0.2f);
    EXPECT_LT(m.CellIncX, 1.2f);
    EXPECT_EQ(m.CellIncY, 0);
    EXPECT_GT(m.BlackBoxX, 0);
    EXPECT_EQ(m.OriginY - m.BlackBoxY < -0.1f, c.descends);
    // Every outline point lies inside the black box.
    for (const TGlyphPoint& p : g.Points()) {
        EXPECT_GE(p.X, m.OriginX - 1e-3f);
        EXPECT_LE(p.X, m.OriginX + m.BlackBoxX + 1e-3f);
        EXPECT_LE(p.Y, m.OriginY + 1e-3f);
        EXPECT_GE(p.Y, m.OriginY - m.BlackBoxY - 1e-3f);
    }
    EXPECT_NE(g.SignedArea2(), 0);
}

INSTANTIATE_TEST_SUITE_P(Letters, QtGlyphShapes,
                         ::testing::Values(TGlyphCase{'X', 1, false}, TGlyphCase{'o', 2, false},
                                           TGlyphCase{'B', 3, false}, TGlyphCase{'g', 1, true},
                                           TGlyphCase{'8', 3, false}, TGlyphCase{U'\u00e9', 2, false}));

TEST_F(QtGlyphOutlines, TheSpaceAdvancesWithoutInkAndACharacterTheFaceLacksDoesNeither)
{
    const TGlyphOutline space = Glyph(' ');
    EXPECT_EQ(space.ContourCount(), 0);
    EXPECT_GT(space.Metrics.CellIncX, 0.1f);
    const TGlyphOutline missing = Glyph(1);
    EXPECT_EQ(missing.ContourCount(), 0);
    EXPECT_EQ(missing.Metrics.CellIncX, 0);
}

TEST_F(QtGlyphOutlines, BoldIsHeavierThanRegular)
{
    const TGlyphOutline regular = Glyph('l');
    ASSERT_TRUE(provider.SelectFont("Arial", TFont::fsBold));
    const TGlyphOutline bold = Glyph('l');
    EXPECT_GT(bold.Metrics.BlackBoxX, regular.Metrics.BlackBoxX);
}

TEST_F(QtGlyphOutlines, NamesAreFoundWhateverTheirLetterCase)
{
    ASSERT_TRUE(provider.SelectFont("arial", 0));
    EXPECT_GT(Glyph('X').ContourCount(), 0);
}

TEST(QtGlyphOutlinesInstall, MakesTheQtProviderTheScenes)
{
    TGlyphOutlineProvider* saved = GlyphOutlineProvider();
    InstallQtGlyphOutlines();
    EXPECT_NE(dynamic_cast<TQtGlyphOutlineProvider*>(GlyphOutlineProvider()), nullptr);
    SetGlyphOutlineProvider(saved);
}

} // namespace
