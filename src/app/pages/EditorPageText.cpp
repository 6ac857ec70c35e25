#include "app/pages/EditorPageText.h"

#include "app/shell/TextFileLines.h"

#include <algorithm>

namespace {
const QString CrLf = QStringLiteral("\r\n");
const QString Quote = QStringLiteral("'");

bool EndsWithBreak(const QString& text)
{
    return text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'));
}

// Blanks and control characters at both ends go, as the platform's Trim does.
QString TrimControls(const QString& line)
{
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line[first].unicode() <= 32) {
        ++first;
    }
    while (last > first && line[last - 1].unicode() <= 32) {
        --last;
    }
    return line.mid(first, last - first);
}
} // namespace

QString CommentText(const QString& selected)
{
    // A mark after every CR LF. (Marking after "\n\r" as well would split an empty line
    // of the selection, "\r\n\r\n", into two.)
    QString text = selected;
    text.replace(CrLf, CrLf + Quote);
    return Quote + text;
}

QString UnCommentText(const QString& selected)
{
    const QStringList lines = SplitTextLines(selected);
    QString joined;
    for (QString line : lines) {
        const QString trimmed = TrimControls(line);
        if (trimmed.startsWith(Quote)) {
            line.remove(line.indexOf(Quote), 1);
        } else if (trimmed.startsWith(QLatin1String("REM"), Qt::CaseInsensitive)) {
            line.remove(line.indexOf(QLatin1String("REM"), 0, Qt::CaseInsensitive), 3);
        }
        joined += line + CrLf;
    }
    // Every line got a break; the last one belongs to the text only when the selection
    // ended with one (cutting it then would join the next line to the last).
    if (!EndsWithBreak(selected) && joined.endsWith(CrLf)) {
        joined.chop(2);
    }
    return joined;
}

QStringList SplitNewFileText(const QString& value)
{
    QStringList lines = value.split(QLatin1Char('~'));
    if (lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

bool ToggleBreakpointLine(std::vector<int>& breakpoints, int line)
{
    if (line < 1) {
        return false;
    }
    const auto at = std::lower_bound(breakpoints.begin(), breakpoints.end(), line);
    if (at != breakpoints.end() && *at == line) {
        breakpoints.erase(at);
    } else {
        breakpoints.insert(at, line);
    }
    return true;
}

bool HasBreakpointLine(const std::vector<int>& breakpoints, int line)
{
    return line >= 1 && std::binary_search(breakpoints.begin(), breakpoints.end(), line);
}
