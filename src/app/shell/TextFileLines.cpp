#include "app/shell/TextFileLines.h"

#include "editor/document/CodeEditTextCodec.h"
#include "platform/core/files/RegularFile.h"

#include <QFile>

QStringList SplitTextLines(const QString& text)
{
    QStringList lines;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(from, i - from);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        from = i + 1;
    }
    if (from < text.size())
        lines << text.mid(from);
    return lines;
}

bool ReadTextFileLines(const QString& fileName, QStringList& lines)
{
    lines.clear();
    // Through the one opening that refuses what is no regular file: a named pipe in
    // its place would hold the start until another program writes into it.
    TOpenedFile opened = OpenRegularFile(QFile::encodeName(fileName).toStdString(), TFileAccess::Read);
    QByteArray bytes;
    if (!opened.IsOpen() || opened.File.ReadToEnd(bytes) != 0)
        return false;
    const TTextEncoding encoding = DetectTextEncoding(bytes);
    const QByteArrayView body = QByteArrayView(bytes).sliced(EncodingPreamble(encoding).size());
    lines = SplitTextLines(DecodeText(body, encoding));
    return true;
}
