// Step mode against a fresh run: after any mix of Step and Step Back in the main
// window, the path, the variables and the GOSUB stack are those a fresh run of the
// program has at the same place, and each Step shows the boxes and prints the messages
// that the fresh run shows and prints for that line, while a Step Back shows and prints
// nothing. A place is the executed-line history with the depth of sub-file calls: a
// fresh run passes each place once.

#include "../RunTestSupport.h"

#include "app/run/MessagesForm.h"
#include "engine/EngineErrors.h"
#include "engine/ProgramRunner.h"
#include "engine/RunResults.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// Answers every input box from its prompt and every message box with its first button;
// remembers what it showed.
class TAnsweringDialogs : public IDialogResponder {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType, TMsgDlgButtons buttons) override
    {
        Shown.push_back("box: " + text);
        return (buttons & mbYes) != 0 ? TModalResult::mrYes : TModalResult::mrOk;
    }
    bool InputQuery(const std::string&, const std::string& prompt, std::string& value) override
    {
        Shown.push_back("input: " + prompt);
        value = std::to_string(prompt.size()) + "," + prompt;
        return true;
    }
    std::vector<std::string> Shown;
};

struct TPlace {
    std::vector<int> History;
    int Depth = 1;
    auto operator<=>(const TPlace&) const = default;
};

struct TState {
    std::string Path;
    std::string Variables;
    std::size_t GosubDepth = 0;
    // What the line shown and printed: boxes and input prompts, then messages.
    std::vector<std::string> Said;
    bool operator==(const TState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TState& s)
{
    out << "path:\n" << s.Path << "variables:\n" << s.Variables << "gosub depth " << s.GosubDepth << "\nsaid:";
    for (const std::string& text : s.Said) {
        out << " [" << text << "]";
    }
    return out;
}

TPlace PlaceOf(TMove& move)
{
    return {move.PartFiles().History(), move.PartFiles().Depth()};
}

TState StateOf(TMove& move, TCalcul& calcul)
{
    return {ResultsText(move), calcul.GetVariablesText(), move.GosubStack().size(), {}};
}

class StepBackFreshRunGui : public TRunTest {
protected:
    StepBackFreshRunGui()
    {
        FMessages = &Messages;
        SetSimulate(false);
        // The unimplemented-command question is asked, as it is of a fresh run.
        Window->SuppressAllMessages1->setChecked(false);
    }
    ~StepBackFreshRunGui() override { FMessages = nullptr; }

    // Every place of a fresh run of the main file, with its state.
    std::map<TPlace, TState> FreshRun(const std::string& mainFile)
    {
        TEngineData data;
        TCalcul calcul;
        TFakeShell shell;
        TMove move(data, calcul, shell);
        TProgramRunner runner(move, data, calcul);
        // Before the first line: nothing drawn, no variables.
        std::map<TPlace, TState> places = {{TPlace{}, TState{}}};
        Answers.Shown.clear();
        std::size_t shown = 0;
        std::size_t printed = 0;
        TState before;
        int depth = 1;
        runner.OnLineExecuted = [&](int) {
            const TPlace place = PlaceOf(move);
            // A sub-file's level before its first line: where a step back of that line
            // leaves the run, as the line before the call left it.
            for (; depth < place.Depth; ++depth) {
                TPlace entry = place;
                entry.History.pop_back();
                entry.Depth = depth + 1;
                places.emplace(std::move(entry), before);
            }
            depth = place.Depth;
            TState state = StateOf(move, calcul);
            before = state;
            state.Said.assign(Answers.Shown.begin() + static_cast<std::ptrdiff_t>(shown), Answers.Shown.end());
            state.Said.insert(state.Said.end(), shell.Messages.begin() + static_cast<std::ptrdiff_t>(printed),
                              shell.Messages.end());
            shown = Answers.Shown.size();
            printed = shell.Messages.size();
            EXPECT_TRUE(places.emplace(place, std::move(state)).second) << "a place passed twice";
        };
        try {
            runner.RunFileForResults(mainFile);
        } catch (const ERunError&) {
            // A line that stops the run has no place; the stepped run stops there too.
        }
        Answers.Shown.clear();
        return places;
    }

    // Steps through the program with `presses` ('S' Step, 'B' Step Back; Stop after the
    // last), comparing every wait with the fresh run. Returns the waits checked.
    // The main file calls its sub-file as "sub.sbp".
    int CompareSteppedRun(std::string main, const std::string& sub, const std::string& presses)
    {
        // Files of their own: a page already open for a name would run its old text.
        const std::string number = std::to_string(++FPrograms);
        const std::string mainName = "main" + number + ".sbp";
        for (std::size_t at = main.find("sub.sbp"); at != std::string::npos; at = main.find("sub.sbp", at)) {
            main.replace(at, 3, "sub" + number);
        }
        WriteText("sub" + number + ".sbp", sub);
        WriteText(mainName, main);
        const std::map<TPlace, TState> fresh = FreshRun(Path(mainName));
        Window->DoOpenFile(FilePath(mainName));
        // Nothing of an earlier program: a fresh run starts from an empty list too.
        ResetForResults(*Window->Move, Window->Calcul, std::string());
        Messages.ButtonClearClick();

        std::size_t press = 0;
        std::size_t shown = 0;
        int printed = 0;
        char last = 'S';
        int checked = 0;
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                return;
            }
            const QStringList lines = Messages.Lines();

            TState state = StateOf(*Window->Move, Window->Calcul);
            state.Said.assign(Answers.Shown.begin() + static_cast<std::ptrdiff_t>(shown), Answers.Shown.end());
            for (int i = printed; i < lines.size(); ++i) {
                state.Said.push_back(lines[i].toStdString());
            }
            shown = Answers.Shown.size();
            printed = static_cast<int>(lines.size());
            const auto place = fresh.find(PlaceOf(*Window->Move));
            if (place == fresh.end()) {
                ADD_FAILURE() << "after press " << press << " (" << presses.substr(0, press)
                              << "): no fresh run passes this place\n" << state;
                Window->actStop->Execute();
                return;
            }
            TState expected = place->second;
            if (last == 'B') {
                expected.Said.clear(); // a step back shows and prints nothing
            }
            EXPECT_EQ(state, expected) << "after press " << press << " (" << presses.substr(0, press) << ")";
            ++checked;
            if (press >= presses.size()) {
                Window->actStop->Execute();
                return;
            }
            last = presses[press++];
            (last == 'B' ? Window->actStepBack : Window->actStep)->Execute();
        };
        Window->actStep->Execute();
        AtPass = nullptr;
        return checked;
    }

    TFMessages Messages;
    int FPrograms = 0;
    TAnsweringDialogs Answers;
    TDialogResponderScope AnswersScope{&Answers};
};

// Steps that users reported going wrong, each against a fresh run.
TEST_F(StepBackFreshRunGui, StatementsThatAskPrintOrJumpStepBackAsAFreshRunHasThem)
{
    struct TCase {
        const char* what;
        const char* main;
        const char* sub;
        const char* presses;
    };
    const TCase cases[] = {
        {"INPUT asks and PRINT prints only going forward", "&a = 1\r\nINPUT \"v\" &a\r\nPRINT &a\r\nM2, &a, 1\r\n",
         "", "SSSBBBSSS"},
        {"RETURN's return comes back", "GOSUB S\r\nM2, 1, 1\r\nEND\r\nS:\r\nM2, 2, 2\r\nRETURN\r\n", "",
         "SSBSS"},
        {"GOSUB's call goes again", "GOSUB S\r\nM2, 1, 1\r\nEND\r\nS:\r\nM2, 2, 2\r\nRETURN\r\n", "",
         "SBBSSSS"},
        {"an IF whose condition frees a name", "&a = 1\r\nIF freevar(\"a\") = 1 THEN M2, 3, 3\r\nM2, 1, 1\r\n",
         "", "SSBBSS"},
        {"IF ... THEN RETURN",
         "&n = 0\r\nGOSUB S\r\nEND\r\nS:\r\n&n = &n + 1\r\nIF &n = 1 THEN RETURN\r\nM2, 9, 9\r\n", "",
         "SSSBBSS"},
        {"a move after a shape run by IF starts a path of its own",
         "M2, 1, 1\r\nIF 1 = 1 THEN CC, 2\r\nM2, 5, 5\r\n", "", "SSBS"},
        {"a move after a jog in place and lines of no command word starts a path of its own",
         "M2, 1, 1\r\nJ2, 1, 1\r\n&a = 1\r\n'done\r\nM2, 5, 5\r\nM2, 6, 6\r\n", "", "SSSSSBS"},
        {"PAUSE and an unimplemented command ask only going forward", "'wait here\r\nPAUSE\r\nOPEN\r\nM2, 1, 1\r\n",
         "", "SSSBBBSSS"},
        {"a sub-file that ends early, stepped back whole and from inside", "&a = 1\r\nFP, sub.sbp\r\nPRINT &a &b\r\n",
         "&b = 2\r\nINPUT \"in sub\" &a\r\nEND\r\nM2, 5, 5\r\n", "SSSSBBSSBBSSSSS"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        // Every press is followed by a wait (a top-level END has none): the run goes on as
        // far as the fresh one.
        EXPECT_EQ(CompareSteppedRun(c.main, c.sub, c.presses), static_cast<int>(std::string(c.presses).size()) + 1);
    }
}

TEST_F(StepBackFreshRunGui, RandomStepsAndStepBacksGoWhereAFreshRunGoes)
{
    std::mt19937 rng(62);
    const auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto number = [&] { return std::to_string(below(9)); };
    const std::vector<std::string> names = {"a", "b", "cnt"};
    const auto name = [&] { return names[static_cast<std::size_t>(below(3))]; };
    int prompt = 0;
    const std::vector<std::function<std::string()>> kinds = {
        [&] { return "&" + name() + " = " + number(); },
        [&] { return std::string("&cnt = &cnt + 1"); },
        [&] { return "M2, " + number() + ", &cnt"; },
        [&] { return "J2, 1, " + number(); },
        [&] { return "PRINT \"p\" &cnt &" + name(); },
        [&] { return "INPUT \"q" + std::to_string(++prompt) + "\" &" + name() + ", &" + name(); },
        [&] { return "IF freevar(\"" + name() + "\") = 1 THEN M2, 3, &cnt"; },
        [&] { return "IF &cnt > " + number() + " THEN PRINT \"big\" &cnt"; },
        [&] { return std::string("GOSUB S"); },
        [&] { return std::string("FP, sub.sbp"); },
        [&] { return "ZX"; },
        [&] { return "CC, " + number() + ", " + number(); },
    };
    int waits = 0;
    for (int program = 0; program < 150; ++program) {
        std::string main = "&cnt = 0\r\n";
        for (int k = 3 + below(6); k > 0; --k) {
            main += kinds[static_cast<std::size_t>(below(static_cast<int>(kinds.size())))]() + "\r\n";
        }
        main += "END\r\nS:\r\n&cnt = &cnt + 1\r\nIF &cnt > 3 THEN RETURN\r\nM2, &cnt, 2\r\nRETURN\r\n";
        std::string sub;
        for (int k = 1 + below(4); k > 0; --k) {
            // Everything but the calls, and sometimes an END that leaves the rest out.
            sub += below(5) == 0 ? std::string("END") : kinds[static_cast<std::size_t>(below(8))]();
            sub += "\r\n";
        }
        std::string presses;
        for (int k = 10 + below(20); k > 0; --k) {
            presses += below(3) == 0 ? 'B' : 'S';
        }
        SCOPED_TRACE("program " + std::to_string(program) + ":\n" + main + "sub.sbp:\n" + sub);

        waits += CompareSteppedRun(main, sub, presses);
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_GT(waits, 1500);
}

} // namespace
