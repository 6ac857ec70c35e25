// Texts of ten million characters through the run: the messages window, the
// variables list and the error box that quotes such a line show them cut, Save writes
// what the window shows, and Stop ends a loop of such lines at once.

#include "../RunTestSupport.h"

#include "app/run/MessagesForm.h"
#include "platform/gui/QtDialogResponder.h"
#include "platform/gui/QtMessageBox.h"
#include "platform/gui/QtShownText.h"

#include "../../support/NonRegularFiles.h"
#include "../../support/WhenModalShown.h"

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

namespace {

class MessagesGui : public TRunTest {
protected:
    MessagesGui() { FMessages = &Messages; }
    ~MessagesGui() override { FMessages = nullptr; }

    TFMessages Messages;
    const std::string A = std::string(10'000'000, 'A'), B = std::string(10'000'000, 'B');
};

TEST_F(MessagesGui, ALongPrintShowsCutAndSavesWhatItShows)
{
    OpenProgram("long.sbp", "&v = \"" + B + "\"\r\nPRINT \"" + A + "\"\r\nPRINT \"still here\"\r\n");
    SetSimulate(false);
    Run();
    const QStringList shown{ShownText(QString::fromStdString(A)), "still here"};
    EXPECT_TRUE(shown[0].endsWith(" ... (9995000 characters not shown) ... " + QString(ShownTailLength, 'A')))
        << shown[0].right(250).toStdString();
    EXPECT_EQ(Messages.Lines(), shown);
    EXPECT_EQ(Messages.RichEditMessages->toPlainText(), shown.join('\n'));
    ASSERT_EQ(Window->lbVariables->count(), 1);
    EXPECT_EQ(Window->lbVariables->item(0)->text(), ShownText(QString::fromStdString("&v = \"" + B + "\"")));
    Dialogs.ExpectSave(Path("out.txt"));
    Messages.ButtonSaveClick();
    EXPECT_EQ(ReadText("out.txt"), (shown.join("\r\n") + "\r\n").toStdString());
}

// Save writes beside the chosen file and renames over it: onto a device node or a pipe,
// by its own name or through a link, that would put a regular file in its place.
TEST_F(MessagesGui, SaveRefusesWhatIsNoRegularFileAndLeavesItAsItWas)
{
    const testsupport::TNonRegularFiles targets(folder);
    ASSERT_TRUE(targets.Made());
    Messages.AddMessage("kept");
    for (const auto& target : targets.Entries) {
        Dialogs.ExpectSave(targets.Path(target));
        Dialogs.ExpectMessage(targets.Refusal(target), TModalResult::mrOk);
        Messages.ButtonSave->click();
        EXPECT_TRUE(targets.Unchanged()) << target.Name;
    }
    EXPECT_EQ(Dialogs.Shown.size(), targets.Entries.size());
    EXPECT_EQ(Messages.Lines(), QStringList{"kept"});
    EXPECT_FALSE(targets.Waited());
    // A link to a regular file stays a link, and the file takes the lines.
    WriteText("out.txt", "old");
    std::filesystem::create_symlink("out.txt", folder / "link.txt");
    Dialogs.ExpectSave(Path("link.txt"));
    Messages.ButtonSave->click();
    EXPECT_EQ(ReadText("out.txt"), "kept\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
}

// The box the user sees, through the running application's own responder.
TEST_F(MessagesGui, ARunErrorQuotingALongLineShowsItsBoxCut)
{
    TQtDialogResponder boxes;
    const TDialogResponderScope scope(&boxes);
    OpenProgram("goto.sbp", "GOTO " + A + "\r\n");
    QString shown;
    {
        const testsupport::TWhenModalShown<TQtMessageBox> answer([&](TQtMessageBox& box) {
            shown = box.Text();
            box.Button(QDialogButtonBox::Ok)->click();
        });
        Run();
    }
    const QString start = "Cannot find the label \"";
    // The end stays in sight: the line the error names.
    const QString end = "\" (line: 1)";
    EXPECT_EQ(shown, start + QString(MaxShownTextLength - ShownTailLength - start.size(), 'A') +
                         " ... (9995034 characters not shown) ... " + QString(ShownTailLength - end.size(), 'A') + end);
}

// A line costs in proportion to its text and to the variables' text the list is
// refreshed from after it; either long, the run looks at the clock at every line.
TEST_F(MessagesGui, StopEndsALoopOfLongLinesAtTheNextLine)
{
    TMovingClock moving(Clock);
    TClockSourceScope scope(&moving);
    SetSimulate(false);
    for (const std::string& start :
         {"again:\r\nPRINT \"" + A + "\"\r\n", "&v = \"" + B + "\"\r\nagain:\r\nPRINT \"x\"\r\n"}) {
        Messages.ButtonClearClick();
        OpenProgram("loop" + std::to_string(start.size()) + ".sbp", start + "GOTO again\r\n");
        // Stop comes at the second event pass, once the first long line is behind.
        int passes = 0;
        QTimer atPass;
        QObject::connect(&atPass, &QTimer::timeout, [&] {
            if (++passes == 2) {
                Window->actStop->Execute();
            }
        });
        atPass.start(0);
        Run();
        // Counting lines alone would print 128 lines between two passes.
        EXPECT_LE(Messages.Lines().size(), 2) << start.substr(0, 10);
    }
}

} // namespace
