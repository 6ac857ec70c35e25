#pragma once
// A one-line edit box with a small button inside its right edge (an ellipsis by
// default) that fires OnBtnClick: the header and footer fields of the print settings
// use it to offer their macros. Typed text never runs under the button. A line break
// that reaches the text (pasted) is cut out, leaving one line with the caret at its end;
// Enter only moves the caret to the end. With EditorEnabled off, paste and cut do
// nothing while typing still works.

#include <QLineEdit>
#include <QPixmap>
#include <QRect>
#include <QSize>

#include <functional>

class QToolButton;

// The button is round(height x 0.6) wide, at least 15.
int BtnEditButtonWidth(int editHeight);
// Inside the frame, one pixel clear of its inner right and bottom edges, full height
// otherwise.
QRect BtnEditButtonRect(QSize editSize, int frameWidth);
// Font height + min(system font height, font height) / 4 + 4 borders + 2.
int BtnEditMinimumHeight(int fontHeight, int systemFontHeight, int borderHeight);
// Three dots.
QPixmap EllipsisGlyph();
// Whether the focus arriving for `reason` enters the control so that AutoSelect selects
// its text: not by a left click (on the text or on its button), and not when the focus
// only comes back from a menu or with the window.
bool BtnEditEntered(Qt::FocusReason reason, bool leftClick);

// The button part: one flat button filling it, with the glyph.
class TBtnEditButton : public QWidget {
public:
    static constexpr int MinimumWidth = 15;

    explicit TBtnEditButton(QWidget* parent = nullptr);

    // A null glyph gives the ellipsis again.
    void SetGlyph(const QPixmap& glyph);
    QPixmap Glyph() const { return FGlyph; }
    QToolButton* SpeedButton() const { return FButton; }

    // Takes the focus when the button is used, before OnBtnClick runs.
    QWidget* FocusControl = nullptr;
    std::function<void()> OnBtnClick;

    // What a click on the button does.
    void Click();
    // A click is moving the focus to FocusControl.
    bool Clicking() const { return FClicking; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* FButton;
    QPixmap FGlyph;
    bool FClicking = false;
};

class TBtnEdit : public QLineEdit {
public:
    explicit TBtnEdit(QWidget* parent = nullptr);

    TBtnEditButton* Button() const { return FButton; }
    void SetGlyph(const QPixmap& glyph) { FButton->SetGlyph(glyph); }

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    // Whether paste and cut may change the text.
    bool ClipboardEditsAllowed() const { return FEditorEnabled && !isReadOnly(); }

    // Select all text when the control is entered other than by a left click
    // (BtnEditEntered).
    bool AutoSelect = true;
    // Keep the height at least the minimum for the font.
    bool AutoSize = true;

    // Replaces the default handler (BtnClick); an empty function leaves the button idle.
    void SetOnBtnClick(std::function<void()> handler) { FButton->OnBtnClick = std::move(handler); }
    // After every change of the text, once line breaks are gone.
    std::function<void()> OnChange;

    // The default button handler: a beep when the edit is read-only.
    virtual void BtnClick();

    // Paste and cut as the keys and the context menu do them: refused unless allowed.
    void Paste();
    void Cut();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void TextChanged(const QString& text);
    void PlaceButton();

    TBtnEditButton* FButton;
    bool FEditorEnabled = true;
};
