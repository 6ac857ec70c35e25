// The variables list under the editor pages as runs change the variables: it is kept
// up to date by their change record, and after every kind of change it shows what a
// list filled from their whole text shows.

#include "../ClipboardTestSupport.h"
#include "../RunTestSupport.h"

#include "app/run/BitAnimation.h"
#include "app/shell/DataModuleActions.h"
#include "engine/ProgramRunner.h"
#include "platform/gui/QtShownText.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

class VariablesListGui : public TRunTest {
protected:
    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < Window->lbVariables->count(); ++i) {
            rows << Window->lbVariables->item(i)->text();
        }
        return rows;
    }
    // The list as the whole variables text fills it.
    QStringList Rebuilt() const { return VariablesListItems(QString::fromStdString(Window->Calcul.GetVariablesText())); }
};

// A value longer than the list shows, one that gives two rows (it holds CR LF), a
// variable deleted by freevar(, SL, assignments that move a name to the end.
const std::string Program = "&a = 1\r\n"
                            "&b = \"x=y\"\r\n"
                            "&long = \"" + std::string(6000, 'q') + "\"\r\n"
                            "&a = &a + 1\r\n"
                            "&nl = \"p\" | char(13) | char(10) | \"q=r\"\r\n"
                            "&c = freevar(\"b\")\r\n"
                            "&long = &long | \"!\"\r\n"
                            "SL\r\n"
                            "&d = 4\r\n"
                            "&a = 5\r\n"
                            "M2,1,1\r\n";

TEST_F(VariablesListGui, ShowsTheWholeTextsRowsAfterEveryStepAndStepBack)
{
    OpenProgram("vars.sbp", Program);
    SetSimulate(false);
    // Step through, back over the assignments and SL, and on to the end.
    const std::string presses = "SSSSSBBSSSSSSBBBSSSSSSSS";
    std::size_t waits = 0;
    bool sawTwoRowLine = false;
    bool sawCutRow = false;
    AtPass = [&] {
        if (!Window->StepWaiting()) {
            return;
        }
        SCOPED_TRACE("wait " + std::to_string(waits));
        EXPECT_EQ(Rows(), Rebuilt());
        sawTwoRowLine = sawTwoRowLine || Rows().size() > Window->Calcul.GetVariables().Count();
        sawCutRow = sawCutRow || Rows().join(QString()).contains(QStringLiteral("characters not shown"));
        if (waits < presses.size() && presses[waits++] == 'B') {
            Window->actStepBack->Execute();
        } else {
            Window->actStep->Execute();
        }
    };
    Window->actStep->Execute();
    EXPECT_FALSE(Window->Running);
    EXPECT_GE(waits, 20u);
    EXPECT_TRUE(sawTwoRowLine);
    EXPECT_TRUE(sawCutRow);
    EXPECT_EQ(Rows(), Rebuilt());
    EXPECT_EQ(Rows(), (QStringList{"&d = 4", "&a = 5"}));
}

TEST_F(VariablesListGui, ShowsTheWholeTextsRowsAfterRunsAndReplacedVariables)
{
    SetSimulate(false);
    OpenProgram("vars.sbp", Program);
    Run();
    EXPECT_EQ(Rows(), (QStringList{"&d = 4", "&a = 5"}));

    // A run starts from the variables the last one left.
    OpenProgram("more.sbp", "&e = &a * 2\r\n&d = \"x\" | char(13) | char(10) | \"y\"\r\n");
    Run();
    EXPECT_EQ(Rows(), Rebuilt());
    EXPECT_EQ(Rows(), (QStringList{"&a = 5", "&e = 10", "&d = \"X", "&Y\""}));

    // The whole list replaced without a run: the caret's line shows it.
    Window->Calcul.SetVariablesText("x=1\r\ny=2=3\r\n");
    Window->ShowLinePosition(QStringLiteral("M2,1,1"));
    EXPECT_EQ(Rows(), (QStringList{"&x = 1", "&y = 2=3"}));

    // A results run starts with no variables.
    WriteText("results.sbp", "&r = 1\r\nM2,1,1\r\n");
    ASSERT_TRUE(Window->RunFileForResults(FilePath("results.sbp")));
    EXPECT_EQ(Rows(), QStringList{"&r = 1"});
}

// Six Steps, six Step Backs (over SL and a freevar( of a name assigned in two cases),
// Steps to the end: the list ends as a run without steps leaves it. A Step after the
// end starts a new run on the variables left, whose first line adds "&a = 1".
TEST_F(VariablesListGui, StepsBackAndOnEndAsAPlainRunDoes)
{
    SetSimulate(false);
    OpenProgram("steps.sbp", "&a = 1\r\n&A = 2\r\n&b = \"x\"\r\n&c = freevar(\"a\")\r\nSL\r\n&d = 4\r\n"
                             "&b = char(13) + char(10)\r\n&e = existvar(\"b\")\r\n&f = freevar(\"b\")\r\n&b = 7\r\n"
                             "&g = &b + &d\r\n&h = existvar(\"a\")\r\n&i = existvar(\"A\")\r\nM2, &g, &h\r\n");
    const std::string presses = "SSSSSBBBBBB"; // then Step
    std::size_t waits = 0;
    // The rows after k lines, as they first showed: a step back shows the rows of the
    // line before again, as a fresh run shows them there (the list was empty before).
    std::vector<QStringList> after(1);
    int executed = 0;
    AtPass = [&] {
        if (Window->StepWaiting()) {
            EXPECT_EQ(Rows(), Rebuilt()) << "wait " << waits;
            const bool backed = waits > 0 && waits - 1 < presses.size() && presses[waits - 1] == 'B';
            executed += waits == 0 ? 1 : backed ? -1 : 1;
            if (executed == static_cast<int>(after.size())) {
                after.push_back(Rows());
            } else {
                EXPECT_EQ(Rows(), after.at(static_cast<std::size_t>(executed))) << "wait " << waits;
            }
            const bool back = waits < presses.size() && presses[waits] == 'B';
            (back ? Window->actStepBack : Window->actStep)->Execute();
            ++waits;
        }
    };
    Window->actStep->Execute();
    EXPECT_FALSE(Window->Running);
    EXPECT_EQ(waits, 1 + 5 + 6 + 14u);
    const QStringList stepped = Rows();
    AtPass = nullptr;
    Run();
    EXPECT_EQ(Rows(), stepped);
    EXPECT_EQ(stepped, (QStringList{"&d = 4", "&e = 1", "&f = 1", "&b = 7", "&g = 11", "&h = 0", "&i = 0"}));

    AtPass = [&] {
        if (Window->StepWaiting()) {
            Window->actStop->Execute();
        }
    };
    Window->actStep->Execute();
    EXPECT_EQ(Rows(), stepped + QStringList{"&a = 1"});
}

// Every row is one line high, also one whose value holds a lone line break (shown as
// its symbol), so the list lays its rows out alike without measuring each, for good.
TEST_F(VariablesListGui, EveryRowIsOneLineHigh)
{
    SetSimulate(false);
    OpenProgram("vars.sbp", "&a = 1\r\n&b = \"x\" | char(10) | \"y\"\r\n&c = \"p\" | char(13) | \"q\"\r\n&d = 3\r\n");
    Run();
    QListWidget& list = *Window->lbVariables;
    ASSERT_EQ(Rows(), Rebuilt());
    EXPECT_EQ(Rows(), (QStringList{"&a = 1", QStringLiteral("&b = \"X\u240AY\""), QStringLiteral("&c = \"P\u240DQ\""),
                                   "&d = 3"}));
    EXPECT_TRUE(list.uniformItemSizes());
    const int plain = list.sizeHintForRow(0);
    for (int row = 1; row < list.count(); ++row) {
        EXPECT_EQ(list.sizeHintForRow(row), plain) << row;
    }

    WriteText("results.sbp", "&r = 1\r\n&s = 2\r\n");
    ASSERT_TRUE(Window->RunFileForResults(FilePath("results.sbp")));
    EXPECT_EQ(Rows(), (QStringList{"&r = 1", "&s = 2"}));
    EXPECT_TRUE(list.uniformItemSizes());
}

// Random programs of assignments, freevar(, existvar(, SL, values of two rows or with a
// lone line break, stepped and stepped back at random and run on, each run beginning
// with the variables the last one left: at every wait the list is what a list filled
// from the whole variables text shows.
TEST_F(VariablesListGui, RandomStepsStepsBackAndRunsShowTheWholeTextsRows)
{
    SetSimulate(false);
    const std::vector<std::string> names = {"a", "A", "ab", "aB", "b"};
    std::mt19937 rng(5);
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const auto name = [&] { return names[below(names.size())]; };
    const std::vector<std::function<std::string()>> kinds = {
        [&] { return "&" + name() + " = " + std::to_string(below(50)); },
        [&] { return "&" + name() + " = \"w\" | char(13) | char(10) | \"v\""; },
        [&] { return "&" + name() + " = \"w\" | char(" + (below(2) == 0 ? "10" : "13") + ")"; },
        [&] { return "&e = freevar(\"" + name() + "\")"; },
        [&] { return "&e = existvar(\"" + name() + "\")"; },
        [&] { return "&d = y:=&" + name() + "*2;y+1"; },
        [&] { return std::string("SL"); },
    };
    int waits = 0;
    for (int program = 0; program < 150; ++program) {
        std::string text;
        for (std::size_t k = 2 + below(8); k > 0; --k) {
            text += kinds[below(kinds.size())]() + "\r\n";
        }
        const auto page = OpenProgram("random" + std::to_string(program) + ".sbp", text);
        std::string presses;
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                return;
            }
            ++waits;
            EXPECT_EQ(Rows(), Rebuilt()) << text << "after " << presses;
            const std::size_t press = below(10);
            presses += press < 4 ? 'B' : press == 9 ? 'R' : 'S';
            (press < 4 ? Window->actStepBack : press == 9 ? Window->actRun : Window->actStep)->Execute();
        };
        Window->actStep->Execute();
        EXPECT_FALSE(Window->Running);
        EXPECT_EQ(Rows(), Rebuilt()) << text << "after " << presses;
        ASSERT_FALSE(HasFailure());
        page->ExecClose();
    }
    EXPECT_GT(waits, 500);
}

// A run without animation lets events through every 50 ms of its lines; the list is
// laid out before, so what it paints then is the variables, not an empty list whose
// layout every line put off again.
TEST_F(VariablesListGui, ARunWithoutAnimationShowsTheVariablesAsItGoes)
{
    OpenProgram("count.sbp", "&i = 0\r\nL1:\r\n&i = &i + 1\r\nIF &i < 100000000 THEN GOTO L1\r\n");
    SetSimulate(false);
    Window->lbVariables->resize(300, 120);
    QImage painted;
    QTimer::singleShot(0, Window.get(), [&] {
        painted = Window->lbVariables->viewport()->grab().toImage();
        Window->actStop->Execute();
    });
    TMovingClock moving(Clock);
    TClockSourceScope scope(&moving);
    Run();
    ASSERT_FALSE(painted.isNull());
    int dark = 0;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            dark += qGray(painted.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 20) << "the row of &i is painted";
}

// A row shows its value as the variables hold it, only the "=" after the name widened,
// and Ctrl+C (or Ctrl+Insert) copies its entry whole: not cut, its line breaks as they
// are. The list takes the key while it has the keyboard, also when a page holds a
// selection that the main window's Copy would take.
TEST_F(VariablesListGui, ARowShowsItsValueAsItIsAndIsCopiedWhole)
{
    SetSimulate(false);
    const std::string longValue(6000, 'q');
    const auto page = OpenProgram("copy.sbp", "&s = \"a=b==c\"\r\n&long = \"" + longValue + "\"\r\n"
                                              "&t = \"x\" | char(13) | char(10) | \"y=z\"\r\n"
                                              "&u = \"p\" | char(10) | \"=q\"\r\n&e = \"\"\r\n&n = 1 + 2\r\n");
    Run();
    const std::string upper(longValue.size(), 'Q');
    struct TCase {
        const char* Name;
        QString Shown;
        std::string Copied;
    };
    const std::vector<TCase> cases = {
        {"a value holding =", "&s = \"A=B==C\"", "&s = \"A=B==C\""},
        {"a long value", ShownText(QString::fromStdString("&long = \"" + upper + "\"")), "&long = \"" + upper + "\""},
        {"the first row of a value holding CR LF", "&t = \"X", "&t = \"X"},
        {"its second row", "&Y = Z\"", "&Y = Z\""},
        {"a lone line break", QStringLiteral("&u = \"P\u240A=Q\""), "&u = \"P\n=Q\""},
        {"an empty value", "&e = \"\"", "&e = \"\""},
        {"a number", "&n = 3", "&n = 3"},
    };
    ASSERT_EQ(Rows().size(), static_cast<qsizetype>(cases.size()));
    EXPECT_EQ(Rows(), Rebuilt());
    QListWidget& list = *Window->lbVariables;
    Window->show();
    QApplication::setActiveWindow(Window.get());
    Code(page).SelectAll();
    Dm.Actions.actEditCopy->Update();
    ASSERT_TRUE(Dm.Actions.actEditCopy->isEnabled()) << "the main window's Copy would take the page's selection";
    list.setFocus();
    TTestClipboard copied;
    for (int row = 0; row < static_cast<int>(cases.size()); ++row) {
        const TCase& c = cases[static_cast<std::size_t>(row)];
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(list.item(row)->text(), c.Shown);
        list.setCurrentRow(row);
        QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(copied.Text(), c.Copied);
        copied.Set("before");
        QTest::keyClick(&list, Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_EQ(copied.Text(), c.Copied);
    }

    // Variables changed since the list last showed them: it shows them, and the row at
    // the same place is copied.
    Window->Calcul.SetVariablesText("x=1\r\ny=2==3\r\n");
    list.setCurrentRow(1);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Rows(), (QStringList{"&x = 1", "&y = 2==3"}));
    EXPECT_EQ(copied.Text(), "&y = 2==3");
}

} // namespace
