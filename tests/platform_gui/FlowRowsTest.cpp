// Rows of controls that wrap on a narrow window: free rows (each control at its width,
// the expanding ones sharing what a row has over), uniform grids (equal cells in as few
// rows as fit, the columns balanced) and the narrowest width for a number of rows.

#include "platform/gui/FlowRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

std::ostream& operator<<(std::ostream& out, const TFlowCell& c)
{
    return out << c.Left << "," << c.Top << " " << c.Width << "x" << c.Height;
}

namespace {

// The preview's five check boxes (20 high), then its two groups (the first expanding).
const std::vector<TFlowItem> Boxes = {{80, 20}, {90, 20}, {120, 20}, {140, 20}, {120, 20}};
const std::vector<TFlowItem> Groups = {{280, 90, true}, {230, 110}};
// The buffer's six buttons, one wider.
const std::vector<TFlowItem> Buttons = {{80, 30}, {80, 30}, {80, 30}, {90, 30}, {80, 30}, {80, 30}};

TEST(FlowRows, FreeRowsWrapBeforeTheControlThatDoesNotFit)
{
    const struct {
        const char* What;
        std::vector<TFlowItem> Items;
        int Width;
        std::vector<TFlowCell> Cells;
        int Height;
    } cases[] = {
        {"one row", Boxes, 600, {{0, 0, 80, 20}, {86, 0, 90, 20}, {182, 0, 120, 20}, {308, 0, 140, 20}, {454, 0, 120, 20}}, 20},
        {"exactly one row", Boxes, 574, {{0, 0, 80, 20}, {86, 0, 90, 20}, {182, 0, 120, 20}, {308, 0, 140, 20}, {454, 0, 120, 20}}, 20},
        {"one pixel short", Boxes, 573, {{0, 0, 80, 20}, {86, 0, 90, 20}, {182, 0, 120, 20}, {308, 0, 140, 20}, {0, 26, 120, 20}}, 46},
        {"three rows", Boxes, 300, {{0, 0, 80, 20}, {86, 0, 90, 20}, {0, 26, 120, 20}, {126, 26, 140, 20}, {0, 52, 120, 20}}, 72},
        {"narrower than a control: clipped to the row", Boxes, 100, {{0, 0, 80, 20}, {0, 26, 90, 20}, {0, 52, 100, 20}, {0, 78, 100, 20}, {0, 104, 100, 20}}, 124},
        {"side by side, the expanding one takes what is over", Groups, 600, {{0, 10, 364, 90}, {370, 0, 230, 110}}, 110},
        {"stacked, the expanding one as wide as the row", Groups, 400, {{0, 0, 400, 90}, {0, 96, 230, 110}}, 206},
        {"nothing", {}, 300, {}, 0},
        {"no width", {{10, 10}}, -5, {{0, 0, 0, 10}}, 10},
    };
    for (const auto& c : cases) {
        const TFlowPlaces places = PlaceFlowItems(c.Items, c.Width, 6, false);
        EXPECT_EQ(places.Cells, c.Cells) << c.What;
        EXPECT_EQ(places.Height, c.Height) << c.What;
    }
}

TEST(FlowRows, AUniformGridBalancesItsColumnsAndFillsTheRow)
{
    const struct {
        int Width;
        int Rows, Columns, CellWidth;
    } cases[] = {
        {600, 1, 6, 95},  // all six, sharing the row
        {570, 1, 6, 90},  // exactly six cells of the widest and five gaps
        {569, 2, 3, 185}, // five would fit: two rows of three take no more rows
        {282, 2, 3, 90},
        {281, 3, 2, 137},
        {186, 3, 2, 90},
        {185, 6, 1, 185},
        {50, 6, 1, 50}, // narrower than a button: one a row, clipped
    };
    for (const auto& c : cases) {
        const TFlowPlaces places = PlaceFlowItems(Buttons, c.Width, 6, true);
        EXPECT_EQ(places.Rows, c.Rows) << c.Width;
        EXPECT_EQ(places.Height, c.Rows * 30 + (c.Rows - 1) * 6) << c.Width;
        ASSERT_EQ(places.Cells.size(), Buttons.size());
        for (std::size_t i = 0; i < places.Cells.size(); ++i) {
            const int column = static_cast<int>(i) % c.Columns;
            const int row = static_cast<int>(i) / c.Columns;
            EXPECT_EQ(places.Cells[i], (TFlowCell{column * (c.CellWidth + 6), row * 36, c.CellWidth, 30}))
                << c.Width << " item " << i;
        }
    }
}

TEST(FlowRows, TheNarrowestWidthForSoManyRows)
{
    const struct {
        const std::vector<TFlowItem>& Items;
        bool Uniform;
        int Rows, Width;
    } cases[] = {
        {Buttons, true, 1, 570}, {Buttons, true, 2, 282}, {Buttons, true, 3, 186}, {Buttons, true, 9, 90},
        {Boxes, false, 0, 574},  {Boxes, false, 2, 302},  {Boxes, false, 3, 266},  {Groups, false, 2, 280},
    };
    for (const auto& c : cases) {
        const int width = FlowWidthForRows(c.Items, c.Rows, 6, c.Uniform);
        EXPECT_EQ(width, c.Width) << c.Rows << (c.Uniform ? " uniform" : " free");
        // One pixel less takes another row.
        if (width > FlowLeastWidth(c.Items)) {
            EXPECT_GT(PlaceFlowItems(c.Items, width - 1, 6, c.Uniform).Rows, std::max(c.Rows, 1)) << c.Rows;
        }
    }
}

} // namespace
