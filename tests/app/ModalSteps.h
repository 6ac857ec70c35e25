#pragma once
// Scripted dialogs that show chosen modal windows for real: the test's steps run inside
// the window's own loop and work it as the user would (keys, clicks, focus), then end it
// through its buttons. Every other box and window is answered from the script. A window
// still open 30 s after its steps is closed, so no test hangs. A window that cannot show
// where the test runs (a web view on the offscreen platform) can have its modal loop held
// instead, unshown, its steps inside.

#include "../support/ScriptedDialogs.h"

#include "platform/gui/QtModalForm.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <utility>

class TModalSteps : public TScriptedDialogs {
public:
    // The next window named `name` is shown for real and `steps` work it; they get the
    // window, shown and active.
    void ExpectSteps(std::string name, std::function<void(QDialog&)> steps)
    {
        FSteps.push_back({std::move(name), std::move(steps), true});
    }
    // The next window named `name` (a top-level dialog of that object name) is not shown:
    // its modal loop runs as showing it would, and `steps` run inside. A window the steps
    // left open is closed.
    void ExpectHeldSteps(std::string name, std::function<void(QDialog&)> steps)
    {
        FSteps.push_back({std::move(name), std::move(steps), false});
    }
    bool AllAnswered() const { return FSteps.empty() && TScriptedDialogs::AllAnswered(); }

    TModalResult ShowModalForm(IModalForm& form) override
    {
        if (FSteps.empty() || FSteps.front().Name != form.FormName()) {
            return TScriptedDialogs::ShowModalForm(form);
        }
        FormsShown.push_back(form.FormName());
        std::function<void(QDialog&)> steps = std::move(FSteps.front().Steps);
        const bool show = FSteps.front().Show;
        FSteps.pop_front();
        if (!show) {
            return HoldLoop(form, steps);
        }
        QTimer::singleShot(0, [steps] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "no modal window is shown";
                return;
            }
            dialog->activateWindow();
            QApplication::setActiveWindow(dialog);
            steps(*dialog);
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&form] {
            ADD_FAILURE() << "the window stayed open: " << form.FormName();
            form.CloseModal(TModalResult::mrCancel);
        });
        watchdog.start(30000);
        return form.ExecuteModal();
    }

private:
    struct TStep {
        std::string Name;
        std::function<void(QDialog&)> Steps;
        bool Show;
    };

    static TModalResult HoldLoop(IModalForm& form, const std::function<void(QDialog&)>& steps)
    {
        QPointer<QDialog> window;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QString::fromStdString(form.FormName())) {
                window = qobject_cast<QDialog*>(widget);
            }
        }
        if (!window) {
            ADD_FAILURE() << "no window named " << form.FormName();
            return TModalResult::mrCancel;
        }
        QEventLoop loop;
        bool finished = false;
        QObject::connect(window, &QDialog::finished, &loop, [&] {
            finished = true;
            loop.quit();
        });
        QTimer::singleShot(0, &loop, [&] {
            steps(*window);
            if (!finished) {
                form.CloseModal(TModalResult::mrCancel);
            }
        });
        loop.exec();
        return window ? ModalResultOf(window->result()) : TModalResult::mrCancel;
    }

    std::deque<TStep> FSteps;
};
