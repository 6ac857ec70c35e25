#include "platform/gui/BoxFit.h"

#include <QList>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The spaces a label wraps at; the no-break ones join their neighbours into one word.
bool IsWrapSpace(QChar c)
{
    const char16_t u = c.unicode();
    if (u == 0x00A0 || u == 0x2007 || u == 0x202F) {
        return false;
    }
    return c.isSpace() || u == 0x200B;
}

// Where a word may break: its grapheme boundaries, 0 and its length included.
std::vector<qsizetype> GraphemeBounds(QStringView word)
{
    const QString text = word.toString();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    std::vector<qsizetype> bounds{0};
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        bounds.push_back(at);
    }
    if (bounds.back() != word.size()) {
        bounds.push_back(word.size());
    }
    return bounds;
}

// Appends `word`, wider than `width`, in pieces that fit, '\n' between them.
void AppendBroken(QStringView word, int width, const TTextMeasure& measure, QString& out)
{
    const std::vector<qsizetype> bounds = GraphemeBounds(word);
    const std::size_t last = bounds.size() - 1;
    std::size_t from = 0;
    while (from < last) {
        const auto fits = [&](std::size_t to) {
            return measure(word.mid(bounds[from], bounds[to] - bounds[from])) <= width;
        };
        // The piece ends at the last bound that fits, found by doubling then halving, so a
        // word of thousands of characters is measured a few dozen times a line.
        std::size_t good = from + 1;
        std::size_t step = 1;
        std::size_t bad = last + 1;
        while (good + step <= last && fits(good + step)) {
            good += step;
            step *= 2;
        }
        if (good + step <= last) {
            bad = good + step;
        }
        while (bad - good > 1) {
            const std::size_t mid = good + (bad - good) / 2;
            if (fits(mid)) {
                good = mid;
            } else {
                bad = mid;
            }
        }
        out += word.mid(bounds[from], bounds[good] - bounds[from]);
        if (good < last) {
            out += QLatin1Char('\n');
        }
        from = good;
    }
}

} // namespace

QSize MaxBoxSize(QSize available)
{
    return {std::max(available.width() - BoxFrameWidth, 1), std::max(available.height() - BoxFrameHeight, 1)};
}

TTextExtent MeasureLines(const QString& text, const TTextMeasure& measure)
{
    TTextExtent extent;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const int width = line.isEmpty() ? 0 : measure(line);
        extent.Widest = std::max(extent.Widest, width);
        extent.Total += width;
    }
    return extent;
}

int WrapWidth(const TTextExtent& extent, int lineHeight, int maxWidth)
{
    constexpr double Aspect = 3.0;
    const int readable = 30 * std::max(lineHeight, 1);
    const double balanced = std::sqrt(Aspect * static_cast<double>(extent.Total) * std::max(lineHeight, 1));
    const double wanted = std::min({std::max(balanced, static_cast<double>(readable)),
                                    static_cast<double>(extent.Widest), static_cast<double>(maxWidth)});
    return std::max(static_cast<int>(wanted), 1);
}

QString BreakLongWords(const QString& text, int width, const TTextMeasure& measure)
{
    QString out;
    out.reserve(text.size());
    const QStringView view(text);
    qsizetype at = 0;
    while (at < view.size()) {
        if (IsWrapSpace(view[at])) {
            out += view[at++];
            continue;
        }
        qsizetype end = at;
        while (end < view.size() && !IsWrapSpace(view[end])) {
            ++end;
        }
        const QStringView word = view.mid(at, end - at);
        if (measure(word) <= width) {
            out += word;
        } else {
            AppendBroken(word, width, measure, out);
        }
        at = end;
    }
    return out;
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
