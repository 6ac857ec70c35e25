#pragma once
// An engine with a headless runner for whole-program path tests, and a compact way to
// write expected path texts: "1,2,3;4,5,6" lists nodes, each written here with five
// decimals and CR LF, independently of the engine's own formatter.

#include "EngineTestSupport.h"

#include "engine/ProgramRunner.h"
#include "engine/RunResults.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

inline std::string ExpectedPath(const std::string& nodes)
{
    std::string out;
    std::size_t from = 0;
    while (from < nodes.size()) {
        std::size_t end = nodes.find(';', from);
        if (end == std::string::npos) {
            end = nodes.size();
        }
        double v[3] = {0, 0, 0};
        std::sscanf(nodes.c_str() + from, "%lf,%lf,%lf", &v[0], &v[1], &v[2]);
        char buf[96];
        std::snprintf(buf, sizeof buf, "%.5f,%.5f,%.5f\r\n", v[0], v[1], v[2]);
        out += buf;
        from = end + 1;
    }
    return out;
}

class TPathEngine {
public:
    // Tests step back after a run, as the shell's Run lets a user do.
    TPathEngine() { Move.KeepStepBack(true); }
    std::string Run(const std::string& program, const std::string& fileName = {})
    {
        Lines = ToLines(program);
        return Runner.RunLinesForResults(Lines, fileName);
    }
    // The same results runs as the test runner judges them: the text drawn until the
    // end or an error, and that error as TEngineHarness::Run gives it.
    TRunOutcome RunForResults(const std::string& program)
    {
        return Outcome([&] { Run(program); });
    }
    TRunOutcome RunFileForResults(const std::string& fileName)
    {
        return Outcome([&] { Runner.RunFileForResults(fileName); });
    }
    int CutCount() const { return static_cast<int>(Move.CutLines().size()); }
    int JogCount() const { return static_cast<int>(Move.JogLines().size()); }

    TEngineData Data;
    TCalcul Calcul;
    TFakeShell Shell;
    TScriptedDialogs Dialogs;
    TDialogResponderScope Scope{&Dialogs};
    TMove Move{Data, Calcul, Shell};
    TProgramRunner Runner{Move, Data, Calcul};
    TProgramLines Lines;

private:
    TRunOutcome Outcome(const std::function<void()>& run)
    {
        TRunOutcome outcome;
        outcome.Error = RunError(Dialogs, run);
        outcome.Path = ResultsText(Move);
        return outcome;
    }
};

// A whole program and the path text it leaves (jog nodes, then cut nodes), named for
// the test list.
struct TPathCase {
    const char* Name;
    const char* Program;
    const char* Path;
};

inline std::string PathCaseName(const ::testing::TestParamInfo<TPathCase>& info)
{
    std::string n;
    for (const char* c = info.param.Name; *c; ++c) {
        n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return n;
}

// A folder of its own under the temporary directory, removed with the helper.
class TTempFolder {
public:
    explicit TTempFolder(const std::string& tag)
        : Dir(std::filesystem::temp_directory_path() / ("kerfpad_" + tag + "_" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(Dir);
    }
    ~TTempFolder() { std::filesystem::remove_all(Dir); }
    void Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(Dir / name, std::ios::binary) << text;
    }
    std::string Path(const std::string& name) const { return (Dir / name).string(); }

    const std::filesystem::path Dir;
};
