#pragma once
// Runs whole part programs without a window: what the shell's RunFileByName and
// RunFileForResults do, minus the editor pages and the animation. It serves the data
// module's run-file slot, so FP sub-files run through it too. The tests, the fuzz
// target and the benchmarks use it; the shell wraps the same steps with its pages.

#include "engine/LineLoop.h"

#include <functional>
#include <string>
#include <string_view>

class TEngineData;
class TCalcul;

class TProgramRunner {
public:
    // Installs itself into the data module's run-file slot until it is destroyed.
    TProgramRunner(TMove& move, TEngineData& data, TCalcul& calcul);
    ~TProgramRunner();
    TProgramRunner(const TProgramRunner&) = delete;
    TProgramRunner& operator=(const TProgramRunner&) = delete;

    // Reset (paths, position 0, part-file stack, variables), run the file, and return
    // the jog path text, trimmed, then CR LF when it is not empty, then the cut text.
    std::string RunFileForResults(const std::string& fileName);
    // The same for lines already in memory; `fileName` is the main file's name.
    std::string RunLinesForResults(const TProgramLines& lines, const std::string& fileName = {});
    // Runs a file to its end (END ends only this file); a file that cannot be loaded
    // raises ERunError with LoadLines' error.
    void RunFile(const std::string& fileName);
    // Takes the last executed line off the history and undoes it, as the shell's
    // Step Back does; false when the history is empty.
    bool StepBack(const TProgramLines& lines);

    // Stops every running file after this many executed lines (0: no limit); a
    // simulation never sees the machine inputs some programs wait for.
    int MaxExecutedLines = 0;
    int ExecutedLines() const { return FExecuted; }
    // Called after every executed line, a sub-file's too, with its index in its file.
    std::function<void(int index)> OnLineExecuted;
    bool Capped() const { return FCapped; }

    // The one reading of part-program text for a run, as the editor's buffer reads a
    // file: a leading UTF-8 byte-order mark is skipped, lines end at CR LF, LF or a
    // lone CR, and a break at the end of the text starts no further line.
    static void SplitLines(std::string_view text, TProgramLines& lines);
    // Every part file loaded from disk for a run (main file, FP sub-file, test run)
    // goes through here; false when the file cannot be read, `error` then saying why:
    // "Cannot find file: <name>" when there is none, what the name is when it is no
    // regular file ("Not a regular file: ..."), or why it could not be opened or read.
    static bool LoadLines(const std::string& fileName, TProgramLines& lines, std::string* error = nullptr);

private:
    void ResetForResults(const std::string& fileName);
    void Run(const TProgramLines& lines);

    TMove& FMove;
    TEngineData& FData;
    TCalcul& FCalcul;
    TLineLoopHooks FHooks;
    int FExecuted = 0;
    bool FCapped = false;
};
