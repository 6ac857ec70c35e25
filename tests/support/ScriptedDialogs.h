#pragma once
// A dialog responder that answers from a script and fails the test at once on any
// dialog it was not told to expect, so no test can hang on an invisible box.

#include "platform/core/services/DialogService.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct TShownDialog {
    std::string Text;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};

class TScriptedDialogs : public IDialogResponder {
public:
    // The next message box must show `text` and gets `answer`.
    void ExpectMessage(std::string text, TModalResult answer) { FMessages.emplace_back(std::move(text), answer); }
    // The next input box gets `answer`, or is cancelled when it is empty.
    void ExpectInput(std::optional<std::string> answer) { FInputs.push_back(std::move(answer)); }
    // The next open dialog chooses `files`, or is cancelled when empty.
    void ExpectOpen(std::optional<std::vector<std::string>> files) { FOpens.push_back(std::move(files)); }
    // The next save dialog chooses `fileName`, or is cancelled when empty.
    void ExpectSave(std::optional<std::string> fileName) { FSaves.push_back(std::move(fileName)); }
    // The next colour dialog chooses `color`, or is cancelled when empty.
    void ExpectColor(std::optional<TColor> color) { FColors.push_back(color); }
    // The next modal window must be `name`: its fields are set, then it is closed with
    // `answer`, as the user would.
    void ExpectForm(std::string name, std::map<std::string, std::string> fields, TModalResult answer)
    {
        FForms.push_back({std::move(name), std::move(fields), answer});
    }
    bool AllAnswered() const
    {
        return FMessages.empty() && FInputs.empty() && FOpens.empty() && FSaves.empty() && FForms.empty() &&
               FColors.empty();
    }

    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override
    {
        Shown.push_back({text, type, buttons});
        if (FMessages.empty()) {
            ADD_FAILURE() << "Unexpected dialog: " << text;
            return TModalResult::mrCancel;
        }
        auto [expected, answer] = FMessages.front();
        FMessages.pop_front();
        EXPECT_EQ(expected, text);
        return answer;
    }

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override
    {
        InputPrompts.emplace_back(caption, prompt);
        return Next(FInputs, "input box: " + prompt, value);
    }

    bool OpenDialog(const TFileDialogOptions& options, bool multiSelect, std::vector<std::string>& files) override
    {
        FileDialogs.push_back(options);
        OpenMultiSelect.push_back(multiSelect);
        return Next(FOpens, "open dialog", files);
    }

    bool SaveDialog(const TFileDialogOptions& options, std::string& fileName) override
    {
        FileDialogs.push_back(options);
        return Next(FSaves, "save dialog", fileName);
    }

    bool ColorQuery(TColor& color) override
    {
        ColorsShown.push_back(color);
        return Next(FColors, "colour dialog", color);
    }

    TModalResult ShowModalForm(IModalForm& form) override
    {
        FormsShown.push_back(form.FormName());
        if (FForms.empty()) {
            ADD_FAILURE() << "Unexpected window: " << form.FormName();
            return form.CloseModal(TModalResult::mrCancel);
        }
        TExpectedForm expected = std::move(FForms.front());
        FForms.pop_front();
        EXPECT_EQ(expected.Name, form.FormName());
        for (const auto& [field, value] : expected.Fields) {
            EXPECT_TRUE(form.SetField(field, value)) << form.FormName() << " has no field " << field;
        }
        return form.CloseModal(expected.Answer);
    }

    std::vector<TShownDialog> Shown;
    std::vector<std::string> FormsShown;
    std::vector<std::pair<std::string, std::string>> InputPrompts; // caption, prompt
    std::vector<TFileDialogOptions> FileDialogs;                   // open and save, in order
    std::vector<bool> OpenMultiSelect;
    std::vector<TColor> ColorsShown; // the colour each colour dialog started with

private:
    // Takes the next scripted answer into `out`; false when it cancels. An unexpected
    // dialog fails the test and is cancelled.
    template <class T>
    static bool Next(std::deque<std::optional<T>>& script, const std::string& what, T& out)
    {
        if (script.empty()) {
            ADD_FAILURE() << "Unexpected " << what;
            return false;
        }
        const bool answered = script.front().has_value();
        if (answered)
            out = *script.front();
        script.pop_front();
        return answered;
    }

    std::deque<std::pair<std::string, TModalResult>> FMessages;
    std::deque<std::optional<std::string>> FInputs;
    std::deque<std::optional<std::vector<std::string>>> FOpens;
    std::deque<std::optional<std::string>> FSaves;
    std::deque<std::optional<TColor>> FColors;
    struct TExpectedForm {
        std::string Name;
        std::map<std::string, std::string> Fields;
        TModalResult Answer;
    };
    std::deque<TExpectedForm> FForms;
};
