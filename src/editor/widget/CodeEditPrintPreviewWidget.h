#pragma once
// The print preview control's window: a scroll area whose viewport the preview model
// paints through a canvas over QPainter, whose scroll bars show the model's ranges and
// send it the platform's scroll messages, and one page hint window for the whole
// program while the page bar's thumb is dragged.

#include "editor/printing/CodeEditPrintPreview.h"

#include <QAbstractScrollArea>

#include <functional>
#include <memory>

class QScrollBar;
class TCanvas;

class TCodeEditPrintPreviewWidget : public QAbstractScrollArea, private ICodePreviewHost {
public:
    explicit TCodeEditPrintPreviewWidget(QWidget* parent = nullptr);
    ~TCodeEditPrintPreviewWidget() override;

    TCodeEditPrintPreview& Preview() { return preview_; }

    // The button of a press on the control (the dialog zooms with it).
    std::function<void(Qt::MouseButton button)> OnMouseDown;

    QSize sizeHint() const override { return QSize(200, 120); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The model scrolls; the bars only report what the user did.
    void scrollContentsBy(int dx, int dy) override;

private:
    // ICodePreviewHost
    int ClientWidth() const override;
    int ClientHeight() const override;
    int ScreenPixelsPerInchX() const override;
    int ScreenPixelsPerInchY() const override;
    TCanvas& MeasuringCanvas() override;
    void Invalidate() override;
    void ScrollContents(int dx, int dy) override;
    void ScrollBarsChanged() override;
    void ShowScrollHint(const QString& text) override;
    void BorderChanged() override;

    void BarAction(QScrollBar* bar, bool vertical, int action);
    void BarReleased(QScrollBar* bar, bool vertical);
    void ApplyBar(QScrollBar* bar, const TPreviewScrollBar& model, bool vertical);

    TCodeEditPrintPreview preview_;
    std::unique_ptr<TCanvas> measuringCanvas_;
    bool updatingBars_ = false;
    bool resizedWhileUpdating_ = false;
};
