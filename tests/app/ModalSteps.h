#pragma once
// Scripted dialogs that show chosen modal windows for real: the test's steps run inside
// the window's own loop and work it as the user would (keys, clicks, focus), then end it
// through its buttons. Every other box and window is answered from the script. A window
// still open 30 s after its steps is closed, so no test hangs.

#include "../support/ScriptedDialogs.h"

#include <QApplication>
#include <QDialog>
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
        FSteps.emplace_back(std::move(name), std::move(steps));
    }
    bool AllAnswered() const { return FSteps.empty() && TScriptedDialogs::AllAnswered(); }

    TModalResult ShowModalForm(IModalForm& form) override
    {
        if (FSteps.empty() || FSteps.front().first != form.FormName()) {
            return TScriptedDialogs::ShowModalForm(form);
        }
        FormsShown.push_back(form.FormName());
        std::function<void(QDialog&)> steps = std::move(FSteps.front().second);
        FSteps.pop_front();
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
    std::deque<std::pair<std::string, std::function<void(QDialog&)>>> FSteps;
};
