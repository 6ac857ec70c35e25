#pragma once
// What the editor pages ask of the main window: opening files, the sub-file an FP line
// names, the parsed form of a line, command hints, the caret-line marker, the status
// bar, the page control, whether a run is stepping and the options items of the pages'
// popup menu. The main window installs itself for its lifetime; tests install a fake.
// Without a host the pages still edit, save and search: lines parse to nothing, no hint
// shows, no run is stepping and the popup ends with the bookmarks.

#include "platform/core/InstallScope.h"

#include <QList>
#include <QString>

class QAction;
class QTabWidget;
class TArrayofCmds;

class IEditorPageHost {
public:
    virtual ~IEditorPageHost() = default;
    // Opens a file in a page, or re-activates the page that shows it.
    virtual void DoOpenFile(const QString& fileName) = 0;
    // The full name of the sub-file an FP line names.
    virtual QString ResolveFPFileName(const QString& lineText) = 0;
    // The line as the engine's preprocessor splits it, nothing executed.
    virtual void ParseLine(const QString& lineText, TArrayofCmds& cmds) = 0;
    // The hint of commands.ini for a command word; empty when there is none.
    virtual QString CommandHint(const QString& word) = 0;
    // Moves the 3D view's marker to where the caret line's move goes.
    virtual void ShowLinePosition(const QString& lineText) = 0;
    // Refreshes the status bar and the caption (the status-bar action's update).
    virtual void UpdateStatusBar() = 0;
    // The fifth status-bar panel: the caret line's command hint.
    virtual void SetHintPanel(const QString& text) = 0;
    // Whether a run waits after every line.
    virtual bool RunStepMode() const = 0;
    // The page control new pages go to.
    virtual QTabWidget* PageControl() = 0;
    // The items that end a page's popup menu: the editor options and the preview
    // options, the main menu's own actions.
    virtual QList<QAction*> OptionsActions() = 0;
};

// Installs `host` (not owned; nullptr removes it) and returns the one it replaces.
inline IEditorPageHost* SetEditorPageHost(IEditorPageHost* host)
{
    return TServiceSlot<IEditorPageHost>::Install(host);
}
inline IEditorPageHost* EditorPageHost()
{
    return TServiceSlot<IEditorPageHost>::Installed();
}

using TEditorPageHostScope = TInstallScope<IEditorPageHost, SetEditorPageHost>;
