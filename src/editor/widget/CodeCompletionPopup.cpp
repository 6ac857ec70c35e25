#include "editor/widget/CodeCompletionPopup.h"

#include "editor/completion/CodeCompletionPaint.h"
#include "platform/core/services/DialogService.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtKeyTranslation.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <exception>

namespace {

std::u16string_view View(const QString& text)
{
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()),
                               static_cast<std::size_t>(text.size()));
}

// An event's work; an exception stops here and is reported.
template <class F>
void Guarded(F&& work) noexcept
{
    try {
        work();
    } catch (const std::exception& e) {
        try {
            ShowErrorBox(e.what());
        } catch (...) {
            qWarning("Kerfpad completion list: %s", e.what());
        }
    } catch (...) {
        qWarning("Kerfpad completion list: unknown error");
    }
}

} // namespace

TCodeCompletionPopup::TCodeCompletionPopup(TCodeBaseCompletionProposalForm& form)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      form_(form), route_(form), scrollBar_(new QScrollBar(Qt::Vertical, this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!syncing_) {
            Guarded([&] { form_.SetScrollPosition(value); });
        }
    });
    form_.SetWindow(this);
}

TCodeCompletionPopup::~TCodeCompletionPopup() { form_.SetWindow(nullptr); }

TCanvas& TCodeCompletionPopup::Measure() const
{
    if (!measure_) {
        measure_ = CreateMeasuringCanvas();
    }
    return *measure_;
}

TRect TCodeCompletionPopup::WorkAreaAt(TScreenPoint point) const
{
    QScreen* screen = QGuiApplication::screenAt(QPoint(point.x, point.y));
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    return Rect(area.left(), area.top(), area.left() + area.width(), area.top() + area.height());
}

int TCodeCompletionPopup::TextWidth(const TFont& font, TFontStyles style, const QString& text) const
{
    TCanvasFont described = CanvasFont(font);
    described.style = style;
    Measure().SetFont(described);
    return Measure().TextWidth(View(text));
}

int TCodeCompletionPopup::TextHeight(const TFont& font, const QString& text) const
{
    Measure().SetFont(font);
    return Measure().TextHeight(View(text));
}

int TCodeCompletionPopup::ScrollBarWidth() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

int TCodeCompletionPopup::WheelScrollLines() const { return QApplication::wheelScrollLines(); }

bool TCodeCompletionPopup::ApplicationActive() const
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void TCodeCompletionPopup::SetBounds(const TRect& bounds)
{
    setGeometry(bounds.Left, bounds.Top, std::max(1, bounds.Width()), std::max(1, bounds.Height()));
    const TRect& bar = form_.Layout().scrollBar;
    scrollBar_->setGeometry(bar.Left, bar.Top, bar.Width(), bar.Height());
    scrollBar_->setVisible(form_.ScrollBarVisible() && form_.Kind() == ctCode);
}

// The window always stays on top of the editor it serves; a parameter hint needs no more.
void TCodeCompletionPopup::SetStayOnTop(bool) {}

void TCodeCompletionPopup::Show(bool)
{
    if (form_.Kind() == ctCode) {
        route_.Attach(form_.CurrentEditor());
    }
    SetBounds(form_.Bounds());
    SyncScrollBar();
    show();
    raise();
    update();
}

void TCodeCompletionPopup::Hide() { hide(); }

// The keys stay with the editor, which hands them on.
void TCodeCompletionPopup::SetFocus()
{
    if (TCustomCodeEdit* editor = form_.CurrentEditor()) {
        if (auto* widget = dynamic_cast<QWidget*>(editor->Host())) {
            widget->setFocus(Qt::OtherFocusReason);
        }
    }
}

void TCodeCompletionPopup::Invalidate() { update(); }

void TCodeCompletionPopup::SyncScrollBar()
{
    syncing_ = true;
    scrollBar_->setRange(0, form_.ScrollMax());
    scrollBar_->setPageStep(std::max(1, form_.LinesInWindow()));
    scrollBar_->setValue(form_.ScrollPosition());
    syncing_ = false;
}

void TCodeCompletionPopup::paintEvent(QPaintEvent*)
{
    SyncScrollBar();
    Guarded([this] {
        QPainter painter(this);
        TQtCanvas canvas(painter);
        PaintCompletionPopup(form_, canvas, width(), height());
    });
}

void TCodeCompletionPopup::mousePressEvent(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    Guarded([&] { form_.MouseDown(y); });
}

void TCodeCompletionPopup::mouseDoubleClickEvent(QMouseEvent*)
{
    Guarded([this] { form_.DblClick(); });
}

void TCodeCompletionPopup::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    Guarded([&] { form_.MouseWheel(delta, shift); });
    event->accept();
}
