// The wrapping layout on real widgets (margins, hidden controls, a spacer, the height
// its rows take at a width) and the scroll area under a view that scrolls its panel
// only when the window is too short for it.

#include "platform/gui/FittedScrollArea.h"
#include "platform/gui/FlowLayout.h"

#include "../support/SettledWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QWidget>

#include <vector>

namespace {

// A control of a fixed size.
QWidget* Fixed(QWidget* parent, int width, int height)
{
    auto* control = new QWidget(parent);
    control->setFixedSize(width, height);
    return control;
}

TEST(FlowLayoutGui, ControlsWrapWithinTheMarginsAndHiddenOnesTakeNoPlace)
{
    QWidget panel;
    auto* flow = new TFlowLayout(&panel);
    flow->setContentsMargins(5, 3, 5, 3);
    flow->setSpacing(4);
    QWidget* a = Fixed(&panel, 100, 20);
    QWidget* hidden = Fixed(&panel, 500, 90);
    QWidget* b = Fixed(&panel, 60, 30);
    QWidget* c = Fixed(&panel, 120, 20);
    for (QWidget* control : {a, hidden, b, c}) {
        flow->addWidget(control);
    }
    flow->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    QWidget* d = Fixed(&panel, 50, 20);
    flow->addWidget(d);
    hidden->hide();

    EXPECT_TRUE(flow->hasHeightForWidth());
    EXPECT_EQ(flow->minimumSize(), QSize(130, 36)) << "the widest and the tallest, margins added";
    EXPECT_EQ(flow->sizeHint().width(), 10 + 100 + 60 + 120 + 0 + 50 + 4 * 4);
    const struct {
        int Width;
        int Height;
        std::vector<QRect> Places; // a, b, c, d
    } cases[] = {
        // One row: the spacer pushes d to the right edge.
        {400, 36, {{5, 8, 100, 20}, {109, 3, 60, 30}, {173, 8, 120, 20}, {345, 8, 50, 20}}},
        // c and the spacer wrap; d follows them in the second row.
        {250, 6 + 30 + 4 + 20, {{5, 8, 100, 20}, {109, 3, 60, 30}, {5, 37, 120, 20}, {195, 37, 50, 20}}},
        // One a row, but the spacer goes on with d and pushes it right.
        {130, 6 + 20 + 4 + 30 + 4 + 20 + 4 + 20, {{5, 3, 100, 20}, {5, 27, 60, 30}, {5, 61, 120, 20}, {75, 85, 50, 20}}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(flow->heightForWidth(row.Width), row.Height) << row.Width;
        flow->setGeometry(QRect(0, 0, row.Width, row.Height));
        const std::vector<QRect> places = {a->geometry(), b->geometry(), c->geometry(), d->geometry()};
        EXPECT_EQ(places, row.Places) << row.Width;
    }
    EXPECT_EQ(flow->WidthForRows(3), 10 + 100 + 4 + 60) << "a and b side by side, margins added";
}

TEST(FlowLayoutGui, ThePanelScrollsOnlyWhenTheWindowIsTooShortForIt)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QWidget* view = Fixed(&window, 10, 10);
    view->setMinimumSize(10, 100);
    view->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout->addWidget(view, 1);
    auto* panel = new QWidget;
    auto* flow = new TFlowLayout(panel);
    flow->setContentsMargins(0, 0, 0, 0);
    flow->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        flow->addWidget(Fixed(panel, 100, 50));
    }
    auto* area = new TFittedScrollArea(panel, &window);
    layout->addWidget(area);
    const int bar = area->verticalScrollBar()->sizeHint().width();
    EXPECT_EQ(area->minimumSizeHint().width(), 100 + bar) << "the panel's least with the bar beside it";
    EXPECT_EQ(area->heightForWidth(400), 50);
    EXPECT_EQ(area->heightForWidth(200), 100);

    const struct {
        int Width, Height;
        int AreaHeight;
        bool Scrolls;
    } cases[] = {
        {400, 500, 50, false},  // one row below a view of 450
        {200, 500, 100, false}, // two rows
        {150, 500, 200, false}, // one a row
        {150, 250, 150, true},  // too short: the tallest gives first, down to the view's 100
        {200, 500, 100, false}, // the bar goes again, though one a row would not fit beside it
    };
    window.show();
    for (const auto& c : cases) {
        window.resize(c.Width, c.Height);
        ASSERT_TRUE(testsupport::WaitForSettledWindow(window));
        EXPECT_EQ(area->height(), c.AreaHeight) << c.Width << "x" << c.Height;
        EXPECT_EQ(area->verticalScrollBar()->isVisible(), c.Scrolls) << c.Width << "x" << c.Height;
        EXPECT_GE(panel->height(), flow->heightForWidth(panel->width())) << "the panel whole inside the area";
    }
}

} // namespace
