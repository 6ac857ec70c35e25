// libFuzzer target: any bytes as a whole part program, run through the headless runner
// as a results run would, then stepped back and parsed for the editor. A run may end
// with a run error (the shell shows those in a box); anything else that escapes, a
// sanitizer report, path nodes or preview memory beyond the limits, a node beyond the
// range of singles or results text the budget does not count is a fault.
//
// Every dialog is answered (Yes, OK, "1"). Executed lines, path nodes and the preview's
// bytes are capped so that each input ends quickly. Sub-file calls read only a scratch
// folder: the program itself is there as main.sbp, so it may call itself.

#include "EngineTestSupport.h"
#include "engine/ProgramRunner.h"
#include "scene/objects/lines/Lines.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int MaxExecutedLines = 10000;
constexpr std::size_t MaxPathNodes = 200000;
constexpr std::size_t MaxPreviewBytes = 16000000; // low enough that inputs reach it

std::string ScratchFolder()
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kerfpad_program_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "sub.sbp", std::ios::binary) << "M2, 1, 1\r\nCC, 0.5, , 1, 0, 2\r\nJ2, 0, 0\r\n";
    return dir.string();
}

// Any name a program gives, read from the scratch folder only.
std::string InScratch(const std::string& folder, const std::string& name)
{
    const std::size_t slash = name.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    return folder + "/" + (base.empty() || base == "." || base == ".." ? "none.sbp" : base);
}

void CheckPaths(const TMove& move)
{
    std::size_t nodes = 0;
    for (const TGLLinesArray* lines : {&move.CutLines(), &move.JogLines()}) {
        for (const TGLLines* line : *lines) {
            nodes += static_cast<std::size_t>(line->Nodes().Count());
            // No node leaves the range singles hold.
            for (int i = 0; i < line->NodeCount(); ++i) {
                const TAffineVector v = line->NodePoint(i);
                if (!std::isfinite(v.X) || !std::isfinite(v.Y) || !std::isfinite(v.Z)) {
                    std::abort();
                }
            }
        }
    }
    if (nodes != move.PathNodeCount() || nodes > move.MaxPathNodes || move.PreviewBytes() > move.MaxPreviewBytes) {
        std::abort();
    }
    // A results run's budget counts the text of every node there is.
    if (move.CountedPathTextBytes() != move.PathTextLength("J") + move.PathTextLength("M")) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string scratch = ScratchFolder();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(scratch + "/main.sbp", std::ios::binary | std::ios::trunc) << text;
    TProgramLines lines;
    TProgramRunner::SplitLines(text, lines);

    TAnswerEverything answers;
    TDialogResponderScope scope(&answers);
    TEngineData engineData;
    TCalcul calcul;
    TFakeShell shell;
    TMove move(engineData, calcul, shell);
    move.MaxPathNodes = MaxPathNodes;
    move.MaxPreviewBytes = MaxPreviewBytes;
    TProgramRunner runner(move, engineData, calcul);
    runner.MaxExecutedLines = MaxExecutedLines;
    engineData.SetOnRunFile([&](const std::string& name) { runner.RunFile(InScratch(scratch, name)); });

    try {
        runner.RunLinesForResults(lines, scratch + "/main.sbp");
    } catch (const Exception&) {
        // A run error ends the run; what was drawn stays.
    }
    CheckPaths(move);
    // Step back through the history, as the shell's Step Back does.
    for (int i = 0; i < MaxExecutedLines; ++i) {
        try {
            if (!runner.StepBack(lines)) {
                break;
            }
        } catch (const Exception&) {
            break;
        }
    }
    CheckPaths(move);
    // The editor parses every line without running it.
    for (const std::string& line : lines) {
        move.PreprocessLine(line, false);
    }
    return 0;
}
