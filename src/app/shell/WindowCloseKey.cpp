#include "app/shell/WindowCloseKey.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

bool IsWindowCloseKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_F4 && (event.modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

TWindowCloseKey::TWindowCloseKey()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool TWindowCloseKey::eventFilter(QObject* watched, QEvent* event)
{
    // A shortcut of the window (the main window's Exit) has had the key before.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        !IsWindowCloseKey(*static_cast<QKeyEvent*>(event))) {
        return false;
    }
    QWidget* window = static_cast<QWidget*>(watched)->window();
    const Qt::WindowType type = window->windowType();
    if (type != Qt::Window && type != Qt::Dialog) {
        return false;
    }
    window->close();
    return true;
}
