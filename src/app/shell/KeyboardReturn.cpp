#include "app/shell/KeyboardReturn.h"

#include "platform/gui/X11WindowState.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <initializer_list>
#include <optional>

namespace {

// Of `candidates`, in order, the first window that still shows, is not `hidden` and
// takes the keyboard (the messages window maps taking none, a flag of its native
// window).
QWidget* KeyboardHeir(const QWidget& hidden, std::initializer_list<QWidget*> candidates)
{
    for (QWidget* candidate : candidates) {
        if (candidate == nullptr || candidate == &hidden || !candidate->isVisible()) {
            continue;
        }
        if (const QWindow* handle = candidate->windowHandle();
            handle != nullptr && !handle->flags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
            return candidate;
        }
    }
    return nullptr;
}

} // namespace

bool TKeyboardReturn::WindowManagerRuns(const QWindow& hidden)
{
    const std::optional<TX11WindowState> state = ReadX11WindowState(hidden);
    return !state || state->Managed;
}

TKeyboardReturn::TKeyboardReturn(QWidget& main, TManaged managed) : FMain(main), FManaged(std::move(managed))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool TKeyboardReturn::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide) || !watched->isWidgetType()) {
        return false;
    }
    auto* window = static_cast<QWidget*>(watched);
    // Windows and dialogs; menus and pop-ups give the keyboard back themselves.
    const Qt::WindowType kind = window->windowType();
    if (!window->isWindow() || (kind != Qt::Window && kind != Qt::Dialog)) {
        return false;
    }
    if (type == QEvent::Show) {
        // Show comes before the window is mapped and activated.
        FShown.insert(watched, {watched, QApplication::activeWindow()});
        return false;
    }
    QPointer<QWidget> before;
    if (const auto shown = FShown.constFind(watched); shown != FShown.cend()) {
        if (shown->Window == watched) {
            before = shown->ActiveBefore;
        }
        FShown.erase(shown);
    }
    // By its hide Qt has let the window go as the active one, not yet as the focus
    // window, which it leaves when the X server says the keyboard went elsewhere.
    const QWindow* handle = window->windowHandle();
    const QWindow* focus = QGuiApplication::focusWindow();
    if (handle == nullptr || focus == nullptr || (focus != handle && !handle->isAncestorOf(focus)) ||
        FManaged(*handle)) {
        return false;
    }
    QWidget* parent = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr;
    if (QWidget* heir = KeyboardHeir(*window, {before.data(), parent, &FMain})) {
        heir->activateWindow();
    }
    return false;
}
