#pragma once
// The generated one-million-line programs, the engine set up as the headless runner
// drives it, and the memory readings that the engine benchmarks share.

#include "MemoryReadings.h"

#include "engine/EngineData.h"
#include "engine/Move.h"
#include "engine/ProgramRunner.h"
#include "engine/ShellServices.h"
#include "engine/calcul/Calcul.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace enginebench {

constexpr int ProgramLines = 1000000;

using benchmemory::HeapInUse;
using benchmemory::PeakRssMB;

class QuietShell : public IShellServices {
public:
    void Log(const std::string&, const std::string&) override {}
    void AddMessage(const std::string&) override {}
    void ShowVariables(const TCalculVariables&) override {}
    bool SuppressAllMessages() const override { return true; }
    bool QuickViewRunning() const override { return false; }
    void Wait(int) override {}
    void FreeClamps() override {}
};

// The data module, the evaluator, a silent shell, the simulator and the headless runner
// in the data module's run-file slots. Polylines and clamp boxes go under no parent
// unless a benchmark sets one on Move.
struct TBenchEngine {
    TEngineData Data;
    TCalcul Calcul;
    QuietShell Shell;
    TMove Move{Data, Calcul, Shell};
    TProgramRunner Runner{Move, Data, Calcul};
};

// "M3, x, y, z" with random values of four decimals.
inline const TProgramLines& PlainMoves()
{
    static const TProgramLines lines = [] {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> xy(0.0, 96.0);
        std::uniform_real_distribution<double> z(-1.0, 0.0);
        TProgramLines out;
        out.reserve(ProgramLines);
        char buf[80];
        for (int i = 0; i < ProgramLines; ++i) {
            const double x = xy(rng);
            const double y = xy(rng);
            std::snprintf(buf, sizeof buf, "M3, %.4f, %.4f, %.4f", x, y, z(rng));
            out.emplace_back(buf);
        }
        return out;
    }();
    return lines;
}

// Two assignments, then moves whose arguments are expressions over them.
inline const TProgramLines& ExpressionMoves()
{
    static const TProgramLines lines = [] {
        std::mt19937 rng(11);
        std::uniform_int_distribution<int> small(1, 99);
        TProgramLines out;
        out.reserve(ProgramLines);
        out.push_back("&r = 2.5");
        out.push_back("&a = 0");
        while (static_cast<int>(out.size()) < ProgramLines) {
            const int scale = small(rng);
            const int offset = small(rng) % 10;
            out.push_back("M3, &r * " + std::to_string(scale) + "/97 + 1, &a + " + std::to_string(offset) +
                          " * 0.5, -0.125");
        }
        return out;
    }();
    return lines;
}

// `count` lines `&vN = N` (N from 1): a program that makes that many variables.
inline TProgramLines AssignmentLines(int count)
{
    TProgramLines lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        lines.push_back("&v" + std::to_string(i) + " = " + std::to_string(i));
    }
    return lines;
}

// A drilling job: for each hole a jog to it above the stock, a move down and a move
// back up. Every hole starts a jog polyline and a cut polyline.
constexpr int DrillHoles = 333334; // 1,000,002 lines

inline const TProgramLines& DrillingProgram()
{
    static const TProgramLines lines = [] {
        std::mt19937 rng(13);
        std::uniform_real_distribution<double> xy(0.0, 96.0);
        std::uniform_real_distribution<double> depth(-0.75, -0.125);
        TProgramLines out;
        out.reserve(3 * static_cast<std::size_t>(DrillHoles));
        char buf[80];
        for (int i = 0; i < DrillHoles; ++i) {
            const double x = xy(rng);
            const double y = xy(rng);
            std::snprintf(buf, sizeof buf, "J3, %.4f, %.4f, 0.5000", x, y);
            out.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "M3, %.4f, %.4f, %.4f", x, y, depth(rng));
            out.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "M3, %.4f, %.4f, 0.5000", x, y);
            out.emplace_back(buf);
        }
        return out;
    }();
    return lines;
}

// Moves between the setting commands a job sets its speeds, tool and coordinate mode
// with, each with values of its own: every setting line changes what it writes.
inline const TProgramLines& SettingsProgram()
{
    static const TProgramLines lines = [] {
        std::mt19937 rng(17);
        std::uniform_real_distribution<double> xy(0.0, 96.0);
        std::uniform_int_distribution<int> speed(1, 400);
        TProgramLines out;
        out.reserve(ProgramLines);
        char buf[120];
        while (static_cast<int>(out.size()) < ProgramLines) {
            std::snprintf(buf, sizeof buf, "M3, %.4f, %.4f, -0.2500", xy(rng), xy(rng));
            out.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "MS, %.2f, %.2f", speed(rng) / 100.0, speed(rng) / 100.0);
            out.emplace_back(buf);
            out.emplace_back("SR");
            std::snprintf(buf, sizeof buf, "MX, %.4f", xy(rng) / 96.0);
            out.emplace_back(buf);
            out.emplace_back("SA");
            std::snprintf(buf, sizeof buf, "JS, %.2f, %.2f", speed(rng) / 10.0, speed(rng) / 100.0);
            out.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "VC, %.4f, , , %.2f", speed(rng) / 800.0, speed(rng) / 100.0);
            out.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "VS, %.2f, %.2f, , , %.2f, %.2f", speed(rng) / 100.0, speed(rng) / 100.0,
                          speed(rng) / 10.0, speed(rng) / 100.0);
            out.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "J3, %.4f, %.4f, 0.5000", xy(rng), xy(rng));
            out.emplace_back(buf);
            std::snprintf(buf, sizeof buf, "VU, , , , , %.4f", speed(rng) / 4000.0);
            out.emplace_back(buf);
        }
        out.resize(ProgramLines);
        return out;
    }();
    return lines;
}

// A program written to a file of its own in the temporary folder, once per process,
// CR LF after every line as an editor saves it; the file goes when the process ends.
class TProgramFile {
public:
    TProgramFile(const std::string& tag, const TProgramLines& lines)
        : FPath(std::filesystem::temp_directory_path()
                / ("kerfpad_bench_" + tag + "_" + std::to_string(::getpid()) + ".sbp"))
    {
        std::ofstream out(FPath, std::ios::binary);
        for (const std::string& line : lines) {
            out << line << "\r\n";
        }
    }
    ~TProgramFile()
    {
        std::error_code ignored;
        std::filesystem::remove(FPath, ignored);
    }
    TProgramFile(const TProgramFile&) = delete;
    TProgramFile& operator=(const TProgramFile&) = delete;
    std::string Path() const { return FPath.string(); }

private:
    std::filesystem::path FPath;
};

inline std::string PlainMovesFile()
{
    static const TProgramFile file("plain", PlainMoves());
    return file.Path();
}

inline std::string ExpressionMovesFile()
{
    static const TProgramFile file("expression", ExpressionMoves());
    return file.Path();
}

inline std::string SettingsFile()
{
    static const TProgramFile file("settings", SettingsProgram());
    return file.Path();
}

inline std::string DrillingFile()
{
    static const TProgramFile file("drilling", DrillingProgram());
    return file.Path();
}

} // namespace enginebench
