#include "app/shell/KeyboardReturn.h"

#include "platform/gui/X11InputFocus.h"

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

// Whether Qt's focus window says the keyboard went with `hidden`, asked as it hides: the
// window itself, one of its own or one over it, or a pop-up, which only grabs the
// keyboard from the window below (a file dialog's completion list stayed Qt's focus
// window past the dialog's hide). Qt's word holds until the server's events tell it
// otherwise.
bool QtSaysKeyboardWith(const QWindow& hidden)
{
    const QWindow* focus = QGuiApplication::focusWindow();
    return focus != nullptr && (focus == &hidden || hidden.isAncestorOf(focus) || focus->type() == Qt::Popup);
}

} // namespace

TKeyboardReturn::TKeyboardReturn(QWidget& main) : FMain(main)
{
    QCoreApplication::instance()->installEventFilter(this);
    // None once the keyboard has left the application; a window that goes while it has
    // the keyboard leaves Qt no focus window without a word.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) { FHolder = focus; });
}

bool TKeyboardReturn::KeyboardLeftWith(const QWindow& hidden) const
{
    if (QtSaysKeyboardWith(hidden)) {
        return true;
    }
    // The window given the keyboard last, before Qt heard it arrive: a box that gave it
    // to its dialog has gone, and its window with it, which left Qt no focus window, when
    // the dialog closes at once after (Yes to the question before a Save As replaces a
    // file).
    if (QGuiApplication::focusWindow() == nullptr && FHolder == &hidden) {
        return true;
    }
    // The X server, asked after the unmap, says the keyboard is left with no window (the
    // root window, without a window manager for good) also where Qt's bookkeeping has not
    // caught up: a window given the keyboard and hidden in one pass goes before Qt hears
    // of either, Qt still naming the window before it.
    const std::optional<TX11InputFocus> server = ReadX11InputFocus();
    return server && server->Nowhere;
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
    const QWindow* handle = window->windowHandle();
    if (handle == nullptr || !KeyboardLeftWith(*handle)) {
        return false;
    }
    QWidget* parent = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr;
    if (QWidget* heir = KeyboardHeir(*window, {before.data(), parent, &FMain})) {
        FHolder = heir->windowHandle();
        heir->activateWindow();
    }
    return false;
}
