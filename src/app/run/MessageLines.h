#pragma once
// The messages window's lines: each kept whole as the program printed it, shown cut
// (ShownText: a toolkit lays a line out as a whole, and one of millions of characters
// would hold the window), with where each stands in the shown text, so that Save and a
// copy of any part of what shows give the lines whole. A line is held once: the shown
// text keeps only the cut form of a long one.

#include <QString>
#include <QStringList>

#include <vector>

class TMessageLines {
public:
    // Keeps `line` and returns what the window shows of it, as a paragraph after the
    // last line's (the first line starts the text).
    QString Append(const QString& line);
    void Clear();

    const QStringList& Lines() const { return FLines; }

    // The text of the shown positions [from, to) with every line whole: a line's part
    // taken from its whole text, "\n" for the break between two lines (as a plain-text
    // copy gives it); a cut note selected, even in part, stands for all it left out.
    // Positions count as a plain-text document counts them: one per UTF-16 unit, a CR LF
    // as one, and one for the paragraph break between two lines.
    QString WholeText(qsizetype from, qsizetype to) const;

private:
    // The part of line `index` between its shown offsets [from, to).
    QString WholePart(int index, qsizetype from, qsizetype to) const;

    QStringList FLines;
    std::vector<qsizetype> FStarts; // the shown position of each line's first character
    qsizetype FEnd = 0;             // the shown position after the last line
};
