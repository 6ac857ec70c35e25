#pragma once
// Fixtures of the shell's page and window tests: the Qt event loop installed (tab
// sheets free themselves through it), a fresh editor factory per test, and for the
// page tests a fake main window that parses lines with an engine of its own and
// records what the pages tell it.

#include "app/shell/DataModule.h"
#include "app/pages/Editor.h"
#include "app/pages/EditorFactory.h"
#include "app/pages/EditorForm.h"
#include "app/pages/EditorPageHost.h"

#include "editor/widget/CodeEditWidget.h"
#include "platform/gui/QtEventLoop.h"

#include "AppTestSupport.h"
#include "../engine/EngineTestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QTabWidget>

#include <memory>

class TFakePageHost : public IEditorPageHost {
public:
    void DoOpenFile(const QString& fileName) override { Opened << fileName; }
    QString ResolveFPFileName(const QString& lineText) override
    {
        ResolvedLines << lineText;
        return SubFileName;
    }
    void ParseLine(const QString& lineText, TArrayofCmds& cmds) override
    {
        Move.PreprocessLine(lineText.toStdString(), false, cmds);
    }
    QString CommandHint(const QString& word) override { return word.isEmpty() ? QString() : "hint of " + word; }
    void ShowLinePosition(const QString& lineText) override { MarkerLines << lineText; }
    void UpdateStatusBar() override { ++StatusUpdates; }
    void SetHintPanel(const QString& text) override { HintPanel = text; }
    bool RunStepMode() const override { return Stepping; }
    QTabWidget* PageControl() override { return &Tabs; }
    QList<QAction*> OptionsActions() override { return {&EditorOptions, &PreviewOptions}; }

    TEngineData Data;
    TCalcul Calcul;
    TFakeShell Shell;
    TMove Move{Data, Calcul, Shell};
    QTabWidget Tabs;
    QAction EditorOptions{QStringLiteral("Editor Options")};
    QAction PreviewOptions{QStringLiteral("Preview Options")};
    bool Stepping = false;
    QString SubFileName;
    QStringList Opened, ResolvedLines, MarkerLines;
    QString HintPanel;
    int StatusUpdates = 0;
};

// The data module as `dm`, the Qt event loop and a fresh editor factory.
class TShellTest : public TAppTest {
protected:
    TShellTest()
    {
        dm = &Dm;
        InstallEditorFactory();
    }
    ~TShellTest() override
    {
        ReleaseEditorGlobals();
        dm = nullptr;
    }
    // Delivers what is posted, the closing of pages among it.
    void Process()
    {
        Loop.ProcessPendingEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString FilePath(const std::string& name) const { return QString::fromStdString(Path(name)); }
    int PageCount() const { return EditorFactory->GetEditorCount(); }

    static std::shared_ptr<TEditor> AsEditor(const std::shared_ptr<IEditor>& page)
    {
        return std::static_pointer_cast<TEditor>(page);
    }
    static TEditorForm& Form(const std::shared_ptr<IEditor>& page) { return *AsEditor(page)->Form; }
    static TCodeEdit& Code(const std::shared_ptr<IEditor>& page) { return Form(page).CodeEditor(); }

    TQtEventLoop Loop;
    TEventLoopScope LoopScope{&Loop};
};

class TPageTest : public TShellTest {
protected:
    TPageTest()
    {
        Host.Tabs.resize(640, 480);
        Host.Tabs.show();
    }
    ~TPageTest() override
    {
        // The pages go while the factory they leave still exists.
        while (Host.Tabs.count() > 0) {
            delete Host.Tabs.widget(0);
        }
    }
    // A page of the file (empty: untitled), made as the main window makes pages.
    std::shared_ptr<TEditor> NewPage(const QString& fileName = {})
    {
        std::shared_ptr<TEditor> page = AsEditor(EditorFactory->CreateTabSheet(&Host.Tabs));
        if (page) {
            page->OpenFile(fileName);
        }
        return page;
    }

    TFakePageHost Host;
    TEditorPageHostScope HostScope{&Host};
};
