#include "EngineTestSupport.h"

#include "engine/LineLoop.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

std::vector<std::string> ToLines(const std::string& program)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t nl = program.find('\n', from);
        lines.push_back(program.substr(from, nl == std::string::npos ? std::string::npos : nl - from));
        if (nl == std::string::npos) {
            return lines;
        }
        from = nl + 1;
    }
}

TEngineHarness::TEngineHarness()
{
    // Tests step back after a run, as the shell's Run lets a user do.
    Move.KeepStepBack(true);
}

TEngineHarness::~TEngineHarness()
{
    EXPECT_TRUE(Dialogs.AllAnswered()) << "a scripted dialog was never shown";
}

TRunOutcome TEngineHarness::Run(const std::string& program)
{
    Lines = ToLines(program);
    TRunOutcome outcome;
    Move.StartRun();
    TLineLoopHooks hooks;
    hooks.AfterLine = [&](int) {
        outcome.Trace.push_back(Move.LineNumber());
        Shell.ShowVariables(Calcul.GetVariables());
        return true;
    };
    outcome.Error = RunError(Dialogs, [&] { outcome.Stopped = RunLines(Move, Lines, hooks) == TLineLoopEnd::Stopped; });
    return outcome;
}

std::string RunError(TScriptedDialogs& dialogs, const std::function<void()>& run)
{
    try {
        run();
    } catch (const Exception& e) {
        dialogs.ExpectMessage(e.Message(), TModalResult::mrOk);
        ShowErrorBox(e.Message());
        return e.Message();
    }
    return {};
}

std::string TEngineHarness::Var(const std::string& name) const
{
    const int i = Calcul.GetVariables().IndexOfName(name);
    return i < 0 ? std::string("<none>") : std::string(Calcul.GetVariables().ValueFromIndex(i));
}
