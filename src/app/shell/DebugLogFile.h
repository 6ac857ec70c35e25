#pragma once
// The debug log: a text file rewritten at every start, one line per entry,
//     2024-03-07 09:05:03 debug: Log file opened
// the local date and time of the platform clock (platform/core/Clock.h), the tag
// ("debug", "info", "error"), ": " and the text, a long one cut (ShownText). Every
// line is flushed as it is written, so a crash keeps what came before it. Failures to
// open, write or close are ignored: the log must never disturb the program.

#include <QFile>
#include <QString>

// The date and time of a date-time number (days since 1899-12-30) as the log shows it.
QString LogTimeText(double dateTime);
QString LogLineText(double dateTime, const QString& tag, const QString& text);

class TDebugLogFile {
public:
    // Empties or creates the file; without success nothing is written later.
    void Open(const QString& fileName);
    void Write(const QString& tag, const QString& text);
    void Close();
    bool IsOpen() const { return FFile.isOpen(); }

private:
    QFile FFile;
};
