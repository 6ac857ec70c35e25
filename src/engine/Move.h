#pragma once
// TMove is the engine's interpreter: it preprocesses each program line into a
// TArrayofCmds and executes it, keeping the line bookkeeping, the flow-control state
// (GOSUB stack, jumps) and the simulated tool position. Command families are dispatch
// points; each family lives in its own source file.

#include "engine/LabelIndex.h"
#include "engine/ParsedLine.h"
#include "engine/PartFiles.h"

#include <string>
#include <string_view>
#include <vector>

class TCalcul;
class TEngineData;
class IShellServices;

class TMove {
public:
    // Installs the position readers into `data` and writes %(21) := 0 (absolute) and
    // %(-1) := 0.05. The three objects must outlive the simulator.
    TMove(TEngineData& data, TCalcul& calcul, IShellServices& shell);
    ~TMove();
    TMove(const TMove&) = delete;
    TMove& operator=(const TMove&) = delete;

    // ---- Line preprocessing ----
    // Parses `line` into `cmds`, reusing its storage. With `execute` off nothing is
    // evaluated, stored or shown: only the command word and raw arguments come back.
    void PreprocessLine(std::string_view line, bool execute, TArrayofCmds& cmds);
    TArrayofCmds PreprocessLine(std::string_view line, bool execute);
    // Every "%(n)" replaced by the text of system variable n.
    std::string ReplaceSysVars(std::string_view line) const;
    // Every "&name" replaced by the variable's value; unknown names stay as written.
    std::string ReplaceUserVars(std::string_view line);

    // ---- Dispatch ----
    // Executes one parsed line and returns true when the run loop must stop (END, or
    // anything but Yes to the question about an unimplemented command). `lines` and
    // `nextLine` (the run loop's 0-based index variable) are remembered when given;
    // jumps write the index of the line after which execution goes on.
    bool ExecuteLine(const TProgramLines* lines, std::string_view lineText, const TArrayofCmds& cmds, int lineIndex,
                     int* nextLine, bool steppingBack);
    // Called when a run starts: forgets the GOSUB returns of earlier runs.
    void StartRun();

    // ---- State ----
    int GetLineIndex() const { return FLineNumber; }
    int LineNumber() const { return FLineNumber; }
    int PrevLineNumber() const { return FPrevLineNumber; }
    const std::string& LineText() const { return FLineText; }
    const std::string& PrevLineText() const { return FPrevLineText; }
    const std::string& CmdWord() const { return FCmdWord; }
    const std::string& PrevCmdWord() const { return FPrevCmdWord; }
    const std::vector<int>& GosubStack() const { return FGosubStack; }
    bool Handled() const { return FHandled; }
    bool SteppingBack() const { return FSteppingBack; }

    bool Moving = false;

    void GetPosition(TVector& pos) const { pos = FPos; }
    void SetPosition(const TVector& pos) { FPos = pos; }
    void GetAB(float& a, float& b) const
    {
        a = FA;
        b = FB;
    }
    void SetFileName(const std::string& name) { FPartFiles.SetMainFileName(name); }

    TPartFiles& PartFiles() { return FPartFiles; }
    TEngineData& Data() { return FData; }
    TCalcul& Calcul() { return FCalcul; }
    IShellServices& Shell() { return FShell; }

    // How deep GOSUB calls may nest before the run stops (a runaway recursion would
    // otherwise grow the stack without end).
    static constexpr std::size_t MaxGosubDepth = 100000;

private:
    // Preprocessor steps.
    bool Evaluate(std::string_view formula, std::string& result);
    void PreparePrint(std::string_view line, TArrayofCmds& cmds);
    void StoreAssignment(std::string_view line, std::size_t eq);
    // True when the line was changed.
    static bool RepairNumbers(std::string& line);
    // Returns how many elements (word included) the line filled.
    static int SplitFields(std::string_view line, TArrayofCmds& cmds);
    void EvaluateArguments(TArrayofCmds& cmds, int used);

    // Dispatch steps.
    // The word under which a line is dispatched: the parsed command word, or the
    // statement word that begins the line (INPUT, IF, GOSUB, GOTO, END, RETURN,
    // EXIT SHOPBOT; a later one in that list wins).
    static std::string_view DispatchWord(std::string_view lineText, const std::string& parsedWord);
    void DispatchFamilies(const TArrayofCmds& cmds, bool& toMotionFamily);
    void DispatchStatements(const TArrayofCmds& cmds);
    void AskAboutUnhandled();
    void LogNotApplicable(std::string_view word);

    // Families (filled by the motion, zero, value, setting, shape and file commands).
    void DoMCommands(const TArrayofCmds& cmds);
    void DoJCommands(const TArrayofCmds& cmds);
    void DoZCommands(const TArrayofCmds& cmds);
    void DoVCommands(const TArrayofCmds& cmds);
    void DoSCommands(const TArrayofCmds& cmds);
    void DoCCommands(const TArrayofCmds& cmds);
    void DoFCommands(const TArrayofCmds& cmds);
    void DoHCommands(const TArrayofCmds& cmds);
    void DoRCommands(const TArrayofCmds& cmds);
    void DoTCommands(const TArrayofCmds& cmds);
    void DoUCommands(const TArrayofCmds& cmds);
    void DoClamp(const TArrayofCmds& cmds);

    // Statements.
    void DoIf(const TArrayofCmds& cmds);
    void DoGosub(const TArrayofCmds& cmds);
    void DoGoto(const TArrayofCmds& cmds);
    void DoReturn(const TArrayofCmds& cmds);
    void DoEnd(const TArrayofCmds& cmds);
    void DoExit(const TArrayofCmds& cmds);
    void DoPause(const TArrayofCmds& cmds);
    void DoPrint(const TArrayofCmds& cmds);
    void DoInput(const TArrayofCmds& cmds);
    // The target line of GOTO/GOSUB; raises ERunError when the label does not exist.
    int FindJumpTarget(std::string_view statementWord);
    void JumpTo(int index);

    TEngineData& FData;
    TCalcul& FCalcul;
    IShellServices& FShell;
    TPartFiles FPartFiles;

    TVector FPos{0.0f, 0.0f, 0.0f, 0.0f};
    float FA = 0.0f;
    float FB = 0.0f;

    std::string FCmdWord;
    std::string FPrevCmdWord;
    std::string FLineText;
    std::string FPrevLineText;
    int FLineNumber = -1;
    int FLineIndex = -1; // the 0-based index passed with the line being executed
    int FPrevLineNumber = -1;
    std::vector<int> FGosubStack;
    int* FNextLine = nullptr;
    const TProgramLines* FLines = nullptr;
    TLabelIndex FLabels;

    bool FSteppingBack = false;
    // Set while the statement after THEN runs; the IF line records itself.
    bool FNested = false;
    bool FHandled = false;
    bool FStop = false;

    // Scratch texts reused by every line.
    std::string FWork;
    std::string FScratch;
    std::string FResult;
};

// Splits `text` at "," into at most `n` + 1 trimmed items; further items are dropped.
void SplitCommaList(std::string_view text, std::vector<std::string>& items, int n);
