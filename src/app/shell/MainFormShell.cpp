// The main window as the engine's shell (IShellServices).
#include "app/shell/DataModule.h"
#include "app/shell/MainForm.h"
#include "app/run/MessagesForm.h"
#include "app/shell/VariablesList.h"

#include "platform/core/services/Clock.h"
#include "platform/core/services/EventLoop.h"

void TMainForm::Log(const std::string& tag, const std::string& text)
{
    if (dm != nullptr) {
        dm->Log(QString::fromStdString(tag), QString::fromStdString(text));
    }
}

void TMainForm::AddMessage(const std::string& text)
{
    if (FMessages != nullptr) {
        FMessages->AddMessage(QString::fromStdString(text));
    } else {
        Log("info", text);
    }
}

void TMainForm::ShowVariables(const TCalculVariables& variables)
{
    // A run shows the list after every line: only the rows of changed variables are
    // written, so a line costs no more beside a long variable it does not touch.
    TVariablesListRows rows(*lbVariables);
    FVariablesView.Show(variables, rows);
}

bool TMainForm::SuppressAllMessages() const
{
    return SuppressAllMessages1->isChecked();
}

void TMainForm::Wait(int milliseconds)
{
    const std::int64_t deadline = TickCountMs() + milliseconds;
    while (Running && TickCountMs() < deadline) {
        WaitPass();
    }
}

void TMainForm::FreeClamps()
{
    Move->Clamps().Free();
}
