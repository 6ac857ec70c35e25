#include "app/shell/BtnEdit.h"

#include "platform/gui/Beep.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <tuple>

namespace {

TEST(BtnEditLayout, ButtonWidthAndMinimumHeight)
{
    const struct {
        int height;
        int width;
    } widths[] = {{10, 15}, {25, 15}, {26, 16}, {30, 18}, {41, 25}};
    for (const auto& w : widths)
        EXPECT_EQ(BtnEditButtonWidth(w.height), w.width) << w.height;
    EXPECT_EQ(BtnEditButtonRect(QSize(120, 30), 2), QRect(99, 2, 18, 25));
    EXPECT_EQ(BtnEditMinimumHeight(16, 13, 1), 16 + 3 + 4 + 2);
    EXPECT_EQ(BtnEditMinimumHeight(10, 13, 1), 10 + 2 + 4 + 2);
}

// The caret's rectangle tells where typed text ends up.
class TProbeEdit : public TBtnEdit {
public:
    using QLineEdit::cursorRect;
};

class BtnEditGui : public ::testing::Test {
protected:
    BtnEditGui()
    {
        Edit.resize(160, 30);
        Edit.show();
        Edit.OnChange = [this] { Changes << Edit.text(); };
    }
    ~BtnEditGui() override { SetBeepHook(FPreviousBeep); }

    TProbeEdit Edit;
    QStringList Changes;
    int Beeps = 0;

private:
    std::function<void()> FPreviousBeep = SetBeepHook([this] { ++Beeps; });
};

TEST_F(BtnEditGui, TheButtonSitsInsideTheRightEdgeAndTextStopsBeforeIt)
{
    const QRect button = Edit.Button()->geometry();
    EXPECT_EQ(button.width(), 18);
    EXPECT_LE(button.right(), Edit.width() - 1);
    EXPECT_FALSE(Edit.Button()->Glyph().isNull()) << "the ellipsis";
    Edit.setText(QString(200, QLatin1Char('W')));
    Edit.end(false);
    (void)Edit.grab(); // the line scrolls to the caret when it paints
    EXPECT_LT(Edit.cursorRect().center().x(), button.left()) << "the caret after the last letter";
    Edit.resize(160, 50);
    EXPECT_EQ(Edit.Button()->width(), 30);
    EXPECT_EQ(Edit.Button()->SpeedButton()->geometry(), Edit.Button()->rect());
    Edit.resize(160, 2);
    EXPECT_GE(Edit.height(), BtnEditMinimumHeight(Edit.fontMetrics().height(), QFontMetrics(QApplication::font()).height(), 1))
        << "AutoSize keeps the height for the font";
}

TEST_F(BtnEditGui, LineBreaksAreCutAndEnterMovesToTheEnd)
{
    Edit.setText("abc");
    Edit.setCursorPosition(1);
    QTest::keyClick(&Edit, Qt::Key_Return);
    EXPECT_EQ(Edit.text(), "abc");
    EXPECT_EQ(Edit.cursorPosition(), 3);

    Changes.clear();
    Edit.setCursorPosition(1);
    Edit.insert("x\r\ny\nz");
    EXPECT_EQ(Edit.text(), "axyzbc");
    EXPECT_EQ(Edit.cursorPosition(), 6);
    EXPECT_EQ(Changes, QStringList{"axyzbc"}) << "the change is reported once, without the breaks";
}

TEST_F(BtnEditGui, ButtonBeepsWhenReadOnlyUntilAHandlerIsSet)
{
    Edit.Button()->SpeedButton()->click();
    EXPECT_EQ(Beeps, 0);
    Edit.setReadOnly(true);
    Edit.Button()->SpeedButton()->click();
    EXPECT_EQ(Beeps, 1);
    int clicks = 0;
    Edit.SetOnBtnClick([&] { ++clicks; });
    Edit.Button()->SpeedButton()->click();
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(clicks, 1);
}

// Entering the field by keys or by the program selects its text; a left click on the
// text or on the button, a menu closing over it and the window coming back keep the
// caret where it was.
TEST(BtnEditFocusGui, OnlyEnteringSelectsTheText)
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* edit = new TBtnEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(before);
    layout->addWidget(edit);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    const auto enter = [&](const std::function<void()>& how) {
        edit->setText("abcdef");
        edit->setCursorPosition(2);
        before->setFocus(Qt::OtherFocusReason);
        how();
        EXPECT_EQ(QApplication::focusWidget(), edit);
        return edit->hasSelectedText() ? edit->selectedText() : QStringLiteral("caret %1").arg(edit->cursorPosition());
    };
    EXPECT_EQ(enter([&] { QTest::keyClick(before, Qt::Key_Tab); }), "abcdef");
    EXPECT_EQ(enter([&] { edit->setFocus(Qt::OtherFocusReason); }), "abcdef");
    EXPECT_EQ(enter([&] { QTest::mouseClick(edit->Button()->SpeedButton(), Qt::LeftButton); }), "caret 2");
    EXPECT_EQ(enter([&] { QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2)); }), "caret 0");

    // A menu popped up from the field and closed again.
    const QString afterMenu = enter([&] {
        edit->setFocus(Qt::MouseFocusReason);
        edit->setCursorPosition(4);
        QMenu menu;
        menu.addAction("item");
        menu.popup(edit->mapToGlobal(QPoint(0, edit->height())));
        EXPECT_TRUE(menu.isVisible());
        QTest::keyClick(&menu, Qt::Key_Escape);
        EXPECT_FALSE(menu.isVisible());
    });
    EXPECT_EQ(afterMenu, "caret 4");

    // The table behind it.
    for (const auto& [reason, leftClick, entered] :
         {std::tuple{Qt::TabFocusReason, false, true}, std::tuple{Qt::BacktabFocusReason, false, true},
          std::tuple{Qt::ShortcutFocusReason, false, true}, std::tuple{Qt::MouseFocusReason, false, true},
          std::tuple{Qt::MouseFocusReason, true, false}, std::tuple{Qt::PopupFocusReason, false, false},
          std::tuple{Qt::ActiveWindowFocusReason, false, false}, std::tuple{Qt::MenuBarFocusReason, false, false}}) {
        EXPECT_EQ(BtnEditEntered(reason, leftClick), entered) << reason << " " << leftClick;
    }
}

TEST_F(BtnEditGui, WithoutEditorEnabledPasteAndCutDoNothingButTypingWorks)
{
    QApplication::clipboard()->setText("PASTED");
    Edit.setText("abc");
    Edit.SetEditorEnabled(false);
    Edit.selectAll();
    QTest::keyClick(&Edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&Edit, Qt::Key_V, Qt::ControlModifier);
    Edit.Paste();
    Edit.Cut();
    EXPECT_EQ(Edit.text(), "abc");
    Edit.end(false);
    QTest::keyClicks(&Edit, "de");
    EXPECT_EQ(Edit.text(), "abcde");

    Edit.SetEditorEnabled(true);
    QTest::keyClick(&Edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit.text(), "abcdePASTED");
    Edit.setReadOnly(true);
    Edit.Paste();
    EXPECT_EQ(Edit.text(), "abcdePASTED");
}

} // namespace
