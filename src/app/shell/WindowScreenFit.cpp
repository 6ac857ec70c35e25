#include "app/shell/WindowScreenFit.h"

#include "app/shell/WindowBounds.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

TWindowScreenFit::TWindowScreenFit()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool TWindowScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    // Show comes before the window is mapped, so it is never seen at its old size. A
    // window brought back from minimised (a spontaneous Show) is not placed again:
    // openbox shows it below the screen first, and it was centred; icewm lets a window
    // the user moved stand with its frame's edge off the screen, and it was moved.
    if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        // Windows and dialogs; menus, tool tips and the completion list place themselves.
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)) {
            KeepInsideScreen(*widget);
        }
    }
    return false;
}
