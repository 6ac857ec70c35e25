#include "app/pages/SearchDialogs.h"

#include "app/shell/TextFileLines.h"
#include "platform/gui/QtModalForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

TConfirmReplaceDialog* ConfirmReplaceDialog = nullptr;

namespace {

QString JoinHistory(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count() && i < SearchHistoryItems; ++i) {
        items << combo.itemText(i);
    }
    return items.join(QStringLiteral("\r\n"));
}

void SetHistory(QComboBox& combo, const QString& text)
{
    const QString current = combo.currentText();
    combo.clear();
    combo.addItems(SplitTextLines(text));
    combo.setCurrentText(current);
}

QComboBox* HistoryCombo(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    // The history is ours to keep: Enter closes the dialog instead of adding an item.
    combo->setInsertPolicy(QComboBox::NoInsert);
    // When editing ends the box swaps its text for an item that matches with the
    // completer's case rule: "MS" typed must not become an earlier "ms".
    combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    // A line edit cuts a pasted text at 32767 characters by default, and the search would
    // run on text the user did not ask for: a text of any length is taken whole.
    combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    return combo;
}

// A label and its history combo box in one row of the dialog's grid.
QComboBox* TextRow(QDialog& dialog, int row, const char* labelName, const QString& caption, const char* comboName)
{
    auto* label = new QLabel(caption, &dialog);
    label->setObjectName(QLatin1String(labelName));
    QComboBox* combo = HistoryCombo(&dialog, comboName);
    label->setBuddy(combo);
    auto* grid = static_cast<QGridLayout*>(dialog.layout());
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row, 1);
    return combo;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

void PromoteToHistory(QComboBox& combo)
{
    const QString text = combo.currentText();
    if (text.isEmpty()) {
        return;
    }
    const int at = combo.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0) {
        combo.removeItem(at);
    }
    combo.insertItem(0, text);
    // Removing the item may have cleared the edit text.
    combo.setCurrentText(text);
}

// --- search -----------------------------------------------------------------------------

TTextSearchDialog::TTextSearchDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TextSearchDialog"));
    setWindowTitle(QStringLiteral("Search Text"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    auto* grid = new QGridLayout(this);
    cbSearchText = TextRow(*this, 0, "Label1", QStringLiteral("&Search for:"), "cbSearchText");

    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    auto* optionRows = new QVBoxLayout(options);
    optionRows->setSpacing(0);
    cbSearchCaseSensitive = CheckBox(options, "cbSearchCaseSensitive", QStringLiteral("C&ase sensitivity"));
    cbSearchWholeWords = CheckBox(options, "cbSearchWholeWords", QStringLiteral("&Whole words only"));
    cbSearchFromCursor = CheckBox(options, "cbSearchFromCursor", QStringLiteral("Search from &caret"));
    cbSearchSelectedOnly = CheckBox(options, "cbSearchSelectedOnly", QStringLiteral("&Selected text only"));
    for (QCheckBox* box : {cbSearchCaseSensitive, cbSearchWholeWords, cbSearchFromCursor, cbSearchSelectedOnly}) {
        optionRows->addWidget(box);
    }

    rgSearchDirection = new QGroupBox(QStringLiteral("Direction"), this);
    rgSearchDirection->setObjectName(QStringLiteral("rgSearchDirection"));
    auto* directionRows = new QVBoxLayout(rgSearchDirection);
    directionRows->setSpacing(0);
    rbForward = new QRadioButton(QStringLiteral("&Forward"), rgSearchDirection);
    rbBackward = new QRadioButton(QStringLiteral("&Backward"), rgSearchDirection);
    rbForward->setChecked(true);
    directionRows->addWidget(rbForward);
    directionRows->addWidget(rbBackward);
    directionRows->addStretch();

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(options, 1);
    boxes->addWidget(rgSearchDirection, 1);
    // Row 1 stays free for the replace dialog's text.
    grid->addLayout(boxes, 2, 0, 1, 2);

    // The box only lays the buttons out; each ends the dialog with its own result.
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = Button(this, "btnOK", QStringLiteral("OK"));
    ok->setDefault(true);
    QPushButton* cancel = Button(this, "btnCancel", QStringLiteral("Cancel"));
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    SetModalResult(*ok, *this, TModalResult::mrOk);
    SetModalResult(*cancel, *this, TModalResult::mrCancel);
    grid->addWidget(buttons, 3, 0, 1, 2);

    FitSize(QSize(332, 180));
}

void TTextSearchDialog::FitSize(QSize size)
{
    // The dialog's own size, unless the desktop's fonts need more room.
    setFixedSize(size.expandedTo(sizeHint()));
}

std::string TTextSearchDialog::FormName() const { return "TextSearchDialog"; }

bool TTextSearchDialog::SearchBackwards() const { return rbBackward->isChecked(); }
void TTextSearchDialog::SetSearchBackwards(bool value) { (value ? rbBackward : rbForward)->setChecked(true); }
bool TTextSearchDialog::SearchCaseSensitive() const { return cbSearchCaseSensitive->isChecked(); }
void TTextSearchDialog::SetSearchCaseSensitive(bool value) { cbSearchCaseSensitive->setChecked(value); }
bool TTextSearchDialog::SearchFromCursor() const { return cbSearchFromCursor->isChecked(); }
void TTextSearchDialog::SetSearchFromCursor(bool value) { cbSearchFromCursor->setChecked(value); }
bool TTextSearchDialog::SearchInSelectionOnly() const { return cbSearchSelectedOnly->isChecked(); }
void TTextSearchDialog::SetSearchInSelectionOnly(bool value) { cbSearchSelectedOnly->setChecked(value); }
QString TTextSearchDialog::SearchText() const { return cbSearchText->currentText(); }
void TTextSearchDialog::SetSearchText(const QString& value) { cbSearchText->setCurrentText(value); }
QString TTextSearchDialog::SearchTextHistory() const { return JoinHistory(*cbSearchText); }
void TTextSearchDialog::SetSearchTextHistory(const QString& value) { SetHistory(*cbSearchText, value); }
bool TTextSearchDialog::SearchWholeWords() const { return cbSearchWholeWords->isChecked(); }
void TTextSearchDialog::SetSearchWholeWords(bool value) { cbSearchWholeWords->setChecked(value); }

void TTextSearchDialog::accept()
{
    PromoteToHistory(*cbSearchText);
    QDialog::accept();
}

// --- replace ----------------------------------------------------------------------------

TTextReplaceDialog::TTextReplaceDialog(QWidget* parent) : TTextSearchDialog(parent)
{
    setObjectName(QStringLiteral("TextReplaceDialog"));
    setWindowTitle(QStringLiteral("Replace text"));
    cbReplaceText = TextRow(*this, 1, "Label2", QStringLiteral("&Replace with:"), "cbReplaceText");
    setTabOrder(cbSearchText, cbReplaceText);
    FitSize(QSize(332, 210));
}

std::string TTextReplaceDialog::FormName() const { return "TextReplaceDialog"; }

QString TTextReplaceDialog::ReplaceText() const { return cbReplaceText->currentText(); }
void TTextReplaceDialog::SetReplaceText(const QString& value) { cbReplaceText->setCurrentText(value); }
QString TTextReplaceDialog::ReplaceTextHistory() const { return JoinHistory(*cbReplaceText); }
void TTextReplaceDialog::SetReplaceTextHistory(const QString& value) { SetHistory(*cbReplaceText, value); }

void TTextReplaceDialog::accept()
{
    PromoteToHistory(*cbReplaceText);
    TTextSearchDialog::accept();
}

// --- confirm ----------------------------------------------------------------------------

TConfirmReplaceDialog::TConfirmReplaceDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ConfirmReplaceDialog"));
    setWindowTitle(QStringLiteral("Confirm replace"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    image->setGeometry(16, 16, 32, 32);
    lblConfirmation = new QLabel(this);
    lblConfirmation->setObjectName(QStringLiteral("lblConfirmation"));
    lblConfirmation->setWordWrap(true);
    lblConfirmation->setGeometry(60, 12, 261, 44);

    struct TAnswerButton {
        const char* Name;
        QString Caption;
        TModalResult Result;
    };
    const TAnswerButton answers[] = {{"btnReplace", QStringLiteral("&Yes"), TModalResult::mrYes},
                                     {"btnSkip", QStringLiteral("&No"), TModalResult::mrNo},
                                     {"btnCancel", QStringLiteral("Cancel"), TModalResult::mrCancel},
                                     {"btnReplaceAll", QStringLiteral("Yes to &all"), TModalResult::mrAll}};
    int x = 8;
    for (const auto& answer : answers) {
        QPushButton* button = Button(this, answer.Name, answer.Caption);
        button->setGeometry(x, 64, 75, 25);
        x += 80;
        SetModalResult(*button, *this, answer.Result);
        if (answer.Result == TModalResult::mrYes) {
            button->setDefault(true);
        }
    }
    setFixedSize(328, 98);
    ConfirmReplaceDialog = this;
}

TConfirmReplaceDialog::~TConfirmReplaceDialog()
{
    if (ConfirmReplaceDialog == this) {
        ConfirmReplaceDialog = nullptr;
    }
}

void TConfirmReplaceDialog::PrepareShow(const QRect& editorRect, int x, int y1, int y2, const QString& found)
{
    lblConfirmation->setText(QStringLiteral("Replace this occurence of \"%1\"?").arg(found));
    move(ConfirmReplacePosition(editorRect, size(), x, y1, y2));
}

QString TConfirmReplaceDialog::Question() const { return lblConfirmation->text(); }

QPoint ConfirmReplacePosition(const QRect& editorRect, QSize dialog, int x, int y1, int y2)
{
    const int width = editorRect.width();
    const int right = editorRect.left() + width;
    if (width <= dialog.width()) {
        x = editorRect.left() - (dialog.width() - width) / 2;
    } else if (x + dialog.width() > right) {
        x = right - dialog.width();
    }
    const int twoThirds = static_cast<int>(std::lround(editorRect.height() * 2 / 3.0));
    const int y = y2 > editorRect.top() + twoThirds ? y1 - dialog.height() - 4 : y2 + 4;
    return {x, y};
}
