#include "platform/gui/ActionList.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/services/EventLoop.h"

#include <exception>

TAction::TAction(TActionList& list, const QString& name) : FList(list), FName(name)
{
    setObjectName(name);
    QObject::connect(this, &QAction::triggered, this, [this] { Execute(); });
}

void TAction::SetImageIndex(int index)
{
    FImageIndex = index;
    setIcon(FList.Image(index));
}

void TAction::Update()
{
    if (!OnUpdate) {
        return;
    }
    try {
        OnUpdate(*this);
        FUpdateFailed = false;
    } catch (...) {
        setEnabled(false);
        // Updates run at every idle moment: one box per failure, not one per moment.
        if (!FUpdateFailed) {
            FUpdateFailed = true;
            ReportHandlerError(ExceptionMessage(std::current_exception()));
        }
    }
}

bool TAction::Execute()
{
    Update();
    if (!isEnabled() || !OnExecute) {
        return false;
    }
    RunGuarded([this] { OnExecute(*this); });
    return true;
}

TAction* TActionList::Add(const QString& name, const QString& caption, const QString& hint,
                          const QKeySequence& shortcut, int imageIndex, bool enabled)
{
    auto action = std::make_unique<TAction>(*this, name);
    action->setText(caption);
    action->setToolTip(hint.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : hint);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
    }
    action->SetImageIndex(imageIndex);
    action->setEnabled(enabled);
    FActions.push_back(std::move(action));
    return FActions.back().get();
}

TAction* TActionList::Find(const QString& name) const
{
    for (const auto& action : FActions) {
        if (action->Name() == name) {
            return action.get();
        }
    }
    return nullptr;
}

void TActionList::UpdateAll()
{
    for (const auto& action : FActions) {
        action->Update();
    }
}

void TActionList::SetImages(std::function<QIcon(int)> images)
{
    FImages = std::move(images);
    for (const auto& action : FActions) {
        action->SetImageIndex(action->ImageIndex());
    }
}

void ReportHandlerError(const std::string& message)
{
    try {
        ShowErrorBox(message);
        return;
    } catch (...) {
        // No responder, or one that failed: the message must still go somewhere.
    }
    qWarning("Kerfpad: %s", message.c_str());
}

void RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        ReportHandlerError(ExceptionMessage(std::current_exception()));
    }
}
