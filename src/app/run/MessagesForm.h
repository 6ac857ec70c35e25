#pragma once
// The messages window, "Part File Message Screen": the lines a part program PRINTs.
// Each new line shows the window and brings it to the front; Close (or Escape) only
// hides it, the lines stay until Clear. Save writes them as plain text, replacing the
// chosen file only once the whole text is written. A long line shows cut, with a note
// of how much was left out, but is kept, saved and copied whole (MessageLines.h).

#include "app/run/MessageLines.h"
#include "app/run/MessagesView.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

class QPushButton;
class TX11StateWatch;

class TFMessages : public QWidget {
public:
    explicit TFMessages(QWidget* parent = nullptr);
    ~TFMessages() override;

    // Appends a line (shown cut when long, see ShownText) and shows the window in front.
    void AddMessage(const QString& text);
    // The lines whole, as printed.
    const QStringList& Lines() const { return FLines.Lines(); }

    void ButtonClearClick();
    // The save dialog; on OK the lines, whole, go to the chosen file, CR LF after each,
    // UTF-8. A file that cannot be written is reported in an error box.
    void ButtonSaveClick();
    void ButtonCloseClick() { hide(); }

    // The longest a PRINT waits for the window manager to let the closed window go.
    static constexpr int WithdrawWaitMs = 1000;

    TMessagesView* RichEditMessages;
    QPushButton* ButtonSave;
    QPushButton* ButtonClear;
    QPushButton* ButtonClose;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the window in front without taking the keyboard, once the window manager
    // has let it go since it was last closed: a window mapped again before that may
    // never show (icewm under load). Waits at most WithdrawWaitMs.
    void ShowWithoutKeyboard();
    void ShowNow();
    // A click gives the window the keyboard on the X server too, where Qt gave it alone:
    // dwm took the window for its active one as it mapped without the keyboard and does
    // nothing with the activation Qt asks of it on the click, while Qt takes it as done;
    // the X server left the keyboard with the main window, and once this window closed
    // no key reached the page, a click on it included, until the keyboard moved on the
    // server (after Alt+F4 the letters came, Ctrl+S and F5 did not).
    void TakeKeyboardOnServer();

    TMessageLines FLines;
    bool FShowPending = false;
    QTimer FWithdrawWait;
    std::unique_ptr<TX11StateWatch> FWithdrawWatch;
};

// The one messages window, made by the program's main block; nullptr before and after.
extern TFMessages* FMessages;
