#pragma once
// The editor control's window: a scroll area that owns a TCodeEdit and is its host. The
// viewport paints through the model's Paint on a Qt canvas, without erasing first
// (every pixel of the clip is painted); invalidation, pixel scrolling and font metrics
// go from the model to Qt here. Keyboard and mouse input and the caret's display are
// the input glue's part; the caret state the model sets is kept and drawn.

#include "editor/CodeEdit.h"
#include "editor/CodeEditHost.h"

#include <QAbstractScrollArea>
#include <QRect>

#include <memory>

class QPainter;

class TCodeEditWidget : public QAbstractScrollArea, public ICodeEditHost {
public:
    // The platform's measuring canvas must be installed (InstallQtMeasuringCanvas).
    explicit TCodeEditWidget(QWidget* parent = nullptr);
    ~TCodeEditWidget() override;

    TCodeEdit& Editor() { return *editor_; }
    // Paints the part `clip` of the client area, as the viewport does on a paint event.
    void PaintClient(QPainter& painter, const QRect& clip);

    // --- ICodeEditHost ---
    int ClientWidth() const override;
    int ClientHeight() const override;
    bool Focused() const override;
    void SetFocus() override;
    void InvalidateRect(const TRect& rect) override;
    void Repaint() override;
    void ScrollBy(int dx, int dy) override;
    void CreateCaret(int width, int height) override;
    void DestroyCaret() override;
    void SetCaretPos(int x, int y) override;
    bool ShowCaret() override;
    void HideCaret() override;
    void SetCapture() override;
    void ReleaseCapture() override;
    void BeginDrag() override;
    void SetCursor(TCursor cursor) override;
    TCodeEditFontMetrics MeasureFont(const TCodeEditFont& font) override;
    int DragThreshold() const override;
    int WheelScrollLines() const override;
    void ScrollBarsChanged() override;
    void CaretChanged() override;

protected:
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QRect CaretRect() const;
    void UpdateCaretArea();

    std::unique_ptr<TCodeEdit> editor_;
    bool updatingScrollBars_ = false;
    bool painting_ = false;
    bool caretShown_ = false;
    QRect caret_{0, 0, 2, 16};
};
