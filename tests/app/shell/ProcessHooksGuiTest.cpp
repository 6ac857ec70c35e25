// The hooks the application puts on the whole process meet every object, the web
// engine's among them, whose classes carry no type information (a cast that needs it
// ends the process): the main window's event filters (window fit, Alt+F4, the keyboard
// given back, wheel, resize, show), the about box's key state and the box announcer, all
// at once, handed such objects.

#include "app/plugins/AboutBox.h"
#include "app/shell/MainForm.h"
#include "platform/gui/QtMessageBox.h"

#include "../ShellTestSupport.h"
#include "../../support/SettledWindow.h"
#include "../../support/WithoutTypeInfo.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWheelEvent>

namespace {

class ProcessHooksGui : public TShellTest {};

TEST_F(ProcessHooksGui, ObjectsWithoutTypeInformationPassEveryHook)
{
    TMainForm window;
    window.WaitFrameMs = 0;
    window.show();
    TFAboutBox about(&window);
    {
        TQtMessageBox box(&window, "Kerfpad", TMsgDlgType::mtInformation, "Shown once", mbOK);
        box.show();
        EXPECT_TRUE(testsupport::WaitForSettledWindow(box));
    }
    // A page's widget inside a window larger than the screen.
    QWidget host;
    TWithoutTypeInfo foreign(&host);
    const QRect area = QApplication::primaryScreen()->availableGeometry();
    host.resize(area.size() * 2);
    host.show();
    foreign.Show(QSize(100, 80));
    EXPECT_TRUE(testsupport::WaitForSettledWindow(host));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, "d");
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    for (QObject* target : {foreign.Object(), static_cast<QObject*>(foreign.Widget())}) {
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &wheel);
        QAccessible::queryAccessibleInterface(target);
    }
    // The window that holds it is still fitted to the screen as it shows.
    EXPECT_LE(host.frameGeometry().width(), area.width());
    EXPECT_LE(host.frameGeometry().height(), area.height());
    // Alt+F4 in the page closes the window that holds it.
    QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QApplication::sendEvent(foreign.Widget(), &altF4);
    EXPECT_FALSE(host.isVisible());
}

} // namespace
