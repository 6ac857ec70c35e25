// The test-run window over the main window: Run All through the results run with its
// painted statuses, Create Result File, run errors, refusal while a run goes, Stop and
// the close question during Run All; and the shipped suite as start-up builds it.

#include "app/shell/MainBlock.h"
#include "app/testrun/QuickviewForm.h"
#include "app/testrun/TestRunForm.h"

#include "../RunTestSupport.h"
#include "../../support/QtTestApp.h"

#include "editor/control/CodeEditPlugins.h"
#include "platform/gui/QtEventLoop.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <filesystem>
#include <vector>

namespace {

const std::string OneMove = "0.00000,0.00000,0.00000\r\n1.00000,1.00000,0.00000\r\n";

class TestRunGui : public TRunTest {
protected:
    TestRunGui()
    {
        std::filesystem::create_directories(folder / "TestRuns");
        TestRun = std::make_unique<TFTestRun>(*Window);
        FTestRun = TestRun.get();
    }
    ~TestRunGui() override { TestRun.reset(); }

    void WriteTest(const std::string& name, const std::string& program, const std::string& result)
    {
        WriteText("TestRuns/" + name + ".sbp", program);
        WriteText("TestRuns/" + name + ".rst", result);
    }
    QStringList Statuses() const
    {
        QStringList cells;
        for (int row = 0; row < TestRun->Grid->rowCount(); ++row) {
            cells << TestRun->CellText(row, 2);
        }
        return cells;
    }
    // The colour near the right end of a status cell, as painted.
    QColor StatusPixel(int row) const
    {
        const QImage shot = TestRun->Grid->viewport()->grab().toImage();
        const QRect cell = TestRun->Grid->visualRect(TestRun->Grid->model()->index(row, 2));
        return shot.pixelColor(cell.right() - 3, cell.center().y());
    }

    std::unique_ptr<TFTestRun> TestRun;
};

TEST_F(TestRunGui, RunAllTwiceGivesTheSameStatusesPaintedInTheirColours)
{
    WriteTest("moves", "M2,1,1\r\n", OneMove);
    WriteTest("Jogs", "J2,1,2\r\nM2,1,1\r\n",
              "0.00000,0.00000,0.00000\r\n1.00000,2.00000,0.00000\r\n"
              "1.00000,2.00000,0.00000\r\n1.00000,1.00000,0.00000\r\n");
    // END stops only its own program.
    WriteTest("end", "M2,1,1\r\nEND\r\nM2,2,2\r\n", OneMove);
    WriteTest("wrong", "M2,1,1\r\n", "0.00000,0.00000,0.00000\n1.00000,1.00000,0.00000\n");
    Window->RunTests1->trigger();
    EXPECT_TRUE(TestRun->isVisible());
    EXPECT_EQ(TestRun->CellText(1, 0) + TestRun->CellText(1, 1), "2Jogs.sbp");
    EXPECT_EQ(StatusPixel(0), QColor(0xA6, 0xCA, 0xF0));
    for (int pass = 0; pass < 2; ++pass) {
        TestRun->ButtonRun->click();
        EXPECT_EQ(Statuses(), (QStringList{"Passed", "Passed", "Passed", "Failed"})) << pass;
    }
    EXPECT_EQ(StatusPixel(0), QColor(0, 255, 0));
    EXPECT_EQ(StatusPixel(3), QColor(255, 0, 0));

    // Create Result File records the current row's run; its status stays.
    TestRun->Grid->setCurrentCell(3, 1);
    Dialogs.ExpectMessage("Overwrite current result file?", TModalResult::mrYes);
    TestRun->BitBtn1->click();
    EXPECT_EQ(ReadText("TestRuns/wrong.rst"), OneMove);
    EXPECT_EQ(Statuses()[3], "Failed");

    // No test: one empty row, which creates nothing.
    std::filesystem::remove_all(folder / "TestRuns");
    TestRun->FillTestList();
    EXPECT_EQ(Statuses(), QStringList{""});
    TestRun->Grid->setCurrentCell(0, 1);
    TestRun->BitBtn1->click();
    EXPECT_EQ(StatusPixel(0), TestRun->Grid->palette().color(QPalette::Base));
}

TEST_F(TestRunGui, ARunErrorAndAMissingResultAreReportedAndRunAllGoesOn)
{
    // The path drawn until the error is the run's result.
    WriteTest("a", "M2,1,1\r\nM2,&nosuch,2\r\nM2,3,3\r\n", OneMove);
    WriteText("TestRuns/b.sbp", "M2,1,1\r\n");
    WriteTest("c", "M2,1,1\r\n", OneMove);
    TestRun->FillTestList();
    Dialogs.ExpectMessage("Cannot evaluate the expression \"&nosuch\" (line: 2): Unknown variable:NOSUCH",
                          TModalResult::mrOk);
    Dialogs.ExpectMessage("Cannot open file \"" + Path("TestRuns/b.rst") + "\". No such file or directory",
                          TModalResult::mrOk);
    TestRun->ButtonRun->click();
    EXPECT_EQ(Statuses(), (QStringList{"Passed", "Failed", "Passed"}));
}

TEST_F(TestRunGui, NothingStartsWhileARunGoesAndRunAllHoldsTheRunActions)
{
    WriteTest("wait", "PAUSE 1\r\nM2,1,1\r\n", OneMove);
    TestRun->FillTestList();
    OpenProgram("page.sbp", "M2,5,5\r\nM2,6,6\r\n");
    // Running, paused, then stepping: the window refuses each time.
    int refusals = 0;
    AtPass = [&] {
        if (refusals == 2 && !Window->StepWaiting()) {
            return;
        }
        Window->UpdateAllActions(false);
        EXPECT_FALSE(TestRun->ButtonRun->isEnabled());
        TestRun->ButtonRunClick();
        TestRun->Grid->setCurrentCell(0, 1);
        TestRun->BitBtn1Click();
        EXPECT_EQ(Statuses(), QStringList{"waiting..."});
        TAction* next[] = {Window->actPause, Window->actStep, Window->actStop};
        next[std::min(refusals++, 2)]->trigger();
    };
    Run();
    EXPECT_GE(refusals, 3);
    Window->UpdateAllActions(false); // as the idle handler does
    EXPECT_TRUE(TestRun->ButtonRun->isEnabled());

    // During Run All: Run, Pause, Step and Step Back disabled, Stop not.
    bool checked = false;
    AtPass = [&] {
        Window->UpdateAllActions(true);
        for (TAction* action : {Window->actRun, Window->actPause, Window->actStep, Window->actStepBack}) {
            EXPECT_FALSE(action->isEnabled()) << action->Name().toStdString();
        }
        EXPECT_TRUE(Window->actStop->isEnabled());
        Window->actStep->trigger();
        checked = !Window->StepMode;
    };
    TestRun->ButtonRun->click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(Statuses(), QStringList{"Passed"});
    Window->UpdateAllActions(false);
    EXPECT_TRUE(Window->actStep->isEnabled());
}

TEST_F(TestRunGui, StopOrLeavingDuringRunAllEndsItAfterThatRow)
{
    WriteTest("a", "M2,1,1\r\n", OneMove);
    WriteTest("b", "PAUSE 1\r\nM2,1,1\r\n", OneMove);
    WriteTest("c", "M2,1,1\r\n", OneMove);
    TestRun->FillTestList();
    AtPass = [&] { Window->actStop->trigger(); };
    TestRun->ButtonRun->click();
    EXPECT_EQ(Statuses(), (QStringList{"Passed", "Failed", "waiting..."}));

    // Yes to the close question: the window closes once Run All has returned.
    Window->show();
    AtPass = [&] {
        AtPass = nullptr;
        Dialogs.ExpectMessage("Cancel preview and Exit?", TModalResult::mrYes);
        Window->close();
    };
    TestRun->ButtonRun->click();
    EXPECT_EQ(Statuses(), (QStringList{"Passed", "Failed", "waiting..."}));
    EXPECT_TRUE(testsupport::WaitFor([&] { return !Window->isVisible(); })) << "closed once Run All returned";
}

// A program that loops for ever, with Simulate off, as the results runs are: the user
// stops it from the main window. Its row fails and the rows after it are not run; Create
// Result File keeps the old result. A program deleted since the list was filled is
// reported by its run: its row fails, and Create Result File writes nothing.
TEST_F(TestRunGui, AStoppedRunFailsItsRowAndARunThatCannotStartWritesNothing)
{
    WriteTest("a", "M2,1,1\r\n", OneMove);
    WriteTest("forever", "lp:\r\nM2,1,1\r\nM2,0,0\r\nGOTO lp\r\n", OneMove);
    WriteTest("z", "M2,1,1\r\n", OneMove);
    TestRun->FillTestList();
    // The run looks at the clock to stay responsive: here it moves at every look.
    TFixedClock start;
    start.Now = 45358.0;
    TMovingClock moving(start, 5);
    const TClockSourceScope clockScope(&moving);
    // Stop, pressed as soon as the endless program runs.
    int stops = 0;
    QTimer stopper;
    stopper.setInterval(0);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (Window->ResultsRun && !Window->FileStack.isEmpty() && Window->FileStack.last().endsWith("forever.sbp")) {
            ++stops;
            Window->actStop->trigger();
        }
    });
    stopper.start();

    TestRun->ButtonRun->click();
    EXPECT_GE(stops, 1);
    EXPECT_EQ(Statuses(), (QStringList{"Passed", "Failed", "waiting..."}));
    EXPECT_EQ(StatusPixel(1), QColor(255, 0, 0));

    TestRun->Grid->setCurrentCell(1, 1);
    Dialogs.ExpectMessage("Overwrite current result file?", TModalResult::mrYes);
    stops = 0;
    TestRun->BitBtn1->click();
    EXPECT_GE(stops, 1);
    EXPECT_EQ(ReadText("TestRuns/forever.rst"), OneMove) << "a stopped run is no result";

    std::filesystem::remove(folder / "TestRuns" / "a.sbp");
    const std::string missing = "Cannot find file: " + Path("TestRuns/a.sbp");
    TestRun->Grid->setCurrentCell(0, 1);
    Dialogs.ExpectMessage("Overwrite current result file?", TModalResult::mrYes);
    Dialogs.ExpectMessage(missing, TModalResult::mrOk);
    TestRun->BitBtn1->click();
    EXPECT_EQ(ReadText("TestRuns/a.rst"), OneMove) << "a run that could not start is no result";
    EXPECT_EQ(Statuses()[0], "Passed") << "the status stays";

    Dialogs.ExpectMessage(missing, TModalResult::mrOk);
    TestRun->ButtonRun->click();
    EXPECT_EQ(Statuses(), (QStringList{"Failed", "Failed", "waiting..."}));
    EXPECT_EQ(ReadText("TestRuns/a.rst"), OneMove);
    stopper.stop();
}

// Run All over a program deleted since the list was filled: its run could not load it, so
// its row fails without a look at its result file, which, empty, would say "Passed".
TEST_F(TestRunGui, ADeletedProgramFailsItsRowEvenAgainstAnEmptyResultFile)
{
    WriteTest("a", "M2,1,1\r\n", OneMove);
    WriteTest("gone", "M2,1,1\r\n", "");
    TestRun->FillTestList();
    std::filesystem::remove(folder / "TestRuns" / "gone.sbp");
    Dialogs.ExpectMessage("Cannot find file: " + Path("TestRuns/gone.sbp"), TModalResult::mrOk);
    TestRun->ButtonRun->click();
    EXPECT_EQ(Statuses(), (QStringList{"Passed", "Failed"}));
    EXPECT_EQ(ReadText("TestRuns/gone.rst"), "");
}

// The "#" column as wide as Qt needs for the numbers it shows at the bottom of the list,
// and never narrower than its 24 pixels: a thousand programs show "1000", not "1…".
TEST_F(TestRunGui, TheNumberColumnShowsTheLargestNumberWhole)
{
    for (const int count : {9, 1000}) {
        for (int i = 0; i < count; ++i) {
            WriteText("TestRuns/t" + std::to_string(1000 + i) + ".sbp", "");
        }
        TestRun->FillTestList();
        QAbstractItemView& view = *TestRun->Grid;
        view.scrollToBottom();
        EXPECT_EQ(TestRun->CellText(count - 1, 0), QString::number(count));
        EXPECT_GE(TestRun->Grid->columnWidth(0), view.sizeHintForColumn(0)) << count;
        EXPECT_EQ(TestRun->Grid->columnWidth(0) == 24, count == 9) << count;
    }
}

// Takes the program's plug-in command numbers (every page's macro recorder holds two);
// all given back at the end.
struct TCommandNumbersTaken {
    ~TCommandNumbersTaken()
    {
        for (auto it = Taken.rbegin(); it != Taken.rend(); ++it) {
            ReleasePluginCommand(*it);
        }
    }
    // Takes every number left but `spare`; answers how many it took.
    int TakeAllBut(int spare)
    {
        const std::size_t before = Taken.size();
        try {
            for (;;) {
                Taken.push_back(AllocPluginCommand());
            }
        } catch (const ECodeEditError&) {
        }
        for (; spare > 0; --spare) {
            ReleasePluginCommand(Taken.back());
            Taken.pop_back();
        }
        return static_cast<int>(Taken.size() - before);
    }
    std::vector<TCodeEditorCommand> Taken;
};

// Run All opens each program's page, and its sub-file's, and closes them after its run:
// with room for two pages, a dozen programs pass and give their numbers back, and the
// user's page stays. With no room, one box says why in the user's terms and the rows
// run without pages, until the user closes a page.
TEST_F(TestRunGui, RunAllClosesThePagesItOpenedAndGivesTheirNumbersBack)
{
    QStringList passed;
    for (int i = 10; i < 22; ++i) {
        WriteTest("t" + std::to_string(i), "M2,1,1\r\n", OneMove);
        passed << "Passed";
    }
    std::filesystem::create_directories(folder / "TestRuns" / "parts");
    WriteText("TestRuns/parts/part.sbp", "M2,1,1\r\n");
    WriteTest("t30", "FP, parts/part.sbp\r\n", OneMove);
    passed << "Passed";
    const auto mine = OpenProgram("TestRuns/t15.sbp", "M2,1,1\r\n");
    TCommandNumbersTaken numbers;
    numbers.TakeAllBut(4);
    TestRun->FillTestList();
    TestRun->ButtonRun->click();
    EXPECT_EQ(Statuses(), passed);
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(Dm.GetMRUFileCount(), 0) << "the user never opened the runner's pages";
    EXPECT_EQ(numbers.TakeAllBut(0), 4) << "every page gave its numbers back";

    Dialogs.ExpectMessage("Too many pages are open. Close some pages to open another one.", TModalResult::mrOk);
    TestRun->ButtonRun->click();
    EXPECT_EQ(Statuses(), passed);
    mine->ExecClose();
    Process();
    TestRun->ButtonRun->click();
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(numbers.TakeAllBut(0), 2);
}

// The shipped suite: the program as start-up builds it (no 3D view), over the build's
// copy of TestRuns, every box answered Yes or OK, PAUSE waits on the replaceable clock.
class ShippedSuiteGui : public TAppTest {
protected:
    struct TYesToAll : IDialogResponder {
        TModalResult MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons buttons) override
        {
            ++Boxes;
            return (buttons & mbYes) != 0 ? TModalResult::mrYes : TModalResult::mrOk;
        }
        bool InputQuery(const std::string&, const std::string&, std::string&) override { return true; }
        int Boxes = 0;
    };

    TQtEventLoop Loop;
    TEventLoopScope LoopScope{&Loop};
    TYesToAll Answers;
    TDialogResponderScope AnswerScope{&Answers};
};

TEST_F(ShippedSuiteGui, EveryProgramOfTheBuildsTestRunsPasses)
{
    const std::filesystem::path built = std::filesystem::path(KERFPAD_BUILT_APP_DIR) / "TestRuns";
    ASSERT_TRUE(std::filesystem::is_directory(built)) << built;
    std::filesystem::create_directory_symlink(built, folder / "TestRuns");
    int programs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(built)) {
        programs += QString::fromStdString(entry.path().filename().string()).endsWith(".sbp", Qt::CaseInsensitive);
    }
    ASSERT_GE(programs, 27);

    std::vector<std::pair<std::string, std::string>> rows;
    bool madeAtStartUp = false;
    TMainBlockOptions options;
    options.WithViewer = false;
    options.InstallServices = false;
    options.Loop = [&](TMainForm& window) {
        madeAtStartUp = FTestRun != nullptr && FQuickview != nullptr;
        window.WaitFrameMs = 0;
        window.OnWaitPass = [this] { Clock.Ticks += 20; };
        window.RunTests1->trigger();
        FTestRun->ButtonRun->click();
        for (int row = 0; row < FTestRun->Grid->rowCount(); ++row) {
            rows.emplace_back(FTestRun->CellText(row, 1).toStdString(), FTestRun->CellText(row, 2).toStdString());
        }
        window.close();
        return 0;
    };
    KerfpadMainBlock({}, options);
    EXPECT_TRUE(madeAtStartUp);
    EXPECT_EQ(FTestRun, nullptr);
    EXPECT_EQ(FQuickview, nullptr);
    EXPECT_EQ(static_cast<int>(rows.size()), programs);
    for (const auto& [name, status] : rows) {
        EXPECT_EQ(status, "Passed") << name;
    }
    EXPECT_GE(Answers.Boxes, 20) << "the suite's questions, PAUSE boxes and run errors were answered";
}

} // namespace
