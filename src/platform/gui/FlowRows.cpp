#include "platform/gui/FlowRows.h"

#include <algorithm>
#include <cstddef>

namespace {

int RowHeight(const std::vector<TFlowItem>& items, std::size_t first, std::size_t end)
{
    int height = 0;
    for (std::size_t i = first; i < end; ++i) {
        height = std::max(height, items[i].Height);
    }
    return height;
}

TFlowPlaces PlaceUniform(const std::vector<TFlowItem>& items, int width, int spacing)
{
    const int count = static_cast<int>(items.size());
    const int cell = FlowLeastWidth(items);
    // As many columns as fit, then as few as the rows that takes still need.
    int columns = std::clamp((width + spacing) / std::max(cell + spacing, 1), 1, count);
    const int rows = (count + columns - 1) / columns;
    columns = (count + rows - 1) / rows;
    const int cellWidth = std::max(0, (width - (columns - 1) * spacing) / columns);
    TFlowPlaces places;
    places.Rows = rows;
    int top = 0;
    for (int row = 0; row < rows; ++row) {
        const auto first = static_cast<std::size_t>(row * columns);
        const std::size_t end = std::min(first + static_cast<std::size_t>(columns), items.size());
        const int height = RowHeight(items, first, end);
        for (std::size_t i = first; i < end; ++i) {
            const int column = static_cast<int>(i - first);
            places.Cells.push_back({column * (cellWidth + spacing), top + (height - items[i].Height) / 2, cellWidth,
                                    items[i].Height});
        }
        top += height + spacing;
    }
    places.Height = top - spacing;
    return places;
}

TFlowPlaces PlaceFree(const std::vector<TFlowItem>& items, int width, int spacing)
{
    TFlowPlaces places;
    places.Cells.resize(items.size());
    int top = 0;
    std::size_t first = 0;
    while (first < items.size()) {
        // The items of this row: at least one, then as many as fit.
        std::size_t end = first;
        int used = 0;
        while (end < items.size()) {
            const int next = std::min(items[end].Width, width);
            if (end > first && used + spacing + next > width) {
                break;
            }
            used += (end > first ? spacing : 0) + next;
            ++end;
        }
        const auto expanding = static_cast<int>(
            std::count_if(items.begin() + static_cast<std::ptrdiff_t>(first),
                          items.begin() + static_cast<std::ptrdiff_t>(end), [](const TFlowItem& item) { return item.Expands; }));
        int spare = std::max(0, width - used);
        int left = 0;
        int shares = expanding;
        const int height = RowHeight(items, first, end);
        for (std::size_t i = first; i < end; ++i) {
            int itemWidth = std::min(items[i].Width, width);
            if (items[i].Expands && shares > 0) {
                const int share = spare / shares;
                itemWidth += share;
                spare -= share;
                --shares;
            }
            places.Cells[i] = {left, top + (height - items[i].Height) / 2, itemWidth, items[i].Height};
            left += itemWidth + spacing;
        }
        top += height + spacing;
        ++places.Rows;
        first = end;
    }
    places.Height = places.Rows > 0 ? top - spacing : 0;
    return places;
}

} // namespace

TFlowPlaces PlaceFlowItems(const std::vector<TFlowItem>& items, int width, int spacing, bool uniform)
{
    if (items.empty()) {
        return {};
    }
    const int room = std::max(width, 0);
    const int gap = std::max(spacing, 0);
    return uniform ? PlaceUniform(items, room, gap) : PlaceFree(items, room, gap);
}

int FlowLeastWidth(const std::vector<TFlowItem>& items)
{
    int widest = 0;
    for (const TFlowItem& item : items) {
        widest = std::max(widest, item.Width);
    }
    return widest;
}

int FlowOneRowWidth(const std::vector<TFlowItem>& items, int spacing, bool uniform)
{
    if (items.empty()) {
        return 0;
    }
    const int count = static_cast<int>(items.size());
    const int gaps = (count - 1) * std::max(spacing, 0);
    if (uniform) {
        return count * FlowLeastWidth(items) + gaps;
    }
    int sum = gaps;
    for (const TFlowItem& item : items) {
        sum += item.Width;
    }
    return sum;
}

int FlowWidthForRows(const std::vector<TFlowItem>& items, int rows, int spacing, bool uniform)
{
    // Fewer rows never need a narrower row: the narrowest width that does is found by
    // halving between the widest item and one row.
    int narrow = FlowLeastWidth(items);
    int wide = FlowOneRowWidth(items, spacing, uniform);
    const int wanted = std::max(rows, 1);
    while (narrow < wide) {
        const int middle = narrow + (wide - narrow) / 2;
        if (PlaceFlowItems(items, middle, spacing, uniform).Rows <= wanted) {
            wide = middle;
        } else {
            narrow = middle + 1;
        }
    }
    return wide;
}
