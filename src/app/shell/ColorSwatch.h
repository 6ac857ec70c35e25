#pragma once
// A small framed panel that shows a colour (a system colour as its current value); a
// left click picks another: the colour fields of the editor and preview options dialogs.

#include "platform/core/graphics/ColorValue.h"

#include <QFrame>

class TColorSwatch : public QFrame {
public:
    explicit TColorSwatch(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // The colour dialog (the dialog service's ColorQuery) starting from the panel's
    // colour; the panel shows the colour chosen, a cancelled dialog leaves it.
    void PickColor();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TColor FColor = clWhite;
};
