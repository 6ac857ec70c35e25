#include "editor/printing/CodeEditPrintTypes.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <cmath>

QDateTime DateTimeFromNumber(double dateTime)
{
    constexpr qint64 MsPerDay = 86400000;
    double days = std::floor(dateTime);
    qint64 ms = std::llround((dateTime - days) * double(MsPerDay));
    if (ms >= MsPerDay) {
        days += 1;
        ms -= MsPerDay;
    }
    return QDateTime(QDate(1899, 12, 30).addDays(static_cast<qint64>(days)),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

QString IntToRoman(int value)
{
    struct TNumeral {
        int value;
        const char* text;
    };
    // Thousands, hundreds, tens and ones repeat; the subtractive forms and the fives
    // occur at most once.
    static constexpr TNumeral numerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                                            {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                                            {5, "V"},    {4, "IV"},   {1, "I"}};
    QString result;
    for (const TNumeral& numeral : numerals) {
        while (value >= numeral.value) {
            result += QLatin1String(numeral.text);
            value -= numeral.value;
        }
    }
    return result;
}

bool FindWrapPositions(QStringView line, QStringView breakChars, int maxColumns, std::vector<int>& positions)
{
    const int length = static_cast<int>(line.size());
    if (length <= maxColumns) {
        return true;
    }
    const std::size_t added = positions.size();
    int previous = 0;
    int lastBreak = 0;
    for (int i = 1; i <= length; ++i) {
        if (breakChars.contains(line[i - 1])) {
            lastBreak = i;
        }
        if (i - previous < maxColumns && i < length) {
            continue;
        }
        if (lastBreak <= previous) {
            positions.resize(added);
            return false;
        }
        positions.push_back(lastBreak);
        previous = lastBreak;
        if (length - previous <= maxColumns) {
            return true;
        }
    }
    return true;
}

void CutPositions(QStringView line, int maxColumns, std::vector<int>& positions)
{
    maxColumns = std::max(1, maxColumns);
    const int length = static_cast<int>(line.size());
    int start = 0;
    while (length - start > maxColumns) {
        int end = start + maxColumns;
        if (line[end - 1].isHighSurrogate() && line[end].isLowSurrogate() && end - 1 > start) {
            --end;
        }
        positions.push_back(end);
        start = end;
    }
}

void FindRowEnds(QStringView line, int maxColumns, std::vector<int>& positions)
{
    maxColumns = std::max(1, maxColumns);
    if (!FindWrapPositions(line, QStringView(PrintBreakChars), maxColumns, positions) &&
        !FindWrapPositions(line, QStringView(PrintFallbackBreakChars), maxColumns, positions)) {
        CutPositions(line, maxColumns, positions);
    }
}
