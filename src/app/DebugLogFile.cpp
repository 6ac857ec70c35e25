#include "app/DebugLogFile.h"

#include "platform/core/Clock.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>

QString LogTimeText(double dateTime)
{
    constexpr qint64 MsPerDay = 86400000;
    double days = std::floor(dateTime);
    qint64 ms = std::llround((dateTime - days) * double(MsPerDay));
    if (ms >= MsPerDay) {
        days += 1;
        ms -= MsPerDay;
    }
    const QDateTime stamp(QDate(1899, 12, 30).addDays(static_cast<qint64>(days)),
                          QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
    return stamp.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
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
