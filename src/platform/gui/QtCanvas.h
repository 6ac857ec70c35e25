#pragma once
// TCanvas over a QPainter that the caller keeps alive while the canvas is used.

#include "platform/core/Canvas.h"

class QPainter;

class TQtCanvas : public TCanvas {
public:
    explicit TQtCanvas(QPainter& painter) : painter_(painter) {}

    void FillRect(const TRect& rect, TColor color) override;

private:
    QPainter& painter_;
};
