#pragma once
// The surface controls paint on. Its background colour is what opaque text output
// fills behind the characters; platform/gui implements the drawing over QPainter, and
// tests can record what was drawn.

#include "platform/core/ColorValue.h"
#include "platform/core/Rect.h"

class TCanvas {
public:
    virtual ~TCanvas() = default;

    TColor BackgroundColor() const { return background_; }
    void SetBackgroundColor(TColor color) { background_ = color; }

    // Fills the rectangle (right and bottom edges excluded) with the colour; a system
    // colour is resolved by the implementation.
    virtual void FillRect(const TRect& rect, TColor color) = 0;

private:
    TColor background_ = clWhite;
};
