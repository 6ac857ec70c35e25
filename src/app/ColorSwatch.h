#pragma once
// A small framed panel that shows a colour (a system colour as its current value) and
// reports a click: the colour fields of the editor options dialog.

#include "platform/core/ColorValue.h"

#include <QFrame>

#include <functional>

class TColorSwatch : public QFrame {
public:
    explicit TColorSwatch(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TColor FColor = clWhite;
};
