#pragma once
// The debug log: a text file rewritten at every start, one line per entry,
//     2024-03-07 09:05:03 debug: Log file opened
// the local date and time of the platform clock (platform/core/services/Clock.h), the tag
// ("debug", "info", "error"), ": " and the text, a long one cut (ShownText). Every
// line is written through at once, so a crash keeps what came before it. Failures to
// write or close are ignored: the log must never disturb the program. A log that cannot
// be opened is left off, said once on standard error; one that is no regular file (a
// named pipe would hold the start until another program reads it) is not opened at all.

#include "platform/core/files/FileDescriptor.h"

#include <QString>

#include <string>

// The date and time of a date-time number (days since 1899-12-30) as the log shows it.
QString LogTimeText(double dateTime);
QString LogLineText(double dateTime, const QString& tag, const QString& text);

// The line standard error gets when the log cannot be opened: why, after
// "Kerfpad runs without its debug log."
std::string LogOffNotice(const std::string& reason);

class TDebugLogFile {
public:
    // Empties or creates the file; without success nothing is written later.
    void Open(const QString& fileName);
    void Write(const QString& tag, const QString& text);
    void Close();
    bool IsOpen() const { return FFile.IsOpen(); }

private:
    TFileDescriptor FFile;
};
