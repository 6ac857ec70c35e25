// Step mode against a fresh run: after any mix of Step and Step Back in the main
// window, the path, the variables, every system variable, the VB values, the clamp
// boxes, the GOSUB stack and the run line are those a fresh run of the program has at
// the same place, and each Step shows the boxes, prints the
// messages and writes the log lines that the fresh run shows, prints and writes for
// that line, while a Step Back does none of it. A place is the executed-line history
// with the depth of sub-file calls: a fresh run passes each place once. A Step Back
// that leaves the place as it was was refused, and only then says so in the status bar.

#include "../PlugInTestSupport.h"
#include "../RunTestSupport.h"
#include "../../support/EngineStateText.h"

#include "app/run/MessagesForm.h"
#include "engine/EngineErrors.h"
#include "engine/ProgramRunner.h"
#include "engine/RunResults.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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
    // Every system-variable record, the VB values and the clamp boxes.
    std::string Settings;
    std::size_t GosubDepth = 0;
    // The 1-based line the run line marks: the last line its file ran (0: none yet).
    int RunLine = 0;
    // What the line shown, printed and logged: boxes and input prompts, messages, then
    // the engine's log lines.
    std::vector<std::string> Said;
    bool operator==(const TState&) const = default;
};

// A text of tens of MiB is shown by its start and its length.
std::string Shown(const std::string& text)
{
    constexpr std::size_t Most = 2000;
    return text.size() <= Most ? text : text.substr(0, Most) + "... (" + std::to_string(text.size()) + " characters)\n";
}

std::ostream& operator<<(std::ostream& out, const TState& s)
{
    out << "path:\n" << Shown(s.Path) << "variables:\n" << Shown(s.Variables) << "settings:\n" << Shown(s.Settings)
        << "gosub depth " << s.GosubDepth
        << "\nrun line " << s.RunLine << "\nsaid:";
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
    return {ResultsText(move), calcul.GetVariablesText(), enginestate::SettingsText(move, move.Data().SysVars),
            move.GosubStack().size(), 0, {}};
}

class StepBackFreshRunGui : public TRunTest {
protected:
    StepBackFreshRunGui()
    {
        Dm.OpenLog();
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
        // Before the first line: nothing drawn, no variables, a new data module's settings.
        TState first;
        first.Settings = enginestate::SettingsText(move, data.SysVars);
        std::map<TPlace, TState> places = {{TPlace{}, first}};
        // The settings as each sub-file level starts: its FP line has written its own.
        std::map<int, std::string> levelSettings;
        data.SetOnRunFile([&](const std::string& name) {
            levelSettings[move.PartFiles().Depth()] = enginestate::SettingsText(move, data.SysVars);
            runner.RunFile(name);
        });
        Answers.Shown.clear();
        std::size_t shown = 0;
        std::size_t printed = 0;
        std::size_t logged = 0;
        TState before;
        int depth = 1;
        runner.OnLineExecuted = [&](int index) {
            const TPlace place = PlaceOf(move);
            // A sub-file's level before its first line: where a step back of that line
            // leaves the run, as the line before the call left it, with no line of the
            // sub-file marked.
            for (; depth < place.Depth; ++depth) {
                TPlace entry = place;
                entry.History.pop_back();
                entry.Depth = depth + 1;
                TState start = before;
                start.RunLine = 0;
                start.Settings = levelSettings[depth + 1];
                places.emplace(std::move(entry), std::move(start));
            }
            depth = place.Depth;
            TState state = StateOf(move, calcul);
            state.RunLine = index + 1;
            before = state;
            state.Said.assign(Answers.Shown.begin() + static_cast<std::ptrdiff_t>(shown), Answers.Shown.end());
            state.Said.insert(state.Said.end(), shell.Messages.begin() + static_cast<std::ptrdiff_t>(printed),
                              shell.Messages.end());
            for (; logged < shell.LogLines.size(); ++logged) {
                state.Said.push_back("log " + shell.LogLines[logged].first + ": " + shell.LogLines[logged].second);
            }
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

    // The engine's lines of the window's log written since the last call.
    std::vector<std::string> NewEngineLogLines()
    {
        std::ifstream file(Path("log.txt"), std::ios::binary);
        file.seekg(static_cast<std::streamoff>(FLogged));
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
        FLogged += text.size();
        std::vector<std::string> lines;
        for (const std::string& line : LogTextsOf(text)) {
            if (line.starts_with("info: ") || line.starts_with("error: ")) {
                lines.push_back("log " + line);
            }
        }
        return lines;
    }

    // Steps through the program with `presses` ('S' Step, 'B' Step Back; Stop after the
    // last), comparing every wait with the fresh run. Returns the waits checked.
    // The main file calls its sub-files as "sub.sbp" and "two.sbp". The window's
    // step-back record keeps at most `bound` bytes (0: as it comes).
    int CompareSteppedRun(std::string main, const std::string& sub, const std::string& presses,
                          const std::string& two = {}, std::size_t bound = 0)
    {
        // Files of their own: a page already open for a name would run its old text.
        const std::string number = std::to_string(++FPrograms);
        const std::string mainName = "main" + number + ".sbp";
        for (const std::string name : {"sub", "two"}) {
            const std::string file = name + ".sbp";
            for (std::size_t at = main.find(file); at != std::string::npos; at = main.find(file, at)) {
                main.replace(at, name.size(), name + number);
            }
        }
        WriteText("sub" + number + ".sbp", sub);
        WriteText("two" + number + ".sbp", two);
        WriteText(mainName, main);
        const std::map<TPlace, TState> fresh = FreshRun(Path(mainName));
        Window->DoOpenFile(FilePath(mainName));
        // Nothing of an earlier program: a fresh run starts from an empty list, no VB
        // values and a new data module's system variables too.
        TMove& move = *Window->Move;
        const std::string noVB = "VB, 0, 0, 0, 0, 0, 0, 0";
        move.ExecuteLine(nullptr, noVB, move.PreprocessLine(noVB, true), 0, nullptr, false);
        {
            TEngineData data;
            TCalcul calcul;
            TFakeShell shell;
            const TMove fresh(data, calcul, shell);
            move.Data().SysVars = data.SysVars;
        }
        ResetForResults(move, Window->Calcul, std::string());
        Messages.ButtonClearClick();
        TCalculVariables& variables = Window->Calcul.GetVariables();
        variables.MaxUndoBytes = bound == 0 ? TCalculVariables::DefaultMaxUndoBytes : bound;
        NewEngineLogLines();
        FRefused = 0;

        std::size_t press = 0;
        std::size_t shown = 0;
        int printed = 0;
        char last = 'S';
        int checked = 0;
        TPlace before;
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                return;
            }
            const QStringList lines = Messages.Lines();

            TState state = StateOf(*Window->Move, Window->Calcul);
            state.RunLine = Form(ActiveEditor).RunLine;
            EXPECT_EQ(Window->Scene->DummyClamps->Count(), Window->Move->Clamps().Count())
                << "the scene holds the clamp list's boxes";
            state.Said.assign(Answers.Shown.begin() + static_cast<std::ptrdiff_t>(shown), Answers.Shown.end());
            for (int i = printed; i < lines.size(); ++i) {
                state.Said.push_back(lines[i].toStdString());
            }
            for (std::string& line : NewEngineLogLines()) {
                state.Said.push_back(std::move(line));
            }
            shown = Answers.Shown.size();
            printed = static_cast<int>(lines.size());
            TPlace now = PlaceOf(*Window->Move);
            if (last == 'B') {
                // Refused, and only then, the status bar says why.
                const bool refused = now == before;
                FRefused += refused ? 1 : 0;
                EXPECT_EQ(Window->StatusPanelText(4).startsWith("Step Back: "), refused)
                    << "after press " << press << " (" << presses.substr(0, press) << "): "
                    << Window->StatusPanelText(4).toStdString();
            }
            before = now;
            const auto place = fresh.find(now);
            if (place == fresh.end()) {
                std::string history;
                for (const int line : now.History) {
                    history += " " + std::to_string(line);
                }
                ADD_FAILURE() << "after press " << press << " (" << presses.substr(0, press)
                              << "): no fresh run passes this place, history" << history << " at depth " << now.Depth
                              << "\n" << state;
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
    // The bytes of the log read so far.
    std::size_t FLogged = 0;
    // Step backs that CompareSteppedRun's last program saw refused.
    int FRefused = 0;
    TAnsweringDialogs Answers;
    TDialogResponderScope AnswersScope{&Answers};
};

// Steps that users reported going wrong, each against a fresh run.
TEST_F(StepBackFreshRunGui, StatementsThatAskPrintOrJumpStepBackAsAFreshRunHasThem)
{
    struct TCase {
        std::string what;
        std::string main;
        std::string sub;
        std::string presses;
        std::string two = {};
        // Step backs refused (the status bar says so each time).
        int refused = 0;
        // The step-back record's bound (0: as it comes).
        std::size_t bound = 0;
    };
    // Doubled 26 times (the label line is not run again after the jump to it), the text
    // holds 64 MiB, the bound this case gives the step-back record: what the last passes
    // replaced is kept, what the first ones did is let go.
    const std::string doubling = "&s = \"x\"\r\n&i = 0\r\nL1:\r\n&s = &s | &s\r\n&i = &i + 1\r\nIF &i < 26 THEN GOTO L1\r\nM2, 1, 1\r\n";
    const std::string jogThenMoves = "J2, 1, 1\r\n&a = 1\r\n&b = 2\r\nM2, 5, 5\r\nM2, 6, 6\r\n";
    const std::string moveThenMoves = "J2, 1, 1\r\nM2, 3, 3\r\n&b = 2\r\nM2, 5, 5\r\nM2, 6, 6\r\n";
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
         "&b = 2\r\nINPUT \"in sub\" &a\r\nEND\r\nM2, 5, 5\r\n", "SSSSBBSSBBSSSSS", "", 1},
        {"a step back evaluates nothing: at the record's bound it takes back what the line did, or nothing",
         doubling, "", std::string(81, 'S') + "BBBBB" + "SSSSS" + "BB", "", 0, std::size_t{64} << 20},
        {"an assignment after THEN leaves the IF's word, so the next move goes on with the path",
         "M2, 1, 1\r\nJ2, 1, 1\r\nIF 1 = 1 THEN &a = 5\r\nM2, 5, 5\r\nM2, 6, 6\r\n", "", "SSSBSS"},
        {"a condition that cannot be evaluated (a number that begins with - or . after an operator) is logged "
         "going forward only",
         "&cnt = 0\r\nIF &cnt > -1 THEN &a = 59\r\nIF &cnt < .5 THEN &b = 60\r\nIF &nothere = 1 THEN &c = 1\r\n"
         "M2, &cnt, 1\r\n",
         "", "SSSSBBBBSSSS"},
        {"the run line after a PRINT that follows a RETURN marks the RETURN",
         "GOSUB S\r\nPRINT \"back\"\r\nEND\r\nS:\r\nRETURN\r\n", "", "SSBBSS"},
        {"Step Back at the start of the history and of a sub-file is refused",
         "M2, 1, 1\r\nFP, sub.sbp\r\n", "M2, 2, 2\r\n", "BBSSBBBSBB", "", 4},
        {"a sub-file whose changes outgrow the record cannot be taken back, the lines after it can",
         "FP, sub.sbp\r\n&a = 1\r\n&b = 2\r\nM2, 1, 1\r\n",
         "&t = \"" + std::string(600, 'x') + "\"\r\n&t = \"y\"\r\n&u = 1\r\n&v = 2\r\n", "SSSSSSSBBBBB", "", 2, 500},
        // The same address may hold another file's lines of the same length: what was
        // learnt of one file's lines is forgotten at every level and every run.
        {"the per-line lookup of one sub-file is not another's", "FP, sub.sbp\r\nFP, two.sbp\r\n", jogThenMoves,
         "SSSBSSSSSSSBSS", moveThenMoves},
        {"the per-line lookup of one run is learnt", jogThenMoves, "", "SSSBSS"},
        {"and not the next run's", moveThenMoves, "", "SSSBSS"},
        // Settings a line wrote and clamps it made go back with it.
        {"relative again after a step back over SA", "M2, 2, 2\r\nSR\r\nM2, 1, 1\r\nSA\r\nM2, 5, 5\r\n", "",
         "SSSBBS"},
        {"the speed a line reads is the one before the stepped-back MS",
         "MS, 2, 1\r\n&b = %(71)\r\nMS, 5, 1\r\nM2, &b, 1\r\n", "", "SSSBBBSSS"},
        {"a clamp goes with its line, and comes once when stepped on",
         "M2, 1, 1\r\n[CLAMP] C1, 10, 5, 0, 4, 4, 4\r\nM2, 2, 2\r\nM2, 3, 1\r\n", "", "SSBBSSS"},
        {"settings after THEN and in a sub-file, and FP's own",
         "IF 1 = 1 THEN SR\r\nFP, sub.sbp\r\nIF 1 = 1 THEN VC, 0.5, , , 3, big\r\nMH\r\n",
         "MS, 4, 4\r\nVB, 1, 2, 3, 4, 5, 6, 7\r\n[CLAMP] S, 1, 1, 0, 1, 1, 1\r\nVU, , , , , 0.5\r\nCC, 2\r\n",
         "SSSSSSBSSSBBSSSSSSBSS"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        // Every press is followed by a wait (a top-level END has none): the run goes on as
        // far as the fresh one.
        EXPECT_EQ(CompareSteppedRun(c.main, c.sub, c.presses, c.two, c.bound),
                  static_cast<int>(c.presses.size()) + 1);
        EXPECT_EQ(FRefused, c.refused);
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
    std::vector<std::function<std::string()>> kinds = {
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
        // Every command that writes system variables, with arguments, and clamps.
        [&] { return std::string(below(2) == 0 ? "SA" : "SR"); },
        [&] { return "MS, " + number() + ", " + number(); },
        [&] { return "JS, " + number() + ", " + number() + ", " + number(); },
        [&] { return "VS, " + number() + ", " + number() + ", , , " + number() + ", " + number(); },
        [&] { return "VC, 0." + number() + ", , , " + number() + ", tool" + number() + ", " + number(); },
        [&] { return "VU, " + number() + ", , , , 0." + std::to_string(2 + below(7)) + ", , , , " + number(); },
        [&] {
            return "VB, " + number() + ", " + number() + ", , , " + number() + ", " + number() + ", " + number();
        },
        [&] { return "VL, " + number() + ", " + number() + ", , , , , , , , " + number(); },
        [&] { return "SF, " + number(); },
        [&] { return "VA, , , , , , " + number() + ", " + number(); },
        [&] { return "[CLAMP] C" + number() + ", " + number() + ", " + number() + ", 0, 1, 1, 1"; },
        [&] { return std::string(below(2) == 0 ? "MH" : "M2, %(71), %(21)"); },
        [&] { return std::string("&cnt = &cnt + %(-2) + %(76)"); },
    };
    constexpr int CallKind = 9;
    // Any line but a call from the sub-file to itself.
    bool inSub = false;
    std::function<std::string()> anyKind = [&] {
        for (;;) {
            const int k = below(static_cast<int>(kinds.size()));
            if (!inSub || k != CallKind) {
                return kinds[static_cast<std::size_t>(k)]();
            }
        }
    };
    // IF ... THEN with any kind of statement, its condition holding, not holding, or
    // failing on a number after an operator; a jog to where the tool is, after which a
    // move may go on with the cut path; and a text that doubles, so that the record's
    // bound is met (both twice as often as the rest).
    const std::vector<std::string> conditions = {"1 = 1", "&cnt < 9", "1 = 0", "&cnt > -1", "&cnt < .5"};
    const auto ifKind = [&] {
        return "IF " + conditions[static_cast<std::size_t>(below(static_cast<int>(conditions.size())))] + " THEN "
            + anyKind();
    };
    kinds.push_back(ifKind);
    kinds.push_back(ifKind);
    kinds.push_back([&] { return std::string("J2, %(1), %(2)"); });
    kinds.push_back([&] { return std::string("&s = &s | &s"); });
    kinds.push_back(kinds.back());
    // And an IF right after a move and a jog in place, a move after it.
    kinds.push_back([&] { return "M2, " + number() + ", 1\r\nJ2, %(1), %(2)\r\n" + ifKind() + "\r\nM2, 1, 2"; });
    const std::string subroutine = "END\r\nS:\r\n&cnt = &cnt + 1\r\nIF &cnt > 3 THEN RETURN\r\nM2, &cnt, 2\r\nRETURN\r\n";
    int waits = 0;
    int refused = 0;
    for (int program = 0; program < 800; ++program) {
        // The doubled text soon outgrows a small record.
        std::string main = "&cnt = 0\r\n&s = \"" + std::string(300, 'x') + "\"\r\n";
        for (int k = 3 + below(6); k > 0; --k) {
            main += anyKind() + "\r\n";
        }
        main += subroutine;
        std::string sub;
        inSub = true;
        for (int k = 1 + below(4); k > 0; --k) {
            // Sometimes an END that leaves the rest out.
            sub += below(5) == 0 ? std::string("END") : anyKind();
            sub += "\r\n";
        }
        sub += subroutine;
        inSub = false;
        std::string presses;
        for (int k = 10 + below(20); k > 0; --k) {
            presses += below(3) == 0 ? 'B' : 'S';
        }
        // A record of a few hundred bytes is soon full.
        const std::size_t bound = below(3) == 0 ? static_cast<std::size_t>(200 + below(1000)) : 0;
        SCOPED_TRACE("program " + std::to_string(program) + ", bound " + std::to_string(bound) + ":\n" + main
                     + "sub.sbp:\n" + sub);

        waits += CompareSteppedRun(main, sub, presses, {}, bound);
        if (program % 200 == 199) {
            // Each program opens pages of its own; the window holds some 700.
            Window->actFileCloseAll->Execute();
        }
        refused += FRefused;
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_GT(waits, 8000);
    EXPECT_GT(refused, 200) << "the start of the history and the record's end are met";
}

} // namespace
