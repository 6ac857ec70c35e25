#include "editor/widget/CodeEditWidget.h"

#include "editor/widget/CodeEditScrollHintWindow.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/graphics/SystemColors.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtCanvasFonts.h"
#include "platform/gui/QtKeyTranslation.h"

#include <QApplication>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyleHints>
#include <QUrl>

#include <algorithm>
#include <exception>

namespace {

// The private type of a text drag: "<process id>:<editor address>".
const QString DragSourceFormat = QStringLiteral("application/x-kerfpad-codeedit-drag");

// The editors of this process that a drag may name.
QSet<const TCodeEditWidget*>& LiveEditors()
{
    static QSet<const TCodeEditWidget*> editors;
    return editors;
}

Qt::CursorShape CursorShape(TCursor cursor)
{
    switch (cursor) {
    case crIBeam: return Qt::IBeamCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crMultiDrag: return Qt::DragCopyCursor;
    default: return Qt::ArrowCursor;
    }
}

bool ModelButton(Qt::MouseButton button, TMouseButton& out)
{
    switch (button) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

void Report(const char* text)
{
    try {
        ShowErrorBox(text);
    } catch (...) {
        qWarning("Kerfpad editor: %s", text);
    }
}

// Runs one event's work; an exception stops here and is reported.
template <class F>
void Guarded(F&& work) noexcept
{
    try {
        work();
    } catch (const std::exception& e) {
        Report(e.what());
    } catch (...) {
        Report("An unknown error occurred.");
    }
}

// Characters of a key: the platform gives none while Alt is down without Ctrl (those
// are menu keys) and none for Delete.
bool KeyMakesText(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers m = event.modifiers();
    if ((m & Qt::AltModifier) && !(m & Qt::ControlModifier)) {
        return false;
    }
    return event.key() != Qt::Key_Delete && !event.text().isEmpty();
}

bool IsAltBackspace(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Backspace && (event.modifiers() & Qt::AltModifier);
}

QStringList LocalFiles(const QMimeData* data)
{
    QStringList files;
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                files.append(url.toLocalFile());
            }
        }
    }
    return files;
}

} // namespace

TCodeEditWidget::TCodeEditWidget(QWidget* parent) : QAbstractScrollArea(parent), editor_(std::make_unique<TCodeEdit>())
{
    LiveEditors().insert(this);
    TCodeEditScrollHintWindow::Hold();
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    viewport()->setAcceptDrops(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
        QScrollBar* bar = Bar(kind);
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, kind](int action) { SliderAction(kind, action); });
        connect(bar, &QAbstractSlider::sliderReleased, this, [this, kind] { SliderReleased(kind); });
    }
    verticalScrollBar()->installEventFilter(this);
    connect(&blinkTimer_, &QTimer::timeout, this, [this] { BlinkCaret(); });
    ApplyWindowStyle();
    editor_->SetHost(this);
}

TCodeEditWidget::~TCodeEditWidget()
{
    editor_->SetHost(nullptr);
    LiveEditors().remove(this);
    TCodeEditScrollHintWindow::Release();
}

// --- painting ------------------------------------------------------------------------

void TCodeEditWidget::PaintClient(QPainter& painter, const QRect& clip)
{
    painter.setClipRect(clip);
    {
        TQtCanvas canvas(painter);
        // The model hides the caret while it paints and shows it again at the end; the
        // caret is drawn below, so those calls must not ask for another paint.
        painting_ = true;
        try {
            editor_->Paint(canvas);
        } catch (...) {
            painting_ = false;
            throw;
        }
        painting_ = false;
    }
    if (caretShown_ && blinkOn_ && clip.intersects(caret_)) {
        // The caret inverts what lies under it, as the platform's caret does.
        painter.save();
        painter.setClipRect(clip);
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.fillRect(caret_, Qt::black);
        painter.restore();
    }
}

bool TCodeEditWidget::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        Guarded([this] { editor_->ClientResized(); });
    }
    if (event->type() != QEvent::Paint) {
        return QAbstractScrollArea::viewportEvent(event);
    }
    Guarded([this, event] {
        QPainter painter(viewport());
        PaintClient(painter, static_cast<QPaintEvent*>(event)->rect());
    });
    return true;
}

// The model scrolls its window itself; the bars only report the user's actions.
void TCodeEditWidget::scrollContentsBy(int, int) {}

// --- keys and text ---------------------------------------------------------------------

bool TCodeEditWidget::event(QEvent* event)
{
    // Alt+Backspace belongs to the editor's key handler, not to a shortcut or menu.
    if (event->type() == QEvent::ShortcutOverride && IsAltBackspace(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void TCodeEditWidget::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    Guarded([this, event] {
        const TShiftState shift = ShiftStateFromQt(event->modifiers());
        TVirtualKey key = VirtualKeyFromKeyEvent(*event);
        if (key == VK_TAB && !(editor_->DialogCode(shift) & DlgcWantTab)) {
            QAbstractScrollArea::focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
            return;
        }
        // A character whose key has no virtual key comes as the platform's packet key,
        // so that its key-down still ends what the key before it left pending.
        if (key == 0 && !event->text().isEmpty()) {
            key = VK_PACKET;
        }
        if (key != 0) {
            editor_->KeyDown(key, shift);
        }
        if (KeyMakesText(*event)) {
            editor_->KeyText(event->text());
        }
    });
}

bool TCodeEditWidget::focusNextPrevChild(bool next)
{
    const TShiftState shift = ShiftStateFromQt(QGuiApplication::keyboardModifiers());
    if (editor_->DialogCode(shift) & DlgcWantTab) {
        return false; // Tab is the editor's key
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TCodeEditWidget::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty()) {
        const QString text = event->commitString();
        Guarded([this, &text] { editor_->ImeResult(text); });
    }
    event->accept();
}

QVariant TCodeEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: return caret_.translated(viewport()->geometry().topLeft());
    case Qt::ImFont: {
        QFont font(QtFontFamily(editor_->Font().Name().toStdString()));
        font.setPointSize(editor_->Font().Size());
        return font;
    }
    default: return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// --- the mouse -----------------------------------------------------------------------------

namespace {
// A button event as the model takes it: the button, the shift state with the buttons
// held (and the double-click mark), the point; false for a button the model knows not.
struct TButtonEvent {
    TMouseButton button = mbLeft;
    TShiftState shift;
    QPoint at;
};
bool ModelButtonEvent(const QMouseEvent& event, bool doubleClick, TButtonEvent& out)
{
    out.shift = ShiftStateFromQt(event.modifiers(), event.buttons(), doubleClick);
    out.at = event.position().toPoint();
    return ModelButton(event.button(), out.button);
}
} // namespace

void TCodeEditWidget::mousePressEvent(QMouseEvent* event)
{
    TButtonEvent e;
    if (ModelButtonEvent(*event, false, e)) {
        Guarded([&] { editor_->MouseDown(e.button, e.shift, e.at.x(), e.at.y()); });
    }
}

void TCodeEditWidget::mouseMoveEvent(QMouseEvent* event)
{
    TButtonEvent e;
    ModelButtonEvent(*event, false, e);
    Guarded([&] { editor_->MouseMove(e.shift, e.at.x(), e.at.y()); });
}

void TCodeEditWidget::mouseReleaseEvent(QMouseEvent* event)
{
    TButtonEvent e;
    if (ModelButtonEvent(*event, false, e)) {
        Guarded([&] { editor_->MouseUp(e.button, e.shift, e.at.x(), e.at.y()); });
    }
}

// The platform's order: the double click first, then a press marked as double.
void TCodeEditWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    TButtonEvent e;
    if (!ModelButtonEvent(*event, true, e)) {
        return;
    }
    Guarded([&] {
        if (e.button == mbLeft) {
            editor_->DblClick(e.at.x(), e.at.y());
        }
        editor_->MouseDown(e.button, e.shift, e.at.x(), e.at.y());
    });
}

void TCodeEditWidget::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    if (delta != 0) {
        Guarded([&] { editor_->MouseWheel(delta, shift); });
    }
    event->accept();
}

// The wheel over the vertical bar scrolls as it does over the text (the platform sends it
// to the window that owns the bar): by the system's wheel lines, never through the
// bar's scaled steps.
bool TCodeEditWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->angleDelta().y() != 0) {
            wheelEvent(wheel);
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// Qt grabs the mouse for the widget a button went down on until it comes up, so the
// model's capture needs nothing more; losing the focus ends it.
void TCodeEditWidget::SetCapture() {}
void TCodeEditWidget::ReleaseCapture() {}

// --- focus -------------------------------------------------------------------------------

void TCodeEditWidget::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    Guarded([this] { editor_->FocusGained(); });
}

void TCodeEditWidget::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    Guarded([this] {
        if (editor_->MouseCaptured()) {
            editor_->CaptureLost();
        }
        editor_->FocusLost();
    });
}

// --- clipboard -----------------------------------------------------------------------------

void TCodeEditWidget::cut()
{
    Guarded([this] { editor_->CutToClipboard(); });
}

void TCodeEditWidget::copy()
{
    Guarded([this] { editor_->CopyToClipboard(); });
}

void TCodeEditWidget::paste()
{
    Guarded([this] { editor_->PasteFromClipboard(); });
}

// --- drag and drop ---------------------------------------------------------------------------

QMimeData* TCodeEditWidget::MakeDragData() const
{
    auto* data = new QMimeData;
    data->setText(editor_->GetSelText());
    const QString identity = QStringLiteral("%1:%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(reinterpret_cast<quintptr>(this));
    data->setData(DragSourceFormat, identity.toLatin1());
    return data;
}

TCodeEditWidget* TCodeEditWidget::DragSource(const QMimeData* data)
{
    if (!data || !data->hasFormat(DragSourceFormat)) {
        return nullptr;
    }
    const QList<QByteArray> parts = data->data(DragSourceFormat).split(':');
    if (parts.size() != 2 || parts[0].toLongLong() != QCoreApplication::applicationPid()) {
        return nullptr;
    }
    bool ok = false;
    const quintptr address = parts[1].toULongLong(&ok);
    // Only an address of a live editor is taken; nothing else is dereferenced.
    for (const TCodeEditWidget* editor : LiveEditors()) {
        if (ok && reinterpret_cast<quintptr>(editor) == address) {
            return const_cast<TCodeEditWidget*>(editor);
        }
    }
    return nullptr;
}

void TCodeEditWidget::BeginDrag()
{
    const QPointer<TCodeEditWidget> self(this);
    auto* drag = new QDrag(this);
    drag->setMimeData(MakeDragData());
    // The target moves or copies the text itself, through both editors' models.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    if (self) {
        editor_->CaptureLost();
    }
}

void TCodeEditWidget::DragOverEvent(QDragMoveEvent* event, TDragState state)
{
    const QPoint p = event->position().toPoint();
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    bool accepted = false;
    Qt::DropAction action = Qt::CopyAction;
    Guarded([&] {
        if (TCodeEditWidget* source = DragSource(event->mimeData())) {
            dragSource_ = source;
            TCursor cursor = crDrag;
            accepted = editor_->DragOver(&source->Editor(), p.x(), p.y(), state, shift, cursor);
            action = cursor == crMultiDrag ? Qt::CopyAction : Qt::MoveAction;
        } else if (editor_->HasOption(eoDropFiles) && !LocalFiles(event->mimeData()).isEmpty()) {
            accepted = true;
        }
    });
    if (accepted) {
        event->setDropAction(action);
        event->accept();
    } else {
        event->ignore();
    }
}

void TCodeEditWidget::dragEnterEvent(QDragEnterEvent* event) { DragOverEvent(event, dsDragEnter); }

void TCodeEditWidget::dragMoveEvent(QDragMoveEvent* event) { DragOverEvent(event, dsDragMove); }

void TCodeEditWidget::dragLeaveEvent(QDragLeaveEvent* event)
{
    if (dragSource_) {
        TCursor cursor = crDrag;
        Guarded([&] { editor_->DragOver(&dragSource_->Editor(), 0, 0, dsDragLeave, TShiftState(), cursor); });
    }
    dragSource_ = nullptr;
    event->accept();
}

void TCodeEditWidget::dropEvent(QDropEvent* event)
{
    dragSource_ = nullptr;
    const QPoint p = event->position().toPoint();
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    bool accepted = false;
    Guarded([&] {
        if (TCodeEditWidget* source = DragSource(event->mimeData())) {
            editor_->DragDrop(&source->Editor(), p.x(), p.y(), shift);
            accepted = true;
        } else if (editor_->HasOption(eoDropFiles)) {
            const QStringList files = LocalFiles(event->mimeData());
            if (!files.isEmpty()) {
                editor_->DropFiles(p.x(), p.y(), files);
                accepted = true;
            }
        }
    });
    event->setAccepted(accepted);
}

// --- scroll bars ---------------------------------------------------------------------------

QScrollBar* TCodeEditWidget::Bar(TScrollBarKind kind) const
{
    return kind == sbVertical ? verticalScrollBar() : horizontalScrollBar();
}

void TCodeEditWidget::SliderAction(TScrollBarKind kind, int action)
{
    QScrollBar* bar = Bar(kind);
    TScrollCode code = scEndScroll;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
    case QAbstractSlider::SliderToMinimum: code = scTop; break;
    case QAbstractSlider::SliderToMaximum: code = scBottom; break;
    case QAbstractSlider::SliderMove: code = bar->isSliderDown() ? scTrack : scPosition; break;
    default: return;
    }
    const int position = bar->sliderPosition();
    Guarded([&] {
        editor_->Scroll(kind, code, position);
        // A position set without a drag (the bar's own wheel) is a whole scroll: the
        // hint it may have shown goes with it.
        if (code == scPosition) {
            editor_->Scroll(kind, scEndScroll, position);
        }
    });
    // The bar lands where the model's view went, not where the action alone would. A
    // dragged thumb stays under the mouse, as the platform's tracked thumb does: its
    // position read back through a scaled bar would give another line on release.
    if (!bar->isSliderDown()) {
        bar->setSliderPosition(editor_->ScrollInfo(kind).position);
    }
}

void TCodeEditWidget::SliderReleased(TScrollBarKind kind)
{
    QScrollBar* bar = Bar(kind);
    const int position = bar->sliderPosition();
    Guarded([&] {
        editor_->Scroll(kind, scPosition, position);
        editor_->Scroll(kind, scEndScroll, position);
    });
    bar->setValue(editor_->ScrollInfo(kind).position);
}

void TCodeEditWidget::ScrollBarsChanged()
{
    if (updatingScrollBars_) {
        return;
    }
    updatingScrollBars_ = true;
    ApplyWindowStyle();
    for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
        const TScrollBarInfo& info = editor_->ScrollInfo(kind);
        QScrollBar* bar = Bar(kind);
        // Qt's maximum is the last first-visible step; the platform's includes the page.
        bar->setRange(info.minimum, std::max(info.minimum, info.maximum - info.page + 1));
        bar->setPageStep(std::max(1, info.page));
        bar->setSingleStep(1);
        if (!bar->isSliderDown()) {
            bar->setValue(info.position);
        }
        bar->setEnabled(info.firstArrowEnabled || info.secondArrowEnabled);
    }
    updatingScrollBars_ = false;
}

void TCodeEditWidget::ApplyWindowStyle()
{
    const TScrollStyle bars = editor_->ScrollBars();
    const bool hideShow = editor_->HasOption(eoHideShowScrollbars);
    const auto policy = [hideShow](bool shown) {
        if (!shown) {
            return Qt::ScrollBarAlwaysOff;
        }
        return hideShow ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    };
    const Qt::ScrollBarPolicy horizontal =
        policy(bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth);
    const Qt::ScrollBarPolicy vertical = policy(bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth);
    if (horizontalScrollBarPolicy() != horizontal) {
        setHorizontalScrollBarPolicy(horizontal);
    }
    if (verticalScrollBarPolicy() != vertical) {
        setVerticalScrollBarPolicy(vertical);
    }
    const QFrame::Shape shape = editor_->BorderStyle() == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame;
    if (frameShape() != shape) {
        setFrameShape(shape);
    }
}

void TCodeEditWidget::RecreateWindow() { ApplyWindowStyle(); }

void TCodeEditWidget::ClientToScreen(int& x, int& y) const
{
    const QPoint screen = viewport()->mapToGlobal(QPoint(x, y));
    x = screen.x();
    y = screen.y();
}

TTextPoint TCodeEditWidget::ScrollHintSize(const QString& text)
{
    const QSize size = TCodeEditScrollHintWindow::Measure(text);
    return TTextPoint{size.width(), size.height()};
}

void TCodeEditWidget::ShowScrollHint(const QString& text, int x, int y, TColor color)
{
    TCodeEditScrollHintWindow::Show(text, viewport()->mapToGlobal(QPoint(x, y)), color);
}

void TCodeEditWidget::HideScrollHint() { TCodeEditScrollHintWindow::Hide(); }

int TCodeEditWidget::ScrollArrowHeight() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

// --- the window ---------------------------------------------------------------------------

int TCodeEditWidget::ClientWidth() const { return viewport()->width(); }
int TCodeEditWidget::ClientHeight() const { return viewport()->height(); }
bool TCodeEditWidget::Focused() const { return hasFocus(); }
void TCodeEditWidget::SetFocus() { setFocus(Qt::OtherFocusReason); }

void TCodeEditWidget::InvalidateRect(const TRect& rect)
{
    viewport()->update(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()));
}

void TCodeEditWidget::Repaint() { viewport()->repaint(); }

// The window's pending paint runs now, as the platform's update of a window does.
void TCodeEditWidget::UpdateWindow()
{
    if (!isVisible()) {
        return;
    }
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window(), &request);
}

void TCodeEditWidget::ScrollBy(int dx, int dy) { viewport()->scroll(dx, dy); }

void TCodeEditWidget::SetCursor(TCursor cursor) { viewport()->setCursor(CursorShape(cursor)); }

TCodeEditFontMetrics TCodeEditWidget::MeasureFont(const TCodeEditFont& font)
{
    return ::MeasureFont(editor_->TextDrawer(), font);
}

int TCodeEditWidget::DragThreshold() const { return QApplication::startDragDistance(); }

int TCodeEditWidget::WheelScrollLines() const { return QApplication::wheelScrollLines(); }

// --- the caret -------------------------------------------------------------------------------

void TCodeEditWidget::CreateCaret(int width, int height)
{
    UpdateCaretArea();
    caret_.setSize(QSize(width, height));
    UpdateCaretArea();
}

void TCodeEditWidget::DestroyCaret()
{
    HideCaret();
    blinkTimer_.stop();
}

// A moved or shown caret starts its blink with the caret on.
void TCodeEditWidget::SetCaretPos(int x, int y)
{
    if (caret_.topLeft() == QPoint(x, y)) {
        return;
    }
    UpdateCaretArea();
    caret_.moveTo(x, y);
    blinkOn_ = true;
    UpdateCaretArea();
}

bool TCodeEditWidget::ShowCaret()
{
    // The model hides and shows the caret around its painting: that is no blink.
    if (painting_) {
        caretShown_ = true;
        return true;
    }
    caretShown_ = true;
    blinkOn_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash > 0) {
        blinkTimer_.start(flash / 2);
    }
    UpdateCaretArea();
    return true;
}

void TCodeEditWidget::HideCaret()
{
    UpdateCaretArea();
    caretShown_ = false;
    if (!painting_) {
        blinkTimer_.stop();
    }
}

void TCodeEditWidget::BlinkCaret()
{
    blinkOn_ = !blinkOn_;
    UpdateCaretArea();
}

void TCodeEditWidget::UpdateCaretArea()
{
    if (caretShown_ && !painting_) {
        viewport()->update(caret_);
    }
}

void TCodeEditWidget::CaretChanged()
{
    if (hasFocus()) {
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    }
}
