// The variables list under the editor pages as runs change the variables: it is kept
// up to date by their change record, and after every kind of change it shows what a
// list filled from their whole text shows.

#include "../RunTestSupport.h"

#include "app/run/BitAnimation.h"
#include "engine/ProgramRunner.h"

#include <QListWidget>

#include <string>

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
    EXPECT_EQ(Rows(), (QStringList{"&x = 1", "&y = 2 = 3"}));

    // A results run starts with no variables.
    WriteText("results.sbp", "&r = 1\r\nM2,1,1\r\n");
    ASSERT_TRUE(Window->RunFileForResults(FilePath("results.sbp")));
    EXPECT_EQ(Rows(), QStringList{"&r = 1"});
}

// The rows are laid out alike without measuring each until one holds a line break,
// which makes its row taller; a list filled afresh lays them out alike again.
TEST_F(VariablesListGui, ARowHoldingALineBreakIsTaller)
{
    SetSimulate(false);
    OpenProgram("vars.sbp", "&a = 1\r\n&b = \"x\" | char(10) | \"y\"\r\n&c = 3\r\n");
    Run();
    QListWidget& list = *Window->lbVariables;
    ASSERT_EQ(Rows(), Rebuilt());
    ASSERT_EQ(list.count(), 3);
    const int plain = list.visualItemRect(list.item(0)).height();
    EXPECT_GT(list.visualItemRect(list.item(1)).height(), plain);
    EXPECT_EQ(list.visualItemRect(list.item(2)).height(), plain);

    WriteText("results.sbp", "&r = 1\r\n&s = 2\r\n");
    ASSERT_TRUE(Window->RunFileForResults(FilePath("results.sbp")));
    EXPECT_EQ(Rows(), (QStringList{"&r = 1", "&s = 2"}));
    EXPECT_TRUE(list.uniformItemSizes());
}

} // namespace
