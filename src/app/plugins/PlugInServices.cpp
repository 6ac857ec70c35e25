#include "app/plugins/PlugInServices.h"

#include "app/shell/DataModule.h"
#include "app/pages/EditorPageHost.h"
#include "app/shell/MainForm.h"
#include "app/plugins/PlugInsForm.h"
#include "app/run/PreviewPanel.h"

#include "platform/core/Exceptions.h"
#include "platform/gui/automation/KerfpadBus.h"
#include "scene/viewer/WorldViewer.h"

#include <QApplication>
#include <QPointer>

namespace {

QString gBusName;

QWidget* MainWindow()
{
    return dynamic_cast<QWidget*>(EditorPageHost());
}

// A plug-in window in FPlugIns for the length of `use`; then freed on the next event
// pass. A window that was there before (none should be: the window is modal) comes back.
template <class F>
void WithPlugInsWindow(F&& use)
{
    QPointer<TFPlugIns> previous = FPlugIns;
    QPointer<TFPlugIns> window = new TFPlugIns(MainWindow());
    FPlugIns = window;
    struct TRelease {
        QPointer<TFPlugIns>& Window;
        QPointer<TFPlugIns>& Previous;
        ~TRelease()
        {
            FPlugIns = Previous;
            if (Window) {
                Window->deleteLater();
            }
        }
    } release{window, previous};
    use(*window);
}

} // namespace

void ExecutePlugInsWindow()
{
    WithPlugInsWindow([](TFPlugIns& window) { window.Execute(); });
}

void TPlugInWindowLoader::LoadSimple(const QString& fileName, int width, int height, bool quiet)
{
    WithPlugInsWindow([&](TFPlugIns& window) { window.LoadSimple(fileName, width, height, quiet); });
}

void FocusPreviewView()
{
    auto* window = dynamic_cast<TMainForm*>(EditorPageHost());
    if (window == nullptr) {
        return;
    }
    if (window->GLWorldViewer1 != nullptr) {
        window->GLWorldViewer1->Widget()->setFocus();
    } else if (window->PanelGL != nullptr) {
        window->PanelGL->setFocus();
    }
}

QString AutomationBusName()
{
    return gBusName;
}

class TPlugInServices::TMainWindowShell : public IAutomationShell {
public:
    explicit TMainWindowShell(TMainForm& window) : FWindow(window) {}
    // The program comes to the front as it stands: a modal window (the plug-in window
    // itself, say) stays above the main window.
    void BringToFront() override
    {
        if (FWindow.isMinimized()) {
            FWindow.showNormal();
        }
        QWidget* front = QApplication::activeModalWidget();
        if (front == nullptr) {
            front = &FWindow;
        }
        front->raise();
        front->activateWindow();
    }
    bool HeadlessRunGoing() const override { return FWindow.QuietRun || FWindow.ResultsRun; }

private:
    TMainForm& FWindow;
};

TPlugInServices::TPlugInServices(TMainForm& window, bool withBus)
    : FShell(std::make_unique<TMainWindowShell>(window)), FShellScope(FShell.get())
{
    if (!withBus) {
        return;
    }
    try {
        FBus = std::make_unique<TKerfpadBus>(FBusTarget);
        gBusName = FBus->ServiceName();
    } catch (const std::exception& e) {
        if (dm != nullptr) {
            dm->Log(QStringLiteral("error"), QStringLiteral("automation bus: ") + QString::fromUtf8(e.what()));
        }
    }
}

TPlugInServices::~TPlugInServices()
{
    gBusName.clear();
    FBus.reset();
}
