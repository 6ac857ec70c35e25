#pragma once
// The text of a message or input box: plain, read-only, selectable by mouse and never a
// Tab stop, so the keyboard stays with the box's buttons and line edit. It wraps at the
// spaces, and inside a word only where the word is wider than the view: the words that
// fit carry invisible word joiners where the line breaker would break them (after a '/'
// of a path). Nothing it shows is copied but the text as given: no joiner, and "\r\n"
// and no-break spaces as they were (the toolkit's copy gives "\n" and plain spaces).

#include <QTextEdit>

#include <vector>

class TQtBoxTextView : public QTextEdit {
public:
    TQtBoxTextView(const QString& text, QWidget* parent);

    const QString& Text() const { return FText; }
    // The part of the text the selection covers, as given.
    QString SelectedText() const;
    // Selects the text's characters [from, to).
    void Select(qsizetype from, qsizetype to);
    // Wraps the text at `width`, keeping whole the words whose joins (BoxFit.h's
    // WordJoins) are given; answers the height of the wrapped text.
    int WrapAt(int width, const std::vector<qsizetype>& joins);

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Shows the text with a word joiner before each of `joins`.
    void Show(const std::vector<qsizetype>& joins);

    QString FText;
    // For each position of the document, and its end, the index of the text it shows.
    std::vector<qsizetype> FTextIndex;
};
