// Where the bit stands once the preview is still: on the place the run reached (the
// target the animation glides to), at the end of a run with or without END or at an
// error, with Simulate on or off, after Stop in step mode, after Run from step mode; and
// after a step back where a fresh run stopped at the same line has it. A stop while the
// bit glides (Stop, Cancel in the collision question) leaves it where it stands. The
// wireframe marker of the line the run shows stands with the bit.

#include "../RunTestSupport.h"

#include "app/plugins/KerfpadInterface.h"
#include "app/run/BitAnimation.h"
#include "engine/RunResults.h"

#include "../../support/FixedClock.h"

#include <QTimer>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Text(const TAffineVector& p)
{
    return "(" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ", " + std::to_string(p.Z) + ")";
}

class BitAtRestGui : public TRunTest {
protected:
    TAffineVector Target() const
    {
        TAffineVector target;
        Window->Move->GetBitTarget(target);
        return target;
    }
    TAffineVector Marker() const { return Window->Scene->WireframeBit->Position().GetAsAffineVector(); }
    // Where the bit and the caret line's marker stand if not both on the run's place.
    std::string Mismatch() const
    {
        const std::string place = Text(Target());
        if (Text(BitPosition()) == place && Text(Marker()) == place) {
            return {};
        }
        return "bit at " + Text(BitPosition()) + ", marker at " + Text(Marker()) + ", the run's place " + place;
    }
    // A page of its own (a file already open would run its old text), and everything
    // as at the start: no paths, the origin, no offsets, the bit on the origin.
    void OpenOwnProgram(const std::string& text)
    {
        OpenProgram("p" + std::to_string(++FPrograms) + ".sbp", text);
        StartAfresh();
    }
    void StartAfresh()
    {
        ResetForResults(*Window->Move, Window->Calcul, std::string());
        Window->Scene->Bit->Position().SetPoint(0, 0, 0);
    }
    int FPrograms = 0;
};

// How a run ends, and where its bit stands then.
TEST_F(BitAtRestGui, AtTheEndOfARunTheBitStandsOnTheRunsPlace)
{
    const std::string twoMoves = "M2, 20, 20\r\nM2, 10, 10\r\n";
    const std::string jogs = "JZ, 2\r\nJ2, 30, 5\r\nJZ, -1\r\nM2, 31, 6\r\nJZ, 3\r\n";
    const std::string loop = "&i = 0\r\nA:\r\nM2, 0, 0\r\nM2, 4, 1\r\n&i = &i + 1\r\nIF &i < 300 THEN GOTO A\r\n";
    struct TCase {
        const char* what;
        std::string program;
        bool simulate;
        // At each step wait once the bit has settled: 'S' Step, 'R' Run, 'X' Stop.
        // Empty: Run, no step mode.
        const char* presses;
    };
    const TCase cases[] = {
        {"the last move, Simulate on", twoMoves, true, ""},
        {"the last move, Simulate off", twoMoves, false, ""},
        {"END after the last move, Simulate on", twoMoves + "END\r\n", true, ""},
        {"END after the last move, Simulate off", twoMoves + "END\r\n", false, ""},
        {"END before more moves, Simulate off", twoMoves + "END\r\nM2, 30, 30\r\n", false, ""},
        {"jogs up and down, Simulate off", jogs, false, ""},
        {"a loop of 600 moves, Simulate off", loop, false, ""},
        {"a loop of 600 moves ending in END, Simulate off", loop + "END\r\n", false, ""},
        {"Run from step mode, Simulate on", twoMoves + "M2, 40, 5\r\n", true, "SR"},
        {"Run from step mode, Simulate off", twoMoves + "M2, 40, 5\r\n", false, "SR"},
        {"Run from step mode to END, Simulate off", twoMoves + "M2, 40, 5\r\nEND\r\n", false, "SR"},
        {"Stop in step mode, Simulate off", twoMoves + "M2, 40, 5\r\n", false, "SX"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenOwnProgram(c.program);
        SetSimulate(c.simulate);
        const std::string presses = c.presses;
        std::size_t press = 0;
        AtPass = [&] {
            if (!Window->StepWaiting() || Window->Move->Moving || press >= presses.size()) {
                return;
            }
            switch (presses[press++]) {
            case 'S': Window->actStep->Execute(); break;
            case 'R': Window->actRun->Execute(); break;
            default: Window->actStop->Execute();
            }
        };
        (presses.empty() ? Window->actRun : Window->actStep)->Execute();
        AtPass = nullptr;
        EXPECT_FALSE(Window->Running);
        EXPECT_EQ(press, presses.size());
        EXPECT_EQ(Mismatch(), "");
        EXPECT_FALSE(Window->Move->Moving);
    }
}

// Stop while the bit glides leaves it where the user saw it, the status bar's readout and
// the run line's marker with it; the simulator's place (GetCurPos) stays ahead.
TEST_F(BitAtRestGui, StopWhileTheBitGlidesLeavesItWhereItStands)
{
    struct TCase {
        const char* what;
        const char* program;
        bool simulate;
        // Stop once the run's place is this, the bit still on its way.
        TAffineVector at;
    };
    const TCase cases[] = {
        {"during the last move's glide, Simulate on", "M2, 20, 20\r\nM2, 10, 10\r\n", true, {10, 10, 0}},
        {"during the glide before the next line, Simulate on", "M2, 20, 20\r\nM2, 10, 10\r\n", true, {20, 20, 0}},
        {"during the last move's glide, Simulate off", "M2, 20, 20\r\nM2, 10, 10\r\n", false, {10, 10, 0}},
        {"during the glide of a jog, Simulate on", "J3, 5, 5, 3\r\nM2, 8, 8\r\n", true, {5, 5, 3}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenOwnProgram(c.program);
        SetSimulate(c.simulate);
        std::optional<TAffineVector> stoppedAt;
        AtPass = [&] {
            const TAffineVector target = Target();
            const TAffineVector bit = BitPosition();
            if (!stoppedAt && Window->Move->Moving && target.X == c.at.X && target.Y == c.at.Y &&
                target.Z == c.at.Z && (bit.X != target.X || bit.Y != target.Y)) {
                stoppedAt = bit;
                Window->actStop->Execute();
            }
        };
        Run();
        AtPass = nullptr;
        ASSERT_TRUE(stoppedAt.has_value());
        EXPECT_FALSE(Window->Running);
        EXPECT_EQ(Text(BitPosition()), Text(*stoppedAt));
        EXPECT_EQ(Text(Marker()), Text(*stoppedAt));
        EXPECT_EQ(Window->StatusPanelText(3), Tdm::StatusPositionText(stoppedAt->X, stoppedAt->Y, stoppedAt->Z));
        EXPECT_EQ(Text(Target()), Text(c.at)) << "the simulator's place";
        EXPECT_FALSE(Window->Move->Moving);
        // The next run glides on from there.
        OpenOwnProgram("M2, 1, 1\r\n");
        Window->Scene->Bit->Position().SetPoint(stoppedAt->X, stoppedAt->Y, stoppedAt->Z);
        SetSimulate(true);
        Run();
        EXPECT_EQ(Mismatch(), "");
    }
}

// With Simulate off the bit does not follow the lines: a Stop between them puts it on the
// run's place, also when it glided before (a PAUSE's wait lets it) and the lines after
// the glide ran without it.
TEST_F(BitAtRestGui, StopBetweenLinesWithSimulateOffPutsTheBitOnTheRunsPlace)
{
    OpenOwnProgram("J2, 50, 50\r\nPAUSE 1\r\nAGAIN:\r\nM2, 1, 1\r\nGOTO AGAIN\r\n");
    SetSimulate(false);
    Window->Move->MaxPathNodes = 100000000;
    bool glided = false;
    AtPass = [&] { glided = glided || (Window->Move->Moving && BitPosition().X > 0); };
    // Stop once the loop runs: the loop lets events through, its clock moving 60 ms a read.
    QTimer stop;
    stop.setInterval(0);
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (Window->Running && Window->Move->GetLineIndex() >= 4) {
            stop.stop();
            Window->actStop->Execute();
        }
    });
    stop.start();
    TMovingClock moving(Clock);
    TClockSourceScope scope(&moving);
    Run();
    EXPECT_TRUE(glided);
    EXPECT_FALSE(Window->Running);
    EXPECT_EQ(Text(Target()), Text({1, 1, 0}));
    EXPECT_EQ(Mismatch(), "");
}

// The collision question's Cancel stops the run where the bit met the clamp, for the user
// to see: clamps C1, C1 and C2 across a move to 40, 5, the questions answered in turn.
// A run that the answers let go on ends on its place.
TEST_F(BitAtRestGui, CancelInTheCollisionQuestionLeavesTheBitInTheClamp)
{
    const std::string clamps = "[CLAMP] C1, 10, 5, 0, 2, 2, 2\r\n[CLAMP] C1, 20, 5, 0, 2, 2, 2\r\n"
                               "[CLAMP] C2, 30, 5, 0, 2, 2, 2\r\nJ2, 0, 5\r\nM2, 40, 5\r\n";
    struct TCase {
        const char* what;
        // Per question: the clamp it names and the answer.
        std::vector<std::pair<std::string, TModalResult>> answers;
        // Where the bit stops along x (inside the clamp last named), or the run's end.
        float fromX, toX;
    };
    const TCase cases[] = {
        {"Yes and No to C1, Cancel to C2",
         {{"C1", TModalResult::mrYes}, {"C1", TModalResult::mrNo}, {"C2", TModalResult::mrCancel}}, 27, 31},
        {"Cancel to the first C1", {{"C1", TModalResult::mrCancel}}, 7, 11},
        {"No to both names", {{"C1", TModalResult::mrNo}, {"C2", TModalResult::mrNo}}, 40, 40},
    };
    Window->PanelGL->cbCollision->setChecked(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenOwnProgram(clamps);
        for (const auto& [name, answer] : c.answers) {
            Dialogs.ExpectMessage(CollisionQuestion(QString::fromStdString(name)).toStdString(), answer);
        }
        Run();
        EXPECT_TRUE(Dialogs.AllAnswered());
        EXPECT_FALSE(Window->Running);
        const TAffineVector bit = BitPosition();
        EXPECT_GE(bit.X, c.fromX) << Text(bit);
        EXPECT_LE(bit.X, c.toX) << Text(bit);
        EXPECT_EQ(Text(Marker()), Text(bit));
        EXPECT_EQ(Window->StatusPanelText(3), Tdm::StatusPositionText(bit.X, bit.Y, bit.Z));
        EXPECT_EQ(TKerfpadInterface().GetCurPos(), "40,5,0") << "the simulator leads the bit";
        EXPECT_FALSE(Window->Move->Moving);
    }
}

// The marker of the line a run shows stands on the run's place, with the bit, whatever
// the line's arguments say: a line that failed to evaluate, a relative move, a move
// after a zero offset.
TEST_F(BitAtRestGui, TheRunLinesMarkerStandsWithTheBit)
{
    struct TCase {
        const char* what;
        std::string program;
        // The error box the run ends with; empty for none.
        std::string error;
        TAffineVector place;
    };
    const TCase cases[] = {
        {"a move whose X fails to evaluate", "M2, 10, 10\r\nM2, &undefined, 5\r\n",
         "Cannot evaluate the expression \"&undefined\" (line: 2): Unknown variable:UNDEFINED", {10, 10, 0}},
        {"a jog whose Z fails to evaluate", "J3, 4, 6, 2\r\nJZ, 1 + &nothing\r\nM2, 9, 9\r\n",
         "Cannot evaluate the expression \"1 + &nothing\" (line: 2): Unknown variable:NOTHING", {4, 6, 2}},
        {"relative moves", "SR\r\nM2, 3, 1\r\nM2, 3, 1\r\nSA\r\n", "", {6, 2, 0}},
        {"a move after zeroing X", "M2, 5, 5\r\nZX\r\nM2, 1, 1\r\n", "", {6, 1, 0}},
    };
    for (const bool simulate : {false, true}) {
        SetSimulate(simulate);
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (simulate ? ", Simulate on" : ", Simulate off"));
            OpenOwnProgram(c.program);
            if (!c.error.empty()) {
                Dialogs.ExpectMessage(c.error, TModalResult::mrOk);
            }
            Run();
            EXPECT_TRUE(Dialogs.AllAnswered());
            EXPECT_EQ(Text(Target()), Text(c.place));
            EXPECT_EQ(Mismatch(), "");
        }
    }
}

// A place of a run: the executed-line history with the depth of sub-file calls.
struct TPlace {
    std::vector<int> History;
    int Depth = 1;
    auto operator<=>(const TPlace&) const = default;
};

class BitAfterStepBackGui : public BitAtRestGui {
protected:
    std::string BitAndMarker() const { return "bit " + Text(BitPosition()) + ", marker " + Text(Marker()); }
    // Steps through the active page's program with `presses` ('S' Step, 'B' Step Back;
    // Stop after the last), each once the bit has settled; where the bit and the run
    // line's marker stand at every settled wait.
    std::map<TPlace, std::string> SteppedRun(const std::string& presses)
    {
        StartAfresh();
        std::map<TPlace, std::string> seen;
        std::size_t press = 0;
        AtPass = [&] {
            if (!Window->StepWaiting() || Window->Move->Moving) {
                return;
            }
            const TPlace place{Window->Move->PartFiles().History(), Window->Move->PartFiles().Depth()};
            const auto [at, added] = seen.emplace(place, BitAndMarker());
            EXPECT_EQ(at->second, BitAndMarker()) << "after press " << press << " of " << presses;
            if (press >= presses.size()) {
                Window->actStop->Execute();
                return;
            }
            (presses[press++] == 'B' ? Window->actStepBack : Window->actStep)->Execute();
        };
        Window->actStep->Execute();
        AtPass = nullptr;
        EXPECT_EQ(press, presses.size());
        return seen;
    }
};

TEST_F(BitAfterStepBackGui, AfterAStepBackTheBitStandsWhereAFreshRunHasIt)
{
    struct TCase {
        const char* what;
        const char* program;
        const char* presses;
    };
    const TCase cases[] = {
        {"back to a JZ line", "M2, 5, 5\r\nJZ, 2\r\nM2, 12, 3\r\nJZ, 0.5\r\nM3, 20, 9, -1\r\nM2, 0, 0\r\n",
         "SSSBBBSSSS"},
        {"back over jogs in place and moves", "J2, 1, 1\r\nJ2, 1, 1\r\nJZ, 4\r\nM2, 9, 9\r\nJZ, 4\r\nM2, 0, 0\r\n",
         "SSSBSBBBSS"},
        {"back over a zero offset", "M2, 5, 5\r\nZX\r\nM2, 2, 2\r\nJZ, 1\r\nM2, 3, 3\r\nM2, 0, 0\r\n",
         "SSSBBBSSS"},
        {"back over a shape", "M2, 5, 5\r\nCC, 4\r\nJZ, 1\r\nM2, 1, 1\r\nM2, 0, 0\r\n", "SSBBSSS"},
        {"back to the first line", "JZ, 3\r\nM2, 7, 7\r\nM2, 0, 0\r\n", "BBSS"},
    };
    for (const bool simulate : {false, true}) {
        SetSimulate(simulate);
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (simulate ? ", Simulate on" : ", Simulate off"));
            OpenOwnProgram(c.program);
            const std::map<TPlace, std::string> stepped = SteppedRun(c.presses);
            // Step by step to the last line but one: a fresh run's every place.
            const auto lines = std::count(c.program, c.program + std::strlen(c.program), '\n');
            const std::map<TPlace, std::string> fresh = SteppedRun(std::string(std::size_t(lines - 2), 'S'));
            int compared = 0;
            for (const auto& [place, seen] : stepped) {
                if (place.History.empty()) {
                    // Every line undone: the bit back where the run started.
                    EXPECT_EQ(seen.substr(0, seen.find(',', seen.find(')'))), "bit " + Text({0, 0, 0}));
                    continue;
                }
                const auto there = fresh.find(place);
                ASSERT_NE(there, fresh.end()) << "a place no fresh run passes";
                EXPECT_EQ(seen, there->second) << "after " << place.History.size() << " lines";
                ++compared;
            }
            EXPECT_GE(compared, 2);
        }
    }
}

} // namespace

namespace {

TEST_F(BitAtRestGui, AfterAQuickViewOrAResultsRunTheBitStandsOnItsPlace)
{
    // Neither animates: each puts the bit where its program ended, not where the last
    // animated run left it.
    WriteText("headless.sbp", "M2, 20, 20\r\nJ3, 7, 3, 2\r\n");
    for (const bool quickView : {true, false}) {
        SCOPED_TRACE(quickView ? "quick view" : "results run");
        Window->Scene->Bit->Position().SetPoint(-5, -5, 0);
        if (quickView) {
            Window->RunQuickView(FilePath("headless.sbp"), 10000);
        } else {
            ASSERT_TRUE(Window->RunFileForResults(FilePath("headless.sbp")).has_value());
        }
        EXPECT_EQ(Text(BitPosition()), Text({7, 3, 2}));
        EXPECT_FALSE(Window->Move->Moving);
    }
}

} // namespace
