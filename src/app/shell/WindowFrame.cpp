#include "app/shell/WindowFrame.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The frame last seen round a window of the application in its normal state.
bool normalFrameSeen = false;
QMargins lastNormalFrame;

const char* const WatchName = "kerfpadFrameWatch";

bool InNormalState(const QWidget& window)
{
    return (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) == 0;
}

// Filters the window's events and its native window's (exposure comes there only).
class TFrameWatch final : public QObject {
public:
    explicit TFrameWatch(QWidget& window) : QObject(&window), FWindow(window)
    {
        setObjectName(WatchName);
        window.installEventFilter(this);
        WatchNativeWindow();
    }

    TFramedBounds Bounds;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            WatchNativeWindow();
            Settle();
            break;
        case QEvent::Expose:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            Settle();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void WatchNativeWindow()
    {
        QWindow* native = FWindow.windowHandle();
        if (native != nullptr && native != FNative) {
            native->installEventFilter(this);
            FNative = native;
        }
    }

    void Settle()
    {
        // Moving and resizing within its own events: one settling at a time.
        if (FSettling) {
            return;
        }
        if (!KnownFrame(FWindow, FFrame)) {
            return;
        }
        if (InNormalState(FWindow)) {
            Bounds.NormalFrameSeen = true;
            Bounds.NormalFrame = FFrame;
            normalFrameSeen = true;
            lastNormalFrame = FFrame;
        }
        FSettling = true;
        SettleWindowBounds(FWindow, Bounds, InNormalState(FWindow));
        FSettling = false;
    }

    QWidget& FWindow;
    QWindow* FNative = nullptr;
    QMargins FFrame;
    bool FSettling = false;
};

TFrameWatch* FindWatch(const QWidget& window)
{
    for (QObject* child : window.children()) {
        // Only a watch carries the name.
        if (child->objectName() == QLatin1String(WatchName)) {
            return static_cast<TFrameWatch*>(child);
        }
    }
    return nullptr;
}

} // namespace

TWindowBounds OuterBounds(const TWindowBounds& inner, const QMargins& frame)
{
    return {inner.Left - frame.left(), inner.Top - frame.top(), inner.Width + frame.left() + frame.right(),
            inner.Height + frame.top() + frame.bottom(), inner.Maximized};
}

TWindowBounds InnerBounds(const TWindowBounds& outer, const QMargins& frame)
{
    return {outer.Left + frame.left(), outer.Top + frame.top(),
            std::max(1, outer.Width - frame.left() - frame.right()),
            std::max(1, outer.Height - frame.top() - frame.bottom()), outer.Maximized};
}

QMargins NormalFrame(const QWidget& window)
{
    if (const TFramedBounds* bounds = FindFramedBounds(window); bounds != nullptr && bounds->NormalFrameSeen) {
        return bounds->NormalFrame;
    }
    return normalFrameSeen ? lastNormalFrame : QMargins();
}

bool KnownFrame(const QWidget& window, QMargins& frame)
{
    // The window manager frames a window before it maps it, so the frame is known once
    // the window is exposed; without a window manager it is none.
    const QWindow* native = window.windowHandle();
    if (!window.isVisible() || native == nullptr || !native->isExposed()) {
        return false;
    }
    frame = native->frameMargins();
    return true;
}

TFramedBounds& FramedBounds(QWidget& window)
{
    TFrameWatch* watch = FindWatch(window);
    if (watch == nullptr) {
        watch = new TFrameWatch(window);
    }
    return watch->Bounds;
}

const TFramedBounds* FindFramedBounds(const QWidget& window)
{
    const TFrameWatch* watch = FindWatch(window);
    return watch != nullptr ? &watch->Bounds : nullptr;
}
