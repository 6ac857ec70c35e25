#include "app/run/MainFormEvents.h"

#include "app/shell/MainForm.h"
#include "platform/gui/ActionList.h"

#include <QSplitter>
#include <QWheelEvent>

TMainFormEvents::TMainFormEvents(TMainForm& form) : QObject(&form), FForm(form) {}

bool TMainFormEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == &FForm) {
            const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
            RunGuarded([&] { FForm.FormMouseWheel(delta); });
            return true;
        }
    } else if (event->type() == QEvent::Resize && watched == &FForm) {
        FForm.UpdateCameraFocalLength();
    } else if (event->type() == QEvent::Show && watched == &FForm) {
        FForm.FormShow();
    }
    return QObject::eventFilter(watched, event);
}
