#include "app/shell/VariablesList.h"

#include "platform/core/services/Clipboard.h"
#include "platform/gui/QtShownText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>

QString VariablesListItem(std::string_view rowText)
{
    QString entry = QString::fromStdString(VariablesListEntry(rowText));
    // A row is one line, as in a list box: a break the split at CR LF left inside it is
    // shown by its symbol. A break laid out as one would make its row taller, and so
    // every row measured (see TVariablesListRows).
    for (QChar& c : entry) {
        switch (c.unicode()) {
        case u'\n': c = QChar(0x240A); break; // SYMBOL FOR LINE FEED
        case u'\r': c = QChar(0x240D); break; // SYMBOL FOR CARRIAGE RETURN
        case 0x2028:                          // LINE SEPARATOR
        case 0x2029:                          // PARAGRAPH SEPARATOR
            c = QChar(0x2424);                // SYMBOL FOR NEWLINE
            break;
        default: break;
        }
    }
    return ShownText(entry);
}

int TVariablesListRows::RowCount() const
{
    return FList.count();
}

void TVariablesListRows::ClearRows()
{
    FList.clear();
}

void TVariablesListRows::InsertRow(int row, std::string_view text)
{
    FList.insertItem(row, VariablesListItem(text));
}

void TVariablesListRows::SetRow(int row, std::string_view text)
{
    if (QListWidgetItem* item = FList.item(row)) {
        item->setText(VariablesListItem(text));
    }
}

void TVariablesListRows::DeleteRow(int row)
{
    delete FList.takeItem(row);
}

bool TVariablesListBox::event(QEvent* event)
{
    // The key is the list's while it has the keyboard, not the main window's Copy of
    // the page's selection.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        return true;
    }
    return QListWidget::event(event);
}

void TVariablesListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        const std::optional<std::string> entry = CurrentRowEntry ? CurrentRowEntry() : std::nullopt;
        if (entry && !CopyTextToClipboard(*entry)) {
            QApplication::beep();
        }
        return;
    }
    QListWidget::keyPressEvent(event);
}
