#pragma once
// A scroll area for a panel of controls below a view that takes the rest of a window:
// as tall as the panel needs at its width (height for width) while the window has
// room, and shorter, with a vertical scroll bar, when the window is too short for it
// (a box layout takes from its tallest item first), so that on a small screen every
// control can still be reached. It is never narrower than the panel's least width with
// the scroll bar beside it, and never scrolls sideways.

#include <QScrollArea>

class TFittedScrollArea : public QScrollArea {
public:
    // Takes `panel` (its layout may wrap: the height follows the width).
    explicit TFittedScrollArea(QWidget* panel, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    // The scroll bar shows exactly when the panel, as wide as the area, is taller than
    // it: a bar left from a narrower moment would make the panel narrower and taller,
    // and keep itself.
    void resizeEvent(QResizeEvent* event) override;
};
