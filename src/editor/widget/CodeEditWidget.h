#pragma once
// The editor control's window: a scroll area that owns a TCodeEdit and is its host. The
// viewport paints through the model's Paint on a Qt canvas, without erasing first
// (every pixel of the clip is painted), and draws the caret over it. Every Qt event is
// translated here into the model's call (keys, text, mouse, wheel, focus, input method,
// scroll-bar actions, drags and drops); what follows from it is the model's. No
// exception leaves an event handler: each is reported through the dialog service.

#include "editor/control/CodeEdit.h"
#include "editor/control/CodeEditHost.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <memory>

class QMimeData;
class QPainter;
class QScrollBar;

class TCodeEditWidget : public QAbstractScrollArea, public ICodeEditHost {
public:
    // The platform's measuring canvas must be installed (InstallQtMeasuringCanvas).
    explicit TCodeEditWidget(QWidget* parent = nullptr);
    ~TCodeEditWidget() override;

    TCodeEdit& Editor() { return *editor_; }
    // Paints the part `clip` of the client area, as the viewport does on a paint event.
    void PaintClient(QPainter& painter, const QRect& clip);

    // The clipboard requests of the platform's edit actions; failures are reported.
    void cut();
    void copy();
    void paste();

    // A text drag of this editor: the selected text as plain text and the editor's
    // identity in a private type.
    QMimeData* MakeDragData() const;
    // The live editor a drag's data came from, or nullptr (another program, no editor).
    static TCodeEditWidget* DragSource(const QMimeData* data);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // --- ICodeEditHost ---
    int ClientWidth() const override;
    int ClientHeight() const override;
    bool Focused() const override;
    void SetFocus() override;
    void InvalidateRect(const TRect& rect) override;
    void Repaint() override;
    void UpdateWindow() override;
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
    TTextPoint ScrollHintSize(const QString& text) override;
    void ShowScrollHint(const QString& text, int x, int y, TColor color) override;
    void HideScrollHint() override;
    int ScrollArrowHeight() const override;
    void RecreateWindow() override;
    void ClientToScreen(int& x, int& y) const override;

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void SliderAction(TScrollBarKind kind, int action);
    void SliderReleased(TScrollBarKind kind);
    QScrollBar* Bar(TScrollBarKind kind) const;
    void ApplyWindowStyle();
    void DragOverEvent(QDragMoveEvent* event, TDragState state);
    void BlinkCaret();
    void UpdateCaretArea();

    std::unique_ptr<TCodeEdit> editor_;
    bool updatingScrollBars_ = false;
    bool painting_ = false;
    bool caretShown_ = false;
    bool blinkOn_ = true;
    QRect caret_{0, 0, 2, 16};
    QTimer blinkTimer_;
    QPointer<TCodeEditWidget> dragSource_;
};
