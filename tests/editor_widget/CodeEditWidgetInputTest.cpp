// The editor widget driven as a user drives it: keys, text, the mouse, the wheel, the
// scroll bars, the focus, the input method, the clipboard and drops, on the offscreen
// platform.
#include "../support/QtTestApp.h"
#include "../support/ScriptedDialogs.h"
#include "editor/completion/CodeCompletionProposal.h"
#include "editor/widget/CodeCompletionPopup.h"
#include "editor/widget/CodeEditScrollHintWindow.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/core/graphics/SystemColors.h"
#include "platform/gui/QtClipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {

class CodeEditWidgetInputGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        widget.resize(600, 300);
        widget.show();
        Focus(widget);
    }
    static void Focus(TCodeEditWidget& w)
    {
        w.activateWindow();
        w.setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(testsupport::WaitFor([&w] { return w.hasFocus(); })) << "the editor has the focus";
    }
    void Open(const QStringList& lines) { editor.Lines().SetText(lines.join(QLatin1Char('\n'))); }
    QString Text() const { return editor.Lines().ToStringList().join(QLatin1Char('|')); }
    // The viewport point in the middle of a cell's left half.
    QPoint Cell(int column, int line) const
    {
        return QPoint(editor.TextOffset() + (column - 1) * editor.CharWidth() + 2,
                      (line - editor.TopLine()) * editor.LineHeight() + editor.LineHeight() / 2);
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent e(type, at, widget.viewport()->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, mods);
        QCoreApplication::sendEvent(widget.viewport(), &e);
    }
    void Click(QPoint at, Qt::KeyboardModifiers mods = {})
    {
        Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton, mods);
    }

    TScriptedDialogs dialogs;
    TDialogResponderScope dialogScope{&dialogs};
    TCodeEditWidget widget;
    TCodeEdit& editor = widget.Editor();
};

TEST_F(CodeEditWidgetInputGui, KeysAndChordsReachTheModel)
{
    QTest::keyClicks(&widget, QStringLiteral("M3,1.5"));
    EXPECT_EQ(Text(), QStringLiteral("M3,1.5"));
    QTest::keyClick(&widget, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&widget, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(editor.GetSelText(), QStringLiteral(".5"));
    QTest::keyClick(&widget, Qt::Key_Delete);
    QTest::keyClick(&widget, Qt::Key_Return);
    QTest::keyClicks(&widget, QStringLiteral("JZ"));
    EXPECT_EQ(Text(), QStringLiteral("M3,1|JZ")) << "Delete and Enter type no characters of their own";
    // Alt+Backspace is the editor's (undo), never a shortcut or a character.
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_Backspace, Qt::AltModifier);
    QCoreApplication::sendEvent(&widget, &override);
    EXPECT_TRUE(override.isAccepted());
    QTest::keyClick(&widget, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(Text(), QStringLiteral("M3,1|"));
    // A surrogate pair typed by one key is one character.
    QKeyEvent pair(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xF0\x9F\x98\x80"));
    QCoreApplication::sendEvent(&widget, &pair);
    EXPECT_EQ(editor.LineAt(2), QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(editor.CaretX(), 3);
}

TEST_F(CodeEditWidgetInputGui, TabIsTheEditorsUnderWantTabsButCtrlTabMovesOn)
{
    QWidget window;
    auto* page = new TCodeEditWidget(&window);
    auto* other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    window.show();
    page->Editor().Lines().SetText(QStringLiteral("x"));
    for (const auto& [wantTabs, mods, stays] : {std::tuple{true, Qt::NoModifier, true},
                                                std::tuple{true, Qt::ControlModifier, false},
                                                std::tuple{false, Qt::NoModifier, false}}) {
        Focus(*page);
        page->Editor().SetWantTabs(wantTabs);
        QTest::keyClick(page, Qt::Key_Tab, mods);
        EXPECT_EQ(page->hasFocus(), stays) << wantTabs << " " << mods;
    }
    EXPECT_NE(page->Editor().GetText(), QStringLiteral("x")) << "the kept Tab indented";
}

TEST_F(CodeEditWidgetInputGui, MouseSelectsByPressDragShiftClickAndDoubleClick)
{
    Open({"G0 move here", "second line"});
    Mouse(QEvent::MouseButtonPress, Cell(4, 1), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Cell(8, 2), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Cell(8, 2), Qt::NoButton);
    EXPECT_EQ(editor.GetSelText(), QStringLiteral("move here\r\nsecond "));
    Click(Cell(2, 1));
    Click(Cell(6, 2), Qt::ShiftModifier);
    EXPECT_EQ(editor.GetSelText(), QStringLiteral("0 move here\r\nsecon"));
    Click(Cell(6, 1));
    Mouse(QEvent::MouseButtonDblClick, Cell(6, 1), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Cell(6, 1), Qt::NoButton);
    EXPECT_EQ(editor.GetSelText(), QStringLiteral("move"));
}

TEST_F(CodeEditWidgetInputGui, WheelAndScrollBarsMoveTheView)
{
    Open({"G0"});
    EXPECT_FALSE(widget.verticalScrollBar()->isEnabled()) << "both arrows off: nothing to scroll";
    editor.Lines().SetText(QStringLiteral("G0\n").repeated(100000));
    EXPECT_TRUE(widget.verticalScrollBar()->isEnabled());
    QWheelEvent wheel(QPointF(50, 50), widget.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget.viewport(), &wheel);
    EXPECT_EQ(editor.TopLine(), 1 + QApplication::wheelScrollLines());

    QScrollBar* bar = widget.verticalScrollBar();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), ScrollBarMaxRange - bar->pageStep() + 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(editor.TopLine(), 1 + QApplication::wheelScrollLines() + editor.LinesInWindow());
    // Dragging the thumb: the scaled position gives the line, the hint names it.
    bar->setSliderDown(true);
    bar->setSliderPosition(16384);
    const int expected = ThumbToTopLine(16384, 100000, editor.LinesInWindow(), editor.Options());
    EXPECT_EQ(editor.TopLine(), expected);
    EXPECT_TRUE(TCodeEditScrollHintWindow::Visible());
    EXPECT_EQ(TCodeEditScrollHintWindow::Text(), QStringLiteral("Top Line: %1").arg(expected));
    bar->setSliderDown(false);
    EXPECT_EQ(editor.TopLine(), expected) << "released where it was dragged, not read back through the scale";
    EXPECT_FALSE(TCodeEditScrollHintWindow::Visible());
    EXPECT_EQ(bar->value(), editor.ScrollInfo(sbVertical).position);
    // The wheel over the bar scrolls lines as over the text, and leaves no hint behind.
    QWheelEvent overBar(QPointF(2, 50), bar->mapToGlobal(QPointF(2, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(bar, &overBar);
    EXPECT_EQ(editor.TopLine(), expected + QApplication::wheelScrollLines());
    EXPECT_FALSE(TCodeEditScrollHintWindow::Visible());
    bar->triggerAction(QAbstractSlider::SliderMove); // what the bar does alone (its own keys)
    EXPECT_FALSE(TCodeEditScrollHintWindow::Visible());

    // ScrollBars and BorderStyle become bar policies and the frame.
    editor.SetScrollBars(TScrollStyle::ssHorizontal);
    editor.SetOptions(editor.Options().With(eoHideShowScrollbars));
    editor.SetBorderStyle(bsNone);
    EXPECT_EQ(widget.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(widget.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(widget.frameShape(), QFrame::NoFrame);
}

TEST_F(CodeEditWidgetInputGui, FocusDispatchesItsCommandsAndTheCaretIsDrawnInItsShape)
{
    std::vector<int> commands;
    editor.OnCommandProcessed = [&](TObject*, TCodeEditorCommand& c, QChar&, const TCodeEditCommandData&) {
        if (c == 700 || c == 701) {
            commands.push_back(c);
        }
    };
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.activateWindow();
    other.setFocus();
    ASSERT_TRUE(testsupport::WaitFor([&] { return !widget.hasFocus(); })) << "the other window has the focus";
    Focus(widget);
    EXPECT_EQ(commands, (std::vector<int>{701, 700}));

    // The caret inverts the white under it; row 3 lies below its top and above the ink
    // of these letters. Inserting: 2 pixels left of the cell; overwriting: the cell.
    Open({"ace"});
    editor.SetCaretXY({2, 1});
    const int x = editor.TextOffset() + editor.CharWidth();
    const auto row = [&] {
        const QImage shot = widget.viewport()->grab().toImage();
        std::string cells;
        for (int px = x - 2; px <= x + editor.CharWidth(); ++px) {
            cells += shot.pixelColor(px, 3).lightness() < 60 ? '#' : '.';
        }
        return cells;
    };
    EXPECT_EQ(row(), ".##" + std::string(editor.CharWidth(), '.'));
    QTest::keyClick(&widget, Qt::Key_Insert);
    EXPECT_EQ(row(), ".." + std::string(editor.CharWidth(), '#') + ".");
}

TEST_F(CodeEditWidgetInputGui, ColumnBlocksKeepTheirModeAcrossWidgetsPlainTextPastesNormallyFailuresAreReported)
{
    TQtClipboard clipboard;
    TClipboardScope scope(&clipboard);
    Open({"abcdef", "ghijkl"});
    editor.SetSelectionMode(smColumn);
    editor.SetBlockBegin({2, 1});
    editor.SetBlockEnd({4, 2});
    widget.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("bc\r\nhi"));

    TCodeEditWidget second;
    second.show();
    second.Editor().Lines().SetText(QStringLiteral("1234\n5678"));
    second.Editor().SetCaretXY({3, 1});
    Focus(second);
    QTest::keyClick(&second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second.Editor().Lines().ToStringList().join('|'), QStringLiteral("12bc34|56hi78"));

    QGuiApplication::clipboard()->setText(QStringLiteral("x\ny"));
    second.Editor().SetCaretXY({1, 1});
    second.paste();
    EXPECT_EQ(second.Editor().Lines().ToStringList().join('|'), QStringLiteral("x|y12bc34|56hi78"));

    // A clipboard that cannot be had is reported, never thrown into the event loop.
    TMemoryClipboard busy;
    busy.failOpen = true;
    TClipboardScope busyScope(&busy);
    dialogs.ExpectMessage("Clipboard copy operation failed", TModalResult::mrOk);
    QTest::keyClick(&second, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&second, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.AllAnswered());
}

TEST_F(CodeEditWidgetInputGui, AnInputMethodCommitEntersItsText)
{
    Open({"ab"});
    editor.SetCaretXY({2, 1});
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xC3\xBC\xC3\xA9"));
    QCoreApplication::sendEvent(&widget, &commit);
    QTest::keyClicks(&widget, QStringLiteral("x"));
    EXPECT_EQ(Text(), QString::fromUtf8("a\xC3\xBC\xC3\xA9xb")) << "nothing typed after it is skipped";
    const QRect caret = widget.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(caret.left(), widget.viewport()->x() + editor.TextOffset() + 4 * editor.CharWidth() - 1);
}

TEST_F(CodeEditWidgetInputGui, TextDropsMoveWithinAndCopyBetweenEditors)
{
    Open({"0123456789"});
    editor.SetBlockBegin({5, 1});
    editor.SetBlockEnd({8, 1});
    const auto drop = [](TCodeEditWidget& target, QMimeData* data, QPoint at, Qt::KeyboardModifiers mods) {
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(target.viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(target.viewport(), &move);
        const Qt::DropAction shown = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
        QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(target.viewport(), &dropped);
        return shown;
    };
    std::unique_ptr<QMimeData> data(widget.MakeDragData());
    EXPECT_EQ(data->text(), QStringLiteral("456"));
    EXPECT_EQ(drop(widget, data.get(), Cell(2, 1), Qt::NoModifier), Qt::MoveAction);
    EXPECT_EQ(Text(), QStringLiteral("0456123789"));

    TCodeEditWidget second;
    second.Editor().Lines().SetText(QStringLiteral("ab"));
    second.resize(300, 100);
    second.show();
    data.reset(widget.MakeDragData());
    EXPECT_EQ(drop(second, data.get(), Cell(2, 1), Qt::ControlModifier), Qt::CopyAction);
    EXPECT_EQ(second.Editor().GetText(), QStringLiteral("a456b"));
    EXPECT_EQ(Text(), QStringLiteral("0456123789")) << "copied, not moved";

    // Data of another program is no editor's: it is refused.
    QMimeData foreign;
    foreign.setText(QStringLiteral("zz"));
    EXPECT_EQ(drop(second, &foreign, Cell(1, 1), Qt::NoModifier), Qt::IgnoreAction);
}

TEST_F(CodeEditWidgetInputGui, FileDropsGiveWholeNamesUnderDropFiles)
{
    QStringList files;
    QPoint at;
    editor.OnDropFiles = [&](TObject*, int x, int y, const QStringList& names) {
        files = names;
        at = QPoint(x, y);
    };
    const QString longName = QStringLiteral("/tmp/") + QString(300, QLatin1Char('p')) + QStringLiteral(".sbp");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(longName), QUrl::fromLocalFile(QStringLiteral("/tmp/b.sbp"))});
    for (bool dropFiles : {false, true}) {
        editor.SetOptions(editor.Options().Set(eoDropFiles, dropFiles));
        QDragEnterEvent enter(QPoint(40, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget.viewport(), &enter);
        QDropEvent dropped(QPoint(40, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget.viewport(), &dropped);
        EXPECT_EQ(enter.isAccepted(), dropFiles);
        EXPECT_EQ(files.size(), dropFiles ? 2 : 0);
    }
    EXPECT_EQ(files.front(), longName) << "whole, never cut at 260 bytes";
    EXPECT_EQ(at, QPoint(40, 30));
}

TEST_F(CodeEditWidgetInputGui, CtrlSpaceOpensTheListTypingFiltersItEnterAccepts)
{
    TCodeCompletionProposal list;
    TCodeCompletionPopup popup(list.Form());
    list.SetOptions({scoLimitToMatchedText, scoUseInsertList, scoEndCharCompletion});
    list.Form().SetTitle(QStringLiteral("Code Insert"));
    for (const char* item : {"MOVE", "MOVEZ", "JOG"}) {
        list.AddItem(QString::fromUtf8(item), QString::fromUtf8(item) + QStringLiteral(",1,1"));
    }
    list.AddEditor(&editor);
    QTest::keyClicks(&widget, QStringLiteral("M"));
    QTest::keyClick(&widget, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(popup.isVisible());
    EXPECT_TRUE(widget.hasFocus()) << "the list never takes the focus";
    EXPECT_EQ(list.Form().ItemList(), (QStringList{"MOVE", "MOVEZ"}));
    const QPoint below = widget.viewport()->mapToGlobal(QPoint(editor.TextOffset() + editor.CharWidth(),
                                                               editor.LineHeight()));
    EXPECT_EQ(popup.pos(), below) << "at the caret column, below its line";
    QTest::keyClicks(&widget, QStringLiteral("OVEZ"));
    EXPECT_EQ(list.Form().ItemList(), (QStringList{"MOVEZ"}));
    QTest::keyClick(&widget, Qt::Key_Return);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(Text(), QStringLiteral("MOVEZ,1,1"));
    // On a new line the whole list opens; a click selects a row, a double click accepts it.
    QTest::keyClick(&widget, Qt::Key_Return);
    QTest::keyClick(&widget, Qt::Key_Space, Qt::ControlModifier);
    const QPoint row2(5, list.Form().TitleBarHeight() + 1 + list.Form().ItemHeight() + 2);
    QTest::mouseClick(&popup, Qt::LeftButton, {}, row2);
    EXPECT_EQ(list.Form().Position(), 1);
    QTest::mouseDClick(&popup, Qt::LeftButton, {}, row2);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(Text(), QStringLiteral("MOVEZ,1,1|MOVEZ,1,1"));
}

TEST_F(CodeEditWidgetInputGui, TheListsWheelMovesTheSelectionAndItsBarTheRows)
{
    TCodeCompletionProposal list;
    TCodeCompletionPopup popup(list.Form());
    list.SetNbLinesInWindow(4);
    for (int i = 0; i < 10; ++i) {
        list.AddItem(QStringLiteral("ITEM%1").arg(i), QString());
    }
    list.AddEditor(&editor);
    QTest::keyClick(&widget, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(popup.isVisible());
    QScrollBar* bar = popup.ScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 6) << "ten rows, four in the window";
    const QPoint inside(5, list.Form().TitleBarHeight() + 2);
    QWheelEvent wheel(inside, popup.mapToGlobal(inside), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&popup, &wheel);
    const int moved = 2 * std::min(QApplication::wheelScrollLines(), 4); // never more than a page a notch
    EXPECT_EQ(list.Form().Position(), moved);
    popup.grab(); // painted
    EXPECT_EQ(bar->value(), list.Form().ScrollPosition()) << "the bar follows the selection";
    bar->setValue(6);
    EXPECT_EQ(list.Form().ScrollPosition(), 6);
    QTest::mouseClick(&popup, Qt::LeftButton, {}, inside);
    EXPECT_EQ(list.Form().ItemList().at(list.Form().Position()), QStringLiteral("ITEM6")) << "the first row shown";
    QTest::keyClick(&widget, Qt::Key_Escape);
    EXPECT_FALSE(popup.isVisible());
}

} // namespace
