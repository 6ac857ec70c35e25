// Texts of ten million characters through the run: the messages window, the
// variables list and the error box that quotes such a line show them cut, Save and
// every copy give them whole, and Stop ends a loop of such lines at once.

#include "../ClipboardTestSupport.h"
#include "../RunTestSupport.h"

#include "app/run/MessagesForm.h"
#include "platform/gui/QtDialogResponder.h"
#include "platform/gui/QtMessageBox.h"
#include "platform/gui/QtShownText.h"

#include "../../support/NonRegularFiles.h"
#include "../../support/WhenModalShown.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

class MessagesGui : public TRunTest {
protected:
    MessagesGui() { FMessages = &Messages; }
    ~MessagesGui() override { FMessages = nullptr; }

    // Texts of millions of characters compared without printing them.
    static testing::AssertionResult SameText(const std::string& got, const std::string& expected)
    {
        if (got == expected) {
            return testing::AssertionSuccess();
        }
        const auto differ = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
        return testing::AssertionFailure() << got.size() << " bytes instead of " << expected.size()
                                           << ", first difference at " << (differ.first - got.begin()) << ": \""
                                           << got.substr(static_cast<std::size_t>(differ.first - got.begin()), 40)
                                           << "\" instead of \""
                                           << expected.substr(static_cast<std::size_t>(differ.first - got.begin()), 40)
                                           << "\"";
    }

    TTestClipboard Copied;
    TFMessages Messages;
    const std::string A = std::string(10'000'000, 'A'), B = std::string(10'000'000, 'B');
};

TEST_F(MessagesGui, ALongPrintShowsCutAndIsSavedAndCopiedWhole)
{
    OpenProgram("long.sbp", "&v = \"" + B + "\"\r\nPRINT \"" + A + "\"\r\nPRINT \"still here\"\r\n");
    SetSimulate(false);
    Run();
    const QStringList printed{QString::fromStdString(A), "still here"};
    const QString shown = ShownText(printed[0]);
    EXPECT_TRUE(shown.endsWith(" ... (9995000 characters not shown) ... " + QString(ShownTailLength, 'A')))
        << shown.right(250).toStdString();
    EXPECT_TRUE(Messages.Lines() == printed) << "the lines are kept whole";
    EXPECT_EQ(Messages.RichEditMessages->toPlainText(), shown + "\nstill here");
    ASSERT_EQ(Window->lbVariables->count(), 1);
    EXPECT_EQ(Window->lbVariables->item(0)->text(), ShownText(QString::fromStdString("&v = \"" + B + "\"")));
    Dialogs.ExpectSave(Path("out.txt"));
    Messages.ButtonSaveClick();
    EXPECT_TRUE(SameText(ReadText("out.txt"), A + "\r\nstill here\r\n"));

    QTest::keyClick(Messages.RichEditMessages, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Messages.RichEditMessages, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(SameText(Copied.Text(), A + "\nstill here"));
    Window->lbVariables->setCurrentRow(0);
    QTest::keyClick(Window->lbVariables, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(SameText(Copied.Text(), "&v = \"" + B + "\""));
}

// What PRINT gives, at the lengths around the cut, with a line break or characters of
// two UTF-16 units in it, is what Save writes (CR LF after each line) and what a copy
// of the whole window gives ("\n" between lines), also into a file of the longest name.
TEST_F(MessagesGui, PrintsOfEveryLengthAreSavedAndCopiedAsPrinted)
{
    const std::string pair = "\xF0\x9F\x98\x80"; // U+1F600
    const std::string head(MaxShownTextLength - ShownTailLength - 1, 'h');
    struct TCase {
        const char* Name;
        std::string Before; // program lines before the PRINT
        std::string Printed;
        bool Cut;
    };
    const std::vector<TCase> cases = {
        {"empty", "", "", false},
        {"as long as its cut", "", std::string(MaxShownTextLength + 35, 'c'), false},
        {"one longer than its cut", "", std::string(MaxShownTextLength + 36, 'd'), true},
        {"ten kilobytes", "", std::string(10'240, 'e'), true},
        {"pairs across both cuts", "", head + pair + std::string(6000, 'm') + pair + std::string(199, 't'), true},
        {"a CR LF and a lone LF in it", "&v = \"P\" | char(13) | char(10) | \"Q\" | char(10) | \"R\"\r\n",
         "P\r\nQ\nR", false},
        {"a CR LF in a long one", "&v = \"P\" | char(13) | char(10) | \"" + std::string(10'000, 'Q') + "\"\r\n",
         "P\r\n" + std::string(10'000, 'Q'), true},
    };
    SetSimulate(false);
    const std::string longestName = std::string(251, 'n') + ".txt";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Messages.ButtonClearClick();
        const bool fromVariable = !c.Before.empty();
        OpenProgram(std::string("print-") + c.Name + ".sbp",
                    c.Before + (fromVariable ? "PRINT &v" : "PRINT \"" + c.Printed + "\"") + "\r\nPRINT \"end\"\r\n");
        Run();
        ASSERT_EQ(Messages.Lines().size(), 2);
        EXPECT_TRUE(SameText(Messages.Lines()[0].toStdString(), c.Printed));
        EXPECT_EQ(Messages.RichEditMessages->toPlainText().contains("characters not shown"), c.Cut);
        for (const std::string& name : {std::string("out.txt"), longestName}) {
            Dialogs.ExpectSave(Path(name));
            Messages.ButtonSaveClick();
            EXPECT_TRUE(SameText(ReadText(name), c.Printed + "\r\nend\r\n")) << name.size();
        }
        QTest::keyClick(Messages.RichEditMessages, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Messages.RichEditMessages, Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(SameText(Copied.Text(), c.Printed + "\nend"));
    }
}

// A selection of what the window shows is copied with its lines whole: a cut note,
// selected even in part, gives all it left out; the break between two lines is "\n",
// one inside a line stays as printed. Ctrl+C, Ctrl+Insert and the context menu's Copy
// go through the clipboard service; the selection Qt hands on (the X11 selection, a
// drag) holds the same.
TEST_F(MessagesGui, ASelectionIsCopiedWithItsLinesWhole)
{
    QString alphabet;
    for (int i = 0; i < 10'240; ++i) {
        alphabet += QChar(u'a' + i % 26);
    }
    // Lines that print nothing keep their places, also before any other.
    const QStringList lines{"", "", "short", alphabet, "x\r\ny", "", "end"};
    for (const QString& line : lines) {
        Messages.AddMessage(line);
    }
    const qsizetype head = MaxShownTextLength - ShownTailLength;
    const qsizetype note = ShownText(alphabet).size() - MaxShownTextLength;
    const qsizetype tail = alphabet.size() - ShownTailLength; // where the end shown starts, whole
    // Where each line starts in what shows: a paragraph each, a CR LF one break.
    const qsizetype l0 = 2, l1 = l0 + 6, l2 = l1 + head + note + ShownTailLength + 1, l3 = l2 + 4, l4 = l3 + 1;
    ASSERT_EQ(Messages.RichEditMessages->toPlainText(), "\n\nshort\n" + ShownText(alphabet) + "\nx\ny\n\nend");
    struct TCase {
        const char* Name;
        qsizetype From, To;
        QString Copied;
    };
    const std::vector<TCase> cases = {
        {"within a short line", l0 + 1, l0 + 3, "ho"},
        {"everything", 0, l4 + 3, lines.join('\n')},
        {"the empty lines", 0, l0 + 1, "\n\ns"},
        {"the shown start of a long line", l1 + 10, l1 + 20, alphabet.mid(10, 10)},
        {"into the note", l1 + head - 10, l1 + head + 5, alphabet.mid(head - 10, tail - head + 10)},
        {"from inside the note", l1 + head + 5, l1 + head + note + 3, alphabet.mid(head, tail - head + 3)},
        {"the note alone", l1 + head, l1 + head + note, alphabet.mid(head, tail - head)},
        {"up to the note", l1 + head - 3, l1 + head, alphabet.mid(head - 3, 3)},
        {"from after the note", l1 + head + note, l1 + head + note + 4, alphabet.mid(tail, 4)},
        {"the shown end", l1 + head + note + 10, l2 - 1, alphabet.right(ShownTailLength - 10)},
        {"across two lines", l0 + 3, l1 + 2, "rt\nab"},
        {"a long line whole and the break after it", l1, l2, alphabet + "\n"},
        {"a line holding CR LF", l2, l2 + 3, "x\r\ny"},
        {"its CR LF alone", l2 + 1, l2 + 2, "\r\n"},
        {"over an empty line", l2 + 2, l4 + 1, "y\n\ne"},
        {"nothing", l0 + 2, l0 + 2, ""},
    };
    const auto select = [&](qsizetype from, qsizetype to) {
        QTextCursor cursor = Messages.RichEditMessages->textCursor();
        cursor.setPosition(static_cast<int>(from));
        cursor.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
        Messages.RichEditMessages->setTextCursor(cursor);
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Copied.Set("before");
        select(c.From, c.To);
        QTest::keyClick(Messages.RichEditMessages, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(Copied.Text(), c.From == c.To ? "before" : c.Copied.toStdString()) << "Ctrl+C";
        // Backwards, by Ctrl+Insert.
        Copied.Set("before");
        select(c.To, c.From);
        QTest::keyClick(Messages.RichEditMessages, Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_EQ(Copied.Text(), c.From == c.To ? "before" : c.Copied.toStdString()) << "Ctrl+Insert";
        if (c.From != c.To) {
            Messages.RichEditMessages->copy();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), c.Copied) << "Qt's copy";
        }
    }

    // The context menu's Copy.
    select(l1 + head - 1, l1 + head + 1);
    Copied.Set("before");
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        auto* copy = menu->findChild<QAction*>(QStringLiteral("edit-copy"));
        ASSERT_NE(copy, nullptr);
        copy->trigger();
        menu->close();
    });
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(5, 5), Messages.RichEditMessages->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(Messages.RichEditMessages->viewport(), &menuEvent);
    EXPECT_EQ(Copied.Text(), alphabet.mid(head - 1, tail - head + 1).toStdString());
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
