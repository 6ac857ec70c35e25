// The editor options dialog with a million-line page open: saving a keyword group
// applies the rules to every page and writes them to the settings file; timed until the
// page has taken a typed character and shown it again, as the user waits for it. Beside
// it the same typing without the save. A binary of its own: it needs a QApplication.

#include "EditorBenchProgram.h"
#include "QtBenchMain.h"
#include "../tests/support/PartProgramRules.h"

#include "app/shell/DataModule.h"
#include "app/pages/Editor.h"
#include "app/pages/EditorFactory.h"
#include "app/pages/EditorForm.h"
#include "app/settings/EditorOptionsForm.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/gui/QtEventLoop.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <memory>

namespace {

// A data module with the shell's part-program rules, a tab with the million-line page
// and the options dialog, in a folder of their own.
struct TShell {
    TShell()
    {
        qputenv("KERFPAD_APP_DIR", folder.path().toUtf8());
        QFile file(folder.filePath("million.sbp"));
        file.open(QIODevice::WriteOnly);
        file.write(Program());
        file.close();
        dm = new Tdm;
        BuildPartProgramRules(*dm->CodeRuleHighlighter1);
        InstallEditorFactory();
        tabs.resize(1000, 720);
        tabs.show();
        page = std::static_pointer_cast<TEditor>(EditorFactory->CreateTabSheet(&tabs));
        page->OpenFile(file.fileName());
        options = std::make_unique<TFEditorOptions>();
        TCodeEdit& editor = Editor();
        editor.SetCaretXY(TTextPoint{1000, editor.LineCount()});
    }
    ~TShell()
    {
        options.reset();
        page.reset();
        while (tabs.count() > 0) {
            delete tabs.widget(0);
        }
        ReleaseEditorGlobals();
        delete dm;
    }
    TCodeEdit& Editor() { return page->Form->CodeEditor(); }
    // One character typed at the end and taken back, then the page painted.
    void Type()
    {
        Editor().DispatchCommand(ecChar, QLatin1Char('x'), {});
        Editor().DispatchCommand(ecDeleteLastChar, QChar(), {});
        // Rendered into an image: an offscreen window paints nothing on repaint().
        page->Form->CodeEditorWidget().grab();
    }

    QTemporaryDir folder;
    TQtEventLoop loop;
    TEventLoopScope loopScope{&loop};
    QTabWidget tabs;
    std::shared_ptr<TEditor> page;
    std::unique_ptr<TFEditorOptions> options;
};

std::unique_ptr<TShell> gShell;

TShell& Shell()
{
    if (!gShell) {
        gShell = std::make_unique<TShell>();
    }
    return *gShell;
}

void BM_SaveKeywordGroupThenType(benchmark::State& state)
{
    TShell& shell = Shell();
    for (auto _ : state) {
        shell.options->BitBtn3->click();
        shell.Type();
    }
    state.counters["lines"] = shell.Editor().LineCount();
    state.counters["groups"] = dm->CodeRuleHighlighter1->RootRange()->GetSymbolGroupCount();
}
BENCHMARK(BM_SaveKeywordGroupThenType)->Unit(benchmark::kMillisecond);

void BM_TypeWithoutSave(benchmark::State& state)
{
    TShell& shell = Shell();
    for (auto _ : state) {
        shell.Type();
    }
}
BENCHMARK(BM_TypeWithoutSave)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, [] { gShell.reset(); });
}
