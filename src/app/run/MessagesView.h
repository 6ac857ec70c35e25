#pragma once
// The text of the messages window: read-only plain text showing the lines as
// TMessageLines cuts them, whose every copy (Ctrl+C, Ctrl+Insert, the context menu's
// Copy, the X11 selection, a drag) gives the selected lines whole.

#include <QPlainTextEdit>

class TMessageLines;

class TMessagesView : public QPlainTextEdit {
public:
    TMessagesView(const TMessageLines& lines, QWidget* parent);

    // Shows the last line of the lines: `shown`, as a paragraph of its own.
    void AppendShown(const QString& shown);
    // The selection with its lines whole.
    QString SelectedWholeText() const;
    // Puts the selection, its lines whole, on the clipboard; nothing without a selection.
    void CopySelection();

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const TMessageLines& FLines;
};
