// The Find and Replace dialogs on their own (captions, controls, histories) and as a
// page presets them from the shared search state and takes their values back; the
// popup's bookmark items.
#include "app/pages/SearchDialogs.h"
#include "app/pages/SearchState.h"

#include "../ModalSteps.h"
#include "../ShellTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

QStringList Items(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) {
        items << combo.itemText(i);
    }
    return items;
}

TEST(SearchDialogsGui, CaptionsControlsAndSizes)
{
    TTextSearchDialog search;
    TTextReplaceDialog replace;
    EXPECT_EQ(search.windowTitle(), "Search Text");
    EXPECT_EQ(replace.windowTitle(), "Replace text");
    for (const char* name : {"cbSearchText", "cbSearchCaseSensitive", "cbSearchWholeWords", "cbSearchFromCursor",
                             "cbSearchSelectedOnly", "rgSearchDirection", "btnOK", "btnCancel"}) {
        EXPECT_NE(replace.findChild<QWidget*>(name), nullptr) << name;
    }
    EXPECT_EQ(search.findChild<QWidget*>("cbReplaceText"), nullptr);
    EXPECT_NE(replace.findChild<QComboBox*>("cbReplaceText"), nullptr);
    EXPECT_TRUE(search.findChild<QPushButton*>("btnOK")->isDefault());
    // The dialog's own client area, or more where the desktop's fonts need it.
    EXPECT_GE(search.width(), 332);
    EXPECT_GE(search.height(), 180);
    EXPECT_GT(replace.height(), search.height());
    EXPECT_FALSE(search.SearchBackwards());
    search.SetSearchBackwards(true);
    EXPECT_TRUE(search.SearchBackwards());
}

TEST(SearchDialogsGui, OKPromotesTheTextsAndHandsBackTenItems)
{
    TTextReplaceDialog dialog;
    QStringList twelve;
    for (int i = 1; i <= 12; ++i) {
        twelve << QStringLiteral("t%1").arg(i);
    }
    dialog.SetSearchTextHistory(twelve.join("\r\n"));
    dialog.SetReplaceTextHistory("r1\r\nr2");
    EXPECT_EQ(Items(*dialog.findChild<QComboBox*>("cbSearchText")).size(), 12) << "any number of items";
    EXPECT_EQ(dialog.SearchTextHistory(), twelve.mid(0, 10).join("\r\n"));
    // Cancel leaves the histories as they were.
    dialog.SetSearchText("new");
    dialog.reject();
    EXPECT_EQ(dialog.SearchTextHistory(), twelve.mid(0, 10).join("\r\n"));
    // OK moves a known text to the top once and keeps it in the edit; a new one goes on top.
    dialog.SetSearchText("t5");
    dialog.SetReplaceText("r3");
    dialog.findChild<QPushButton*>("btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const QStringList items = Items(*dialog.findChild<QComboBox*>("cbSearchText"));
    EXPECT_EQ(items.size(), 12);
    EXPECT_EQ(items.value(0), "t5");
    EXPECT_EQ(items.count("t5"), 1);
    EXPECT_EQ(dialog.SearchText(), "t5");
    EXPECT_EQ(dialog.ReplaceTextHistory(), "r3\r\nr1\r\nr2");
    // An empty text is never put into the history.
    dialog.SetReplaceText("");
    dialog.accept();
    EXPECT_EQ(dialog.ReplaceTextHistory(), "r3\r\nr1\r\nr2");
}

class SearchPresetGui : public TPageTest {
protected:
    SearchPresetGui() { EditorSearch = TEditorSearchState{}; }
    ~SearchPresetGui() override { EditorSearch = TEditorSearchState{}; }
};

TEST_F(SearchPresetGui, TheDialogOpensWithTheSharedStateAndGivesItBack)
{
    const auto page = NewPage();
    page->ReplaceAllText({"M2 MS M2", "ms M2x M2"});
    TCodeEdit& code = Code(page);
    // Backwards, whole words and the case come from the shared state when the dialog
    // is left as it opened; the search runs from the caret back to the first whole M2.
    EditorSearch.SearchBackwards = true;
    EditorSearch.SearchWholeWords = true;
    EditorSearch.SearchFromCaret = true;
    EditorSearch.SearchText = "M2";
    EditorSearch.SearchTextHistory = "M2\r\nJ2";
    code.SetCaretXY({10, 2});
    Dialogs.ExpectForm("TextSearchDialog", {}, TModalResult::mrOk);
    page->ExecFind();
    EXPECT_EQ(code.BlockBegin(), (TTextPoint{8, 2}));
    EXPECT_TRUE(EditorSearch.SearchBackwards && EditorSearch.SearchWholeWords && EditorSearch.SearchFromCaret);
    EXPECT_EQ(EditorSearch.SearchTextHistory, "M2\r\nJ2");
    // Find Previous goes on from there, skipping "M2x".
    page->ExecFindPrev();
    EXPECT_EQ(code.BlockBegin(), (TTextPoint{7, 1}));

    // The text at the caret: the selection within one line, else the word there.
    EditorSearch = TEditorSearchState{};
    EditorSearch.SearchTextAtCaret = true;
    code.SetCaretAndSelection({6, 1}, {4, 1}, {6, 1});
    Dialogs.ExpectForm("TextSearchDialog", {}, TModalResult::mrOk);
    page->ExecFind();
    EXPECT_EQ(EditorSearch.SearchText, "MS");
    EXPECT_EQ(code.BlockBegin(), (TTextPoint{4, 1})) << "the whole text from its start";
    page->ExecFindNext();
    EXPECT_EQ(code.BlockBegin(), (TTextPoint{1, 2})) << "case ignored";
    code.SetCaretAndSelection({2, 1}, {2, 1}, {2, 1});
    Dialogs.ExpectForm("TextSearchDialog", {}, TModalResult::mrCancel);
    page->ExecFind();
    EXPECT_EQ(EditorSearch.SearchText, "MS") << "Cancel keeps the state";
    Dialogs.ExpectForm("TextSearchDialog", {{"rgSearchDirection", "0"}}, TModalResult::mrOk);
    page->ExecFind();
    EXPECT_EQ(EditorSearch.SearchText, "M2");
    EXPECT_EQ(EditorSearch.SearchTextHistory, "M2\r\nMS");
}

// "ms" is in the histories from an earlier replacement. The user ticks Case sensitivity,
// types "MS" over the search text (and "Ms" over the replacement) and ends with Enter or
// with a click on OK: the texts are searched and kept as typed, ahead of "ms", and the
// dialog shows them when it opens again.
TEST_F(SearchPresetGui, ATextDifferingFromAHistoryItemOnlyInCaseIsTakenAsTyped)
{
    TModalSteps steps;
    const TDialogResponderScope scope(&steps);
    const auto page = NewPage();
    TCodeEdit& code = Code(page);
    const auto typeOver = [](QDialog& dialog, const char* name, const char* text) {
        QLineEdit* edit = dialog.findChild<QComboBox*>(name)->lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    };
    for (const bool replace : {false, true}) {
        for (const bool byEnter : {true, false}) {
            const std::string label = std::string(replace ? "replace" : "find") + (byEnter ? ", Enter" : ", OK");
            const std::string form = replace ? "TextReplaceDialog" : "TextSearchDialog";
            page->ReplaceAllText({"ms,1", "MS,2", "mS,3"});
            code.SetCaretXY({1, 1});
            EditorSearch = TEditorSearchState{};
            EditorSearch.SearchText = "ms";
            EditorSearch.SearchTextHistory = "ms\r\nM2";
            EditorSearch.ReplaceText = "ms";
            EditorSearch.ReplaceTextHistory = "ms";
            steps.ExpectSteps(form, [&](QDialog& dialog) {
                QTest::mouseClick(dialog.findChild<QCheckBox*>("cbSearchCaseSensitive"), Qt::LeftButton);
                typeOver(dialog, "cbSearchText", "MS");
                if (replace) {
                    typeOver(dialog, "cbReplaceText", "Ms");
                }
                if (byEnter) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                } else {
                    QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
                }
            });
            if (replace) {
                steps.ExpectForm("ConfirmReplaceDialog", {}, TModalResult::mrYes);
                page->ExecReplace();
                EXPECT_EQ(code.Lines().ToStringList(), (QStringList{"ms,1", "Ms,2", "mS,3"})) << label;
                EXPECT_EQ(EditorSearch.ReplaceText, "Ms") << label;
                EXPECT_EQ(EditorSearch.ReplaceTextHistory, "Ms\r\nms") << label;
            } else {
                page->ExecFind();
                EXPECT_EQ(code.BlockBegin(), (TTextPoint{1, 2})) << label;
                EXPECT_EQ(code.BlockEnd(), (TTextPoint{3, 2})) << label;
            }
            EXPECT_TRUE(steps.AllAnswered()) << label;
            EXPECT_TRUE(EditorSearch.SearchCaseSensitive) << label;
            EXPECT_EQ(EditorSearch.SearchText, "MS") << label;
            EXPECT_EQ(EditorSearch.SearchTextHistory, "MS\r\nms\r\nM2") << label;

            QStringList shown;
            steps.ExpectSteps(form, [&](QDialog& dialog) {
                for (const char* name : {"cbSearchText", "cbReplaceText"}) {
                    if (const auto* combo = dialog.findChild<QComboBox*>(name)) {
                        shown << combo->currentText() << combo->itemText(0);
                    }
                }
                QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
            });
            if (replace) {
                page->ExecReplace();
            } else {
                page->ExecFind();
            }
            EXPECT_EQ(shown, replace ? (QStringList{"MS", "MS", "Ms", "Ms"}) : (QStringList{"MS", "MS"})) << label;
        }
    }
}

TEST_F(SearchPresetGui, PopupItemsSetRemoveAndGoToBookmarks)
{
    const auto page = NewPage();
    page->ReplaceAllText({"MS,1", "M2,1,1", "M2,2,2"});
    TCodeEdit& code = Code(page);
    QMenu* popup = Form(page).pmnuEditor;
    ASSERT_NE(popup, nullptr);
    const auto item = [&](const QString& name) {
        QAction* action = popup->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name.toStdString();
        return action;
    };
    code.SetCaretXY({3, 2});
    item("tb3")->trigger();
    ASSERT_NE(code.BookMark(3), nullptr);
    EXPECT_EQ(code.BookMark(3)->Line(), 2);
    code.SetCaretXY({1, 3});
    item("gb3")->trigger();
    EXPECT_EQ(code.CaretXY().y, 2);
    item("tb3")->trigger();
    EXPECT_EQ(code.BookMark(3), nullptr) << "set again on its line it goes";
    EXPECT_EQ(code.BookMark(9), nullptr);
    item("tb9")->trigger();
    EXPECT_NE(code.BookMark(9), nullptr);
}

} // namespace
