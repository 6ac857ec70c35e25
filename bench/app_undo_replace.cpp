// A replace-all over a page of 100,000 lines in the shown main window, its undo and its
// redo, each timed until the X server has carried out what the step asked of it: the
// page's pending paint runs, then a round trip to the server waits for every request
// before it (scrolls of the window are copies the server makes). The page is that of
// the program `M2, 1, 1 'row N` (CR LF); "row" becomes "ROWX" through the page's own
// replace, answered "Yes to all" at its first hit, and Ctrl+Z and Ctrl+Shift+Z go
// through the page's undo and redo. Wall time includes the server's work, CPU time is
// the application's alone. A binary of its own: it needs the xcb platform and skips
// without a display.

#include "ShellBench.h"

#include "app/pages/Editor.h"
#include "app/pages/EditorForm.h"
#include "app/pages/SearchDialogs.h"
#include "app/pages/SearchState.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/core/services/DialogService.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include <X11/Xlib.h> // last: its macros clash with Qt's names

namespace {

constexpr int ProgramLines = 100000;

// Answers the replace confirmation "Yes to all"; any other dialog is a fault of the run.
class TYesToAll : public IDialogResponder {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType, TMsgDlgButtons) override
    {
        unexpected = text;
        return TModalResult::mrCancel;
    }
    bool InputQuery(const std::string& caption, const std::string&, std::string&) override
    {
        unexpected = caption;
        return false;
    }
    TModalResult ShowModalForm(IModalForm& form) override
    {
        if (form.FormName() != TConfirmReplaceDialog::FormName()) {
            unexpected = form.FormName();
            return form.CloseModal(TModalResult::mrCancel);
        }
        return form.CloseModal(TModalResult::mrAll);
    }
    std::string unexpected;
};

struct TShell : TBenchShell {
    TShell() : TBenchShell(TMainFormOptions{})
    {
        display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        QByteArray bytes;
        for (int i = 1; i <= ProgramLines; ++i) {
            bytes += "M2, 1, 1 'row " + QByteArray::number(i) + "\r\n";
        }
        QFile out(File());
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        out.close();
        window->resize(1400, 900);
        window->show();
        window->activateWindow();
        window->DoOpenFile(File());
        page = static_cast<TEditor*>(ActiveEditor.get());
        page->Form->CodeEditorWidget().setFocus();
        ProcessEventsFor(500);
        Settle();
    }
    QString File() const { return folder.filePath(QStringLiteral("rows.sbp")); }
    TCodeEdit& Editor() const { return page->Form->CodeEditor(); }

    int ReplacedLines() const
    {
        const TCodeEditStringList& lines = Editor().Lines();
        int count = 0;
        for (int i = 0; i < lines.Count(); ++i) {
            count += lines.Get(i).contains(QLatin1String("ROWX")) ? 1 : 0;
        }
        return count;
    }
    // The page as it was loaded, shown at its top with the caret there.
    void Reload()
    {
        page->OpenFile(File());
        Settle();
    }
    void ReplaceAll()
    {
        EditorSearch.SearchText = QStringLiteral("row");
        EditorSearch.ReplaceText = QStringLiteral("ROWX");
        page->Form->FromCaret = false;
        page->Form->DoFindText(true, false);
    }
    // Qt's pending events run and the window paints what waits; then a round trip to
    // the server returns only once it has carried out every request sent before it.
    void Settle()
    {
        QCoreApplication::processEvents();
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(window->windowHandle(), &request);
        XSync(display, False);
    }

    TYesToAll answers;
    TDialogResponderScope responder{&answers};
    TEditor* page = nullptr;
    Display* display = nullptr;
};

std::unique_ptr<TShell> gShell;

TShell* Shell(benchmark::State& state)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X server (the xcb platform)");
        return nullptr;
    }
    if (!gShell) {
        gShell = std::make_unique<TShell>();
    }
    return gShell.get();
}

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One pass is a replace-all, its undo and its redo on the page as loaded, each timed
// with the display's work; the three run in turn, so a busy machine weighs on each
// alike. Time is the three together; the counters give each step's mean and fastest
// pass in ms.
void BM_ReplaceAllUndoRedoOf100kHits(benchmark::State& state)
{
    TShell* shell = Shell(state);
    if (!shell) {
        return;
    }
    double steps[3] = {};
    double fastest[3] = {1e300, 1e300, 1e300};
    double cpu[3] = {};
    int replaced[3] = {};
    const std::function<void()> run[3] = {[shell] { shell->ReplaceAll(); }, [shell] { shell->page->ExecUndo(); },
                                          [shell] { shell->page->ExecRedo(); }};
    QElapsedTimer clock;
    for (auto _ : state) {
        state.PauseTiming();
        shell->Reload();
        state.ResumeTiming();
        for (int i = 0; i < 3; ++i) {
            const double cpuBefore = ThreadCpuMs();
            clock.start();
            run[i]();
            shell->Settle();
            const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            steps[i] += ms;
            fastest[i] = std::min(fastest[i], ms);
            cpu[i] += ThreadCpuMs() - cpuBefore;
            state.PauseTiming();
            replaced[i] = shell->ReplacedLines();
            state.ResumeTiming();
        }
    }
    if (!shell->answers.unexpected.empty()) {
        state.SkipWithError(("unexpected dialog: " + shell->answers.unexpected).c_str());
    }
    // Each step's mean, its fastest pass (which a busy machine disturbs least) and the
    // application's own share of its mean, in ms.
    const double passes = static_cast<double>(state.iterations());
    const std::string names[3] = {"replace", "undo", "redo"};
    for (int i = 0; i < 3; ++i) {
        state.counters[names[i] + "_ms"] = steps[i] / passes;
        state.counters[names[i] + "_min_ms"] = fastest[i];
        state.counters[names[i] + "_cpu_ms"] = cpu[i] / passes;
    }
    // Proof of each step: the lines holding the replacement after it (all, none, all).
    state.counters["replaced"] = replaced[0];
    state.counters["after_undo"] = replaced[1];
    state.counters["after_redo"] = replaced[2];
}
BENCHMARK(BM_ReplaceAllUndoRedoOf100kHits)->Unit(benchmark::kMillisecond)->Iterations(7);

} // namespace

int main(int argc, char** argv)
{
    return RunShellBenchmarks(argc, argv, [] { gShell.reset(); });
}
