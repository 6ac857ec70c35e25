#pragma once
// Message and input boxes without a toolkit. Every dialog of every layer goes through
// the one responder installed here: the shell installs one that shows real boxes, tests
// install one that answers from a script and fails on a dialog it did not expect, so no
// test can hang on an invisible box.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/InstallScope.h"

#include <string>
#include <vector>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Button sets as bit flags, so a call names exactly the buttons it offers.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
};
using TMsgDlgButtons = unsigned;

enum class TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll };

// An open or save dialog. The filter is in the platform's form, description and
// patterns separated by '|' and repeated: "Shopbot Files (*.sbp)|*.sbp|All (*.*)|*.*".
struct TFileDialogOptions {
    std::string Title;
    std::string InitialDir;
    std::string FileName; // the proposed name, without folder
    std::string Filter;
    std::string DefaultExt; // without the dot; added to a chosen name that has none
};

// A modal window of the shell (the search dialogs, the printer set-up, ...). Every one
// opens through ShowModalForm, so a scripted responder can answer it by its name: it
// sets the controls as a user would, then closes the window with a button.
class IModalForm {
public:
    virtual ~IModalForm() = default;
    // The name a responder knows the window by ("TextSearchDialog").
    virtual std::string FormName() const = 0;
    // Shows the window and waits for the user.
    virtual TModalResult ExecuteModal() = 0;
    // Sets a control by its name as the user would: the text of an edit or combo box,
    // "1" or "0" for a check box, the item index of a radio group. False when the
    // window has no such control or it takes no such value.
    virtual bool SetField(const std::string& name, const std::string& value) = 0;
    // Closes the window as its button for `result` does, close handling included; the
    // result the window ends with.
    virtual TModalResult CloseModal(TModalResult result) = 0;
};

class IDialogResponder {
public:
    virtual ~IDialogResponder() = default;
    virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
    // False when the user cancelled; `value` holds the default on entry and the answer on OK.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    // False when cancelled. A responder that offers no file dialogs raises Exception.
    virtual bool OpenDialog(const TFileDialogOptions& options, bool multiSelect, std::vector<std::string>& files);
    virtual bool SaveDialog(const TFileDialogOptions& options, std::string& fileName);
    // The colour dialog, starting with `color` (a system colour shows as its current
    // value); false when cancelled, else `color` holds the chosen RGB colour. A
    // responder that offers no colour dialog raises Exception.
    virtual bool ColorQuery(TColor& color);
    // The responder of the running application shows the window itself.
    virtual TModalResult ShowModalForm(IModalForm& form) { return form.ExecuteModal(); }
};

// Installs `responder` (not owned; nullptr removes it) and returns the one it replaces.
IDialogResponder* SetDialogResponder(IDialogResponder* responder);
IDialogResponder* GetDialogResponder();

// Without a responder these raise Exception naming the dialog: a process without a
// user interface must never wait for an answer nobody can give.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// The answer, or `defaultValue` when the box was cancelled.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
// An error box with an OK button.
void ShowErrorBox(const std::string& text);
// The chosen files (one unless `multiSelect`) with full paths; false when cancelled.
bool RunOpenDialog(const TFileDialogOptions& options, bool multiSelect, std::vector<std::string>& files);
// The chosen name with its full path; false (and `fileName` unchanged) when cancelled.
bool RunSaveDialog(const TFileDialogOptions& options, std::string& fileName);
// The colour dialog; true and the chosen colour in `color` when confirmed, else false
// and `color` unchanged.
bool ColorQuery(TColor& color);
// Shows a modal window of the shell through the responder; its modal result.
TModalResult ShowModalForm(IModalForm& form);
// `fileName` with "." + `defaultExt` added when its last part has no extension.
std::string WithDefaultExt(const std::string& fileName, const std::string& defaultExt);

// Installs a responder for the lifetime of a scope and restores the previous one.
using TDialogResponderScope = TInstallScope<IDialogResponder, SetDialogResponder>;
