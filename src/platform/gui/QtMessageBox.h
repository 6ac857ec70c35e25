#pragma once
// The message box of the running application: a caption, the icon of its type, the text
// fitted to the screen (QtTextBox.h) and the buttons asked for, laid out by the
// platform's rule; the first one offered is the default. Escape and the window's
// close button answer as Cancel does, else as the only button, else as Abort, else as
// No; a box without such a button closes only by a button.

#include "platform/core/services/DialogService.h"
#include "platform/gui/QtTextBox.h"

#include <QDialogButtonBox>

class QPushButton;

class TQtMessageBox : public TQtTextBox {
public:
    // No button asked for gives an OK button.
    TQtMessageBox(QWidget* parent, const QString& caption, TMsgDlgType type, const QString& text,
                  TMsgDlgButtons buttons);

    QPushButton* Button(QDialogButtonBox::StandardButton which) const;
    QPushButton* DefaultButton() const { return FDefault; }
    // The answer of the button that closed the box; Cancel while none has.
    TModalResult Answer() const { return FAnswer; }

    void reject() override;

private:
    QPushButton* FDefault = nullptr;
    QPushButton* FEscape = nullptr;
    TModalResult FAnswer = TModalResult::mrCancel;
};
