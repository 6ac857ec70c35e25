#include "editor/widget/CodeEditWidget.h"

#include "platform/core/SystemColors.h"
#include "platform/gui/QtCanvas.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <exception>

namespace {

Qt::CursorShape CursorShape(TCursor cursor)
{
    switch (cursor) {
    case crIBeam: return Qt::IBeamCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crMultiDrag: return Qt::DragCopyCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

TCodeEditWidget::TCodeEditWidget(QWidget* parent) : QAbstractScrollArea(parent), editor_(std::make_unique<TCodeEdit>())
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    // The control shows both bars, disabled while there is nothing to scroll.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->SetHost(this);
}

TCodeEditWidget::~TCodeEditWidget() { editor_->SetHost(nullptr); }

void TCodeEditWidget::PaintClient(QPainter& painter, const QRect& clip)
{
    painter.setClipRect(clip);
    TQtCanvas canvas(painter);
    // The model hides the caret while it paints and shows it again at the end; the caret
    // is drawn below, so those calls must not ask for another paint.
    painting_ = true;
    try {
        editor_->Paint(canvas);
    } catch (...) {
        painting_ = false;
        throw;
    }
    painting_ = false;
    if (caretShown_ && clip.intersects(CaretRect())) {
        const TColor c = ResolveSystemColor(editor_->Font().Color());
        painter.fillRect(CaretRect(), QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
}

bool TCodeEditWidget::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        editor_->ClientResized();
    }
    if (event->type() != QEvent::Paint) {
        return QAbstractScrollArea::viewportEvent(event);
    }
    // Exceptions stop here: an event handler never lets one into Qt's loop.
    try {
        QPainter painter(viewport());
        PaintClient(painter, static_cast<QPaintEvent*>(event)->rect());
    } catch (const std::exception& e) {
        qWarning("Kerfpad editor: painting failed: %s", e.what());
    } catch (...) {
        qWarning("Kerfpad editor: painting failed");
    }
    return true;
}

// The scroll bars count lines and columns from 0.
void TCodeEditWidget::scrollContentsBy(int, int)
{
    if (updatingScrollBars_) {
        return;
    }
    editor_->SetTopLine(verticalScrollBar()->value() + 1);
    editor_->SetLeftChar(horizontalScrollBar()->value() + 1);
}

int TCodeEditWidget::ClientWidth() const { return viewport()->width(); }
int TCodeEditWidget::ClientHeight() const { return viewport()->height(); }
bool TCodeEditWidget::Focused() const { return hasFocus(); }
void TCodeEditWidget::SetFocus() { setFocus(Qt::OtherFocusReason); }

void TCodeEditWidget::InvalidateRect(const TRect& rect)
{
    viewport()->update(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()));
}

void TCodeEditWidget::Repaint() { viewport()->repaint(); }

void TCodeEditWidget::ScrollBy(int dx, int dy) { viewport()->scroll(dx, dy); }

void TCodeEditWidget::CreateCaret(int width, int height) { caret_.setSize(QSize(width, height)); }

void TCodeEditWidget::DestroyCaret() { HideCaret(); }

void TCodeEditWidget::SetCaretPos(int x, int y)
{
    UpdateCaretArea();
    caret_.moveTo(x, y);
    UpdateCaretArea();
}

bool TCodeEditWidget::ShowCaret()
{
    caretShown_ = true;
    UpdateCaretArea();
    return true;
}

void TCodeEditWidget::HideCaret()
{
    UpdateCaretArea();
    caretShown_ = false;
}

void TCodeEditWidget::UpdateCaretArea()
{
    if (caretShown_ && !painting_) {
        viewport()->update(CaretRect());
    }
}

QRect TCodeEditWidget::CaretRect() const { return caret_; }

// Qt grabs the mouse for the widget a button went down on until it comes up, so the
// model's capture needs nothing more; dragging text belongs to the input glue.
void TCodeEditWidget::SetCapture() {}
void TCodeEditWidget::ReleaseCapture() {}
void TCodeEditWidget::BeginDrag() {}

void TCodeEditWidget::SetCursor(TCursor cursor) { viewport()->setCursor(CursorShape(cursor)); }

TCodeEditFontMetrics TCodeEditWidget::MeasureFont(const TCodeEditFont& font)
{
    return ::MeasureFont(editor_->TextDrawer(), font);
}

int TCodeEditWidget::DragThreshold() const { return QApplication::startDragDistance(); }

int TCodeEditWidget::WheelScrollLines() const { return QApplication::wheelScrollLines(); }

void TCodeEditWidget::ScrollBarsChanged()
{
    if (updatingScrollBars_) {
        return;
    }
    updatingScrollBars_ = true;
    const TCodeEdit& e = *editor_;
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, e.LineCount() - e.LinesInWindow()));
    vertical->setPageStep(std::max(1, e.LinesInWindow()));
    vertical->setValue(e.TopLine() - 1);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, e.MaxLeftChar() - e.CharsInWindow()));
    horizontal->setPageStep(std::max(1, e.CharsInWindow()));
    horizontal->setValue(e.LeftChar() - 1);
    updatingScrollBars_ = false;
}

void TCodeEditWidget::CaretChanged()
{
    const TTextPoint p = editor_->TextPosToPixel(editor_->CaretXY());
    SetCaretPos(p.x, p.y);
}
