#include "platform/core/services/DialogService.h"

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

bool IDialogResponder::OpenDialog(const TFileDialogOptions&, bool, std::vector<std::string>&)
{
    throw Exception("This dialog responder cannot show an open dialog");
}

bool IDialogResponder::SaveDialog(const TFileDialogOptions&, std::string&)
{
    throw Exception("This dialog responder cannot show a save dialog");
}

bool IDialogResponder::ColorQuery(TColor&)
{
    throw Exception("This dialog responder cannot show a colour dialog");
}

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

std::string WithDefaultExt(const std::string& fileName, const std::string& defaultExt)
{
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    if (defaultExt.empty() || fileName.empty() || hasExt)
        return fileName;
    return fileName + "." + defaultExt;
}

bool RunOpenDialog(const TFileDialogOptions& options, bool multiSelect, std::vector<std::string>& files)
{
    std::vector<std::string> chosen;
    if (!Responder("open dialog").OpenDialog(options, multiSelect, chosen) || chosen.empty())
        return false;
    for (auto& name : chosen)
        name = WithDefaultExt(name, options.DefaultExt);
    files = std::move(chosen);
    return true;
}

bool RunSaveDialog(const TFileDialogOptions& options, std::string& fileName)
{
    std::string chosen;
    if (!Responder("save dialog").SaveDialog(options, chosen) || chosen.empty())
        return false;
    fileName = WithDefaultExt(chosen, options.DefaultExt);
    return true;
}

bool ColorQuery(TColor& color)
{
    TColor chosen = color;
    if (!Responder("colour dialog").ColorQuery(chosen))
        return false;
    color = chosen;
    return true;
}

TModalResult ShowModalForm(IModalForm& form)
{
    return Responder(form.FormName()).ShowModalForm(form);
}
