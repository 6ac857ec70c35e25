#include "platform/core/services/DialogService.h"
#include "platform/core/Exceptions.h"

#include "../../support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingResponder : public IDialogResponder {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override
    {
        Texts.push_back(text);
        LastType = type;
        LastButtons = buttons;
        return Answer;
    }
    bool InputQuery(const std::string&, const std::string& prompt, std::string& value) override
    {
        Texts.push_back(prompt);
        if (Cancel) {
            value = "typed but cancelled";
            return false;
        }
        value = Typed;
        return true;
    }

    std::vector<std::string> Texts;
    TMsgDlgType LastType = TMsgDlgType::mtCustom;
    TMsgDlgButtons LastButtons = 0;
    TModalResult Answer = TModalResult::mrYes;
    bool Cancel = false;
    std::string Typed;
};

TEST(DialogService, WithoutResponderADialogRaisesInsteadOfWaiting)
{
    ASSERT_EQ(nullptr, GetDialogResponder());
    EXPECT_THROW(MessageDlg("Continue?", TMsgDlgType::mtConfirmation, mbOK), Exception);
    EXPECT_THROW(InputBox("c", "p", "d"), Exception);
    EXPECT_THROW(ShowErrorBox("bad"), Exception);
}

TEST(DialogService, EveryCallReachesTheInstalledResponder)
{
    RecordingResponder responder;
    TDialogResponderScope scope(&responder);
    responder.Answer = TModalResult::mrNo;
    EXPECT_EQ(TModalResult::mrNo, MessageDlg("Go on?", TMsgDlgType::mtWarning, mbYes | mbNo));
    EXPECT_EQ(TMsgDlgType::mtWarning, responder.LastType);
    EXPECT_EQ(mbYes | mbNo, responder.LastButtons);
    ShowErrorBox("Cannot find file: x.sbp");
    EXPECT_EQ(TMsgDlgType::mtError, responder.LastType);
    EXPECT_EQ(mbOK, responder.LastButtons);
    EXPECT_EQ((std::vector<std::string>{"Go on?", "Cannot find file: x.sbp"}), responder.Texts);
}

TEST(DialogService, InputBoxGivesTheDefaultWhenCancelled)
{
    RecordingResponder responder;
    TDialogResponderScope scope(&responder);
    responder.Typed = "42";
    EXPECT_EQ("42", InputBox("Caption", "Value?", "7"));
    responder.Cancel = true;
    EXPECT_EQ("7", InputBox("Caption", "Value?", "7"));
    std::string value = "start";
    EXPECT_FALSE(InputQuery("Caption", "Value?", value));
}

TEST(DialogService, ScopesRestoreThePreviousResponder)
{
    RecordingResponder outer;
    RecordingResponder inner;
    {
        TDialogResponderScope a(&outer);
        {
            TDialogResponderScope b(&inner);
            EXPECT_EQ(&inner, GetDialogResponder());
            MessageDlg("inner", TMsgDlgType::mtInformation, mbOK);
        }
        EXPECT_EQ(&outer, GetDialogResponder());
        MessageDlg("outer", TMsgDlgType::mtInformation, mbOK);
    }
    EXPECT_EQ(nullptr, GetDialogResponder());
    EXPECT_EQ((std::vector<std::string>{"inner"}), inner.Texts);
    EXPECT_EQ((std::vector<std::string>{"outer"}), outer.Texts);
}

TEST(DialogService, FileDialogsAddTheDefaultExtensionToANameWithout)
{
    TScriptedDialogs dialogs;
    TDialogResponderScope scope(&dialogs);
    const TFileDialogOptions options{"", "/work", "a.sbp", "Shopbot Files (*.sbp)|*.sbp", "sbp"};
    dialogs.ExpectSave("/work/part");
    dialogs.ExpectSave("/work/part.txt");
    dialogs.ExpectSave(std::nullopt);
    dialogs.ExpectOpen(std::vector<std::string>{"/w.x/a", "/w/b.nc"});
    std::string name = "kept";
    ASSERT_TRUE(RunSaveDialog(options, name));
    EXPECT_EQ(name, "/work/part.sbp");
    ASSERT_TRUE(RunSaveDialog(options, name));
    EXPECT_EQ(name, "/work/part.txt");
    EXPECT_FALSE(RunSaveDialog(options, name));
    EXPECT_EQ(name, "/work/part.txt");
    std::vector<std::string> files;
    ASSERT_TRUE(RunOpenDialog(options, true, files));
    EXPECT_EQ(files, (std::vector<std::string>{"/w.x/a.sbp", "/w/b.nc"}));
    EXPECT_EQ(dialogs.FileDialogs.back().InitialDir, "/work");
    EXPECT_TRUE(dialogs.AllAnswered());
}

TEST(DialogService, AResponderWithoutFileDialogsRefusesThem)
{
    RecordingResponder responder;
    TDialogResponderScope scope(&responder);
    std::string name;
    std::vector<std::string> files;
    EXPECT_THROW(RunSaveDialog({}, name), Exception);
    EXPECT_THROW(RunOpenDialog({}, false, files), Exception);
}

} // namespace
