// The main window as the engine's shell (IShellServices).
#include "app/DataModule.h"
#include "app/MainForm.h"

#include "platform/core/Clock.h"
#include "platform/core/EventLoop.h"

#include <QListWidget>

#include <chrono>
#include <thread>

void TMainForm::Log(const std::string& tag, const std::string& text)
{
    if (dm != nullptr) {
        dm->Log(QString::fromStdString(tag), QString::fromStdString(text));
    }
}

void TMainForm::AddMessage(const std::string& text)
{
    // The messages window comes with the run; until then PRINT goes to the debug log.
    Log("info", text);
}

void TMainForm::ShowVariables(const std::string& text)
{
    QStringList lines = QString::fromStdString(text).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    lbVariables->clear();
    lbVariables->addItems(lines);
}

bool TMainForm::SuppressAllMessages() const
{
    return SuppressAllMessages1->isChecked();
}

void TMainForm::Wait(int milliseconds)
{
    const std::int64_t deadline = TickCountMs() + milliseconds;
    while (Running && TickCountMs() < deadline) {
        ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TMainForm::FreeClamps()
{
    Move->Clamps().Free();
}
