#include "app/shell/DebugLogFile.h"

#include "editor/printing/CodeEditPrintTypes.h"
#include "platform/core/services/Clock.h"
#include "platform/core/files/RegularFile.h"
#include "platform/gui/QtShownText.h"

#include <QDateTime>
#include <QFile>

#include <cstdio>

QString LogTimeText(double dateTime)
{
    return DateTimeFromNumber(dateTime).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString LogLineText(double dateTime, const QString& tag, const QString& text)
{
    return LogTimeText(dateTime) + QLatin1Char(' ') + tag + QStringLiteral(": ") + text;
}

std::string LogOffNotice(const std::string& reason)
{
    return "Kerfpad runs without its debug log. " + reason;
}

void TDebugLogFile::Open(const QString& fileName)
{
    Close();
    const std::string name = QFile::encodeName(fileName).toStdString();
    TOpenedFile opened = OpenRegularFile(name, TFileAccess::Create);
    if (!opened.IsOpen()) {
        std::fprintf(stderr, "%s\n", LogOffNotice(opened.Message(fileName.toStdString())).c_str());
        return;
    }
    FFile = std::move(opened.File);
}

void TDebugLogFile::Write(const QString& tag, const QString& text)
{
    if (!FFile.IsOpen())
        return;
    // An entry may quote a program's line of millions of characters, and a loop can
    // log it at every pass: whole, that wrote 50 MB a second until the disk was full.
    const QByteArray line = (LogLineText(NowAsDateTime(), tag, ShownText(text)) + QLatin1Char('\n')).toUtf8();
    int error = 0;
    (void)FFile.Write(line.constData(), line.size(), error);
}

void TDebugLogFile::Close()
{
    (void)FFile.Close();
}
