#include "app/run/MainFormEvents.h"

#include "app/shell/MainForm.h"
#include "platform/gui/ActionList.h"

#include <QSplitter>
#include <QTimer>
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
    } else if (event->type() == QEvent::Resize && watched == FForm.MainSplitter) {
        // The window's size may still change (a window manager maximising it): the
        // stored split is kept until the user sets another, once the splitter has
        // shared out the new width.
        QTimer::singleShot(0, &FForm, [form = &FForm] { RunGuarded([form] { form->KeepWantedPanelWidth(); }); });
    } else if (event->type() == QEvent::Show && watched == &FForm) {
        FForm.FormShow();
    }
    return QObject::eventFilter(watched, event);
}
