#include "app/run/MessageLines.h"

#include "platform/gui/QtShownText.h"

#include <algorithm>

namespace {

bool IsCrLfAt(const QString& text, qsizetype i)
{
    return text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n');
}

// Positions the text takes in a plain-text document: a CR LF is one paragraph break.
qsizetype ShownPositions(const QString& text)
{
    qsizetype positions = text.size();
    for (qsizetype i = text.indexOf(QLatin1String("\r\n")); i >= 0; i = text.indexOf(QLatin1String("\r\n"), i + 2)) {
        --positions;
    }
    return positions;
}

// The unit of `text` at document position `position` within it.
qsizetype UnitAt(const QString& text, qsizetype position)
{
    qsizetype unit = 0;
    for (qsizetype p = 0; p < position && unit < text.size(); ++p) {
        unit += IsCrLfAt(text, unit) ? 2 : 1;
    }
    return unit;
}

} // namespace

QString TMessageLines::Append(const QString& line)
{
    const QString shown = ShownText(line);
    const qsizetype start = FLines.isEmpty() ? 0 : FEnd + 1;
    FLines << line;
    FStarts.push_back(start);
    FEnd = start + ShownPositions(shown);
    return shown;
}

void TMessageLines::Clear()
{
    FLines.clear();
    FStarts.clear();
    FEnd = 0;
}

QString TMessageLines::WholeText(qsizetype from, qsizetype to) const
{
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, FEnd);
    QString text;
    if (FLines.isEmpty() || from >= to) {
        return text;
    }
    // The last line starting at or before `from`.
    auto line = std::upper_bound(FStarts.begin(), FStarts.end(), from);
    int index = static_cast<int>(line - FStarts.begin()) - 1;
    for (bool first = true; index < FLines.size() && FStarts[static_cast<std::size_t>(index)] <= to; ++index) {
        const qsizetype start = FStarts[static_cast<std::size_t>(index)];
        const qsizetype end = index + 1 < FLines.size() ? FStarts[static_cast<std::size_t>(index) + 1] - 1 : FEnd;
        if (!first) {
            text += QLatin1Char('\n');
        }
        first = false;
        text += WholePart(index, std::max(from, start) - start, std::min(to, end) - start);
    }
    return text;
}

QString TMessageLines::WholePart(int index, qsizetype from, qsizetype to) const
{
    const QString& line = FLines.at(index);
    if (from >= to) {
        return {};
    }
    const TShownTextCut cut = ShownTextCut(line);
    if (cut.Note.empty()) {
        const qsizetype first = UnitAt(line, from);
        return line.mid(first, UnitAt(line, to) - first);
    }
    const QString shown = line.left(static_cast<qsizetype>(cut.Head)) + QString::fromStdU16String(cut.Note) +
                          line.mid(static_cast<qsizetype>(cut.Tail));
    const auto whole = [&](qsizetype position, bool end) {
        return static_cast<qsizetype>(WholeTextOffset(cut, static_cast<std::size_t>(UnitAt(shown, position)), end));
    };
    const qsizetype first = whole(from, false);
    return line.mid(first, whole(to, true) - first);
}
