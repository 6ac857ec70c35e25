#include "platform/gui/FittedScrollArea.h"

#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

TFittedScrollArea::TFittedScrollArea(QWidget* panel, QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setWidget(panel);
}

QSize TFittedScrollArea::sizeHint() const
{
    const QWidget* panel = widget();
    if (panel == nullptr) {
        return QScrollArea::sizeHint();
    }
    const int width = panel->sizeHint().width() + 2 * frameWidth();
    return {width, heightForWidth(width)};
}

QSize TFittedScrollArea::minimumSizeHint() const
{
    const QWidget* panel = widget();
    const int frame = 2 * frameWidth();
    const int bar = verticalScrollBar()->sizeHint().width();
    const int least = panel != nullptr ? panel->minimumSizeHint().width() : 0;
    return {least + bar + frame, verticalScrollBar()->minimumSizeHint().height() + frame};
}

bool TFittedScrollArea::hasHeightForWidth() const
{
    return widget() != nullptr;
}

int TFittedScrollArea::heightForWidth(int width) const
{
    const QWidget* panel = widget();
    if (panel == nullptr) {
        return -1;
    }
    const int frame = 2 * frameWidth();
    // The panel's own height at that width, when it shows whole without a scroll bar.
    const int inner = std::max(width - frame, panel->minimumSizeHint().width());
    return (panel->hasHeightForWidth() ? panel->heightForWidth(inner) : panel->sizeHint().height()) + frame;
}

void TFittedScrollArea::resizeEvent(QResizeEvent* event)
{
    if (const QWidget* panel = widget()) {
        // The room without the bar, whether it shows now or not.
        QSize room = maximumViewportSize();
        if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
            room.rwidth() += verticalScrollBar()->sizeHint().width();
        }
        const int needed = panel->hasHeightForWidth() ? panel->heightForWidth(room.width()) : panel->sizeHint().height();
        setVerticalScrollBarPolicy(needed > room.height() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    QScrollArea::resizeEvent(event);
}
