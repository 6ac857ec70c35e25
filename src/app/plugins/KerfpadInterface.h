#pragma once
// The automation object: the seven methods plug-ins call back through, on the bus and on
// the plug-in pages' channel alike. It keeps no state: every call reads, at that moment,
// the plug-in window (FPlugIns), the active page (ActiveEditor), the data module's
// simulator slots and the main window (AutomationShell), so any number of instances
// act on the same program. Calls that arrive during a run run at once with the state as
// it is; none starts a run.
//
// Integers count as true only when they are 1. A method that cannot do what it was
// asked raises Exception; the transports turn that into an error reply or a log line.

#include "platform/core/InstallScope.h"
#include "platform/gui/automation/KerfpadAutomation.h"

#include <string>

// What the automation object asks of the main window.
class IAutomationShell {
public:
    virtual ~IAutomationShell() = default;
    // Restores a minimised main window and brings the program to the front.
    virtual void BringToFront() = 0;
    // Whether a results run or a quick view is going: their compared paths must not
    // change under them.
    virtual bool HeadlessRunGoing() const = 0;
};

// Installs `shell` (not owned; nullptr removes it) and returns the one it replaces.
inline IAutomationShell* SetAutomationShell(IAutomationShell* shell)
{
    return TServiceSlot<IAutomationShell>::Install(shell);
}
inline IAutomationShell* AutomationShell()
{
    return TServiceSlot<IAutomationShell>::Installed();
}
using TAutomationShellScope = TInstallScope<IAutomationShell, SetAutomationShell>;

class TKerfpadInterface : public IKerfpadAutomation {
public:
    // Brings the program to the front; then, with a plug-in window: into its exchange
    // buffer when the buffer shows and `toPlugins` is 1, else the window is closed and
    // the text replaces the active page's selection (dropped without a page). A page
    // that is read-only because a program runs refuses the text after the window closed.
    void SendData(const std::string& resultData, int toPlugins) override;
    // The buffer's selection (1) or whole text; empty without a plug-in window.
    std::string GetData(int selection) override;
    // The active page's caret line; empty without a page.
    std::string GetCurrentLine() override;
    // "x,y,z" of the simulated tool: 15 significant digits, "." in every locale.
    std::string GetCurPos() override;
    // Degrees of the last segment of the last cut polyline.
    double GetLastMoveSegmentAngle() override;
    // A node of the cut (move) or jog paths, rounded to single precision; a new
    // polyline when `newlines` is 1, the tool moved there when `setcurpos` is 1.
    // Refused during a results run or a quick view, and for a coordinate that is not a
    // finite single-precision number (nothing is added then).
    void AddMoveNode(double x, double y, double z, int setcurpos, int newlines) override;
    void AddJogNode(double x, double y, double z, int setcurpos, int newlines) override;
};
