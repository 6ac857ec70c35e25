// Kerfpad: the application's start and end. The main window does the rest.
#include "app/DataModule.h"
#include "app/EditorFactory.h"
#include "app/EditorInterfaces.h"
#include "app/MainForm.h"

#include "editor/CodeBookmarkGlyphs.h"
#include "editor/CodeHighlighters.h"
#include "platform/core/IniRegistryStore.h"
#include "platform/gui/QImageBitmap.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtClipboard.h"
#include "platform/gui/QtDialogResponder.h"
#include "platform/gui/QtEventLoop.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kerfpad"));
    InstallQtGraphics();
    InstallQtMeasuringCanvas();
    InstallQtClipboard();
    InstallCodeEditInternalImages();
    RegisterEditorHighlighters();

    TQtEventLoop loop;
    TEventLoopScope loopScope(&loop);
    TQtDialogResponder responder;
    TDialogResponderScope responderScope(&responder);
    TIniRegistryStore registry;
    TRegistryStoreScope registryScope(&registry);

    dm = new Tdm;
    dm->OpenLog();
    dm->EditorOptions.EditorSettings.Load();
    InstallEditorFactory();
    int result = 0;
    {
        TMainForm window;
        window.show();
        window.OpenCommandLine(QApplication::arguments().mid(1), true);
        result = QApplication::exec();
    }
    dm->CloseLog();
    delete dm;
    ReleaseEditorGlobals();
    return result;
}
