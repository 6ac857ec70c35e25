#include "platform/gui/FlowLayout.h"

#include "platform/gui/FlowRows.h"

#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

// The shown items' sizes, and the items they belong to.
struct TShownItems {
    std::vector<TFlowItem> Sizes;
    std::vector<QLayoutItem*> Items;
};

TShownItems Shown(const QList<QLayoutItem*>& items)
{
    TShownItems shown;
    for (QLayoutItem* item : items) {
        // A hidden control takes no place; a spacer takes what its row has over.
        if (item->isEmpty() && item->spacerItem() == nullptr) {
            continue;
        }
        const QSize hint = item->sizeHint().expandedTo(item->minimumSize());
        shown.Sizes.push_back({hint.width(), hint.height(), bool(item->expandingDirections() & Qt::Horizontal)});
        shown.Items.push_back(item);
    }
    return shown;
}

} // namespace

TFlowLayout::TFlowLayout(QWidget* parent, bool uniform) : QLayout(parent), FUniform(uniform) {}

TFlowLayout::~TFlowLayout()
{
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

void TFlowLayout::addItem(QLayoutItem* item)
{
    FItems.append(item);
    invalidate();
}

int TFlowLayout::count() const
{
    return static_cast<int>(FItems.size());
}

QLayoutItem* TFlowLayout::itemAt(int index) const
{
    return index >= 0 && index < FItems.size() ? FItems.at(index) : nullptr;
}

QLayoutItem* TFlowLayout::takeAt(int index)
{
    if (index < 0 || index >= FItems.size()) {
        return nullptr;
    }
    QLayoutItem* item = FItems.takeAt(index);
    invalidate();
    return item;
}

Qt::Orientations TFlowLayout::expandingDirections() const
{
    return Qt::Horizontal;
}

bool TFlowLayout::hasHeightForWidth() const
{
    return true;
}

int TFlowLayout::Spacing() const
{
    if (spacing() >= 0) {
        return spacing();
    }
    const QWidget* widget = parentWidget();
    const QStyle* style = widget != nullptr ? widget->style() : nullptr;
    return style != nullptr ? std::max(0, style->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, widget)) : 6;
}

int TFlowLayout::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    const TFlowPlaces places = PlaceFlowItems(Shown(FItems).Sizes, width - m.left() - m.right(), Spacing(), FUniform);
    return places.Height + m.top() + m.bottom();
}

QSize TFlowLayout::minimumSize() const
{
    const QMargins m = contentsMargins();
    const std::vector<TFlowItem> sizes = Shown(FItems).Sizes;
    int tallest = 0;
    for (const TFlowItem& item : sizes) {
        tallest = std::max(tallest, item.Height);
    }
    return {FlowLeastWidth(sizes) + m.left() + m.right(), tallest + m.top() + m.bottom()};
}

QSize TFlowLayout::sizeHint() const
{
    const QMargins m = contentsMargins();
    const int width = FlowOneRowWidth(Shown(FItems).Sizes, Spacing(), FUniform) + m.left() + m.right();
    return {width, heightForWidth(width)};
}

void TFlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    const TShownItems shown = Shown(FItems);
    const TFlowPlaces places = PlaceFlowItems(shown.Sizes, area.width(), Spacing(), FUniform);
    for (std::size_t i = 0; i < shown.Items.size(); ++i) {
        const TFlowCell& cell = places.Cells[i];
        shown.Items[i]->setGeometry(QRect(area.left() + cell.Left, area.top() + cell.Top, cell.Width, cell.Height));
    }
}

int TFlowLayout::WidthForRows(int rows) const
{
    const QMargins m = contentsMargins();
    return FlowWidthForRows(Shown(FItems).Sizes, rows, Spacing(), FUniform) + m.left() + m.right();
}
