#include "app/shell/DebugLogFile.h"

#include "editor/printing/CodeEditPrintTypes.h"
#include "platform/core/Clock.h"

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
    const QByteArray line = (LogLineText(NowAsDateTime(), tag, text) + QLatin1Char('\n')).toUtf8();
    (void)FFile.write(line);
    (void)FFile.flush();
}

void TDebugLogFile::Close()
{
    if (FFile.isOpen())
        FFile.close();
}
