// Replace with a prompt as the user runs it: Ctrl+H (the data module's action) on the
// active page, the replace dialog, then the confirmation box answered through its own
// buttons for each hit, and the text and the saved file after each answer.
#include "app/shell/DataModuleActions.h"
#include "app/pages/SearchDialogs.h"
#include "app/pages/SearchState.h"

#include "../ShellTestSupport.h"

#include "platform/gui/QtModalForm.h"

#include <QPushButton>
#include <QTimer>

#include <initializer_list>
#include <vector>

namespace {

class ReplaceConfirmGui : public TPageTest {
protected:
    ReplaceConfirmGui() { EditorSearch = TEditorSearchState{}; }
    ~ReplaceConfirmGui() override { EditorSearch = TEditorSearchState{}; }
    static QString Text(const std::shared_ptr<TEditor>& page) { return Code(page).Lines().ToStringList().join('|'); }
};

TEST_F(ReplaceConfirmGui, EachAnswerOfTheBoxReachesTheText)
{
    struct TCase {
        std::vector<TModalResult> Answers;
        const char* Text;
    };
    using enum TModalResult;
    const TCase cases[] = {
        {{mrYes, mrYes, mrYes}, "J2, 1, 1|J2, 2, 2|J2, 3, 3"},
        {{mrNo, mrYes, mrNo}, "M2, 1, 1|J2, 2, 2|M2, 3, 3"},
        {{mrYes, mrCancel}, "J2, 1, 1|M2, 2, 2|M2, 3, 3"},
        {{mrCancel}, "M2, 1, 1|M2, 2, 2|M2, 3, 3"},
        {{mrNo, mrAll}, "M2, 1, 1|J2, 2, 2|J2, 3, 3"},
        {{mrAll}, "J2, 1, 1|J2, 2, 2|J2, 3, 3"},
    };
    const std::string original = "M2, 1, 1\r\nM2, 2, 2\r\nM2, 3, 3\r\n";
    for (const TCase& c : cases) {
        WriteText("part.sbp", original);
        const auto page = NewPage(FilePath("part.sbp"));
        ASSERT_TRUE(page);
        Dialogs.ExpectForm("TextReplaceDialog", {{"cbSearchText", "M2"}, {"cbReplaceText", "J2"}}, TModalResult::mrOk);
        for (TModalResult answer : c.Answers) {
            Dialogs.ExpectForm("ConfirmReplaceDialog", {}, answer);
        }
        EXPECT_TRUE(Dm.Actions.actSearchReplace->Execute());
        EXPECT_TRUE(Dialogs.AllAnswered()) << c.Text;
        EXPECT_EQ(Text(page), c.Text);
        EXPECT_EQ(ConfirmReplaceDialog, nullptr);
        const bool changed = c.Text != QString::fromStdString(original).replace("\r\n", "|").chopped(1);
        EXPECT_EQ(page->GetModified(), changed) << c.Text;
        page->ExecSave();
        EXPECT_EQ(ReadText("part.sbp"), QString(c.Text).replace('|', "\r\n").toStdString() + "\r\n");
        page->ExecClose();
        Process();
    }
}

// The running application shows the box and the user presses its buttons; each button
// must end it with its own answer.
TEST_F(ReplaceConfirmGui, TheBoxsButtonsEndItWithTheirAnswers)
{
    using enum TModalResult;
    const std::pair<const char*, TModalResult> buttons[] = {
        {"btnReplace", mrYes}, {"btnSkip", mrNo}, {"btnCancel", mrCancel}, {"btnReplaceAll", mrAll}};
    for (const auto& [name, answer] : buttons) {
        TConfirmReplaceDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog, name = name] { dialog.findChild<QPushButton*>(name)->click(); });
        TQtModalForm form(dialog, TConfirmReplaceDialog::FormName());
        EXPECT_EQ(form.ExecuteModal(), answer) << name;
    }
}

} // namespace
