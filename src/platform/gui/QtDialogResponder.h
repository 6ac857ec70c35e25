#pragma once
// The dialog responder of the running application: message boxes and input boxes of our
// own, fitted to the screen (QtMessageBox.h, QtInputBox.h), and the open, save and colour
// dialogs as Qt shows them, each with the caption "Kerfpad" unless the call names one,
// over the active window; a message or prompt longer than MaxShownTextLength shows cut
// (ShownText). Installed by the shell at start-up with SetDialogResponder.

#include "platform/core/services/DialogService.h"

#include <QStringList>

class TQtDialogResponder : public IDialogResponder {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    bool OpenDialog(const TFileDialogOptions& options, bool multiSelect, std::vector<std::string>& files) override;
    bool SaveDialog(const TFileDialogOptions& options, std::string& fileName) override;
    // QColorDialog, every colour offered; the answer has no alpha.
    bool ColorQuery(TColor& color) override;
};

// "Shopbot Files (*.sbp)|*.sbp|All|*.*" as Qt's name filters:
// {"Shopbot Files (*.sbp)", "All (*.*)"}; patterns separated by ';' become blanks.
QStringList QtNameFilters(const std::string& filter);
