#include "editor/widget/CodeEditPrintPreviewWidget.h"

#include "platform/core/graphics/Canvas.h"
#include "platform/gui/QtCanvas.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

namespace {

// The one page hint window of the program, freed with the application.
QPointer<QLabel>& HintWindowSlot()
{
    static QPointer<QLabel> window;
    return window;
}

QLabel& HintWindow()
{
    QPointer<QLabel>& window = HintWindowSlot();
    if (!window) {
        window = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
        window->setPalette(QToolTip::palette());
        window->setAutoFillBackground(true);
        window->setMargin(2);
        window->setFrameShape(QFrame::Box);
        qAddPostRoutine([] { delete HintWindowSlot().data(); });
    }
    return *window;
}

TPreviewScrollCode ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return TPreviewScrollCode::LineDown;
    case QAbstractSlider::SliderSingleStepSub: return TPreviewScrollCode::LineUp;
    case QAbstractSlider::SliderPageStepAdd: return TPreviewScrollCode::PageDown;
    case QAbstractSlider::SliderPageStepSub: return TPreviewScrollCode::PageUp;
    case QAbstractSlider::SliderToMinimum: return TPreviewScrollCode::Top;
    case QAbstractSlider::SliderToMaximum: return TPreviewScrollCode::Bottom;
    default: return TPreviewScrollCode::ThumbTrack;
    }
}

} // namespace

TCodeEditPrintPreviewWidget::TCodeEditPrintPreviewWidget(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (const bool vertical : {false, true}) {
        QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar, vertical](int action) { BarAction(bar, vertical, action); });
        connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, vertical] { BarReleased(bar, vertical); });
    }
    preview_.SetHost(this);
}

TCodeEditPrintPreviewWidget::~TCodeEditPrintPreviewWidget()
{
    preview_.SetHost(nullptr);
    if (QLabel* hint = HintWindowSlot().data()) {
        hint->hide();
    }
}

int TCodeEditPrintPreviewWidget::ClientWidth() const { return viewport()->width(); }
int TCodeEditPrintPreviewWidget::ClientHeight() const { return viewport()->height(); }
int TCodeEditPrintPreviewWidget::ScreenPixelsPerInchX() const { return logicalDpiX(); }
int TCodeEditPrintPreviewWidget::ScreenPixelsPerInchY() const { return logicalDpiY(); }

TCanvas& TCodeEditPrintPreviewWidget::MeasuringCanvas()
{
    if (!measuringCanvas_) {
        measuringCanvas_ = TQtCanvas::CreateMeasuring(logicalDpiY());
    }
    return *measuringCanvas_;
}

void TCodeEditPrintPreviewWidget::Invalidate() { viewport()->update(); }

void TCodeEditPrintPreviewWidget::ScrollContents(int dx, int dy) { viewport()->scroll(dx, dy); }

void TCodeEditPrintPreviewWidget::BorderChanged()
{
    setFrameStyle(preview_.BorderStyle() == TPreviewBorder::bsSingle ? QFrame::StyledPanel | QFrame::Sunken
                                                                      : QFrame::NoFrame);
}

void TCodeEditPrintPreviewWidget::ApplyBar(QScrollBar* bar, const TPreviewScrollBar& model, bool vertical)
{
    const Qt::ScrollBarPolicy policy = model.Visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (vertical) {
        setVerticalScrollBarPolicy(policy);
    } else {
        setHorizontalScrollBarPolicy(policy);
    }
    // The platform's bar stops where the page's last position shows the range's end.
    bar->setRange(model.Min, std::max(model.Min, model.Max - std::max(model.Page - 1, 0)));
    bar->setPageStep(std::max(1, model.Page));
    bar->setSingleStep(1);
    bar->setValue(model.Position);
    bar->setEnabled(model.Enabled());
}

void TCodeEditPrintPreviewWidget::ScrollBarsChanged()
{
    if (updatingBars_) {
        return;
    }
    updatingBars_ = true;
    resizedWhileUpdating_ = false;
    ApplyBar(horizontalScrollBar(), preview_.HorzScrollBar(), false);
    ApplyBar(verticalScrollBar(), preview_.VertScrollBar(), true);
    updatingBars_ = false;
    if (resizedWhileUpdating_) {
        resizedWhileUpdating_ = false;
        preview_.Resized();
    }
}

void TCodeEditPrintPreviewWidget::BarAction(QScrollBar* bar, bool vertical, int action)
{
    if (action == QAbstractSlider::SliderNoAction) {
        return;
    }
    const TPreviewScrollCode code = ScrollCodeOf(action);
    if (vertical) {
        preview_.VerticalScroll(code, bar->sliderPosition());
    } else {
        preview_.HorizontalScroll(code, bar->sliderPosition());
    }
    // The model decides where the bar stands.
    const TPreviewScrollBar& model = vertical ? preview_.VertScrollBar() : preview_.HorzScrollBar();
    bar->setSliderPosition(model.Position);
}

void TCodeEditPrintPreviewWidget::BarReleased(QScrollBar* bar, bool vertical)
{
    if (vertical) {
        preview_.VerticalScroll(TPreviewScrollCode::ThumbPosition, bar->sliderPosition());
        preview_.VerticalScroll(TPreviewScrollCode::EndScroll, 0);
    } else {
        preview_.HorizontalScroll(TPreviewScrollCode::ThumbPosition, bar->sliderPosition());
        preview_.HorizontalScroll(TPreviewScrollCode::EndScroll, 0);
    }
}

void TCodeEditPrintPreviewWidget::ShowScrollHint(const QString& text)
{
    QLabel& hint = HintWindow();
    if (text.isEmpty()) {
        hint.hide();
        return;
    }
    hint.setText(text);
    hint.setMaximumWidth(200);
    hint.adjustSize();
    const QPoint topRight = viewport()->mapToGlobal(QPoint(viewport()->width(), 0));
    hint.move(topRight.x() - 4 - hint.width(), topRight.y() + 10);
    hint.show();
}

void TCodeEditPrintPreviewWidget::scrollContentsBy(int /*dx*/, int /*dy*/) {}

void TCodeEditPrintPreviewWidget::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    QPainter painter(viewport());
    TQtCanvas canvas(painter);
    preview_.Paint(canvas, Rect(area.left(), area.top(), area.right() + 1, area.bottom() + 1));
}

bool TCodeEditPrintPreviewWidget::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        // A bar that comes or goes resizes the client area: size the sheet again once
        // the bars are set.
        if (updatingBars_) {
            resizedWhileUpdating_ = true;
        } else {
            preview_.Resized();
        }
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TCodeEditPrintPreviewWidget::wheelEvent(QWheelEvent* event)
{
    preview_.MouseWheel(event->angleDelta().y());
    event->accept();
}

void TCodeEditPrintPreviewWidget::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown) {
        OnMouseDown(event->button());
    }
    QAbstractScrollArea::mousePressEvent(event);
}
