#include "platform/gui/BoxFit.h"

#include <QList>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {

// The spaces a text wraps at; the no-break ones join their neighbours into one word.
bool IsWrapSpace(QChar c)
{
    const char16_t u = c.unicode();
    if (u == 0x00A0 || u == 0x2007 || u == 0x202F) {
        return false;
    }
    return c.isSpace() || u == 0x200B;
}

} // namespace

QSize MaxBoxSize(QSize available)
{
    return {std::max(available.width() - BoxFrameWidth, 1), std::max(available.height() - BoxFrameHeight, 1)};
}

TTextExtent MeasureText(const QString& text, const TTextMeasure& measure)
{
    TTextExtent extent;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const int width = line.isEmpty() ? 0 : measure(line);
        extent.Widest = std::max(extent.Widest, width);
        extent.Total += width;
        for (qsizetype at = 0; at < line.size(); ++at) {
            const qsizetype start = at;
            while (at < line.size() && !IsWrapSpace(line[at])) {
                ++at;
            }
            if (at > start) {
                extent.WidestWord = std::max(extent.WidestWord, measure(line.mid(start, at - start)));
            }
        }
    }
    return extent;
}

int WrapWidth(const TTextExtent& extent, int lineHeight, int maxWidth)
{
    constexpr double Aspect = 3.0;
    const int readable = 30 * std::max(lineHeight, 1);
    const double balanced = std::sqrt(Aspect * static_cast<double>(extent.Total) * std::max(lineHeight, 1));
    const double wanted =
        std::min({std::max({balanced, static_cast<double>(readable), static_cast<double>(extent.WidestWord)}),
                  static_cast<double>(extent.Widest), static_cast<double>(maxWidth)});
    return std::max(static_cast<int>(wanted), 1);
}

std::vector<qsizetype> WordJoins(const QString& text, int width, const TTextMeasure& measure)
{
    std::vector<qsizetype> joins;
    const QStringView view(text);
    for (qsizetype at = 0; at < view.size(); ++at) {
        const qsizetype start = at;
        while (at < view.size() && !IsWrapSpace(view[at])) {
            ++at;
        }
        const QStringView word = view.mid(start, at - start);
        if (word.size() < 2 || measure(word) > width) {
            continue;
        }
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, word.toString());
        for (qsizetype next = breaks.toNextBoundary(); next > 0 && next < word.size(); next = breaks.toNextBoundary()) {
            joins.push_back(start + next);
        }
    }
    return joins;
}

int ShownTextHeight(int textHeight, int room, int lineHeight)
{
    if (textHeight <= room) {
        return textHeight;
    }
    return std::max(room, std::min(textHeight, lineHeight));
}

QPoint BoxTopLeft(const QRect& available, QSize frame, QPoint centre)
{
    const auto place = [](int middle, int size, int first, int room) {
        const int start = std::min(middle - size / 2, first + room - size);
        return std::max(start, first);
    };
    return {place(centre.x(), frame.width(), available.x(), available.width()),
            place(centre.y(), frame.height(), available.y(), available.height())};
}
