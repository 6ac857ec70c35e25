#pragma once
// Works a modal box from inside its own loop, as a user would, and makes sure the box
// ends: `act` runs on the first modal window, a box of type Dialog, made active; a box
// still open once the generous wait for a state is up (a key that failed to close it) is
// closed with a test failure, and so is any other modal window while the guard lasts. A box that never
// shows fails when the guard goes out of scope. Nothing of the guard outlives it, so it
// cannot act on a later test's box.

#include "StateTimeout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <typeinfo>

namespace testsupport {

template <class Dialog>
class TWhenModalShown {
public:
    static constexpr std::chrono::milliseconds DefaultDeadline{StateTimeoutMs};

    explicit TWhenModalShown(std::function<void(Dialog&)> act, std::chrono::milliseconds deadline = DefaultDeadline)
        : FAct(std::move(act))
    {
        FDeadline.setSingleShot(true);
        FDeadline.setInterval(deadline);
        QObject::connect(&FDeadline, &QTimer::timeout, [this] {
            if (FShown && FShown->isVisible()) {
                ADD_FAILURE() << "the box stayed open: " << FShown->windowTitle().toStdString();
                FShown->done(QDialog::Rejected);
            }
        });
        QObject::connect(&FPoll, &QTimer::timeout, [this] { Poll(); });
        FPoll.start(10);
    }
    ~TWhenModalShown()
    {
        if (!FSeen) {
            ADD_FAILURE() << "no " << typeid(Dialog).name() << " was shown";
        }
    }
    TWhenModalShown(const TWhenModalShown&) = delete;
    TWhenModalShown& operator=(const TWhenModalShown&) = delete;

private:
    void Poll()
    {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible() || modal == FShown) {
            return;
        }
        auto* dialog = dynamic_cast<Dialog*>(modal);
        if (dialog == nullptr || FSeen) {
            ADD_FAILURE() << "a modal window not expected: " << modal->windowTitle().toStdString();
            modal->done(QDialog::Rejected);
            return;
        }
        FSeen = true;
        FShown = dialog;
        FDeadline.start();
        // Active, as a window manager makes a new box: its shortcuts (Alt+letter) work.
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        FAct(*dialog);
    }

    std::function<void(Dialog&)> FAct;
    QTimer FPoll;
    QTimer FDeadline;
    QPointer<QDialog> FShown;
    bool FSeen = false;
};

} // namespace testsupport
