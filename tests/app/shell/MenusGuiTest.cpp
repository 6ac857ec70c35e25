// The main window's menus, its tool bar and a page's popup menu, item by item: caption,
// shortcut, separators, and whether each item is enabled without a page, with a page and
// during a run. The page's macro keys; hints that stay tool tips.

#include "../RunTestSupport.h"

#include "app/pages/SearchState.h"

#include "editor/completion/CodeCompletionProposal.h"
#include "editor/macros/CodeMacroRecorder.h"

#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>

#include <map>

namespace {

// One row of a menu or of the tool bar: "-" for a separator, else the caption (the
// tool bar: the button's hint), the shortcut, and "1" or "0" for enabled in each state.
struct TItem {
    QString caption;
    QString shortcut;
    QString enabled;
    bool operator==(const TItem&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TItem& item)
{
    return out << "{" << item.caption.toStdString() << " | " << item.shortcut.toStdString() << " | "
               << item.enabled.toStdString() << "}";
}

const TItem Separator{"-", "", ""};

// What a user sees of a menu or tool bar now: its visible items in order.
std::vector<TItem> Items(QWidget& owner)
{
    std::vector<TItem> items;
    auto* bar = qobject_cast<QToolBar*>(&owner);
    for (QAction* action : owner.actions()) {
        if (!action->isVisible()) {
            continue;
        }
        if (action->isSeparator()) {
            items.push_back(Separator);
            continue;
        }
        const bool enabled = bar != nullptr ? bar->widgetForAction(action)->isEnabled() : action->isEnabled();
        items.push_back({bar != nullptr ? action->toolTip() : action->text(),
                         action->shortcut().toString(QKeySequence::PortableText), enabled ? "1" : "0"});
    }
    return items;
}

// The rows of several looks at the same menu joined: the enabled states side by side.
std::vector<TItem> Join(const std::vector<std::vector<TItem>>& looks)
{
    std::vector<TItem> rows = looks.front();
    for (std::size_t look = 1; look < looks.size(); ++look) {
        EXPECT_EQ(looks[look].size(), rows.size()) << "the items changed between two looks";
        for (std::size_t i = 0; i < std::min(rows.size(), looks[look].size()); ++i) {
            rows[i].enabled += looks[look][i].enabled;
        }
    }
    return rows;
}

const std::string Program = "M2,1,1\r\nM2,2,2\r\nM2,3,3\r\n";

class MenusGui : public TRunTest {
protected:
    MenusGui() { EditorSearch = TEditorSearchState{}; }
    ~MenusGui() override { EditorSearch = TEditorSearchState{}; }

    // Every menu and the tool bar as the user finds them now: after the idle update, each
    // menu opened (its own update runs then) and closed again.
    std::map<QString, std::vector<TItem>> Look(QMenu* popup = nullptr)
    {
        Window->UpdateAllActions(true);
        std::map<QString, std::vector<TItem>> seen;
        std::vector<QMenu*> menus{Window->mFile, Window->mEdit, Window->mView,
                                  Window->mRun,  Window->mTools, Window->mHelp};
        if (popup != nullptr) {
            menus.push_back(popup);
        }
        for (QMenu* menu : menus) {
            menu->popup(QPoint(10, 10));
            seen[menu->objectName()] = Items(*menu);
            menu->hide();
        }
        seen["StandardToolBar"] = Items(*Window->StandardToolBar);
        return seen;
    }

    // A page with two edits, the second undone (so both Undo and Redo can), its first line
    // selected and copied (Paste can), and a search text (Find Next can).
    std::shared_ptr<TEditor> OpenEditedPage()
    {
        const auto page = OpenProgram("three.sbp", Program);
        TCodeEdit& code = Code(page);
        code.SetCaretXY({7, 3});
        page->InsertText("\r\n'ab");
        code.SetCaretAndSelection({4, 4}, {3, 4}, {4, 4});
        page->ExecDelete();
        page->ExecUndo();
        code.SetCaretAndSelection({7, 1}, {1, 1}, {7, 1});
        page->ExecCopy();
        EditorSearch.SearchText = "M2";
        return page;
    }
};

TEST_F(MenusGui, MenusAndToolBarItemByItemWithoutAPageWithOneAndDuringARun)
{
    Dm.AddMRUFile(FilePath("recent.sbp"));
    std::vector<std::map<QString, std::vector<TItem>>> looks{Look()};
    const auto page = OpenEditedPage();
    looks.push_back(Look());
    SetSimulate(true);
    AtPass = [&] {
        if (looks.size() == 2) {
            looks.push_back(Look());
            Window->actStop->Execute();
        }
    };
    Run();
    ASSERT_EQ(looks.size(), 3u) << "the run never waited";
    const auto joined = [&](const QString& name) {
        return Join({looks[0].at(name), looks[1].at(name), looks[2].at(name)});
    };

    EXPECT_EQ(joined("mFile"), (std::vector<TItem>{
                                   {"&New", "Ctrl+N", "110"},
                                   {"&Open...", "Ctrl+O", "110"},
                                   {"&Quick View", "", "111"},
                                   {"&Recent Files", "", "110"},
                                   Separator,
                                   {"&Save", "Ctrl+S", "011"},
                                   {"Save &As...", "", "011"},
                                   {"&Close Document", "Ctrl+F4", "011"},
                                   {"Close All Fi&les", "Ctrl+Shift+F4", "011"},
                                   Separator,
                                   {"&Print...", "", "011"},
                                   {"Print Pre&view", "", "011"},
                                   {"Print Set&up...", "", "111"},
                                   Separator,
                                   {"E&xit", "Alt+F4", "111"},
                               }));
    // During a run the page is read-only: nothing that changes its text.
    EXPECT_EQ(joined("mEdit"), (std::vector<TItem>{
                                   {"&Undo", "Ctrl+Z", "010"},
                                   {"&Redo", "Ctrl+Shift+Z", "010"},
                                   Separator,
                                   {"Cu&t", "Ctrl+X", "010"},
                                   {"&Copy", "Ctrl+C", "011"},
                                   {"&Paste", "Ctrl+V", "010"},
                                   {"De&lete", "", "010"},
                                   {"Select &All", "Ctrl+A", "011"},
                                   Separator,
                                   {"&Find...", "Ctrl+F", "011"},
                                   {"Find &Next", "F3", "011"},
                                   {"Find &Previous", "Shift+F3", "011"},
                                   {"&Replace...", "Ctrl+H", "010"},
                                   Separator,
                                   {"Block Indent", "", "011"},
                                   {"Block Un-Indent", "", "011"},
                                   Separator,
                                   {"Comment Block", "Ctrl+Alt+C", "011"},
                                   {"Un-Comment Block", "Ctrl+Alt+U", "011"},
                               }));
    EXPECT_EQ(joined("mView"), (std::vector<TItem>{
                                   {"&Status Bar", "", "111"},
                                   {"&Variables", "", "111"},
                               }));
    EXPECT_EQ(joined("mRun"), (std::vector<TItem>{
                                  {"Run", "F5", "010"},
                                  {"Pause", "F2", "001"},
                                  {"Step Back", "Shift+F11", "000"},
                                  {"Step", "F11", "011"},
                                  {"Stop", "Shift+F5", "001"},
                                  Separator,
                                  {"Suppress All Messages", "", "111"},
                              }));
    EXPECT_EQ(joined("mTools"), (std::vector<TItem>{
                                    {"Editor Options", "F6", "111"},
                                    {"Preview Options", "F7", "111"},
                                    {"Plug-In Tools", "F8", "111"},
                                }));
    // Without a TestRuns folder there is no Run Tests item.
    EXPECT_EQ(joined("mHelp"), (std::vector<TItem>{
                                   {"Help Topics...", "F1", "111"},
                                   Separator,
                                   {"Tips", "", "111"},
                                   Separator,
                                   {"Shobot\u00AE - Website", "", "111"},
                                   {"Shopbot\u00AE - Forum", "", "111"},
                                   Separator,
                                   {"&About", "", "111"},
                               }));
    // The buttons show their hints; Code Insert has nowhere to insert without a page.
    EXPECT_EQ(joined("StandardToolBar"), (std::vector<TItem>{
                                             {"New File", "Ctrl+N", "110"},
                                             {"Open File", "Ctrl+O", "110"},
                                             {"Quick View", "", "111"},
                                             {"Save", "Ctrl+S", "011"},
                                             Separator,
                                             {"Print", "", "011"},
                                             {"Print Preview", "", "011"},
                                             Separator,
                                             {"Cut", "Ctrl+X", "010"},
                                             {"Copy", "Ctrl+C", "011"},
                                             {"Paste", "Ctrl+V", "010"},
                                             {"Undo", "Ctrl+Z", "010"},
                                             Separator,
                                             {"Find", "Ctrl+F", "011"},
                                             {"Find Next", "F3", "011"},
                                             {"Find Prev", "Shift+F3", "011"},
                                             {"Replace", "Ctrl+H", "010"},
                                             Separator,
                                             {"Comment Block", "Ctrl+Alt+C", "011"},
                                             {"Un-Comment Block", "Ctrl+Alt+U", "011"},
                                             {"Indent Block (Shift+Ctrl+I)", "", "011"},
                                             {"Un-Indent Block (Shift+Ctrl+U)", "", "011"},
                                             Separator,
                                             {"Code Insert", "", "011"},
                                             {"Plug-In Tools", "F8", "111"},
                                             Separator,
                                             {"Run", "F5", "010"},
                                             {"Pause", "F2", "001"},
                                             {"Step-Back", "Shift+F11", "000"},
                                             {"Step", "F11", "011"},
                                             {"Stop", "Shift+F5", "001"},
                                             Separator,
                                             {"Toggle Breakpoint", "", "011"},
                                             {"Clear Breakpoints", "", "011"},
                                             Separator,
                                             {"Help Topics", "F1", "111"},
                                         }));
}

TEST_F(MenusGui, ThePagePopupHoldsTheMainMenusOwnItems)
{
    const auto page = OpenEditedPage();
    QMenu* popup = Form(page).pmnuEditor;
    std::vector<std::vector<TItem>> looks{Look(popup).at("pmnuEditor")};
    SetSimulate(true);
    AtPass = [&] {
        if (looks.size() == 1) {
            looks.push_back(Look(popup).at("pmnuEditor"));
            Window->actStop->Execute();
        }
    };
    Run();
    ASSERT_EQ(looks.size(), 2u) << "the run never waited";
    // With the page idle, and during its run.
    EXPECT_EQ(Join(looks), (std::vector<TItem>{
                               {"&Close Document", "Ctrl+F4", "11"},
                               Separator,
                               {"Code Insert", "", "11"},
                               Separator,
                               {"&Undo", "Ctrl+Z", "10"},
                               {"&Redo", "Ctrl+Shift+Z", "10"},
                               Separator,
                               {"Cu&t", "Ctrl+X", "10"},
                               {"&Copy", "Ctrl+C", "11"},
                               {"&Paste", "Ctrl+V", "10"},
                               {"De&lete", "", "10"},
                               Separator,
                               {"Select &All", "Ctrl+A", "11"},
                               Separator,
                               {"Toggle Bookmarks", "", "11"},
                               {"Goto Bookmarks", "", "11"},
                               Separator,
                               {"Editor Options", "F6", "11"},
                               {"Preview Options", "F7", "11"},
                           }));

    // Every item but the bookmarks is the main menu's own action, so it does what its
    // twin does.
    QList<QAction*> mainItems;
    for (QMenu* menu : {Window->mFile, Window->mEdit, Window->mTools}) {
        mainItems += menu->actions();
    }
    mainItems += Window->StandardToolBar->actions();
    for (QAction* item : popup->actions()) {
        if (!item->isSeparator() && item->menu() == nullptr) {
            EXPECT_TRUE(mainItems.contains(item)) << item->text().toStdString();
        }
    }
    Dialogs.ExpectForm("FPreviewOptions", {}, TModalResult::mrCancel);
    popup->actions().last()->trigger();
    EXPECT_EQ(Dialogs.FormsShown, std::vector<std::string>{"FPreviewOptions"});

    // Code Insert opens the code insert list at the page's caret.
    Dm.CodeAutoComplete->SetItemList({"Start", "Stop"});
    Dm.CodeAutoComplete->SetInsertList({"MS,2,1", "END"});
    Window->activateWindow();
    QApplication::setActiveWindow(Window.get());
    Form(page).CodeEditorWidget().setFocus();
    popup->actions().at(2)->trigger();
    EXPECT_TRUE(Dm.CodeAutoComplete->Form().Visible());
    EXPECT_EQ(Dm.CodeAutoComplete->Form().CurrentEditor(), &Code(page));
}

TEST_F(MenusGui, CodeInsertFollowsTheActivePage)
{
    TAction* insert = Dm.Actions.actCodeInsert;
    const auto enabled = [&] {
        Window->UpdateAllActions(true);
        return insert->isEnabled();
    };
    EXPECT_FALSE(enabled());
    EXPECT_FALSE(insert->Execute()) << "nothing to insert into";
    const auto page = OpenProgram("three.sbp", Program);
    EXPECT_TRUE(enabled());
    page->ExecClose();
    Process();
    EXPECT_FALSE(enabled()) << "the last page closed";
}

TEST_F(MenusGui, MacroKeysRecordAndPlayBackOnThePage)
{
    const auto page = OpenProgram("three.sbp", Program);
    TCodeEditWidget& widget = Form(page).CodeEditorWidget();
    TCodeEdit& code = Code(page);
    code.SetCaretXY({7, 3});
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::keyClick(&widget, Qt::Key_R, ctrlShift);
    QTest::keyClick(&widget, Qt::Key_Return);
    QTest::keyClicks(&widget, "MS");
    QTest::keyClick(&widget, Qt::Key_R, ctrlShift);
    EXPECT_EQ(Form(page).CodeMacroRecorder1().GetEventCount(), 3);
    QTest::keyClick(&widget, Qt::Key_P, ctrlShift);
    QTest::keyClick(&widget, Qt::Key_P, ctrlShift);
    EXPECT_EQ(page->GetLines()->ToStringList(),
              (QStringList{"M2,1,1", "M2,2,2", "M2,3,3", "MS", "MS", "MS"}));
}

TEST_F(MenusGui, ToolButtonHintsLeaveTheStatusPanels)
{
    const auto page = OpenProgram("three.sbp", Program);
    Window->UpdateAllActions(true);
    QStatusBar* bar = Window->statusBar();
    const auto panelsShown = [&] {
        for (QLabel* panel : bar->findChildren<QLabel*>(QRegularExpression("^Panel\\d$"))) {
            if (!panel->isVisibleTo(Window.get())) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(panelsShown());
    for (QAction* action : Window->StandardToolBar->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        QWidget* button = Window->StandardToolBar->widgetForAction(action);
        EXPECT_EQ(button->statusTip(), "") << action->toolTip().toStdString();
        // A status tip from anywhere in the window takes nothing over either.
        QStatusTipEvent tip(action->toolTip());
        QApplication::sendEvent(button, &tip);
        EXPECT_EQ(bar->currentMessage(), "") << action->toolTip().toStdString();
        EXPECT_TRUE(panelsShown()) << action->toolTip().toStdString();
    }
    EXPECT_EQ(Window->StatusPanelText(2), "Insert");
}

} // namespace
