// The run control as a user drives it: Run, breakpoints, Step, Step Back, Stop, END,
// sub-files, the engine's errors and boxes, and what may happen between two lines.

#include "../RunTestSupport.h"

#include "app/run/MessagesForm.h"
#include "engine/ProgramRunner.h"
#include "engine/RunResults.h"
#include "platform/core/services/FreedMemory.h"

#include "../../support/NonRegularFiles.h"
#include "../../support/QtTestApp.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>
#include <tuple>

namespace {

class RunControlGui : public TRunTest {};

const std::string FiveMoves = "M2,1,1\r\nM2,2,2\r\nM2,3,3\r\nM2,4,4\r\nM2,5,5\r\n";

std::string Nodes(std::initializer_list<int> values)
{
    std::string text;
    for (int v : values) {
        text += std::to_string(v) + ".00000," + std::to_string(v) + ".00000,0.00000\r\n";
    }
    return text;
}

TEST_F(RunControlGui, ARunAnimatesTheBitToEveryMoveAndEndsIdle)
{
    OpenProgram("five.sbp", FiveMoves);
    int movingPasses = 0;
    AtPass = [&] { movingPasses += Window->Move->Moving ? 1 : 0; };
    Run();
    EXPECT_EQ(CutText(), Nodes({0, 1, 2, 3, 4, 5}));
    EXPECT_GE(movingPasses, 15) << "the bit glides, at most 0.25 a tick";
    const TAffineVector bit = BitPosition();
    EXPECT_EQ(bit.X, 5.0f);
    EXPECT_EQ(bit.Y, 5.0f);
    EXPECT_FALSE(Window->Running);
    EXPECT_TRUE(Window->Paused);
    EXPECT_FALSE(Window->Scene->GLCadencer1.Enabled());
    EXPECT_FALSE(Window->RunOnStack());
    // A second run keeps the paths and the position of the first.
    Run();
    EXPECT_EQ(CutText(), Nodes({0, 1, 2, 3, 4, 5}) + Nodes({1, 2, 3, 4, 5}));
}

TEST_F(RunControlGui, ABreakpointStopsAfterItsLineAndStepRunsTheNext)
{
    const auto page = OpenProgram("five.sbp", FiveMoves);
    Code(page).SetCaretXY({1, 3});
    Window->actToggleBP->Execute();
    std::vector<std::string> seen;
    AtPass = [&] {
        if (Window->StepWaiting()) {
            seen.push_back(CutText());
            if (seen.size() < 3) {
                Window->actStep->Execute();
            } else {
                Window->actRun->Execute();
            }
        }
    };
    Run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], Nodes({0, 1, 2, 3}));
    EXPECT_EQ(seen[1], Nodes({0, 1, 2, 3, 4}));
    EXPECT_EQ(seen[2], Nodes({0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(Window->StepMode);
}

TEST_F(RunControlGui, StepWithNoRunStartsOneThatWaitsAfterItsFirstLine)
{
    OpenProgram("five.sbp", FiveMoves);
    std::string atFirstWait;
    AtPass = [&] {
        if (Window->StepWaiting() && atFirstWait.empty()) {
            atFirstWait = CutText();
            // Run while stepping goes on to the end without stopping again.
            Window->actRun->Execute();
        }
    };
    Window->actStep->Execute();
    EXPECT_EQ(atFirstWait, Nodes({0, 1}));
    EXPECT_EQ(CutText(), Nodes({0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(Window->StepMode);
}

TEST_F(RunControlGui, StepBackUndoesTheLastLineAndStepDoesItAgain)
{
    OpenProgram("five.sbp", FiveMoves);
    std::vector<std::string> seen;
    int presses = 0;
    AtPass = [&] {
        if (!Window->StepWaiting()) {
            return;
        }
        seen.push_back(CutText());
        // Three Steps to line 3, two Step Backs, then Stop.
        switch (presses++) {
        case 0:
        case 1:
            Window->actStep->Execute();
            break;
        case 2:
        case 3:
            Window->actStepBack->Execute();
            break;
        case 4:
            Window->actStep->Execute();
            break;
        default:
            Window->actStop->Execute();
        }
    };
    Window->actStep->Execute();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[2], Nodes({0, 1, 2, 3}));
    EXPECT_EQ(seen[3], Nodes({0, 1, 2}));
    EXPECT_EQ(seen[4], Nodes({0, 1}));
    EXPECT_EQ(seen[5], Nodes({0, 1, 2})) << "the undone line runs again";
    EXPECT_FALSE(Window->Running);
}

// One Step Back undoes a whole FP call and the next one takes the main file's line
// before it; Step after it calls the sub-file again. The run line marks the last line
// in effect on the page that is shown.
TEST_F(RunControlGui, StepBackOverAnFPLineUndoesTheWholeCall)
{
    TFMessages messages;
    FMessages = &messages;
    WriteText("sub.sbp", "M2,1,1\r\nM2,2,2\r\nM2,3,3\r\n");
    OpenProgram("main.sbp", "M2,5,5\r\nFP, sub.sbp\r\nPRINT \"a\"\r\nPRINT \"b\"\r\n");
    struct TWait {
        std::string Page;
        int RunLine;
        std::string Cut;
    };
    std::vector<TWait> seen;
    // Step through the call, back twice, Step into the call again and out, back once.
    const char presses[] = "SSSSBBSSSSSBX";
    AtPass = [&] {
        if (!Window->StepWaiting()) {
            return;
        }
        const auto page = ActiveEditor;
        seen.push_back({QFileInfo(page->GetFileName()).fileName().toStdString(), Form(page).RunLine, CutText()});
        switch (presses[std::min(seen.size() - 1, sizeof presses - 2)]) {
        case 'S': Window->actStep->Execute(); break;
        case 'B': Window->actStepBack->Execute(); break;
        default: Window->actStop->Execute();
        }
    };
    Window->actStep->Execute();
    FMessages = nullptr;
    const std::string five = "5.00000,5.00000,0.00000\r\n";
    const std::string call = five + Nodes({1, 2, 3});
    const std::vector<std::tuple<std::string, int, std::string>> expected = {
        {"main.sbp", 1, Nodes({0}) + five},
        {"sub.sbp", 1, Nodes({0}) + five + Nodes({1})},
        {"sub.sbp", 2, Nodes({0}) + five + Nodes({1, 2})},
        {"sub.sbp", 3, Nodes({0}) + call},
        {"main.sbp", 2, Nodes({0}) + call},
        {"main.sbp", 1, Nodes({0}) + five}, // the whole call undone
        {"main.sbp", 0, ""},                // then the line before it
        {"main.sbp", 1, Nodes({0}) + five},
        {"sub.sbp", 1, Nodes({0}) + five + Nodes({1})},
        {"sub.sbp", 2, Nodes({0}) + five + Nodes({1, 2})},
        {"sub.sbp", 3, Nodes({0}) + call},
        {"main.sbp", 2, Nodes({0}) + call},
        {"main.sbp", 1, Nodes({0}) + five},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE("wait " + std::to_string(i));
        EXPECT_EQ(seen[i].Page, std::get<0>(expected[i]));
        EXPECT_EQ(seen[i].RunLine, std::get<1>(expected[i]));
        EXPECT_EQ(seen[i].Cut, std::get<2>(expected[i]));
    }
    EXPECT_TRUE(messages.Lines().isEmpty()) << "no PRINT line ran";
    EXPECT_FALSE(Window->Running);
}

// A Step Back from the wait after a sub-file's END takes END back, then the sub-file's
// lines one by one, as without END, down to its first line; Step runs them again and
// returns to the caller.
TEST_F(RunControlGui, StepBackFromASubFilesEndWalksBackItsLines)
{
    using TWait = std::tuple<std::string, int, std::string>; // page, run line, path
    const std::string moved = Nodes({0}) + "2.00000,3.00000,0.00000\r\n";
    const std::string end = moved + Nodes({3});
    const struct {
        const char* What;
        std::string Sub;
        std::string Presses; // at each wait: S Step, B Step Back; Stop after the last
        std::vector<TWait> Waits;
    } cases[] = {
        {"with END", "&q = 3\r\nM2, 2, 3\r\nEND\r\n", "SSSBBBBSSSSS",
         {{"fpend.sbp", 1, ""},
          {"subend.sbp", 1, ""},
          {"subend.sbp", 2, moved},
          {"subend.sbp", 3, moved},
          {"subend.sbp", 2, moved}, // END taken back
          {"subend.sbp", 1, ""},
          {"subend.sbp", 0, ""},
          {"subend.sbp", 0, ""}, // refused: the sub-file's first line
          {"subend.sbp", 1, ""},
          {"subend.sbp", 2, moved},
          {"subend.sbp", 3, moved},
          {"fpend.sbp", 2, moved},
          {"fpend.sbp", 3, end}}},
        {"without END", "&q = 3\r\nM2, 2, 3\r\n", "SSBBBSSSS",
         {{"fpend.sbp", 1, ""},
          {"subend.sbp", 1, ""},
          {"subend.sbp", 2, moved},
          {"subend.sbp", 1, ""},
          {"subend.sbp", 0, ""},
          {"subend.sbp", 0, ""},
          {"subend.sbp", 1, ""},
          {"subend.sbp", 2, moved},
          {"fpend.sbp", 2, moved},
          {"fpend.sbp", 3, end}}},
    };
    SetSimulate(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ResetForResults(*Window->Move, Window->Calcul, std::string());
        WriteText("subend.sbp", c.Sub);
        OpenProgram("fpend.sbp", "&a = 1\r\nFP,subend.sbp\r\nM2, 3, 3\r\n");
        std::vector<TWait> seen;
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                return;
            }
            const auto page = ActiveEditor;
            seen.emplace_back(QFileInfo(page->GetFileName()).fileName().toStdString(), Form(page).RunLine, CutText());
            if (seen.size() > c.Presses.size()) {
                Window->actStop->Execute();
                return;
            }
            (c.Presses[seen.size() - 1] == 'B' ? Window->actStepBack : Window->actStep)->Execute();
        };
        Window->actStep->Execute();
        EXPECT_EQ(seen, c.Waits);
        EXPECT_FALSE(Window->Running);
        // The sub-file's page is left with its text as it was.
        Process();
    }
}

// A breakpoint on a label stops the run whenever execution reaches it, by a jump too
// (the jump goes on after the label, which never runs); the run line marks the label.
// Breakpoints on the jumping lines, on GOSUB and on RETURN stop as they always did.
TEST_F(RunControlGui, ABreakpointOnALabelStopsWheneverExecutionReachesIt)
{
    const std::string loop = "&i = 0\r\nLOOP:\r\n&i = &i + 1\r\nM2, &i, 1\r\nIF &i < 3 THEN GOTO LOOP\r\n"
                             "GOTO TGT\r\nM2, 99, 99\r\nTGT:\r\nM2, 20, 20\r\nEND\r\n";
    const std::string call = "GOSUB S\r\nM2, 1, 1\r\nEND\r\nS:\r\nM2, 2, 2\r\nRETURN\r\n";
    using TStop = std::pair<int, int>; // the run line, the path's nodes
    const struct {
        const char* What;
        std::string Program;
        int Breakpoint; // 1-based
        std::string Presses; // at each stop: S Step; Run (F5) after the last
        std::vector<TStop> Stops;
    } cases[] = {
        {"a label reached by GOTO", loop, 8, "", {{8, 4}}},
        {"a label reached by GOTO, then Step", loop, 8, "S", {{8, 4}, {9, 5}}},
        {"a label reached in turn and by IF ... THEN GOTO", loop, 2, "", {{2, 0}, {2, 2}, {2, 3}}},
        {"the IF ... THEN GOTO line", loop, 5, "", {{5, 2}, {5, 3}, {5, 4}}},
        {"the GOTO line", loop, 6, "", {{6, 4}}},
        {"a label reached by GOSUB", call, 4, "", {{4, 0}}},
        {"the GOSUB line, which RETURN does not reach again", call, 1, "", {{1, 0}}},
        {"RETURN", call, 6, "", {{6, 2}}},
    };
    for (const bool simulate : {false, true}) {
        SetSimulate(simulate);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.What) + (simulate ? ", Simulate on" : ", Simulate off"));
            Window->Move->Reset();
            const auto page = OpenProgram(std::string("label ") + c.What + ".sbp", c.Program);
            page->ClearBreakpoints();
            Code(page).SetCaretXY({1, c.Breakpoint});
            Window->actToggleBP->Execute();
            std::vector<TStop> stops;
            AtPass = [&] {
                if (!Window->StepWaiting()) {
                    return;
                }
                const std::string path = CutText();
                stops.emplace_back(Form(page).RunLine, static_cast<int>(std::count(path.begin(), path.end(), '\n')));
                (stops.size() <= c.Presses.size() ? Window->actStep : Window->actRun)->Execute();
            };
            Run();
            EXPECT_EQ(stops, c.Stops);
            EXPECT_FALSE(Window->Running);
            EXPECT_EQ(CutText().find("99.00000"), std::string::npos);
        }
    }
}

// The colour of the run line shows only while stepping: F5 from a breakpoint takes it
// off the screen as the lines after it run (with Simulate on the window paints meanwhile).
TEST_F(RunControlGui, RunFromABreakpointTakesTheRunLinesColourOffTheScreen)
{
    Window->resize(800, 600);
    Window->show();
    const auto page = OpenProgram("five.sbp", FiveMoves);
    Code(page).SetCaretXY({1, 2});
    Window->actToggleBP->Execute();
    SetSimulate(true);
    // What the screen shows on the breakpoint's line, right of its text.
    const auto shown = [&] {
        QWidget& view = *Form(page).CodeEditorWidget().viewport();
        const TCodeEdit& code = Code(page);
        const QPoint p = view.mapToGlobal(
            QPoint(view.width() - 8, (2 - code.TopLine()) * code.LineHeight() + code.LineHeight() / 2));
        return QGuiApplication::primaryScreen()->grabWindow(0, p.x(), p.y(), 1, 1).toImage().pixelColor(0, 0);
    };
    const QColor runLine(0, 0, 255);
    const QColor breakpoint(255, 0, 0);
    QColor stepping, running;
    int waited = 0;
    AtPass = [&] {
        if (Window->StepMode && Window->StepWaiting()) {
            // The wait paints the run line; then F5.
            if (shown() == runLine || ++waited > 200) {
                stepping = shown();
                Window->actRun->Execute();
            }
        } else if (!Window->StepMode && stepping.isValid() && !running.isValid() &&
                   CutText() == Nodes({0, 1, 2, 3, 4})) {
            running = shown();
        }
    };
    Run();
    EXPECT_EQ(stepping, runLine);
    EXPECT_EQ(running, breakpoint) << "the line after the breakpoint's runs";
    EXPECT_EQ(Form(page).RunLine, -1);
}

TEST_F(RunControlGui, StepBackWithAnEmptyHistoryIsIgnored)
{
    OpenProgram("two.sbp", "M2,1,1\r\nM2,2,2\r\n");
    int presses = 0;
    AtPass = [&] {
        if (!Window->StepWaiting()) {
            return;
        }
        switch (presses++) {
        case 0:
        case 1:
        case 2:
            // One line to undo, then nothing: the extra requests change nothing.
            Window->actStepBack->Execute();
            break;
        case 3:
            EXPECT_EQ(CutText(), "");
            Window->actRun->Execute();
            break;
        default:
            break;
        }
    };
    Window->actStep->Execute();
    EXPECT_EQ(CutText(), Nodes({0, 1, 2}));
}

// Step and Step Back pressed while a step is still going (before the wait after its line,
// or while the bit glides) each count, in the order pressed, a Step Back that finds
// nothing to undo too, and Stop drops those not taken yet. The first press releases the
// wait after the jog to the origin; the path at the next wait tells how many steps ran,
// and no refusal of a wait that a press ended at once stays in the status bar.
TEST_F(RunControlGui, StepPressesWhileAStepGoesEachCount)
{
    const struct {
        const char* Presses; // S Step, B Step Back, X Stop
        bool WhileGliding;   // the presses after the first come while the bit glides
        std::string AtNextWait;
        std::string Path;
    } cases[] = {
        {"SSS", false, Nodes({0, 1, 2, 3}), Nodes({0, 1, 2, 3})},
        {"SBS", false, Nodes({0, 1}), Nodes({0, 1})},
        {"SSBS", false, Nodes({0, 1, 2}), Nodes({0, 1, 2})},
        // The jog undone, then a refusal: nothing before it ran.
        {"BBSS", false, Nodes({0, 1}), Nodes({0, 1})},
        {"SSS", true, Nodes({0, 1, 2, 3}), Nodes({0, 1, 2, 3})},
        {"SSB", true, Nodes({0, 1}), Nodes({0, 1})},
        {"SSX", false, "no wait", ""},
        {"SSX", true, "no wait", ""},
    };
    for (const auto& c : cases) {
        const std::string label = std::string(c.Presses) + (c.WhileGliding ? " while gliding" : " at once");
        Window->Move->Reset();
        OpenProgram("five.sbp", "J2,0,0\r\n" + FiveMoves);
        SetSimulate(c.WhileGliding);
        const std::string presses = c.Presses;
        std::size_t pressed = 0;
        std::string atNextWait = "no wait";
        QString noteAtNextWait;
        const auto press = [&] {
            switch (presses[pressed++]) {
            case 'S': Window->actStep->Execute(); break;
            case 'B': Window->actStepBack->Execute(); break;
            default: Window->actStop->Execute(); break;
            }
        };
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                if (c.WhileGliding && pressed > 0 && pressed < presses.size()) {
                    press();
                }
            } else if (pressed == 0) {
                // Far from the jog's end: the presses after the first come during its glide.
                Window->Scene->Bit->Position().SetPoint(50, 50, 0);
                press();
                while (!c.WhileGliding && pressed < presses.size()) {
                    press();
                }
            } else {
                atNextWait = CutText();
                noteAtNextWait = Window->StatusPanelText(4);
                Window->actStop->Execute();
            }
        };
        Window->actStep->Execute();
        EXPECT_EQ(pressed, presses.size()) << label;
        EXPECT_EQ(atNextWait, c.AtNextWait) << label;
        EXPECT_FALSE(noteAtNextWait.startsWith("Step Back:")) << label << ": " << noteAtNextWait.toStdString();
        EXPECT_EQ(CutText(), c.Path) << label;
        EXPECT_FALSE(Window->Running) << label;
    }
}

// Step presses that came while a step still went and were not taken yet are dropped by
// Run (F5) from step mode and by the run's natural end: they neither release the next
// breakpoint's wait nor the first wait of the next run.
TEST_F(RunControlGui, RunAndTheRunsEndDropTheStepPressesNotTaken)
{
    const struct {
        const char* What;
        std::string Program;
        int Breakpoint; // 1-based; 0 for none
        // Run pressed after the queued presses; else the run ends by itself after them
        // and the next run starts with Step.
        bool RunAfterThem;
        std::string AtNextWait;
    } cases[] = {
        {"Run from step mode", FiveMoves, 4, true, Nodes({0, 1, 2, 3, 4})},
        {"the natural end", "M2,1,1\r\n", 0, false, Nodes({0, 1}) + Nodes({1})},
    };
    SetSimulate(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ResetForResults(*Window->Move, Window->Calcul, std::string());
        const auto page = OpenProgram(std::string("queued ") + c.What + ".sbp", c.Program);
        if (c.Breakpoint > 0) {
            Code(page).SetCaretXY({1, c.Breakpoint});
            Window->actToggleBP->Execute();
        }
        enum { AtFirstWait, Gliding, Queued } phase = AtFirstWait;
        std::string atNextWait = "no wait";
        AtPass = [&] {
            if (phase == AtFirstWait && Window->StepWaiting()) {
                // Far from the target: the presses after this one come during the glide.
                Window->Scene->Bit->Position().SetPoint(50, 50, 0);
                Window->actStep->Execute();
                phase = Gliding;
            } else if (phase == Gliding && !Window->StepWaiting() && Window->Move->Moving) {
                Window->actStep->Execute();
                Window->actStep->Execute();
                if (c.RunAfterThem) {
                    Window->actRun->Execute();
                }
                phase = Queued;
            } else if (phase == Queued && Window->StepWaiting()) {
                atNextWait = CutText();
                Window->actStop->Execute();
            }
        };
        Window->actStep->Execute();
        EXPECT_EQ(phase, Queued);
        if (!c.RunAfterThem) {
            EXPECT_FALSE(Window->Running);
            Window->actStep->Execute();
        }
        EXPECT_EQ(atNextWait, c.AtNextWait);
        EXPECT_FALSE(Window->Running);
    }
}

// A Step Back that finds nothing to undo says why in the status bar, for that wait only,
// and leaves the run where it was, the run line too.
TEST_F(RunControlGui, ARefusedStepBackSaysWhyInTheStatusBar)
{
    struct TCase {
        const char* what;
        std::string program;
        std::size_t bound;
        std::string presses;
        std::vector<int> runLines; // at each wait
        std::vector<int> refusals; // the waits (from 0) that follow a refused Step Back
        QString note;
    };
    // The third line replaces a text larger than the bound: what it changed cannot be
    // kept, and step back stops after it.
    const std::string large = "&s = \"x\"\r\n&a = 1\r\n&s = \"" + std::string(3000, 'x') + "\"\r\n&s = \"y\"\r\nM2,1,1\r\n";
    const TCase cases[] = {
        {"at the start of the history", "M2,1,1\r\nM2,2,2\r\n", TCalculVariables::DefaultMaxUndoBytes, "BBBS",
         {1, 0, 0, 0, 1}, {2, 3}, "Step Back: no earlier line of this file has run."},
        {"where the record ends", large, 2048, "SSSSBBBS", {1, 2, 3, 4, 5, 4, 4, 4, 5}, {6, 7},
         "Step Back: earlier lines are no longer kept (the step-back record holds 2 KB of changes)."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenProgram(std::string("refused ") + c.what + ".sbp", c.program);
        Window->Calcul.GetVariables().MaxUndoBytes = c.bound;
        std::vector<int> runLines;
        std::vector<QString> notes;
        std::vector<std::string> paths;
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                return;
            }
            runLines.push_back(Form(ActiveEditor).RunLine);
            notes.push_back(Window->StatusPanelText(4));
            paths.push_back(CutText());
            const std::size_t press = runLines.size() - 1;
            if (press >= c.presses.size()) {
                Window->actStop->Execute();
                return;
            }
            (c.presses[press] == 'B' ? Window->actStepBack : Window->actStep)->Execute();
        };
        Window->actStep->Execute();
        EXPECT_EQ(runLines, c.runLines);
        ASSERT_EQ(notes.size(), c.runLines.size());
        for (std::size_t wait = 0; wait < notes.size(); ++wait) {
            const bool refused = std::find(c.refusals.begin(), c.refusals.end(), wait) != c.refusals.end();
            EXPECT_EQ(notes[wait] == c.note, refused) << "wait " << wait << ": " << notes[wait].toStdString();
            if (refused) {
                EXPECT_EQ(paths[wait], paths[wait - 1]) << "nothing was undone";
            }
        }
    }
}

// What a run keeps for step back goes when the run ends, however it ends.
TEST_F(RunControlGui, TheStepBackRecordGoesWhenTheRunEnds)
{
    SetSimulate(false);
    const TCalculVariables& variables = Window->Calcul.GetVariables();
    struct TCase {
        const char* what;
        const char* program;
        bool stop; // Stop while stepping, else Run on to the end
    };
    const TCase cases[] = {
        {"past its last line", "&a = 1\r\nGOSUB S\r\n&a = &a + 1\r\nS:\r\nRETURN\r\n", false},
        {"at END", "&a = 1\r\nGOSUB S\r\n&a = &a + 1\r\nEND\r\nS:\r\nRETURN\r\n", false},
        {"on Stop", "&a = 1\r\nGOSUB S\r\n&a = &a + 1\r\nS:\r\nRETURN\r\n", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenProgram(std::string("kept-") + c.what + ".sbp", c.program);
        int waits = 0;
        std::size_t whileStepping = 0;
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                return;
            }
            if (++waits < 3) {
                Window->actStep->Execute();
                return;
            }
            whileStepping = variables.UndoBytes();
            (c.stop ? Window->actStop : Window->actRun)->Execute();
        };
        Window->actStep->Execute();
        EXPECT_GT(whileStepping, 0u);
        EXPECT_FALSE(Window->Running);
        EXPECT_EQ(variables.UndoBytes(), 0u);
    }
}

TEST_F(RunControlGui, EndStopsTheTopLevelButOnlyItsOwnSubFile)
{
    WriteText("sub.sbp", "M2,2,2\r\nEND\r\nM2,8,8\r\n");
    OpenProgram("main.sbp", "M2,1,1\r\nFP, sub.sbp\r\nM2,3,3\r\nEND\r\nM2,9,9\r\n");
    Run();
    EXPECT_EQ(CutText(), Nodes({0, 1, 2, 3}));
    EXPECT_FALSE(Window->Running);
    // The sub-file got a page of its own; the caller's page is active again.
    EXPECT_EQ(PageCount(), 2);
    EXPECT_EQ(ActiveEditor->GetFileName(), FilePath("main.sbp"));
}

TEST_F(RunControlGui, AMissingSubFileStopsTheRunWithItsName)
{
    OpenProgram("main.sbp", "M2,1,1\r\nFP, missing.sbp\r\nM2,3,3\r\n");
    Dialogs.ExpectMessage("Cannot find file: " + Path("missing.sbp"), TModalResult::mrOk);
    Run();
    EXPECT_EQ(CutText(), Nodes({0, 1}));
    EXPECT_FALSE(Window->Running);
    EXPECT_FALSE(Window->RunOnStack());
}

// A sub-file that is there but is no regular file is not read (a pipe would hold the
// window until another program writes into it): the box says what it is.
TEST_F(RunControlGui, ASubFileThatIsNoRegularFileStopsTheRunSayingWhatItIs)
{
    const testsupport::TNonRegularFiles targets(folder);
    ASSERT_TRUE(targets.Made());
    std::filesystem::create_directory(folder / "dir.sbp");
    std::vector<std::pair<std::string, std::string>> cases = {
        {"dir.sbp", "Not a regular file: \"" + Path("dir.sbp") + "\" is a directory."}};
    for (const auto& target : targets.Entries) {
        cases.emplace_back(target.Name, targets.Refusal(target));
    }
    int pages = 0;
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        OpenProgram("main-" + name, "J2,0,0\r\nM2,1,1\r\nFP, " + name + "\r\nM2,3,3\r\n");
        Dialogs.ExpectMessage(message, TModalResult::mrOk);
        Run();
        EXPECT_EQ(CutText(), Nodes({0, 1}));
        EXPECT_FALSE(Window->Running);
        EXPECT_EQ(PageCount(), ++pages) << "no page for the sub-file";
        Window->BitBtn11Click(); // Clear
    }
    EXPECT_FALSE(targets.Waited());
}

// The Clear button removes the paths and, from a preview of LargePreviewBytes on, hands
// the memory they held back to the system: the allocator kept it otherwise (a gigabyte
// after a drilling job).
TEST_F(RunControlGui, ClearHandsTheMemoryOfALargePreviewBack)
{
    OpenProgram("five.sbp", FiveMoves);
    // The threshold, from the preview's own size.
    const struct {
        const char* What;
        std::function<std::size_t(std::size_t)> Large;
        int HandedBack;
    } cases[] = {
        {"a preview of the threshold's size", [](std::size_t preview) { return preview; }, 1},
        {"one far past it", [](std::size_t) { return std::size_t{1}; }, 1},
        {"one a byte below it", [](std::size_t preview) { return preview + 1; }, 0},
        {"the default threshold", [](std::size_t) { return TMove::DefaultLargePreviewBytes; }, 0},
    };
    QPushButton& clear = *Window->PanelGL->BitBtn11;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Run();
        ASSERT_FALSE(CutText().empty());
        Window->Move->LargePreviewBytes = c.Large(Window->Move->PreviewBytes());
        const std::uint64_t before = FreedMemoryReturns();
        clear.click();
        EXPECT_EQ(FreedMemoryReturns() - before, static_cast<std::uint64_t>(c.HandedBack));
        EXPECT_EQ(CutText(), "");
    }
}

TEST_F(RunControlGui, EngineErrorsEndTheRunThroughItsClosingSteps)
{
    // A program that calls itself goes past the sub-file limit.
    WriteText("self.sbp", "M2,1,1\r\nFP, self.sbp\r\n");
    const auto page = OpenProgram("main.sbp", "FP, self.sbp\r\nM2,9,9\r\n");
    Dialogs.ExpectMessage("Sub-files nested deeper than 32 levels (line: 2)", TModalResult::mrOk);
    Run();
    EXPECT_FALSE(Window->Running);
    EXPECT_TRUE(Window->Paused);
    EXPECT_FALSE(Window->Scene->GLCadencer1.Enabled());
    EXPECT_EQ(CutText().find("9.00000"), std::string::npos);
}

TEST_F(RunControlGui, PauseAndTheUnimplementedCommandQuestion)
{
    Window->SuppressAllMessages1->setChecked(false);
    OpenProgram("ask.sbp", "M2,1,1\r\nPAUSE\r\nM2,2,2\r\nON\r\nM2,3,3\r\n");
    Dialogs.ExpectMessage("Continue?", TModalResult::mrOk);
    Dialogs.ExpectMessage("Command: \"ON\" (line: 4) has not been implemented yet.  Continue?", TModalResult::mrNo);
    Run();
    EXPECT_EQ(CutText(), Nodes({0, 1, 2}));
    EXPECT_FALSE(Window->Running);

    // Suppressed, only PAUSE still asks, and the run goes to the end.
    Window->SuppressAllMessages1->setChecked(true);
    Window->Move->Reset();
    Dialogs.ExpectMessage("Continue?", TModalResult::mrOk);
    Run();
    EXPECT_EQ(CutText(), Nodes({2, 1, 2, 3}));
}

TEST_F(RunControlGui, ATimedPauseWaitsOnTheClockAndStopEndsItEarly)
{
    OpenProgram("wait.sbp", "M2,1,1\r\nPAUSE 5\r\nM2,2,2\r\n");
    SetSimulate(false);
    std::int64_t pausedFrom = -1;
    AtPass = [&] {
        if (pausedFrom < 0) {
            pausedFrom = Clock.Ticks;
        }
    };
    Run();
    EXPECT_GE(Clock.Ticks - pausedFrom, 5000 - 20);
    EXPECT_EQ(CutText(), Nodes({0, 1, 2}));

    Passes = 0;
    AtPass = [&] {
        if (Passes == 3) {
            Window->actStop->Execute();
        }
    };
    Run();
    EXPECT_LT(Passes, 10) << "Stop ends the wait";
    EXPECT_EQ(CutText(), Nodes({0, 1, 2}) + Nodes({1}));
}

TEST_F(RunControlGui, PrintGoesToTheMessagesWindowAndVariablesToTheList)
{
    TFMessages messages;
    FMessages = &messages;
    OpenProgram("print.sbp", "&a = 1\r\n&b = \"x=y\"\r\nPRINT \"hello\"\r\n");
    Run();
    FMessages = nullptr;
    EXPECT_EQ(messages.Lines(), QStringList{"hello"});
    QStringList rows;
    for (int i = 0; i < Window->lbVariables->count(); ++i) {
        rows << Window->lbVariables->item(i)->text();
    }
    EXPECT_EQ(rows, (QStringList{"&a = 1", "&b = \"X=Y\""}));
}

TEST_F(RunControlGui, ActionStatesFollowTheRunState)
{
    struct TState {
        bool run, pause, step, stepBack, stop;
        bool operator==(const TState&) const = default;
    };
    const auto state = [&] {
        Window->UpdateAllActions(false);
        return TState{Window->actRun->isEnabled(), Window->actPause->isEnabled(), Window->actStep->isEnabled(),
                      Window->actStepBack->isEnabled(), Window->actStop->isEnabled()};
    };
    EXPECT_EQ(state(), (TState{false, false, false, false, false})) << "no page";
    OpenProgram("five.sbp", FiveMoves);
    EXPECT_EQ(state(), (TState{true, false, true, false, false})) << "idle";
    std::vector<TState> seen;
    int presses = 0;
    AtPass = [&] {
        switch (presses++) {
        case 0:
            seen.push_back(state()); // running
            Window->actPause->Execute();
            break;
        case 1:
            seen.push_back(state()); // paused
            EXPECT_EQ(Window->actPause->toolTip(), "Un-Pause");
            Window->actStep->Execute();
            break;
        case 2:
            break;
        default:
            if (Window->StepWaiting() && seen.size() == 2) {
                seen.push_back(state()); // stepping
                Window->actStop->Execute();
            }
        }
    };
    Run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], (TState{false, true, true, false, true}));
    EXPECT_EQ(seen[1], (TState{true, true, true, false, true}));
    EXPECT_EQ(seen[2], (TState{true, false, true, true, true}));
    EXPECT_EQ(state(), (TState{true, false, true, false, false}));
}

TEST_F(RunControlGui, ThePageMayChangeOrCloseWhileItsProgramRuns)
{
    const auto page = OpenProgram("five.sbp", FiveMoves);
    Code(page).SetCaretXY({1, 2});
    Window->actToggleBP->Execute();
    Code(page).SetCaretXY({1, 4});
    Window->actToggleBP->Execute();
    int stops = 0;
    AtPass = [&] {
        if (!Window->StepWaiting()) {
            return;
        }
        // The run holds a copy of the lines: the page may change and go.
        if (stops++ == 0) {
            page->SetReadOnly(false);
            Code(page).SetCaretXY({1, 1});
            page->InsertText("M2,7,7\r\n");
            Window->actRun->Execute();
        } else {
            Form(page).CodeEditor().SetModified(false);
            page->ExecClose();
            Process();
            // Without a page only Stop is left.
            Window->UpdateAllActions(false);
            EXPECT_FALSE(Window->actRun->isEnabled());
            Window->actStop->Execute();
        }
    };
    Run();
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(PageCount(), 0);
    // The run's lines did not change; the second breakpoint stopped it after line 4.
    EXPECT_EQ(CutText(), Nodes({0, 1, 2, 3, 4}));
}

TEST_F(RunControlGui, NothingStartsASecondRunWhileOneIsOnTheStack)
{
    OpenProgram("five.sbp", FiveMoves);
    WriteText("other.sbp", "M2,9,9\r\n");
    bool tried = false;
    AtPass = [&] {
        if (!tried && !CutText().empty()) {
            tried = true;
            Window->actStop->Execute();
            // Stopped but not unwound: Run is enabled, yet starts nothing.
            Window->actRun->Execute();
            EXPECT_EQ(Window->RunFileForResults(FilePath("other.sbp")), std::nullopt);
            Window->RunQuickView(FilePath("other.sbp"), 1000);
            Window->BitBtn11Click();
            EXPECT_FALSE(CutText().empty()) << "Clear waits for the run";
        }
    };
    Run();
    EXPECT_EQ(CutText().find("9.00000"), std::string::npos);
    EXPECT_FALSE(Window->RunOnStack());
    Window->BitBtn11Click();
    EXPECT_EQ(CutText(), "");
}

TEST_F(RunControlGui, SimulateOffStillLetsStopThrough)
{
    // An endless loop without animation: events are processed every 50 ms of it.
    OpenProgram("loop.sbp", "AGAIN:\r\nM2,1,1\r\nGOTO AGAIN\r\n");
    SetSimulate(false);
    Window->Move->MaxPathNodes = 100000000;
    QTimer::singleShot(0, Window.get(), [&] {
        EXPECT_TRUE(Window->Running);
        Window->actStop->Execute();
    });
    AtPass = nullptr;
    // The clock moves 60 ms on every read, so the loop lets events through.
    TMovingClock moving(Clock);
    TClockSourceScope scope(&moving);
    Run();
    EXPECT_FALSE(Window->Running);
    EXPECT_GT(moving.Reads, 0);
}

TEST_F(RunControlGui, ClosingDuringARunAsksAfterThePagesAndClosesOnceItUnwound)
{
    const auto page = OpenProgram("five.sbp", FiveMoves);
    Window->show();
    int asked = 0;
    AtPass = [&] {
        if (asked++ == 0) {
            Dialogs.ExpectMessage("Cancel preview and Exit?", TModalResult::mrNo);
            Window->close();
            EXPECT_TRUE(Window->isVisible()) << "No keeps the window and the run";
            EXPECT_TRUE(Window->Running);
        } else if (asked == 2) {
            Dialogs.ExpectMessage("Cancel preview and Exit?", TModalResult::mrYes);
            Window->close();
            EXPECT_FALSE(Window->Running);
            EXPECT_TRUE(Window->isVisible()) << "not while the run is on the stack";
        }
    };
    Run();
    EXPECT_TRUE(Window->isVisible());
    EXPECT_TRUE(testsupport::WaitFor([&] { return !Window->isVisible(); })) << "closed once the run unwound";
}

TEST_F(RunControlGui, ResultsRunsGiveTheHeadlessRunnersText)
{
    WriteText("sub.sbp", "J2,5,5\r\nM2,6,6\r\n");
    WriteText("job.sbp", "MS,2\r\nJ2,1,1\r\nM3,2,2,-1\r\nFP, sub.sbp, 1, 1, 1, 1, 2\r\nCR, 2, 3\r\nM2,0,0\r\n");
    WriteText("cuts.sbp", "M2,1,1\r\nM2,2,2\r\n");
    for (const char* name : {"job.sbp", "cuts.sbp"}) {
        const std::string shell = Dm.RunFileResults(FilePath(name)).value();
        TEngineData data;
        TCalcul calcul;
        TFakeShell fake;
        TMove move(data, calcul, fake);
        TProgramRunner runner(move, data, calcul);
        EXPECT_EQ(shell, runner.RunFileForResults(Path(name))) << name;
        // The run's budget counted the text it answers with.
        EXPECT_EQ(shell.size(), Window->Move->CountedPathTextBytes()) << name;
        EXPECT_FALSE(Window->Running);
        EXPECT_FALSE(Window->PanelGL->cbSim->isChecked());
    }
    EXPECT_EQ(Window->RunFileForResults(FilePath("cuts.sbp")), Nodes({0, 1, 2}));
}

// The pages a results run opens, its program's and its sub-file's, close after it,
// whether it ends, stops at an error or never loads, and stay off the recent list; the
// user's pages stay, the active one active. An earlier run's file is no caller of it: its
// page, closed since, stays closed and first on the recent list. A page of the run's that
// was changed meanwhile (a plug-in's text sent in) stays to be saved.
TEST_F(RunControlGui, AResultsRunClosesThePagesItOpenedForItself)
{
    const auto earlier = OpenProgram("five.sbp", FiveMoves);
    Run();
    earlier->ExecClose();
    Process();
    const auto mine = OpenProgram("mine.sbp", "M2,7,7\r\n");
    Code(mine).SetModified(true);
    OpenProgram("other.sbp", "M2,8,8\r\n");
    mine->Activate();
    WriteText("sub.sbp", "M2,6,6\r\n");
    WriteText("job.sbp", "M2,1,1\r\nFP, sub.sbp\r\nEND\r\nM2,9,9\r\n");
    WriteText("bad.sbp", "FP, sub.sbp\r\nM2,&nosuch,1\r\n");
    Dialogs.ExpectMessage("Cannot evaluate the expression \"&nosuch\" (line: 2): Unknown variable:NOSUCH",
                          TModalResult::mrOk);
    Dialogs.ExpectMessage("Cannot find file: " + Path("gone.sbp"), TModalResult::mrOk);
    const std::pair<const char*, std::optional<std::string>> runs[] = {
        {"job.sbp", Nodes({0, 1, 6})}, {"bad.sbp", Nodes({0, 6})}, {"gone.sbp", std::nullopt}};
    for (const auto& [program, results] : runs) {
        EXPECT_EQ(Dm.RunFileResults(FilePath(program)), results) << program;
        EXPECT_EQ(PageCount(), 2) << program;
        EXPECT_TRUE(SamePage(ActiveEditor, mine) && mine->GetModified()) << program;
        EXPECT_TRUE(Window->FileStack == QStringList{FilePath("five.sbp")}) << program;
        EXPECT_EQ(Dm.GetMRUFile(0), FilePath("five.sbp")) << program;
    }
    WriteText("wait.sbp", "PAUSE 1\r\n");
    AtPass = [&] { Code(ActiveEditor).SetModified(true); };
    EXPECT_TRUE(Dm.RunFileResults(FilePath("wait.sbp")).has_value());
    EXPECT_EQ(PageCount(), 3);
}

} // namespace
