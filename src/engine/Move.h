#pragma once
// TMove is the engine's interpreter: it preprocesses each program line into a
// TArrayofCmds and executes it, keeping the line bookkeeping, the flow-control state
// (GOSUB stack, jumps) and the simulated tool position. Command families are dispatch
// points; each family lives in its own source file.

#include "engine/CCommands.h"
#include "engine/Clamps.h"
#include "engine/EngineEvents.h"
#include "engine/LabelIndex.h"
#include "engine/ParsedLine.h"
#include "engine/PartFiles.h"
#include "engine/SystemVars.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TCalcul;
class TEngineData;
class IShellServices;
class TGLBaseSceneObject;
class TGLLines;
class TCollisionManager;

using TGLLinesArray = std::vector<TGLLines*>;

// The state before a line, kept so that a step back can put it back: the tool's
// position and place, the zero offsets, and how far the polylines reached. Most lines
// need none of it stored (see MoveUndo.cpp).
struct TLineUndo {
    float X, Y, Z, W, A, B;
    float ToolX, ToolY, ToolZ;
    std::uint32_t CutCount, CutNodes, JogCount, JogNodes;
    bool NewPolyline;
    // Index into the zero-offset undo list when the line changed the offsets, else -1.
    std::int32_t ZeroIndex;
};

class TMove final : private IMotionSlots, private ISystemVarChanges {
public:
    // Serves the position, heading and node slots of `data` itself and writes
    // %(21) := 0 (absolute) and %(-1) := 0.05. The objects must outlive the simulator.
    // Polylines go under `linesParent` (none: they are kept but drawn nowhere); the
    // clamps parent and collision manager are for the clamp boxes. The simulator owns
    // its polylines and frees them itself, so it must go before the scene does.
    TMove(TEngineData& data, TCalcul& calcul, IShellServices& shell, TGLBaseSceneObject* linesParent = nullptr,
          TGLBaseSceneObject* clampsParent = nullptr, TCollisionManager* collisionManager = nullptr);
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
    // The command word PreprocessLine leaves for `line` when it executes it (none for an
    // assignment), found without evaluating or storing anything.
    std::string CommandWordOf(std::string_view line);

    // ---- Dispatch ----
    // Executes one parsed line and returns true when the run loop must stop (END, or
    // anything but Yes to the question about an unimplemented command). `lines` and
    // `nextLine` (the run loop's 0-based index variable) are remembered when given;
    // jumps write the index of the line after which execution goes on. Stepping back,
    // the line just taken off the history is undone from its record instead: nothing
    // of it is evaluated or run again, so `cmds` is not read (the caller need not
    // preprocess it), and the result is false.
    bool ExecuteLine(const TProgramLines* lines, std::string_view lineText, const TArrayofCmds& cmds, int lineIndex,
                     int* nextLine, bool steppingBack);
    // Called when a run starts: forgets the GOSUB returns of earlier runs, and stops
    // counting path text (CountPathText).
    void StartRun();
    // Whether a step back may follow the lines executed from now on: only then are the
    // variables' changes and the GOSUB stack's kept for it. A run that never steps back
    // (a results run, a quick view, the headless runner) keeps none, and lines executed
    // without it cannot be stepped back. Switching it off forgets what was kept.
    void KeepStepBack(bool keep);
    // For a results run, until the next StartRun: the preview's budget also counts the
    // path text that the run's results will hold (ResultsText), so the run with its text
    // stays within MaxPreviewBytes. The nodes drawn so far are counted at once.
    void CountPathText();

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

    bool Moving = false;

    void GetPosition(TVector& pos) const { pos = FPos; }
    // Also places the tool there (the shell resets the position with it).
    void SetPosition(const TVector& pos);
    TVector ZeroOffset() const { return FZero; }
    void GetZeroAB(float& a, float& b) const
    {
        a = FZeroA;
        b = FZeroB;
    }
    // Where the bit is in the scene: the last path node the tool reached (sub-file
    // offset and scale included), so the animation follows the drawn path.
    void GetBitTarget(TAffineVector& target) const { target = FTool; }
    // The position in scene coordinates of the innermost sub-file level; W is 0.
    void GetScenePosition(TVector& p) const;
    void GetAB(float& a, float& b) const
    {
        a = FA;
        b = FB;
    }
    void SetFileName(const std::string& name) { FPartFiles.SetMainFileName(name); }

    // ---- Tool paths ----
    // After an M ("M") or J ("J") command: the path node of the line.
    void AddPathNode(char kind);
    // The node handlers of the data module: with newLine a new polyline of that kind
    // starts with the point; with setCurPos the position becomes (x, y, z, 0). A
    // shape's points are where the tool goes; anyone else's node (a plug-in's) moves the
    // tool, and so the bit's target, only with setCurPos, to the new position in the
    // scene (zero offsets included).
    void AddMoveNode(bool setCurPos, bool newLine, float x, float y, float z);
    void AddJogNode(bool setCurPos, bool newLine, float x, float y, float z);
    void SetJogsVisible(bool visible);
    // Styles for polylines created afterwards.
    void SetPathColors(const TVector& moveColor, const TVector& jogColor);
    void SetPathDashed(bool moveDashed, bool jogDashed);
    // Frees every polyline; zero offsets X..W, command words and line numbers start
    // afresh. Position, A/B offsets and the GOSUB stack stay. A preview of
    // LargePreviewBytes or more hands the freed memory back to the system.
    void Reset();
    static constexpr std::size_t DefaultLargePreviewBytes = 64000000;
    std::size_t LargePreviewBytes = DefaultLargePreviewBytes;
    // Extremes of X and Y over the cut nodes; false when there is none.
    bool GetExtents(float& maxX, float& minX, float& maxY, float& minY) const;
    // Degrees from +X counter-clockwise of the last cut segment, looking back.
    double GetLastHeading() const;
    // Appends every node of the jog ("J") or cut ("M") polylines, "x,y,z" CR LF each
    // (the kind trimmed, in either case; any other kind appends nothing), into room
    // made once for exactly the text: a million nodes' text is neither regrown nor
    // copied. A results run has counted that text; otherwise the nodes are measured.
    void GetPathText(std::string_view kind, std::string& text) const;
    // The length of what GetPathText appends, found by walking the nodes.
    std::size_t PathTextLength(std::string_view kind) const;
    // The path text the budget counts: all of it while CountPathText holds, else 0.
    std::size_t CountedPathTextBytes() const { return FPathTextBytes[0] + FPathTextBytes[1]; }
    const TGLLinesArray& CutLines() const { return FCutLines; }
    const TGLLinesArray& JogLines() const { return FJogLines; }
    bool JogsVisible() const { return FJogsVisible; }
    TGLBaseSceneObject* LinesParent() const { return FLinesParent; }
    TGLBaseSceneObject* ClampsParent() const { return FClampsParent; }
    TCollisionManager* CollisionManager() const { return FCollisionManager; }
    void SetLinesParent(TGLBaseSceneObject* parent) { FLinesParent = parent; }
    void SetClampsParent(TGLBaseSceneObject* parent) { FClampsParent = parent; }
    void SetCollisionManager(TCollisionManager* manager) { FCollisionManager = manager; }

    // The last VB values: arguments 1..4, 5 and 6 (whole numbers), 7.
    struct TVBValues {
        float V1 = 0, V2 = 0, V3 = 0, V4 = 0;
        int V5 = 0, V6 = 0;
        float V7 = 0;
    };
    const TVBValues& VBValues() const { return FVB; }

    // How deep FP calls may nest before the run stops.
    static constexpr int MaxFileDepth = 32;

    // The most path nodes all polylines together may hold (about 3 GB of nodes): one
    // more stops the run with an error, the nodes drawn so far kept. Running out of
    // memory would end the application with every unsaved page.
    static constexpr std::size_t DefaultMaxPathNodes = 50000000;
    std::size_t MaxPathNodes = DefaultMaxPathNodes;
    std::size_t PathNodeCount() const { return FPathNodes; }
    // The most memory the preview may hold, in bytes: the polylines with their nodes,
    // what drawing them keeps, the clamp boxes, the step-back history and, in a results
    // run, the path text (CountPathText). Points alone
    // do not bound it: a path of short polylines costs several times more per point
    // than one long one. A run that would pass it stops as at the point limit, what was
    // drawn kept.
    static constexpr std::size_t DefaultMaxPreviewBytes = 2000000000;
    std::size_t MaxPreviewBytes = DefaultMaxPreviewBytes;
    std::size_t PreviewBytes() const;

    TPartFiles& PartFiles() { return FPartFiles; }
    // The clamp boxes of the run; the shell frees them before every run.
    TClampList& Clamps() { return FClamps; }
    TEngineData& Data() { return FData; }
    TCalcul& Calcul() { return FCalcul; }
    IShellServices& Shell() { return FShell; }

    // How deep GOSUB calls may nest before the run stops (a runaway recursion would
    // otherwise grow the stack without end).
    static constexpr std::size_t MaxGosubDepth = 100000;

private:
    // The data module's slots.
    void SlotPosition(TVector& pos) override { GetPosition(pos); }
    void SlotAB(float& a, float& b) override { GetAB(a, b); }
    double SlotLastHeading() override { return GetLastHeading(); }
    void SlotAddMoveNode(bool setCurPos, bool newLine, float x, float y, float z) override
    {
        AddMoveNode(setCurPos, newLine, x, y, z);
    }
    void SlotAddJogNode(bool setCurPos, bool newLine, float x, float y, float z) override
    {
        AddJogNode(setCurPos, newLine, x, y, z);
    }

    // While a line that may be stepped back runs, what each system variable it writes
    // held goes into the variables' record under the line's place.
    void SysVarChanging(int n, TSysVarField field, const TSystemVar& before) override;

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
    // The state a forward line starts from, kept for its history record.
    void BeginLineRecord();
    // Inside a catch block of ExecuteLine: takes back what the failing line left half
    // done, records it and raises the error the run reports.
    [[noreturn]] void FailLine(bool toMotionFamily, int lineIndex);
    // The word under which a line is dispatched: the parsed command word, or the
    // statement word that begins the line (INPUT, IF, GOSUB, GOTO, END, RETURN,
    // EXIT SHOPBOT; a later one in that list wins).
    static std::string_view DispatchWord(std::string_view lineText, const std::string& parsedWord);
    void DispatchFamilies(const TArrayofCmds& cmds, bool& toMotionFamily);
    void DispatchStatements(const TArrayofCmds& cmds);
    void AskAboutUnhandled();
    void LogNotApplicable(std::string_view word);

    // Motion.
    // The target of a move's argument i - 1 (GetMoveParam) for an axis now at `current`.
    float MoveTarget(const TArrayofCmds& cmds, int i, float current) const;
    // Raises ECoordinateRange, naming the command and the line, when a coordinate is
    // not finite. Every target and node passes here, so the test is inline: one
    // comparison of each magnitude, none waiting on another, each branch predicted.
    template <class... TFloats>
    void CheckInRange(TFloats... values) const
    {
        if (!(std::isfinite(values) && ...)) {
            ThrowOutOfRange();
        }
    }
    [[noreturn]] void ThrowOutOfRange() const;
    // Raises EValueRange naming what argument `argument` of the command holds (a speed,
    // an offset), or the coordinate-range error when it holds a target.
    [[noreturn]] void ThrowValueRange(int argument) const;
    // After ECoordinateRange: the position, the tool and the polylines as the line
    // found them.
    void TakeBackLine();
    // The position, A, B, the tool and the polylines as `u` recorded them (not the
    // zero offsets).
    void RestoreLineState(const TLineUndo& u);
    void DoMoveDistance(const TArrayofCmds& cmds);
    // Paths.
    TGLLines* NewPolyline(bool jog);
    void AddNode(bool jog, bool setCurPos, bool newLine, float x, float y, float z);
    // After a node handler: the tool where that caller's node leaves it (see AddMoveNode).
    void PlaceToolAfterNode(bool setCurPos, const TAffineVector& toolBefore);
    // The path's node and byte counts follow every polyline that comes, changes or goes.
    std::size_t PolylineBytes(const TGLLines& line) const;
    void DeletePolyline(TGLLinesArray& lines);
    // The path text of a polyline's nodes.
    static std::size_t PolylineTextBytes(const TGLLines& line);
    // The polylines of "J" or "M" (trimmed, either case); none for another kind.
    const TGLLinesArray* PathLines(std::string_view kind) const;
    // The last node of the last polyline of `lines`.
    void DeleteLastNode(TGLLinesArray& lines);
    // Where the path text of the cut or the jog polylines is counted.
    std::size_t TextCountOf(const TGLLinesArray& lines) const { return &lines == &FJogLines ? 1 : 0; }
    // Stops the run when `growth` more bytes and the line's history record would take
    // the preview past its limit.
    void CheckPreviewBytes(std::size_t growth) const;
    static bool ToolIsAtEnd(const TGLLinesArray& lines, const TAffineVector& tool);
    static int LastNodeCount(const TGLLinesArray& lines);
    // Step back: the state before the stepped-back line comes back.
    // The variables keep their changes under the index the line takes in the history,
    // from its preprocessing to the end of its execution (a sub-file's lines under
    // theirs, which its FP line takes over when they leave the history); a step back
    // undoes every change kept under its line's index or a later one.
    std::int64_t LineUndoTag();
    // Undoes the changes to the variables and the GOSUB stack kept under the line's
    // place in the history or a later one.
    void UndoLineEffects();
    // The GOSUB stack's change, kept in the variables' record: the index RETURN popped,
    // or -1 for a push.
    void KeepGosubUndo(std::int32_t popped);
    // A clamp box made at `index` of the list, and the VB values before a VB line,
    // kept there too.
    void KeepClampUndo(int index);
    void KeepVBUndo();
    // One value the engine kept in the variables' record, put back.
    void UndoKeptValue(std::int32_t value, std::string_view bytes);
    // System variable n's flags byte (the field written, whether it was set) and that
    // field's value as they were.
    void RestoreSysVar(int n, char flags, std::string_view before);
    // The step back of the line just taken off the history: its record's changes undone.
    void UndoLine();
    // How many entries of the history step back must leave.
    std::size_t StepBackFloor() const;
    // After a step back: the line texts, command word and line number as the line
    // before the undone one left them, read off the history and the program's lines
    // (a later line reads them: a PAUSE its comment, a move whether a shape or jog
    // came before it).
    void RestoreLineBookkeeping();
    // What a line leaves in the bookkeeping: its text (the statement after THEN when an
    // IF's statement ran) and its command word (none for a blank, comment or label).
    struct TLineLeft {
        std::string Text;
        std::string Word;
        int LineNumber = -1;
    };
    TLineLeft LineLeft(int index, bool statementRan);
    // Whether line `index` of the current file, its statement not run, leaves a command
    // word: asked of every line a step back walks past, so kept per line of the file.
    bool LeavesWord(int index);
    void RecordLine(int lineIndex);
    std::uint32_t UndoCode(bool motion);
    void TrimUndo(std::size_t count);
    void StepBack();
    void TruncatePolylines(TGLLinesArray& lines, std::uint32_t count, std::uint32_t nodes);
    // Frees every cut and jog polyline; a results run's text count goes to 0 with them.
    void FreePolylines();
    // Zero offsets before a change, so that a step back can restore them.
    void SaveZeroOffsets();
    // Sub-files.
    void CallFile(const TArrayofCmds& cmds);
    // The file argument of FP: as written, or the text of the variable "&name" names.
    std::string SubFileArgument(const TArrayofCmds& cmds);

    // Families (filled by the motion, zero, value, setting, shape and file commands).
    void DoMCommands(const TArrayofCmds& cmds);
    void DoJCommands(const TArrayofCmds& cmds);
    void DoZCommands(const TArrayofCmds& cmds);
    void DoVCommands(const TArrayofCmds& cmds);
    // The value commands, one for each letter; each reads all its arguments before it
    // writes any.
    void DoVA(const TArrayofCmds& cmds);
    void DoVB(const TArrayofCmds& cmds);
    void DoVC(const TArrayofCmds& cmds);
    void DoVL(const TArrayofCmds& cmds);
    void DoVS(const TArrayofCmds& cmds);
    void DoVU(const TArrayofCmds& cmds);
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
    // The condition of the IF text `text`; true, with the statement after THEN, when it
    // holds. Raises ERunError when it gives no whole number.
    bool IfConditionHolds(std::string_view text, std::string_view& statement);
    // The line texts and words as the nested IF `current` leaves them (both texts are
    // parts of the line text).
    void EnterNestedIf(std::string_view previous, std::string_view current);
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
    TVector FZero{0.0f, 0.0f, 0.0f, 0.0f};
    float FZeroA = 0.0f;
    float FZeroB = 0.0f;
    // The tool's place in the scene.
    TAffineVector FTool{0.0f, 0.0f, 0.0f};

    TVector FMoveColor{1.0f, 0.0f, 0.0f, 1.0f};
    TVector FJogColor{0.0f, 0.0f, 1.0f, 1.0f};
    bool FMoveDashed = false;
    bool FJogDashed = false;
    bool FJogsVisible = false;
    bool FNewPolyline = false;
    // Nodes in FCutLines and FJogLines together, and what those polylines cost.
    std::size_t FPathNodes = 0;
    std::size_t FPathBytes = 0;
    // The path text of those nodes, of the cut [0] and the jog [1] polylines, counted
    // while FCountPathText holds.
    bool FCountPathText = false;
    std::size_t FPathTextBytes[2] = {0, 0};
    TGLLinesArray FCutLines;
    TGLLinesArray FJogLines;
    TGLBaseSceneObject* FLinesParent;
    TGLBaseSceneObject* FClampsParent;
    TCollisionManager* FCollisionManager;
    TVBValues FVB;
    TC_Commands FCCommands{FData, FShell};
    TClampList FClamps;

    // Parallel to the executed-line history: one code per line, and the full records
    // of the lines whose code cannot tell what to undo.
    std::vector<std::uint32_t> FUndo;
    std::vector<TLineUndo> FFullUndo;
    struct TZeroUndo {
        TVector Zero;
        float A, B;
    };
    std::vector<TZeroUndo> FZeroUndo;
    bool FKeepStepBack = false;
    // Set by an IF line whose statement ran (its line record says so).
    bool FStatementRan = false;
    // The bookkeeping a run, and each sub-file level, started with: what a step back to
    // its first line leaves.
    TLineLeft FRunStart;
    std::vector<TLineLeft> FLevelStarts;
    // Where the variables' record stood as each sub-file level started.
    std::vector<std::uint64_t> FLevelUndoMarks;
    // LeavesWord's answers for the lines of FLeavesWordLines (0: not asked yet, 1: a
    // word, 2: none); forgotten with every run and every sub-file call, since another
    // file's lines may come at the same address (back in the caller, its own lines
    // stand elsewhere).
    const TProgramLines* FLeavesWordLines = nullptr;
    std::vector<std::uint8_t> FLeavesWord;
    // The most one executed line adds to the history, as PreviewBytes counts it.
    static constexpr std::size_t LineRecordBytes =
        2 * (sizeof(std::uint32_t) + sizeof(int) + sizeof(TLineUndo) + sizeof(TZeroUndo));
    // The zero-offset undo entry of the line being executed, -1 while it changed none.
    std::int32_t FLineZeroIndex = -1;
    TLineUndo FLineStart{};

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

    // The history resets seen, so that a new run's history forgets the variables'
    // changes of the last one.
    std::uint64_t FHistoryResets = 0;
    // Set while the statement after THEN runs; the IF line records itself.
    bool FNested = false;
    // Set while a shape of the C family reports its points.
    bool FShapeGoing = false;
    bool FHandled = false;
    bool FStop = false;

    // Scratch texts reused by every line.
    std::string FWork;
    std::string FScratch;
};

// Splits `text` at "," into at most `n` + 1 trimmed items; further items are dropped.
void SplitCommaList(std::string_view text, std::vector<std::string>& items, int n);
