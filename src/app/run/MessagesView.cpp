#include "app/run/MessagesView.h"

#include "app/run/MessageLines.h"
#include "platform/core/services/Clipboard.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>

#include <memory>

TMessagesView::TMessagesView(const TMessageLines& lines, QWidget* parent) : QPlainTextEdit(parent), FLines(lines)
{
    setReadOnly(true);
    // Nothing is ever undone here; the record would only grow with every line.
    setUndoRedoEnabled(false);
}

void TMessagesView::AppendShown(const QString& shown)
{
    // An empty text adds no paragraph after lines that are all empty (the document is
    // still empty), so that break is made here: every line has its paragraph.
    if (FLines.Lines().size() > 1 && document()->isEmpty()) {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        end.insertBlock();
        end.insertText(shown);
        return;
    }
    appendPlainText(shown);
}

QString TMessagesView::SelectedWholeText() const
{
    const QTextCursor cursor = textCursor();
    return FLines.WholeText(cursor.selectionStart(), cursor.selectionEnd());
}

void TMessagesView::CopySelection()
{
    if (!textCursor().hasSelection()) {
        return;
    }
    const QByteArray text = SelectedWholeText().toUtf8();
    if (!CopyTextToClipboard(std::string(text.constData(), static_cast<std::size_t>(text.size())))) {
        QApplication::beep();
    }
}

QMimeData* TMessagesView::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(SelectedWholeText());
    return data;
}

void TMessagesView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TMessagesView::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (auto* copy = menu->findChild<QAction*>(QStringLiteral("edit-copy"))) {
        QObject::disconnect(copy, &QAction::triggered, nullptr, nullptr);
        connect(copy, &QAction::triggered, this, [this] { CopySelection(); });
    }
    menu->exec(event->globalPos());
}
