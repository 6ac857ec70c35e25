#pragma once
// The lines of a small text file of the shell's (commands.ini, tips.ini): UTF-8 when
// valid, else Windows-1252; lines end at CR LF, LF or CR; a break at the very end adds
// no empty line.

#include <QString>
#include <QStringList>

// False (and no lines) when the file cannot be read or is no regular file.
bool ReadTextFileLines(const QString& fileName, QStringList& lines);
// The same splitting on text already in memory.
QStringList SplitTextLines(const QString& text);
