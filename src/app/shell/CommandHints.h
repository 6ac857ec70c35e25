#pragma once
// The command hints of commands.ini: one line per command, the word, "~" and the hint
// ("MS~Move speeds"). The editor pages show the hint of the caret line's command word.

#include <QString>
#include <QStringList>

class TCommandHints {
public:
    // Replaces the lines with those of the file; false (and no list) when it cannot be
    // read.
    bool LoadFromFile(const QString& fileName);
    void SetLines(const QStringList& lines);
    // Whether a list was loaded; without one every hint is empty.
    bool HasList() const { return FHasList; }

    // The rest of the first line that starts with word + "~", compared exactly (letter
    // case included); empty when none does.
    QString Hint(const QString& word) const;

private:
    QStringList FLines;
    bool FHasList = false;
};
