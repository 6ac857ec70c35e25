// The main window as the engine's shell (IShellServices).
#include "app/run/BitAnimation.h"
#include "app/shell/DataModule.h"
#include "app/shell/MainForm.h"
#include "app/run/MessagesForm.h"

#include "platform/core/Clock.h"
#include "platform/core/EventLoop.h"

#include <QListWidget>


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

void TMainForm::ShowVariables(const std::string& text)
{
    // A run refreshes the list after every line; most lines change no variable.
    if (text == FShownVariables && lbVariables->count() > 0) {
        return;
    }
    FShownVariables = text;
    lbVariables->clear();
    lbVariables->addItems(VariablesListItems(QString::fromStdString(text)));
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
