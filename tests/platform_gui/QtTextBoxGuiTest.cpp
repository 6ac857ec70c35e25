// The message and input boxes as the user works them: keys, Tab, copying, what assistive
// technology is told, and how wide a box grows for a long word.

#include "platform/gui/QtBoxTextView.h"
#include "platform/gui/QtDialogResponder.h"
#include "platform/gui/QtInputBox.h"
#include "platform/gui/QtMessageBox.h"

#include "../support/SettledWindow.h"
#include "../support/WhenModalShown.h"
#include "../support/WithoutTypeInfo.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using testsupport::TWhenModalShown;

constexpr TMsgDlgButtons YesNoCancel = mbYes | mbNo | mbCancel;

void Click(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
}

// The lines the view laid its text out in: where each starts in the document, its length
// and its width.
struct TShownLine {
    int Start;
    int Length;
    qreal Width;
};
std::vector<TShownLine> ShownLines(const TQtBoxTextView& view)
{
    std::vector<TShownLine> lines;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout& layout = *block.layout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            lines.push_back({block.position() + line.textStart(), line.textLength(), line.naturalTextWidth()});
        }
    }
    return lines;
}

// Whether the document's characters [start, start + length) lie on one line.
bool OnOneLine(const TQtBoxTextView& view, int start, int length)
{
    for (const TShownLine& line : ShownLines(view)) {
        if (line.Start <= start && start + length <= line.Start + line.Length) {
            return true;
        }
    }
    return false;
}

TEST(QtMessageBoxGui, AButtonsLetterAnswersWithOrWithoutAlt)
{
    struct TCase {
        TMsgDlgButtons Buttons;
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        bool Answers;
        TModalResult Answer;
    };
    const TCase cases[] = {
        {YesNoCancel, Qt::Key_Y, Qt::NoModifier, true, TModalResult::mrYes},
        {YesNoCancel, Qt::Key_N, Qt::NoModifier, true, TModalResult::mrNo},
        {YesNoCancel, Qt::Key_N, Qt::ShiftModifier, true, TModalResult::mrNo},
        {YesNoCancel, Qt::Key_Y, Qt::AltModifier, true, TModalResult::mrYes},
        {YesNoCancel, Qt::Key_N, Qt::AltModifier, true, TModalResult::mrNo},
        {mbYes | mbNo, Qt::Key_N, Qt::NoModifier, true, TModalResult::mrNo},
        // No button's letter, or with Ctrl: the box stays.
        {YesNoCancel, Qt::Key_X, Qt::NoModifier, false, TModalResult::mrCancel},
        {YesNoCancel, Qt::Key_Y, Qt::ControlModifier, false, TModalResult::mrCancel},
        {mbOK, Qt::Key_Y, Qt::NoModifier, false, TModalResult::mrOk},
    };
    TQtDialogResponder responder;
    for (const TCase& c : cases) {
        const QString key = QKeySequence(c.Key | c.Modifiers).toString();
        SCOPED_TRACE(testing::Message() << c.Buttons << " " << key.toStdString());
        bool stayed = false;
        const TWhenModalShown<TQtMessageBox> answer([&](TQtMessageBox& box) {
            if (const QPushButton* yes = box.Button(QDialogButtonBox::Yes)) {
                EXPECT_EQ(yes->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Y)) << yes->text().toStdString();
            }
            Click(c.Key, c.Modifiers);
            // Alt+letter clicks as a shortcut does, after showing the button pressed for
            // a tenth of a second: a box that answers goes once that click came, one
            // that does not is still there after five such times.
            if (c.Answers) {
                testsupport::WaitFor([&] { return !box.isVisible(); });
            } else {
                testsupport::RunEventLoopPast(std::chrono::milliseconds(500));
            }
            stayed = box.isVisible();
            if (stayed) {
                Click(Qt::Key_Escape);
            }
        });
        EXPECT_EQ(responder.MessageDlg("The text in the \"part.sbp\" file has changed.\r\n\r\n"
                                       "Do you want to save the modifications?",
                                       TMsgDlgType::mtConfirmation, c.Buttons),
                  c.Answer);
        EXPECT_EQ(stayed, !c.Answers);
    }
}

// Qt's input dialog answered no bare letter either: the line edit takes them.
TEST(QtInputBoxGui, TypedLettersGoToTheLineEdit)
{
    TQtDialogResponder responder;
    const TWhenModalShown<TQtInputBox> answer([](TQtInputBox& box) {
        EXPECT_EQ(QApplication::focusWidget(), &box.Edit());
        QTest::keyClicks(QApplication::focusWidget(), "yon c");
        Click(Qt::Key_Return);
    });
    std::string value = "7";
    EXPECT_TRUE(responder.InputQuery("", "Name?", value));
    EXPECT_EQ(value, "yon c");
}

// The line edit takes text of any length, the initial value's and a pasted one: a line
// edit cuts both to 32,767 characters unless told otherwise.
TEST(QtInputBoxGui, TextOfAnyLengthComesBackWhole)
{
    const std::string initial(40000, 'i');
    const QString pasted(50000, QLatin1Char('p'));
    TQtDialogResponder responder;
    struct TCase {
        const char* what;
        std::function<void(QLineEdit&)> edit;
        std::string expected;
    };
    const TCase cases[] = {
        {"the initial value", [](QLineEdit&) {}, initial},
        {"a paste after it", [&](QLineEdit& edit) { edit.end(false); edit.insert(pasted); },
         initial + pasted.toStdString()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TWhenModalShown<TQtInputBox> answer([&](TQtInputBox& box) {
            c.edit(box.Edit());
            Click(Qt::Key_Return);
        });
        std::string value = initial;
        EXPECT_TRUE(responder.InputQuery("", "Text?", value));
        EXPECT_EQ(value, c.expected);
    }
}

// Tab and Shift+Tab go round the buttons (and the line edit) and nothing else, so the
// focus is always on a control that shows it: no fourth stop after Cancel.
TEST(QtTextBoxGui, TabWalksTheButtonsAndTheLineEditOnly)
{
    const QString text = "The text in the \"part.sbp\" file has changed. " + QString(3000, 'x');
    for (const bool input : {false, true}) {
        SCOPED_TRACE(input ? "input box" : "message box");
        TQtMessageBox message(nullptr, "Kerfpad", TMsgDlgType::mtConfirmation, text, YesNoCancel);
        TQtInputBox prompt(nullptr, "Kerfpad", text, "7");
        TQtTextBox& box = input ? static_cast<TQtTextBox&>(prompt) : message;
        box.FitTo({0, 0, 1024, 768});
        box.show();
        QApplication::setActiveWindow(&box);
        ASSERT_TRUE(testsupport::WaitForSettledWindow(box, [&] { return QApplication::activeWindow() == &box; }));
        std::vector<QWidget*> stops;
        for (QPushButton* button : box.findChildren<QPushButton*>()) {
            stops.push_back(button);
        }
        if (input) {
            stops.push_back(&prompt.Edit());
        }
        for (const Qt::KeyboardModifiers way : {Qt::NoModifier, Qt::ShiftModifier}) {
            std::vector<QWidget*> walked;
            for (std::size_t i = 0; i < 2 * stops.size(); ++i) {
                Click(Qt::Key_Tab, way);
                QWidget* focus = QApplication::focusWidget();
                EXPECT_NE(std::find(stops.begin(), stops.end(), focus), stops.end())
                    << (focus != nullptr ? focus->metaObject()->className() : "nothing") << " after " << i + 1;
                walked.push_back(focus);
            }
            // Each stop once a round, the same round again.
            EXPECT_TRUE(std::is_permutation(stops.begin(), stops.end(), walked.begin()));
            EXPECT_TRUE(std::equal(walked.begin(), walked.begin() + stops.size(), walked.begin() + stops.size()));
        }
    }
}

// What is copied from the box is the text as given, wherever the view wrapped it: by
// Ctrl+C (the selection, else the whole text) and by the view's own copy (its menu).
TEST(QtTextBoxGui, CopyingGivesTheTextAsGiven)
{
    const QString noBreak = QString::fromUtf16(u"10\u00A0mm");
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const QString save = "The text in the \"part.sbp\" file has changed.\r\n\r\nDo you want to save the modifications?";
    const QString missing = "Cannot find file: /home/user/parts/" + QString(100, 'p') + ".sbp";
    const QString word = QString(3000, 'W');
    struct TCase {
        QString Text;
        qsizetype From; // the selection, none when equal to To
        qsizetype To;
        QString Copied;
    };
    const TCase cases[] = {
        {save, 0, 0, save},
        {save, 0, save.size(), save},
        {save, 39, 50, "nged.\r\n\r\nDo"},
        {"a\rb\nc", 0, 5, "a\rb\nc"},
        {"Move " + noBreak + " now", 5, 10, noBreak},
        {missing, 18, missing.size(), missing.mid(18)},
        {missing, 28, 34, "/parts"},
        {"see " + word + " end", 4, 3004, word},
        {pair.repeated(500), 2, 6, pair.repeated(2)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Copied.left(40).toStdString());
        TQtMessageBox box(nullptr, "Kerfpad", TMsgDlgType::mtInformation, c.Text, mbOK);
        box.FitTo({0, 0, 1024, 768});
        box.show();
        QApplication::setActiveWindow(&box);
        TQtBoxTextView& view = box.TextView();
        view.Select(c.From, c.To);
        QApplication::clipboard()->clear();
        Click(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), c.Copied);
        EXPECT_TRUE(box.isVisible());
        if (c.To != c.From) {
            QApplication::clipboard()->clear();
            view.copy();
            EXPECT_EQ(QApplication::clipboard()->text(), c.Copied);
        }
    }
}

// The mouse selects in the text while the keyboard stays with the buttons.
TEST(QtTextBoxGui, TheMouseSelectsTheTextAndTheFocusStays)
{
    const QString text = "Cannot find file: /home/user/parts/missing.sbp";
    TQtMessageBox box(nullptr, "Kerfpad", TMsgDlgType::mtError, text, mbOK);
    box.FitTo({0, 0, 1024, 768});
    box.show();
    QApplication::setActiveWindow(&box);
    ASSERT_TRUE(testsupport::WaitForSettledWindow(box, [&] { return QApplication::activeWindow() == &box; }));
    QWidget* focus = QApplication::focusWidget();
    QWidget* viewport = box.TextView().viewport();
    const int middle = viewport->height() / 2;
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(1, middle));
    QTest::mouseMove(viewport, QPoint(viewport->width() - 1, middle));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(viewport->width() - 1, middle));
    EXPECT_EQ(box.TextView().SelectedText(), text);
    EXPECT_EQ(QApplication::focusWidget(), focus);
    EXPECT_EQ(focus, box.Button(QDialogButtonBox::Ok));
}

TEST(QtMessageBoxGui, AMessageBoxIsAnnouncedAsAnAlertWithItsText)
{
    struct TCase {
        QString Caption;
        QString Name;
    };
    const QString text = "Cannot find file: part.sbp";
    for (const TCase& c : {TCase{"Kerfpad", "Kerfpad"}, TCase{"", text}}) {
        TQtMessageBox box(nullptr, c.Caption, TMsgDlgType::mtError, text, mbOK);
        box.show();
        QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(&box);
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
        EXPECT_EQ(alert->text(QAccessible::Value), text);
        EXPECT_EQ(alert->text(QAccessible::Name), c.Name);
    }
    TQtInputBox input(nullptr, "Kerfpad", "Name?", "");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&input)->role(), QAccessible::Dialog);
}

// The factory that makes a box an alert is asked about every object once a box has
// shown; the web engine's are built without type information, and a cast of one ended
// the process as a web page took the focus. The others get the toolkit's own answer.
TEST(QtMessageBoxGui, TheAlertFactoryAnswersForLiveBoxesOnly)
{
    TWithoutTypeInfo foreign;
    QWidget plain;
    {
        TQtMessageBox box(nullptr, "Kerfpad", TMsgDlgType::mtError, "File not found", mbOK);
        box.show();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&box)->role(), QAccessible::AlertMessage);
    }
    foreign.Show(QSize(200, 100));
    // Its showing delivered: the factory has met it.
    ASSERT_TRUE(testsupport::DeliverPostedEvents());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(foreign.Object()), nullptr);
    for (QWidget* other : {foreign.Widget(), &plain}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(other);
        ASSERT_NE(accessible, nullptr);
        EXPECT_NE(accessible->role(), QAccessible::AlertMessage);
    }
    // A box made where the last one stood is an alert again, with its own text.
    TQtMessageBox next(nullptr, "Kerfpad", TMsgDlgType::mtWarning, "Second", mbOK);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&next)->text(QAccessible::Value), "Second");
}

// An error naming a path of 140 characters: the box grows to show the path whole where
// the screen allows it (Qt's own box was 751 pixels wide on a 1,600-pixel screen), and
// wraps it where it does not, the text unchanged.
TEST(QtTextBoxGui, ALongPathStaysWholeWhereTheScreenAllows)
{
    const QString path = "/home/user/" + QString(125, 'p') + ".sbp";
    ASSERT_EQ(path.size(), 140);
    const QString text = "Cannot find file: " + path;
    const int start = static_cast<int>(text.indexOf(path));
    struct TCase {
        QRect Area;
        bool Whole;
    };
    for (const TCase& c : {TCase{{0, 0, 1600, 1000}, true}, TCase{{0, 0, 480, 640}, false}}) {
        SCOPED_TRACE(c.Area.width());
        TQtMessageBox box(nullptr, "Kerfpad", TMsgDlgType::mtError, text, mbOK);
        box.FitTo(c.Area);
        box.show();
        ASSERT_TRUE(testsupport::WaitForSettledWindow(box));
        const TQtBoxTextView& view = box.TextView();
        EXPECT_TRUE(c.Area.contains(box.frameGeometry()));
        EXPECT_EQ(OnOneLine(view, start, static_cast<int>(path.size())), c.Whole);
        for (const TShownLine& line : ShownLines(view)) {
            EXPECT_LE(line.Width, view.viewport()->width());
        }
        if (c.Whole) {
            EXPECT_GE(view.width(), QFontMetrics(view.font()).horizontalAdvance(path));
        }
    }
}

// The guard every box test runs under: a box that the key meant to close leaves open
// fails its test and is closed, instead of holding the test until CTest's time-out.
TEST(QtTextBoxGui, ABoxAKeyFailsToCloseFailsItsTestWithinSeconds)
{
    EXPECT_NONFATAL_FAILURE(
        {
            TQtDialogResponder responder;
            const TWhenModalShown<TQtMessageBox> answer([](TQtMessageBox&) { Click(Qt::Key_X); },
                                                        std::chrono::milliseconds(300));
            EXPECT_EQ(responder.MessageDlg("Go on?", TMsgDlgType::mtWarning, mbYes | mbRetry), TModalResult::mrCancel);
        },
        "the box stayed open");
}

} // namespace
