// The editor options dialog's Code Insert page: the items of KerfpadCI.ini, handed to
// the data module's completion list and to new pages as their default text.
#include "app/settings/EditorOptionsForm.h"

#include "app/shell/DataModule.h"
#include "app/settings/EditorSettings.h"

#include "editor/completion/CodeCompletionProposal.h"
#include "platform/core/services/DialogService.h"
#include "platform/gui/ActionList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// The memo holds line feeds; values keep CR LF.
QString MemoText(const QPlainTextEdit& memo)
{
    return memo.toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace

QWidget* TFEditorOptions::CreateCodeInsertPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Items"), page), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Values"), page), 0, 1);
    ListBoxItems = new QListWidget(page);
    ListBoxItems->setObjectName(QStringLiteral("ListBoxItems"));
    grid->addWidget(ListBoxItems, 1, 0);
    MemoValues = new QPlainTextEdit(page);
    MemoValues->setObjectName(QStringLiteral("MemoValues"));
    MemoValues->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoValues->setTabChangesFocus(false);
    grid->addWidget(MemoValues, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto button = [&](const char* name, const char* caption, void (TFEditorOptions::*click)()) {
        auto* b = new QPushButton(QString::fromUtf8(caption), page);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, click] { RunGuarded([this, click] { (this->*click)(); }); });
        buttons->addWidget(b);
        return b;
    };
    BitBtn8 = button("BitBtn8", "New", &TFEditorOptions::BitBtn8Click);
    BitBtn9 = button("BitBtn9", "Save", &TFEditorOptions::BitBtn9Click);
    BitBtn10 = button("BitBtn10", "Delete", &TFEditorOptions::BitBtn10Click);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(ListBoxItems, &QListWidget::currentRowChanged, this,
            [this] { RunGuarded([this] { ListBoxItemsClick(); }); });
    return page;
}

void TFEditorOptions::LoadCodeInsert()
{
    ListBoxItems->clear();
    MemoValues->clear();
    const std::string file = CodeInsertFileName().toStdString();
    const bool read = CodeInsertItems.Load(file);
    FillCodeInsertList();
    if (read) {
        SaveCodeInsert();
    } else {
        // Nothing of a bad file is taken, and nothing is written over it.
        SetCompletionItems();
    }
    FillDefNewFileList();
}

void TFEditorOptions::FillDefNewFileList()
{
    const QSignalBlocker blocker(cbodefnewfile);
    cbodefnewfile->clear();
    cbodefnewfile->addItem(QStringLiteral("(None)"));
    cbodefnewfile->addItems(CodeInsertItems.Names());
    const int entry = EditorSettings().DefNewFile + 1;
    cbodefnewfile->setCurrentIndex(entry >= 0 && entry < cbodefnewfile->count() ? entry : 0);
}

void TFEditorOptions::SaveCodeInsert()
{
    CodeInsertItems.Save(CodeInsertFileName().toStdString());
    SetCompletionItems();
}

void TFEditorOptions::SetCompletionItems()
{
    dm->CodeAutoComplete->SetItemList(CodeInsertItems.Names());
    dm->CodeAutoComplete->SetInsertList(CodeInsertItems.InsertValues());
    dm->EditorOptions.CodeInsertValues = CodeInsertItems.InsertValues();
}

void TFEditorOptions::FillCodeInsertList()
{
    {
        const QSignalBlocker blocker(ListBoxItems);
        ListBoxItems->clear();
        ListBoxItems->addItems(CodeInsertItems.Names());
    }
    ListBoxItemsClick();
}

void TFEditorOptions::ListBoxItemsClick()
{
    if (CodeInsertItems.Count() == 0) {
        return;
    }
    if (ListBoxItems->currentRow() < 0) {
        const QSignalBlocker blocker(ListBoxItems);
        ListBoxItems->setCurrentRow(0);
    }
    ShowCodeInsertItem(ListBoxItems->currentRow());
}

void TFEditorOptions::ShowCodeInsertItem(int index)
{
    MemoValues->clear();
    const QString value = CodeInsertItems.Show(index);
    if (!value.isEmpty()) {
        MemoValues->setPlainText(QString(value).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
}

void TFEditorOptions::BitBtn8Click()
{
    std::string answer;
    if (!InputQuery("Enter an Item Name", "Item Name:", answer)) {
        return;
    }
    const QString name = QString::fromStdString(answer).trimmed();
    if (name.isEmpty()) {
        ShowErrorBox("Invalid name");
        return;
    }
    const int index = CodeInsertItems.Add(name);
    FillCodeInsertList();
    {
        const QSignalBlocker blocker(ListBoxItems);
        ListBoxItems->setCurrentRow(index);
    }
    ShowCodeInsertItem(index);
    SaveCodeInsert();
}

void TFEditorOptions::BitBtn9Click()
{
    const int index = ListBoxItems->currentRow();
    if (CodeInsertItems.Count() == 0 || index < 0) {
        return;
    }
    CodeInsertItems.Items[static_cast<std::size_t>(index)].Value = MemoText(*MemoValues);
    SaveCodeInsert();
}

void TFEditorOptions::BitBtn10Click()
{
    const int index = ListBoxItems->currentRow();
    if (CodeInsertItems.Count() == 0 || index < 0) {
        return;
    }
    if (MessageDlg("Are you sure you want to delete this item?", TMsgDlgType::mtConfirmation,
                   mbYes | mbNo | mbCancel) != TModalResult::mrYes) {
        return;
    }
    // DefNewFile keeps its index: an item deleted before it makes it name the next one.
    CodeInsertItems.Remove(index);
    FillCodeInsertList();
    SaveCodeInsert();
}
