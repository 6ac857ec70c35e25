#include "app/shell/MainBlock.h"

#include "app/shell/DataModule.h"
#include "app/pages/EditorFactory.h"
#include "app/pages/EditorInterfaces.h"
#include "app/settings/EditorOptionsForm.h"
#include "app/shell/MainForm.h"
#include "app/run/MessagesForm.h"
#include "app/plugins/PlugInServices.h"
#include "app/printing/PrintPreviewDialog.h"
#include "app/testrun/QuickviewForm.h"
#include "app/testrun/TestRunForm.h"

#include "editor/painting/CodeBookmarkGlyphs.h"
#include "editor/highlighting/CodeHighlighters.h"
#include "platform/core/files/IniRegistryStore.h"
#include "platform/gui/ActionList.h"
#include "platform/gui/QImageBitmap.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtClipboard.h"
#include "platform/gui/QtDialogResponder.h"
#include "platform/gui/QtEventLoop.h"
#include "scene/materials/JPEGImage.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/graph/SceneObject.h"
#include "scene/objects/collision/Collision.h"
#include "scene/objects/shapes/ShapeObjectClasses.h"
#include "scene/viewer/GLX11Context.h"
#include "scene/viewer/QtGlyphOutlines.h"

#include <memory>
#include <mutex>

#include <unistd.h>

void RegisterKerfpadClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        InstallQtGraphics();
        InstallQtMeasuringCanvas();
        InstallQtClipboard();
        InstallCodeEditInternalImages();
        RegisterEditorHighlighters();
        RegisterGLX11ContextClass();
        RegisterJPEGPictureFormat();
        RegisterSceneObjectClasses();
        RegisterMaterialLibraryClass();
        RegisterShapeObjectClasses();
        RegisterCollisionClasses();
        InstallQtGlyphOutlines();
    });
}

namespace {

// The platform's services for the program's run: dialogs, registry, event loop.
struct TPlatformServices {
    TQtEventLoop Loop;
    TEventLoopScope LoopScope{&Loop};
    TQtDialogResponder Responder;
    TDialogResponderScope ResponderScope{&Responder};
    TIniRegistryStore Registry;
    TRegistryStoreScope RegistryScope{&Registry};
};

} // namespace

TKerfpadApplication::TKerfpadApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The web engine's sandbox cannot start for root, and its refusal ends the whole
    // process: the plug-in window opened by root took every unsaved page down with it.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

bool TKerfpadApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportHandlerError(ExceptionMessage(std::current_exception()));
        return false;
    }
}

int KerfpadMainBlock(const QStringList& arguments, const TMainBlockOptions& options)
{
    RegisterKerfpadClasses();
    QApplication::setApplicationName(QStringLiteral("Kerfpad"));
    std::unique_ptr<TPlatformServices> services;
    if (options.InstallServices) {
        services = std::make_unique<TPlatformServices>();
    }

    dm = new Tdm;
    dm->OpenLog();
    dm->EditorOptions.EditorSettings.Load();
    InstallEditorFactory();
    int result = 0;
    {
        TMainFormOptions formOptions;
        formOptions.WithViewer = options.WithViewer;
        TMainForm window(formOptions);
        TFEditorOptions editorOptions(&window);
        FEditorOptions = &editorOptions;
        TTestPrintPreviewDlg printPreview(&window);
        TestPrintPreviewDlg = &printPreview;
        TFTestRun testRun(window);
        FTestRun = &testRun;
        TFMessages messages(&window);
        FMessages = &messages;
        TFQuickview quickview(window);
        FQuickview = &quickview;
        // The plug-ins' services and the automation bus go before the windows.
        TPlugInServices plugIns(window, options.InstallServices || options.WithAutomationBus);
        window.show();
        // Without a window manager nobody gives the new window the keyboard: it was
        // never activated, so no key reached it and the tips never showed.
        window.activateWindow();
        window.OpenCommandLine(arguments, true);
        if (options.Loop) {
            result = options.Loop(window);
        } else {
            // Qt would go on while any window of no parent shows (the tips do).
            window.OnClosed = [] { QCoreApplication::quit(); };
            result = QApplication::exec();
        }
        FMessages = nullptr;
    }
    dm->CloseLog();
    delete dm;
    ReleaseEditorGlobals();
    return result;
}
