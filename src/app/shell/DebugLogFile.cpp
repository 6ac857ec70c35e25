#include "app/shell/DebugLogFile.h"

#include "editor/printing/CodeEditPrintTypes.h"
#include "platform/core/Clock.h"
#include "platform/gui/QtShownText.h"

#include <QDateTime>

QString LogTimeText(double dateTime)
{
    return DateTimeFromNumber(dateTime).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString LogLineText(double dateTime, const QString& tag, const QString& text)
{
    return LogTimeText(dateTime) + QLatin1Char(' ') + tag + QStringLiteral(": ") + text;
}

void TDebugLogFile::Open(const QString& fileName)
{
    Close();
    FFile.setFileName(fileName);
    (void)FFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void TDebugLogFile::Write(const QString& tag, const QString& text)
{
    if (!FFile.isOpen())
        return;
    // An entry may quote a program's line of millions of characters, and a loop can
    // log it at every pass: whole, that wrote 50 MB a second until the disk was full.
    const QByteArray line = (LogLineText(NowAsDateTime(), tag, ShownText(text)) + QLatin1Char('\n')).toUtf8();
    (void)FFile.write(line);
    (void)FFile.flush();
}

void TDebugLogFile::Close()
{
    if (FFile.isOpen())
        FFile.close();
}
