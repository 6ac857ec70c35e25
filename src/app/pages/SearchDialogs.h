#pragma once
// The three small modal dialogs of Find, Replace and replace with a prompt. They only
// hold values and histories; the editor page presets them from the shared search state,
// reads them back after OK and runs the search itself. Each opens through the dialog
// service (ShowModalForm) under the name FormName gives.

#include "platform/core/services/DialogService.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;

// At most this many history entries go back to the page.
inline constexpr int SearchHistoryItems = 10;

// OK moves the combo box's text to the top of its history (once, whatever it was).
void PromoteToHistory(QComboBox& combo);

class TTextSearchDialog : public QDialog {
public:
    explicit TTextSearchDialog(QWidget* parent = nullptr);
    // "TextSearchDialog".
    virtual std::string FormName() const;

    bool SearchBackwards() const;
    void SetSearchBackwards(bool value);
    bool SearchCaseSensitive() const;
    void SetSearchCaseSensitive(bool value);
    bool SearchFromCursor() const;
    void SetSearchFromCursor(bool value);
    bool SearchInSelectionOnly() const;
    void SetSearchInSelectionOnly(bool value);
    QString SearchText() const;
    void SetSearchText(const QString& value);
    // The first ten history items joined by CR LF; the setter takes one item per line.
    QString SearchTextHistory() const;
    void SetSearchTextHistory(const QString& value);
    bool SearchWholeWords() const;
    void SetSearchWholeWords(bool value);

    // OK: the histories take their texts, then the dialog closes.
    void accept() override;

protected:
    void FitSize(QSize size);
    // Controls are laid out from the top; the replace dialog puts its own row in.
    QComboBox* cbSearchText;
    QCheckBox* cbSearchCaseSensitive;
    QCheckBox* cbSearchWholeWords;
    QCheckBox* cbSearchFromCursor;
    QCheckBox* cbSearchSelectedOnly;
    QGroupBox* rgSearchDirection;
    QRadioButton* rbForward;
    QRadioButton* rbBackward;
};

class TTextReplaceDialog : public TTextSearchDialog {
public:
    explicit TTextReplaceDialog(QWidget* parent = nullptr);
    // "TextReplaceDialog".
    std::string FormName() const override;

    QString ReplaceText() const;
    void SetReplaceText(const QString& value);
    QString ReplaceTextHistory() const;
    void SetReplaceTextHistory(const QString& value);

    void accept() override;

private:
    QComboBox* cbReplaceText;
};

class TConfirmReplaceDialog : public QDialog {
public:
    // Sets the global ConfirmReplaceDialog; the destructor clears it.
    explicit TConfirmReplaceDialog(QWidget* parent = nullptr);
    ~TConfirmReplaceDialog() override;
    // "ConfirmReplaceDialog".
    static std::string FormName() { return "ConfirmReplaceDialog"; }

    // The question for `found` and the place for a match at screen x `x` on the line
    // from screen y `y1` to `y2`, inside the editor's screen rectangle.
    void PrepareShow(const QRect& editorRect, int x, int y1, int y2, const QString& found);
    QString Question() const;

private:
    QLabel* lblConfirmation;
};

extern TConfirmReplaceDialog* ConfirmReplaceDialog;

// Where the confirmation goes: centred over an editor no wider than the dialog, else at
// x but inside the editor's right edge; above the match line when the line ends below
// two thirds of the editor's height, else below it, 4 pixels off.
QPoint ConfirmReplacePosition(const QRect& editorRect, QSize dialog, int x, int y1, int y2);
