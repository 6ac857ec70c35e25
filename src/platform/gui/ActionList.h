#pragma once
// Actions: the commands of menus, tool bars and shortcuts, each with an execute handler
// and an update handler that sets whether it is enabled (or checked) now. An action is
// a QAction, so menus and tool bars hold it directly. Its list updates every action
// whenever the application is idle (the shell's idle handler calls UpdateAll) and when
// asked; a trigger from a shortcut, a menu item or a button runs the update first and
// executes only an action that is then enabled. Its hint is its tool tip; it has no
// status tip (what reaches a window's status bar is that window's business).
//
// No handler lets an exception into Qt's loop: the message goes to an error box through
// the dialog service. An update that keeps failing is reported once, until it succeeds
// again, and leaves its action disabled.

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TActionList;

class TAction : public QAction {
public:
    using THandler = std::function<void(TAction& action)>;

    TAction(TActionList& list, const QString& name);

    const QString& Name() const { return FName; }
    int ImageIndex() const { return FImageIndex; }
    // Takes the list's picture for the index; -1 for none.
    void SetImageIndex(int index);

    THandler OnExecute;
    THandler OnUpdate;

    // Runs the update handler; a failure is reported and disables the action.
    void Update();
    // The update, then the execute handler when the action is enabled; true when it ran
    // (even when the handler failed and was reported).
    bool Execute();

private:
    TActionList& FList;
    QString FName;
    int FImageIndex = -1;
    bool FUpdateFailed = false;
};

class TActionList {
public:
    TActionList() = default;
    TActionList(const TActionList&) = delete;
    TActionList& operator=(const TActionList&) = delete;

    // A new action owned by the list, disabled until its first update when `enabled` is
    // false.
    TAction* Add(const QString& name, const QString& caption, const QString& hint = {},
                 const QKeySequence& shortcut = {}, int imageIndex = -1, bool enabled = true);
    // nullptr when the list has no action of that name.
    TAction* Find(const QString& name) const;
    const std::vector<std::unique_ptr<TAction>>& Actions() const { return FActions; }
    // Every action's update, in list order.
    void UpdateAll();

    // Where the pictures of image indexes come from; actions that already have an index
    // take their picture again.
    void SetImages(std::function<QIcon(int index)> images);
    QIcon Image(int index) const { return FImages && index >= 0 ? FImages(index) : QIcon(); }

private:
    std::vector<std::unique_ptr<TAction>> FActions;
    std::function<QIcon(int)> FImages;
};

// An error of a handler that must not reach the event loop: an error box through the
// dialog service, or Qt's warning output when no box can be shown.
void ReportHandlerError(const std::string& message);
// Runs a handler of a Qt signal or event, reporting whatever it raises.
void RunGuarded(const std::function<void()>& handler);
