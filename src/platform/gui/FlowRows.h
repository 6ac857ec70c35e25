#pragma once
// How a row of controls wraps when its window is too narrow for it, without a display:
// the controls keep their order and their width and go on in the next row, so a
// window on a small screen shows every one of them instead of cutting the row off.
//
// Two kinds of row. A free row places each control at its own width, as many as fit,
// and gives what a row has over to its expanding controls. A uniform row is a grid of
// equal cells, as wide as its widest control, in as few rows as fit and as many
// columns as those rows need (six buttons three by two rather than four and two), the
// cells sharing the whole width.

#include <vector>

struct TFlowItem {
    int Width = 0;
    int Height = 0;
    // Takes a share of what its row has over (free rows only).
    bool Expands = false;
};

struct TFlowCell {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TFlowCell&) const = default;
};

struct TFlowPlaces {
    // One per item, in their order, from the top left corner of the rows.
    std::vector<TFlowCell> Cells;
    // Of all the rows with the spacing between them; 0 for no items.
    int Height = 0;
    int Rows = 0;
};

// The items placed in rows `width` pixels wide, `spacing` apart each way, each as high
// as it is and centred in its row's height. An item wider than the row gets a row to
// itself, no wider than the row.
TFlowPlaces PlaceFlowItems(const std::vector<TFlowItem>& items, int width, int spacing, bool uniform);

// The narrowest row that shows every item at its width: the widest item.
int FlowLeastWidth(const std::vector<TFlowItem>& items);
// The width of all the items in one row.
int FlowOneRowWidth(const std::vector<TFlowItem>& items, int spacing, bool uniform);
// The narrowest row in which the items take at most `rows` rows (at least 1).
int FlowWidthForRows(const std::vector<TFlowItem>& items, int rows, int spacing, bool uniform);
