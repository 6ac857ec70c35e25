#pragma once
// The data module: what the main window, the editor pages, the plug-in window, the
// automation object and the engine share. It holds the recent-file and recent-plug-in
// lists, the numbers of the untitled pages, the debug log, the tips of the day, the
// open and save dialogs, the engine's data (system variables, keyword table,
// callback slots) and the results run the test runner calls. The main window creates it
// first and frees it last, after closing the log; the global `dm` points to it meanwhile.
//
// Later parts of the shell add their shared components here (the print engine, the
// completion list), each as a member built in the constructor.

#include "app/shell/DataModuleActions.h"
#include "app/shell/DebugLogFile.h"
#include "app/settings/EditorOptionsData.h"
#include "app/shell/RecentFiles.h"
#include "app/shell/Tips.h"
#include "app/shell/UntitledNumbers.h"

#include "editor/control/CodeEditPlugins.h"
#include "engine/EngineData.h"
#include "platform/core/objects/Component.h"
#include "platform/core/services/DialogService.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IPrinter;
class QPrinter;
class TCodeCompletionPopup;
class TCodeCompletionProposal;
class TCodeEditPrint;
class TCodeRuleHighlighter;
class TQtPrinter;

// A results run: the program run from a clean state without animation, answering its
// path text (the jog nodes, a line break, the cut nodes), or none when the program could
// not be loaded, so it did not run at all.
using TRunFileResultsHandler = std::function<std::optional<std::string>(const QString& fileName)>;

class Tdm {
public:
    Tdm();
    // Clears `dm` when it points here.
    ~Tdm();
    Tdm(const Tdm&) = delete;
    Tdm& operator=(const Tdm&) = delete;

    TRecentFiles MRUFiles;
    TRecentFiles MRUPlugins;
    TUntitledNumbers UntitledNumbers;
    TTips Tips1;
    TEngineData Engine;
    TFileDialogOptions dlgFileOpen;
    TFileDialogOptions dlgFileSave;
    // Owns the data module's components.
    TComponent Components;
    // The universal highlighter every page uses; its rules come from the settings file.
    TCodeRuleHighlighter* CodeRuleHighlighter1;
    // The data module's highlighters by language name.
    std::vector<THighlighterName> Highlighters;
    // actlMain and its actions.
    TDataModuleActions Actions;
    TEditorOptionsData EditorOptions;
    // The print engine of every print and print preview; the print settings give its
    // header, footer, margins and options before each use.
    TCodeEditPrint* CodeEditPrint;
    // The completion list of the code insert items (Ctrl+Space on a page); its window
    // exists while a QApplication does.
    TCodeCompletionProposal* CodeAutoComplete;

    // Whether the word, compared without case, is one of the language's keywords or the
    // clamp keyword.
    bool IsKnownCommand(const QString& word) const;

    // The printer the print engine and the printer set-up share, made on first use.
    QPrinter& Printer();
    // The printer set-up dialog on it; true when confirmed.
    bool ExecutePrinterSetup();
    // The platform printer over Printer(), for prints and previews to install.
    IPrinter& PlatformPrinter();

    // The run-file-for-results slot, which the main window fills at its creation.
    void SetOnRunFileResults(TRunFileResultsHandler handler) { FOnRunFileResults = std::move(handler); }
    // The results run of the file through the slot; Exception when none is installed.
    std::optional<std::string> RunFileResults(const QString& fileName) const;

    // log.txt beside the executable, emptied; then "Log file opened".
    void OpenLog();
    // One line; nothing when the log is not open. Never raises.
    void Log(const QString& tag, const QString& text);
    // "Closing log file", then the file is closed.
    void CloseLog();

    void AddMRUFile(const QString& fileName) { MRUFiles.Add(fileName); }
    void RemoveMRUFile(const QString& fileName) { MRUFiles.Remove(fileName); }
    int GetMRUFileCount() const { return MRUFiles.Count(); }
    QString GetMRUFile(int index) const { return MRUFiles.Get(index); }
    void AddMRUPlugin(const QString& fileName) { MRUPlugins.Add(fileName); }
    void RemoveMRUPlugin(const QString& fileName) { MRUPlugins.Remove(fileName); }
    void PromoteMRUPlugin(const QString& fileName) { MRUPlugins.Promote(fileName); }
    QString GetMRUPlugin(int index) const { return MRUPlugins.Get(index); }

    // The save dialog, starting in the folder of `fileName` and proposing its name (or
    // neither when it is empty); true and the chosen name when confirmed, else false
    // with `fileName` unchanged.
    bool ExecuteSaveDialog(QString& fileName);
    // The open dialog, several files at once; false when cancelled.
    bool ExecuteOpenDialog(QStringList& fileNames);

    int NewUntitledNumber() { return UntitledNumbers.New(); }
    void ReleaseUntitledNumber(int number) { UntitledNumbers.Release(number); }

    // Fills `list` with the fields of `text` (see DelimitedText.h). A missing list is
    // an assertion failure naming "dmCommands", line 269.
    void SplitText(QChar separator, const QString& text, QStringList* list) const;

    // "X: 1,234.50000    Y: 0.00000    Z: -2.00000" in the user's locale: grouping,
    // five decimals, at most 15 significant digits; "NAN", "INF" and "-INF" for values
    // that are no number or out of range.
    static QString StatusPositionText(double x, double y, double z);

    // The tip window's close event: stores "ShowTipsOnStartup" and the next tip's index
    // in [Main] of the main settings file. A file that cannot be written is reported in
    // an error box.
    void Tips1CloseDialog();

private:
    TDebugLogFile FLog;
    TRunFileResultsHandler FOnRunFileResults;
    QSet<QString> FKeywords;
    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<TQtPrinter> FPlatformPrinter;
    std::unique_ptr<TCodeCompletionPopup> FCompletionPopup;
};

extern Tdm* dm;
