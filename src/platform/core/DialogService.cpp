#include "platform/core/DialogService.h"

#include "platform/core/Exceptions.h"

namespace {
IDialogResponder* gResponder = nullptr;

IDialogResponder& Responder(const std::string& what)
{
    if (gResponder == nullptr) {
        throw Exception("No dialog responder is installed to show: " + what);
    }
    return *gResponder;
}
} // namespace

IDialogResponder* SetDialogResponder(IDialogResponder* responder)
{
    IDialogResponder* previous = gResponder;
    gResponder = responder;
    return previous;
}

IDialogResponder* GetDialogResponder()
{
    return gResponder;
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    return Responder(text).MessageDlg(text, type, buttons);
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    return Responder(prompt).InputQuery(caption, prompt, value);
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue)
{
    std::string value = defaultValue;
    if (!InputQuery(caption, prompt, value)) {
        return defaultValue;
    }
    return value;
}

void ShowErrorBox(const std::string& text)
{
    MessageDlg(text, TMsgDlgType::mtError, mbOK);
}
