// The main window's run control: the five run actions, the line loop with its waits,
// the sub-file handler of FP, and the two headless runs (results and quick view).
//
// One thread: the waits process pending events, so anything (Stop, closing a page or
// the window, another run action) can happen between two lines. The loop reads the
// run state after every such pass; the lines it runs are its own copy, and a run
// frame on the stack keeps everything the run uses alive (FRunDepth).
#include "app/shell/DataModule.h"
#include "app/pages/EditorInterfaces.h"
#include "app/pages/PageFiles.h"
#include "app/shell/MainForm.h"
#include "app/run/PreviewPanel.h"
#include "app/run/RunOwnPages.h"

#include "editor/document/CodeEditStringList.h"
#include "engine/LineText.h"
#include "engine/ProgramRunner.h"
#include "engine/RunResults.h"
#include "platform/core/services/Clock.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/services/EventLoop.h"
#include "platform/core/ScopeGuard.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

namespace {

// Counts a run frame for as long as it is on the stack.
class TRunFrame {
public:
    explicit TRunFrame(int& depth) : FDepth(depth) { ++FDepth; }
    ~TRunFrame() { --FDepth; }
    TRunFrame(const TRunFrame&) = delete;
    TRunFrame& operator=(const TRunFrame&) = delete;

private:
    int& FDepth;
};

// A loop without waits of its own (Simulate off) reads the clock every so many lines
// and lets the window breathe after this long. A line may cost in proportion to its
// length and to the variables' text (it may print, compare or copy any of them), so it
// counts as one line per so many of their characters: a loop beside a variable of ten
// million characters reads the clock at every line, which costs next to nothing.
constexpr int LinesPerClockCheck = 256;
constexpr std::size_t CharactersPerLineCount = 4096;
constexpr std::int64_t ResponsiveIntervalMs = 50;

TProgramLines PageLines(IEditor& page)
{
    TProgramLines lines;
    if (const TCodeEditStringList* text = page.GetLines()) {
        lines.reserve(static_cast<std::size_t>(text->Count()));
        for (int i = 0; i < text->Count(); ++i) {
            lines.push_back(text->Get(i).toStdString());
        }
    }
    return lines;
}

} // namespace

void TMainForm::CreateRunActions()
{
    using K = QKeySequence;
    TActionList& l = actlStandard;
    actRun = l.Add("actRun", "Run", "Run", K(Qt::Key_F5), 27);
    actRun->OnExecute = [this](TAction&) { actRunExecute(); };
    actRun->OnUpdate = [this](TAction& a) { a.setEnabled(ActiveEditor && (!Running || StepMode || Paused)); };
    actStop = l.Add("actStop", "Stop", "Stop", K(Qt::SHIFT | Qt::Key_F5), 30);
    actStop->OnExecute = [this](TAction&) { actStopExecute(); };
    actStop->OnUpdate = [this](TAction& a) { a.setEnabled(Running); };
    actPause = l.Add("actPause", "Pause", "Pause", K(Qt::Key_F2), 29);
    actPause->OnExecute = [this](TAction&) { actPauseExecute(); };
    actPause->OnUpdate = [this](TAction& a) {
        a.setEnabled(Running && !StepMode);
        a.setToolTip(a.isEnabled() && Paused ? QStringLiteral("Un-Pause") : QStringLiteral("Pause"));
    };
    actStep = l.Add("actStep", "Step", "Step", K(Qt::Key_F11), 28);
    actStep->OnExecute = [this](TAction&) { actStepExecute(); };
    actStep->OnUpdate = [](TAction& a) { a.setEnabled(static_cast<bool>(ActiveEditor)); };
    actStepBack = l.Add("actStepBack", "Step Back", "Step-Back", K(Qt::SHIFT | Qt::Key_F11), 39);
    actStepBack->OnExecute = [this](TAction&) { actStepBackExecute(); };
    actStepBack->OnUpdate = [this](TAction& a) { a.setEnabled(ActiveEditor && StepMode); };
}

void TMainForm::ShowRunLine(int line)
{
    if (const std::shared_ptr<IEditor> page = LiveActiveEditor()) {
        page->ShowRunLine(line);
        MarkRunLine();
    }
}

void TMainForm::actRunExecute()
{
    if (StepMode && Running) {
        StepMode = false;
        StepRequested = true;
        FPendingSteps.clear();
        // The run line's colour shows only while stepping: the lines after it run now.
        if (const std::shared_ptr<IEditor> page = LiveActiveEditor()) {
            page->HideRunLine();
        }
        UpdateAllActions(false);
        return;
    }
    if (Running && Paused) {
        Paused = false;
        UpdateAllActions(false);
        return;
    }
    // A stopped run may still be unwinding (a box of it open, say): never two at once.
    if (RunOnStack()) {
        return;
    }
    TRunFrame frame(FRunDepth);
    FBitHeld = false;
    FBitGliding = false;
    auto closing = TScopeGuard([this] { EndRun(); });
    const std::shared_ptr<IEditor> page = LiveActiveEditor();
    if (!page) {
        return;
    }
    try {
        Scene->GLCadencer1.SetEnabled(true);
        Move->PartFiles().Reset();
        Move->StartRun();
        Move->KeepStepBack(true);
        FreeClamps();
        const TProgramLines lines = PageLines(*page);
        Move->SetJogsVisible(PanelGL->cboJogsVisible->isChecked());
        Running = true;
        Paused = false;
        UpdateAllActions(false);
        const QString fileName = page->GetFileName();
        FileStack = QStringList{fileName};
        Move->SetFileName(fileName.toStdString());
        RunFile(lines, QString(), -1);
        // The last move's animation.
        do {
            if (!Running) {
                return;
            }
            WaitPass();
        } while (Move->Moving);
    } catch (...) {
        // The closing steps come before the box, which runs the event loop.
        closing.Dismiss();
        EndRun();
        ReportHandlerError(ExceptionMessage(std::current_exception()));
    }
}

void TMainForm::EndRun()
{
    Scene->GLCadencer1.SetEnabled(false);
    Paused = true;
    Running = false;
    StepMode = false;
    FPendingSteps.clear();
    // No step back follows a run that ended: what was kept for it goes.
    Move->KeepStepBack(false);
    SettleBit();
    // The page, writable again, reports its caret line as it goes (ShowLinePosition):
    // the run's line and its marker come after that.
    UpdateAllActions(false);
    ShowRunLine(Move->GetLineIndex());
}

void TMainForm::actPauseExecute()
{
    Paused = !Paused;
    if (Paused) {
        ShowRunLine(Move->GetLineIndex());
    }
}

void TMainForm::actStepExecute()
{
    if (!StepMode) {
        StepMode = true;
        if (Running) {
            Paused = false;
        } else {
            actRun->Execute();
        }
    } else {
        RequestStep(true);
    }
    UpdateAllActions(false);
}

void TMainForm::actStepBackExecute()
{
    if (StepMode) {
        RequestStep(false);
    }
    UpdateAllActions(false);
}

void TMainForm::RequestStep(bool forward)
{
    // Only a wait that nothing released yet takes a press at once; one that comes while
    // a step is still going (its line, the bit's glide, the frame) waits its turn.
    if (FStepWaiting && !StepRequested && !StepBackRequested) {
        (forward ? StepRequested : StepBackRequested) = true;
    } else {
        FPendingSteps.push_back(forward);
    }
}

void TMainForm::actStopExecute()
{
    // Stopped on its way, the bit stays where the user saw it (in a clamp, say) while
    // the simulator's place stays ahead.
    FBitHeld = FBitGliding;
    StopRun();
}

void TMainForm::StopRun()
{
    Scene->GLCadencer1.SetEnabled(false);
    Running = false;
    StepMode = false;
    StepRequested = false;
    StepBackRequested = false;
    FPendingSteps.clear();
    ShowRunLine(Move->GetLineIndex());
}

void TMainForm::WaitPass()
{
    const auto start = std::chrono::steady_clock::now();
    Scene->GLCadencer1.Progress();
    ProcessPendingEvents();
    FLastEventPassMs = TickCountMs();
    if (OnWaitPass) {
        OnWaitPass();
    }
    // One frame per pass: the bit moves by the time that passed, so sleeping costs no
    // speed and keeps the wait off the processor.
    const auto frame = std::chrono::milliseconds(WaitFrameMs);
    const auto spent = std::chrono::steady_clock::now() - start;
    if (spent < frame) {
        std::this_thread::sleep_for(frame - spent);
    }
}

void TMainForm::StepWait(int runLine, const QString& note)
{
    ShowRunLine(runLine);
    StepRequested = false;
    StepBackRequested = false;
    // A press that came while the step went ends this wait at once, before its note.
    if (!FPendingSteps.empty() && Running) {
        (FPendingSteps.front() ? StepRequested : StepBackRequested) = true;
        FPendingSteps.pop_front();
        return;
    }
    // The note stands where the line's hint stood (the run line's caret move put it
    // there), for this wait only.
    const QString hint = FPanels[4]->text();
    if (!note.isEmpty()) {
        SetHintPanel(note);
    }
    FStepWaiting = true;
    const auto done = TScopeGuard([this, &note, &hint] {
        FStepWaiting = false;
        if (!note.isEmpty() && FPanels[4]->text() == note) {
            SetHintPanel(hint);
        }
    });
    do {
        WaitPass();
    } while (!StepRequested && !StepBackRequested && Running);
}

int TMainForm::SteppedBackRunLine() const
{
    return Move->PartFiles().LastLine() + 1;
}

QString TMainForm::StepBackRefusal() const
{
    if (Move->PartFiles().LastLine() < 0) {
        return QStringLiteral("Step Back: no earlier line of this file has run.");
    }
    const std::size_t bound = Calcul.GetVariables().MaxUndoBytes;
    const QString size = bound >= (std::size_t{1} << 20) ? QStringLiteral("%1 MB").arg(bound >> 20)
                                                          : QStringLiteral("%1 KB").arg((bound + 1023) >> 10);
    return QStringLiteral("Step Back: earlier lines are no longer kept (the step-back record holds %1 of changes).")
        .arg(size);
}

void TMainForm::KeepResponsive(std::size_t textLength)
{
    FLinesSinceClockCheck += 1 + static_cast<int>(std::min<std::size_t>(textLength / CharactersPerLineCount,
                                                                           LinesPerClockCheck));
    if (FLinesSinceClockCheck < LinesPerClockCheck) {
        return;
    }
    FLinesSinceClockCheck = 0;
    const std::int64_t now = TickCountMs();
    if (now - FLastEventPassMs >= ResponsiveIntervalMs) {
        LetEventsThrough();
    }
}

void TMainForm::LetEventsThrough()
{
    // Every line puts the variables list's layout off again, so a list painted between
    // lines would show no rows: it is laid out first.
    lbVariables->doItemsLayout();
    ProcessPendingEvents();
    FLastEventPassMs = TickCountMs();
}

TMainForm::TRunStart TMainForm::RunFile(const TProgramLines& lines, const QString& fileName, int timeLimitMs)
{
    TRunFrame frame(FRunDepth);
    const std::optional<std::int64_t> deadline =
        timeLimitMs == -1 ? std::nullopt : std::optional<std::int64_t>(TickCountMs() + timeLimitMs);
    TProgramLines fileLines;
    const TProgramLines* program = &lines;
    if (const QString name = fileName.trimmed(); !name.isEmpty()) {
        if (!LoadRunFile(name, fileLines)) {
            return TRunStart::FileNotLoaded;
        }
        program = &fileLines;
    }
    FLastEventPassMs = TickCountMs();
    TArrayofCmds cmds;
    const int last = static_cast<int>(program->size()) - 1;
    int i = 0;
    // Past the last line a Step Back may still be waiting to take it back.
    while (i <= last || (StepMode && StepBackRequested)) {
        if (!Running || !SimulateWait()) {
            return TRunStart::Ran;
        }
        if (StepMode && !PrepareSteppedLine(i, last)) {
            if (!Running) {
                return TRunStart::Ran;
            }
            break;
        }
        const TExecutedLine line = ExecuteRunLine(*program, i, cmds);
        WaitAfterLine(*program, line, i);
        // A Step Back from the wait after END takes END back: the file goes on.
        if (line.Ended && !StepBackRequested) {
            break;
        }
        // The line to go on with: the next one, or the undone line again. A Step Back
        // request takes the history's line instead, unless it is refused: then the run
        // goes on from here as if it had never come.
        i = line.SteppedBack ? line.Index : i + 1;
        if (!PaceRun(deadline, (*program)[static_cast<std::size_t>(line.Index)].size())) {
            return TRunStart::Ran;
        }
    }
    LeaveRunFile();
    return TRunStart::Ran;
}

bool TMainForm::LoadRunFile(const QString& name, TProgramLines& lines)
{
    std::string error;
    if (!TProgramRunner::LoadLines(name.toStdString(), lines, &error)) {
        ShowErrorBox(error);
        Running = false;
        return false;
    }
    OpenRunPage(name);
    FileStack.append(name);
    return true;
}

void TMainForm::LeaveRunFile()
{
    if (FileStack.size() > 1) {
        FileStack.removeLast();
    }
    if (!FileStack.isEmpty() && !FileStack.last().trimmed().isEmpty()) {
        OpenRunPage(FileStack.last());
    }
}

bool TMainForm::SimulateWait()
{
    if (!PanelGL->cbSim->isChecked()) {
        return true;
    }
    do {
        if (!Running) {
            return false;
        }
        WaitPass();
    } while (Move->Moving);
    return true;
}

bool TMainForm::PrepareSteppedLine(int& i, int last)
{
    // Nothing left to undo: the request is dropped, the status bar says why, and the
    // wait goes on.
    while (StepBackRequested) {
        const int back = Move->PartFiles().PopLine();
        if (back >= 0 && back <= last) {
            i = back;
            break;
        }
        StepBackRequested = false;
        StepWait(SteppedBackRunLine(), StepBackRefusal());
        if (!Running) {
            return false;
        }
    }
    // Refused after the last line, Step goes on past it.
    if (i > last) {
        return false;
    }
    ShowRunLine(StepBackRequested ? i : i + 1);
    return true;
}

TMainForm::TExecutedLine TMainForm::ExecuteRunLine(const TProgramLines& program, int& i, TArrayofCmds& cmds)
{
    // The executed line's index: a jump rewrites i to its label's line.
    const TExecutedLine line{i, StepBackRequested, false};
    const std::string& text = program[static_cast<std::size_t>(line.Index)];
    // A step back evaluates nothing: the line's record holds what it undoes.
    if (line.SteppedBack) {
        cmds.Clear();
    } else {
        Move->PreprocessLine(text, true, cmds);
    }
    // Until a tick moves it on, the bit is not on its way to what this line leaves:
    // a stop then puts it there rather than holding it.
    FBitGliding = false;
    const bool ended = Move->ExecuteLine(&program, text, cmds, line.Index, &i, line.SteppedBack);
    ShowVariables(Calcul.GetVariables());
    return {line.Index, line.SteppedBack, ended};
}

void TMainForm::WaitAfterLine(const TProgramLines& program, const TExecutedLine& line, int next)
{
    // END ends the run at the top level; a sub-file's END ends only the sub-file.
    if (line.Ended && FileStack.size() <= 1) {
        StopRun();
    }
    const int breakpoint = BreakpointReached(program, line, next);
    if (breakpoint >= 0) {
        StepMode = true;
        UpdateAllActions(false);
    }
    if (!StepMode) {
        return;
    }
    if (breakpoint >= 0 && breakpoint != line.Index) {
        StepWait(breakpoint + 1);
    } else {
        StepWait(line.SteppedBack ? SteppedBackRunLine() : line.Index + 1);
    }
}

int TMainForm::BreakpointReached(const TProgramLines& program, const TExecutedLine& line, int next) const
{
    const std::shared_ptr<IEditor> page = LiveActiveEditor();
    if (!page) {
        return -1;
    }
    if (page->IsBreakpoint(line.Index)) {
        return line.Index;
    }
    // A jump goes on after its label, which never runs: its breakpoint stops the run
    // where the jump lands. (RETURN lands on its GOSUB line, which it does not reach.)
    const bool jumped = !line.SteppedBack && next != line.Index && next >= 0 &&
                        next < static_cast<int>(program.size());
    if (jumped && IsLabelLine(program[static_cast<std::size_t>(next)]) && page->IsBreakpoint(next)) {
        return next;
    }
    return -1;
}

bool TMainForm::PaceRun(std::optional<std::int64_t> deadline, std::size_t lineLength)
{
    if (deadline) {
        const std::int64_t now = TickCountMs();
        if (now > *deadline) {
            return false;
        }
        // Lines of millions of characters would rarely end on such a millisecond.
        if ((*deadline - now) % 100 == 0 || now - FLastEventPassMs >= ResponsiveIntervalMs) {
            LetEventsThrough();
        }
    } else if (!PanelGL->cbSim->isChecked() && !StepMode) {
        KeepResponsive(lineLength + Calcul.GetVariables().TextLength());
    }
    return true;
}

void TMainForm::OpenRunPage(const QString& fileName)
{
    // A results run gives its text without pages: once every page it may have is taken
    // (the box said so), its files run without one until a page closes, instead of the
    // box coming for every file of every row.
    if (ResultsRun && EditorFactory && EditorFactory->GetEditorCount() >= FResultsPagesFullAt) {
        return;
    }
    DoOpenFile(fileName);
    if (ResultsRun && EditorFactory && !FindPageForFile(FullFileName(fileName))) {
        FResultsPagesFullAt = EditorFactory->GetEditorCount();
    }
}

void TMainForm::RunFileByName(const QString& fileName)
{
    RunFile({}, fileName, -1);
}

void TMainForm::ResetForHeadlessRun(const QString& fileName)
{
    PanelGL->cbSim->setChecked(false);
    cbSimClick();
    ResetForResults(*Move, Calcul, fileName.toStdString());
    // Nothing steps back in a results run or a quick view.
    Move->KeepStepBack(false);
    FBitHeld = false;
    FBitGliding = false;
    Running = true;
    Scene->GLCadencer1.SetEnabled(true);
    Paused = false;
    UpdateAllActions(false);
}

std::optional<std::string> TMainForm::RunFileForResults(const QString& fileName)
{
    if (RunOnStack() || Running) {
        dm->Log(QStringLiteral("error"), QStringLiteral("no results run while a program runs: ") + fileName);
        return std::nullopt;
    }
    TRunFrame frame(FRunDepth);
    TRunOwnPages pages;
    // The run's own file stack: the names an earlier run left would count as its callers,
    // so END would not end it and its end would open their pages again.
    const QStringList before = std::exchange(FileStack, {});
    std::optional<std::string> results;
    try {
        const auto closing = TScopeGuard([this, &before] {
            Running = false;
            ResultsRun = false;
            FileStack = before;
            SettleBit();
        });
        ResetForHeadlessRun(fileName);
        ResultsRun = true;
        if (RunFile({}, fileName, -1) == TRunStart::Ran) {
            results = ResultsText(*Move);
        }
    } catch (...) {
        // A run that an error stopped is judged by the path it drew until then, as the
        // preview shows it; taken before the box lets events in.
        results = ResultsText(*Move);
        ReportHandlerError(ExceptionMessage(std::current_exception()));
    }
    pages.CloseOpenedSince();
    return results;
}

void TMainForm::RunQuickView(const QString& fileName, int timeLimitMs)
{
    if (RunOnStack() || Running) {
        return;
    }
    TRunFrame frame(FRunDepth);
    const auto closing = TScopeGuard([this] {
        QuietRun = false;
        Running = false;
        SettleBit();
    });
    ResetForHeadlessRun(fileName);
    QuietRun = true;
    RunFile({}, fileName, timeLimitMs);
}
