// Lines longer than a page's 256 columns, as a user edits them: keys pressed in the
// page's editor and the file saved, Replace answered "Yes to all", and search and
// replace texts longer than a line edit's default 32767 characters pasted into the
// dialogs.
#include "app/pages/SearchDialogs.h"
#include "app/pages/SearchState.h"

#include "../ModalSteps.h"
#include "../ShellTestSupport.h"

#include "platform/core/services/Clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

std::string Runs(const std::vector<std::pair<char, int>>& runs)
{
    std::string text;
    for (const auto& [c, count] : runs) {
        text.append(static_cast<std::size_t>(count), c);
    }
    return text;
}

class PageLongLinesGui : public TPageTest {
protected:
    PageLongLinesGui() { EditorSearch = TEditorSearchState{}; }
    ~PageLongLinesGui() override { EditorSearch = TEditorSearchState{}; }
    static std::string PlainClipboard()
    {
        std::string text;
        TClipboardOpener open(Clipboard());
        Clipboard().GetData(ClipboardTextFormat, text);
        return text;
    }
};

struct TKey {
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
};

TEST_F(PageLongLinesGui, KeysOnALongLineAndTheSavedFile)
{
    const std::string aThenB = Runs({{'A', 500}, {'B', 500}});
    const std::string long40008 = Runs({{'A', 40000}, {'B', 8}});
    struct TCase {
        const char* Name;
        std::string File;
        std::vector<TKey> Keys;
        const char* Typed;
        std::string Saved;
        std::string Clipboard; // empty: not read
    };
    const TCase cases[] = {
        {"End then ;", aThenB + "\r\n", {{Qt::Key_End, {}}}, ";", aThenB + ";\r\n", ""},
        {"Home, Shift+End, Ctrl+X",
         aThenB + "\r\n",
         {{Qt::Key_End, {}}, {Qt::Key_Home, {}}, {Qt::Key_End, Qt::ShiftModifier}, {Qt::Key_X, Qt::ControlModifier}},
         "",
         "\r\n",
         aThenB},
        {"Ctrl+A, Ctrl+X", long40008, {{Qt::Key_A, Qt::ControlModifier}, {Qt::Key_X, Qt::ControlModifier}}, "", "",
         long40008},
        {"Ctrl+A, Ctrl+C, Ctrl+End, Ctrl+V",
         "x\r\n" + aThenB,
         {{Qt::Key_A, Qt::ControlModifier},
          {Qt::Key_C, Qt::ControlModifier},
          {Qt::Key_End, Qt::ControlModifier},
          {Qt::Key_V, Qt::ControlModifier}},
         ";",
         "x\r\n" + aThenB + "x\r\n" + aThenB + ";",
         "x\r\n" + aThenB},
    };
    for (const TCase& c : cases) {
        WriteText("long.sbp", c.File);
        const auto page = NewPage(FilePath("long.sbp"));
        ASSERT_TRUE(page);
        TCodeEditWidget& widget = Form(page).CodeEditorWidget();
        for (const TKey& key : c.Keys) {
            QTest::keyClick(&widget, key.Key, key.Modifiers);
        }
        QTest::keyClicks(&widget, c.Typed);
        page->ExecSave();
        const std::string saved = ReadText("long.sbp");
        EXPECT_EQ(saved.size(), c.Saved.size()) << c.Name;
        EXPECT_TRUE(saved == c.Saved) << c.Name;
        if (!c.Clipboard.empty()) {
            const std::string clip = PlainClipboard();
            EXPECT_EQ(clip.size(), c.Clipboard.size()) << c.Name;
            EXPECT_TRUE(clip == c.Clipboard) << c.Name;
        }
        page->ExecClose();
        Process();
    }
}

TEST_F(PageLongLinesGui, ReplaceYesToAllReplacesWholeHits)
{
    const std::string a300 = Runs({{'A', 300}});
    WriteText("long.sbp", a300 + "\r\nM2, " + a300 + ", 1\r\n");
    const auto page = NewPage(FilePath("long.sbp"));
    ASSERT_TRUE(page);
    Dialogs.ExpectForm("TextReplaceDialog", {{"cbSearchText", a300}, {"cbReplaceText", "Y"}}, TModalResult::mrOk);
    Dialogs.ExpectForm("ConfirmReplaceDialog", {}, TModalResult::mrAll);
    page->ExecReplace();
    EXPECT_TRUE(Dialogs.AllAnswered());
    page->ExecSave();
    EXPECT_EQ(ReadText("long.sbp"), "Y\r\nM2, Y, 1\r\n");
}

// The user pastes the texts into the dialogs' boxes (Ctrl+V) and presses OK. Only the
// whole pattern tells the two lines apart: its first 32767 characters match both.
TEST_F(PageLongLinesGui, TextsPastedIntoTheBoxesAreTakenWhole)
{
    TModalSteps steps;
    const TDialogResponderScope scope(&steps);
    const QString a39999 = QString(39999, 'A');
    const QString pattern = a39999 + 'C';
    const QString replacement = QString(33000, 'R');
    const auto page = NewPage();
    page->ReplaceAllText({a39999 + 'B', a39999 + 'C'});
    TCodeEdit& code = Code(page);
    const auto paste = [](QDialog& dialog, const char* box, const QString& text) {
        QApplication::clipboard()->setText(text);
        QLineEdit* edit = dialog.findChild<QComboBox*>(box)->lineEdit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    };

    steps.ExpectSteps("TextSearchDialog", [&](QDialog& dialog) {
        paste(dialog, "cbSearchText", pattern);
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    page->ExecFind();
    EXPECT_TRUE(steps.AllAnswered());
    EXPECT_EQ(EditorSearch.SearchText.size(), pattern.size());
    EXPECT_EQ(code.BlockBegin(), (TTextPoint{1, 2}));
    EXPECT_EQ(code.BlockEnd(), (TTextPoint{40001, 2}));

    code.SetCaretXY({1, 1});
    steps.ExpectSteps("TextReplaceDialog", [&](QDialog& dialog) {
        paste(dialog, "cbSearchText", pattern);
        paste(dialog, "cbReplaceText", replacement);
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    steps.ExpectForm("ConfirmReplaceDialog", {}, TModalResult::mrYes);
    page->ExecReplace();
    EXPECT_TRUE(steps.AllAnswered());
    EXPECT_TRUE(code.Lines().ToStringList() == (QStringList{a39999 + 'B', replacement}));
    EXPECT_EQ(EditorSearch.ReplaceText.size(), replacement.size());

    // The histories hand the whole texts back, and the dialog keeps its own size.
    QSize shown;
    steps.ExpectSteps("TextReplaceDialog", [&](QDialog& dialog) {
        shown = dialog.size();
        EXPECT_TRUE(dialog.findChild<QComboBox*>("cbSearchText")->itemText(0) == pattern);
        EXPECT_TRUE(dialog.findChild<QComboBox*>("cbReplaceText")->currentText() == replacement);
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    });
    page->ExecReplace();
    EXPECT_TRUE(steps.AllAnswered());
    EXPECT_LT(shown.width(), 1000);
}

} // namespace
