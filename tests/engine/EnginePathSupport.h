#pragma once
// An engine with a headless runner for whole-program path tests, and a compact way to
// write expected path texts: "1,2,3;4,5,6" lists nodes, each written here with five
// decimals and CR LF, independently of the engine's own formatter.

#include "EngineTestSupport.h"

#include "engine/ProgramRunner.h"

#include <cstdio>
#include <string>

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
    TPathEngine() = default;
    std::string Run(const std::string& program, const std::string& fileName = {})
    {
        Lines = ToLines(program);
        return Runner.RunLinesForResults(Lines, fileName);
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
};
