// The page keys pressed in a page's editor: the page control turns the page, round the
// ends and past disabled tabs, and the editor does nothing with them; while a run goes
// the page stays and the editor still does nothing; with one page, or with Shift beside
// Ctrl on PgUp and PgDn, those keys are the editor's (page top and bottom, selecting),
// and with one page Ctrl+Tab and Ctrl+Shift+Tab leave the focus in the editor.

#include "app/pages/PageControl.h"

#include "../ShellTestSupport.h"
#include "../../support/QtTestApp.h"

#include <QKeyEvent>
#include <QTest>

#include <memory>
#include <vector>

namespace {

// Pages in a page control of their own, shown with the keyboard, whose user may change
// the page unless a run goes.
class PageKeysGui : public TShellTest {
protected:
    PageKeysGui()
    {
        Pages.OnChanging = [this] { return !Running; };
        Pages.resize(640, 480);
        Pages.show();
        Pages.activateWindow();
    }
    ~PageKeysGui() override
    {
        while (Pages.count() > 0) {
            delete Pages.widget(0);
        }
    }

    // `count` pages of ten lines, page `shown` shown with the keyboard and its caret on
    // line 1.
    std::vector<std::shared_ptr<TEditor>> OpenPages(int count, int shown)
    {
        std::vector<std::shared_ptr<TEditor>> pages;
        for (int i = 0; i < count; ++i) {
            pages.push_back(AsEditor(EditorFactory->CreateTabSheet(&Pages)));
            pages.back()->OpenFile({});
            pages.back()->ReplaceAllText(
                QStringList{"' 1", "' 2", "' 3", "' 4", "' 5", "' 6", "' 7", "' 8", "' 9", "' 10"});
            Code(pages.back()).SetCaretXY({1, 1});
        }
        pages[static_cast<std::size_t>(shown)]->Activate();
        return pages;
    }

    TFakePageHost Host;
    TEditorPageHostScope HostScope{&Host};
    TPageControl Pages;
    bool Running = false;
};

TEST_F(PageKeysGui, ThePageControlTakesThePageKeysFromTheEditor)
{
    const struct {
        const char* What;
        int Pages;
        int From;
        int DisabledTab; // -1: none
        bool Running;
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        int Shown;
        // What the editor did: moved its caret off the first line, selecting or not.
        bool EditorMoved;
        bool Selects;
    } cases[] = {
        {"Ctrl+Tab", 3, 1, -1, false, Qt::Key_Tab, Qt::ControlModifier, 2, false, false},
        {"Ctrl+Shift+Tab", 3, 1, -1, false, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0, false, false},
        {"Ctrl+PgDn", 3, 1, -1, false, Qt::Key_PageDown, Qt::ControlModifier, 2, false, false},
        {"Ctrl+PgUp", 3, 1, -1, false, Qt::Key_PageUp, Qt::ControlModifier, 0, false, false},
        {"Ctrl+Tab round the end", 3, 2, -1, false, Qt::Key_Tab, Qt::ControlModifier, 0, false, false},
        {"Ctrl+PgUp round the start", 3, 0, -1, false, Qt::Key_PageUp, Qt::ControlModifier, 2, false, false},
        {"Ctrl+PgDn past a disabled tab", 3, 0, 1, false, Qt::Key_PageDown, Qt::ControlModifier, 2, false, false},
        {"Ctrl+PgDn during a run", 3, 1, -1, true, Qt::Key_PageDown, Qt::ControlModifier, 1, false, false},
        {"Ctrl+Tab during a run", 3, 1, -1, true, Qt::Key_Tab, Qt::ControlModifier, 1, false, false},
        {"Ctrl+PgDn on the one page", 1, 0, -1, false, Qt::Key_PageDown, Qt::ControlModifier, 0, true, false},
        // The editor would move the focus off the page with them.
        {"Ctrl+Tab on the one page", 1, 0, -1, false, Qt::Key_Tab, Qt::ControlModifier, 0, false, false},
        {"Ctrl+Shift+Tab on the one page", 1, 0, -1, false, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier,
         0, false, false},
        {"Ctrl+Shift+PgDn", 3, 1, -1, false, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier, 1, true,
         true},
    };
    ASSERT_TRUE(testsupport::WaitFor([&] { return Pages.isActiveWindow(); }));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const auto pages = OpenPages(c.Pages, c.From);
        if (c.DisabledTab >= 0) {
            Pages.setTabEnabled(c.DisabledTab, false);
        }
        Running = c.Running;
        const auto& from = pages[static_cast<std::size_t>(c.From)];
        ASSERT_TRUE(from->Form->CodeEditorWidget().hasFocus());
        QTest::keyClick(&from->Form->CodeEditorWidget(), c.Key, c.Modifiers);
        Running = false;
        EXPECT_EQ(Pages.currentIndex(), c.Shown);
        EXPECT_EQ(Code(from).CaretXY().y > 1, c.EditorMoved);
        EXPECT_EQ(Code(from).SelAvail(), c.Selects);
        EXPECT_TRUE(from->Form->CodeEditorWidget().hasFocus() || c.Shown != c.From)
            << "the focus left the page that stays";
        EditorFactory->CloseAll();
        Process();
    }
}

// Shift beside Ctrl turns back on Tab only; Alt turns nothing.
TEST(PageKeyTurn, OnlyTheFourPageKeysTurn)
{
    const struct {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        int Step;
    } cases[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 1},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1},
        {Qt::Key_PageDown, Qt::ControlModifier, 1},
        {Qt::Key_PageUp, Qt::ControlModifier, -1},
        {Qt::Key_PageDown, Qt::ControlModifier | Qt::KeypadModifier, 1},
        {Qt::Key_Tab, Qt::NoModifier, 0},
        {Qt::Key_PageDown, Qt::NoModifier, 0},
        {Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {Qt::Key_PageUp, Qt::ControlModifier | Qt::AltModifier, 0},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier, 0},
    };
    for (const auto& c : cases) {
        const QKeyEvent key(QEvent::KeyPress, c.Key, c.Modifiers);
        EXPECT_EQ(PageKeyStep(key), c.Step) << c.Key << " " << c.Modifiers.toInt();
    }
}

} // namespace
