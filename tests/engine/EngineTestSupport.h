#pragma once
// Test doubles for the engine: a recording shell, the scripted dialog responder of
// tests/support, and a small line loop that runs a whole program the way the shell's
// run loop does.

#include "engine/EngineData.h"
#include "engine/Move.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"
#include "platform/core/services/DialogService.h"

#include "../support/ScriptedDialogs.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TFakeShell : public IShellServices {
public:
    void Log(const std::string& tag, const std::string& text) override { LogLines.emplace_back(tag, text); }
    void AddMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowVariables(const TCalculVariables& variables) override
    {
        VariablesText = variables.Text();
        if (OnShowVariables) {
            OnShowVariables(variables);
        }
    }
    bool SuppressAllMessages() const override { return Suppress; }
    bool QuickViewRunning() const override { return QuickView; }
    void Wait(int milliseconds) override { Waits.push_back(milliseconds); }
    void FreeClamps() override { ++FreeClampsCalls; }

    std::vector<std::pair<std::string, std::string>> LogLines;
    std::vector<std::string> Messages;
    std::string VariablesText;
    // Also called with the variables each time they are shown (a list kept by a view).
    std::function<void(const TCalculVariables&)> OnShowVariables;
    std::vector<int> Waits;
    int FreeClampsCalls = 0;
    bool Suppress = false;
    bool QuickView = false;
};

struct TRunOutcome {
    std::vector<int> Trace; // 1-based numbers of the executed lines, in order
    bool Stopped = false;   // ended by END or a No answer
    std::string Error;      // the error box text when an error ended the run
    std::string Path;       // a results run's text (ResultsText), also when an error ended it
};

// Runs `run` as the shell runs a program: an error that ends it is shown in the error
// box (which `dialogs` answers) and its text returned; "" when none did.
std::string RunError(TScriptedDialogs& dialogs, const std::function<void()>& run);

class TEngineHarness {
public:
    TEngineHarness();
    ~TEngineHarness();

    // Runs a program (lines separated by "\n") through the line loop.
    TRunOutcome Run(const std::string& program);
    TArrayofCmds Parse(const std::string& line, bool execute = true) { return Move.PreprocessLine(line, execute); }
    // The value text of a user variable, or "<none>".
    std::string Var(const std::string& name) const;

    TEngineData Data;
    TCalcul Calcul;
    TFakeShell Shell;
    TScriptedDialogs Dialogs;
    TMove Move{Data, Calcul, Shell};
    TProgramLines Lines;

private:
    TDialogResponderScope FScope{&Dialogs};
};

std::vector<std::string> ToLines(const std::string& program);

// Answers every dialog: Yes where offered, else OK; "1" to every input box.
class TAnswerEverything : public IDialogResponder {
public:
    TModalResult MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons buttons) override
    {
        return (buttons & mbYes) ? TModalResult::mrYes : TModalResult::mrOk;
    }
    bool InputQuery(const std::string&, const std::string&, std::string& value) override
    {
        value = "1";
        return true;
    }
};

// The part programs (*.sbp) of the shared corpus; empty when there is none.
inline std::vector<std::filesystem::path> CorpusFiles()
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(KERFPAD_CORPUS, ec)) {
        if (entry.path().extension() == ".sbp") {
            files.push_back(entry.path());
        }
    }
    return files;
}
