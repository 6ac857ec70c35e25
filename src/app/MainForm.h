#pragma once
// The main window: menus, the editor pages (pctrlMain) above the variables list, the
// status bar and the window caption. It owns the expression evaluator and the motion
// simulator, the run state and the command hints; the editor pages reach it through
// IEditorPageHost, the engine through IShellServices.
//
// Built so far: the editing frame (File, Edit and View menus, tab popup, status bar,
// breakpoint and comment actions). The preview, the run control, the Run, Tools and
// Help menus and the tool bar are added by later parts of the shell: the editor side
// is the first widget of MainSplitter, Quick View goes into the File menu before
// "Recent Files" and the print items before PrintSetup1, SuppressAllMessages1 into the
// Run menu, and UpdateAllActions covers every action of actlStandard.

#include "app/CommandHints.h"
#include "app/EditorInterfaces.h"
#include "app/EditorPageHost.h"
#include "app/MainSettings.h"

#include "engine/Move.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"
#include "platform/gui/ActionList.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QLabel;
class QListWidget;
class QMenu;
class QSplitter;
class TPageControl;

class TMainForm : public QMainWindow, public IEditorPageHost, public IShellServices {
public:
    // The data module must exist; the window reads its settings and commands.ini, makes
    // the evaluator and the simulator and installs itself as the pages' host.
    TMainForm();
    // Closes every page (they go on the recent list) and writes the main settings.
    ~TMainForm() override;

    // --- run state (the run control drives it) ---
    bool Running = false;
    bool Paused = true;
    bool StepMode = false;
    bool StepRequested = false;
    bool StepBackRequested = false;
    bool QuietRun = false;

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
    QMenu* PopupMenu2;
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

    // --- IShellServices ---
    void Log(const std::string& tag, const std::string& text) override;
    void AddMessage(const std::string& text) override;
    void ShowVariables(const std::string& text) override;
    bool SuppressAllMessages() const override;
    bool QuickViewRunning() const override { return QuietRun; }
    void Wait(int milliseconds) override;
    void FreeClamps() override;

protected:
    // Every page, last first, may ask to save; a refusal keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateStatusBar();
    void CreateCentralArea();
    void ApplySettings();
    void FillSettings();
    // The active page, unless its form is gone.
    std::shared_ptr<IEditor> LiveActiveEditor() const;

    std::array<QLabel*, StatusPanelCount> FPanels{};
    IEditorPageHost* FPreviousHost = nullptr;
};
