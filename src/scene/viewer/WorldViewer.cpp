#include "scene/viewer/WorldViewer.h"

#include "platform/core/Assert.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/services/EventLoop.h"
#include "platform/gui/QtKeyTranslation.h"
#include "scene/viewer/GLX11Context.h"
#include "scene/viewer/X11Sync.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QExposeEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPlatformSurfaceEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

bool ToMouseButton(Qt::MouseButton qt, TMouseButton& button)
{
    switch (qt) {
    case Qt::LeftButton:
        button = mbLeft;
        return true;
    case Qt::RightButton:
        button = mbRight;
        return true;
    case Qt::MiddleButton:
        button = mbMiddle;
        return true;
    default:
        return false;
    }
}

int Round(double v)
{
    return static_cast<int>(std::lround(v));
}

} // namespace

// The native window: a raster-surface QWindow that Qt never paints into itself; its
// events go to the viewer.
class TGLWorldViewer::TViewerWindow : public QWindow {
public:
    explicit TViewerWindow(TGLWorldViewer& viewer) : FViewerPtr(&viewer)
    {
        setSurfaceType(QSurface::RasterSurface);
        resize(100, 100);
    }

    void Detach() { FViewerPtr = nullptr; }

    // Called after the container's own handling of a new focus window, which takes the
    // focus from the application's control once this window has the keyboard. A control
    // focused after the container asked for it (the container focused, then the control
    // at once, as a Ctrl+click on a command line does) gets it back, and with it the
    // window that holds the viewer the keyboard: otherwise the keyboard stayed in the
    // 3D view, where no key does anything, until a click.
    void KeyboardArrived(QWindow* focusWindow)
    {
        if (focusWindow != this) {
            return;
        }
        const QPointer<QWidget> movedOn = std::exchange(FFocusMovedOn, nullptr);
        if (movedOn && movedOn->isVisible() && movedOn->isEnabled()) {
            movedOn->setFocus(Qt::OtherFocusReason);
        }
    }

protected:
    bool event(QEvent* event) override
    {
        if (!FViewerPtr) {
            return QWindow::event(event);
        }
        TGLWorldViewer& viewer = *FViewerPtr;
        switch (event->type()) {
        case QEvent::FocusIn: {
            // The window system's answer to the container's request for the keyboard,
            // which comes after the application may have focused another control.
            QWidget* focus = QApplication::focusWidget();
            FFocusMovedOn = focus != viewer.container_ ? focus : nullptr;
            return QWindow::event(event);
        }
        case QEvent::UpdateRequest:
            viewer.Paint();
            return true;
        case QEvent::Enter:
            viewer.MouseEntered(true);
            return true;
        case QEvent::Leave:
            viewer.MouseEntered(false);
            return true;
        case QEvent::PlatformSurface:
            // The context goes before its native window does; the next paint on a new
            // native window makes a new one.
            if (static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed) {
                viewer.DestroyContext();
                viewer.contextFailed_ = false;
            }
            return QWindow::event(event);
        default:
            return QWindow::event(event);
        }
    }
    void exposeEvent(QExposeEvent*) override
    {
        if (FViewerPtr && isExposed()) {
            FViewerPtr->Paint();
        }
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (FViewerPtr) {
            FViewerPtr->WindowResized();
        }
    }
    void mousePressEvent(QMouseEvent* e) override { MouseButton(*e, true); }
    void mouseReleaseEvent(QMouseEvent* e) override { MouseButton(*e, false); }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (!FViewerPtr) {
            return;
        }
        TGLWorldViewer& viewer = *FViewerPtr;
        Guard([&] {
            if (viewer.OnDblClick) {
                viewer.OnDblClick(&viewer);
            }
        });
        e->accept();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!FViewerPtr) {
            return;
        }
        TGLWorldViewer& viewer = *FViewerPtr;
        Guard([&] {
            if (viewer.OnMouseMove) {
                const QPointF p = e->position();
                viewer.OnMouseMove(&viewer, ShiftStateFromQt(e->modifiers(), e->buttons()), Round(p.x()),
                                    Round(p.y()));
            }
        });
        e->accept();
    }
    void wheelEvent(QWheelEvent* e) override
    {
        if (!FViewerPtr) {
            return;
        }
        TGLWorldViewer& viewer = *FViewerPtr;
        bool handled = false;
        Guard([&] {
            if (viewer.OnMouseWheel) {
                const QPointF p = e->position();
                viewer.OnMouseWheel(&viewer, ShiftStateFromQt(e->modifiers(), e->buttons()), e->angleDelta().y(),
                                     Round(p.x()), Round(p.y()), handled);
            }
        });
        e->setAccepted(handled);
    }

private:
    void MouseButton(QMouseEvent& e, bool down)
    {
        if (!FViewerPtr) {
            return;
        }
        TGLWorldViewer& viewer = *FViewerPtr;
        TMouseButton button;
        if (!ToMouseButton(e.button(), button)) {
            return;
        }
        const QPointF p = e.position();
        Guard([&] {
            const TShiftState shift = ShiftStateFromQt(e.modifiers(), e.buttons() | e.button());
            if (down && viewer.OnMouseDown) {
                viewer.OnMouseDown(&viewer, button, shift, Round(p.x()), Round(p.y()));
            }
            if (!down) {
                if (viewer.OnMouseUp) {
                    viewer.OnMouseUp(&viewer, button, shift, Round(p.x()), Round(p.y()));
                }
                // A click is a left press and release inside the window.
                if (button == mbLeft && viewer.OnClick && QRectF(QPointF(0, 0), QSizeF(size())).contains(p)) {
                    viewer.OnClick(&viewer);
                }
            }
        });
        e.accept();
    }
    template <class F>
    static void Guard(F&& body)
    {
        try {
            body();
        } catch (...) {
            TGLWorldViewer::ReportException();
        }
    }

    // Cleared when the viewer goes: events during the window's own teardown find no viewer.
    TGLWorldViewer* FViewerPtr;
    QPointer<QWidget> FFocusMovedOn;
};

// ---- Construction ----

TGLWorldViewer::TGLWorldViewer(QWidget* parent, TComponent* owner)
    : TComponent(owner), buffer_(std::make_unique<TGLWorldBuffer>(this))
{
    openGLAvailable_ = InitOpenGLLibraries();
    RegisterGLX11ContextClass();
    window_ = new TViewerWindow(*this);
    // The container owns the window from here on.
    container_ = QWidget::createWindowContainer(window_, parent);
    container_->resize(100, 100);
    container_->setMinimumSize(1, 1);
    container_->setFocusPolicy(Qt::StrongFocus);
    container_->setMouseTracking(true);
    // Connected after the container's own slot, so it runs after it.
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, window_,
                     [window = window_](QWindow* focus) { window->KeyboardArrived(focus); });
    buffer_->Resize(100, 100);
    buffer_->ViewerBeforeRender = [this](TObject* sender) { DoBeforeRender(sender); };
    buffer_->OnChange = [this](TObject* sender) { DoBufferChange(sender); };
    buffer_->OnStructuralChange = [this](TObject* sender) { DoBufferStructuralChange(sender); };
}

TGLWorldViewer::~TGLWorldViewer()
{
    // The context goes before its window.
    buffer_->OnChange = nullptr;
    buffer_->OnStructuralChange = nullptr;
    window_->Detach();
    DestroyContext();
    if (Camera()) {
        Camera()->RemoveFreeNotification(this);
    }
    buffer_.reset();
    delete container_; // and the window with it
}

QWidget* TGLWorldViewer::Widget() const
{
    return container_;
}

QWindow* TGLWorldViewer::Window() const
{
    return window_;
}

int TGLWorldViewer::Width() const
{
    return Round(window_->width() * window_->devicePixelRatio());
}

int TGLWorldViewer::Height() const
{
    return Round(window_->height() * window_->devicePixelRatio());
}

// ---- Camera and lens ----

void TGLWorldViewer::SetCamera(TGLCamera* camera)
{
    if (TGLCamera* old = buffer_->Camera()) {
        old->RemoveFreeNotification(this);
    }
    buffer_->SetCamera(camera);
    if (TGLCamera* current = buffer_->Camera()) {
        current->FreeNotification(this);
    }
}

void TGLWorldViewer::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && buffer_ && component == buffer_->Camera()) {
        buffer_->SetCamera(nullptr);
    }
    TComponent::Notification(component, operation);
}

float TGLWorldViewer::FieldOfView() const
{
    if (!Camera()) {
        return 0;
    }
    return Camera()->GetFieldOfView(float(std::min(Width(), Height())));
}

void TGLWorldViewer::SetFieldOfView(float value)
{
    if (Camera()) {
        Camera()->SetFieldOfView(value, float(std::min(Width(), Height())));
    }
}

// ---- Window and context ----

void TGLWorldViewer::HandleNeeded()
{
    contextFailed_ = false;
    window_->create();
    if (!buffer_->RCInstantiated()) {
        CreateContextForWindow();
    }
}

void TGLWorldViewer::CreateContextForWindow()
{
    // Window contexts need a real X11 window; other platforms (offscreen) have none.
    if (!openGLAvailable_ || !window_->handle() || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    buffer_->Resize(Width(), Height());
    appliedSwapInterval_ = -1;
    // The window must exist on the server before the context's connection uses it.
    SyncQtX11Connection();
    contextFailed_ = true;
    buffer_->CreateRC(static_cast<TGLOutputDevice>(window_->winId()), false);
    contextFailed_ = false;
}

void TGLWorldViewer::DestroyContext()
{
    try {
        buffer_->DestroyRC();
    } catch (...) {
        ReportException();
    }
}

void TGLWorldViewer::RecreateWindow()
{
    ++recreateCount_;
    contextFailed_ = false;
    DestroyContext();
    const bool wasVisible = window_->isVisible();
    window_->destroy();
    window_->create();
    if (wasVisible) {
        window_->setVisible(true);
    }
    try {
        CreateContextForWindow();
    } catch (...) {
        ReportException();
    }
    Invalidate();
}

void TGLWorldViewer::WindowResized()
{
    ++resizeCount_;
    try {
        buffer_->Resize(Width(), Height());
    } catch (...) {
        ReportException();
    }
    // The server may have exposed the grown window before Qt told it of the new size:
    // that paint drew at the old size and left the rest of the window black.
    Invalidate();
}

// ---- Painting ----

void TGLWorldViewer::Paint()
{
    // A moved window is resized on its next paint, so the viewport follows it.
    const QPoint origin = window_->mapToGlobal(QPoint(0, 0));
    if (positionKnown_ && (origin.x() != lastScreenX_ || origin.y() != lastScreenY_) && buffer_->RCInstantiated()) {
        QCoreApplication::postEvent(window_, new QResizeEvent(window_->size(), window_->size()));
    }
    lastScreenX_ = origin.x();
    lastScreenY_ = origin.y();
    positionKnown_ = true;
    if (!openGLAvailable_ || Width() <= 0 || Height() <= 0) {
        return;
    }
    try {
        if (!buffer_->RCInstantiated() && !contextFailed_ && window_->handle()) {
            CreateContextForWindow();
        }
        ++paintCount_;
        buffer_->RenderWholeScene();
    } catch (...) {
        ReportException();
    }
}

void TGLWorldViewer::Invalidate()
{
    if (!buffer_->Rendering()) {
        window_->requestUpdate();
    }
}

void TGLWorldViewer::DoBufferChange(TObject* /*sender*/)
{
    Invalidate();
}

void TGLWorldViewer::DoBufferStructuralChange(TObject* /*sender*/)
{
    RecreateWindow();
}

void TGLWorldViewer::DoBeforeRender(TObject* /*sender*/)
{
    ApplySwapInterval();
}

void TGLWorldViewer::ApplySwapInterval()
{
    int interval = 0;
    switch (vsync_) {
    case vsmSync:
        interval = 1;
        break;
    case vsmNoSync:
        interval = 0;
        break;
    default:
        KP_ASSERT(false);
    }
    if (!WGLExt.EXT_swap_control || interval == appliedSwapInterval_) {
        return;
    }
    auto* context = ObjectCast<TGLX11Context>(buffer_->RenderingContext());
    if (context && context->SetSwapInterval(interval)) {
        appliedSwapInterval_ = interval;
    }
}

void TGLWorldViewer::MouseEntered(bool inside)
{
    mouseInside_ = inside;
    try {
        const TViewerNotifyEvent& handler = inside ? OnMouseEnter : OnMouseLeave;
        if (handler) {
            handler(this);
        }
    } catch (...) {
        ReportException();
    }
}

void TGLWorldViewer::ReportException()
{
    const std::exception_ptr error = std::current_exception();
    if (IEventLoop* loop = GetEventLoop()) {
        loop->HandleException(error);
    } else {
        DebugLog("error: " + ExceptionMessage(error));
    }
}
