#pragma once
// The main window: menus, tool bar, the editor pages (pctrlMain) above the variables
// list on the left, the 3D preview with its control panel on the right, the status bar
// and the caption. It owns the preview scene, the expression evaluator and the motion
// simulator, the run state and the command hints; the editor pages reach it through
// IEditorPageHost, the engine through IShellServices and the data module's run-file
// slots.
//
// Its code is split by concern: construction and closing (MainForm.cpp), the run
// control and line loop (MainFormRun.cpp), the bit animation and the preview's
// controls (MainFormPreview.cpp), files (MainFormFiles.cpp), the status bar and the
// pages' host (MainFormStatus.cpp), the engine's shell (MainFormShell.cpp).

#include "app/shell/CommandHints.h"
#include "app/shell/KeyboardReturn.h"
#include "app/shell/WindowCloseKey.h"
#include "app/shell/WindowScreenFit.h"
#include "app/pages/EditorInterfaces.h"
#include "app/pages/EditorPageHost.h"
#include "app/settings/MainSettings.h"
#include "app/settings/PreviewOptions.h"
#include "app/run/Navigation.h"

#include "app/run/PreviewScene.h"

#include "engine/Move.h"
#include "engine/ShellServices.h"
#include "engine/VariablesView.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/services/MouseButtons.h"
#include "platform/gui/ActionList.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QMenu;
class QSplitter;
class QToolBar;
class TGLWorldViewer;
class TPageControl;
class TPreviewPanel;

struct TMainFormOptions {
    // The 3D viewer needs a display with OpenGL; without it the scene, the runs and
    // their paths work all the same and the panel says that no picture is shown.
    bool WithViewer = false;
};

class TMainForm : public QMainWindow, public IEditorPageHost, public IShellServices {
public:
    // The data module must exist; the window reads its settings and commands.ini, builds
    // the preview scene, makes the evaluator and the simulator, installs its run-file
    // handlers in the data module and itself as the pages' host.
    explicit TMainForm(const TMainFormOptions& options = {});
    // Closes every page (they go on the recent list), writes the main settings, then
    // frees the simulator before the scene its paths live in.
    ~TMainForm() override;

    // --- run state (the run control drives it) ---
    bool Running = false;
    bool Paused = true;
    bool StepMode = false;
    bool StepRequested = false;
    bool StepBackRequested = false;
    bool QuietRun = false;
    // A results run is going (RunFileForResults).
    bool ResultsRun = false;
    // The part files being run, top level first.
    QStringList FileStack;

    // Declared before the simulator, whose paths and clamps live in it.
    std::unique_ptr<TPreviewScene> Scene;
    TCalcul Calcul;
    std::unique_ptr<TMove> Move;
    TCommandHints CommandHints;
    // [Main] as read at start-up; the window's own values go back at shut-down.
    TMainSettings Settings;

    // --- actions of the window (actlStandard) ---
    TActionList actlStandard;
    TAction* actFileNew;
    TAction* actFileOpen;
    TAction* actFileCloseAll;
    TAction* actFileExit;
    TAction* actViewStatusbar;
    TAction* actUpdateStatusBarPanels;
    TAction* actViewVars;
    TAction* actEditorReadOnly;
    TAction* actToggleBP;
    TAction* actClearBP;
    TAction* actCommentBlock;
    TAction* actUnCommentBlock;
    TAction* actRun;
    TAction* actStop;
    TAction* actPause;
    TAction* actStep;
    TAction* actStepBack;
    TAction* actQuickView;
    // Shows the editor options dialog made at start-up (FEditorOptions), modally.
    TAction* actEditorOptions = nullptr;
    // The plug-in window (F8) and the help window (F1), each modal and freed after.
    TAction* actPlugins = nullptr;
    TAction* actHelp = nullptr;
    // Updates every action of actlStandard, and of the data module too when asked.
    void UpdateAllActions(bool withDataModule);

    // --- controls ---
    TPageControl* pctrlMain;
    QListWidget* lbVariables;
    QSplitter* MainSplitter;
    QSplitter* EditorSplitter;
    QMenu* mFile;
    QMenu* mRecentFiles;
    QMenu* mEdit;
    QMenu* mView;
    QMenu* mRun;
    QMenu* mTools;
    QMenu* mHelp;
    QMenu* PopupMenu2;
    QToolBar* StandardToolBar;
    TPreviewPanel* PanelGL;
    // nullptr without a viewer.
    TGLWorldViewer* GLWorldViewer1 = nullptr;
    QAction* RunTests1;
    std::array<QAction*, 10> MRUItems{};
    QAction* PrintSetup1;
    QAction* CloseAllb1;
    QAction* OpeningContainingFolder1;
    QAction* SuppressAllMessages1;
    static constexpr int StatusPanelCount = 5;
    QString StatusPanelText(int panel) const;

    // --- files ---
    void DoOpenFile(const QString& fileName) override;
    virtual std::shared_ptr<IEditor> DoCreateEditor();
    // Every argument (only the first unless `many`) through DoOpenFile, unfiltered;
    // true when there was one.
    bool OpenCommandLine(const QStringList& arguments, bool many);
    QString ResolveFPFileName(const QString& lineText) override;
    void actFileNewExecute();
    void actFileOpenExecute();
    void actFileCloseAllExecute();
    void PrintSetup1Click();
    // Opening the File menu and its Recent Files submenu; an item of the submenu.
    void mFileClick();
    void mRecentFilesClick();
    void OnOpenMRUFile(int number);
    void CloseAllb1Click();
    void OpeningContainingFolder1Click();

    // --- run control (MainFormRun.cpp) ---
    void actRunExecute();
    void actPauseExecute();
    void actStepExecute();
    void actStepBackExecute();
    void actStopExecute();
    // Whether RunFile had lines to run: given, or loaded from its file.
    enum class TRunStart : std::uint8_t { Ran, FileNotLoaded };
    // The line loop over `lines`, or over the file `fileName` when it is given (its
    // page opened, its name on the file stack); a time limit of -1 is none. A file that
    // cannot be loaded shows why (TProgramRunner::LoadLines) and runs nothing.
    TRunStart RunFile(const TProgramLines& lines, const QString& fileName, int timeLimitMs);
    // The data module's run-file handler: FP runs its sub-file through it.
    void RunFileByName(const QString& fileName);
    // The data module's results run (Tdm::RunFileResults): the file run from a clean
    // state without animation; its path text, the jog nodes, a line break, the cut nodes.
    // None when its file could not be loaded, or while another run goes (refused). A run
    // error shows its box, and the path drawn until then is the text. The pages the run
    // opened for itself close again after it (RunOwnPages.h).
    // The text stays the engine's UTF-8: a UTF-16 copy would hold a runaway program's
    // text three times over, past the budget that bounds the run with its text.
    std::optional<std::string> RunFileForResults(const QString& fileName);
    // The same run, without pages or questions, for at most `timeLimitMs`.
    void RunQuickView(const QString& fileName, int timeLimitMs);
    // Whether a run, a results run or a quick view is on the stack.
    bool RunOnStack() const { return FRunDepth > 0; }
    // Yes was answered to the close question during a run: the window closes once it unwound.
    bool CloseConfirmed() const { return FCloseConfirmed; }
    // Called once the window accepted its close: the program ends with its main window,
    // whatever other windows (the tips, say) are still open.
    std::function<void()> OnClosed;
    // Whether the run waits in step mode for Step, Step Back or Stop.
    bool StepWaiting() const { return FStepWaiting; }
    // Tests: called at each pass of a wait (they press Step, Stop ... there).
    std::function<void()> OnWaitPass;
    // Milliseconds a wait sleeps between passes (one frame); 0 in tests.
    int WaitFrameMs = 16;

    // --- bit animation and preview controls (MainFormPreview.cpp) ---
    void GLCadencer1Progress(double deltaTime);
    void MoveBitStep(double deltaTime);
    // Status panel 3: where the bit is (each tick, and when a run ends).
    void ShowBitPosition();
    // The bit onto the place the run reached, its glide over: a run that ends leaves the
    // preview still, and a glide cut short (END switches the cadencer off; with Simulate
    // off no tick came) left the bit where the last frame had it. A bit that a stop held
    // on its way (actStopExecute) stays there.
    void SettleBit();
    // The marker of the line a run shows stands on the run's place, where the bit stands
    // once still (or was held by a stop), not on the line's arguments: a line without
    // coordinates (END, PRINT) or one that failed to evaluate marks the bit, and a line
    // stepped back to marks what a fresh run stopped there marks.
    void MarkRunLine();
    // The marker onto the target of `lineText`, the axes it does not name kept from `from`.
    void PlaceMarker(const QString& lineText, const TAffineVector& from);
    void CollisionManager1Collision(TGLBaseSceneObject* object1, TGLBaseSceneObject* object2);
    void cbSimClick();
    void cbWireframeClick();
    void cboJogsVisibleClick();
    // Clear: the paths and zero offsets go; not while a run is going.
    void BitBtn11Click();
    void SetPathColors(const TVector& moveColor, const TVector& jogColor);
    void SetPathDashed(bool moveDashed, bool jogDashed);
    void ImageRightClick();
    void ImageLeftClick();
    // The main camera's focal length for the viewer's size: the table fills the view.
    void UpdateCameraFocalLength();

    // --- named views, navigation, view printing, preview options (MainFormViews.cpp) ---
    // Index-aligned with the items of PanelGL->cboView.
    std::vector<TSceneView> Views;
    // The pivot as it was when the follow-bit view was switched on.
    TSceneView LastView{"LastView"};
    int LastMouseX = 0;
    int LastMouseY = 0;
    // A navigation button is held: its step repeats on PanelGL->NavRepeat.
    bool NavButtonHeld = false;
    TAction* actPreviewOptions = nullptr;
    // The viewer's context menu.
    QMenu* PopupMenu1 = nullptr;
    void ReadGLSettings();
    void WriteGLSettings();
    // Applies the view chosen in cboView.
    void cboViewChange();
    // New, Save and Delete of the Views group.
    void BitBtn9Click();
    void BitBtn8Click();
    void BitBtn10Click();
    void NavButtonDown(TNavButton button);
    void NavButtonUp();
    void GLWorldViewer1MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void GLWorldViewer1MouseMove(TShiftState shift, int x, int y);
    // The wheel anywhere over the window, editor pages included.
    void FormMouseWheel(int wheelDelta);
    void ButtonZoomExtClick();
    void cbFollowBitClick();
    // Prints the 3D view on a landscape page.
    void BitBtn7Click();
    void actPreviewOptionsExecute();
    // What the preview options apply to; the grid's note goes to the log once per change.
    TPreviewTargets PreviewTargets(bool withViewer = true);
    // The window's first showing: the preview takes the width the settings gave it
    // (fitted), which the splitter keeps as the window takes its final size.
    void FormShow();

    // --- life ---
    void FormActivate();
    // Marks the automation class safe for scripting and initialising; a failure is
    // reported and start-up goes on.
    void SetRegistry();
    bool FirstActivate = true;

    // --- status bar and caption ---
    void actUpdateStatusBarPanelsUpdate();
    // Whether the user may change the page: not while a run goes.
    bool pctrlMainChanging() const { return !Running; }

    // --- IEditorPageHost ---
    void ParseLine(const QString& lineText, TArrayofCmds& cmds) override;
    QString CommandHint(const QString& word) override;
    void ShowLinePosition(const QString& lineText) override;
    void UpdateStatusBar() override;
    void SetHintPanel(const QString& text) override;
    bool RunStepMode() const override { return StepMode; }
    QTabWidget* PageControl() override;
    QList<QAction*> OptionsActions() override { return {actEditorOptions, actPreviewOptions}; }

    // --- IShellServices ---
    void Log(const std::string& tag, const std::string& text) override;
    void AddMessage(const std::string& text) override;
    void ShowVariables(const TCalculVariables& variables) override;
    bool SuppressAllMessages() const override;
    bool QuickViewRunning() const override { return QuietRun; }
    void Wait(int milliseconds) override;
    void FreeClamps() override;

protected:
    // Every page, last first, may ask to save; then, during a run, "Cancel preview and
    // Exit?". A Yes stops the run and closes once the run has unwound.
    void closeEvent(QCloseEvent* event) override;
    void AcceptClose(QCloseEvent* event);
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The grid note the log last had (NoteGrid), so each is said once.
    void NoteGrid(const std::string& note);
    std::string FGridNote;

    void CreateActions();
    void CreateRunActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateCentralArea(const TMainFormOptions& options);
    void ConnectPreview();
    void ConnectViews();
    void CreateViewActions();
    // Start-up: view 0 applied when there is one, then the preview options read and
    // applied through a dialog made for it.
    void StartViews();
    void ApplySettings();
    void FillSettings();
    // The active page, unless its form is gone.
    std::shared_ptr<IEditor> LiveActiveEditor() const;

    // The closing steps of every run: cadencer off, paused, not running, not stepping,
    // the run line shown.
    void EndRun();
    // What Stop does, and END at the top level: the run ends at the next line boundary
    // or wait, and drops the steps pressed but not taken.
    void StopRun();
    // One line of a run as the loop executed it.
    struct TExecutedLine {
        int Index = 0;
        bool SteppedBack = false;
        // END ran.
        bool Ended = false;
    };
    // The pieces of RunFile's loop. The file's lines loaded, its page opened and its
    // name on the file stack; false (the box shown, the run stopped) when it cannot be.
    bool LoadRunFile(const QString& name, TProgramLines& lines);
    // At the file's end: its name off the stack, its caller's page active again.
    void LeaveRunFile();
    // With Simulate on, the glide toward what the line before left; false when the run
    // stopped meanwhile.
    bool SimulateWait();
    // Step mode, before line `i` runs: a Step Back request takes the history's last line
    // into `i` (one with nothing to undo is refused, the wait goes on), and the run line
    // marks the line about to run. False when no line runs: the run stopped, or a Step
    // after a refusal past the last line ends the file.
    bool PrepareSteppedLine(int& i, int last);
    // Executes line `i` (or takes it back); `i` is the loop's next-line variable, which
    // a jump rewrites.
    TExecutedLine ExecuteRunLine(const TProgramLines& program, int& i, TArrayofCmds& cmds);
    // After a line: the top level's END stops the run, a breakpoint enters step mode,
    // and step mode waits for Step, Step Back or Stop. `next` is the loop's next-line
    // variable as the line left it.
    void WaitAfterLine(const TProgramLines& program, const TExecutedLine& line, int next);
    // The line whose breakpoint the run reached with `line`: that line, or the label a
    // jump of it landed on; -1 for none.
    int BreakpointReached(const TProgramLines& program, const TExecutedLine& line, int next) const;
    // Between two lines: a timed run ends past its deadline (false) and passes events
    // every 100 ms of it; a run without waits of its own lets events through now and then.
    bool PaceRun(std::optional<std::int64_t> deadline, std::size_t lineLength);
    // Everything a results run or quick view of `fileName` starts from.
    void ResetForHeadlessRun(const QString& fileName);
    // One pass of a wait: an animation tick, the pending events, the test hook, then
    // sleep to the next frame.
    void WaitPass();
    // The step-mode wait, the run line marking 1-based line `runLine` (0: none) and,
    // when given, `note` in the status bar.
    void StepWait(int runLine, const QString& note = QString());
    // The run line after a step back: the line the run now stands after in its file.
    int SteppedBackRunLine() const;
    // Why Step Back was refused: no earlier line of the file ran, or the record no
    // longer reaches back so far.
    QString StepBackRefusal() const;
    // Runs pending events every 50 ms of a loop that has no waits of its own; called
    // after each line with the length of its text and of the variables' text.
    void KeepResponsive(std::size_t textLength);
    // Between two lines of a run: the window paints and answers.
    void LetEventsThrough();
    void ShowRunLine(int line);
    // RunFile's DoOpenFile: a page for the file it runs, or for its caller again.
    void OpenRunPage(const QString& fileName);
    void QueueCloseAfterRun();
    // Step (forward) or Step Back pressed in step mode: it releases the wait, or comes
    // after the steps still going.
    void RequestStep(bool forward);

    std::array<QLabel*, StatusPanelCount> FPanels{};
    IEditorPageHost* FPreviousHost = nullptr;
    // Runs (of any kind) on the stack; nothing the run uses is freed while above 0.
    int FRunDepth = 0;
    bool FStepWaiting = false;
    // The last tick left the bit on its way to what the last line left: a Stop now holds
    // it where it is.
    bool FBitGliding = false;
    // A stop held the bit on its way: the run's end leaves it there.
    bool FBitHeld = false;
    // Step (true) and Step Back (false) pressed while a step was still going, oldest
    // first: each is a step of its own once the line before it is done.
    std::deque<bool> FPendingSteps;
    std::int64_t FLastEventPassMs = 0;
    int FLinesSinceClockCheck = 0;
    // The window closes without asking again (the question was answered during a run).
    bool FCloseConfirmed = false;
    // The number of pages at which a results run's page could not be opened; results
    // runs open none while as many are open.
    int FResultsPagesFullAt = std::numeric_limits<int>::max();
    // What the variables list shows, kept up to date by the variables' change record.
    TVariablesListView FVariablesView;
    // Every window of the application opens within its screen, closes with Alt+F4 and,
    // closed, gives the keyboard back.
    TWindowScreenFit FWindowFit;
    TWindowCloseKey FWindowCloseKey;
    TKeyboardReturn FKeyboardReturn{*this};
    // The step of the navigation button held down.
    TAffineVector FNavStep{};
    // The right button went down and the mouse has not dragged since: its release opens
    // PopupMenu1.
    bool FRightClickPending = false;
    // The preview's width as last left in the settings, applied when the window is first
    // laid out; and whether it has been.
    int FWantedPanelGLWidth = 0;
    bool FLaidOut = false;
};
